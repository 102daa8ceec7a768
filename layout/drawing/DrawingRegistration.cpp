#include "layout/drawing/DrawingRegistration.h"

#include "layout/drawing/CDrawObj.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"

void RegisterDrawing()
{
    // The classes register their stored names when their files are linked in; naming them
    // here links them into every program that registers the drawing objects.
    CRuntimeClass* const classes[] = {RUNTIME_CLASS(CDrawObj),    RUNTIME_CLASS(CDrawRect),
                                      RUNTIME_CLASS(CDrawText),   RUNTIME_CLASS(CDrawTable),
                                      RUNTIME_CLASS(CDrawOleObj), RUNTIME_CLASS(CDrawItem)};
    for (CRuntimeClass* pClass : classes)
        CRuntimeClass::Register(pClass);
}
