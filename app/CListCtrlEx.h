// CListCtrlEx: the report list of the estimate dialogs (classification rates, item
// mapping), the selection list dialog and the print-layout selection pages. It is an
// owner-drawn report list that draws whole rows: the selection highlight runs across every
// column (and, with the client-width flag, to the window's right edge), texts too wide for
// their column end in "...", and grid lines separate the rows and columns. Dialogs create
// it by subclassing their list control or through data exchange and fill it as any report
// list.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"

class CDC;

class CListCtrlEx : public CListCtrl {
    DECLARE_DYNCREATE(CListCtrlEx)
public:
    CListCtrlEx();
    ~CListCtrlEx() override;

    // Full-row selection: the focus changes repaint whole highlighted rows (starts on).
    void SetFullRowSel(BOOL bFullRowSel) { m_bFullRowSel = bFullRowSel; }
    BOOL GetFullRowSel() const { return m_bFullRowSel; }
    // The highlight reaches the right edge of the window (starts on).
    void SetClientWidthSel(BOOL bClientWidthSel) { m_bClientWidthSel = bClientWidthSel; }
    BOOL GetClientWidthSel() const { return m_bClientWidthSel; }

    // The text as drawn in a column nColumnLen pixels wide with nOffset pixels of margins:
    // unchanged when it fits, otherwise cut from the end (whole characters, at least one
    // kept) until it fits with "..." appended. *pbShortened tells which.
    static CString MakeShortString(CDC* pDC, const CString& text, int nColumnLen, int nOffset,
                                   BOOL* pbShortened = nullptr);
    // Widens a column after the first so that its heading and every item's text in it show
    // whole as the list draws them (never narrower than nAtLeast).
    void FitColumnToTexts(int nCol, int nAtLeast);

    // Forces the report view and owner-drawn fixed rows.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The same for a list control of a dialog template taken over by this object.
    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg LRESULT OnSetImageList(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetTextColor(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetTextBkColor(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

protected:
    BOOL IsReportView() const;
    // The row's highlight: from the label's left edge to the row's right edge, or to the
    // window's right edge with the client-width flag.
    BOOL GetHighlightRect(int nItem, CRect& rect) const;
    // Repaints the focused row and, unless the selection stays visible without the focus,
    // every selected row (the highlight changes colour with the focus).
    void RepaintSelectedItems();
    void DrawGridLines(CDC* pDC);

    BOOL m_bFullRowSel = TRUE;
    BOOL m_bClientWidthSel = TRUE;
    int m_cxClient = 0;
    int m_cxStateImageOffset = 0;
    COLORREF m_clrText;
    COLORREF m_clrTextBk;
    COLORREF m_clrBkgnd;

private:
    // The strip right of the rows was invalidated by the last paint; the paint it caused
    // must not ask again.
    BOOL m_bStripRequested = FALSE;
};
