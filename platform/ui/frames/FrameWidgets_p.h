// The Qt side of frames and bars (platform/ui internal; also for the tests): the window
// classes of frame windows, the MDI client, tool bars and status bars, and the widgets
// behind them.
//
// A frame window is a Qt main window: its bars sit in the main window's tool-bar areas and
// status-bar slot, and the window with id AFX_IDW_PANE_FIRST is its central widget. A
// document window (an MDI child frame) is such a main window inside a sub-window of the
// MDI area.
#pragma once

#include "platform/ui/core/WinDefs.h"

#include <QAbstractNativeEventFilter>
#include <QMainWindow>
#include <QMargins>
#include <QMenuBar>
#include <QRect>
#include <QStatusBar>
#include <QToolBar>

class QMdiArea;
class QMdiSubWindow;

// Window class names.
extern const char* const AFX_WNDFRAME_CLASS;     // frames (top-level and MDI children)
extern const char* const AFX_WNDMDICLIENT_CLASS; // "MDICLIENT"
extern const char* const AFX_WNDTOOLBAR_CLASS;   // "ToolbarWindow32"
extern const char* const AFX_WNDSTATUSBAR_CLASS; // "msctls_statusbar32"

// Registers the classes above (once; every frame and bar calls it before creating).
void AfxRegisterFrameClasses();

// The widget of a frame window.
class CFrameMainWindow : public QMainWindow, private QAbstractNativeEventFilter {
public:
    explicit CFrameMainWindow(QWidget* pParent);

protected:
    // No menu of tool-bar switches on the bars: the frames' own commands do that.
    QMenu* createPopupMenu() override { return nullptr; }
    void changeEvent(QEvent* pEvent) override;
    void moveEvent(QMoveEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    // A top-level frame restored from maximised is fitted into the work area of its screen,
    // with the frame the window manager draws around it: the normal size it was made with
    // does not know that frame, and the status bar would be pushed off the screen. The
    // window manager places the restored window and draws its restored frame in its own
    // time and order (the frame may come after the place, as a change of the window's frame
    // extents alone, which Qt passes on as no event), and on a loaded machine seconds later,
    // so the frame is fitted again at each of its reports that sizes the window or changes
    // its frame, however late. That ends when the window, once placed, is dragged elsewhere
    // as it is (put where the user wants it) or leaves the normal state.
    void SetRestoring(bool bRestoring);
    void QueueFitRestoredFrame();
    void FitRestoredFrame();
    // Sees the window manager change a property of the window (its frame extents among them).
    bool nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr* pResult) override;
    bool m_bRestoring = false;
    bool m_bPlaced = false; // moved, sized or fitted since the restore
    QRect m_seenGeometry;   // the window at the last look at it
    QMargins m_seenMargins; // and its frame
    QRect m_askedGeometry;  // the last fitted place asked of the window manager
};

// The menu bar of a top-level frame. Chosen items become WM_COMMAND for the frame.
class CFrameMenuBar : public QMenuBar {
public:
    explicit CFrameMenuBar(QWidget* pParent) : QMenuBar(pParent) {}
    // Fills the bar from a menu for the frame hOwner.
    void Fill(HMENU hMenu, HWND hOwner);

private:
    HWND m_hOwner = nullptr;
};

// The widget of a tool bar. Widened separators (the room of a control on the bar) are
// watched so that the control follows its room when the bar is laid out again.
class CToolBarWidget : public QToolBar {
public:
    CToolBarWidget(HWND hWnd, QWidget* pParent);
    void Orphan() { m_hWnd = nullptr; }
    // Watches a button (the pointer leaving it ends its status-bar prompt) or a widened
    // separator's room (its control follows it).
    void Watch(QWidget* pWidget);
    // Gives a button's action its enabling and check state. They change how the button
    // looks, not the room it takes: the button shows them at once, and the bar and the
    // windows around it are not laid out again as they are for other changes of an action
    // (a button enabled after each edit would lay out the whole main window).
    void SetActionState(QAction* pAction, bool bEnabled, bool bCheckable, bool bChecked);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void actionEvent(QActionEvent* pEvent) override;

private:
    HWND m_hWnd;
    QAction* m_pStateAction = nullptr; // the action SetActionState is changing
};

// The widget of a status bar: it paints the panes its CStatusBar lays out.
class CStatusBarWidget : public QStatusBar {
public:
    CStatusBarWidget(HWND hWnd, QWidget* pParent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    HWND m_hWnd;
};

// The MDI area of a window of class "MDICLIENT", and the sub-window of an MDI child frame.
QMdiArea* AfxGetMdiArea(HWND hWndMDIClient);
