// CAutoScrollWnd: middle-button auto-scrolling of the grid views and the print-form view.
// A middle click shows a small round badge at the pointer; while it is up, holding the
// pointer 24 pixels or more away from where the click was scrolls the view one line in
// that direction every 10 ms (the pointer's shape shows the direction). The next middle
// click, or the badge losing the focus, ends it: the badge goes and the pointer returns.
//
//   (new CAutoScrollWnd)->StartAutoScroll(this);   // in a view's OnMButtonDown
//
// The object deletes itself when its window goes, and at once when the view cannot
// scroll at all.
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/gdi/GdiObjects.h"

class CAutoScrollWnd : public CWnd {
    DECLARE_DYNAMIC(CAutoScrollWnd)
public:
    static constexpr UINT_PTR TIMER_ID = 1968;
    static constexpr UINT TIMER_PERIOD = 10; // ms
    static constexpr int LINE_DISTANCE = 24; // pixels from the origin per scrolling speed
    static constexpr int NEUTRAL_RADIUS = 5; // closer than this (both ways) is neutral
    static constexpr int POINTER_SHIFT = 15; // the pointer moves this far up and left
    static constexpr int WINDOW_SIZE = 30;
    static constexpr int PICTURE_SIZE = 26; // one picture of bitmap 135

    enum Direction { DirNeutral, DirUp, DirDown, DirLeft, DirRight };

    CAutoScrollWnd();
    ~CAutoScrollWnd() override;

    // Starts auto-scrolling pView. Returns FALSE when the view can scroll neither way (or
    // the badge could not be shown); this object is deleted then and must not be used.
    BOOL StartAutoScroll(CWnd* pView);

    // The direction a pointer offset (dx, dy) from the origin asks for, and its distance.
    static Direction ClassifyOffset(int dx, int dy, int& nDistance);

    // The auto-scrolling running now (it holds the mouse), or null.
    // (Kept in CShellState: there is one mouse, so one auto-scrolling for the process.)
    static CAutoScrollWnd* GetActive();

    CPoint GetOrigin() const { return m_ptOrigin; }
    // Where the shown picture starts in bitmap 135: 0 both ways, 26 horizontal only, 52
    // vertical only.
    int GetBitmapOffset() const { return m_nBitmapOffset; }
    Direction GetDirection() const { return m_nDirection; }

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

protected:
    void PostNcDestroy() override;
    // One line of scrolling of the view (WM_VSCROLL or WM_HSCROLL with the view's bar).
    void ScrollView(UINT nMsg, UINT nCode, int nBar);
    void Finish();

    CWnd* m_pView = nullptr;
    HWND m_hWndView = nullptr;
    CPoint m_ptOrigin;
    CBitmap m_bitmap;
    UINT_PTR m_nTimer = 0;
    int m_nBitmapOffset = 0;
    BOOL m_bNoVertical = FALSE;
    BOOL m_bNoHorizontal = FALSE;
    Direction m_nDirection = DirNeutral;
    BOOL m_bFinishing = FALSE;
    BOOL m_bWindowMade = FALSE;
};
