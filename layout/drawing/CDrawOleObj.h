// CDrawOleObj: an embedded or linked object placed on a print layout, and CDrawItem, its
// client item. The item is the platform's stand-in (COleClientItem): it keeps the object's
// storage byte for byte and knows its extent and cached picture; nothing runs it.
//
// Stored form of CDrawOleObj: the CDrawObj record; m_extent as two 32-bit values cx, cy;
// the client item as an archive object (class record "CDrawItem" on first use, then the
// client item's own record). On load the item points back to its object.
#pragma once

#include "layout/drawing/CDrawObj.h"
#include "platform/ole/COleClientItem.h"

class CDrawItem;

class CDrawOleObj : public CDrawObj {
    DECLARE_SERIAL(CDrawOleObj)
protected:
    CDrawOleObj();

public:
    // No item yet, extent (0, 0), owning the item it will get.
    explicit CDrawOleObj(const CRect& position);
    // Releases the item when the object owns it.
    ~CDrawOleObj() override;

    void Serialize(CArchive& ar) override;
    // Copies of the object get a copy of the item's storage; the copy takes the line colour
    // and style (not the fill). Failure to copy the item raises a memory exception after
    // the half-made copy is gone.
    CDrawObj* Clone(CDrawingDoc* pDoc = nullptr) override;
    // Shares the item unless m_bCloneItem asks for a copy.
    CDrawObj* CloneForUndo(CDrawingDoc* pDoc = nullptr) override;
    // Deletes the item when the object owns it, then the object.
    void Remove() override;
    void MoveTo(const CRect& position, IDrawingView* pView = nullptr) override;
    // The cached picture when the item has one, else a placeholder; the frame while object
    // frames are shown.
    void Draw(CDC* pDC, IDrawingView* pView) override;
    // Nothing runs the item here: opening says so (and changes nothing).
    void OnOpen(IDrawingView* pView) override;
    // The item's properties (type, embedded or linked, size, data, scale fixed at 100 %).
    void OnEditProperties() override;
    // On paper: the item's picture in m_position (CDrawItem::PrintDraw), whatever
    // m_bVisible says. Nothing without an item or without data being printed.
    void DrawEM(CDC* pDC, const CEstimateFieldData* pData) override;
    void DrawPM(CDC* pDC, const CPartsFieldData* pData) override;
    // In the editor: the item's picture (or a framed box with its type name) in rect, the
    // object's rectangle as the view shows it; on a screen also the object frame while
    // CDrawingShared::s_bShowObjectFrames is set: solid for an embedded item, dotted for a
    // linked one. The editing view's Draw calls this with its zoomed rectangle.
    void DrawItemIn(CDC* pDC, const CRect& rect);

    CDrawItem* m_pClientItem = nullptr;
    CSize m_extent; // HIMETRIC, as last seen
    BOOL m_bOwnsItem = TRUE;
    BOOL m_bCloneItem = FALSE;
};

class CDrawItem : public COleClientItem {
    DECLARE_SERIAL(CDrawItem)
public:
    explicit CDrawItem(COleDocument* pContainer = nullptr, CDrawOleObj* pDrawObj = nullptr);
    // Clears the owner's pointer to it.
    ~CDrawItem() override;

    // Reads the item's extent; FALSE when it has none or it is unchanged. The first extent
    // sizes the owner (right = left + cx·10/254, bottom = top − cy·10/254); a later one
    // scales the owner's current rectangle by the change.
    BOOL UpdateExtent();

    void Serialize(CArchive& ar) override;

    // A changed state or aspect repaints the owner, after what every item does.
    void OnChange(OLE_NOTIFICATION nCode, DWORD dwParam) override;
    // The server moved or sized the item in its view: a rectangle (client coordinates of
    // the active view) that puts the owner elsewhere moves it there, takes the item's
    // extent as it is now and changes the layout; then the in-place window follows.
    BOOL OnChangeItemPosition(const CRect& rectPos) override;
    // Where the owner is, in client coordinates of the active view (in layout units when
    // the item runs in no view). An owner without area is first sized from the item's
    // extent: this is how a new object gets its size.
    void OnGetItemPosition(CRect& rPosition) override;
    // Only one item of the layout runs in place in a view: any other one active in the
    // same view is closed first.
    void OnActivate() override;
    // An inside-out item is hidden once its user interface goes, leaving its place in the
    // view.
    void OnDeactivateUI(BOOL bUndoable) override;

    // The item's picture on a printer context, into rect: the document's target device is
    // refreshed first. FALSE when the item has no storage or no picture, the context does
    // not print, or the item belongs to no document.
    BOOL PrintDraw(CDC* pDC, const CRect& rect);

    CDrawOleObj* m_pDrawObj = nullptr;
    // Set once an object has taken the item while a file is read.
    BOOL m_bClaimed = FALSE;
};

// HIMETRIC (0.01 mm) to object units (0.01 inch): MulDiv(value, 10, 254).
int HimetricToObjectUnits(int nValue);

// The picture of an item drawn into rect: its cached bitmap stretched over it, or, when it
// has none that can be read, a framed box with the item's type name. FALSE for the box.
BOOL DrawItemPicture(CDC* pDC, const COleClientItem* pItem, const CRect& rect);

// A new embedded picture from a ".BMP" file, placed with its upper left corner at topLeft
// and sized from the picture's extent, added to the document. Null, with nothing left in
// the document, when the file cannot be read or holds no picture that can be shown; the
// caller says "ｵﾌﾞｼﾞｪｸﾄ挿入ができません。".
CDrawOleObj* InsertPictureObject(CDrawingDoc* pDoc, const CPoint& topLeft, const CString& strPath);
