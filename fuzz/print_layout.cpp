// Print-layout files (".MMP", ".MBP"): the compound file and its "Contents" stream, read as
// the layout documents read them. The first byte chooses what the rest is: bit 0 an
// estimate or a parts layout, bit 1 a whole compound file or the bytes of "Contents" (put
// into a compound file with one embedded picture, so that the archive reader is reached
// often). What a user relies on:
// - a compound file that does not read leaves the tree it was read into as it was; one that
//   reads writes out and reads back to the same tree;
// - a layout that does not open leaves an empty document: no objects, items or references;
// - a layout that opens saves; the saved file opens again and saves to the same "Contents"
//   and the same embedded storages (nothing is lost or changed by a second round), and
//   every embedded storage it kept is byte for byte the one in the input.
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "platform/base/CException.h"
#include "platform/base/MessageBox.h"
#include "platform/ole/CCompoundFile.h"
#include "platform/ole/COleClientItem.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

#define LAYOUT_CHECK(cond)                                                                                   \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond);                \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

std::unique_ptr<CPrintDoc> MakeLayout(bool bParts)
{
    std::unique_ptr<CPrintDoc> pDoc;
    if (bParts)
        pDoc = std::make_unique<CPrintPMDoc>();
    else
        pDoc = std::make_unique<CPrintEMDoc>();
    pDoc->m_bAutoDelete = FALSE;
    return pDoc;
}

CCompoundStorage PictureStorage()
{
    CCompoundStorage storage;
    storage.SetStream("\x01Ole", std::vector<BYTE>(20, 0));
    storage.SetStream("CONTENTS", {'P', 'I', 'C', 'T'});
    return storage;
}

void CheckEmpty(CPrintDoc& doc)
{
    LAYOUT_CHECK(doc.m_objects.IsEmpty());
    LAYOUT_CHECK(doc.GetItemCount() == 0);
    LAYOUT_CHECK(doc.GetFieldRefCount() == 0);
}

// Every item kept its storage exactly as the input had it under its name.
void CheckItemsFromInput(CPrintDoc& doc, const CCompoundStorage& input)
{
    for (POSITION pos = doc.GetStartPosition(); pos;) {
        const COleClientItem* pItem = doc.GetNextClientItem(pos);
        const CCompoundStorage* pFrom = input.FindStorage(pItem->GetStorageName());
        LAYOUT_CHECK(pItem->GetStorage() != nullptr && pFrom != nullptr);
        LAYOUT_CHECK(pItem->GetStorage()->IsSameAs(*pFrom));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool s_registered = (RegisterDrawing(), true);
    (void)s_registered;
    if (size < 1)
        return 0;
    // No screen: every message box is answered at once (the layouts report damaged files
    // and the missing printer through them).
    MessageBoxHandler previous = SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    struct CRestore {
        MessageBoxHandler& previous;
        ~CRestore() { SetMessageBoxHandler(previous); }
    } restore{previous};

    const bool bParts = (data[0] & 1) != 0;
    const bool bWholeFile = (data[0] & 2) != 0;
    const uint8_t* pBody = data + 1;
    const size_t nBody = size - 1;

    CCompoundStorage input;
    if (bWholeFile) {
        CCompoundStorage marker;
        marker.SetStream("Marker", {1, 2, 3});
        CCompoundStorage tree = marker;
        if (!ReadCompoundFile(pBody, nBody, tree)) {
            LAYOUT_CHECK(tree.IsSameAs(marker));
            return 0;
        }
        std::vector<BYTE> written;
        if (WriteCompoundFile(tree, written)) {
            CCompoundStorage again;
            LAYOUT_CHECK(ReadCompoundFile(written.data(), written.size(), again));
            LAYOUT_CHECK(again.IsSameAs(tree));
        }
        input = std::move(tree);
    } else {
        input.SetStream("Contents", std::vector<BYTE>(pBody, pBody + nBody));
        input.SetStorage("Embedding 1", PictureStorage());
    }

    std::unique_ptr<CPrintDoc> pFirst = MakeLayout(bParts);
    if (!pFirst->LoadFromStorage(input, "FUZZ")) {
        CheckEmpty(*pFirst);
        return 0;
    }
    CheckItemsFromInput(*pFirst, input);
    CCompoundStorage saved;
    try {
        saved = pFirst->MakeStorage();
    } catch (CException&) {
        // Only a layout beyond what the format can count (more than 65535 cells or
        // references) refuses to save, and none can be read from a file.
        LAYOUT_CHECK(false);
    }
    std::unique_ptr<CPrintDoc> pSecond = MakeLayout(bParts);
    LAYOUT_CHECK(pSecond->LoadFromStorage(saved, "FUZZ"));
    LAYOUT_CHECK(pSecond->m_objects.GetCount() == pFirst->m_objects.GetCount());
    LAYOUT_CHECK(pSecond->GetItemCount() == pFirst->GetItemCount());
    const CCompoundStorage savedAgain = pSecond->MakeStorage();
    LAYOUT_CHECK(savedAgain.IsSameAs(saved));
    return 0;
}
