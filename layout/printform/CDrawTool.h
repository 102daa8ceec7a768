// CDrawTool and the drawing tools of the layout editor: selecting, moving and resizing
// (CSelectTool), making rectangles, lines and texts (CRectTool) and tables (CTableTool),
// and adding and deleting ruled lines of a table (CRuleAddTool, CRuleDeleteTool).
//
// A tool is a static object, one per shape; the view hands each left-button and mouse-move
// message to the tool of the current shape. The current shape and the drag state are
// process-wide (one user-interface thread, one drag at a time) and live in CDrawTool.
#pragma once

#include "platform/base/Types.h"

class CPrintFormView;

enum EDrawShape {
    ShapeSelect = 0,
    ShapeText = 1,
    ShapeRect = 2,
    ShapeTable = 3,
    ShapeRuleAdd = 4,
    ShapeRuleDelete = 5,
    ShapeLine = 6
};

// Select modes of a gesture.
enum ESelectMode { selectNone = 0, selectNetSelect = 1, selectMove = 2, selectSize = 3 };

class CDrawTool {
public:
    explicit CDrawTool(int nShape);
    virtual ~CDrawTool() = default;
    CDrawTool(const CDrawTool&) = delete;
    CDrawTool& operator=(const CDrawTool&) = delete;

    // The tool of a shape; null for an unknown shape.
    static CDrawTool* FindTool(int nShape);

    virtual void OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point);
    virtual void OnLButtonDblClk(CPrintFormView* pView, UINT nFlags, const CPoint& point);
    virtual void OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point);
    virtual void OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point);
    virtual void OnEditProperties(CPrintFormView* pView);
    virtual void OnCancel();

    int m_nShape;

    // Process-wide: the current shape and the drag state of the gesture under way.
    static int s_nCurrentShape;
    static CPoint s_ptDown; // zoomed units
    static CPoint s_ptLast; // client pixels
    static UINT s_nDownFlags;
    static CPoint s_ptPrev; // zoomed units
    static int s_nSelectMode;
    static int s_nDragHandle;
};

class CSelectTool : public CDrawTool {
public:
    CSelectTool();
    void OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnLButtonDblClk(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnEditProperties(CPrintFormView* pView) override;

    BOOL m_bFromCreateTool = FALSE;
    CRect m_limit;
    CPoint m_ptDrag;
    CPoint m_ptSelStart;
    CRect m_rectStart;

private:
    void ComputeMoveLimits(CPrintFormView* pView);
    CPoint ClampToLimits(CPoint point) const;
};

class CRectTool : public CDrawTool {
public:
    explicit CRectTool(int nShape);
    void OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;

    BOOL m_bInPage = FALSE;
};

class CTableTool : public CDrawTool {
public:
    CTableTool();
    void OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;

    BOOL m_bInPage = FALSE;
};

class CRuleAddTool : public CDrawTool {
public:
    CRuleAddTool();
    void OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;

    BOOL m_bDown = FALSE;
};

class CRuleDeleteTool : public CDrawTool {
public:
    CRuleDeleteTool();
    void OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;
    void OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point) override;

    int m_nDirection = -1; // 1 horizontal edge, 0 vertical edge
    BOOL m_bDown = FALSE;
    BOOL m_bOverEdge = FALSE;
};

// The table size a new table takes when a range is too small for the rows and columns
// asked: at least 16 units a cell. Returns FALSE (with nothing changed) when no cell fits.
BOOL FitTableCells(int nWidth, int nHeight, int& nCols, int& nRows, BOOL& bColsShort, BOOL& bRowsShort);
