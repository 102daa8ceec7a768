// The parts selection list: the parts-list file read as the parts window writes it (built
// here byte by byte), the filter, the numbers as listed, sorting, the kept geometry, and
// the chosen parts arriving as detail rows through the estimate's parts search column.
#include "engine/estimate/RowKinds.h"
#include "estimate_tools/CSelectListDialog.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "parts/PartsSelectList.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

// The parts form of the samples: 部材名 (T 2), 規格, 数量, 単位 (T 1), 単価, 金額, 備考.
const std::vector<std::array<const char*, 10>> kPartsForm = {
    {"部材名", "文字", "20", "", "", "", "2", "", "", ""},
    {"規格", "文字", "16", "", "", "", "", "", "", ""},
    {"数量", "数値", "8", "###,###.##", "", "F(-3)", "", "", "", ""},
    {"単位", "文字", "5", "", "", "", "1", "", "", ""},
    {"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", ""},
    {"金額", "計算", "12", "###,###,###", "C*E", "D(-1)", "", "", "", ""},
    {"備考", "文字", "14", "", "", "", "", "", "", ""},
};

// A parts-list file: magic, zoom word, form name, the form, row and column counts, cells.
std::string PartsFile(const std::vector<std::vector<const char*>>& rows,
                      const char* magic = "This is Parts Management file")
{
    ByteBuilder b;
    b.Str(magic)
        .Word(100)
        .Str("BUZAI.MBK")
        .Str("This is part form file")
        .Word(static_cast<uint16_t>(kPartsForm.size()));
    for (const auto& item : kPartsForm)
        for (const char* text : item)
            b.Str(Sj(text));
    b.Word(static_cast<uint16_t>(rows.size())).Word(static_cast<uint16_t>(kPartsForm.size()));
    for (const auto& row : rows)
        for (const char* cell : row)
            b.Str(Sj(cell));
    b.Word(0); // no print layouts
    const auto& bytes = b.Bytes();
    return std::string(bytes.begin(), bytes.end());
}

const std::vector<std::vector<const char*>> kRows = {
    {"型枠A", "合板", "10.000000", "m2", "4500.000000", "45000.000000", "外注"},
    {"鉄筋", "D13", "0.000000001", "t", "98000.000000", "0.000000", ""},
    {"型枠B", "鋼製", "1234.500000", "m2", "3800.000000", "4691100.000000", "材"},
    {"型枠", "", "0.00001", "式", "", "", ""},
};

std::string U(const CString& text)
{
    return text.ToUtf8();
}

} // namespace

TEST(PartsSelectionFile, TheFilterAndTheListedNumbers)
{
    CPartsSelection sel;
    ASSERT_EQ(CPartsSelection::readOK, ReadPartsSelection(PartsFile(kRows), "型枠*"_sj, sel));
    EXPECT_EQ(7, sel.nColumns);
    ASSERT_EQ(3u, sel.rows.size());
    EXPECT_EQ("型枠A", U(sel.rows[0][0]));
    EXPECT_EQ("10.00", sel.rows[0][2].str());
    EXPECT_EQ("4,500", sel.rows[0][4].str());
    EXPECT_EQ("1,234.50", sel.rows[1][2].str());
    EXPECT_EQ("4,691,100", sel.rows[1][5].str());
    // 0.00001 is a number the picture shows; an empty price stays empty.
    EXPECT_EQ("0.00", sel.rows[2][2].str());
    EXPECT_EQ("", sel.rows[2][4].str());

    // Exactly the text without "*"; "*" alone every row; an empty filter only empty cells.
    ASSERT_EQ(CPartsSelection::readOK, ReadPartsSelection(PartsFile(kRows), "型枠"_sj, sel));
    ASSERT_EQ(1u, sel.rows.size());
    EXPECT_EQ("型枠", U(sel.rows[0][0]));
    ASSERT_EQ(CPartsSelection::readOK, ReadPartsSelection(PartsFile(kRows), "*", sel));
    ASSERT_EQ(4u, sel.rows.size());
    // A number below 1e-8 shows empty.
    EXPECT_EQ("", sel.rows[1][2].str());
    ASSERT_EQ(CPartsSelection::readOK, ReadPartsSelection(PartsFile(kRows), "", sel));
    EXPECT_TRUE(sel.rows.empty());
    // Anything after the first "*" is ignored.
    ASSERT_EQ(CPartsSelection::readOK, ReadPartsSelection(PartsFile(kRows), "型*B"_sj, sel));
    EXPECT_EQ(3u, sel.rows.size());
}

TEST(PartsSelectionFile, OtherFilesAndDamagedFilesGiveNothing)
{
    CPartsSelection sel;
    ASSERT_EQ(CPartsSelection::readOK, ReadPartsSelection(PartsFile(kRows), "*", sel));
    ASSERT_EQ(4u, sel.rows.size());
    EXPECT_EQ(CPartsSelection::readNotParts,
              ReadPartsSelection(PartsFile(kRows, "This is Estimation File"), "*", sel));
    // Nothing changed by a failed read.
    EXPECT_EQ(4u, sel.rows.size());
    const std::string whole = PartsFile(kRows);
    CDialogAnswerer answerer; // a cut form may tell the user
    answerer.SetDefaultMessageBoxAnswer(IDOK);
    for (size_t n = 0; n < whole.size() - 2; n += 7) {
        CPartsSelection cut;
        EXPECT_NE(CPartsSelection::readOK, ReadPartsSelection(whole.substr(0, n), "*", cut)) << n;
        EXPECT_TRUE(cut.rows.empty());
    }
}

TEST(PartsSelectionFile, BCodesNameTheirPartsColumns)
{
    EXPECT_EQ(0, CMorvelEMView::PartsColumnOfCode("A"));
    EXPECT_EQ(6, CMorvelEMView::PartsColumnOfCode("G"));
    EXPECT_EQ(1, CMorvelEMView::PartsColumnOfCode("AB"));
    EXPECT_EQ(26, CMorvelEMView::PartsColumnOfCode("BA"));
    EXPECT_EQ(99, CMorvelEMView::PartsColumnOfCode("DV"));
    EXPECT_EQ(-1, CMorvelEMView::PartsColumnOfCode("DW")); // 100: no cell
    EXPECT_EQ(-1, CMorvelEMView::PartsColumnOfCode(""));
    EXPECT_EQ(-1, CMorvelEMView::PartsColumnOfCode("a"));
    EXPECT_EQ(2, CMorvelEMView::PartsColumnOfCode("1C"));
}

namespace {

class SelectListTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
        ASSERT_NE(OpenSample(), nullptr);
        // The 規格 column becomes the parts search column (T 5).
        m_pDoc->m_EstimationForm.SetItem(scSpec, CEstimationFormFile::colT, "5");
        m_pView->SetupFromDocument();
        WriteParts(PartsFile(kRows));
    }

    void WriteParts(const std::string& bytes)
    {
        const std::string path = NativePath(m_pView->GetCurrentPartFile());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static CSelectListDialog& Sheet(CDialog& dlg) { return static_cast<CSelectListDialog&>(dlg); }
    static void ClickColumn(CDialog& dlg, int nCol)
    {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = Sheet(dlg).List().m_hWnd;
        nm.hdr.idFrom = IDC_SELECT_LIST;
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iItem = -1;
        nm.iSubItem = nCol;
        dlg.SendMessage(WM_NOTIFY, IDC_SELECT_LIST, reinterpret_cast<LPARAM>(&nm));
    }
};

} // namespace

TEST_F(SelectListTest, PartsTypedInTheSearchColumnComeInAsCalculatedDetailRows)
{
    const int nRow = srFirstDetail + 1;
    const CString below = m_pView->GetCellText(nRow, scName);
    const int nUsed = m_pView->GetUsedRows();
    GoTo(scSpec, nRow);
    CDialogAnswerer answerer;
    std::vector<std::string> sortedUp, sortedDown;
    answerer.AnswerDialog(IDD_SELECT_LIST, [&](CDialog& dlg) {
        CSelectListDialog& list = Sheet(dlg);
        CString caption, file;
        dlg.GetWindowText(caption);
        EXPECT_EQ("部材選択", U(caption));
        // The parts file as the user's file system names it.
        dlg.GetDlgItemText(IDC_SELECT_FILE, file);
        EXPECT_EQ(NativePath(m_pView->GetCurrentPartFile()), U(file));
        ASSERT_EQ(3, list.List().GetItemCount());
        EXPECT_EQ(0, list.List().GetNextItem(-1, LVNI_SELECTED));
        // Sorting by 単価: up, then down.
        ClickColumn(dlg, 4);
        for (int i = 0; i < 3; ++i)
            sortedUp.push_back(U(list.List().GetItemText(i, 0)));
        ClickColumn(dlg, 4);
        for (int i = 0; i < 3; ++i)
            sortedDown.push_back(U(list.List().GetItemText(i, 0)));
        // 型枠B and 型枠A chosen, in list order.
        list.List().SetItemState(-1, 0, LVIS_SELECTED);
        for (int i = 0; i < 3; ++i) {
            if (list.List().GetItemText(i, 0) != "型枠"_sj)
                list.List().SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
        }
        list.List().SetColumnWidth(1, 77);
        ClickDlgButton(dlg, IDOK);
    });
    TypeUtf8("型枠*");
    Key(VK_RETURN);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ(std::vector<std::string>({"型枠", "型枠B", "型枠A"}), sortedUp);
    EXPECT_EQ(std::vector<std::string>({"型枠A", "型枠B", "型枠"}), sortedDown);

    // Two detail rows where the cursor was, filled through the "B" codes and calculated.
    // (A heading pushed off the start of its page is kept there, with empty rows before it.)
    EXPECT_LE(nUsed + 2, m_pView->GetUsedRows());
    EXPECT_EQ(kindDetail, m_pView->GetRowKind(nRow));
    EXPECT_EQ(kindDetail, m_pView->GetRowKind(nRow + 1));
    EXPECT_EQ("型枠A", Utf8Cell(nRow, scName));
    EXPECT_EQ("合板", Utf8Cell(nRow, scSpec));
    EXPECT_EQ("10.000000", Cell(nRow, scQty));
    EXPECT_EQ("m2", Cell(nRow, scUnit));
    EXPECT_EQ("4500.000000", Cell(nRow, scPrice));
    EXPECT_DOUBLE_EQ(45000.0, Value(nRow, scAmount));
    EXPECT_EQ("外注", Utf8Cell(nRow, scNote));
    EXPECT_EQ("型枠B", Utf8Cell(nRow + 1, scName));
    EXPECT_EQ("1234.500000", Cell(nRow + 1, scQty));
    EXPECT_DOUBLE_EQ(4691100.0, Value(nRow + 1, scAmount));
    EXPECT_EQ(below.str(), m_pView->GetCellText(nRow + 2, scName).str());
    EXPECT_TRUE(IsModified());

    // The geometry is kept: the column widths, each followed by a blank.
    const CString widths = m_pApp->GetProfileString("List Control Setting", "Part List Column", "");
    EXPECT_EQ(0, widths.Find(CString("100 77 ")));
    EXPECT_FALSE(m_pApp->GetProfileString("List Control Setting", "Part List Rect", "").IsEmpty());
}

TEST_F(SelectListTest, NoMatchAMissingFileOrAnotherFileInsertNothing)
{
    const int nUsed = m_pView->GetUsedRows();
    CDialogAnswerer answerer;
    answerer.AnswerMessageBox("該当する部材がありません。"_sj, IDOK);
    GoTo(scSpec, srFirstDetail);
    TypeUtf8("無い部材");
    Key(VK_RETURN);
    answerer.AnswerMessageBox("部材ﾌｧｲﾙではありません"_sj, IDOK);
    WriteParts(PartsFile(kRows, "This is Estimation File"));
    GoTo(scSpec, srFirstDetail);
    TypeUtf8("*");
    Key(VK_RETURN);
    answerer.AnswerMessageBox("部材ﾌｧｲﾙがないか壊れています。"_sj, IDOK);
    std::remove(NativePath(m_pView->GetCurrentPartFile()).c_str());
    GoTo(scSpec, srFirstDetail);
    TypeUtf8("*");
    Key(VK_RETURN);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ(3u, answerer.MessageBoxTexts().size());
    EXPECT_EQ(nUsed, m_pView->GetUsedRows());
}

// The parts taken in, between rows or past the last one, are taken out again by undo and come
// back by redo: the rows exactly as before and after.
TEST_F(SelectListTest, PartsTakenInAreTakenBackByUndoAndComeAgainByRedo)
{
    const auto rows = [this] {
        std::vector<std::string> lines{std::to_string(m_pView->GetUsedRows())};
        for (int r = 0; r < m_pView->GetUsedRows() + 3; ++r) {
            std::string line = std::to_string(m_pView->GetRowKind(r));
            for (int c = 0; c < m_pView->GetColumnCount(); ++c)
                line += "|" + U(m_pView->GetCellText(r, c));
            lines.push_back(line);
        }
        return lines;
    };
    CDialogAnswerer answerer;
    for (int nRow : {srFirstDetail + 1, m_pView->GetUsedRows() + 2}) {
        const std::vector<std::string> before = rows();
        GoTo(scSpec, nRow);
        answerer.AnswerDialog(IDD_SELECT_LIST, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        TypeUtf8("型枠*");
        Key(VK_RETURN);
        const std::vector<std::string> after = rows();
        ASSERT_EQ(kindDetail, m_pView->GetRowKind(nRow)) << nRow;
        ASSERT_NE(after, before) << nRow;
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(rows(), before) << nRow;
        Command(ID_EDIT_REDO);
        EXPECT_EQ(rows(), after) << nRow;
    }
}
