#include "layout/drawing/CDrawingDoc.h"

IMPLEMENT_DYNAMIC(CDrawingDoc, COleDocument)

bool CDrawingDoc::GetFieldRemap(CFieldRemap::Family, CFieldRemap&) const
{
    return false;
}
