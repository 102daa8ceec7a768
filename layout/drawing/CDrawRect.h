// CDrawRect: a framed (optionally shaded) rectangle or a straight line of a print layout.
// A line runs from (left, top) to (right, bottom) of m_position in any direction, so its
// rectangle is never normalised.
//
// Stored form: the CDrawObj record, m_nShape as a WORD, m_roundness as two 32-bit values
// x, y.
#pragma once

#include "layout/drawing/CDrawObj.h"

class CDrawRect : public CDrawObj {
    DECLARE_SERIAL(CDrawRect)
protected:
    CDrawRect();

public:
    enum Shape { rectangle = 0, line = 1 };

    // A new rectangle: the print-setting attributes, shape rectangle, roundness (16, 16).
    explicit CDrawRect(const CRect& position);
    ~CDrawRect() override;

    void Serialize(CArchive& ar) override;

    // A line has two handles, 1 at (left, top) and 2 at (right, bottom); handle 2 of a line
    // is handle 5 of a rectangle.
    int GetHandleCount() override;
    CPoint GetHandle(int nHandle) override;
    HCURSOR GetHandleCursor(int nHandle) override;
    void MoveHandleTo(int nHandle, CPoint point, IDrawingView* pView = nullptr) override;
    // A line's axis of zero extent is widened by 3 units on both sides first, so that
    // horizontal and vertical lines can be met.
    BOOL Intersects(const CRect& rect) override;

    CDrawObj* Clone(CDrawingDoc* pDoc = nullptr) override;
    CDrawObj* CloneForUndo(CDrawingDoc* pDoc = nullptr) override;
    void DrawEM(CDC* pDC, const CEstimateFieldData* pData) override;
    void DrawPM(CDC* pDC, const CPartsFieldData* pData) override;
    void Draw(CDC* pDC, IDrawingView* pView) override;

    int m_nShape = rectangle;
    CPoint m_roundness; // stored and copied; drawing does not use it
};
