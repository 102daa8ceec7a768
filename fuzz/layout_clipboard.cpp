// The layout editor's clipboard data ("MFC Morvel App"): drawing objects as an object list,
// read when the user pastes. What a user relies on:
// - data that does not read gives no objects and leaves the layout as it was (no object,
//   no embedded item, not modified);
// - data that reads gives at most the bounded number of objects, none of them in the
//   layout yet, each of the three kinds the editor copies; written out and read again
//   they give the same objects and the same bytes (nothing lost on a copy after a paste).
#include "layout/drawing/CDrawObj.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CDrawObjList.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/ObjectClipboard.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

#define CLIP_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond);                \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

void CheckUntouched(CPrintDoc& doc)
{
    CLIP_CHECK(doc.m_objects.IsEmpty());
    CLIP_CHECK(doc.GetItemCount() == 0);
    CLIP_CHECK(!doc.IsModified());
}

void Free(std::vector<CDrawObj*>& objects)
{
    for (CDrawObj* p : objects) {
        p->m_pDocument = nullptr;
        p->Remove();
    }
    objects.clear();
}

std::vector<BYTE> WriteAll(const std::vector<CDrawObj*>& objects)
{
    CDrawObjList list;
    for (CDrawObj* p : objects)
        list.AddTail(p);
    return ObjectClipboard::Write(list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool s_registered = (RegisterDrawing(), true);
    (void)s_registered;
    CPrintEMDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetModifiedFlag(FALSE);
    const std::vector<BYTE> bytes(data, data + size);
    std::vector<CDrawObj*> objects;
    const BOOL bRead = ObjectClipboard::Read(bytes, &doc, objects);
    CheckUntouched(doc);
    if (!bRead) {
        CLIP_CHECK(objects.empty());
        return 0;
    }
    CLIP_CHECK(objects.size() <= ObjectClipboard::MAX_OBJECTS);
    for (CDrawObj* p : objects)
        CLIP_CHECK(p->m_pDocument == &doc);

    const std::vector<BYTE> first = WriteAll(objects);
    std::vector<CDrawObj*> again;
    CLIP_CHECK(ObjectClipboard::Read(first, &doc, again));
    CLIP_CHECK(again.size() == objects.size());
    const std::vector<BYTE> second = WriteAll(again);
    CLIP_CHECK(first == second);
    CheckUntouched(doc);
    Free(objects);
    Free(again);
    return 0;
}
