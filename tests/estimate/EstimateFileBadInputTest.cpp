// Estimate files that are not estimates or are damaged: none of them opens, none leaves
// half an estimate behind, and rows beyond the row limit are kept reachable.
#include "tests/estimate/EstimateFileTestSupport.h"

#include <deque>
#include <random>

namespace {

const char kNotAnEstimate[] = "見積ﾌｧｲﾙではありません。";
const char kDamaged[] = "は予期しない形式か、壊れています。";

// The file up to and with the ten words.
EstimateFileBuilder Header(const std::vector<uint16_t>& words)
{
    EstimateFileBuilder b;
    b.Magic().Text("meisai.MMK").Form("This is estimation form file", SampleEstimationItems());
    b.Text("JYOUHOU.MJK").Form("This is information form file", SampleInformationItems());
    b.Words(words);
    return b;
}

// A detail row of three cells whose name is its number.
FileRow NumberedRow(int n)
{
    static std::deque<std::string> names;
    names.push_back(std::to_string(n));
    return {5, static_cast<uint16_t>(n), 0, 0, "", "", {{names.back().c_str(), 0}, {"", 0}, {"", 0}}};
}

class EstimateFileBadInputTest : public EstimateFileTest {
protected:
    // Opens the bytes in a fresh document and checks that nothing of them arrived.
    void ExpectRejected(const std::vector<uint8_t>& bytes, const char* lpszMessagePart)
    {
        Write("bad.mmd", bytes);
        OpenedEstimate e;
        e.doc->m_strEstimationFormName = "before";
        MessageBoxRecorder boxes;
        EXPECT_FALSE(e.doc->OnOpenDocument(Path("bad.mmd")));
        ASSERT_EQ(1u, boxes.entries.size());
        EXPECT_NE(std::string::npos, boxes.entries[0].text.ToUtf8().find(lpszMessagePart))
            << boxes.entries[0].text.ToUtf8();
        EXPECT_EQ("before", e.doc->m_strEstimationFormName.str());
        EXPECT_EQ(0, e.doc->m_EstimationForm.GetCount());
        EXPECT_EQ(0, e.doc->m_InformationForm.GetCount());
        EXPECT_EQ(0, e.doc->m_aPrintForms.GetSize());
        EXPECT_EQ(0, e.doc->m_nLoadedRowCount);
        EXPECT_EQ(0, e.view->GetUsedRows());
        EXPECT_EQ(0, e.view->GetEditRows().GetSize());
        EXPECT_EQ(0, e.view->GetModel().GetInformationCount());
    }
};

} // namespace

TEST_F(EstimateFileBadInputTest, AWrongMagicFailsTheOpenWithItsMessage)
{
    for (const char* magic : {"This is Estimation Fil", "This is Estimation File ", "this is estimation file",
                              "This is estimation form file", ""}) {
        SCOPED_TRACE(magic);
        std::vector<uint8_t> bytes = SampleEstimateFile();
        EstimateFileBuilder b;
        b.Magic(magic);
        // The rest of a good file follows the wrong magic.
        const size_t nGoodMagic = 1 + std::string("This is Estimation File").size();
        std::vector<uint8_t> file = b.Bytes();
        file.insert(file.end(), bytes.begin() + static_cast<long>(nGoodMagic), bytes.end());
        ExpectRejected(file, kNotAnEstimate);
    }
    // The message box has only its OK button.
    Write("bad.mmd", EstimateFileBuilder().Magic("MMD").Bytes());
    OpenedEstimate e;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(e.doc->OnOpenDocument(Path("bad.mmd")));
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes.entries[0].type);
}

TEST_F(EstimateFileBadInputTest, ADamagedEmbeddedFormStopsTheReadWithTheFormsMessage)
{
    EstimateFileBuilder b;
    b.Magic().Text("meisai.MMK").Form("This is estimation form fil", SampleEstimationItems());
    b.Text("JYOUHOU.MJK").Form("This is information form file", SampleInformationItems());
    b.Words({3, 0, 0, 1, 2, 0, 2, 1, 1, 100}).Words({0, 0});
    ExpectRejected(b.Bytes(), "見積形式ﾌｧｲﾙがないか、壊れています。");

    EstimateFileBuilder c;
    c.Magic().Text("meisai.MMK").Form("This is estimation form file", SampleEstimationItems());
    c.Text("JYOUHOU.MJK").Form("This is information form fil", SampleInformationItems());
    c.Words({3, 0, 0, 1, 2, 0, 2, 1, 1, 100}).Words({0, 0});
    ExpectRejected(c.Bytes(), "情報形式ﾌｧｲﾙがないか、壊れています。");
}

TEST_F(EstimateFileBadInputTest, ColumnAndInformationCountsAbove100AreRejected)
{
    // 101 columns: more cells than a row holds.
    EstimateFileBuilder columns = Header({101, 1, 0, 1, 2, 0, 2, 1, 1, 100});
    columns.bytes.Word(5).Word(0).Word(0).Word(0).Str("").Str("");
    for (int c = 0; c < 101; ++c)
        columns.bytes.Str("x").Word(0);
    columns.Words({0, 0});
    ExpectRejected(columns.Bytes(), kDamaged);

    // 101 information values: more than the view keeps.
    EstimateFileBuilder information = Header({3, 0, 0, 1, 2, 0, 2, 1, 1, 100});
    information.Words({101});
    for (int i = 0; i < 101; ++i)
        information.Text("v");
    information.Words({0});
    ExpectRejected(information.Bytes(), kDamaged);

    // Exactly 100 of each is an estimate (with forms of 100 items each).
    std::vector<std::array<const char*, 10>> estimationItems(100,
                                                             {"c", "文字", "8", "", "", "", "", "", "", ""});
    std::vector<std::array<const char*, 8>> informationItems(100, {"i", "文字", "8", "", "", "", "", ""});
    EstimateFileBuilder full;
    full.Magic().Text("meisai.MMK").Form("This is estimation form file", estimationItems);
    full.Text("JYOUHOU.MJK").Form("This is information form file", informationItems);
    full.Words({100, 1, 0, 1, 2, 0, 2, 1, 1, 100});
    full.bytes.Word(5).Word(0).Word(0).Word(0).Str("").Str("");
    for (int c = 0; c < 100; ++c)
        full.bytes.Str(std::to_string(c)).Word(0);
    full.Words({100});
    for (int i = 0; i < 100; ++i)
        full.bytes.Str(std::to_string(i));
    full.Words({0});
    Write("full.mmd", full.Bytes());
    OpenedEstimate e;
    ASSERT_TRUE(e.doc->OnOpenDocument(Path("full.mmd")));
    EXPECT_EQ(100, e.view->GetColumnCount());
    EXPECT_EQ("99", e.view->GetCellText(0, 99).str());
    EXPECT_EQ(100, e.view->GetModel().GetInformationCount());
    EXPECT_EQ("99", e.view->GetModel().GetInformation(99).str());
}

TEST_F(EstimateFileBadInputTest, AFileCutAtAnyLengthFailsCleanly)
{
    const std::vector<uint8_t> good = SampleEstimateFile();
    for (size_t n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        // Wherever it is cut, the stream ends before a field does.
        ExpectRejected(cut, kDamaged);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(EstimateFileBadInputTest, RandomBytesFailCleanlyOrReadAsAConsistentEstimate)
{
    std::mt19937 random(20240611);
    const std::vector<uint8_t> header = Header({3, 2, 0, 1, 2, 0, 2, 1, 1, 100}).Bytes();
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        // Half the rounds are random from the start, half a good header with a random tail.
        std::vector<uint8_t> bytes = round % 2 == 0 ? std::vector<uint8_t>() : header;
        const size_t nLength = random() % 600;
        for (size_t i = 0; i < nLength; ++i)
            bytes.push_back(static_cast<uint8_t>(random()));
        Write("random.mmd", bytes);
        OpenedEstimate e;
        MessageBoxRecorder boxes;
        if (e.doc->OnOpenDocument(Path("random.mmd"))) {
            EXPECT_TRUE(boxes.entries.empty());
            EXPECT_EQ(e.view->GetUsedRows(), e.doc->m_nLoadedRowCount);
            EXPECT_EQ(e.view->GetUsedRows(), e.view->GetEditRows().GetSize());
            EXPECT_LE(e.view->GetUsedRows(), e.view->GetRowLimit());
            EXPECT_LE(e.view->GetColumnCount(), 100);
            EXPECT_LE(e.view->GetModel().GetInformationCount(), 100);
        } else {
            EXPECT_EQ(1u, boxes.entries.size());
            EXPECT_EQ(0, e.view->GetEditRows().GetSize());
        }
    }
}

TEST_F(EstimateFileBadInputTest, MoreRowsThanTheRowLimitRaiseTheLimitAndLoseNoRow)
{
    for (int nLimit : {5, 8}) {
        SCOPED_TRACE(nLimit);
        settings->WriteProfileInt("Input Setting", "Estimation Maxmum Rows", nLimit);
        EstimateFileBuilder b = Header({3, 12, 0, 1, 2, 0, 2, 1, 1, 100});
        for (int r = 0; r < 12; ++r)
            b.Row(NumberedRow(r));
        // As many information values as the information form has items.
        b.Words({2}).Text("a").Text("b").Words({0});
        Write("many.mmd", b.Bytes());

        OpenedEstimate e;
        ASSERT_TRUE(e.doc->OnOpenDocument(Path("many.mmd")));
        // The limit doubles: once from 8, twice from 5.
        EXPECT_EQ(nLimit == 8 ? 16 : 20, e.view->GetRowLimit());
        e.view->SetupFromDocument();
        EXPECT_EQ(nLimit == 8 ? 16 : 20, e.view->GetRowLimit());
        EXPECT_EQ(12, e.view->GetUsedRows());
        for (int r = 0; r < 12; ++r) {
            EXPECT_EQ(kindDetail, e.view->GetRowKind(r));
            EXPECT_EQ(r, e.view->GetRowParam1(r));
            EXPECT_EQ(std::to_string(r), e.view->GetCellText(r, 0).str());
        }
        // And every row is written back.
        ASSERT_TRUE(e.doc->OnSaveDocument(Path("many2.mmd")));
        EXPECT_EQ(Read("many.mmd"), Read("many2.mmd"));
    }
}

TEST_F(EstimateFileBadInputTest, AStoredZoomOfZeroReadsAs100)
{
    EstimateFileBuilder b = Header({3, 0, 0, 1, 2, 0, 2, 1, 1, 0});
    b.Words({0, 0});
    Write("zoom.mmd", b.Bytes());
    OpenedEstimate e;
    ASSERT_TRUE(e.doc->OnOpenDocument(Path("zoom.mmd")));
    EXPECT_EQ(100, e.view->GetMetrics().nZoom);
    e.view->SetupFromDocument();
    EXPECT_EQ(200, e.view->GetColumnWidth(0));
}

TEST_F(EstimateFileBadInputTest, AMissingFileAndOutsideDataDoNotOpen)
{
    OpenedEstimate e;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(e.doc->OnOpenDocument(Path("none.mmd")));
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_NE(std::string::npos, boxes.entries[0].text.ToUtf8().find("none.mmd"));

    // Outside data that ends after its header: the user is told, nothing opens.
    Write("a.MVL", {'M', '\r', '\n'});
    OpenedEstimate outside;
    MessageBoxRecorder outsideBoxes;
    EXPECT_FALSE(outside.doc->OnOpenDocument(Path("a.MVL")));
    ASSERT_EQ(1u, outsideBoxes.entries.size());
    EXPECT_EQ("外部積算ﾃﾞｰﾀﾌｧｲﾙがないか、壊れています。", outsideBoxes.entries[0].text.ToUtf8());
    EXPECT_EQ(0, outside.view->GetUsedRows());
}

TEST_F(EstimateFileBadInputTest, AnEstimateTooLargeForTheFormatIsNotSavedOverTheOldFile)
{
    Write("a.mmd", SampleEstimateFile());
    OpenedEstimate e;
    ASSERT_TRUE(e.doc->OnOpenDocument(Path("a.mmd")));
    // More used rows than a word counts: writing them would corrupt the file.
    e.view->SetRowLimit(70000);
    e.view->GetModel().RestoreUsedRows(70000);
    MessageBoxRecorder boxes;
    EXPECT_FALSE(e.doc->OnSaveDocument(Path("a.mmd")));
    EXPECT_EQ(1u, boxes.entries.size());
    EXPECT_EQ(SampleEstimateFile(), Read("a.mmd"));
}
