// Fuzz target: a ".BMP" file placed into an estimate layout as a new embedded picture
// (InsertPictureObject, the layout editor's picture command). What a user relies on:
// - a file that is not taken adds nothing: the layout keeps its objects and items;
// - a picture that is taken is one new object with one item, of a positive size, and the
//   layout then saves and reads back with the same objects and items, saving to the same
//   storage again.
#include "fuzz/support/FuzzSupport.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CPrintEMDoc.h"
#include "platform/base/CException.h"
#include "platform/ole/CCompoundFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitToolkit();
    RegisterDrawing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzMessageBoxes boxes;
    FuzzWriteNativeFile(FuzzNativeFolder() + "picture.bmp", data, size);
    auto pDoc = std::make_unique<CPrintEMDoc>();
    pDoc->m_bAutoDelete = FALSE;
    CDrawOleObj* pObj = InsertPictureObject(pDoc.get(), CPoint(100, -100), FuzzFolder() + "picture.bmp");
    if (pObj == nullptr) {
        FUZZ_CHECK(pDoc->m_objects.IsEmpty() && pDoc->GetItemCount() == 0);
        return 0;
    }
    FUZZ_CHECK(pDoc->m_objects.GetCount() == 1 && pDoc->GetItemCount() == 1);
    const CRect rc = pObj->m_position;
    FUZZ_CHECK(rc.left == 100 && rc.top == -100 && rc.right != rc.left && rc.bottom != rc.top);

    CCompoundStorage saved;
    try {
        saved = pDoc->MakeStorage();
    } catch (CException&) {
        FUZZ_CHECK(false);
    }
    auto pAgain = std::make_unique<CPrintEMDoc>();
    pAgain->m_bAutoDelete = FALSE;
    FUZZ_CHECK(pAgain->LoadFromStorage(saved, "FUZZ"));
    FUZZ_CHECK(pAgain->m_objects.GetCount() == 1 && pAgain->GetItemCount() == 1);
    FUZZ_CHECK(pAgain->MakeStorage().IsSameAs(saved));
    return 0;
}
