// CSplitterWnd: a window divided into rows and columns of panes (views), with bars between
// them that the user drags to share the room.
//
// A static splitter has a fixed number of panes, created with CreateView; a pane whose
// column (or row) is given a size below its minimum is collapsed to nothing. A dynamic
// splitter starts with one pane and splits into at most 2 x 2 when the user drags the
// split boxes at the ends of its scroll bars (or by SplitRow/SplitColumn); the panes of a
// column share one horizontal scroll bar and the panes of a row one vertical scroll bar.
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinDefs.h"

#include <vector>

class CScrollBar;
class CView;
struct CCreateContext;

// Splitter window styles.
constexpr DWORD SPLS_DYNAMIC_SPLIT = 0x0001;
constexpr DWORD SPLS_INVERT_TRACKER = 0x0002;

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd();
    ~CSplitterWnd() override;

    // A dynamic splitter of at most nMaxRows x nMaxCols (each 1 or 2) whose panes are at
    // least sizeMin; the first pane is a view of pContext's class.
    BOOL Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT,
                UINT nID = AFX_IDW_PANE_FIRST);
    // A static splitter of nRows x nCols panes (at most 16 each); the panes are made with
    // CreateView afterwards.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // A view of pViewClass in pane (row, col), sizeInit giving the ideal width of its column
    // and height of its row.
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                            CCreateContext* pContext);

    // ---- layout -------------------------------------------------------------------------
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetMaxRowCount() const { return m_nMaxRows; }
    int GetMaxColumnCount() const { return m_nMaxCols; }
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    // Places the panes, bars and scroll bars for the current sizes.
    virtual void RecalcLayout();

    // ---- panes --------------------------------------------------------------------------
    CWnd* GetPane(int row, int col) const;
    // Whether pWnd is one of the panes, and where.
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    // The frame's active view when it is a pane here, else the pane with the focus.
    virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
    virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);

    // ---- dynamic splitting --------------------------------------------------------------
    // Splits the last row (column) so that the upper (left) part keeps cyBefore (cxBefore)
    // pixels. FALSE when that is not possible.
    virtual BOOL SplitRow(int cyBefore);
    virtual BOOL SplitColumn(int cxBefore);
    virtual void DeleteRow(int rowDelete);
    virtual void DeleteColumn(int colDelete);
    // The shared scroll bar of a column (SB_HORZ) or row (SB_VERT) of a dynamic splitter.
    CScrollBar* GetSharedScrollBar(int nBar, int row, int col) const;

    // The width of the bar between panes, in pixels.
    static constexpr int cxSplitter = 6;
    static constexpr int cySplitter = 6;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnCancelMode();

    DECLARE_MESSAGE_MAP()

protected:
    struct CRowColInfo {
        int nMinSize = 0;
        int nIdealSize = 0;
        int nCurSize = 0;
    };
    // What a point of the splitter's own area is.
    enum HitTest {
        noHit = 0,
        vSplitterBox = 1,
        hSplitterBox = 2,
        bothSplitterBox = 3,
        vSplitterBar1 = 101,
        hSplitterBar1 = 201,
        splitterIntersection1 = 301
    };
    int HitTestPoint(CPoint pt) const;
    void StartTracking(int ht, CPoint pt);
    void StopTracking(BOOL bAccept);
    // The client area the panes share (less the scroll bars of a dynamic splitter).
    CRect GetInsideRect() const;
    BOOL CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID);
    BOOL CreateScrollBarCtrl(DWORD dwStyle, UINT nID);

    int m_nMaxRows = 0;
    int m_nMaxCols = 0;
    int m_nRows = 0;
    int m_nCols = 0;
    BOOL m_bHasHScroll = FALSE;
    BOOL m_bHasVScroll = FALSE;
    BOOL m_bDynamic = FALSE;
    CRuntimeClass* m_pDynamicViewClass = nullptr;
    std::vector<CRowColInfo> m_rowInfo;
    std::vector<CRowColInfo> m_colInfo;
    CSize m_sizeMin;
    std::vector<CScrollBar*> m_hScrollBars; // one per column (dynamic splitters)
    std::vector<CScrollBar*> m_vScrollBars; // one per row

    // Tracking a bar or a split box with the mouse.
    BOOL m_bTracking = FALSE;
    int m_htTrack = noHit;
    CPoint m_ptTrackStart;
};
