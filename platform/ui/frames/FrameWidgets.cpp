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
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWindowStateChangeEvent>

#include <algorithm>

const char* const AFX_WNDFRAME_CLASS = "MorvelFrameWnd";
const char* const AFX_WNDMDICLIENT_CLASS = "MDICLIENT";
const char* const AFX_WNDTOOLBAR_CLASS = "ToolbarWindow32";
const char* const AFX_WNDSTATUSBAR_CLASS = "msctls_statusbar32";

namespace {

const char* const kHwndProperty = "morvelHwnd";

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
    m_bRestoring = (old & Qt::WindowMaximized) && windowState() == Qt::WindowNoState;
    if (!m_bRestoring)
        return;
    m_maximisedFrame = frameGeometry();
    QTimer::singleShot(1000, this, [this] { m_bRestoring = false; });
    QMetaObject::invokeMethod(
        this, [this] { FitRestoredFrame(); }, Qt::QueuedConnection);
}

void CFrameMainWindow::moveEvent(QMoveEvent* pEvent)
{
    QMainWindow::moveEvent(pEvent);
    if (m_bRestoring)
        QMetaObject::invokeMethod(
            this, [this] { FitRestoredFrame(); }, Qt::QueuedConnection);
}

void CFrameMainWindow::resizeEvent(QResizeEvent* pEvent)
{
    QMainWindow::resizeEvent(pEvent);
    if (m_bRestoring)
        QMetaObject::invokeMethod(
            this, [this] { FitRestoredFrame(); }, Qt::QueuedConnection);
}

void CFrameMainWindow::FitRestoredFrame()
{
    if (!m_bRestoring || windowState() != Qt::WindowNoState || !screen())
        return;
    const QRect frame = frameGeometry();
    if (frame == m_maximisedFrame)
        return; // still where it was maximised: the window manager has not placed it yet
    // Fitted again while the moment lasts: the window manager may report its frame of the
    // restored window (other than that of the maximised one) only after placing it.
    const QRect area = screen()->availableGeometry();
    if (area.contains(frame))
        return;
    // The frame's size cut to the area, then moved inside it.
    QRect fitted(frame.topLeft(), frame.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.left() + area.width() - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.top() + area.height() - fitted.height()));
    const QSize decoration = frame.size() - geometry().size();
    resize(fitted.size() - decoration);
    move(fitted.topLeft());
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
