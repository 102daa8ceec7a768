// What the estimate file can hold, kept by every way rows and values reach an estimate: the
// information values an estimate saves are always ones it opens again, an insertion that
// would pass the file's 65,535 rows is refused before anything changes, a save of more
// rows says why, a refused file of another form leaves nothing behind, and a CSV cell
// comes back from the CSV text as it was written.
#include "estimate/EstimateIoSupport.h"
#include "estimate_tools/COtherFormEstimate.h"
#include "estimate_tools/EstimateCsv.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "tests/estimate/EstimateFileTestSupport.h"
#include "tests/estimate/EstimateTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FileLimitsTest : public EstimateViewTest {
protected:
    void SetUp() override
    {
        settings->WritePathSetting("Work Field", dir.Folder());
        settings->WriteProfileInt("Input Setting", "Backup File", 1);
        Open();
    }

    // An information form of nItems items.
    static CInformationFormFile InformationForm(int nItems)
    {
        CInformationFormFile form;
        for (int i = 0; i < nItems; ++i)
            form.SetItem(i, CInformationFormFile::colName, ("item" + std::to_string(i)).c_str());
        form.SetCount(nItems);
        return form;
    }

    // The estimate's bytes and counts, to tell that nothing changed.
    std::vector<uint8_t> State() const
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            doc->Serialize(ar);
            ar.Close();
        }
        std::vector<uint8_t> bytes(file.GetData().begin(), file.GetData().end());
        bytes.push_back(static_cast<uint8_t>(view->GetUsedRows() & 0xFF));
        bytes.push_back(static_cast<uint8_t>(view->GetUsedRows() >> 8));
        return bytes;
    }

    // The estimate nearly full: nRows rows in use, the limit far above them.
    void FillTo(int nRows)
    {
        view->SetRowLimit(nRows + 1000);
        view->GetModel().RestoreUsedRows(nRows);
    }

    // The one message shown, which names the rows and the limit.
    void ExpectLimitMessage(const char* lpszRows)
    {
        ASSERT_EQ(messages.entries.size(), 1u);
        const std::string text = messages.entries[0].text.ToUtf8();
        EXPECT_NE(text.find(lpszRows), std::string::npos) << text;
        EXPECT_NE(text.find("65,535"), std::string::npos) << text;
        messages.entries.clear();
    }

    MessageBoxRecorder messages;
};

TEST_F(FileLimitsTest, EveryEstimateSavesWhatItOpensWithAnyInformationForm)
{
    WriteNativeFile(dir.NativeFile("mvl.inf"), {'A', '\r', '\n'});
    const std::string mvl = "@M\r\nTitle\r\n\r\n\r\nrow\r\n";
    WriteNativeFile(dir.NativeFile("in.MVL"), std::vector<uint8_t>(mvl.begin(), mvl.end()));
    for (int nItems : {0, 2, 100}) {
        for (bool bImported : {false, true}) {
            SCOPED_TRACE(std::to_string(nItems) + (bImported ? " items, imported" : " items, new"));
            Open();
            doc->m_EstimationForm.SetItem(colName, CEstimationFormFile::colB, "A");
            doc->m_InformationForm = InformationForm(nItems);
            if (bImported) {
                // The title goes to information value 0, also without an item to show it.
                ASSERT_TRUE(doc->ImportConvertedFile(dir.Folder() + "in.MVL", CMorvelEMDoc::sourceMvl));
            } else {
                for (int i = 0; i < CMorvelEMView::MAX_INFORMATION; ++i)
                    view->GetModel().SetInformation(i, "v");
            }
            ASSERT_TRUE(doc->OnSaveDocument(dir.Folder() + "a.mmd"));
            OpenedEstimate again;
            ASSERT_TRUE(again.doc->OnOpenDocument(dir.Folder() + "a.mmd")) << messages.entries.size();
            EXPECT_EQ(again.view->GetModel().GetInformationCount(), bImported ? std::min(nItems, 1) : nItems);
            EXPECT_EQ(again.view->GetModel().GetInformation(0), nItems == 0 ? "" : bImported ? "Title" : "v");
        }
    }
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(FileLimitsTest, InsertionsPastTheFileRowLimitAreRefusedBeforeAnythingChanges)
{
    FillTo(65534);
    const std::vector<uint8_t> before = State();
    // CSV input: two lines would make 65,536 rows.
    const std::vector<std::string_view> lines = {"a", "b"};
    const std::vector<int> mapping = {0};
    EXPECT_EQ(EstimateCsv::InsertRows(*view, 0, lines, mapping), 0);
    ExpectLimitMessage("65,536");
    EXPECT_EQ(State(), before);
    // One line still fits.
    EXPECT_EQ(EstimateCsv::InsertRows(*view, 0, {lines[0]}, mapping), 1);
    EXPECT_TRUE(messages.entries.empty());

    // Rows of another form's estimate.
    COtherFormEstimate other;
    other.m_nColumns = 1;
    other.m_rows.resize(3);
    for (auto& row : other.m_rows)
        row.cells = {"x"};
    const std::vector<uint8_t> full = State();
    EXPECT_EQ(other.InsertRows(*view, 5, mapping), 0);
    ExpectLimitMessage("65,538");
    EXPECT_EQ(State(), full);

    // Outside data whose rows reach past the limit through the page starts of its headings.
    settings->WriteProfileInt("Input Setting", "Rows in a page", 1000);
    Open();
    doc->m_EstimationForm.SetItem(colName, CEstimationFormFile::colB, "A");
    WriteNativeFile(dir.NativeFile("mvl.inf"), {'A', '\r', '\n'});
    std::string mvl = "@M\r\nT\r\n\r\n\r\n";
    for (int i = 0; i < 66; ++i)
        mvl += "d\r\n@G1\r\nsum\r\n@1\r\nhead\r\n";
    WriteNativeFile(dir.NativeFile("big.MVL"), std::vector<uint8_t>(mvl.begin(), mvl.end()));
    const std::vector<uint8_t> fresh = State();
    EXPECT_FALSE(doc->ImportConvertedFile(dir.Folder() + "big.MVL", CMorvelEMDoc::sourceMvl));
    ExpectLimitMessage("66,001");
    EXPECT_EQ(State(), fresh);
}

TEST_F(FileLimitsTest, SavingMoreRowsThanTheFileHoldsSaysWhyAndKeepsTheFile)
{
    WriteNativeFile(dir.NativeFile("big.mmd"), {'o', 'l', 'd'});
    FillTo(70000);
    EXPECT_FALSE(doc->OnSaveDocument(dir.Folder() + "big.mmd"));
    ExpectLimitMessage("70,000");
    EXPECT_EQ(ReadNativeFile(dir.NativeFile("big.mmd")), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

TEST_F(FileLimitsTest, RefusedFileOfAnotherFormLeavesNothing)
{
    // A whole estimate with one row, then 101 information values: more than any form has.
    EstimateFileBuilder b;
    b.Magic().Text("f.MMK").Form("This is estimation form file", SampleEstimationItems());
    b.Text("i.MJK").Form("This is information form file", SampleInformationItems());
    b.Words({3, 1, 0, 0, 0, 0, 0, 0, 0, 100});
    b.Row({5, 0, 0, 0, "", "", {{"a", 0}, {"1", 0}, {"", 0}}});
    b.Words({101});
    const std::vector<uint8_t>& bytes = b.Bytes();
    COtherFormEstimate file;
    EXPECT_EQ(file.Read(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())),
              COtherFormEstimate::readDamaged);
    EXPECT_TRUE(file.m_rows.empty());
    EXPECT_EQ(file.m_nColumns, 0);
    EXPECT_EQ(file.m_EstimationForm.GetCount(), 0);
}

TEST_F(FileLimitsTest, CsvCellsComeBackAsTheyWereWritten)
{
    // A lone lead byte before a blank is one character to the writer's trimming: it stays,
    // and so it must when the text is read.
    for (const std::string& cell :
         {std::string("ab\x81 "), std::string("\x82 \x82 "), std::string("x\x81")}) {
        view->SetCellText(cell.c_str(), 0, colName, TRUE);
        view->SetRowKind(kindDetail, 0);
        const std::string text =
            EstimateCsv::WriteEstimate(view->GetModel(), view->GetEstimationForm(), {TRUE});
        std::vector<CString> fields;
        EstimateCsv::SplitFields(EstimateCsv::SplitLines(text).at(0), fields);
        ASSERT_EQ(fields.size(), 1u);
        EXPECT_EQ(fields[0], view->GetCellText(0, colName));
    }
    // A line break after a lead byte is still a line break to the file: it leaves the cell,
    // and the row stays one line.
    view->SetCellText("a\x95\r\nb,", 0, colName, TRUE);
    const std::string text = EstimateCsv::WriteEstimate(view->GetModel(), view->GetEstimationForm(), {TRUE});
    EXPECT_EQ(text, "\"a\x95"
                    "b,\"\r\n");
    std::vector<CString> fields;
    EstimateCsv::SplitFields(EstimateCsv::SplitLines(text).at(0), fields);
    EXPECT_EQ(fields, std::vector<CString>{CString("a\x95"
                                                   "b,")});
}

} // namespace
