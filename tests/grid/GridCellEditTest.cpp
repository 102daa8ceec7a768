// The in-place cell editor as a grid view uses it: the keys that end an edit go to the view
// after the editor hid itself, the text comes back for the cell in code page 932 with
// full-width numbers made ASCII, input-method text lands as typed, and the small context
// menu offers what can be done and does it.
#include "grid/CGridCellEdit.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"

#include "tests/app/SharedControlsTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>

#include <gtest/gtest.h>

using namespace commonctl;
using namespace sharedctl;

namespace {

class GridCellEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(view.CreateTopLevel(320, 200));
        ASSERT_TRUE(edit.CreateInView(&view, CGridCellEdit::ESTIMATE_VIEW_EDIT_ID));
        view.pEditor = &edit;
        widget = edit.GetWidget();
        ASSERT_NE(widget, nullptr);
        PumpEvents();
    }
    void TearDown() override
    {
        edit.DestroyWindow();
        view.DestroyWindow();
        PumpEvents();
    }

    // What a view does when the user starts typing into a cell.
    void OpenOverCell(const CString& text)
    {
        edit.MoveWindow(40, 22, 80, 22);
        edit.ShowWindow(SW_SHOW);
        edit.SetFocus();
        edit.SetSel(0, -1);
        edit.ReplaceSel(text, FALSE);
        PumpEvents();
    }

    // Digits typed on the keyboard.
    void TypeDigits(const char* digits)
    {
        for (const char* p = digits; *p; ++p)
            SendKey(widget, Qt::Key_0 + (*p - '0'), Qt::NoModifier, QString(QLatin1Char(*p)));
    }

    void Commit(const char* utf8)
    {
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8(utf8));
        QApplication::sendEvent(widget, &commit);
    }

    CString CellText() const
    {
        CString s;
        edit.GetCellText(s);
        return s;
    }
    CString RawText() const
    {
        CString s;
        edit.GetText(s);
        return s;
    }

    CTestGridView view;
    CGridCellEdit edit;
    QWidget* widget = nullptr;
};

} // namespace

// ---------------------------------------------------------------------------------------
// Creation.
// ---------------------------------------------------------------------------------------
TEST_F(GridCellEditTest, CreatedHiddenAsAMultiLineChildThatWantsEveryKey)
{
    EXPECT_FALSE(edit.IsWindowVisible());
    EXPECT_EQ(edit.GetDlgCtrlID(), 309);
    const DWORD style = edit.GetStyle();
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_BORDER);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_TRUE(style & WS_CLIPSIBLINGS) << "added by the window-class hook";
    EXPECT_TRUE(style & ES_MULTILINE) << "added by the window-class hook";
    CRect rc;
    edit.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 50);
    EXPECT_EQ(rc.Height(), 25);
    EXPECT_TRUE(edit.SendMessage(WM_GETDLGCODE) & DLGC_WANTALLKEYS);
}

// ---------------------------------------------------------------------------------------
// The keys that end an edit.
// ---------------------------------------------------------------------------------------
TEST_F(GridCellEditTest, EnterGoesToTheViewAfterTheEditorHidAndGaveItTheFocus)
{
    OpenOverCell("");
    TypeDigits("12");
    ASSERT_EQ(RawText(), "12");
    SendKey(widget, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_EQ(view.keys.size(), 1u);
    EXPECT_EQ(view.keys[0].nChar, static_cast<UINT>(VK_RETURN));
    EXPECT_EQ(view.keys[0].nRepCnt, 1u);
    EXPECT_FALSE(view.keys[0].bEditorVisible);
    EXPECT_TRUE(view.keys[0].bViewFocused);
    EXPECT_FALSE(edit.IsWindowVisible());
    EXPECT_EQ(CWnd::GetFocus(), &view);
    // The view takes the text itself; the editor keeps it until then.
    EXPECT_EQ(CellText(), "12");
    // Nothing else reached the view as a key of its own.
    EXPECT_TRUE(view.Messages(WM_KEYDOWN).empty());
}

TEST_F(GridCellEditTest, EscUpAndDownAreHandedOverAndTheTextIsLeftInTheControl)
{
    const std::vector<std::pair<int, UINT>> keys = {
        {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Up, VK_UP}, {Qt::Key_Down, VK_DOWN}};
    for (const auto& [qtKey, vk] : keys) {
        view.keys.clear();
        OpenOverCell("数量"_sj);
        SendKey(widget, qtKey, Qt::NoModifier, qtKey == Qt::Key_Escape ? QStringLiteral("\x1b") : QString());
        ASSERT_EQ(view.keys.size(), 1u) << vk;
        EXPECT_EQ(view.keys[0].nChar, vk);
        EXPECT_FALSE(edit.IsWindowVisible()) << vk;
        EXPECT_EQ(RawText(), "数量"_sj) << vk;
    }
}

TEST_F(GridCellEditTest, TabAndOtherKeysStayInTheEditor)
{
    OpenOverCell("12");
    edit.SetSel(1, 1);
    SendKey(widget, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    SendKey(widget, Qt::Key_Left);
    SendKey(widget, Qt::Key_Right);
    SendKey(widget, Qt::Key_F2);
    EXPECT_TRUE(view.keys.empty());
    EXPECT_TRUE(edit.IsWindowVisible());
    EXPECT_EQ(RawText(), "1\t2") << "Tab is typed into the cell";
}

TEST_F(GridCellEditTest, KeysSentByCodeAreHandedOverWithTheirRepeatCount)
{
    OpenOverCell("5");
    edit.SendMessage(WM_KEYDOWN, VK_DOWN, MAKELPARAM(3, 0x50));
    ASSERT_EQ(view.keys.size(), 1u);
    EXPECT_EQ(view.keys[0].nChar, static_cast<UINT>(VK_DOWN));
    EXPECT_EQ(view.keys[0].nRepCnt, 3u);
}

TEST_F(GridCellEditTest, InAnyOtherParentTheEndingKeysStayWithTheEditor)
{
    CNotifyParent plain;
    ASSERT_TRUE(plain.CreateTopLevel(200, 100));
    CGridCellEdit other;
    ASSERT_TRUE(other.CreateInView(&plain, 100));
    other.ShowWindow(SW_SHOW);
    other.SetFocus();
    SendKey(other.GetWidget(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    SendKey(other.GetWidget(), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_TRUE(other.IsWindowVisible());
    EXPECT_EQ(CWnd::GetFocus(), &other);
    // Losing the focus hides it all the same: the editor hears its own notification.
    plain.SetFocus();
    EXPECT_FALSE(other.IsWindowVisible());
    other.DestroyWindow();
    plain.DestroyWindow();
}

TEST_F(GridCellEditTest, LosingTheFocusHidesTheEditorWithoutHandingAnythingOver)
{
    OpenOverCell("123");
    view.SetFocus();
    PumpEvents();
    EXPECT_FALSE(edit.IsWindowVisible());
    EXPECT_TRUE(view.keys.empty());
    EXPECT_EQ(RawText(), "123");
}

// ---------------------------------------------------------------------------------------
// The text for the cell.
// ---------------------------------------------------------------------------------------
TEST_F(GridCellEditTest, AFullWidthNumberComesBackInAscii)
{
    OpenOverCell("１，２３４"_sj);
    EXPECT_EQ(CellText(), "1,234");
    EXPECT_EQ(RawText(), "１，２３４"_sj) << "the control keeps what was typed";

    OpenOverCell("－１２．５　＊　３"_sj);
    EXPECT_EQ(CellText(), "-12.5*3") << "signs converted, blanks dropped";

    OpenOverCell("１２a"_sj);
    EXPECT_EQ(CellText(), "１２a"_sj) << "mixed with an ASCII letter: unchanged";

    OpenOverCell("１２個"_sj);
    EXPECT_EQ(CellText(), "１２個"_sj) << "mixed with another full-width character: unchanged";

    OpenOverCell("12");
    EXPECT_EQ(CellText(), "12") << "ASCII digits stay as they are";

    OpenOverCell("");
    EXPECT_EQ(CellText(), "");
}

TEST_F(GridCellEditTest, LineBreaksNeverReachTheCell)
{
    OpenOverCell("");
    edit.SetWindowText("単価\r\n１２"_sj);
    EXPECT_EQ(CellText(), "単価１２"_sj);

    QApplication::clipboard()->setText(QString::fromUtf8("３\n４"));
    OpenOverCell("１２"_sj);
    edit.SetSel(2, 2);
    edit.Paste();
    EXPECT_EQ(CellText(), "1234") << "line break dropped, then the full-width number converted";
}

TEST_F(GridCellEditTest, InputMethodCommitLandsAsCodePage932)
{
    OpenOverCell("");
    Commit("単価");
    EXPECT_EQ(RawText(), "単価"_sj);
    EXPECT_EQ(CellText(), "単価"_sj);

    OpenOverCell("");
    Commit("１２３");
    Commit("，４");
    EXPECT_EQ(RawText(), "１２３，４"_sj);
    EXPECT_EQ(CellText(), "123,4");
}

TEST_F(GridCellEditTest, TypedHalfWidthKatakanaAndYenSignKeepTheirBytes)
{
    OpenOverCell("");
    Commit("ｾｯﾄ¥");
    const CString text = RawText();
    EXPECT_EQ(text, "ｾｯﾄ\\"_sj);
    ASSERT_EQ(text.GetLength(), 4);
    EXPECT_EQ(static_cast<unsigned char>(text.GetAt(0)), 0xBE);
    EXPECT_EQ(static_cast<unsigned char>(text.GetAt(3)), 0x5C);
}

// ---------------------------------------------------------------------------------------
// The context menu.
// ---------------------------------------------------------------------------------------
TEST_F(GridCellEditTest, RightClickShowsCutCopyPasteWithTheStatesOfTheMoment)
{
    std::vector<UINT> ids;
    std::vector<CString> texts;
    bool cutGrayed = false, copyGrayed = false, pasteGrayed = false;
    CMenuAnswerer answerer([&](CMenu* pPopup) {
        ids.clear();
        texts.clear();
        for (int i = 0; i < pPopup->GetMenuItemCount(); ++i) {
            ids.push_back(pPopup->GetMenuItemID(i));
            CString s;
            pPopup->GetMenuString(static_cast<UINT>(i), s, MF_BYPOSITION);
            texts.push_back(s);
        }
        cutGrayed = IsGrayed(pPopup, ID_EDIT_CUT);
        copyGrayed = IsGrayed(pPopup, ID_EDIT_COPY);
        pasteGrayed = IsGrayed(pPopup, ID_EDIT_PASTE);
        return 0u;
    });

    // No selection, text on the clipboard.
    QApplication::clipboard()->setText(QStringLiteral("7"));
    OpenOverCell("123");
    edit.SetSel(3, 3);
    SendMouse(widget, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton, Qt::RightButton);
    SendMouse(widget, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton, Qt::NoButton);
    ASSERT_EQ(answerer.Shown(), 1);
    EXPECT_EQ(ids, (std::vector<UINT>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE}));
    EXPECT_EQ(texts, (std::vector<CString>{"切り取り"_sj, "ｺﾋﾟｰ"_sj, "貼り付け"_sj}));
    EXPECT_TRUE(cutGrayed);
    EXPECT_TRUE(copyGrayed);
    EXPECT_FALSE(pasteGrayed);

    // A selection, and nothing to paste.
    QApplication::clipboard()->clear();
    edit.SetSel(0, 2);
    edit.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(answerer.Shown(), 2);
    EXPECT_FALSE(cutGrayed);
    EXPECT_FALSE(copyGrayed);
    EXPECT_TRUE(pasteGrayed);
}

TEST_F(GridCellEditTest, MenuCommandsCutCopyAndPasteTheEditorsText)
{
    UINT choice = 0;
    CMenuAnswerer answerer([&](CMenu*) { return choice; });
    OpenOverCell("単価123"_sj);

    edit.SetSel(0, 2);
    choice = ID_EDIT_COPY;
    edit.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PumpEvents();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("単価"));
    EXPECT_EQ(RawText(), "単価123"_sj);

    edit.SetSel(2, 5);
    choice = ID_EDIT_CUT;
    edit.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PumpEvents();
    EXPECT_EQ(RawText(), "単価"_sj);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("123"));

    edit.SetSel(0, 0);
    choice = ID_EDIT_PASTE;
    edit.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PumpEvents();
    EXPECT_EQ(RawText(), "123単価"_sj);
    EXPECT_EQ(CWnd::GetFocus(), &edit);
    EXPECT_TRUE(edit.IsWindowVisible());
    EXPECT_EQ(answerer.Shown(), 3);
}

TEST_F(GridCellEditTest, ShiftF10AndTheMenuKeyOpenTheMenuAndAreConsumed)
{
    // Keys reach PreTranslateMessage through the application.
    CWinApp app("GridCellEditTest");
    CMenuAnswerer answerer([](CMenu*) { return 0u; });
    OpenOverCell("1");

    SendKey(widget, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(answerer.Shown(), 1);

    // F10 without Shift is no menu key.
    SendKey(widget, Qt::Key_F10);
    EXPECT_EQ(answerer.Shown(), 1);

    SendKey(widget, Qt::Key_Menu);
    EXPECT_EQ(answerer.Shown(), 2);

    // The context-menu message itself, as it comes through the queue.
    MSG msg{edit.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit.m_hWnd), MAKELPARAM(0xFFFF, 0xFFFF),
            0,           {0, 0}};
    EXPECT_TRUE(app.PreTranslateMessage(&msg));
    EXPECT_EQ(answerer.Shown(), 3);
    EXPECT_TRUE(edit.IsWindowVisible());
    EXPECT_TRUE(view.keys.empty());
    EXPECT_TRUE(view.Messages(WM_CONTEXTMENU).empty()) << "the view's own menu is not asked for";
}
