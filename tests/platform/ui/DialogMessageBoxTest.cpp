// Message boxes: the window with the system's Japanese buttons and icons, and the
// answerer that takes its place in tests.
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/dialogs/MessageBoxUi.h"
#include "tests/support/EventWait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Installs the message box window for one test and puts the previous handler back.
class DialogMessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = SetMessageBoxHandler(nullptr);
        AfxInstallMessageBoxUi();
    }
    void TearDown() override { SetMessageBoxHandler(m_previous); }

    // Shows a message box and lets inspect act on it while it is open; returns its result.
    static int ShowAndAct(const CString& text, UINT nType, const std::function<void(QMessageBox&)>& inspect)
    {
        const CWhenReady act = WhenModalOpens<QMessageBox>(inspect, "the message box to open");
        return AfxMessageBox(text, nType);
    }

    static QAbstractButton* ButtonWithText(QMessageBox& box, const char* utf8)
    {
        for (QAbstractButton* b : box.buttons()) {
            if (b->text() == QString::fromUtf8(utf8))
                return b;
        }
        return nullptr;
    }

    MessageBoxHandler m_previous;
};

} // namespace

TEST_F(DialogMessageBoxTest, TheWindowShowsTheJapaneseButtonsOfItsTypeAndReturnsTheOnePressed)
{
    QStringList texts;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString shown;
    const int result = ShowAndAct("続けますか?"_sj, MB_YESNO | MB_ICONQUESTION, [&](QMessageBox& box) {
        for (QAbstractButton* b : box.buttons())
            texts << b->text();
        icon = box.icon();
        shown = box.text();
        ButtonWithText(box, "いいえ(&N)")->click();
    });
    EXPECT_EQ(result, IDNO);
    texts.sort();
    QStringList expected{QString::fromUtf8("はい(&Y)"), QString::fromUtf8("いいえ(&N)")};
    expected.sort();
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(shown, QString::fromUtf8("続けますか?"));
}

TEST_F(DialogMessageBoxTest, IconsFollowTheIconFlagsAndOkCancelBoxesOfferCancel)
{
    struct Case {
        UINT type;
        QMessageBox::Icon icon;
        int buttons;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Warning, 1},
        {MB_OK | MB_ICONSTOP, QMessageBox::Critical, 1},
        {MB_OKCANCEL | MB_ICONINFORMATION, QMessageBox::Information, 2},
        {MB_YESNOCANCEL, QMessageBox::NoIcon, 3},
        {MB_RETRYCANCEL, QMessageBox::NoIcon, 2},
    };
    for (const Case& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int count = 0;
        bool hasCancel = false;
        const int result = ShowAndAct("x", c.type, [&](QMessageBox& box) {
            icon = box.icon();
            count = static_cast<int>(box.buttons().size());
            QAbstractButton* cancel = ButtonWithText(box, "ｷｬﾝｾﾙ");
            hasCancel = cancel != nullptr;
            // Esc stands for Cancel where there is one, for OK in a box with OK alone.
            if (box.escapeButton())
                box.escapeButton()->click();
            else
                box.buttons().first()->click();
        });
        EXPECT_EQ(icon, c.icon) << c.type;
        EXPECT_EQ(count, c.buttons) << c.type;
        EXPECT_EQ(hasCancel, (c.type & MB_TYPEMASK) != MB_OK) << c.type;
        if ((c.type & MB_TYPEMASK) == MB_OK)
            EXPECT_EQ(result, IDOK);
        else
            EXPECT_EQ(result, IDCANCEL) << c.type;
    }
}

TEST_F(DialogMessageBoxTest, TheSecondDefaultButtonIsTheDefault)
{
    const int result = ShowAndAct("x", MB_YESNO | MB_DEFBUTTON2, [](QMessageBox& box) {
        ASSERT_NE(box.defaultButton(), nullptr);
        EXPECT_EQ(box.defaultButton()->text(), QString::fromUtf8("いいえ(&N)"));
        box.defaultButton()->click();
    });
    EXPECT_EQ(result, IDNO);
}

TEST_F(DialogMessageBoxTest, TheAnswererAnswersByTextThenInOrderAndRecordsEveryBox)
{
    CDialogAnswerer answerer;
    answerer.AnswerMessageBox("保存しますか?"_sj, IDNO);
    answerer.AnswerNextMessageBox(IDCANCEL);
    EXPECT_EQ(AfxMessageBox("別の質問"_sj, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("保存しますか?"_sj, MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    // Without an answer: the first button.
    EXPECT_EQ(AfxMessageBox("単位ﾌｧｲﾙがないか、壊れています。"_sj, MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(AfxMessageBox("x", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("x", MB_RETRYCANCEL), IDRETRY);

    const auto texts = answerer.MessageBoxTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "別の質問"_sj);
    EXPECT_EQ(texts[2], "単位ﾌｧｲﾙがないか、壊れています。"_sj);
    EXPECT_EQ(answerer.GetShown()[2].nType, MB_ICONEXCLAMATION);
    EXPECT_EQ(answerer.CountUnanswered(), 3);

    answerer.SetDefaultMessageBoxAnswer(IDNO);
    EXPECT_EQ(AfxMessageBox("y", MB_YESNO), IDNO);
}

TEST_F(DialogMessageBoxTest, AnswerersNestAndTheWindowIsBackWhenTheyGo)
{
    {
        CDialogAnswerer outer;
        {
            CDialogAnswerer inner;
            inner.AnswerNextMessageBox(IDNO);
            EXPECT_EQ(AfxMessageBox("a", MB_YESNO), IDNO);
            EXPECT_EQ(CDialogAnswerer::Current(), &inner);
        }
        EXPECT_EQ(CDialogAnswerer::Current(), &outer);
        EXPECT_EQ(AfxMessageBox("b", MB_YESNO), IDYES);
        EXPECT_EQ(outer.MessageBoxTexts().size(), 1u);
    }
    EXPECT_EQ(CDialogAnswerer::Current(), nullptr);
    const int result = ShowAndAct("c", MB_OKCANCEL, [](QMessageBox& box) { box.buttons().first()->click(); });
    EXPECT_TRUE(result == IDOK || result == IDCANCEL);
}

// A short message under a long caption: the box is wide enough for the whole caption, so
// the window manager has no reason to cut it.
TEST_F(DialogMessageBoxTest, ANarrowMessageLeavesRoomForItsWholeCaption)
{
    const CString caption = "見積ﾌｧｲﾙの保存先を確認してください - 工事見積"_sj;
    int nWidth = 0;
    QString title;
    int nCaptionWidth = 0;
    const CWhenReady readBox = WhenModalOpens<QMessageBox>(
        [&](QMessageBox& box) {
            title = box.windowTitle();
            nWidth = box.width();
            QFont bold = box.font();
            bold.setBold(true);
            nCaptionWidth = QFontMetrics(bold).horizontalAdvance(title);
            box.buttons().front()->click();
        },
        "the message box to open");
    EXPECT_EQ(AfxShowMessageBox(nullptr, "OK?", caption, MB_OK), IDOK);
    EXPECT_EQ(title, QString::fromUtf8("見積ﾌｧｲﾙの保存先を確認してください - 工事見積"));
    ASSERT_GT(nCaptionWidth, 0);
    EXPECT_GE(nWidth, nCaptionWidth + 64);
}

// A window's message box shows the caption it is given (the application's title when it
// is given none) and belongs to the window's top-level window; the answerer records the
// same caption.
TEST_F(DialogMessageBoxTest, AWindowsMessageBoxShowsItsOwnCaptionOverItsWindow)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr));
    QString title;
    QWidget* pParent = nullptr;
    const CWhenReady readBox = WhenModalOpens<QMessageBox>(
        [&](QMessageBox& box) {
            title = box.windowTitle();
            pParent = box.parentWidget();
            box.buttons().front()->click();
        },
        "the message box to open");
    EXPECT_EQ(owner.MessageBox("実行してもよいですか？"_sj, "単位削除"_sj, MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(title, QString::fromUtf8("単位削除"));
    EXPECT_EQ(pParent, owner.GetWidget()->window());

    // No caption: the application's title, as AfxMessageBox shows.
    QString appTitle;
    const CWhenReady readPlainBox = WhenModalOpens<QMessageBox>(
        [&](QMessageBox& box) {
            appTitle = box.windowTitle();
            box.buttons().front()->click();
        },
        "the message box to open");
    EXPECT_EQ(owner.MessageBox("x"), IDOK);
    EXPECT_EQ(appTitle, QString::fromUtf8(AfxGetAppName() != nullptr ? AfxGetAppName() : ""));

    {
        CDialogAnswerer answerer;
        EXPECT_EQ(owner.MessageBox("y", "科目削除"_sj, MB_YESNO), IDYES);
        // The caption of one window's box does not stay for the next plain box.
        EXPECT_EQ(AfxMessageBox("z", MB_OK), IDOK);
        ASSERT_EQ(answerer.GetShown().size(), 2u);
        EXPECT_EQ(answerer.GetShown()[0].caption, "科目削除"_sj);
        EXPECT_EQ(answerer.GetShown()[1].caption, CString(AfxGetAppName() != nullptr ? AfxGetAppName() : ""));
    }
    owner.DestroyWindow();
}
