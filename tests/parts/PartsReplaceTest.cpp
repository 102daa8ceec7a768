// Find and replace in a real parts window through the program's own dialogs (Ctrl+F, Ctrl+H
// and the dialogs' buttons): numbers are found and replaced as the grid shows them, the
// rows a replace wrote get their figures worked out again, and each replace is one undo step.
#include "tests/parts/PartsWindowFixture.h"

#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateEditIds.h"
#include "tests/support/RealInput.h"

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
