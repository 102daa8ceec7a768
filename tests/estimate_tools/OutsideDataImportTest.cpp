// The import of the outside packages' estimate data: data and converter files written byte
// by byte here, read through CMorvelEMDoc::ImportConvertedFile into a new estimate.
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/COutsideEstimateReader.h"
#include "estimate/EstimateIoSupport.h"
#include "tests/estimate/EstimateTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

namespace {

// Shift-JIS bytes of a UTF-8 literal.
std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

void WriteText(const std::string& nativePath, const std::string& bytes)
{
    WriteNativeFile(nativePath, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

// Every file of a folder with its size and modification time.
std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>>
Snapshot(const std::string& folder)
{
    std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = {entry.file_size(), entry.last_write_time()};
    return files;
}

class OutsideDataImportTest : public EstimateViewTest {
protected:
    void SetUp() override
    {
        Open();
        // "B" codes: name A, spec B, quantity C, unit D, unit price E, remark F.
        const char* codes[] = {"A", "B", "C", "D", "E", "", "", "F"};
        for (int c = 0; c < 8; ++c)
            doc->m_EstimationForm.SetItem(c, CEstimationFormFile::colB, codes[c]);
    }

    BOOL Import(const std::string& data, const char* name, int nKind)
    {
        WriteText(dir.NativeFile(name), data);
        return doc->ImportConvertedFile(dir.Folder() + name, nKind);
    }

    MessageBoxRecorder messages;
};

// A TP5000 file: header, title, two skipped lines, then a kind heading with its details, a
// kind subtotal, a large heading, a detail, a discount and the grand total.
std::string MvlFile()
{
    return "@MVL,1\r\n"
           "\"" +
           Sj("本社ビル改修工事") +
           "\"   \r\n"
           "skip 1\r\n"
           "skip 2\r\n"
           "@1\r\n" +
           Sj("内装工事") + ",,,,\r\n" + Sj("壁紙張替") + "," + Sj("量産品") + ",120.5,m2,1200,x,y\r\n" +
           Sj("床材") +
           ",\"CF\",30,m2,3,500\r\n"
           "@G1\r\n" +
           Sj("内装工事 小計") +
           "\r\n"
           "@2\r\n" +
           Sj("設備工事") + ",,," + Sj("本") + ",\r\n" + Sj("照明器具") + ",LED,4," + Sj("台") +
           ",25000  \r\n"
           "@N\r\n" +
           Sj("値引") +
           ",,,,-5000\r\n"
           "@G0\r\n"
           ",\r\n";
}

TEST_F(OutsideDataImportTest, MvlFileImportsRowsKindsCellsTotalsAndTitle)
{
    WriteText(dir.NativeFile("mvl.inf"), "a, b ,C,d-1,E\r\nIGNORED\r\n");
    ASSERT_TRUE(Import(MvlFile(), "EST.MVL", CMorvelEMDoc::sourceMvl));
    EXPECT_TRUE(messages.entries.empty());

    // Rows in order, no page jump (no heading follows a total directly... except row 4).
    EXPECT_EQ(view->GetRowKind(0), kindKind);
    EXPECT_EQ(Utf8Cell(0, colName), "内装工事");
    EXPECT_EQ(Utf8Cell(0, colUnit), "式"); // empty unit of a heading
    EXPECT_EQ(view->GetRowKind(1), kindDetail);
    EXPECT_EQ(Utf8Cell(1, colName), "壁紙張替");
    EXPECT_EQ(Utf8Cell(1, colSpec), "量産品");
    EXPECT_EQ(Value(1, colQty), 120.5);
    EXPECT_EQ(Utf8Cell(1, colUnit), "m2");
    EXPECT_EQ(Value(1, colPrice), 1200);
    EXPECT_EQ(Value(1, colAmount), 144600); // 120.5 x 1200
    EXPECT_EQ(Cell(1, colNote), "");        // position 5 "x" has no column
    // The quotes go; "3,500" is two fields, as every comma separates.
    EXPECT_EQ(view->GetRowKind(2), kindDetail);
    EXPECT_EQ(Cell(2, colSpec), "CF");
    EXPECT_EQ(Value(2, colPrice), 3);
    EXPECT_EQ(Cell(2, colUnit), "m2");
    EXPECT_EQ(Utf8Cell(2, colUnit), "m2");
    // The kind subtotal adds the two details.
    EXPECT_EQ(view->GetRowKind(3), kindKindTotal);
    EXPECT_EQ(Value(3, colAmount), 144600 + 90);
    // A heading after a total starts the next page (18 rows a page).
    EXPECT_EQ(view->GetRowKind(4), kindEmpty);
    EXPECT_EQ(view->GetRowKind(18), kindLarge);
    EXPECT_EQ(Utf8Cell(18, colName), "設備工事");
    EXPECT_EQ(Utf8Cell(18, colUnit), "本"); // a unit given stays
    EXPECT_EQ(view->GetRowKind(19), kindDetail);
    EXPECT_EQ(Utf8Cell(19, colUnit), "台");
    EXPECT_EQ(Value(19, colAmount), 100000);
    EXPECT_EQ(Cell(19, colName), Sj("照明器具"));
    EXPECT_EQ(view->GetRowKind(20), kindDiscount);
    EXPECT_EQ(Value(20, colPrice), -5000);
    EXPECT_EQ(view->GetRowKind(21), kindGrandTotal);
    EXPECT_EQ(Value(21, colAmount), 144600 + 90 + 100000);
    EXPECT_EQ(doc->m_nLoadedRowCount, 22);
    EXPECT_EQ(EstimateIo::GetInformationValue(*view, 0).ToUtf8(), "本社ビル改修工事");
}

TEST_F(OutsideDataImportTest, EmptyUnitsUnderAHeadingTakeTheLumpSumUntilTheNextControlLine)
{
    WriteText(dir.NativeFile("mvl.inf"), "A,B,C,D,E\r\n");
    ASSERT_TRUE(Import("@M\r\nT\r\n\r\n\r\n@2\r\nH,,,,\r\nD1,,1,,10\r\nD2,,1,m,10\r\n"
                       "@N\r\nN,,1,,-5\r\nD3,,1,,10\r\n@1\r\nK\r\nD4\r\n@G0\r\nG\r\nD5\r\n",
                       "U.MVL", CMorvelEMDoc::sourceMvl));
    const char* units[] = {"式", "式", "m", "", "", "式", "式", "", ""};
    for (int r = 0; r < 9; ++r)
        EXPECT_EQ(Utf8Cell(r, colUnit), units[r]) << "row " << r;
}

TEST_F(OutsideDataImportTest, TotalThatEndsAPageLeavesTheHeadingOnTheNextPage)
{
    WriteText(dir.NativeFile("mvl.inf"), "A,B,C,D,E\r\n");
    std::string data = "@M\r\nT\r\n\r\n\r\n@2\r\nH1\r\n";
    for (int i = 0; i < 16; ++i)
        data += "D,,1,,1\r\n";           // rows 1..16
    data += "@G2\r\nT1\r\n@2\r\nH2\r\n"; // total on row 17, the page's last row
    ASSERT_TRUE(Import(data, "P.MVL", CMorvelEMDoc::sourceMvl));
    EXPECT_EQ(view->GetRowKind(17), kindLargeTotal);
    EXPECT_EQ(view->GetRowKind(18), kindLarge);
    EXPECT_EQ(Cell(18, colName), "H2");
    EXPECT_EQ(view->GetRowKind(36), kindEmpty);
    EXPECT_EQ(doc->m_nLoadedRowCount, 19);
}

TEST_F(OutsideDataImportTest, ConverterFilesByHeaderAndKind)
{
    struct Case {
        std::string header;
        int nKind;
        const char* infName;
    } cases[] = {
        {"MVL\r\n", 1, "mvl2.inf"},
        {"M\r\n", 2, "rxa.inf"},
        {"@M\r\n", 2, "rxa.inf"},
        {"@M\r\n", 3, "rxb.inf"},
        {"@V\r\n1.0\r\n@M\r\n", 3, "rxb.inf"},
        {"@V\r\n2\r\n@M\r\n", 3, "rxbv2.inf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        std::filesystem::remove_all(dir.Native());
        std::filesystem::create_directories(dir.Native());
        Open();
        doc->m_EstimationForm.SetItem(0, CEstimationFormFile::colB, "Q");
        WriteText(dir.NativeFile(c.infName), "Q\r\n");
        ASSERT_TRUE(Import(c.header + "T\r\n\r\n\r\nname\r\n", "X.DAT", c.nKind));
        EXPECT_EQ(Cell(0, colName), "name");
    }
}

TEST_F(OutsideDataImportTest, MissingConverterFileNamesItAndFails)
{
    struct Case {
        std::string header;
        int nKind;
        const char* message;
    } cases[] = {
        {"MVL\r\n", 1, "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(*.INF)がないか壊れています。"},
        {"@M\r\n", 1, "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(Mvl.INF)がないか壊れています。"},
        {"@M\r\n", 2, "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(Rxa.INF)がないか壊れています。"},
        {"@V\r\n2.5\r\n@M\r\n", 3, "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(rxbv2.INF)がないか壊れています。"},
        // A ".RXB" file with an "M" header has no converter file: refused the same way.
        {"M\r\n", 3, "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(*.INF)がないか壊れています。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        messages.entries.clear();
        EXPECT_FALSE(Import(c.header + "T\r\n\r\n\r\nname\r\n", "Y.DAT", c.nKind));
        ASSERT_EQ(messages.entries.size(), 1u);
        EXPECT_EQ(messages.entries[0].text.ToUtf8(), c.message);
        EXPECT_EQ(view->GetRowKind(0), kindEmpty);
    }
}

TEST_F(OutsideDataImportTest, TruncatedAndRandomFilesFailWithTheMessageAndTouchNothing)
{
    WriteText(dir.NativeFile("mvl.inf"), "A,B,C,D,E\r\n");
    const std::string full = MvlFile();
    // The fourth line (the last before the rows) starts at this byte; any byte of it makes
    // the file long enough.
    size_t nRowsStart = 0;
    for (int n = 0; n < 3; ++n)
        nRowsStart = full.find('\n', nRowsStart) + 1;
    WriteText(dir.NativeFile("T.MVL"), "");
    for (size_t n = 0; n <= nRowsStart; ++n) {
        Open();
        messages.entries.clear();
        WriteText(dir.NativeFile("T.MVL"), full.substr(0, n));
        const auto before = Snapshot(dir.Native());
        EXPECT_FALSE(doc->ImportConvertedFile(dir.Folder() + "T.MVL", CMorvelEMDoc::sourceMvl)) << n;
        ASSERT_EQ(messages.entries.size(), 1u) << n;
        EXPECT_EQ(messages.entries[0].text.ToUtf8(), "外部積算ﾃﾞｰﾀﾌｧｲﾙがないか、壊れています。");
        EXPECT_EQ(view->GetRowKind(0), kindEmpty);
        EXPECT_EQ(Snapshot(dir.Native()), before);
    }
    // Cut anywhere in the rows, the file gives the rows it holds and nothing beyond.
    for (size_t n = nRowsStart + 1; n <= full.size(); n += 7) {
        Open();
        ASSERT_TRUE(Import(full.substr(0, n), "C.MVL", CMorvelEMDoc::sourceMvl)) << n;
        EXPECT_LE(doc->m_nLoadedRowCount, 22);
    }

    std::mt19937 random(20261206);
    for (int i = 0; i < 200; ++i) {
        std::string bytes(random() % 300, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random() % 256);
        if (!bytes.empty() && (bytes[0] == 'M' || bytes[0] == '@'))
            bytes[0] = 'x';
        Open();
        messages.entries.clear();
        WriteText(dir.NativeFile("R.RXA"), bytes);
        const auto before = Snapshot(dir.Native());
        EXPECT_FALSE(doc->ImportConvertedFile(dir.Folder() + "R.RXA", CMorvelEMDoc::sourceRxa));
        EXPECT_EQ(messages.entries.size(), 1u);
        EXPECT_EQ(view->GetRowKind(0), kindEmpty);
        EXPECT_EQ(Snapshot(dir.Native()), before);
    }
}

TEST_F(OutsideDataImportTest, FieldsAndConverterEntriesAreCheckedAgainstTheirLimits)
{
    // A field keeps at most 2047 bytes and never ends inside a double-byte character.
    std::string longField = "x" + std::string(3000, '\x82');
    for (size_t i = 1; i < longField.size(); i += 2)
        longField[i + 1 < longField.size() ? i + 1 : i] = '\xA0';
    const CString field = CMorvelEMDoc::GetField(longField.c_str(), 0);
    EXPECT_LE(field.GetLength(), 2047);
    EXPECT_EQ(field.GetLength() % 2, 1);
    EXPECT_EQ(CMorvelEMDoc::GetField("a,\"b\" ,c", 1), "b");
    EXPECT_EQ(CMorvelEMDoc::GetField("a,b", 5), "");

    std::string converter;
    for (int i = 0; i < 3000; ++i)
        converter += "Z,";
    EXPECT_EQ(COutsideEstimateReader::ParseConverterLine(converter).size(), 2048u);
    const auto entries = COutsideEstimateReader::ParseConverterLine("a1,,b-c, ,D\nE");
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0], "A");
    EXPECT_EQ(entries[1], "");
    EXPECT_EQ(entries[2], "BC");
    EXPECT_EQ(entries[4], "D");

    // A line beyond the read limit comes in pieces, each a row.
    const std::string longText = std::string(70000, 'a') + "\r\nb";
    const auto lines = COutsideEstimateReader::SplitLines(longText);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 65534u);
    EXPECT_EQ(lines[2], "b");
}

TEST_F(OutsideDataImportTest, RowsBeyondTheRowLimitAreKept)
{
    WriteText(dir.NativeFile("mvl.inf"), "A,B,C,D,E\r\n");
    std::string data = "@M\r\nT\r\n\r\n\r\n";
    for (int i = 0; i < 1500; ++i)
        data += "D" + std::to_string(i) + ",,1,,2\r\n";
    ASSERT_TRUE(Import(data, "L.MVL", CMorvelEMDoc::sourceMvl));
    EXPECT_EQ(doc->m_nLoadedRowCount, 1500);
    EXPECT_EQ(Cell(1499, colName), "D1499");
    EXPECT_EQ(Value(1499, colAmount), 2);
}

} // namespace
