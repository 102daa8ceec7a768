// The layout editor's own clipboard format, "MFC Morvel App": the selected drawing objects
// in their stored forms, as an object list (count, then each object with its class record,
// schema 0) written by an archive with a 4096-byte buffer - the same records a layout file
// holds for its objects.
//
// The bytes come from outside (another program may have put anything under the name), so
// reading trusts nothing: the count is bounded, only texts, rectangles, tables and embedded
// objects with their item are accepted (each once), every archive failure is caught, and
// on any failure nothing is returned and nothing leaks. An embedded object's item carries
// its storage inside the block (a compound file of bounded size, COleClientItem), so a
// copy between layouts keeps the item's storage byte for byte.
#pragma once

#include "platform/base/Types.h"

#include <memory>
#include <vector>

class CDrawObj;
class CDrawObjList;
class CPrintDoc;

namespace ObjectClipboard {

// Registered once per process by name.
UINT GetFormat();

// The most objects one block may carry. Far above what a page holds; it bounds what a
// damaged block can make us allocate.
constexpr unsigned long MAX_OBJECTS = 10000;

// The stored form of the objects of the list that the format carries, in list order.
// Throws what the archive throws.
std::vector<BYTE> Write(const CDrawObjList& objects);

// How many objects of the list the format carries (an embedded object without an item is
// left out).
int CountCarried(const CDrawObjList& objects);

// Reads the objects of a block. The objects' document is pDoc (they are not added to it).
// On success the objects come back in stored order and TRUE; on any failure nothing comes
// back and FALSE. The caller owns the objects (delete them with Remove()). The items of
// embedded objects belong to no document yet: AdoptItems gives them to the layout that
// takes the objects.
BOOL Read(const std::vector<BYTE>& bytes, CPrintDoc* pDoc, std::vector<CDrawObj*>& objects);

// The items of the embedded objects among the objects join the document, each with a
// number no item of it uses.
void AdoptItems(const std::vector<CDrawObj*>& objects, CPrintDoc* pDoc);

} // namespace ObjectClipboard
