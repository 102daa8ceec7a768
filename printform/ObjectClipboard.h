// The layout editor's own clipboard format, "MFC Morvel App": the selected drawing objects
// in their stored forms, as an object list (count, then each object with its class record,
// schema 0) written by an archive with a 4096-byte buffer - the same records a layout file
// holds for its objects.
//
// The bytes come from outside (another program may have put anything under the name), so
// reading trusts nothing: the count is bounded, only texts, rectangles and tables are
// accepted (each once), every archive failure is caught, and on any failure nothing is
// returned and nothing leaks. Embedded objects are not carried: their item lives in the
// layout file's storage, which the clipboard block cannot hold.
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

// How many objects of the list the format carries (embedded objects are left out).
int CountCarried(const CDrawObjList& objects);

// Reads the objects of a block. The objects' document is pDoc (they are not added to it).
// On success the objects come back in stored order and TRUE; on any failure nothing comes
// back and FALSE. The caller owns the objects (delete them with Remove()).
BOOL Read(const std::vector<BYTE>& bytes, CPrintDoc* pDoc, std::vector<CDrawObj*>& objects);

} // namespace ObjectClipboard
