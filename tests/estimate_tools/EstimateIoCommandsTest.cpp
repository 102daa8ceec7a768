// The import and export commands of the estimate window run on the sample estimate as a
// user runs them: the file dialogs, the column and mapping dialogs and the message boxes
// answered through the dialog answerer, the files checked byte for byte.
#include "estimate_tools/EstimateIoCommands.h"
#include "app/CColumnSelectDialog.h"
#include "engine/estimate/CNumberRules.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "estimate_tools/EstimateCsv.h"
#include "estimate_tools/EstimateExport.h"
#include "grid/CTabWnd.h"
#include "resources/EstimateCommandIds.h"
#include "resources/EstimateIoIds.h"
#include "resources/ResourceIds.h"
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/estimate_tools/EstimateIoTestSupport.h"
#include "tests/support/DialogCancelWays.h"
#include "tests/support/RealInput.h"

#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/base/Cp932Text.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

std::string ReadText(const std::string& nativePath)
{
    const std::vector<uint8_t> bytes = ReadNativeFile(nativePath);
    return std::string(bytes.begin(), bytes.end());
}

class EstimateIoCommandsTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        RegisterEstimateIoDialogs();
        CShellServices::Get().runEstimateIoCommand = RunEstimateIoCommand;
        ASSERT_NE(OpenSample(), nullptr);
    }

    int UsedRows() const { return EstimateIo::GetUsedRows(*m_pView); }
    int Columns() const { return m_pView->GetEstimationForm().GetCount(); }

    // 他形式ﾌｧｲﾙ読込 with rows and one information value mapped, then with the value alone:
    // only the value mapped changes, and undo and redo give back the bytes before and after.
    void ReadOtherFormAndUndo();
    // Every cell of the edit page, row by row.
    std::vector<std::vector<CString>> Cells(int nFirst, int nCount) const
    {
        std::vector<std::vector<CString>> rows;
        for (int r = nFirst; r < nFirst + nCount; ++r) {
            std::vector<CString> row;
            for (int c = 0; c < Columns(); ++c)
                row.push_back(m_pView->GetCellText(r, c));
            rows.push_back(row);
        }
        return rows;
    }

    // Cells a user would not find in the sample: commas, quotes, negative numbers, blanks.
    void AddAwkwardCells()
    {
        m_pView->SetCellText("A社,B社"_sj, srFirstDetail, scNote, TRUE);
        m_pView->SetCellText("\"特注\"品 3,000本"_sj, srFirstDetail + 1, scSpec, TRUE);
        m_pView->SetCellText("-1250", srFirstDetail + 2, scCostPrice, TRUE);
        m_pView->SetCellText("\"", srFirstDetail + 3, scClass, TRUE);
        m_pView->SetCellText("", srFirstDetail + 3, scSpec, TRUE);
    }

    // Exports the CSV through the command with every column chosen.
    void ExportCsv(const CString& path)
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(path);
        answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        Command(ID_TEXT_OUTPUT);
        EXPECT_EQ(answerer.CountUnanswered(), 0);
        EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    }

    // The table the CSV output must give, built from the grid's cells as the output is
    // described: subject numbers before heading names, line breaks and trailing blanks
    // gone, the unit column of headings empty.
    std::vector<std::vector<CString>> ExpectedCsvTable() const
    {
        std::vector<std::vector<CString>> table;
        const int nUnit = m_pView->GetModel().Engine().Columns().Find("1", "T");
        for (int r = 0; r < UsedRows(); ++r) {
            const int nKind = m_pView->GetRowKind(r);
            const bool bHeading =
                nKind == kindLarge || nKind == kindMiddle || nKind == kindSmall || nKind == kindKind;
            std::vector<CString> row;
            for (int c = 0; c < Columns(); ++c) {
                CString text = m_pView->GetSubjectNoText(r, c) + m_pView->GetCellText(r, c);
                text.Remove('\r');
                text.Remove('\n');
                text.TrimRight(' ');
                row.push_back(bHeading && c == nUnit ? CString() : text);
            }
            table.push_back(row);
        }
        return table;
    }
};

TEST_F(EstimateIoCommandsTest, CsvOutputThenInputGivesBackEveryRowAndCell)
{
    AddAwkwardCells();
    const int nRows = UsedRows();
    const std::vector<std::vector<CString>> expected = ExpectedCsvTable();
    const CString path = m_pFolder->System("WORK") + "\\" + "見積.CSV"_sj;
    ExportCsv(path);
    const std::string bytes = ReadText(m_pFolder->Native("WORK/" + CString("見積.CSV"_sj).ToUtf8()));

    // Lines end in CR LF; plain fields stay plain, awkward ones are quoted as CSV quotes.
    EXPECT_NE(bytes.find("\r\n" + Sj("水盛遣方") + ",,128.500000,m2,350.000000,"), std::string::npos);
    EXPECT_NE(bytes.find(",\"" + Sj("A社,B社") + "\"\r\n"), std::string::npos);
    EXPECT_NE(bytes.find(",\"\"\"" + Sj("特注\"\"品 3,000本") + "\","), std::string::npos);
    EXPECT_NE(bytes.find(",-1250.000000,"), std::string::npos);
    EXPECT_NE(bytes.find(",\"\"\"\","), std::string::npos);
    size_t nLines = 0;
    for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2))
        ++nLines;
    EXPECT_EQ(nLines, static_cast<size_t>(nRows));

    // The text read back field by field is the table.
    const auto lines = EstimateCsv::SplitLines(bytes);
    ASSERT_EQ(lines.size(), expected.size());
    std::vector<CString> fields;
    for (size_t r = 0; r < lines.size(); ++r) {
        EstimateCsv::SplitFields(lines[r], fields);
        std::vector<CString> trimmed;
        for (const CString& f : fields)
            trimmed.push_back(TrimBlanks(f));
        EXPECT_EQ(trimmed, expected[r]) << "line " << r;
    }

    // Input below the last row, every field to its own column ("全選択").
    GoTo(0, nRows);
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(path);
    CString title;
    CString shownFile;
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [&](CDialog& dlg) {
        dlg.GetWindowText(title);
        dlg.GetDlgItemText(IDC_IMPORT_FILE_NAME, shownFile);
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 0);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { ClickDlgButton(dlg, IDC_IMPORT_SELECT_ALL); });
    Command(ID_TEXT_INPUT);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
    EXPECT_EQ(title.ToUtf8(), "ﾃｷｽﾄ入力");
    // The file as the user's file system names it.
    EXPECT_EQ(shownFile.ToUtf8(), m_pFolder->Native("WORK/見積.CSV"));
    ASSERT_EQ(UsedRows(), 2 * nRows);
    const int nAmount = m_pView->GetModel().Engine().Columns().Find("2", "U");
    for (int r = 0; r < nRows; ++r) {
        EXPECT_EQ(m_pView->GetRowKind(nRows + r), kindDetail) << r;
        for (int c = 0; c < Columns(); ++c) {
            // The amount columns of the rows that come back as details are computed again
            // from their own quantity and price; all other cells are as written.
            if ((c == nAmount || c == scCost) && !m_pView->GetCellText(nRows + r, scQty).IsEmpty())
                continue;
            EXPECT_EQ(m_pView->GetCellText(nRows + r, c),
                      expected[static_cast<size_t>(r)][static_cast<size_t>(c)])
                << "row " << r << " column " << c;
        }
    }
    EXPECT_TRUE(IsModified());
}

TEST_F(EstimateIoCommandsTest, SubjectNumbersOfAPassEqualThoseOfEachRow)
{
    // The sample numbers its headings in the name column. A pass in order (as the file and
    // the printed page ask) and one from the last row up (as nothing keeps any order) give
    // the same numbers.
    std::vector<CString> inOrder;
    int nNumbered = 0;
    for (int r = 0; r < UsedRows(); ++r) {
        inOrder.push_back(m_pView->GetSubjectNoText(r, scName));
        EXPECT_EQ(m_pView->GetSubjectNoText(r, scSpec), "");
        nNumbered += inOrder.back().IsEmpty() ? 0 : 1;
    }
    for (int r = UsedRows() - 1; r >= 0; --r)
        EXPECT_EQ(inOrder[static_cast<size_t>(r)], m_pView->GetSubjectNoText(r, scName)) << r;
    EXPECT_GE(nNumbered, 10);
}

TEST_F(EstimateIoCommandsTest, CsvOutputForPythonsCsvModule)
{
    // The CTest test "estimate_csv_python" runs this with MORVEL_CSV_CHECK_DIR set and
    // reads the exported bytes with Python's csv module.
    const char* dir = std::getenv("MORVEL_CSV_CHECK_DIR");
    if (dir == nullptr)
        GTEST_SKIP() << "run by estimate_csv_python";
    AddAwkwardCells();
    const std::vector<std::vector<CString>> expected = ExpectedCsvTable();
    const std::string exportPath = std::string(dir) + "/export.csv";
    ExportCsv(SystemPathFromNative(exportPath));
    // The table as this test expects it, one cell a line in UTF-8 with rows separated by
    // an empty line marker, for the script to compare.
    std::ofstream out(std::string(dir) + "/expected.txt", std::ios::binary);
    for (const auto& row : expected) {
        for (const CString& cell : row)
            out << "C" << cell.ToUtf8() << "\n";
        out << "R\n";
    }
}

TEST_F(EstimateIoCommandsTest, CancelledColumnChoiceLeavesAnExistingFileAsItWas)
{
    const std::string native = m_pFolder->Native("WORK/OLD.CSV");
    WriteNativeFile(native, {'o', 'l', 'd', '\r', '\n'});
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/OLD.CSV"));
    answerer.AnswerNextMessageBox(IDYES); // replace it
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) { PressDlgKey(dlg, VK_ESCAPE); });
    Command(ID_TEXT_OUTPUT);
    EXPECT_EQ(ReadText(native), "old\r\n");

    // The chosen columns only, in column order, an existing file replaced whole.
    answerer.AnswerFileDialog(m_pFolder->System("WORK/OLD.CSV"));
    answerer.AnswerNextMessageBox(IDYES);
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) {
        // Every column offered ticked; all cleared, then two ticked with clicks on their boxes.
        auto& columns = static_cast<CColumnSelectDialog&>(dlg);
        EXPECT_TRUE(columns.m_list.GetCheck(scNote));
        ClickDlgButton(dlg, IDC_COLUMN_DESELECT_ALL);
        EXPECT_FALSE(columns.m_list.GetCheck(scNote));
        for (int nRow : {scUnit, scName}) {
            const LPARAM point = MAKELPARAM(5, nRow * CCheckMarkListBox::ITEM_HEIGHT + 5);
            columns.m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
            columns.m_list.SendMessage(WM_LBUTTONUP, 0, point);
        }
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_TEXT_OUTPUT);
    const std::string text = ReadText(native);
    const auto lines = EstimateCsv::SplitLines(text);
    ASSERT_EQ(static_cast<int>(lines.size()), UsedRows());
    EXPECT_EQ(lines[srFirstDetail], Sj("水盛遣方,m2"));
    // Headings: the numbering in front of the name, the unit column empty.
    EXPECT_EQ(
        std::string(lines[srLarge]),
        (m_pView->GetSubjectNoText(srLarge, scName) + m_pView->GetCellText(srLarge, scName) + ",").str());
}

// The column choice has its ｷｬﾝｾﾙ beside OK; it, Esc and the close box write nothing.
TEST_F(EstimateIoCommandsTest, TheColumnChoiceIsCancelledByItsCancelButtonEscOrTheCloseBox)
{
    const std::vector<std::function<void(CDialog&)>> ways = WaysToCancelADialog();
    for (size_t i = 0; i < ways.size(); ++i) {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/NONE.CSV"));
        answerer.AnswerDialog(IDD_COLUMN_SELECT, ways[i]);
        Command(ID_TEXT_OUTPUT);
        ASSERT_EQ(answerer.DialogIds(), std::vector<UINT>{IDD_COLUMN_SELECT});
        EXPECT_EQ(answerer.CountUnanswered(), 0) << i << ": the dialog ended by itself";
        EXPECT_FALSE(std::filesystem::exists(m_pFolder->Native("WORK/NONE.CSV"))) << i;
    }
}

// The estimate's own file picked by mistake for the CSV output is asked about before it is
// replaced: answered No, the estimate stays whole and no column choice follows.
TEST_F(EstimateIoCommandsTest, CsvOutputOverAnExistingFileAsksFirst)
{
    const CString path = m_pDoc->GetPathName();
    const std::string native = NativePath(path);
    const std::string before = ReadText(native);
    ASSERT_FALSE(before.empty());
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(path);
    answerer.AnswerNextMessageBox(IDNO);
    Command(ID_TEXT_OUTPUT);
    EXPECT_EQ(ReadText(native), before);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_NE(answerer.MessageBoxTexts()[0].Find("上書きしますか"_sj), -1);
    EXPECT_TRUE(answerer.DialogIds().empty());
}

// A CSV file whose folder cannot take it (a file stands where the folder should be; a
// read-only folder would not do for the superuser): the output says that the file cannot be
// written, with its path, before any column is chosen. A folder that goes away while the
// columns are chosen is told the same way after OK.
TEST_F(EstimateIoCommandsTest, CsvOutputThatCannotBeWrittenSaysSoWithItsPath)
{
    const std::string blocked = m_pFolder->Native("WORK/blocked");
    WriteNativeFile(blocked, {'x'});
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/blocked/OUT.CSV"));
        Command(ID_TEXT_OUTPUT);
        EXPECT_TRUE(answerer.DialogIds().empty()) << "no column choice for a file that cannot be made";
        ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
        EXPECT_EQ(answerer.MessageBoxTexts()[0].Find("CSVﾌｧｲﾙに書き込めません。\n"_sj + blocked.c_str() +
                                                     "/OUT.CSV\n"),
                  0)
            << answerer.MessageBoxTexts()[0].ToUtf8();
    }
    const std::string folder = m_pFolder->Native("WORK/gone");
    std::filesystem::create_directory(folder);
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/gone/OUT.CSV"));
    answerer.AnswerDialog(IDD_COLUMN_SELECT, [&](CDialog& dlg) {
        std::filesystem::remove(folder);
        WriteNativeFile(folder, {'x'});
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_TEXT_OUTPUT);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(
        answerer.MessageBoxTexts()[0].Find("CSVﾌｧｲﾙに書き込めません。\n"_sj + folder.c_str() + "/OUT.CSV\n"),
        0)
        << answerer.MessageBoxTexts()[0].ToUtf8();

    // The outside packages' exports say the same of their files, before any work.
    for (const auto& [nID, name] : {std::pair{ID_EXPORT_M2K, "M2K"}, std::pair{ID_EXPORT_M2N, "M2N"}}) {
        CDialogAnswerer exportAnswerer;
        exportAnswerer.AnswerFileDialog(m_pFolder->System(("WORK/blocked/OUT." + std::string(name)).c_str()));
        Command(nID);
        ASSERT_EQ(exportAnswerer.MessageBoxTexts().size(), 1u) << name;
        EXPECT_EQ(exportAnswerer.MessageBoxTexts()[0].Find(CString(name) + "ﾌｧｲﾙに書き込めません。\n"_sj +
                                                           blocked.c_str() + "/OUT." + name + "\n"),
                  0)
            << exportAnswerer.MessageBoxTexts()[0].ToUtf8();
    }
}

// The dialogs start where a file was last read or written: a folder where a write failed
// is not remembered (a system folder there would be where every later dialog starts), one
// where it succeeded is. Fails while the folder is remembered at the dialog's OK.
TEST_F(EstimateIoCommandsTest, AFolderIsRememberedOnlyOnceAFileWasWrittenThere)
{
    WriteNativeFile(m_pFolder->Native("WORK/blocked"), {'x'});
    std::filesystem::create_directory(m_pFolder->Native("WORK/out"));
    // The folder the next file dialog starts in, the dialog cancelled.
    const auto startOf = [&](UINT nID) {
        CString start;
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog([&](CFileDialog& dlg, CString&) {
            start = dlg.GetStartFolder();
            return FALSE;
        });
        Command(nID);
        return start.ToUtf8();
    };
    const std::string before = startOf(ID_TEXT_OUTPUT);
    ASSERT_FALSE(before.empty());
    for (const auto& [nID, name] : {std::pair{ID_TEXT_OUTPUT, "CSV"}, std::pair{ID_EXPORT_M2K, "M2K"}}) {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System(("WORK/blocked/OUT." + std::string(name)).c_str()));
        answerer.SetDefaultMessageBoxAnswer(IDOK);
        Command(nID);
        EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u) << name;
        EXPECT_EQ(startOf(ID_TEXT_INPUT), before) << name << " into a folder it could not write";
    }
    // A document saved where it cannot be written leaves the document dialog where it was.
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/blocked/COPY.MMD"));
        answerer.SetDefaultMessageBoxAnswer(IDOK);
        Command(ID_FILE_SAVE_AS);
        EXPECT_FALSE(answerer.MessageBoxTexts().empty());
        EXPECT_EQ(startOf(ID_FILE_OPEN), before);
    }
    {
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/out/OUT.CSV"));
        answerer.AnswerDialog(IDD_COLUMN_SELECT, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
        Command(ID_TEXT_OUTPUT);
        EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    }
    EXPECT_NE(startOf(ID_TEXT_INPUT).find("out"), std::string::npos) << "after a file was written there";
}

TEST_F(EstimateIoCommandsTest, CsvInputSplitsQuotedFieldsAndTrimsBlanks)
{
    const std::string native = m_pFolder->Native("WORK/IN.CSV");
    const std::string text = "x,\"1,000\", y \r\n\"a\"\"b\",,-5\r\n";
    WriteNativeFile(native, std::vector<uint8_t>(text.begin(), text.end()));
    EXPECT_EQ(EstimateCsv::CountFields("x,\"1,000\", y "), 3);
    EXPECT_EQ(EstimateCsv::GetCsvField("x,\"1,000\", y ", 1), "1,000");
    EXPECT_EQ(EstimateCsv::GetCsvField("x,\"1,000\", y ", 2), " y");
    EXPECT_EQ(EstimateCsv::GetCsvField("x", 4), "");

    const int nRow = 10;
    const std::vector<std::vector<CString>> below = Cells(nRow, 3);
    GoTo(0, nRow);
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/IN.CSV"));
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, scName);
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, scQty);
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, scNote);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 1); });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 2); });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 3); });
    Command(ID_TEXT_INPUT);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
    EXPECT_EQ(Cell(nRow, scName), "x");
    EXPECT_EQ(Value(nRow, scQty), 1000); // rounded and formatted by the column
    EXPECT_EQ(Cell(nRow, scNote), "y");
    EXPECT_EQ(Cell(nRow + 1, scName), "a\"b");
    EXPECT_EQ(Cell(nRow + 1, scQty), "");
    EXPECT_EQ(Value(nRow + 1, scNote), -5);
    EXPECT_EQ(m_pView->GetRowKind(nRow + 1), kindDetail);
    // The rows that were there move down by two.
    EXPECT_EQ(Cells(nRow + 2, 3), below);
}

// A CSV file saved as UTF-8, with the byte-order mark or without, reads as the same text a
// Shift-JIS file gives; characters code page 932 lacks are said and become "〓" when the user
// goes on; a UTF-8 file with a byte that is no UTF-8 is refused at its line.
TEST_F(EstimateIoCommandsTest, CsvSavedAsUtf8ReadsAsTheSameTextAndWhatCannotBeReadIsRefusedAtItsLine)
{
    const auto readCsv = [this](const std::string& bytes, int nRow,
                                std::vector<std::pair<CString, int>> answers) {
        WriteNativeFile(m_pFolder->Native("WORK/U8.CSV"), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        GoTo(0, nRow);
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/U8.CSV"));
        AnswerCsvFieldsInOrder(answerer, {scName, scQty, scPrice});
        for (const auto& [text, nResult] : answers)
            answerer.AnswerMessageBox(text, nResult);
        Command(ID_TEXT_INPUT);
        return answerer.MessageBoxTexts();
    };
    const std::string rows = "鉄筋,１２５．５,\"15,500\"\r\n型枠,48,１５５００\r\n";
    const int nRow = 10;
    for (const std::string& bytes : {"\xEF\xBB\xBF" + rows, rows}) {
        const int nRows = UsedRows();
        EXPECT_TRUE(readCsv(bytes, nRow, {}).empty());
        ASSERT_LT(nRows, UsedRows()); // with the rows the page alignment adds
        EXPECT_EQ(Utf8Cell(nRow, scName), "鉄筋");
        EXPECT_EQ(Value(nRow, scQty), 125.5);
        EXPECT_EQ(Value(nRow, scPrice), 15500);
        EXPECT_EQ(Value(nRow, scAmount), 1945250);
        EXPECT_EQ(Utf8Cell(nRow + 1, scName), "型枠");
        EXPECT_EQ(Value(nRow + 1, scAmount), 48 * 15500);
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(nRows, UsedRows());
    }

    // A character code page 932 lacks: said with its line; Cancel reads nothing, OK reads it
    // as "〓".
    const CString replaced =
        "UTF-8 のCSVﾌｧｲﾙの2行目ほかにShift-JISにない文字が2個あります。\n「〓」にして読み込みますか？"_sj;
    const std::string lacking = "鉄筋,1,100\r\n\xF0\x9F\x98\x80"
                                "caf\xC3\xA9,2,100\r\n";
    const std::vector<BYTE> before = StoredState();
    EXPECT_EQ(std::vector<CString>{replaced}, readCsv(lacking, nRow, {{replaced, IDCANCEL}}));
    EXPECT_EQ(before, StoredState());
    EXPECT_EQ(std::vector<CString>{replaced}, readCsv(lacking, nRow, {{replaced, IDOK}}));
    EXPECT_EQ(Utf8Cell(nRow + 1, scName), "〓caf〓");
    EXPECT_EQ(Value(nRow + 1, scAmount), 200);
    Command(ID_EDIT_UNDO);

    // After the mark, a byte on the third line that is no UTF-8: the file is refused there.
    const std::vector<BYTE> kept = StoredState();
    const std::vector<CString> boxes = readCsv("\xEF\xBB\xBF" + rows + "\xE9\x89,3,100\r\n", nRow, {});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(boxes[0].ToUtf8(), "CSVﾌｧｲﾙの3行目が読めません。UTF-8 の文字として正しくないﾊﾞｲﾄがあります。");
    EXPECT_EQ(kept, StoredState());
}

// UTF-8 is tried first, as Shift-JIS text is almost never UTF-8 while short UTF-8 text often
// is Shift-JIS too; a file that is neither, or is UTF-16 or UTF-32, is refused with the line
// (or the encoding) and leaves the estimate as it was.
TEST_F(EstimateIoCommandsTest, CsvEncodingIsUtf8FirstThenShiftJisAndAnyOtherFileIsRefusedSayingWhere)
{
    const auto readCsv = [this](const std::string& bytes) {
        WriteNativeFile(m_pFolder->Native("WORK/ENC.CSV"), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        GoTo(0, 10);
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/ENC.CSV"));
        AnswerCsvFieldsInOrder(answerer, {scName, scQty, scUnit});
        Command(ID_TEXT_INPUT);
        return MessageTextsUtf8(answerer);
    };

    // UTF-8 without the mark whose bytes are well-formed Shift-JIS as well.
    const std::string names[] = {"単価", "ケーブル", "照明器具", "型枠"};
    std::string utf8;
    for (int i = 0; i < 4; ++i)
        utf8 += names[i] + "," + std::to_string(i + 1) + ",台\r\n";
    ASSERT_EQ(FindMalformedCp932(utf8), utf8.size());
    EXPECT_TRUE(readCsv(utf8).empty());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Utf8Cell(10 + i, scName), names[i]);
        EXPECT_EQ(Utf8Cell(10 + i, scUnit), "台");
        EXPECT_EQ(Value(10 + i, scQty), i + 1);
    }
    Command(ID_EDIT_UNDO);

    const std::vector<BYTE> kept = StoredState();
    const std::string neither =
        "行目が読めません。Shift-JIS の文字としても UTF-8 の文字としても正しくないﾊﾞｲﾄがあります。";
    // Shift-JIS with one byte 0xFF in its third line.
    const std::string sjis = Sj("鉄筋,1,本\r\n型枠,2,m2\r\n単価,") + "\xFF" + Sj("１５５００,式\r\n");
    // UTF-8 without the mark, with a Latin-1 "café" in its third line; one cut inside its
    // last character.
    const std::string latin1 = "鉄筋,1,本\r\n型枠,2,m2\r\ncaf\xE9,3,m\r\n照明,4,台\r\n";
    const std::string cut = utf8.substr(0, utf8.size() - 2 - 2);
    const std::vector<std::pair<std::string, std::string>> refused = {
        {sjis, "CSVﾌｧｲﾙの3" + neither},
        {latin1, "CSVﾌｧｲﾙの3" + neither},
        {cut, "CSVﾌｧｲﾙの4" + neither},
        {std::string("\xFF\xFE\x61\0,\0", 6), ""},
        {std::string("\xFE\xFF\0a", 4), ""},
        {std::string("\xFF\xFE\0\0a\0\0\0", 8), ""},
        {std::string("\0\0\xFE\xFF\0\0\0a", 8), ""},
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        const std::string expected =
            !refused[i].second.empty()
                ? refused[i].second
                : std::string("CSVﾌｧｲﾙが読めません。") + (i < 5 ? "UTF-16" : "UTF-32") +
                      " で保存されています。Shift-JIS か UTF-8 で保存したﾌｧｲﾙを読み込んでください。";
        EXPECT_EQ(readCsv(refused[i].first), std::vector<std::string>{expected}) << i;
        EXPECT_EQ(kept, StoredState()) << i;
    }
}

TEST_F(EstimateIoCommandsTest, CsvThatCannotBeReadSaysSoAndChangesNothing)
{
    const int nRows = UsedRows();
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/NONE.CSV"));
    Command(ID_TEXT_INPUT);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0].ToUtf8(), "CSVﾌｧｲﾙはないか、壊れています。");
    EXPECT_EQ(UsedRows(), nRows);
    EXPECT_FALSE(IsModified());
}

// ---- exports ------------------------------------------------------------------------------

// The export of the sample written out from the format's description: markers by kind,
// quoted texts, numbers by picture without grouping, empty numbers as 0.
std::string ExpectedExport(const CMorvelEMView& view, const std::vector<int>& columnAt)
{
    const CEstimationFormFile& form = view.GetEstimationForm();
    std::string text = "@M\r\n\"" + EstimateIo::GetInformationValue(view, 0).str() + "\"\r\n@H\r\n";
    for (size_t p = 0; p < columnAt.size(); ++p) {
        if (p > 0)
            text += ",";
        if (columnAt[p] >= 0)
            text += "\"" + form.GetItem(columnAt[p], 0).str() + "\"";
    }
    text += "\r\n";
    const std::map<int, std::string> markers = {{1, "@2"},   {2, "@3"},   {3, "@4"},   {6, "@N"},
                                                {7, "@1"},   {11, "@G2"}, {12, "@G3"}, {13, "@G4"},
                                                {15, "@G0"}, {17, "@G1"}};
    for (int r = 0; r < EstimateIo::GetUsedRows(view); ++r) {
        bool bEmpty = true;
        for (int c = 0; c < form.GetCount(); ++c)
            bEmpty = bEmpty && view.GetCellText(r, c).IsEmpty();
        if (bEmpty)
            continue;
        const int nKind = view.GetRowKind(r);
        auto it = markers.find(nKind);
        if (it != markers.end())
            text += it->second + "\r\n";
        else if (nKind != kindDetail && nKind != kindFree && nKind != kindClassify)
            continue; // (the sample holds no other kind that is written: 31 is skipped)
        for (size_t p = 0; p < columnAt.size(); ++p) {
            if (p > 0)
                text += ",";
            const int c = columnAt[p];
            if (c < 0)
                continue;
            const CString cell = view.GetCellText(r, c);
            const CString attribute = form.GetItem(c, 1);
            if (attribute == "数値"_sj || attribute.Find("計"_sj) >= 0) {
                if (cell.IsEmpty()) {
                    text += "0";
                } else {
                    const CString picture = form.GetItem(c, 3);
                    const int nPoint = picture.Find('.');
                    const int nDecimals = nPoint < 0 ? 0 : picture.GetLength() - nPoint - 1;
                    char buffer[64];
                    std::snprintf(buffer, sizeof buffer, "%.*f", nDecimals, std::atof(cell));
                    text += buffer;
                }
            } else {
                text += "\"" + cell.str() + "\"";
            }
        }
        text += "\r\n";
    }
    return text;
}

TEST_F(EstimateIoCommandsTest, ExportsWithoutConverterFileUseLetterNamesAndMatchTheDescription)
{
    // No "m2k.inf" beside the program: the letters A..J name the positions, and the
    // columns go where their "C" code is (B, C, D, E, H, J, G, I; "" and M go nowhere).
    ASSERT_FALSE(FileExists(EstimateIo::GetProgramFolder() + "m2k.inf"));
    const CString path = m_pFolder->System("WORK/OUT.M2K");
    CDialogAnswerer answerer;
    CString filter;
    answerer.AnswerFileDialog([&](CFileDialog& dlg, CString& chosen) {
        filter = dlg.m_ofn.lpstrFilter != nullptr ? CString(dlg.m_ofn.lpstrFilter) : CString();
        chosen = path;
        return TRUE;
    });
    Command(ID_EXPORT_M2K);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0].ToUtf8(),
              "ｺﾝﾊﾞｰﾄ情報M2K.INF)がないか壊れています。\n見積ファイルの全ての項目が出力");
    const std::vector<int> columnAt = {-1, scName,      scSpec,  scQty,  scUnit,
                                       -1, scCostPrice, scPrice, scCost, scAmount};
    const std::string expected = ExpectedExport(*m_pView, columnAt);
    EXPECT_EQ(ReadText(m_pFolder->Native("WORK/OUT.M2K")), expected);
    EXPECT_NE(expected.find("@G0\r\n,\"" + Sj("【 総  合  計 】")), std::string::npos);

    // The twin export writes the same bytes.
    answerer.AnswerFileDialog(m_pFolder->System("WORK/OUT.M2N"));
    Command(ID_EXPORT_M2N);
    EXPECT_EQ(ReadText(m_pFolder->Native("WORK/OUT.M2N")), expected);
}

// An output only reads the estimate: closing it afterwards asks nothing, and the sums kept
// for the next edit stay.
TEST_F(EstimateIoCommandsTest, OutputsLeaveTheEstimateUnmodifiedWithItsSumsKept)
{
    ASSERT_FALSE(m_pDoc->IsModified());
    ASSERT_TRUE(m_pView->GetModel().Engine().AreTotalsKept());
    const std::string total = Utf8Cell(srMiddleTotal, scAmount);
    ExportCsv(m_pFolder->System("WORK/OUT.CSV"));
    EXPECT_FALSE(m_pDoc->IsModified()) << "CSV";
    CDialogAnswerer answerer;
    for (const auto& [nID, name] : {std::pair{ID_EXPORT_M2K, "M2K"}, std::pair{ID_EXPORT_M2N, "M2N"}}) {
        answerer.AnswerFileDialog(m_pFolder->System((std::string("WORK/OUT.") + name).c_str()));
        Command(nID);
        ASSERT_TRUE(std::filesystem::exists(m_pFolder->Native(std::string("WORK/OUT.") + name)));
        EXPECT_FALSE(m_pDoc->IsModified()) << name;
        EXPECT_TRUE(m_pView->GetModel().Engine().AreTotalsKept()) << name;
    }
    EXPECT_EQ(Utf8Cell(srMiddleTotal, scAmount), total);
}

TEST_F(EstimateIoCommandsTest, ExportWithConverterItemsPlacesColumnsByTheirCode)
{
    // m2k.inf: "A,B,C,D,E,F,G,H,I,J,K,L,M" with blanks and lower case; runs of commas are
    // one separator.
    const std::vector<CString> items =
        EstimateExport::ParseConverterItems(" a ,b,,c,D,e,f,G,h , i,J,k,l,m\r\nX,Y\r\n");
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items[0], "A");
    EXPECT_EQ(items[8], "I");
    const std::string text =
        EstimateExport::WriteExport(m_pView->GetModel(), m_pView->GetEstimationForm(), items);
    const std::vector<int> columnAt = {-1,      scName, scSpec,   scQty, scUnit, -1,    scCostPrice,
                                       scPrice, scCost, scAmount, -1,    -1,     scNote};
    EXPECT_EQ(text, ExpectedExport(*m_pView, columnAt));
}

// A small estimate written by hand, for the lines the description gives.
TEST_F(EstimateIoCommandsTest, ExportLinesOfASmallEstimateByteForByte)
{
    CMorvelEMView& v = *m_pView;
    // Three converter items; two columns match the first two (one code in lower case with
    // a trailing blank).
    CEstimationFormFile& form = const_cast<CEstimationFormFile&>(v.GetEstimationForm());
    for (int c = 0; c < form.GetCount(); ++c)
        form.SetItem(c, CEstimationFormFile::colC, "");
    form.SetItem(scName, CEstimationFormFile::colC, "p ");
    form.SetItem(scQty, CEstimationFormFile::colC, "Q");
    const std::vector<CString> items = {"P", "Q", "R"};
    while (EstimateIo::GetUsedRows(v) > 0)
        v.DeleteRow(0);
    EstimateIo::SetInformationValue(v, 0, "Title");
    v.SetRowKind(kindLarge, 0);
    v.SetCellText("H", 0, scName, TRUE);
    v.SetRowKind(kindDetail, 1);
    v.SetCellText("D \"x\"", 1, scName, TRUE);
    v.SetCellText("1234.5", 1, scQty, TRUE);
    v.SetRowKind(NonCalculatedKindOf(kindDetail), 2);
    v.SetCellText("N", 2, scName, TRUE);
    v.SetRowKind(kindClassify, 3);
    v.SetCellText("C", 3, scName, TRUE);
    v.SetCellText("abc", 3, scQty, TRUE);
    v.SetRowKind(kindLargeDiscountTotal, 4);
    v.SetCellText("S", 4, scName, TRUE);
    v.SetRowKind(kindDetail, 5); // all cells empty: nothing at all
    v.SetCellText("", 5, scName, TRUE);
    v.SetRowKind(NonCalculatedKindOf(kindLarge), 6);
    v.SetCellText("L", 6, scName, TRUE);
    const std::string expected = "@M\r\n\"Title\"\r\n@H\r\n" + Sj("\"名称\",\"数量\",") +
                                 "\r\n"
                                 "@2\r\n\"H\",0,\r\n"
                                 "\"D \"x\"\",1234.50,\r\n"
                                 "@X\r\n\"N\",0,\r\n"
                                 "\"C\",abc,\r\n"
                                 "@X\r\n@2\r\n\"L\",0,\r\n";
    EXPECT_EQ(EstimateExport::WriteExport(v.GetModel(), v.GetEstimationForm(), items), expected);
    // Without a placed column only the markers are written.
    EXPECT_EQ(EstimateExport::WriteExport(v.GetModel(), v.GetEstimationForm(), {"Z"}),
              "@M\r\n\"Title\"\r\n@H\r\n@2\r\n@X\r\n@X\r\n@2\r\n");
}

// ---- estimates of another form ------------------------------------------------------------

// An estimate file of another form, written from the file format's description: three
// columns (単価, 品名, 数量), two rows, two information values.
ByteBuilder OtherFormFile(bool bDamagedForm = false, int nColumns = 3)
{
    ByteBuilder b;
    b.Str("This is Estimation File").Str("other.MMK");
    b.Str(bDamagedForm ? "This is something else" : "This is estimation form file").Word(3);
    const char* items[3][10] = {{"単価", "数値", "10", "###,###", "", "", "", "", "", ""},
                                {"品名", "文字", "20", "", "", "", "6", "", "", ""},
                                {"数量", "数値", "8", "#.#", "", "", "3", "", "", ""}};
    for (auto& item : items)
        for (const char* text : item)
            b.Str(Sj(text));
    b.Str("other.MJK").Str("This is information form file").Word(2);
    const char* info[2][8] = {{"得意先", "", "", "", "", "", "", ""}, {"工事名", "", "", "", "", "", "", ""}};
    for (auto& item : info)
        for (const char* text : item)
            b.Str(Sj(text));
    b.Word(static_cast<uint16_t>(nColumns)).Word(2);
    for (int i = 0; i < 8; ++i)
        b.Word(static_cast<uint16_t>(i));
    // Row 0: a detail with parameters 7, 8, 9 (stored 1, 3, 2), texts "p1", "p2".
    b.Word(5).Word(7).Word(9).Word(8).Str("p1").Str("p2");
    b.Str("1500.4").Word(0).Str(Sj("鉄筋")).Word(2).Str("12.25").Word(0);
    for (int c = 3; c < nColumns; ++c)
        b.Str("").Word(0);
    // Row 1: a large heading.
    b.Word(1).Word(0).Word(0).Word(0).Str("").Str("");
    b.Str("").Word(0).Str(Sj("躯体")).Word(0).Str("").Word(0);
    for (int c = 3; c < nColumns; ++c)
        b.Str("").Word(0);
    b.Word(2).Str(Sj("山田建設")).Str(Sj("新築工事"));
    b.Word(0);
    return b;
}

TEST_F(EstimateIoCommandsTest, EstimateOfAnotherFormReadsIntoTheCurrentColumns)
{
    WriteNativeFile(m_pFolder->Native("WORK/OTHER.MMD"), OtherFormFile().Bytes());
    const int nRow = 10;
    const std::vector<std::vector<CString>> below = Cells(nRow, 2);
    // The heading that starts the next page.
    const int nPageHead = m_pView->AdjustPageBreak(CMorvelEMView::EPageBreak::findHeading, nRow);
    ASSERT_GT(nPageHead, nRow);
    const CString strPageHead = m_pView->GetCellText(nPageHead, scName);
    GoTo(0, nRow);
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/OTHER.MMD"));
    // Rows: 名称 <- 品名 (B), 数量 <- 数量 (C), 単価 <- 単価 (A).
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, scName);
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, scQty);
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, scPrice);
        ClickDlgButton(dlg, IDOK);
    });
    for (int k : {2, 3, 1})
        answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                              [k](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, k); });
    // Information: item 1 (工事名称) <- 工事名 (B); every other item maps nothing.
    answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
        DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, 1);
        ClickDlgButton(dlg, IDOK);
    });
    answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                          [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 2); });
    Command(ID_READ_OTHER_FORM);
    EXPECT_EQ(answerer.CountUnanswered(), 0);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());

    // The heading still starts a page: the rows before it were filled up to the page end.
    int nHead = nPageHead + 2;
    while (m_pView->GetRowKind(nHead) == kindEmpty && nHead < UsedRows())
        ++nHead;
    EXPECT_EQ(m_pView->GetCellText(nHead, scName), strPageHead);
    EXPECT_EQ(nHead % m_pView->GetPageRows(), 0);
    EXPECT_EQ(m_pView->GetRowKind(nRow), kindDetail);
    EXPECT_EQ(m_pView->GetRowParam1(nRow), 7);
    EXPECT_EQ(m_pView->GetRowParam2(nRow), 8);
    EXPECT_EQ(m_pView->GetRowParam3(nRow), 9);
    EXPECT_EQ(m_pView->GetRowParamText1(nRow), "p1");
    EXPECT_EQ(m_pView->GetRowParamText2(nRow), "p2");
    EXPECT_EQ(Utf8Cell(nRow, scName), "鉄筋");
    // Numbers are rounded and formatted by the current form: quantity F(-3), price F(-1).
    EXPECT_EQ(Value(nRow, scQty), 12.25);
    EXPECT_EQ(Value(nRow, scPrice), 1500);
    EXPECT_EQ(Value(nRow, scAmount), 18375); // recalculated: 12.25 x 1500
    EXPECT_EQ(Cell(nRow, scSpec), "");
    EXPECT_EQ(m_pView->GetRowKind(nRow + 1), kindLarge);
    EXPECT_EQ(Utf8Cell(nRow + 1, scName), "躯体");
    EXPECT_EQ(Cells(nRow + 2, 2), below);
    EXPECT_EQ(EstimateIo::GetInformationValue(*m_pView, 1).ToUtf8(), "新築工事");
    // An item mapped to nothing keeps its value.
    EXPECT_EQ(EstimateIo::GetInformationValue(*m_pView, 0).ToUtf8(), "株式会社 山田商事");
    EXPECT_TRUE(IsModified());
}

// Only the items mapped take the file's values; the others keep the sample's. The values go
// back and come again with the rows: one undo, one redo, each giving the estimate's bytes as
// they were. With the rows' mapping cancelled the values alone are the step.
void EstimateIoCommandsTest::ReadOtherFormAndUndo()
{
    WriteNativeFile(m_pFolder->Native("WORK/OTHER.MMD"), OtherFormFile().Bytes());
    const CEstimateModel& model = m_pView->GetModel();
    std::vector<CString> values;
    for (int i = 0; i < model.GetInformationCount(); ++i)
        values.push_back(model.GetInformation(i));
    ASSERT_GE(std::count_if(values.begin(), values.end(), [](const CString& v) { return !v.IsEmpty(); }), 7);
    auto saved = [this] {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        m_pDoc->Serialize(ar);
        ar.Close();
        return file.GetData();
    };
    for (const bool bRows : {true, false}) {
        SCOPED_TRACE(bRows);
        const std::vector<BYTE> before = saved();
        const int nRows = UsedRows();
        // Item nItem <- the file's item nSource (得意先名 <- 得意先, then 工事名称 <- 工事名).
        const int nItem = bRows ? 0 : 1;
        const int nSource = nItem + 1;
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/OTHER.MMD"));
        if (bRows) {
            answerer.AnswerDialog(IDD_IMPORT_FORMAT, [](CDialog& dlg) {
                DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, scName);
                ClickDlgButton(dlg, IDOK);
            });
            answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST,
                                  [](CDialog& dlg) { DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, 2); });
        } else {
            answerer.EndDialogWith(IDD_IMPORT_FORMAT, IDCANCEL);
        }
        answerer.AnswerDialog(IDD_IMPORT_FORMAT, [nItem](CDialog& dlg) {
            DoubleClickListRow(dlg, IDC_IMPORT_FORMAT_LIST, nItem);
            ClickDlgButton(dlg, IDOK);
        });
        answerer.AnswerDialog(IDD_IMPORT_ITEM_LIST, [nSource](CDialog& dlg) {
            DoubleClickListRow(dlg, IDC_IMPORT_ITEM_LIST, nSource);
        });
        Command(ID_READ_OTHER_FORM);
        EXPECT_EQ(answerer.CountUnanswered(), 0);
        EXPECT_EQ(UsedRows() > nRows, bRows);
        values[static_cast<size_t>(nItem)] = CString::FromUtf8(bRows ? "山田建設" : "新築工事");
        ASSERT_EQ(model.GetInformationCount(), static_cast<int>(values.size()));
        for (int i = 0; i < model.GetInformationCount(); ++i)
            EXPECT_EQ(model.GetInformation(i).ToUtf8(), values[static_cast<size_t>(i)].ToUtf8()) << i;
        const std::vector<BYTE> after = saved();
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(saved(), before);
        Command(ID_EDIT_REDO);
        EXPECT_EQ(saved(), after);
    }
}

TEST_F(EstimateIoCommandsTest, AnEstimateOfAnotherFormChangesOnlyTheMappedValuesAndUndoTakesThemBack)
{
    ReadOtherFormAndUndo();
}

// Level 2, another tax rate than the sample was saved with: the bulk change works every
// figure out, and the undo gives them back as the file held them.
class EstimateIoCommandsAtLevel2 : public EstimateIoCommandsTest {
protected:
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("ReCalcSetting", "Level", "2");
        profile.WriteProfileString("Input Setting", "Tax", "10");
    }
};

TEST_F(EstimateIoCommandsAtLevel2, AnEstimateOfAnotherFormReadAndTakenBackLeavesTheFiguresAsTheyStood)
{
    ReadOtherFormAndUndo();
}

TEST_F(EstimateIoCommandsTest, CancelledRowMappingStillOffersTheInformation)
{
    WriteNativeFile(m_pFolder->Native("WORK/OTHER.MMD"), OtherFormFile().Bytes());
    const int nRows = UsedRows();
    CDialogAnswerer answerer;
    answerer.AnswerFileDialog(m_pFolder->System("WORK/OTHER.MMD"));
    answerer.EndDialogWith(IDD_IMPORT_FORMAT, IDCANCEL);
    answerer.EndDialogWith(IDD_IMPORT_FORMAT, IDCANCEL);
    Command(ID_READ_OTHER_FORM);
    EXPECT_EQ(answerer.DialogIds(), (std::vector<UINT>{IDD_IMPORT_FORMAT, IDD_IMPORT_FORMAT}));
    EXPECT_EQ(UsedRows(), nRows);
    EXPECT_FALSE(IsModified());
}

TEST_F(EstimateIoCommandsTest, DamagedFilesOfAnotherFormChangeNothing)
{
    const std::vector<std::vector<CString>> before = Cells(0, UsedRows());
    struct Case {
        std::vector<uint8_t> bytes;
        const char* message;
    };
    const std::vector<uint8_t> good = OtherFormFile().Bytes();
    std::vector<Case> cases = {
        {ByteBuilder().Str("This is Estimation").Bytes(), "見積ﾌｧｲﾙではありません。"},
        // An embedded form that fails its magic: its reader says so and reading stops.
        {OtherFormFile(true).Bytes(), "見積形式ﾌｧｲﾙがないか、壊れています。"},
        // More columns than an estimate has.
        {OtherFormFile(false, 101).Bytes(), "見積りﾌｧｲﾙはないか、壊れています。"},
    };
    // Cut at every length after the magic.
    for (size_t n = 24; n < good.size(); n += 5)
        cases.push_back({std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(n)), nullptr});
    for (const Case& c : cases) {
        WriteNativeFile(m_pFolder->Native("WORK/BAD.MMD"), c.bytes);
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System("WORK/BAD.MMD"));
        Command(ID_READ_OTHER_FORM);
        ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u) << c.bytes.size();
        if (c.message != nullptr) {
            EXPECT_EQ(answerer.MessageBoxTexts()[0].ToUtf8(), c.message);
        }
        EXPECT_TRUE(answerer.DialogIds().empty()) << c.bytes.size();
        EXPECT_EQ(ReadNativeFile(m_pFolder->Native("WORK/BAD.MMD")), c.bytes);
    }
    EXPECT_EQ(Cells(0, UsedRows()), before);
    EXPECT_FALSE(IsModified());
}

TEST_F(EstimateIoCommandsTest, ReadOtherFormIsOffWhileAColumnIsSelected)
{
    struct CUI : CCmdUI {
        void Enable(BOOL bOn = TRUE) override { enabled = bOn; }
        BOOL enabled = -1;
    } state;
    m_pView->OnUpdateReadOtherForm(&state);
    EXPECT_TRUE(state.enabled);
    // A click on a column header selects the column.
    const CPoint pt(CellPoint(scQty, 0).x, 5);
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(EstimateIo::GetSelectMode(*m_pView), 10);
    m_pView->OnUpdateReadOtherForm(&state);
    EXPECT_FALSE(state.enabled);
    // So is the command on the summary page.
    Click(0, 0);
    m_pView->OnUpdateReadOtherForm(&state);
    EXPECT_TRUE(state.enabled);
    m_pView->SendMessage(WM_COMMAND, CTabWnd::ID_SUMMARY_PAGE_TAB, 0);
    ASSERT_FALSE(EstimateIo::IsEditPageShown(*m_pView));
    m_pView->OnUpdateReadOtherForm(&state);
    EXPECT_FALSE(state.enabled);
}

// ---- outside data through File Open -------------------------------------------------------

TEST_F(EstimateIoCommandsTest, DamagedOutsideDataOpensNoWindow)
{
    const int nDocuments = m_pApp->GetOpenDocumentCount();
    WriteNativeFile(m_pFolder->Native("WORK/CUT.MVL"), {'@', 'M', '\r', '\n', 'T'});
    CDialogAnswerer answerer;
    EXPECT_EQ(OpenEstimate(m_pFolder->System("WORK/CUT.MVL")), nullptr);
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), nDocuments);
    ASSERT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(answerer.MessageBoxTexts()[0].ToUtf8(), "外部積算ﾃﾞｰﾀﾌｧｲﾙがないか、壊れています。");
    EXPECT_FALSE(FileExists(m_pFolder->System("WORK/CUT.mmd")));

    // A good file opens as a new estimate under the ".mmd" name.
    WriteNativeFile(m_pFolder->Native("WORK/mvl.inf"), {'A', '\r', '\n'});
    const std::string data = "@M\r\nT\r\n\r\n\r\nrow\r\n";
    WriteNativeFile(m_pFolder->Native("WORK/GOOD.MVL"), std::vector<uint8_t>(data.begin(), data.end()));
    ASSERT_NE(OpenEstimate(m_pFolder->System("WORK/GOOD.MVL")), nullptr);
    EXPECT_EQ(m_pApp->GetOpenDocumentCount(), nDocuments + 1);
    EXPECT_EQ(m_pDoc->GetPathName().Right(8), "GOOD.mmd");
    EXPECT_EQ(UsedRows(), 1);
    EXPECT_EQ(EstimateIo::GetInformationValue(*m_pView, 0), "T");
}

} // namespace
