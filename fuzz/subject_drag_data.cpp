// The drag data of a subject dragged between subject trees ("MORVEL EMTREEVIEW"): bytes from
// another window, possibly of another program. What the user relies on:
// - data the reader refuses, or that ends early, is refused as a whole (a refused form says
//   so once); nothing of it is taken;
// - data that was read goes into an estimate's rows, and what the rows hold is written out
//   and read back unchanged;
// - dropped on an item of the subject tree of an estimate window (the sample estimate, the
//   item chosen by the data's length), data the tree refuses leaves the estimate byte for
//   byte as it was; data it takes stands in the rows after the drop's insertion row, and
//   the estimate saves and opens again with the same rows.
#include "app/CChildEMFrame.h"
#include "app/CMorvelApp.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateRegistration.h"
#include "estimate_tools/CMorvelEMTreeView.h"
#include "estimate_tools/CSubjectDragData.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/OleData_p.h"

#include <QApplication>
#include <QMimeData>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int Signed16(int nValue)
{
    return static_cast<short>(static_cast<unsigned>(nValue) & 0xFFFFu);
}

// Reads both halves as a drop does; 0 when the data was taken, -1 when refused.
int ReadDragData(CArchive& ar, CSubjectDragData& data, size_t& nBoxesAfterForm, FuzzMessageBoxes& boxes)
{
    if (!data.ReadForm(ar))
        return -1;
    nBoxesAfterForm = boxes.texts.size();
    return data.ReadRows(ar) ? 0 : -1;
}

// The program with the sample estimate open in its window (the subject tree beside the
// grid), opened again after every drop that changed it.
CMorvelApp* g_pApp = nullptr;
CMorvelEMDoc* g_pWindowDoc = nullptr;

CString SampleEstimatePath()
{
    return SystemPathFromNative(FuzzNativeFolder() + "WORK") + "\\" + "サンプル見積.MMD"_sj;
}

void OpenSampleWindow()
{
    g_pWindowDoc = dynamic_cast<CMorvelEMDoc*>(g_pApp->OpenDocumentFile(SampleEstimatePath()));
    FUZZ_CHECK(g_pWindowDoc != nullptr && g_pWindowDoc->GetEstimateView() != nullptr);
    // The window lays itself out and fills its tree as it does on the screen.
    QApplication::processEvents();
}

std::vector<uint8_t> WindowState()
{
    CMorvelEMView* pView = g_pWindowDoc->GetEstimateView();
    std::vector<uint8_t> bytes = FuzzStore([](CArchive& ar) { g_pWindowDoc->Serialize(ar); });
    for (int n : {pView->GetUsedRows(), g_pWindowDoc->IsModified() ? 1 : 0})
        bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&n),
                     reinterpret_cast<const uint8_t*>(&n + 1));
    return bytes;
}

// The bytes dropped on an item of the window's subject tree, as a drag from another window
// brings them.
void CheckDropOnTree(const uint8_t* data, size_t size, const CSubjectDragData* pRead)
{
    auto* pFrame = dynamic_cast<CChildEMFrame*>(g_pWindowDoc->GetEstimateView()->GetParentFrame());
    FUZZ_CHECK(pFrame != nullptr);
    auto* pTree = dynamic_cast<CMorvelEMTreeView*>(pFrame->GetTreeView());
    FUZZ_CHECK(pTree != nullptr && pTree->GetEntryCount() > 0);
    const CMorvelEMTreeView::CTreeEntry target =
        pTree->GetEntry(static_cast<int>(size % pTree->GetEntryCount()));
    CTreeCtrl& tree = pTree->GetTreeCtrl();
    tree.EnsureVisible(target.hItem);
    CRect rcItem;
    FUZZ_CHECK(tree.GetItemRect(target.hItem, &rcItem, TRUE));
    const CPoint point(rcItem.left + 2, (rcItem.top + rcItem.bottom) / 2);

    QMimeData mime;
    mime.setData(AfxMimeTypeOfFormat(CMorvelEMTreeView::GetClipboardFormat()),
                 QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    COleDataObject object;
    object.Attach(&mime);
    const std::vector<uint8_t> before = WindowState();
    const int nUsedBefore = g_pWindowDoc->GetEstimateView()->GetUsedRows();
    FuzzMessageBoxes boxes;
    const BOOL bTaken = pTree->OnDrop(&object, DROPEFFECT_COPY, point);
    object.Release();
    // A refusal says so at most once (another form, a lower level, the file's row limit).
    FUZZ_CHECK(boxes.texts.size() <= 1);
    if (!bTaken) {
        FUZZ_CHECK(pTree->IsDropRefused());
        FUZZ_CHECK(WindowState() == before);
        return;
    }
    // Only data the reader takes whole can be dropped; its rows follow the insertion row.
    FUZZ_CHECK(pRead != nullptr && boxes.texts.empty());
    CMorvelEMView* pView = g_pWindowDoc->GetEstimateView();
    FUZZ_CHECK(pView->GetUsedRows() == nUsedBefore + pRead->GetRowCount());
    const int nFirst = pTree->GetInsertRow() + 1;
    for (int k = 0; k < pRead->GetRowCount(); ++k) {
        const CSubjectDragData::CRow& row = pRead->m_rows[static_cast<size_t>(k)];
        FUZZ_CHECK(pView->GetRowKind(nFirst + k) == row.nKind);
        // The rows keep texts: a parameter text ends at a zero byte in it.
        FUZZ_CHECK(pView->GetRowParamText1(nFirst + k) == CString(row.strParamText1.c_str()));
        FUZZ_CHECK(pView->GetRowParamText2(nFirst + k) == CString(row.strParamText2.c_str()));
    }
    // Saved and opened again (without a window): the same rows.
    const CString path = FuzzFolder() + "dropped.mmd";
    FUZZ_CHECK(g_pWindowDoc->OnSaveDocument(path));
    auto* pAgain = new CMorvelEMDoc;
    auto* pAgainView = new CMorvelEMView;
    pAgain->m_bAutoDelete = FALSE;
    pAgain->AddView(pAgainView);
    FUZZ_CHECK(pAgain->OnOpenDocument(path));
    FUZZ_CHECK(pAgainView->GetUsedRows() == pView->GetUsedRows());
    for (int r = 0; r < pView->GetUsedRows(); ++r) {
        FUZZ_CHECK(pAgainView->GetRowKind(r) == pView->GetRowKind(r));
        for (int c = 0; c < pView->GetColumnCount(); ++c)
            FUZZ_CHECK(pAgainView->GetCellText(r, c) == pView->GetCellText(r, c));
    }
    FUZZ_CHECK(boxes.texts.empty());
    delete pAgainView;
    delete pAgain;
    // The next input meets the sample as it is on disk.
    g_pWindowDoc->OnCloseDocument();
    OpenSampleWindow();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Start-up may move the process into the work folder; libFuzzer still has to start its
    // workers and write their logs where it was started.
    const std::filesystem::path started = std::filesystem::current_path();
    FuzzInitToolkit();
    const std::filesystem::path root = FuzzNativeFolder();
    for (const char* folder : {"MASTER", "FORM", "WORK"}) {
        std::filesystem::create_directories(root / folder);
        for (const auto& entry : std::filesystem::directory_iterator(
                 std::filesystem::path(MORVEL_SOURCE_DIR) / "samples" / folder)) {
            const std::vector<uint8_t> bytes = FuzzReadNativeFile(entry.path().string());
            FuzzWriteNativeFile((root / folder / entry.path().filename()).string(), bytes.data(),
                                bytes.size());
        }
    }
    std::filesystem::create_directories(root / "lock");
    {
        CProfileFile profile(FuzzFolder() + "morvel.ini");
        profile.WriteProfileString("Path Setting", "Work Drive", "C");
        profile.WriteProfileString("Path Setting", "Work Field",
                                   SystemPathFromNative((root / "WORK").string()));
        for (const char* key : {"Estimation Form", "Parts Form", "Information Form"})
            profile.WriteProfileString("Path Setting", key, SystemPathFromNative((root / "FORM").string()));
        profile.WriteProfileString("Path Setting", "Other Form",
                                   SystemPathFromNative((root / "MASTER").string()));
        profile.WriteProfileString("Form File Name Setting", "Estimation Form Name", "meisai.MMK");
        profile.WriteProfileString("Form File Name Setting", "Information Form Name", "JYOUHOU.MJK");
        profile.WriteProfileString("Form File Name Setting", "Part Form Name", "BUZAI.MBK");
        profile.WriteProfileString("Input Setting", "Backup File", "1");
    }
    setenv("MORVEL_INI", (FuzzNativeFolder() + "morvel.ini").c_str(), 1);
    setenv("MORVEL_LOCK_DIR", (root / "lock").c_str(), 1);
    RegisterEstimate();
    RegisterEstimateTools();
    g_pApp = new CMorvelApp; // lives until the process ends
    g_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
    FUZZ_CHECK(g_pApp->InitInstance() && g_pApp->m_pMainWnd != nullptr);
    g_pApp->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
    OpenSampleWindow();
    std::filesystem::current_path(started);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzMessageBoxes boxes;
    CSubjectDragData drag;
    size_t nBoxesAfterForm = 0;
    const int nResult =
        FuzzLoad(data, size, [&](CArchive& ar) { return ReadDragData(ar, drag, nBoxesAfterForm, boxes); });
    // Only a refused form speaks, once; the rest is refused silently, and nothing of refused
    // rows is taken.
    FUZZ_CHECK(boxes.texts.size() <= 1);
    if (nResult != 0) {
        FUZZ_CHECK(drag.m_rows.empty() && drag.m_nColumns == 0 && drag.m_nKind == 0);
        CheckDropOnTree(data, size, nullptr);
        return 0;
    }
    FUZZ_CHECK(boxes.texts.empty());
    FUZZ_CHECK(drag.m_nColumns >= 0 && drag.m_nColumns <= CSubjectDragData::MAX_COLUMNS);
    for (const CSubjectDragData::CRow& row : drag.m_rows)
        FUZZ_CHECK(static_cast<int>(row.cells.size()) == drag.m_nColumns &&
                   static_cast<int>(row.indents.size()) == drag.m_nColumns);

    // The rows go into an estimate that uses the dragged form, as a drop inserts them.
    auto* pDoc = new CMorvelEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    pDoc->m_EstimationForm = drag.m_Form;
    pDoc->m_strEstimationFormName = drag.m_strFormName;
    auto* pView = new CMorvelEMView;
    pDoc->AddView(pView);
    pView->SetupFromDocument();
    const int nRows = std::min(drag.GetRowCount(), pView->GetRowLimit() - 2);
    for (int k = 0; k < nRows; ++k) {
        const CSubjectDragData::CRow& row = drag.m_rows[static_cast<size_t>(k)];
        pView->InsertRow(k);
        for (int c = 0; c < drag.m_nColumns; ++c) {
            pView->SetCellText(row.cells[static_cast<size_t>(c)], k, c, TRUE);
            pView->SetCellIndent(row.indents[static_cast<size_t>(c)], k, c);
        }
        pView->SetRowKind(row.nKind, k);
        pView->SetRowParam3(row.nParam3, k);
        pView->SetRowParamText1(row.strParamText1, k);
        pView->SetRowParam1(row.nParam1, k);
        pView->SetRowParam2(row.nParam2, k);
        pView->SetRowParamText2(row.strParamText2, k);
    }

    // What the rows hold now is dragged on: written and read back, it is the same.
    const std::vector<uint8_t> bytes =
        FuzzStore([&](CArchive& ar) { CSubjectDragData::Write(ar, *pView, drag.m_nKind, 0); });
    CSubjectDragData again;
    FUZZ_CHECK(FuzzLoad(bytes.data(), bytes.size(),
                        [&](CArchive& ar) { return ReadDragData(ar, again, nBoxesAfterForm, boxes); }) == 0);
    FUZZ_CHECK(boxes.texts.empty());
    FUZZ_CHECK(again.m_Form.IsSameForm(pDoc->m_EstimationForm));
    FUZZ_CHECK(again.m_nColumns == pView->GetColumnCount());
    FUZZ_CHECK(again.m_nKind == (drag.m_nKind & 0xFFFF));
    for (int k = 0; k < again.GetRowCount(); ++k) {
        const CSubjectDragData::CRow& row = again.m_rows[static_cast<size_t>(k)];
        for (int c = 0; c < again.m_nColumns; ++c) {
            FUZZ_CHECK(row.cells[static_cast<size_t>(c)] == pView->GetCellText(k, c));
            FUZZ_CHECK(row.indents[static_cast<size_t>(c)] == Signed16(pView->GetCellIndent(k, c)));
        }
        FUZZ_CHECK(row.nKind == (pView->GetRowKind(k) & 0xFFFF));
        FUZZ_CHECK(row.nParam1 == Signed16(pView->GetRowParam1(k)));
        FUZZ_CHECK(row.nParam2 == Signed16(pView->GetRowParam2(k)));
        FUZZ_CHECK(row.nParam3 == Signed16(pView->GetRowParam3(k)));
        FUZZ_CHECK(row.strParamText1 == pView->GetRowParamText1(k));
        FUZZ_CHECK(row.strParamText2 == pView->GetRowParamText2(k));
    }
    delete pView;
    delete pDoc;
    CheckDropOnTree(data, size, &drag);
    return 0;
}
