// The state of a live window behind its HWND (platform/ui internal; also for the tests).
//
// Handles are serial numbers that are never reused, so a handle kept after its window went
// away is simply unknown (IsWindow FALSE) instead of naming some later window.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinDefs.h"

#include <QImage>
#include <QPointer>
#include <QRegion>

#include <map>
#include <vector>

class CDC;
class CWndClientWidget;
class CWndFrameWidget;
class QTimer;
class QWidget;
class QEvent;

struct CScrollBarState {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 0, 0, 0};
    bool visible = false;
    bool enabled = true;
};

struct CWndState {
    HWND hWnd = nullptr;
    CWnd* pWnd = nullptr;                // the object receiving the messages
    QPointer<QWidget> widget;            // the whole window
    QPointer<QWidget> client;            // the client area (== widget for native windows)
    CWndFrameWidget* frame = nullptr;    // self-drawn windows: the outer widget
    CWndClientWidget* surface = nullptr; // self-drawn windows: the painted client area

    CString className;
    UINT classStyle = 0;
    HCURSOR hClassCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    HICON hIcon = nullptr;
    HICON hIconSmall = nullptr;

    DWORD style = 0;
    DWORD exStyle = 0;
    UINT nID = 0;
    HWND hWndParent = nullptr;  // child windows
    HWND hWndOwner = nullptr;   // top-level windows
    std::vector<HWND> children; // in creation (z) order
    CString text;
    HFONT hFont = nullptr;
    HMENU hMenu = nullptr;
    bool destroying = false;
    bool created = false;   // WM_CREATE done
    bool redraw = true;     // WM_SETREDRAW
    CSize lastSize{-1, -1}; // the client size last reported with WM_SIZE
    int wheelRemainder = 0;

    // Painting (self-drawn windows).
    QRegion invalid; // client coordinates
    bool eraseNeeded = false;
    bool paintPosted = false;

    CScrollBarState scroll[2]; // SB_HORZ, SB_VERT
    std::map<UINT_PTR, QTimer*> timers;
    std::map<UINT_PTR, TIMERPROC> timerProcs;

    bool IsSelfDrawn() const { return surface != nullptr; }
};

// The state of a live window; null for an unknown handle.
CWndState* AfxGetWndState(HWND hWnd);
// Every live window in creation order (tests and the window walks).
std::vector<HWND> AfxGetAllWindows();

// Sends a message to a window through its procedure, as SendMessage does, recording it as
// the current message. Returns 0 for a dead window.
LRESULT AfxCallWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The window layer's standard default handling of a message (what DefWindowProc does for
// windows of classes without a procedure of their own).
LRESULT AfxStdDefWindowProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// While a message that came from a Qt event is being handled: tells the layer to let the
// native widget handle that Qt event as well (what DefWindowProc means for controls).
void AfxPassEventToQt();
BOOL AfxIsDispatchingQtEvent();

// A window was told of something the user did by a way other than input or the message
// queue (a control's notification to its parent): the idle pass runs when the loop next
// waits, as it does after input. Nothing while the idle pass itself runs.
void AfxRequestIdle();

// The client area changed size (or may have): resizes the back buffer, invalidates what
// became visible and sends WM_SIZE when the size differs from the one last reported.
void AfxClientSizeChanged(HWND hWnd);

// Paints a self-drawn window now when anything in it is invalid (WM_PAINT).
void AfxPaintWindowNow(HWND hWnd);
// The back buffer of a self-drawn window (null for others).
QImage* AfxGetBackBuffer(HWND hWnd);
// Shows a part of the back buffer on the screen (client coordinates).
void AfxFlushBackBuffer(HWND hWnd, const QRect& rect);
void AfxFlushBackBuffer(HWND hWnd, const QRegion& region);
// A context drawing on a window outside WM_PAINT (CClientDC, CWindowDC) draws on its back
// buffer. Windows without one (and no window at all) still get a context that measures text
// and reports the screen's resolution: it draws into a small scratch image. On release
// what was drawn is shown.
void AfxAttachWindowDC(CDC& dc, HWND hWnd);
void AfxReleaseWindowDC(CDC& dc, HWND hWnd);
