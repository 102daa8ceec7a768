// The form pages of the setup sheet, driven as a user would: Enter through an item with
// the pick lists, the unique special-item codes, the width that follows the picture, "読 込"
// of a damaged file changing nothing, a changed page saved under a name on OK, and the
// parts page keeping the strings it does not show.
#include "app/CMorvelApp.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/SetupIds.h"
#include "setup/CIntroductionDialog.h"
#include "setup/SetupRegistration.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/setup/SetupTestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

class FormPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSetup();
        ASSERT_TRUE(app.Start());
    }
    CMorvelApp& App() { return app.App(); }

    CShellTestFolder folder;
    CDialogAnswerer answerer;
    CShellTestApp app;
};

} // namespace

TEST_F(FormPagesTest, RowLabelsRunFromAToCuAndEnterFollowsTheAttribute)
{
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_estimationPage));
        CEstimationDialog& page = sheet.m_estimationPage;
        EXPECT_EQ(page.CellText(1, 0), "A");
        EXPECT_EQ(page.CellText(26, 0), "Z");
        EXPECT_EQ(page.CellText(27, 0), "AA");
        EXPECT_EQ(page.CellText(52, 0), "AZ");
        EXPECT_EQ(page.CellText(53, 0), "BA");
        EXPECT_EQ(page.CellText(99, 0), "CU");
        // A new item after the sample's last one.
        const int r = App().m_estimationForm.GetCount() + 1;
        page.Grid().SetCol(1);
        page.Grid().SetRow(static_cast<short>(r));
        TypeCell(page.Editor(), "数量2"_sj);
        AnswerPick(answerer, 1); // 2.数値
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentCol(), 4); // 数値 skips the width
        TypeKeys(page.Editor(), "###,###");
        EXPECT_EQ(page.CellText(r, 3), "7");
        TypeKeys(page.Editor(), "ab"); // not picture characters: dropped
        CString picture;
        page.Editor().GetWindowText(picture);
        EXPECT_EQ(picture, "###,###");
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.GetCurrentCol(), 6); // 数値 skips the formula
        // Picking "文字" on the attribute empties picture, formula and rounding, and Enter
        // goes on to the width.
        page.Grid().SetCol(2);
        AnswerPick(answerer, 0);
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.CellText(r, 2), "文字"_sj);
        EXPECT_EQ(page.CellText(r, 4), "");
        EXPECT_EQ(page.GetCurrentCol(), 3);
        // What is typed into a cell replaces its text: the width becomes 30, not the width
        // the picture gave followed by 30.
        ASSERT_NE(page.CellText(r, 3), "");
        TypeKeys(page.Editor(), "30");
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.CellText(r, 3), "30");
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
}

// The labels of the items show whole on every form page: "CO" and "CQ" no longer both read
// as "C" and a part of a letter in the narrow label column.
TEST_F(FormPagesTest, EveryRowLabelShowsWhole)
{
    CIntroductionDialog sheet("導入処理"_sj);
    std::vector<std::string> cut;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        for (CPropertyPage* pPage : std::initializer_list<CPropertyPage*>{
                 &sheet.m_estimationPage, &sheet.m_partsPage, &sheet.m_informationPage}) {
            ASSERT_TRUE(sheet.SetActivePage(pPage));
            auto& page = static_cast<CSetupGridPage&>(*pPage);
            CGridCtrl& grid = page.Grid();
            CClientDC dc(&grid);
            auto hFont = reinterpret_cast<HFONT>(grid.SendMessage(WM_GETFONT));
            CFont* pOld = hFont != nullptr ? dc.SelectObject(CFont::FromHandle(hFont)) : nullptr;
            const int nColumn = CGridCtrl::TwipsToPixels(grid.GetColWidth(0));
            for (int r = 1; r < grid.GetRows(); ++r) {
                const CString label = page.CellText(r, 0);
                if (dc.GetTextExtent(label).cx + 2 * GRID_CELL_MARGIN > nColumn)
                    cut.push_back(label.ToUtf8());
            }
            if (pOld != nullptr)
                dc.SelectObject(pOld);
        }
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_TRUE(cut.empty()) << cut.size() << " labels cut, the first " << cut.front();
}

TEST_F(FormPagesTest, PickingANameCodeClearsTheConflictingCodesOfOtherItems)
{
    CEstimationFormFile& form = App().m_estimationForm;
    ASSERT_GE(form.GetCount(), 3);
    form.SetItem(0, CEstimationFormFile::colT, "5");
    form.SetItem(1, CEstimationFormFile::colT, "6");
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_estimationPage));
        CEstimationDialog& page = sheet.m_estimationPage;
        // "5.検索" on item 3 clears item 1's "5" but keeps item 2's "6".
        page.Grid().SetRow(3);
        page.Grid().SetCol(7);
        AnswerPick(answerer, 5);
        AnswerPick(answerer, 0); // the chain goes on through V: (なし)
        AnswerPick(answerer, 0); // B
        AnswerPick(answerer, 0); // C
        PressKey(page.Editor(), VK_RETURN);
        EXPECT_EQ(page.CellText(3, 7), "5");
        EXPECT_EQ(page.CellText(1, 7), "");
        EXPECT_EQ(page.CellText(2, 7), "6");
        EXPECT_EQ(form.GetItem(0, CEstimationFormFile::colT), "");
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
}

TEST_F(FormPagesTest, OpeningADamagedFormChangesNeitherTheFolderNorTheNameNorTheGrid)
{
    const CString folderBefore = App().GetProfileValue("Path Setting", "Estimation Form");
    const int nCount = App().m_estimationForm.GetCount();
    folder.WriteFile("WORK/bad.MMK", ByteBuilder().Str("This is estimation formX").Word(1).Bytes());
    folder.WriteFile("WORK/short.MMK",
                     ByteBuilder().Str("This is estimation form file").Word(3).Str("a").Bytes());
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_estimationPage));
        CEstimationDialog& page = sheet.m_estimationPage;
        const CString first = page.CellText(1, 1);
        for (const char* name : {"WORK/bad.MMK", "WORK/short.MMK"}) {
            answerer.AnswerFileDialog(folder.System(name));
            ClickDlgButton(page, IDC_FORM_OPEN);
            EXPECT_EQ(page.CellText(1, 1), first) << name;
        }
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_EQ(App().GetProfileValue("Path Setting", "Estimation Form"), folderBefore);
    EXPECT_EQ(App().m_strEstimationFormFile, "meisai.MMK");
    EXPECT_EQ(App().m_estimationForm.GetCount(), nCount);
    EXPECT_EQ(answerer.MessageBoxTexts(), (std::vector<CString>{"見積形式ﾌｧｲﾙがないか、壊れています。"_sj,
                                                                "見積形式ﾌｧｲﾙがないか、壊れています。"_sj}));
}

TEST_F(FormPagesTest, AChangedFormIsSavedUnderANameOnOkAndHiddenStringsStay)
{
    CPartFormFile& parts = App().m_partForm;
    ASSERT_GT(parts.GetCount(), 0);
    parts.SetItem(0, 8, "X"); // string 9 ("C"), which the page does not show
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_partsPage));
        CPartsDialog& page = sheet.m_partsPage;
        TypeCell(page.Editor(), "品名改"_sj);
        answerer.AnswerFileDialog(folder.System("FORM/new.MBK"));
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(App().m_strPartFormFile, "new.MBK");
    CPartFormFile written;
    CFile f(SystemPathFromNative(folder.Native("FORM/new.MBK")), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    ASSERT_EQ(written.Serialize(ar), 0);
    EXPECT_EQ(written.GetItem(0, 0), "品名改"_sj);
    EXPECT_EQ(written.GetItem(0, 8), "X");
    EXPECT_EQ(App().GetProfileValue("Form File Name Setting", "Part Form Name"), "new.MBK");
}

TEST_F(FormPagesTest, ImportModeShowsTheDocumentsFormsWithOneOkButtonAndWritesNothing)
{
    CEstimationFormFile estimation = App().m_estimationForm;
    estimation.SetItem(0, 0, "文書の項目"_sj);
    const CString appFirst = App().m_estimationForm.GetItem(0, 0);
    CIntroductionDialog sheet("導入処理"_sj, "doc.MMK", estimation, "doc.MJK", App().m_informationForm,
                              nullptr, 0);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        EXPECT_EQ(sheet.GetPageCount(), 5);
        EXPECT_FALSE(dlg.GetDlgItem(IDOK)->IsWindowVisible());
        CString text;
        dlg.GetDlgItemText(IDCANCEL, text);
        EXPECT_EQ(text, "OK");
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_estimationPage));
        EXPECT_EQ(sheet.m_estimationPage.CellText(1, 1), "文書の項目"_sj);
        EXPECT_FALSE(sheet.m_estimationPage.Editor().IsWindowVisible());
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_EQ(App().m_estimationForm.GetItem(0, 0), appFirst);
}

TEST_F(FormPagesTest, RowCommandsMoveItemsAndResizedColumnsAreRememberedOnOk)
{
    CInformationFormFile& form = App().m_informationForm;
    const int nCount = form.GetCount();
    ASSERT_GE(nCount, 3);
    const CString first = form.GetItem(0, 0);
    const CString second = form.GetItem(1, 0);
    const CString third = form.GetItem(2, 0);
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_informationPage));
        CInformationDialog& page = sheet.m_informationPage;
        // Cut the first item, paste it after the second: the two swap places.
        page.SendMessage(WM_COMMAND, ID_ROW_CUT);
        EXPECT_EQ(page.CellText(1, 1), second);
        EXPECT_EQ(page.CellText(nCount, 1), "");
        page.Grid().SetRow(2);
        page.SendMessage(WM_COMMAND, ID_GRID_ROW_INSERT);
        EXPECT_EQ(page.CellText(2, 1), "");
        EXPECT_EQ(page.CellText(3, 1), third);
        page.SendMessage(WM_COMMAND, ID_ROW_PASTE);
        EXPECT_EQ(page.CellText(2, 1), first);
        // The user widens the name column by dragging its header line.
        const long before = page.Grid().GetColWidth(1);
        const int line = 1 + static_cast<int>(page.Grid().GetColPos(1) / 15 + before / 15);
        page.Grid().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(line, 5));
        page.Grid().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(line + 30, 5));
        page.Grid().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(line + 30, 5));
        EXPECT_EQ(page.Grid().GetColWidth(1), before + 30 * 15);
        answerer.AnswerFileDialog(folder.System("FORM/moved.MJK"));
        ClickDlgButton(dlg, IDOK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(form.GetItem(0, 0), second);
    EXPECT_EQ(form.GetItem(1, 0), first);
    EXPECT_EQ(form.GetItem(2, 0), third);
    EXPECT_EQ(App().GetProfileValue("Information Width Setting", "Item1"), "2450");
    EXPECT_EQ(App().m_strInformationFormFile, "moved.MJK");
}

// A picture typed below the last item before its name is an item in the making: cutting an
// item above it from the right-click menu moves it up with the others.
TEST_F(FormPagesTest, RowCutMovesUpAnItemWhoseNameIsNotTypedYet)
{
    const int n = App().m_partForm.GetCount();
    const CString second = App().m_partForm.GetItem(1, 0);
    CIntroductionDialog sheet("導入処理"_sj);
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        ASSERT_TRUE(sheet.SetActivePage(&sheet.m_partsPage));
        CPartsDialog& page = sheet.m_partsPage;
        ClickGridCell(page.Grid(), n + 1, 4);
        TypeCell(page.Editor(), "###,###");
        RightClickGridCell(page.Grid(), 1, 1, ID_ROW_CUT);
        EXPECT_EQ(page.GetCurrentRow(), 1);
        EXPECT_EQ(page.CellText(1, 1), second);
        EXPECT_EQ(page.CellText(n, 4), "###,###");
        EXPECT_EQ(page.CellText(n, 3), "7");
        EXPECT_EQ(page.CellText(n + 1, 4), "");
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
}

// The horizontal bar takes the current column along when the view would leave it behind:
// the editor always lies inside the grid, with room to type.
TEST_F(FormPagesTest, TheHorizontalBarTakesTheCurrentColumnAlongOnEveryFormPage)
{
    CIntroductionDialog sheet("導入処理"_sj);
    int nScrolledPages = 0;
    answerer.AnswerDialog(AFX_IDD_PROPSHEET, [&](CDialog& dlg) {
        for (CFormPage* pPage : std::initializer_list<CFormPage*>{&sheet.m_estimationPage, &sheet.m_partsPage,
                                                                  &sheet.m_informationPage}) {
            ASSERT_TRUE(sheet.SetActivePage(pPage));
            auto* pBar = static_cast<CScrollBar*>(pPage->GetDlgItem(IDC_FORM_HSCROLL));
            ASSERT_NE(pBar, nullptr);
            int nMin = 1, nMax = 1;
            pBar->GetScrollRange(&nMin, &nMax);
            if (nMax <= 1)
                continue; // every column is in view
            ++nScrolledPages;
            const auto scroll = [&](UINT nCode, int nPos) {
                pPage->SendMessage(WM_HSCROLL, MAKEWPARAM(nCode, nPos),
                                   reinterpret_cast<LPARAM>(pBar->m_hWnd));
            };
            const auto editorInside = [&] {
                CRect rcEdit, rcGrid;
                pPage->Editor().GetWindowRect(&rcEdit);
                pPage->Grid().GetWindowRect(&rcGrid);
                return rcEdit.Width() > 4 && rcEdit.left >= rcGrid.left && rcEdit.right <= rcGrid.right;
            };
            ASSERT_EQ(pPage->GetCurrentCol(), 1);
            scroll(SB_THUMBPOSITION, nMax);
            EXPECT_EQ(pPage->Grid().GetLeftCol(), nMax);
            EXPECT_GE(pPage->GetCurrentCol(), nMax);
            EXPECT_TRUE(editorInside()) << pPage->GetTitle().ToUtf8();
            // The last column, then back to the left one step at a time.
            pPage->Grid().SetCol(static_cast<short>(pPage->Grid().GetCols() - 1));
            for (int n = nMax; n > 1; --n) {
                scroll(SB_LINELEFT, 0);
                EXPECT_TRUE(editorInside()) << pPage->GetTitle().ToUtf8() << " " << n;
            }
            EXPECT_EQ(pPage->Grid().GetLeftCol(), 1);
        }
        ClickDlgButton(dlg, IDCANCEL);
    });
    sheet.DoModal();
    EXPECT_GE(nScrolledPages, 1);
}
