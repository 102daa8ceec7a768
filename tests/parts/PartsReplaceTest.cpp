// Find and replace in a real parts window through the program's own dialogs (Ctrl+F, Ctrl+H
// and the dialogs' buttons): numbers are found and replaced as the grid shows them, the
// rows a replace wrote get their figures worked out again, and each replace is one undo step
// that the main window's tool bar shows while the dialog is still the active window.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CToolBar.h"
#include "resources/EstimateEditIds.h"
#include "tests/support/EventWait.h"
#include "tests/support/RealInput.h"

#include <QEventLoop>
#include <QTimer>

namespace {

enum { colName = 0, colQty = 2, colPrice = 4, colAmount = 5 };

class PartsReplaceTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        RegisterEstimateTools();
        ASSERT_NE(nullptr, OpenSample());
        // The sample's first part: 1,250.50 kg at 98 makes 122,549.
        ASSERT_EQ("1250.500000", Cell(0, colQty));
        ASSERT_EQ("98.000000", Cell(0, colPrice));
    }
    void Keys(int nKey)
    {
        RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, nKey);
        Pump();
    }
    std::string Shown(int nRow, int nCol) const { return m_pView->GetDisplayText(nRow, nCol, nullptr).str(); }
    static std::string BoxText(CDialog& dlg, UINT nID)
    {
        CString strText;
        dlg.GetDlgItemText(nID, strText);
        return strText.str();
    }
};

} // namespace

TEST_F(PartsReplaceTest, TheDialogsStartWithWhatANumberShowsAndFindItThere)
{
    Click(colQty, 0);
    Keys(Qt::Key_F);
    auto* pFind = static_cast<CFindDialog*>(m_pView->GetFindDialog());
    ASSERT_NE(nullptr, pFind);
    EXPECT_EQ("1,250.50", BoxText(*pFind, IDC_FIND_TEXT));
    // As shown, and as the number written plainly; never the stored digits.
    for (const char* text : {"1,250.50", "1250.5", "1250.50"}) {
        Click(colName, 0);
        TypeDlgItemText(*pFind, IDC_FIND_TEXT, text);
        ClickDlgButton(*pFind, IDC_FIND_NEXT);
        EXPECT_EQ(CPoint(colQty, 0), CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow())) << text;
    }
    CDialogAnswerer answerer;
    Click(colName, 0);
    TypeDlgItemText(*pFind, IDC_FIND_TEXT, "500000");
    ClickDlgButton(*pFind, IDC_FIND_NEXT);
    EXPECT_EQ(1u, answerer.MessageBoxTexts().size());
    ClickDlgButton(*pFind, IDCANCEL);
}

TEST_F(PartsReplaceTest, ReplaceWorksOutTheRowAndIsUndoneAndRedoneInOneStep)
{
    Click(colPrice, 0);
    Keys(Qt::Key_H);
    auto* pDlg = static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
    ASSERT_NE(nullptr, pDlg);
    EXPECT_EQ("98", BoxText(*pDlg, IDC_FIND_TEXT));
    TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, "99");
    Click(colName, 0);
    ClickDlgButton(*pDlg, IDC_FIND_NEXT);
    ClickDlgButton(*pDlg, IDC_REPLACE_ONE);
    EXPECT_EQ("99.000000", Cell(0, colPrice));
    EXPECT_EQ("123,799", Shown(0, colAmount)) << "1,250.50 x 99";
    ClickDlgButton(*pDlg, IDCANCEL);

    Keys(Qt::Key_Z);
    EXPECT_EQ("98.000000", Cell(0, colPrice));
    EXPECT_EQ("122,549", Shown(0, colAmount));
    Keys(Qt::Key_Y);
    EXPECT_EQ("99.000000", Cell(0, colPrice));
    EXPECT_EQ("123,799", Shown(0, colAmount));
}

TEST_F(PartsReplaceTest, ReplaceAllOfAShownNumberStoresItsNewNumberAndIsOneUndoStep)
{
    const std::vector<std::string> before = AllCells();
    Keys(Qt::Key_H);
    auto* pDlg = static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
    ASSERT_NE(nullptr, pDlg);
    TypeDlgItemText(*pDlg, IDC_FIND_TEXT, "1,250");
    TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, "1,300");
    ClickDlgButton(*pDlg, IDC_REPLACE_ALL);
    ClickDlgButton(*pDlg, IDCANCEL);
    EXPECT_EQ("1300.500000", Cell(0, colQty));
    EXPECT_EQ("127,449", Shown(0, colAmount)) << "1,300.50 x 98";
    const std::vector<std::string> after = AllCells();

    Keys(Qt::Key_Z);
    EXPECT_EQ(before, AllCells());
    Keys(Qt::Key_Y);
    EXPECT_EQ(after, AllCells());
}

TEST_F(PartsReplaceTest, TheMainToolBarFollowsAReplaceWhileTheDialogIsTheActiveWindow)
{
    CToolBar& bar = static_cast<CMainFrame*>(m_pApp->m_pMainWnd)->GetToolBar();
    const int nUndo = bar.CommandToIndex(ID_EDIT_UNDO);
    ASSERT_GE(nUndo, 0);
    const auto undoShownEnabled = [&] { return (bar.GetButtonStyle(nUndo) & TBBS_DISABLED) == 0; };
    // The program's own loop, waiting between events, with its idle pass before each wait.
    const auto runLoopUntil = [](const std::function<bool()>& ready, const char* what,
                                 std::chrono::milliseconds limit = kEventWaitLimit) {
        return WaitUntil(
            [&] {
                QEventLoop loop;
                QTimer::singleShot(5, &loop, &QEventLoop::quit);
                loop.exec();
                return ready();
            },
            what, limit);
    };
    Keys(Qt::Key_H);
    auto* pDlg = static_cast<CReplaceDialog*>(m_pView->GetReplaceDialog());
    ASSERT_NE(nullptr, pDlg);
    QWidget* pDlgWindow = pDlg->GetWidget()->window();
    pDlgWindow->activateWindow();
    ASSERT_TRUE(
        WaitUntil([&] { return QApplication::activeWindow() == pDlgWindow; }, "the dialog to be active"));
    ASSERT_TRUE(runLoopUntil([&] { return !undoShownEnabled(); }, "nothing to undo yet"));

    TypeDlgItemText(*pDlg, IDC_FIND_TEXT, "98");
    TypeDlgItemText(*pDlg, IDC_REPLACE_TEXT, "97");
    // Alt+A, the mnemonic of "すべて置換": the toolkit clicks the button a moment after the key.
    RealInput::PressKeys(RealInput::KeyboardWidget(), Qt::AltModifier, Qt::Key_A);
    ASSERT_TRUE(runLoopUntil([&] { return Cell(0, colPrice) == "97.000000"; }, "the replace"));
    ASSERT_EQ(pDlgWindow, QApplication::activeWindow());
    EXPECT_TRUE(runLoopUntil(undoShownEnabled, "the tool bar to offer undo", std::chrono::seconds(10)));
    ClickDlgButton(*pDlg, IDCANCEL);
}
