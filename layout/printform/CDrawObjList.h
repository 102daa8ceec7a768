// CDrawObjList: a list of drawing objects, back to front (the head is drawn first, the
// tail lies on top). The print-layout document owns the objects of its list; the editing
// view's selection and undo lists use the same type without owning.
#pragma once

#include "layout/drawing/CDrawObj.h"
#include "platform/base/Collections.h"

class CDrawObjList : public CTypedPtrList<CObList, CDrawObj*> {
public:
    explicit CDrawObjList(INT_PTR nBlockSize = 10) : CTypedPtrList<CObList, CDrawObj*>(nBlockSize) {}
};
