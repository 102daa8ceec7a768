// The sample estimate as the program opens it: recalculated in one walk and by the totals
// made one by one (numbers worked out through their texts), it gives the same cell texts,
// kinds and stored file after a full recalculation and after an edit of every detail row,
// and its stored totals are already what a recalculation makes of them. The generated
// estimates' equivalence is held in the engine's own test program; this one needs the
// document to read the sample file.
#include "tests/estimate/EstimateFileTestSupport.h"
#include "tests/estimate/EstimateTestSupport.h"

#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string SampleEstimatePath()
{
    const std::filesystem::path root = std::filesystem::path(MORVEL_SOURCE_DIR);
    return (root / "samples" / "WORK" / "サンプル見積.MMD").string();
}

// Every cell text and kind of the used rows, and the bytes the document stores.
struct CEstimateImage {
    std::vector<std::string> cells;
    std::vector<uint8_t> file;
};

CEstimateImage TakeImage(CMorvelEMDoc& doc, CMorvelEMView& view)
{
    CEstimateImage image;
    for (int r = 0; r < view.GetUsedRows(); ++r) {
        std::string line = std::to_string(view.GetRowKind(r));
        for (int c = 0; c < view.GetColumnCount(); ++c)
            line += "|" + view.GetCellText(r, c).str();
        image.cells.push_back(line);
    }
    CMemFile memFile(1 << 16);
    {
        CArchive ar(&memFile, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
    }
    const std::vector<BYTE> bytes = memFile.Detach();
    image.file.assign(bytes.begin(), bytes.end());
    return image;
}

// The first differing line, for a readable failure.
std::string FirstDifference(const CEstimateImage& a, const CEstimateImage& b)
{
    for (size_t i = 0; i < a.cells.size() && i < b.cells.size(); ++i) {
        if (a.cells[i] != b.cells[i])
            return "row " + std::to_string(i) + ": " + a.cells[i] + " / " + b.cells[i];
    }
    return a.cells.size() == b.cells.size() ? std::string() : "row counts differ";
}

// The sample opened twice: one recalculating in one walk, one by the reference.
class SampleRecalcTest : public EstimateFileTest {
protected:
    SampleRecalcTest() { settings->m_nRoundMode = 3; }

    template <typename Step>
    void Both(Step step)
    {
        step(*oneWalk.view);
        step(*reference.view);
    }

    void Compare(const std::string& step)
    {
        const CEstimateImage a = TakeImage(*oneWalk.doc, *oneWalk.view);
        const CEstimateImage b = TakeImage(*reference.doc, *reference.view);
        EXPECT_EQ(a.cells, b.cells) << step << ": " << FirstDifference(a, b);
        EXPECT_TRUE(a.file == b.file) << step << ": the stored files differ";
    }

    // Types a number into a row as Enter does and recalculates from there.
    static void Edit(CMorvelEMView& view, int nRow, int nCol, const char* lpszText)
    {
        view.SetCellText(lpszText, nRow, nCol, TRUE);
        view.GetModel().Engine().CalcRow(nRow, 0);
        view.RecalcTotals(nRow);
    }

    OpenedEstimate oneWalk;
    OpenedEstimate reference;
};

} // namespace

TEST_F(SampleRecalcTest, TheSampleEstimateRecalculatesAsTheTotalsMadeOneByOne)
{
    settings->m_nTax = 8;
    for (OpenedEstimate* e : {&oneWalk, &reference}) {
        ASSERT_TRUE(e->doc->OnOpenDocument(SystemPathFromNative(SampleEstimatePath())));
        e->view->SetupFromDocument();
    }
    reference.view->GetModel().Engine().SetTotalsOneByOne(true);
    reference.view->GetModel().Engine().SetNumbersThroughTexts(true);
    const CEstimateImage opened = TakeImage(*oneWalk.doc, *oneWalk.view);

    Both([](CMorvelEMView& view) { view.RecalcAll(); });
    Compare("full recalculation");
    // The sample's stored totals are the engine's: recalculating changes no byte.
    EXPECT_EQ(opened.cells, TakeImage(*oneWalk.doc, *oneWalk.view).cells);

    const int nUsed = oneWalk.view->GetUsedRows();
    for (int r = 0; r < nUsed; ++r) {
        if (oneWalk.view->GetRowKind(r) != kindDetail)
            continue;
        Both([r](CMorvelEMView& view) { Edit(view, r, 2, r % 2 ? "12.345" : "-3"); });
        Compare("quantity edited in row " + std::to_string(r));
    }
}
