// The parts grid's commands that ask through the program's dialogs (the estimate tools'
// sort, fixed-rate, CSV column and file dialogs), answered as a user would answer them.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "app/CMorvelApp.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/EstimateIoIds.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/parts/PartsTestSupport.h"

#include <algorithm>

namespace {

enum { colName = 0, colSpec = 1, colQty = 2, colUnit = 3, colPrice = 4, colAmount = 5, colNote = 6 };

class PartsDialogCommandsTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        RegisterEstimateTools();
        ASSERT_NE(nullptr, OpenSample());
    }
};

} // namespace

TEST_F(PartsDialogCommandsTest, SortThroughTheSortDialogOrdersTheSelectedColumnsRows)
{
    Click(colPrice, 0);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colPrice, 0, colPrice, 4));
    EXPECT_EQ(1, Enabled(ID_SORT));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_SORT, [](CDialog& dlg) { ClickDlgButton(dlg, IDC_SORT_DESCENDING); });
    Command(ID_SORT);
    // Prices 98, 14,800, 1,650, 420, 38 descending: 14,800 first, 38 last; whole rows move.
    EXPECT_EQ("14800.000000", Cell(0, colPrice));
    EXPECT_EQ("38.000000", Cell(4, colPrice));
    EXPECT_EQ("生コンクリート", Cell(0, colName));
    // Two columns: disabled.
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colQty, 0, colPrice, 4));
    EXPECT_EQ(0, Enabled(ID_SORT));
}

TEST_F(PartsDialogCommandsTest, CsvOutputCancelledAtTheColumnChoiceLeavesTheFileAsItWas)
{
    const std::string native = m_dir.NativeFile("WORK/out.csv");
    WriteNativeFile(native, {'o', 'l', 'd'});
    // Replacing the file is asked first; No ends the command before the column choice.
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.AnswerNextMessageBox(IDNO);
        Command(ID_TEXT_OUTPUT);
        EXPECT_EQ(1u, answerer.MessageBoxTexts().size());
        EXPECT_TRUE(answerer.DialogIds().empty());
    }
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.AnswerNextMessageBox(IDYES);
        answerer.EndDialogWith(IDD_COLUMN_SELECT, IDCANCEL);
        Command(ID_TEXT_OUTPUT);
        EXPECT_EQ(std::vector<UINT>({IDD_COLUMN_SELECT}), answerer.DialogIds());
    }
    EXPECT_EQ(std::vector<uint8_t>({'o', 'l', 'd'}), ReadNativeFile(native));
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        answerer.AnswerNextMessageBox(IDYES);
        answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        Command(ID_TEXT_OUTPUT);
    }
    const auto bytes = ReadNativeFile(native);
    const std::string text(bytes.begin(), bytes.end());
    const std::string first = Sj("異形棒鋼") + ",SD295A D13,1250.500000,kg,98.000000,122549.000000,\r\n";
    EXPECT_EQ(first, text.substr(0, first.size()));
    EXPECT_EQ(5u, static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
}

TEST_F(PartsDialogCommandsTest, TheFixedRateCommandRunsTheFixedRateDialog)
{
    Click(colPrice, 0);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(colPrice, 0, colPrice, 1));
    ASSERT_EQ(1, Enabled(ID_RATE_CHANGE));
    CDialogAnswerer answerer;
    bool bShown = false;
    answerer.AnswerDialog(IDD_RATE_CALC, [&](CDialog& dlg) {
        bShown = true;
        TypeDlgItemText(dlg, IDC_RATE_FORMULA, "*2");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_RATE_CHANGE);
    EXPECT_TRUE(bShown);
    EXPECT_EQ("196.000000", Cell(0, colPrice));
    EXPECT_EQ("29600.000000", Cell(1, colPrice));
    EXPECT_EQ("1650.000000", Cell(2, colPrice));
}

TEST_F(PartsDialogCommandsTest, TheUserZoomComesFromTheZoomDialogAndShowsInTheZoomBox)
{
    ASSERT_EQ(1, Enabled(ID_ZOOM_USER));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
        TypeDlgItemText(dlg, IDC_ZOOM_PERCENT, "120");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_ZOOM_USER);
    EXPECT_EQ(120, m_pDoc->m_nZoom);
    EXPECT_EQ(120, m_pView->GetMetrics().nZoom);
    // 20 x 10 pixels at 100 % for the name column.
    EXPECT_EQ(240, m_pView->GetColumnWidth(0));
    auto* pFrame = dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd);
    ASSERT_NE(nullptr, pFrame);
    CComboBox& box = pFrame->GetZoomBox();
    ASSERT_GT(box.GetCount(), 0);
    CString strLast;
    box.GetLBText(box.GetCount() - 1, strLast);
    EXPECT_EQ("120%", strLast.ToUtf8());
    EXPECT_EQ(box.GetCount() - 1, box.GetCurSel());
}

TEST_F(PartsDialogCommandsTest, TheMenusFixedZoomStepsShowInTheZoomBox)
{
    auto* pFrame = dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd);
    ASSERT_NE(nullptr, pFrame);
    const CComboBox& box = pFrame->GetZoomBox();
    m_pView->SetFocus();
    Pump();
    const std::pair<UINT, int> steps[] = {{ID_ZOOM_200, 200}, {ID_ZOOM_25, 25}, {ID_ZOOM_150, 150},
                                          {ID_ZOOM_50, 50},   {ID_ZOOM_75, 75}, {ID_ZOOM_100, 100}};
    for (const auto& [nID, nZoom] : steps) {
        // As the menu sends it: to the main frame, which routes it to the active grid.
        pFrame->SendMessage(WM_COMMAND, nID, 0);
        Pump();
        EXPECT_EQ(nZoom, m_pView->GetMetrics().nZoom);
        CString strShown;
        ASSERT_GE(box.GetCurSel(), 0) << nZoom;
        box.GetLBText(box.GetCurSel(), strShown);
        EXPECT_EQ(std::to_string(nZoom) + "%", strShown.ToUtf8());
    }
}

TEST_F(PartsDialogCommandsTest, TheUnitListPicksAUnitForTheCellAndClosesWithIt)
{
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    ASSERT_NE(nullptr, pApp);
    ASSERT_GT(pApp->m_unitFile.GetCount(), 1);
    Click(colUnit, 0);
    EXPECT_EQ(1, Enabled(ID_UNIT));
    Command(ID_UNIT);
    auto* pPick = dynamic_cast<CUnitPickDialog*>(m_pView->GetUnitPick());
    ASSERT_NE(nullptr, pPick);
    EXPECT_TRUE(pPick->IsWindowVisible());
    EXPECT_EQ(0, Enabled(ID_UNIT)) << "one list at a time";
    // A unit other than the cell's own goes into the cell; the list closes and the cursor
    // moves on as after an input.
    const std::string before = Cell(0, colUnit);
    int nItem = 0;
    if (pPick->List().GetItemText(0, 0).ToUtf8() == before)
        nItem = 1;
    pPick->List().SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    const std::string chosen = pPick->List().GetItemText(nItem, 0).ToUtf8();
    ClickDlgButton(*pPick, IDOK);
    EXPECT_EQ(nullptr, m_pView->GetUnitPick());
    EXPECT_EQ(chosen, Cell(0, colUnit));
    EXPECT_NE(before, chosen);
    EXPECT_TRUE(m_pView->GetDocument()->IsModified());
}

TEST_F(PartsDialogCommandsTest, CsvInputGoesThroughTheMappingDialogAndInsertsAtTheCurrentRow)
{
    // 28 fields in the first line: "AA" names the 27th. A quoted comma stays in its field,
    // blanks around a field go, a later line with fewer fields leaves the rest empty.
    std::string first = Sj("鉄筋") + ",\"b,c\",  12.5  ";
    for (int i = 3; i < 28; ++i)
        first += "," + std::to_string(i);
    const std::string text = first + "\r\n" + Sj("番線") + "\r\n";
    const std::string native = m_dir.NativeFile("WORK/IN.CSV");
    WriteNativeFile(native, std::vector<uint8_t>(text.begin(), text.end()));
    Click(colName, 2);
    std::vector<std::string> before;
    for (int c = 0; c < m_pView->GetColumnCount(); ++c)
        before.push_back(Cell(2, c));
    const int nRowsBefore = m_pDoc->GetRowsInUse();

    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(SystemPathFromNative(native));
    CString strTitle;
    std::vector<std::string> rows;
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [&](CDialog& dlg) {
        dlg.GetWindowText(strTitle);
        for (int r = 0; r < m_pView->GetColumnCount(); ++r)
            rows.push_back(ListText(dlg, IDC_IMPORT_FORMAT_LIST, r, 1).ToUtf8());
        for (int nCol : {colName, colSpec, colQty, colPrice, colNote})
            DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nCol);
        ClickDlgButton(dlg, IDOK);
    });
    // The source list: "(なし)", then one row per field of the first line.
    std::vector<int> listRows;
    for (int nSource : {0, 1, 2, 2, 26}) {
        answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [&listRows, nSource](CDialog& dlg) {
            auto* pList = dynamic_cast<CListCtrl*>(dlg.GetDlgItem(IDC_IMPORT_ITEM_LIST));
            listRows.push_back(pList != nullptr ? pList->GetItemCount() : -1);
            DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nSource + 1);
        });
    }
    Command(ID_TEXT_INPUT);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ("ﾃｷｽﾄ入力", strTitle.ToUtf8());
    EXPECT_EQ((std::vector<std::string>{"部材名", "規格", "数量", "単位", "単価", "金額", "備考"}), rows);
    EXPECT_EQ(std::vector<int>(5, 29), listRows);

    EXPECT_EQ(nRowsBefore + 2, m_pDoc->GetRowsInUse());
    EXPECT_EQ("鉄筋", Cell(2, colName));
    EXPECT_EQ("b,c", Cell(2, colSpec));
    EXPECT_DOUBLE_EQ(12.5, std::atof(Cell(2, colQty).c_str()));
    // The price column keeps whole yen: its rounding rule applies on the way in.
    EXPECT_DOUBLE_EQ(13, std::atof(Cell(2, colPrice).c_str()));
    EXPECT_EQ("26", Cell(2, colNote));
    EXPECT_EQ("", Cell(2, colUnit));
    // Imported rows are calculated: 12.5 at 13 yen, the amount cut to whole yen.
    EXPECT_EQ("162.000000", Cell(2, colAmount));
    EXPECT_EQ("番線", Cell(3, colName));
    EXPECT_EQ("", Cell(3, colSpec));
    EXPECT_EQ("", Cell(3, colNote));
    // The row that was current moved down by the two lines.
    for (int c = 0; c < m_pView->GetColumnCount(); ++c)
        EXPECT_EQ(before[static_cast<size_t>(c)], Cell(4, c)) << c;
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PartsDialogCommandsTest, CsvInputCancelledInTheMappingDialogChangesNothing)
{
    const std::string text = "a,b\r\n";
    const std::string native = m_dir.NativeFile("WORK/IN.CSV");
    WriteNativeFile(native, std::vector<uint8_t>(text.begin(), text.end()));
    const auto cells = AllCells();
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(SystemPathFromNative(native));
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, colName);
        PressDlgKey(dlg, VK_ESCAPE);
    });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 1); });
    Command(ID_TEXT_INPUT);
    EXPECT_EQ((std::vector<UINT>{IDD_IMPORT_FORMAT, IDD_IMPORT_ITEM_LIST}), answerer.DialogIds());
    EXPECT_EQ(cells, AllCells());
    EXPECT_FALSE(m_pDoc->IsModified());
}

// The parts list reads a CSV's encoding as the estimate does: UTF-8 whose bytes are also
// Shift-JIS reads as UTF-8, a Shift-JIS file with a byte neither encoding has is refused
// with its line and changes nothing.
TEST_F(PartsDialogCommandsTest, CsvInputReadsUtf8FirstAndRefusesAFileInNeitherEncodingAtItsLine)
{
    const std::string native = m_dir.NativeFile("WORK/ENC.CSV");
    const auto readCsv = [&](const std::string& text) {
        WriteNativeFile(native, std::vector<uint8_t>(text.begin(), text.end()));
        Click(colName, 2);
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(SystemPathFromNative(native));
        AnswerCsvFieldsInOrder(answerer, {colName, colUnit});
        Command(ID_TEXT_INPUT);
        return MessageTextsUtf8(answerer);
    };
    const auto cells = AllCells();
    const std::string sjis = Sj("鉄筋,本\r\n型枠,m2\r\n単価") + "\xFF" + Sj(",式\r\n");
    EXPECT_EQ(readCsv(sjis), std::vector<std::string>{"CSVﾌｧｲﾙの3行目が読めません。Shift-JIS の文字としても "
                                                      "UTF-8 の文字としても正しくないﾊﾞｲﾄがあります。"});
    EXPECT_EQ(cells, AllCells());
    EXPECT_FALSE(m_pDoc->IsModified());

    EXPECT_TRUE(readCsv("単価,台\r\nケーブル,台\r\n照明器具,台\r\n型枠,台\r\n").empty());
    EXPECT_EQ("単価", Cell(2, colName));
    EXPECT_EQ("ケーブル", Cell(3, colName));
    EXPECT_EQ("照明器具", Cell(4, colName));
    EXPECT_EQ("型枠", Cell(5, colName));
    EXPECT_EQ("台", Cell(5, colUnit));
}

namespace {

// A list made with a form of three items in another order: 単価, 部材名, 数量.
std::vector<uint8_t> OtherFormList()
{
    const std::vector<PartItem> items = {
        {"単価", "数値", "10", "###,###", "", "", "", "", "", ""},
        {"部材名", "文字", "20", "", "", "", "", "", "", ""},
        {"数量", "数値", "8", "#,###.##", "", "", "", "", "", ""},
    };
    PartsFileBuilder b;
    b.Magic().Word(100).Text("OTHER.MBK").Form(items);
    b.Word(2).Word(3);
    for (const char* cell : {"500.000000", "鉄筋", "2.000000", "60.000000", "番線", "10.000000"})
        b.Text(cell);
    b.Word(0);
    return b.Bytes();
}

} // namespace

TEST_F(PartsDialogCommandsTest, AnotherPartsFileIsMappedThroughTheMappingDialogByItsOwnForm)
{
    const std::string native = m_dir.NativeFile("WORK/OTHER.MBD");
    WriteNativeFile(native, OtherFormList());
    Click(colName, 1);
    const std::string oldRow1 = Cell(1, colName);
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(SystemPathFromNative(native));
    CString strTitle;
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [&](CDialog& dlg) {
        dlg.GetWindowText(strTitle);
        for (int nCol : {colName, colQty, colPrice, colNote})
            DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nCol);
        ClickDlgButton(dlg, IDOK);
    });
    // The source list shows the other form's items: 部材名 is its second.
    std::vector<std::string> sourceNames;
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [&](CDialog& dlg) {
        for (int r = 1; r <= 3; ++r)
            sourceNames.push_back(ListText(dlg, IDC_IMPORT_ITEM_LIST, r, 1).ToUtf8());
        DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 2);
    });
    for (int nRow : {3, 1, 2}) {
        answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                              [nRow](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nRow); });
    }
    Command(ID_READ_OTHER_FORM);
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_EQ("他形式ﾌｧｲﾙ読込", strTitle.ToUtf8());
    EXPECT_EQ((std::vector<std::string>{"単価", "部材名", "数量"}), sourceNames);
    // 部材名 <- 部材名, 数量 <- 数量, 単価 <- 単価, 備考 <- 部材名 as well; the others empty.
    EXPECT_EQ("鉄筋", Cell(1, colName));
    EXPECT_EQ("2.000000", Cell(1, colQty));
    EXPECT_EQ("500.000000", Cell(1, colPrice));
    EXPECT_EQ("鉄筋", Cell(1, colNote));
    EXPECT_EQ("", Cell(1, colSpec));
    EXPECT_EQ("1000.000000", Cell(1, colAmount)) << "2 at 500";
    EXPECT_EQ("番線", Cell(2, colName));
    EXPECT_EQ("60.000000", Cell(2, colPrice));
    EXPECT_EQ(oldRow1, Cell(3, colName));
    EXPECT_EQ(7, m_pDoc->GetRowsInUse());
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PartsDialogCommandsTest, AFileThatIsNotAPartsListIsRefusedBeforeTheMappingDialog)
{
    PartsFileBuilder wrong;
    wrong.Magic("This is Parts Management fil").Word(100);
    const std::string native = m_dir.NativeFile("WORK/WRONG.MBD");
    WriteNativeFile(native, wrong.Bytes());
    const auto cells = AllCells();
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(SystemPathFromNative(native));
    Command(ID_READ_OTHER_FORM);
    EXPECT_TRUE(answerer.DialogIds().empty());
    ASSERT_EQ(1u, answerer.MessageBoxTexts().size());
    EXPECT_EQ("部材ﾌｧｲﾙではありません", answerer.MessageBoxTexts()[0].ToUtf8());
    EXPECT_EQ(cells, AllCells());
}

// The parts list's CSV output checks its file's folder as the estimate's does: a file where
// the folder should be is told, with the path, before any column is chosen.
TEST_F(PartsDialogCommandsTest, CsvOutputThatCannotBeWrittenSaysSoBeforeTheColumnChoice)
{
    const std::string blocked = m_dir.NativeFile("WORK/blocked");
    WriteNativeFile(blocked, {'x'});
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(SystemPathFromNative(blocked + "/out.csv"));
    Command(ID_TEXT_OUTPUT);
    EXPECT_TRUE(answerer.DialogIds().empty());
    ASSERT_EQ(1u, answerer.MessageBoxTexts().size());
    EXPECT_EQ(0, answerer.MessageBoxTexts()[0].Find("CSVﾌｧｲﾙに書き込めません。\n"_sj + blocked.c_str() +
                                                    "/out.csv\n"))
        << answerer.MessageBoxTexts()[0].ToUtf8();
}
