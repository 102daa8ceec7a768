// bench_layout: open and save of an estimate print layout of 500 drawing objects (texts
// with field tokens, rectangles and lines, tables of 12 cells, one embedded picture),
// through the layout document as File Open and File Save run them. Prints the medians.
//
//   bench_layout [folder]      (default: the system's temporary folder)
#include "BenchSupport.h"

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CPrintEMDoc.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kObjects = 500;
constexpr int kRuns = 31;

BOOL ReadForm(const std::string& nativePath, CEstimationFormFile& form)
{
    CFile file;
    if (!file.Open(SystemPathFromNative(nativePath), CFile::modeRead))
        return FALSE;
    CArchive ar(&file, CArchive::load);
    return form.Serialize(ar) == 0;
}

BOOL ReadForm(const std::string& nativePath, CInformationFormFile& form)
{
    CFile file;
    if (!file.Open(SystemPathFromNative(nativePath), CFile::modeRead))
        return FALSE;
    CArchive ar(&file, CArchive::load);
    return form.Serialize(ar) == 0;
}

void FillLayout(CPrintEMDoc& doc)
{
    CCompoundStorage picture;
    picture.SetStream("\x01Ole", std::vector<BYTE>(20, 0));
    picture.SetStream("CONTENTS", std::vector<BYTE>(20000, 0x5A));
    auto* pOle = new CDrawOleObj(CRect(-100, -400, 100, -500));
    pOle->m_pClientItem = new CDrawItem(&doc, pOle);
    pOle->m_pClientItem->CreateFromStorage(picture);
    doc.Add(pOle);
    for (int i = 1; i < kObjects; ++i) {
        const int y = 500 - i * 2;
        switch (i % 5) {
        case 0: {
            auto* pTable = new CDrawTable(CRect(300, y - 60, -300, y));
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 4; ++c) {
                    CDrawCell* pCell = pTable->AddCell(
                        CRect(-300 + (c + 1) * 150, y - 60 + r * 20, -300 + c * 150, y - 40 + r * 20));
                    pCell->m_strText.Format("$見積(1,金額,%d)$", r + 1 + i % 30);
                }
            doc.Add(pTable);
            break;
        }
        case 1:
        case 2: {
            auto* pText = new CDrawText(CRect(-300, y, 300, y - 20));
            pText->m_strText.Format("項目 %d $見積(1,名称,%d)$ $日付()$", i, i % 30 + 1);
            doc.Add(pText);
            break;
        }
        default: {
            auto* pRect = new CDrawRect(CRect(-300, y, 300, y - 15));
            pRect->m_nShape = i % 2;
            doc.Add(pRect);
            break;
        }
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    RegisterDrawing();
    // No printer is needed to read and write layouts; its absence is not news here.
    SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    const std::string samples = std::string(MORVEL_SOURCE_DIR) + "/samples/FORM/";
    const std::filesystem::path folder =
        (argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path()) / "bench_layout";
    std::filesystem::create_directories(folder);
    const CString path = SystemPathFromNative((folder / "BENCH.MMP").string());

    {
        CPrintEMDoc doc;
        doc.m_bAutoDelete = FALSE;
        doc.m_strCurEstimationForm = "meisai.MMK";
        doc.m_strCurInformationForm = "JYOUHOU.MJK";
        if (!ReadForm(samples + "meisai.MMK", doc.m_curEstimationForm) ||
            !ReadForm(samples + "JYOUHOU.MJK", doc.m_curInformationForm)) {
            std::fprintf(stderr, "bench_layout: the sample forms cannot be read\n");
            return 1;
        }
        FillLayout(doc);
        if (!doc.OnSaveDocument(path)) {
            std::fprintf(stderr, "bench_layout: the layout cannot be written\n");
            return 1;
        }
    }
    const auto fileSize = std::filesystem::file_size(folder / "BENCH.MMP");

    std::vector<double> opens, saves, builds;
    for (int run = 0; run < kRuns; ++run) {
        CPrintEMDoc doc;
        doc.m_bAutoDelete = FALSE;
        Clock::time_point start = Clock::now();
        const BOOL bOpened = doc.OnOpenDocument(path);
        opens.push_back(MillisecondsSince(start));
        if (!bOpened || doc.m_objects.GetCount() != kObjects) {
            std::fprintf(stderr, "bench_layout: the layout did not open whole\n");
            return 1;
        }
        // The file made in memory, without the write to the disk.
        start = Clock::now();
        std::vector<BYTE> bytes;
        const BOOL bBuilt = WriteCompoundFile(doc.MakeStorage(), bytes);
        builds.push_back(MillisecondsSince(start));
        start = Clock::now();
        const BOOL bSaved = bBuilt && doc.OnSaveDocument(path);
        saves.push_back(MillisecondsSince(start));
        if (!bSaved) {
            std::fprintf(stderr, "bench_layout: the layout could not be saved\n");
            return 1;
        }
    }
    std::filesystem::remove_all(folder);
    std::printf("layout of %d objects (%ju bytes): open median %.2f ms, save median %.2f ms (%d runs)\n",
                kObjects, static_cast<uintmax_t>(fileSize), Median(opens), Median(saves), kRuns);
    std::printf(
        "  of the save: the compound file made in memory %.2f ms; the rest is the atomic replace on disk\n",
        Median(builds));
    return 0;
}
