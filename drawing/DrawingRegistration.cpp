#include "drawing/DrawingRegistration.h"

#include "drawing/CDrawObj.h"
#include "drawing/CDrawOleObj.h"
#include "drawing/CDrawRect.h"
#include "drawing/CDrawTable.h"
#include "drawing/CDrawText.h"

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
