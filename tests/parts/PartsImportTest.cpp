// The parts list's CSV text and the import of another parts file: what is written, that it
// reads back into the same cells, the reader's field rules, the column mapping, and files
// that are not parts lists or are damaged (nothing inserted).
#include "tests/parts/PartsTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "parts/PartsImport.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

class PartsImportTest : public PartsTest {
protected:
    PartsImportTest()
    {
        FillForm(p.doc->m_form, SamplePartItems());
        p.view->TakeDocumentRows();
    }
    void Put(int nRow, int nCol, const char* utf8)
    {
        p.view->SetCellText(CString::FromUtf8(utf8), nRow, nCol);
    }
    std::string Cell(int nRow, int nCol) const { return p.view->GetCellText(nRow, nCol).ToUtf8(); }
    std::vector<BOOL> AllTicks() const { return std::vector<BOOL>(6, TRUE); }
    std::vector<int> Identity() const { return {0, 1, 2, 3, 4, 5}; }

    OpenedParts p;
};

} // namespace

TEST_F(PartsImportTest, TheCsvTextIsTheStoredCellsQuotedOnlyWhereACsvReaderNeedsIt)
{
    Put(0, 0, "異形棒鋼");
    Put(0, 1, "1,250.5");
    Put(0, 2, "kg  ");
    Put(1, 0, "板, 12mm");
    Put(1, 2, "\"特\"");
    Put(2, 5, "a\r\nb");
    std::vector<BOOL> ticks = AllTicks();
    ticks[3] = FALSE;
    const std::string text = PartsImport::WriteCsv(*p.view, ticks);
    std::string expected = Sj("異形棒鋼") + ",1250.500000,kg,,\r\n";
    expected += "\"" + Sj("板, 12mm") + "\",,\"\"\"" + Sj("特") + "\"\"\",,\r\n";
    expected += ",,,,ab\r\n";
    EXPECT_EQ(expected, text);
    // No used rows: an empty text.
    OpenedParts empty;
    FillForm(empty.doc->m_form, SamplePartItems());
    empty.view->TakeDocumentRows();
    EXPECT_EQ("", PartsImport::WriteCsv(*empty.view, AllTicks()));
}

TEST_F(PartsImportTest, WrittenRowsReadBackIntoTheSameCells)
{
    // The amounts as the rows' formula makes them: the rows read back are calculated.
    const char* const cells[][6] = {
        {"異形棒鋼", "1250.500000", "kg", "98.000000", "122549.000000", "x"},
        {"板, 12mm", "", "\"枚\"", "", "", ""},
        {"", "", "", "", "", ""},
        {"ソース「表」", "3.000000", "ｍ３", "14800.000000", "44400.000000", "a,b,\"c\""},
    };
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c)
            Put(r, c, cells[r][c]);
    const std::string text = PartsImport::WriteCsv(*p.view, AllTicks());
    OpenedParts back;
    FillForm(back.doc->m_form, SamplePartItems());
    back.view->TakeDocumentRows();
    EXPECT_EQ(4, PartsImport::InsertCsvRows(*back.view, 0, text, Identity()));
    EXPECT_EQ(4, back.doc->GetRowsInUse());
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(p.view->GetCellText(r, c).str(), back.view->GetCellText(r, c).str()) << r << "," << c;
}

TEST_F(PartsImportTest, TheReaderGroupsQuotedCommasTrimsBlanksAndMapsByLabel)
{
    for (int r = 0; r < 6; ++r)
        Put(r, 0, ("old" + std::to_string(r)).c_str());
    // 28 fields in the first line; "AA" (field 26) feeds column 5.
    std::string line1 = "a,\"b,c\",  d  ";
    for (int i = 3; i < 28; ++i)
        line1 += "," + std::to_string(i);
    const std::string data = line1 + "\r\nx\r\ny,z\r\n";
    EXPECT_EQ(28, PartsImport::CountFirstLineFields(data));
    const std::vector<int> mapping = {0, 1, 2, -1, -1, 26};
    EXPECT_EQ(3, PartsImport::InsertCsvRows(*p.view, 5, data, mapping));
    EXPECT_EQ("a", Cell(5, 0));
    EXPECT_EQ("b,c", Cell(5, 1));
    EXPECT_EQ("d", Cell(5, 2));
    // Column 5 is a number column: the field is stored in its number form.
    EXPECT_EQ("26.000000", Cell(5, 5));
    // A later line with fewer fields leaves the missing ones empty.
    EXPECT_EQ("x", Cell(6, 0));
    EXPECT_EQ("", Cell(6, 1));
    EXPECT_EQ("z", Cell(7, 1));
    // The old row 5 moved to row 8.
    EXPECT_EQ("old5", Cell(8, 0));
    EXPECT_EQ("old4", Cell(4, 0));
    EXPECT_EQ(9, p.doc->GetRowsInUse());
}

namespace {

// Another list made with a form of three items in another order: 単価, 部材名, 数量.
std::vector<uint8_t> OtherPartsFile(uint16_t nColumns = 3)
{
    const std::vector<PartItem> items = {
        {"単価", "数値", "10", "###,###", "", "", "", "", "", ""},
        {"部材名", "文字", "20", "", "", "", "", "", "", ""},
        {"数量", "数値", "8", "#,###.##", "", "", "", "", "", ""},
    };
    PartsFileBuilder b;
    b.Magic().Word(100).Text("OTHER.MBK").Form(items);
    b.Word(2).Word(nColumns);
    for (const char* cell : {"500.000000", "鉄筋", "2.000000", "60.000000", "番線", "10.000000"})
        b.Text(cell);
    b.Word(0);
    return b.Bytes();
}

} // namespace

TEST_F(PartsImportTest, AnotherPartsFileFillsTheColumnsItsMappingNames)
{
    Put(0, 0, "first");
    const auto bytes = OtherPartsFile();
    PartsImport::COtherPartsFile other;
    ASSERT_EQ(PartsImport::readOk, PartsImport::ReadOtherPartsFile(bytes.data(), bytes.size(), other));
    EXPECT_EQ(3, other.form.GetCount());
    EXPECT_EQ(3, other.nColumns);
    // 部材名 <- source 1, 数量 <- 2, 単価 <- 0; 合計 gets the name as well; 単位 nothing.
    const std::vector<int> mapping = {1, 2, -1, 0, -1, 1};
    EXPECT_EQ(2, PartsImport::InsertOtherRows(*p.view, 0, other, mapping));
    EXPECT_EQ("鉄筋", Cell(0, 0));
    EXPECT_EQ("2.000000", Cell(0, 1));
    EXPECT_EQ("", Cell(0, 2));
    EXPECT_EQ("500.000000", Cell(0, 3));
    EXPECT_EQ("鉄筋", Cell(0, 5));
    EXPECT_EQ("番線", Cell(1, 0));
    EXPECT_EQ("first", Cell(2, 0));
}

TEST_F(PartsImportTest, AFileThatIsNotAPartsListOrIsDamagedGivesNothing)
{
    PartsImport::COtherPartsFile other;
    PartsFileBuilder wrong;
    wrong.Magic("This is Parts Management fil").Word(100);
    EXPECT_EQ(PartsImport::readNotParts,
              PartsImport::ReadOtherPartsFile(wrong.Bytes().data(), wrong.Bytes().size(), other));
    const MessageBoxHandler previous = SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    PartsFileBuilder badForm;
    badForm.Magic().Word(100).Text("X.MBK").Form({}, "This is part form fil");
    EXPECT_EQ(PartsImport::readBadForm,
              PartsImport::ReadOtherPartsFile(badForm.Bytes().data(), badForm.Bytes().size(), other));
    const auto tooWide = OtherPartsFile(101);
    EXPECT_EQ(PartsImport::readDamaged,
              PartsImport::ReadOtherPartsFile(tooWide.data(), tooWide.size(), other));
    // Cut at every length before the last cell: never a partial result. (The print-layout
    // list after the cells is not read.)
    const auto good = OtherPartsFile();
    for (size_t n = 0; n + 2 < good.size(); ++n) {
        PartsImport::COtherPartsFile cut;
        EXPECT_NE(PartsImport::readOk, PartsImport::ReadOtherPartsFile(good.data(), n, cut)) << n;
        EXPECT_TRUE(cut.rows.empty());
    }
    SetMessageBoxHandler(previous);
}

TEST_F(PartsImportTest, ASpreadsheetsCsvReaderSeesTheSameTable)
{
    if (std::system("command -v python3 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs python3";
    const char* const cells[][6] = {
        {"異形棒鋼", "1250.500000", "kg", "98.000000", "", "x"},
        {"板, 12mm", "", "\"枚\"", "", "", ""},
        {"ソース「表」", "3.000000", "ｍ３", "", "", "a,b,\"c\""},
    };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            Put(r, c, cells[r][c]);
    const std::string text = PartsImport::WriteCsv(*p.view, AllTicks());
    WriteNativeFile(Native("out.csv"), std::vector<uint8_t>(text.begin(), text.end()));
    // Python's csv module reads the code page 932 bytes and prints each cell on its own
    // line, rows separated by a line holding only "--".
    const std::string script = "import csv,sys\n"
                               "with open(sys.argv[1], encoding='cp932', newline='') as f:\n"
                               "    for row in csv.reader(f):\n"
                               "        for cell in row: print(cell)\n"
                               "        print('--')\n";
    WriteNativeFile(Native("read.py"), std::vector<uint8_t>(script.begin(), script.end()));
    const std::string command =
        "python3 '" + Native("read.py") + "' '" + Native("out.csv") + "' > '" + Native("read.txt") + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
    const auto bytes = Read("read.txt");
    std::string expected;
    for (const auto& row : cells) {
        for (const char* cell : row)
            expected += std::string(cell) + "\n";
        expected += "--\n";
    }
    EXPECT_EQ(expected, std::string(bytes.begin(), bytes.end()));
}

TEST_F(PartsImportTest, RowsPastTheFileRowLimitAreRefusedAndASaveOfThemSaysWhy)
{
    MessageBoxRecorder messages;
    // Rows arrive as registering them from an estimate brings them.
    p.doc->AppendRows(std::vector<std::unique_ptr<CGridRow>>(65534));
    p.view->SetRowLimit(70000);
    // Two CSV lines or rows of another list would make 65,536 rows: nothing is inserted.
    EXPECT_EQ(0, PartsImport::InsertCsvRows(*p.view, 0, "a\r\nb\r\n", Identity()));
    PartsImport::COtherPartsFile other;
    other.nColumns = 1;
    other.rows.assign(2, std::vector<CString>{"x"});
    EXPECT_EQ(0, PartsImport::InsertOtherRows(*p.view, 3, other, Identity()));
    EXPECT_EQ(65534, p.doc->GetRowsInUse());
    ASSERT_EQ(2u, messages.entries.size());
    for (const auto& entry : messages.entries) {
        EXPECT_NE(std::string::npos, entry.text.ToUtf8().find("65,536")) << entry.text.ToUtf8();
        EXPECT_NE(std::string::npos, entry.text.ToUtf8().find("65,535")) << entry.text.ToUtf8();
    }
    // One more row still fits; a list of more rows than the file holds is not saved, and
    // the message gives the row count and the limit.
    EXPECT_EQ(1, PartsImport::InsertCsvRows(*p.view, 0, "a", Identity()));
    p.doc->AppendRows(std::vector<std::unique_ptr<CGridRow>>(70000 - p.doc->GetRowsInUse()));
    messages.entries.clear();
    EXPECT_FALSE(p.doc->OnSaveDocument(Path("big.mbd")));
    ASSERT_EQ(1u, messages.entries.size());
    EXPECT_NE(std::string::npos, messages.entries[0].text.ToUtf8().find("70,000"));
    EXPECT_NE(std::string::npos, messages.entries[0].text.ToUtf8().find("65,535"));
    EXPECT_FALSE(std::filesystem::exists(Native("big.mbd")));
}
