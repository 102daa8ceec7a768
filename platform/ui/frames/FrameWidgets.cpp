#include "platform/ui/frames/FrameWidgets_p.h"

#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "platform/ui/frames/CStatusBar.h"
#include "platform/ui/frames/CToolBar.h"
#include "platform/ui/gdi/SysColors.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionEvent>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QVariant>
#include <QWindow>
#include <QWindowStateChangeEvent>

#if defined(MORVEL_HAVE_XCB)
#include <xcb/xproto.h>
#endif

#include <algorithm>
#include <cstdlib>

const char* const AFX_WNDFRAME_CLASS = "MorvelFrameWnd";
const char* const AFX_WNDMDICLIENT_CLASS = "MDICLIENT";
const char* const AFX_WNDTOOLBAR_CLASS = "ToolbarWindow32";
const char* const AFX_WNDSTATUSBAR_CLASS = "msctls_statusbar32";

namespace {

const char* const kHwndProperty = "morvelHwnd";

// Neither maximised, minimised nor full screen.
bool IsNormalState(Qt::WindowStates states)
{
    return !(states & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

HWND HwndOfSubWindow(const QMdiSubWindow* pSub)
{
    if (!pSub)
        return nullptr;
    return reinterpret_cast<HWND>(pSub->property(kHwndProperty).value<quintptr>());
}

// Closing a document window from its title bar is the window's decision (it may ask to
// save first): the close request becomes WM_CLOSE. A document window maximised or restored
// changes the main title (the document's name is in it only while no window is maximised,
// which shows the name itself); the title follows once the sub-window has put back or
// extended the main title in its own handling of the change.
class CSubWindowCloseFilter : public QObject {
public:
    CSubWindowCloseFilter(HWND hWnd, QObject* pParent) : QObject(pParent), m_hWnd(hWnd) {}

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        (void)pWatched;
        if (pEvent->type() == QEvent::WindowStateChange) {
            const HWND hWnd = m_hWnd;
            QMetaObject::invokeMethod(
                this,
                [hWnd] {
                    auto* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(hWnd));
                    if (CMDIFrameWnd* pFrame = pChild != nullptr ? pChild->GetMDIFrame() : nullptr)
                        pFrame->OnUpdateFrameTitle(TRUE);
                },
                Qt::QueuedConnection);
            return false;
        }
        if (pEvent->type() != QEvent::Close)
            return false;
        pEvent->ignore();
        if (CWnd* pWnd = CWnd::FromHandle(m_hWnd))
            pWnd->SendMessage(WM_CLOSE);
        return true;
    }

private:
    HWND m_hWnd;
};

QWidget* CreateFrameWidget(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* pArea = qobject_cast<QMdiArea*>(pParentWidget);
    if ((cs.style & WS_CHILD) && pArea) {
        // A document window: the frame's main window inside a sub-window of the MDI area.
        auto* pSub = new QMdiSubWindow;
        pSub->setAttribute(Qt::WA_DeleteOnClose, false);
        pSub->setProperty(kHwndProperty, QVariant::fromValue(reinterpret_cast<quintptr>(pWnd->m_hWnd)));
        auto* pInner = new CFrameMainWindow(nullptr);
        pSub->setWidget(pInner);
        pSub->installEventFilter(new CSubWindowCloseFilter(pWnd->m_hWnd, pSub));
        pArea->addSubWindow(pSub);
        pSub->hide();
        if (auto* pChild = dynamic_cast<CMDIChildWnd*>(pWnd))
            pChild->AttachSubWindow(pSub);
        return pInner;
    }
    auto* pMain = new CFrameMainWindow(pParentWidget);
    if (!(cs.style & WS_CHILD))
        pMain->setWindowFlags(Qt::Window);
    return pMain;
}

QWidget* CreateMdiClientWidget(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    (void)pWnd;
    auto* pArea = new QMdiArea(pParentWidget);
    const COLORREF cr = GetSysColor(COLOR_APPWORKSPACE);
    pArea->setBackground(QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)));
    pArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const HWND hWndFrame = cs.hwndParent;
    QObject::connect(pArea, &QMdiArea::subWindowActivated, pArea, [hWndFrame](QMdiSubWindow* pSub) {
        if (auto* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandle(hWndFrame)))
            pFrame->OnMdiSubWindowActivated(HwndOfSubWindow(pSub));
    });
    return pArea;
}

QWidget* CreateToolBarWidget(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    (void)cs;
    return new CToolBarWidget(pWnd->m_hWnd, pParentWidget);
}

QWidget* CreateStatusBarWidget(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    (void)cs;
    return new CStatusBarWidget(pWnd->m_hWnd, pParentWidget);
}

} // namespace

void AfxRegisterFrameClasses()
{
    static const bool s_registered = [] {
        CWndClassInfo frame;
        frame.name = AFX_WNDFRAME_CLASS;
        frame.style = CS_DBLCLKS;
        frame.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
        frame.createWidget = CreateFrameWidget;
        AfxRegisterClassInfo(frame);

        CWndClassInfo client;
        client.name = AFX_WNDMDICLIENT_CLASS;
        client.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_APPWORKSPACE + 1));
        client.createWidget = CreateMdiClientWidget;
        AfxRegisterClassInfo(client);

        CWndClassInfo toolBar;
        toolBar.name = AFX_WNDTOOLBAR_CLASS;
        toolBar.createWidget = CreateToolBarWidget;
        AfxRegisterClassInfo(toolBar);

        CWndClassInfo statusBar;
        statusBar.name = AFX_WNDSTATUSBAR_CLASS;
        statusBar.createWidget = CreateStatusBarWidget;
        AfxRegisterClassInfo(statusBar);
        return true;
    }();
    (void)s_registered;
}

QMdiArea* AfxGetMdiArea(HWND hWndMDIClient)
{
    CWndState* pState = AfxGetWndState(hWndMDIClient);
    return pState ? qobject_cast<QMdiArea*>(pState->widget.data()) : nullptr;
}

// ---------------------------------------------------------------------------------------
// Widgets.
// ---------------------------------------------------------------------------------------
CFrameMainWindow::CFrameMainWindow(QWidget* pParent) : QMainWindow(pParent)
{
    setDockNestingEnabled(false);
}

void CFrameMainWindow::changeEvent(QEvent* pEvent)
{
    QMainWindow::changeEvent(pEvent);
    if (pEvent->type() != QEvent::WindowStateChange || !isWindow())
        return;
    const Qt::WindowStates old = static_cast<QWindowStateChangeEvent*>(pEvent)->oldState();
    // A report of the maximised state that comes late ends the fitting; the report of the
    // restore that follows it starts it again.
    if (!IsNormalState(windowState()))
        SetRestoring(false);
    else if (old & Qt::WindowMaximized)
        SetRestoring(true);
}

void CFrameMainWindow::moveEvent(QMoveEvent* pEvent)
{
    QMainWindow::moveEvent(pEvent);
    QueueFitRestoredFrame();
}

void CFrameMainWindow::resizeEvent(QResizeEvent* pEvent)
{
    QMainWindow::resizeEvent(pEvent);
    QueueFitRestoredFrame();
}

void CFrameMainWindow::SetRestoring(bool bRestoring)
{
    if (bRestoring) {
        const QWindow* pWindow = windowHandle();
        if (!pWindow)
            return;
        m_seenGeometry = pWindow->geometry();
        m_seenMargins = pWindow->frameMargins();
        m_askedGeometry = QRect();
        m_bPlaced = false;
        if (!m_bRestoring)
            QCoreApplication::instance()->installNativeEventFilter(this);
    } else if (m_bRestoring) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    m_bRestoring = bRestoring;
    QueueFitRestoredFrame();
}

void CFrameMainWindow::QueueFitRestoredFrame()
{
    // After Qt has taken in the whole report (a new place comes as a resize and a move, new
    // frame extents are read once the property change has been handled).
    if (m_bRestoring)
        QMetaObject::invokeMethod(
            this, [this] { FitRestoredFrame(); }, Qt::QueuedConnection);
}

bool CFrameMainWindow::nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr* /*pResult*/)
{
#if defined(MORVEL_HAVE_XCB)
    if (eventType != "xcb_generic_event_t" || !windowHandle())
        return false;
    const auto* pEvent = static_cast<const xcb_generic_event_t*>(pMessage);
    if ((pEvent->response_type & ~0x80) == XCB_PROPERTY_NOTIFY &&
        reinterpret_cast<const xcb_property_notify_event_t*>(pEvent)->window == windowHandle()->winId())
        QueueFitRestoredFrame();
#else
    (void)eventType;
    (void)pMessage;
#endif
    return false;
}

void CFrameMainWindow::FitRestoredFrame()
{
    const QWindow* pWindow = windowHandle();
    if (!m_bRestoring || !pWindow || !isVisible() || !screen())
        return;
    // Where the window and its frame are as the window manager last reported them (the
    // frame of the maximised window until it reports the restored one).
    const QRect geometry = pWindow->geometry();
    const QMargins margins = pWindow->frameMargins();
    const QPoint step = geometry.topLeft() - m_seenGeometry.topLeft();
    const bool bReshaped = geometry.size() != m_seenGeometry.size() || margins != m_seenMargins;
    // Moved as it is further than the width of its frame: dragged where the user wants it.
    // The window manager itself shifts the window by no more than that when it changes the
    // frame, and may report the shift before the new frame.
    const bool bDragged = !bReshaped && (std::abs(step.x()) > margins.left() + margins.right() ||
                                         std::abs(step.y()) > margins.top() + margins.bottom());
    m_seenGeometry = geometry;
    m_seenMargins = margins;
    if (bDragged && m_bPlaced) {
        SetRestoring(false);
        return;
    }
    m_bPlaced = m_bPlaced || !step.isNull() || bReshaped;
    const QRect frame = geometry.marginsAdded(margins);
    const QRect area = screen()->availableGeometry();
    if (area.contains(frame))
        return;
    // The frame's size cut to the area, then moved inside it.
    QRect fitted(frame.topLeft(), frame.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.left() + area.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.top() + area.height() - fitted.height()));
    const QRect asked = fitted.marginsRemoved(margins);
    // Asked once: a place the window manager answers otherwise is its own choice.
    if (asked == m_askedGeometry)
        return;
    m_askedGeometry = asked;
    m_bPlaced = true;
    setGeometry(asked);
    m_seenGeometry = pWindow->geometry();
}

void CFrameMenuBar::Fill(HMENU hMenu, HWND hOwner)
{
    m_hOwner = hOwner;
    AfxFillMenuBar(this, hMenu, hOwner);
}

CToolBarWidget::CToolBarWidget(HWND hWnd, QWidget* pParent) : QToolBar(pParent), m_hWnd(hWnd)
{
    setFloatable(false);
    setMovable(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void CToolBarWidget::Watch(QWidget* pWidget)
{
    if (pWidget)
        pWidget->installEventFilter(this);
}

void CToolBarWidget::SetActionState(QAction* pAction, bool bEnabled, bool bCheckable, bool bChecked)
{
    m_pStateAction = pAction;
    pAction->setEnabled(bEnabled);
    pAction->setCheckable(bCheckable);
    if (bCheckable)
        pAction->setChecked(bChecked);
    m_pStateAction = nullptr;
    if (auto* pButton = qobject_cast<QAbstractButton*>(widgetForAction(pAction))) {
        pButton->setCheckable(pAction->isCheckable());
        pButton->setChecked(pAction->isChecked());
        pButton->setEnabled(pAction->isEnabled());
    }
}

void CToolBarWidget::actionEvent(QActionEvent* pEvent)
{
    // A change of state alone leaves the bar's layout as it is.
    if (pEvent->type() == QEvent::ActionChanged && pEvent->action() != nullptr &&
        pEvent->action() == m_pStateAction)
        return;
    QToolBar::actionEvent(pEvent);
}

bool CToolBarWidget::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    auto* pBar = dynamic_cast<CToolBar*>(CWnd::FromHandle(m_hWnd));
    // The button of an action whose state alone changes takes the state from
    // SetActionState: taking the whole action again would ask for a new layout.
    if (pEvent->type() == QEvent::ActionChanged && m_pStateAction != nullptr &&
        static_cast<QActionEvent*>(pEvent)->action() == m_pStateAction)
        return true;
    switch (pEvent->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        if (pBar)
            pBar->PlaceHostedControls();
        break;
    case QEvent::Leave:
        if (pBar)
            pBar->OnButtonLeft();
        break;
    default:
        break;
    }
    return QToolBar::eventFilter(pWatched, pEvent);
}

CStatusBarWidget::CStatusBarWidget(HWND hWnd, QWidget* pParent) : QStatusBar(pParent), m_hWnd(hWnd)
{
    setSizeGripEnabled(false);
    // The bar fills all it paints: the window behind it is not painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, true);
}

QSize CStatusBarWidget::sizeHint() const
{
    const int h = fontMetrics().height() + 8;
    return QSize(200, std::max(h, 20));
}

QSize CStatusBarWidget::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void CStatusBarWidget::paintEvent(QPaintEvent* pEvent)
{
    QPainter painter(this);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    painter.fillRect(pEvent->rect(), QColor(GetRValue(face), GetGValue(face), GetBValue(face)));
    if (auto* pBar = dynamic_cast<CStatusBar*>(CWnd::FromHandle(m_hWnd)))
        pBar->DrawPanes(painter, pEvent->rect());
}
