// CDrawingDoc: what a drawing object knows of the print-layout document that owns it. The
// print-layout documents of the estimate and of the parts list (one library above) fill it
// in; the objects mark it modified, repaint themselves in its views, join it when cloned,
// keep inside its paper, read its field references and the forms its field tokens name,
// and ask it for the text-property dialog that fits its kind.
//
// It is a container document: embedded objects keep their items in it.
#pragma once

#include "layout/drawing/FieldRemap.h"
#include "platform/base/CString.h"
#include "platform/ole/COleDocument.h"

#include <vector>

class CDrawObj;
class CEstimationFormFile;
class CFieldRefRecord;
class CInformationFormFile;
class CPartFormFile;
struct CTextAttributes;

class CDrawingDoc : public COleDocument {
    DECLARE_DYNAMIC(CDrawingDoc)
public:
    // Update hints the document sends its views.
    enum { hintAll = 0, hintObject = 1, hintSelection = 2, hintDeleted = 3, hintOleObjects = 4 };

    // Appends the object on top, makes it the document's, marks the document modified.
    virtual void Add(CDrawObj* pObj) = 0;
    // The paper in 0.01 inch, and its unprintable margins (left, top, right, bottom).
    virtual CSize* GetSize() = 0;
    virtual CRect* GetPrintableRect() = 0;
    // The target device embedded items draw for (the stored one, or the screen).
    virtual void RefreshTargetDevice() = 0;

    virtual INT_PTR GetFieldRefCount() const = 0;
    virtual CFieldRefRecord* GetFieldRef(INT_PTR nIndex) const = 0;

    // The forms the layout was designed against: an estimate layout has the estimation and
    // information forms, a parts layout the parts form; the others are null.
    virtual const CEstimationFormFile* GetEstimationForm() const { return nullptr; }
    virtual const CInformationFormFile* GetInformationForm() const { return nullptr; }
    virtual const CPartFormFile* GetPartsForm() const { return nullptr; }
    bool IsEstimateLayout() const { return GetEstimationForm() != nullptr; }

    // The mapping of the family's item names from the replaced form to the form in use,
    // after a change of form; false when the layout has no form of that family.
    virtual bool GetFieldRemap(CFieldRemap::Family family, CFieldRemap& remap) const;

    // The text-property dialog of the layout's kind on the texts (texts[0] the first row)
    // and picture indexes; both change only on IDOK. Returns the dialog's result.
    virtual int EditTextProperties(std::vector<CString>& texts, CTextAttributes& attributes) = 0;

protected:
    CDrawingDoc() = default;
};
