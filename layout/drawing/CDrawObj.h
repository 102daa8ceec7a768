// CDrawObj: what every element of a print layout has in common (a text, a rectangle or
// straight line, a table, an embedded object), and its stored form.
//
// Coordinates are 0.01 inch with the y axis up; the page is centred on the origin.
// m_position is not kept normalised: how the object was made or dragged decides whether
// left exceeds right and whether top is below bottom. Inside a rectangle means
// left <= x < right and bottom < y <= top; operations that need an ordered rectangle
// normalise a copy.
//
// Stored form (store and load walk the same order, little-endian): m_position as four
// signed 32-bit values left, top, right, bottom; m_nLineStyle WORD; m_lineColor DWORD;
// m_nFillPattern WORD; m_foreColor DWORD; m_backColor DWORD; m_bFill WORD. Words are
// written as the low 16 bits and read back zero-extended. Each derived record starts with
// this one; the document's list writes the objects with class records and schema 0.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

class CArchive;
class CDrawingDoc;
class CDC;
class CEstimateFieldData;
class CPartsFieldData;
class IDrawingView;

class CDrawObj : public CObject {
    DECLARE_SERIAL(CDrawObj)
protected:
    // Loading: the attributes come from Serialize.
    CDrawObj();

public:
    // A new object: the line and shading attributes from the application's print settings
    // ("Border Color", "Border Style", "Fill Mode", "Fill Color", "Fill Background Color",
    // "Is Fill").
    explicit CDrawObj(const CRect& position);
    ~CDrawObj() override;
    CDrawObj(const CDrawObj&) = delete;
    CDrawObj& operator=(const CDrawObj&) = delete;

    void Serialize(CArchive& ar) override;

    // Makes the object nHeight units high keeping its upper edge (of top and bottom the
    // larger stays); invalidates before and after; marks the document modified.
    virtual void SetHeight(IDrawingView* pView, int nHeight);
    // Makes the object nWidth units wide keeping its left edge (the smaller x stays).
    virtual void SetWidth(IDrawingView* pView, int nWidth);
    virtual void SetShading(BOOL bFill, int nPattern, COLORREF fore, COLORREF back);

    // Resize handles: 1 (left, top), 2 (centre x, top), 3 (right, top), 4 (right,
    // centre y), 5 (right, bottom), 6 (centre x, bottom), 7 (left, bottom), 8 (left,
    // centre y); any other number gives (left, top).
    virtual int GetHandleCount();
    virtual CPoint GetHandle(int nHandle);
    virtual HCURSOR GetHandleCursor(int nHandle);

    // Nothing when the rectangle is the current one; otherwise invalidates the old place,
    // stores the rectangle, invalidates the new place and marks the document modified.
    virtual void MoveTo(const CRect& position, IDrawingView* pView = nullptr);
    // TRUE when the normalised position and the normalised rect overlap.
    virtual BOOL Intersects(const CRect& rect);
    // TRUE when the normalised position lies wholly inside the normalised rect.
    virtual BOOL IsWithin(const CRect& rect);
    // Moves the edges of a handle to the point (a number outside 1..8 moves left and top),
    // through MoveTo.
    virtual void MoveHandleTo(int nHandle, CPoint point, IDrawingView* pView = nullptr);

    // A new object of the same class with the same rectangle and attributes; added to pDoc
    // when one is given.
    virtual CDrawObj* Clone(CDrawingDoc* pDoc = nullptr);
    // The same copy, never added to a document (undo lists own such copies).
    virtual CDrawObj* CloneForUndo(CDrawingDoc* pDoc = nullptr);
    // The double-click action: the properties.
    virtual void OnOpen(IDrawingView* pView);
    // The properties of a shape: a sheet titled "Shape Properties" with no pages of its
    // own; OK repaints the object and marks the document modified.
    virtual void OnEditProperties();
    // Destroys the object. Taking it out of its document's list is the caller's business.
    virtual void Remove();
    // Fits the object to its text; objects without text stay as they are.
    virtual void FitToText(IDrawingView* pView);
    // Drawing on paper (a printer or preview context in document units, y up) for the
    // estimate or parts list being printed. Only objects whose m_bVisible the caller set
    // draw; m_bVisible is clear afterwards. The base draws nothing.
    virtual void DrawEM(CDC* pDC, const CEstimateFieldData* pData);
    virtual void DrawPM(CDC* pDC, const CPartsFieldData* pData);

    // Drawing in the layout editor: pDC maps the view's zoomed units (y up); with no view
    // the object draws unzoomed. Only objects whose m_bVisible the view set draw; the flag is
    // clear afterwards. The base draws nothing.
    virtual void Draw(CDC* pDC, IDrawingView* pView);
    // Inverts a square at every handle for nState 1 or 2 (selected); a point that several
    // handles share is inverted once per handle, so an even count leaves it plain.
    virtual void DrawTracker(CDC* pDC, int nState, IDrawingView* pView);
    // point in zoomed units. Selected: the first handle whose square holds the point, else
    // 0. Not selected: 1 inside m_position, else 0.
    virtual int HitTest(CPoint point, IDrawingView* pView, BOOL bSelected);
    // The square of a handle, six pixels wide on the screen, in the view's zoomed units.
    CRect GetHandleRect(int nHandle, IDrawingView* pView);

    // Asks the document to repaint the object in all views (hint 1 with the object).
    void Invalidate();
    // Line colour and style of a rectangle or line; of the frame of a text.
    void SetLine(COLORREF color, int nStyle);
    void SetFrameLine(COLORREF color, int nStyle) { SetLine(color, nStyle); }

    // The attributes of another object (line, fill), as Clone copies them.
    void CopyAttributesFrom(const CDrawObj& other);

    BOOL m_bVisible = FALSE; // set by the loops that draw; never stored
    CRect m_position;
    CDrawingDoc* m_pDocument = nullptr;
    COLORREF m_lineColor = 0;
    int m_nLineStyle = 0;
    int m_nFillPattern = 0;
    COLORREF m_foreColor = 0;
    COLORREF m_backColor = 0;
    BOOL m_bFill = FALSE;

protected:
    // Repaints through the view when one is given, else through the document.
    void InvalidateIn(IDrawingView* pView);
    void MarkModified();
};

// The normalised copy of a rectangle.
CRect NormalizedRect(const CRect& rect);
// TRUE when two normalised rectangles share a non-empty area.
BOOL RectsOverlap(const CRect& a, const CRect& b);
