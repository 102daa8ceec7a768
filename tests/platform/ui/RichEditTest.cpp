// The rich edit control as the cell editors use it: one line in one format, alignment and
// background, select-all-and-replace, the clipboard with code page 932 text, EN_CHANGE only
// where the control sends it, input-method text, and keys reaching a subclass first.
#include "platform/base/CString.h"
#include "platform/ui/controls/CRichEditCtrl.h"
#include "platform/ui/core/Imm.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include "CommonCtlTestSupport.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>

#include <cstring>
#include <gtest/gtest.h>

using namespace commonctl;

namespace {

// A cell editor's shape: it wants every key and takes Enter, Esc, Up and Down for itself
// after the control's own handling.
class CTestCellEdit : public CRichEditCtrl {
public:
    std::vector<UINT> handedBack;

    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        CRichEditCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
        if (nChar == VK_RETURN || nChar == VK_ESCAPE || nChar == VK_UP || nChar == VK_DOWN)
            handedBack.push_back(nChar);
    }
    afx_msg UINT OnGetDlgCode() { return CRichEditCtrl::OnGetDlgCode() | DLGC_WANTALLKEYS; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestCellEdit, CRichEditCtrl)
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

// The mean x of the pixels much darker than the background (the text).
double InkCentre(const QImage& img)
{
    double sum = 0;
    int n = 0;
    for (int y = 2; y < img.height() - 2; ++y)
        for (int x = 2; x < img.width() - 2; ++x)
            if (qGray(img.pixel(x, y)) < 90) {
                sum += x;
                ++n;
            }
    return n ? sum / n : -1;
}

class RichEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateTopLevel(300, 120));
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 210, 34),
                                &parent, 309));
        PumpEvents();
        widget = edit.GetWidget();
        ASSERT_NE(widget, nullptr);
        parent.ClearNotes();
    }
    void TearDown() override
    {
        edit.DestroyWindow();
        parent.DestroyWindow();
        PumpEvents();
    }
    CString Text() const
    {
        CString s;
        edit.GetWindowText(s);
        return s;
    }

    CNotifyParent parent;
    CTestCellEdit edit;
    QWidget* widget = nullptr;
};

} // namespace

TEST_F(RichEditTest, SelectAllAndReplaceWithoutUndoLeavesNothingToUndo)
{
    edit.SetWindowText("abc");
    edit.SetSel(0, -1);
    edit.ReplaceSel("数量"_sj, FALSE);
    EXPECT_EQ(Text(), "数量"_sj);
    EXPECT_FALSE(edit.CanUndo());
    // Positions count characters: two characters, four bytes.
    long a = -1, b = -1;
    edit.GetSel(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(edit.GetTextLength(), 4);
    EXPECT_EQ(edit.GetTextLengthEx(GTL_NUMCHARS), 2);

    edit.SetSel(1, 2);
    edit.ReplaceSel("値"_sj, TRUE);
    EXPECT_EQ(Text(), "数値"_sj);
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_TRUE(edit.Undo());
    EXPECT_EQ(Text(), "数量"_sj);
    edit.EmptyUndoBuffer();
    EXPECT_FALSE(edit.CanUndo());
    EXPECT_EQ(Text(), "数量"_sj);
}

TEST_F(RichEditTest, BackslashByteSurvivesAndShowsAsYen)
{
    // 0x5C alone and as the trail byte of "表" (0x95 0x5C).
    const CString text = "C:\\work\\"_sj + "表"_sj;
    edit.SetWindowText(text);
    EXPECT_EQ(Text(), text);
    auto* line = qobject_cast<QLineEdit*>(widget);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QString::fromUtf8("C:¥work¥表"));
}

TEST_F(RichEditTest, SelectionOfPartOfAJapaneseText)
{
    edit.SetWindowText("単価ｱa"_sj);
    edit.SetSel(1, 3);
    EXPECT_EQ(edit.GetSelText(), "価ｱ"_sj);
    EXPECT_EQ(edit.GetSelectionType(), SEL_TEXT | 0x0004);
    edit.SetSel(-1, 0);
    EXPECT_EQ(edit.GetSelectionType(), SEL_EMPTY);
    EXPECT_TRUE(edit.GetSelText().IsEmpty());
}

TEST_F(RichEditTest, CutCopyPasteCarryCodePage932Text)
{
    edit.SetWindowText("単価123"_sj);
    edit.SetSel(0, 2);
    edit.Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("単価"));
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HGLOBAL h = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CString(static_cast<const char*>(::GlobalLock(h))), "単価"_sj);
    ::GlobalUnlock(h);
    ::CloseClipboard();

    edit.Cut();
    EXPECT_EQ(Text(), "123"_sj);
    edit.SetSel(3, 3);
    edit.Paste();
    EXPECT_EQ(Text(), "123単価"_sj);
    edit.SetSel(0, 3);
    edit.Clear();
    EXPECT_EQ(Text(), "単価"_sj);

    // Read-only: pasting and clearing change nothing, copying still works.
    edit.SetReadOnly(TRUE);
    edit.SetSel(0, -1);
    edit.Paste();
    edit.Clear();
    EXPECT_EQ(Text(), "単価"_sj);
}

TEST_F(RichEditTest, ChangeIsNotifiedOnlyWhenTheEventMaskAsks)
{
    edit.SetSel(0, -1);
    edit.ReplaceSel("1", FALSE);
    EXPECT_EQ(parent.CommandCount(EN_CHANGE), 0) << "no ENM_CHANGE, no EN_CHANGE";

    EXPECT_EQ(edit.SetEventMask(ENM_CHANGE), ENM_NONE);
    edit.ReplaceSel("2", FALSE);
    EXPECT_EQ(parent.CommandCount(EN_CHANGE), 1);
    edit.SetWindowText("3");
    EXPECT_EQ(parent.CommandCount(EN_CHANGE), 2);
    // Typed text is a change too (SetWindowText left the caret at the start).
    edit.SetSel(1, 1);
    SendKey(widget, Qt::Key_4, Qt::NoModifier, QStringLiteral("4"));
    EXPECT_EQ(Text(), "34");
    EXPECT_EQ(parent.CommandCount(EN_CHANGE), 3);
    EXPECT_EQ(parent.CommandCount(EN_UPDATE), 0);

    // A multi-line editor (the cell editors add ES_MULTILINE) does not report text set as
    // a whole, but does report replacements.
    edit.ModifyStyle(0, ES_MULTILINE);
    parent.ClearNotes();
    edit.SetWindowText("5");
    EXPECT_EQ(parent.CommandCount(EN_CHANGE), 0);
    edit.SetSel(0, -1);
    edit.ReplaceSel("6", FALSE);
    EXPECT_EQ(parent.CommandCount(EN_CHANGE), 1);

    // Selection, format and colour are no changes of the text.
    parent.ClearNotes();
    edit.SetSel(0, 1);
    edit.SetBackgroundColor(FALSE, RGB(255, 155, 255));
    PARAFORMAT pf{};
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = PFA_RIGHT;
    edit.SetParaFormat(pf);
    edit.EmptyUndoBuffer();
    EXPECT_EQ(parent.CommandCount(EN_CHANGE), 0);
}

TEST_F(RichEditTest, FocusIsAlwaysNotified)
{
    edit.SetFocus();
    parent.SetFocus();
    EXPECT_EQ(parent.CommandCount(EN_SETFOCUS), 1);
    EXPECT_EQ(parent.CommandCount(EN_KILLFOCUS), 1);
}

TEST_F(RichEditTest, RightAlignedTextOnTheCellColour)
{
    const COLORREF pink = RGB(255, 155, 255);
    edit.SetBackgroundColor(FALSE, pink);
    edit.SetWindowText("1234");
    PARAFORMAT pf{};
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = PFA_RIGHT;
    ASSERT_TRUE(edit.SetParaFormat(pf));
    QImage img = Grab(widget);
    EXPECT_EQ(img.pixel(5, img.height() / 2), Rgb(pink));
    EXPECT_GT(InkCentre(img), img.width() * 0.6);

    pf.wAlignment = PFA_LEFT;
    ASSERT_TRUE(edit.SetParaFormat(pf));
    img = Grab(widget);
    EXPECT_GT(InkCentre(img), 0);
    EXPECT_LT(InkCentre(img), img.width() * 0.4);
    PARAFORMAT got{};
    edit.GetParaFormat(got);
    EXPECT_EQ(got.wAlignment, PFA_LEFT);

    // The system colour again.
    EXPECT_EQ(edit.SetBackgroundColor(TRUE, 0), pink);
    img = Grab(widget);
    EXPECT_EQ(img.pixel(img.width() - 4, img.height() / 2), Rgb(GetSysColor(COLOR_WINDOW)));
}

TEST_F(RichEditTest, DefaultCharFormatKeepsHeightFaceAndEffects)
{
    CHARFORMAT cf{};
    cf.dwMask = CFM_SIZE | CFM_FACE | CFM_BOLD | CFM_COLOR;
    cf.yHeight = 240; // 12 points
    cf.dwEffects = CFE_BOLD;
    cf.crTextColor = RGB(0, 0, 255);
    std::strcpy(cf.szFaceName, "ＭＳ 明朝"_sj);
    ASSERT_TRUE(edit.SetDefaultCharFormat(cf));

    CHARFORMAT got{};
    edit.GetDefaultCharFormat(got);
    EXPECT_EQ(got.yHeight, 240);
    EXPECT_EQ(CString(got.szFaceName), "ＭＳ 明朝"_sj);
    EXPECT_TRUE(got.dwEffects & CFE_BOLD);
    EXPECT_FALSE(got.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(got.crTextColor, RGB(0, 0, 255));
    EXPECT_EQ(widget->font().pixelSize(), 16);

    // A font set on the window becomes the format.
    CFont font;
    LOGFONT lf{};
    lf.lfHeight = -12;
    std::strcpy(lf.lfFaceName, "ＭＳ ゴシック"_sj);
    font.CreateFontIndirect(&lf);
    edit.SetFont(&font);
    edit.GetDefaultCharFormat(got);
    EXPECT_EQ(got.yHeight, 180);
    EXPECT_EQ(CString(got.szFaceName), "ＭＳ ゴシック"_sj);
    EXPECT_EQ(edit.GetFont()->m_hObject, font.m_hObject);
}

TEST_F(RichEditTest, LimitCutsReplacedText)
{
    edit.LimitText(3);
    EXPECT_EQ(edit.GetLimitText(), 3);
    edit.SetSel(0, -1);
    edit.ReplaceSel("abcdef", FALSE);
    EXPECT_EQ(Text(), "abc");
}

TEST_F(RichEditTest, InputMethodCommitLandsAsCodePage932Text)
{
    edit.SetEventMask(ENM_CHANGE);
    edit.SetFocus();
    {
        QInputMethodEvent pre(QString::fromUtf8("たんか"), {});
        QApplication::sendEvent(widget, &pre);
    }
    HIMC hIMC = ImmGetContext(edit.m_hWnd);
    ASSERT_NE(hIMC, nullptr);
    char buf[64] = {};
    const LONG n = ImmGetCompositionString(hIMC, GCS_COMPSTR, buf, sizeof buf);
    EXPECT_EQ(CString(buf, n), "たんか"_sj);
    EXPECT_EQ(ImmGetCompositionString(hIMC, GCS_COMPSTR, nullptr, 0), 6);
    EXPECT_TRUE(Text().IsEmpty()) << "a pre-edit is not text yet";

    // Cancelling drops it.
    ASSERT_TRUE(ImmNotifyIME(hIMC, NI_COMPOSITIONSTR, CPS_CANCEL, 0));
    EXPECT_EQ(ImmGetCompositionString(hIMC, GCS_COMPSTR, nullptr, 0), 0);
    EXPECT_TRUE(Text().IsEmpty());

    // A commit is inserted and notified as a change.
    {
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8("単価"));
        QApplication::sendEvent(widget, &commit);
    }
    EXPECT_EQ(Text(), "単価"_sj);
    EXPECT_GE(parent.CommandCount(EN_CHANGE), 1);

    // Completing a pre-edit commits it.
    {
        QInputMethodEvent pre(QString::fromUtf8("ｱ"), {});
        QApplication::sendEvent(widget, &pre);
    }
    ASSERT_TRUE(ImmNotifyIME(hIMC, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    EXPECT_EQ(Text(), "単価ｱ"_sj);
    const LONG r = ImmGetCompositionString(hIMC, GCS_RESULTSTR, buf, sizeof buf);
    EXPECT_EQ(CString(buf, r), "ｱ"_sj);
    ImmReleaseContext(edit.m_hWnd, hIMC);
}

TEST_F(RichEditTest, ClosingTheInputMethodCancelsTheComposition)
{
    HIMC hIMC = ImmGetContext(edit.m_hWnd);
    ASSERT_NE(hIMC, nullptr);
    QInputMethodEvent pre(QString::fromUtf8("すう"), {});
    QApplication::sendEvent(widget, &pre);
    EXPECT_TRUE(ImmGetOpenStatus(hIMC));
    ASSERT_TRUE(ImmSetOpenStatus(hIMC, FALSE));
    EXPECT_FALSE(ImmGetOpenStatus(hIMC));
    EXPECT_EQ(ImmGetCompositionString(hIMC, GCS_COMPSTR, nullptr, 0), 0);
    EXPECT_TRUE(Text().IsEmpty());
    EXPECT_EQ(ImmGetContext(nullptr), nullptr);
}

TEST_F(RichEditTest, EnterEscAndArrowsReachTheSubclassTabIsTyped)
{
    edit.SetWindowText("12");
    edit.SetSel(2, 2);
    SendKey(widget, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    SendKey(widget, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    SendKey(widget, Qt::Key_Down);
    SendKey(widget, Qt::Key_Up);
    SendKey(widget, Qt::Key_Left);
    EXPECT_EQ(edit.handedBack, (std::vector<UINT>{VK_RETURN, VK_ESCAPE, VK_DOWN, VK_UP}));
    EXPECT_EQ(Text(), "12") << "the keys typed nothing";
    // The editor wants every key: Tab is typed into it.
    SendKey(widget, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    EXPECT_EQ(Text(), "1\t2");
}

TEST_F(RichEditTest, CharactersSentByCodeAreTyped)
{
    edit.SetFocus();
    edit.SendMessage(WM_CHAR, 0x82, 1); // "あ" as lead and trail byte
    edit.SendMessage(WM_CHAR, 0xA0, 1);
    edit.SendMessage(WM_CHAR, 'x', 1);
    edit.SendMessage(WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(Text(), "あ"_sj);
    edit.SendMessage(WM_KEYDOWN, VK_HOME, 1);
    edit.SendMessage(WM_CHAR, '1', 1);
    EXPECT_EQ(Text(), "1あ"_sj);
}

namespace {

// A cell editor hides itself when its own focus-lost notification comes back to it.
class CHidingEdit : public CRichEditCtrl {
public:
    int hidden = 0;
    afx_msg void OnKillFocusReflect()
    {
        ++hidden;
        ShowWindow(SW_HIDE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHidingEdit, CRichEditCtrl)
ON_CONTROL_REFLECT(EN_KILLFOCUS, OnKillFocusReflect)
END_MESSAGE_MAP()

} // namespace

TEST(RichEditReflectTest, TheFocusLostNotificationComesBackToTheEditor)
{
    CNotifyParent parent;
    ASSERT_TRUE(parent.CreateTopLevel(200, 100));
    CHidingEdit edit;
    ASSERT_TRUE(
        edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(0, 0, 100, 24), &parent, 309));
    edit.SetWindowText("12");
    edit.SetFocus();
    parent.SetFocus();
    EXPECT_EQ(edit.hidden, 1);
    EXPECT_FALSE(edit.IsWindowVisible());
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "12") << "the text stays in the editor";
    edit.DestroyWindow();
    parent.DestroyWindow();
    PumpEvents();
}

TEST(ImeTest, APreEditInASelfDrawnWindowIsSeenAndCompletedAsCharacters)
{
    CRecorderWnd view;
    ASSERT_TRUE(view.CreateTopLevel());
    HIMC hIMC = ImmGetContext(view.m_hWnd);
    ASSERT_NE(hIMC, nullptr);
    QWidget* client = view.GetClientWidget();
    {
        QInputMethodEvent pre(QString::fromUtf8("すう"), {});
        QApplication::sendEvent(client, &pre);
    }
    EXPECT_EQ(ImmGetCompositionString(hIMC, GCS_COMPSTR, nullptr, 0), 4);
    EXPECT_TRUE(view.Messages(WM_CHAR).empty()) << "composing types nothing yet";
    view.log.clear();
    ASSERT_TRUE(ImmNotifyIME(hIMC, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    std::vector<BYTE> bytes;
    for (const auto& m : view.Messages(WM_CHAR))
        bytes.push_back(static_cast<BYTE>(m.wParam));
    const CString expected = "すう"_sj;
    EXPECT_EQ(bytes, std::vector<BYTE>(expected.c_str(), expected.c_str() + expected.GetLength()));
    EXPECT_EQ(ImmGetCompositionString(hIMC, GCS_COMPSTR, nullptr, 0), 0);
    ImmReleaseContext(view.m_hWnd, hIMC);
    view.DestroyWindow();
    PumpEvents();
}

// Characters code page 932 cannot hold are refused as they are typed, pasted or composed;
// the rest stays, and no "?" appears that the user did not type.
TEST_F(RichEditTest, CharactersTheCodePageCannotHoldAreRefusedAndTheRestKept)
{
    edit.SetFocus();
    PumpEvents();
    for (const char* typed : {"a", "가", "ü", "€", "😀", "?", "b"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(typed));
        QApplication::sendEvent(widget, &press);
    }
    EXPECT_EQ(Text(), "a?b");
    QApplication::clipboard()->setText(QString::fromUtf8("数量€12가3"));
    edit.Paste();
    EXPECT_EQ(Text(), "a?b数量123"_sj);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("円ü"));
    QApplication::sendEvent(widget, &commit);
    EXPECT_EQ(Text(), "a?b数量123円"_sj);
    EXPECT_EQ(Text().Find('?'), 1) << "only the question mark typed";
}
