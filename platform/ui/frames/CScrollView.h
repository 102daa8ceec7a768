// CScrollView: a view larger than its window, with scroll bars. SetScrollSizes gives the
// size of the whole drawing in the mapping mode's units; OnPrepareDC moves the viewport
// origin so that OnDraw draws in those units as if the view were not scrolled. When the
// window is larger than the drawing, the drawing is centred; a change of the window's size
// that moves the centred drawing repaints all of the window, since what the window shows
// elsewhere was drawn where the drawing stood before.
#pragma once

#include "platform/ui/frames/CView.h"

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
protected:
    CScrollView();

public:
    ~CScrollView() override;

    // "Use the default" for the page and line sizes of SetScrollSizes.
    static const SIZE sizeDefault;

    // Total size, page and line steps in logical units of nMapMode (MM_TEXT, MM_LOENGLISH,
    // MM_HIENGLISH, MM_LOMETRIC, MM_HIMETRIC, MM_TWIPS). sizeDefault: a page is a tenth of
    // the total, a line a tenth of a page.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    // The scroll position in logical units and in pixels.
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const;
    // Scrolls so that the logical point is at the window's top-left corner (within range).
    void ScrollToPosition(POINT pt);
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    int GetMapMode() const { return m_nMapMode; }
    // Fills the part of the window outside the drawing.
    void FillOutsideRect(CDC* pDC, class CBrush* pBrush);

    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE) override;
    BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    DECLARE_MESSAGE_MAP()

protected:
    // Shows or hides the scroll bars and sets their ranges for the window's size.
    void UpdateBars();
    // Whether the bar has anything to scroll.
    BOOL CanScroll(int nBar) const;
    // Logical to device sizes for the mapping mode at 96 pixels per inch.
    CSize LogicalToDevice(CSize size) const;
    CSize DeviceToLogical(CSize size) const;
    // Where the centred drawing's top-left corner stands in the window when it is narrower
    // or lower than the window (0 on an axis where it is not).
    CPoint GetCentringOffset() const;

    int m_nMapMode = 0;
    CSize m_totalLog; // the drawing, logical units
    CSize m_totalDev; // the drawing, pixels
    CSize m_pageDev;  // one page step, pixels
    CSize m_lineDev;  // one line step, pixels
    BOOL m_bCenter = TRUE;
    BOOL m_bInsideUpdate = FALSE;
    CPoint m_ptCentring; // the centring offset the window was last laid out with
};
