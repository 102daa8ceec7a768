#include "platform/ui/core/CWndManager_p.h"

#include "platform/base/CException.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndFrameWidget_p.h"
#include "platform/ui/core/DialogTitleBar_p.h"
#include "platform/ui/core/Imm_p.h"
#include "platform/ui/core/InputTranslation_p.h"
#include "platform/ui/ole/DropFiles_p.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <exception>

namespace {

class CPostedMessageEvent : public QEvent {
public:
    explicit CPostedMessageEvent(const MSG& msg)
        : QEvent(static_cast<QEvent::Type>(CWndManager::PostedMessageEventType())), m_msg(msg)
    {
    }
    MSG m_msg;
};

class CPaintRequestEvent : public QEvent {
public:
    explicit CPaintRequestEvent(HWND hWnd)
        : QEvent(static_cast<QEvent::Type>(CWndManager::PaintEventType())), m_hWnd(hWnd)
    {
    }
    HWND m_hWnd;
};

DWORD NowTicks()
{
    return static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch() & 0xFFFFFFFF);
}

} // namespace

CWndManager* g_pWndManager = nullptr;

CWndManager::CWndManager()
{
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* o, QWidget* n) { OnFocusChanged(o, n); });
    if (QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance(qApp->thread()))
        connect(pDispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { RunIdleIfPending(); });
}

CWndManager& CWndManager::Instance()
{
    if (!g_pWndManager)
        g_pWndManager = new CWndManager; // lives as long as the process; parented to nothing
    return *g_pWndManager;
}

CWndManager* CWndManager::InstanceIfReady()
{
    if (g_pWndManager)
        return g_pWndManager;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    return &Instance();
}

int CWndManager::PostedMessageEventType()
{
    static const int type = QEvent::registerEventType();
    return type;
}

int CWndManager::PaintEventType()
{
    static const int type = QEvent::registerEventType();
    return type;
}

// ---------------------------------------------------------------------------------------
// Handles.
// ---------------------------------------------------------------------------------------
CWndState* CWndManager::NewWindow()
{
    auto* pState = new CWndState;
    const uintptr_t n = m_nNextHandle;
    m_nNextHandle += 0x10;
    pState->hWnd = reinterpret_cast<HWND>(n);
    m_windows[n] = pState;
    return pState;
}

CWndState* CWndManager::Find(HWND hWnd) const
{
    if (!hWnd)
        return nullptr;
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(hWnd));
    return it == m_windows.end() ? nullptr : it->second;
}

void CWndManager::Forget(HWND hWnd)
{
    auto it = m_windows.find(reinterpret_cast<uintptr_t>(hWnd));
    if (it == m_windows.end())
        return;
    CWndState* pState = it->second;
    m_windows.erase(it);
    // The window's input context goes with it.
    AfxImeForget(hWnd);
    for (auto w = m_widgets.begin(); w != m_widgets.end();) {
        if (w->second == hWnd)
            w = m_widgets.erase(w);
        else
            ++w;
    }
    if (m_hWndCapture == hWnd)
        m_hWndCapture = nullptr;
    if (m_hWndFocus == hWnd)
        m_hWndFocus = nullptr;
    if (m_hWndMouse == hWnd)
        m_hWndMouse = nullptr;
    delete pState;
}

std::vector<HWND> CWndManager::AllWindows() const
{
    std::vector<HWND> all;
    all.reserve(m_windows.size());
    for (const auto& [n, pState] : m_windows)
        all.push_back(pState->hWnd);
    return all;
}

void CWndManager::MapWidget(const QWidget* pWidget, HWND hWnd)
{
    m_widgets[pWidget] = hWnd;
}

void CWndManager::UnmapWidget(const QWidget* pWidget)
{
    m_widgets.erase(pWidget);
}

CWnd* CWndManager::FromWidget(const QWidget* pWidget) const
{
    for (const QWidget* w = pWidget; w; w = w->parentWidget()) {
        auto it = m_widgets.find(w);
        if (it != m_widgets.end()) {
            CWndState* pState = Find(it->second);
            // The outer widget of a self-drawn window is its border and scroll bars: no
            // window messages come from there.
            if (pState && !pState->destroying && static_cast<const QWidget*>(pState->frame) != w)
                return pState->pWnd;
            return nullptr;
        }
        // A window of the toolkit's own (a file dialog, a pop-up menu) belongs to no window
        // of ours even when it is parented to one.
        if (w->isWindow())
            return nullptr;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Messages.
// ---------------------------------------------------------------------------------------
LRESULT CWndManager::Call(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWndState* pState = Find(hWnd);
    if (!pState || !pState->pWnd)
        return 0;
    MSG msg{hWnd, nMsg, wParam, lParam, m_dwLastMessageTime, POINT{m_lastCursorPos.x(), m_lastCursorPos.y()}};
    m_currentMessages.push_back(msg);
    m_currentSerials.push_back(++m_nLastSerial);
    ++m_nDispatchDepth;
    LRESULT lResult = 0;
    try {
        lResult = pState->pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (const CException& e) {
        // A failure nobody handled: the user sees what it was, the program goes on.
        AfxMessageBox(e.GetErrorText(), MB_ICONEXCLAMATION);
    } catch (const std::exception& e) {
        // An exception must not unwind through the toolkit's event handling: report it and
        // carry on with the next message, as the framework's window procedure does.
        AfxMessageBox(CString::FromUtf8(std::string("内部エラーが発生しました: ") + e.what()), MB_ICONSTOP);
    } catch (...) {
        AfxMessageBox(CString::FromUtf8("内部エラーが発生しました。"), MB_ICONSTOP);
    }
    --m_nDispatchDepth;
    m_currentMessages.pop_back();
    m_currentSerials.pop_back();
    // A window whose WM_NCDESTROY handler did not reach the framework's handling is
    // released here all the same.
    if (nMsg == WM_NCDESTROY) {
        if (CWndState* p = Find(hWnd)) {
            if (p->pWnd && p->pWnd->m_hWnd == hWnd)
                p->pWnd->m_hWnd = nullptr;
            Forget(hWnd);
        }
    }
    return lResult;
}

const MSG* CWndManager::CurrentMessage() const
{
    return m_currentMessages.empty() ? nullptr : &m_currentMessages.back();
}

unsigned long long CWndManager::CurrentMessageSerial() const
{
    return m_currentSerials.empty() ? 0 : m_currentSerials.back();
}

BOOL CWndManager::Post(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd && !Find(hWnd))
        return FALSE;
    MSG msg{hWnd, nMsg, wParam, lParam, NowTicks(), POINT{m_lastCursorPos.x(), m_lastCursorPos.y()}};
    QCoreApplication::postEvent(this, new CPostedMessageEvent(msg));
    return TRUE;
}

void CWndManager::PostQuit(int nExitCode)
{
    Post(nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0);
}

void CWndManager::SchedulePaint(CWndState* pState)
{
    if (!pState->IsSelfDrawn() || pState->paintPosted || pState->invalid.isEmpty())
        return;
    pState->paintPosted = true;
    // Painting comes after everything else waiting, as WM_PAINT does.
    QCoreApplication::postEvent(this, new CPaintRequestEvent(pState->hWnd), Qt::LowEventPriority);
}

BOOL CWndManager::PumpOne(MSG& msg)
{
    m_bIdlePending = true;
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->PreTranslateMessage(&msg))
            return FALSE;
    }
    Call(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    return TRUE;
}

void CWndManager::customEvent(QEvent* event)
{
    if (event->type() == PostedMessageEventType()) {
        MSG msg = static_cast<CPostedMessageEvent*>(event)->m_msg;
        if (!msg.hwnd) {
            if (msg.message == WM_QUIT)
                QCoreApplication::exit(static_cast<int>(msg.wParam));
            else if (CWinApp* pApp = AfxGetApp())
                pApp->PreTranslateMessage(&msg);
            return;
        }
        if (!Find(msg.hwnd))
            return;
        m_dwLastMessageTime = msg.time;
        PumpOne(msg);
        return;
    }
    if (event->type() == PaintEventType()) {
        HWND hWnd = static_cast<CPaintRequestEvent*>(event)->m_hWnd;
        if (CWndState* pState = Find(hWnd)) {
            pState->paintPosted = false;
            AfxPaintWindowNow(hWnd);
        }
        return;
    }
    QObject::customEvent(event);
}

void CWndManager::RunIdleIfPending()
{
    if (!m_bIdlePending || m_bInIdle)
        return;
    m_bIdlePending = false;
    m_bInIdle = true;
    if (CWinApp* pApp = AfxGetApp())
        pApp->RunIdle();
    m_bInIdle = false;
}

// ---------------------------------------------------------------------------------------
// Focus.
// ---------------------------------------------------------------------------------------
void CWndManager::OnFocusChanged(QWidget* pOld, QWidget* pNow)
{
    (void)pOld;
    // A menu that opens, and the menu bar that its key puts into keyboard mode, take the
    // toolkit's keyboard, never a window's focus: the window keeps it (an editor stays shown
    // with its text) and has it still when the menu closes.
    if (pNow != nullptr &&
        (pNow->window()->windowType() == Qt::Popup || qobject_cast<QMenuBar*>(pNow) != nullptr))
        return;
    CWnd* pNew = pNow ? FromWidget(pNow) : nullptr;
    HWND hNew = pNew ? pNew->m_hWnd : nullptr;
    HWND hOld = m_hWndFocus;
    if (hNew == hOld)
        return;
    m_hWndFocus = hNew;
    if (hOld && Find(hOld))
        Call(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hNew), 0);
    if (hNew && Find(hNew) && m_hWndFocus == hNew)
        Call(hNew, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
}

// ---------------------------------------------------------------------------------------
// Input.
// ---------------------------------------------------------------------------------------
void CWndManager::UpdateModifierState(Qt::KeyboardModifiers mods)
{
    m_keyDown[VK_SHIFT] = (mods & Qt::ShiftModifier) != 0;
    m_keyDown[VK_CONTROL] = (mods & Qt::ControlModifier) != 0;
    m_keyDown[VK_MENU] = (mods & Qt::AltModifier) != 0;
}

void CWndManager::UpdateKeyState(QKeyEvent* pEvent, bool bDown)
{
    UpdateModifierState(pEvent->modifiers());
    const UINT vk = AfxVirtualKeyFromQtKey(pEvent->key(), (pEvent->modifiers() & Qt::KeypadModifier) != 0);
    if (vk == 0 || vk > 255)
        return;
    // A modifier key's own event reports the modifiers from before (press) or after
    // (release) the change; the key itself decides.
    m_keyDown[vk] = bDown;
    if (vk == VK_CAPITAL && bDown && !pEvent->isAutoRepeat())
        m_bCapsLock = !m_bCapsLock;
    if (vk == VK_NUMLOCK && bDown && !pEvent->isAutoRepeat())
        m_bNumLock = !m_bNumLock;
}

bool CWndManager::DeliverInput(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, bool& bPassToQt)
{
    MSG msg{hWnd, nMsg, wParam, lParam, m_dwLastMessageTime, POINT{m_lastCursorPos.x(), m_lastCursorPos.y()}};
    m_bIdlePending = true;
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->PreTranslateMessage(&msg)) {
            bPassToQt = false;
            return false;
        }
    }
    if (!Find(hWnd))
        return false;
    CQtDispatch dispatch;
    m_qtDispatch.push_back(&dispatch);
    Call(hWnd, msg.message, msg.wParam, msg.lParam);
    m_qtDispatch.pop_back();
    if (!dispatch.passToQt)
        bPassToQt = false;
    return true;
}

bool CWndManager::TranslateKey(QWidget* pWidget, QKeyEvent* pEvent)
{
    const bool bDown = pEvent->type() == QEvent::KeyPress;
    // The same event travels on to the parents when a native widget leaves it; it was
    // translated once already. The address alone does not tell: the next key event may
    // be built at the same place, so its type, key, modifiers and time must match too.
    const CLastKey key{static_cast<int>(pEvent->type()), pEvent->key(), static_cast<int>(pEvent->modifiers()),
                       pEvent->timestamp()};
    if (pEvent == m_pLastKeyEvent && key.type == m_lastKey.type && key.key == m_lastKey.key &&
        key.modifiers == m_lastKey.modifiers && key.timestamp == m_lastKey.timestamp && m_lastKeyWidget &&
        m_lastKeyWidget != pWidget && pWidget->isAncestorOf(m_lastKeyWidget))
        return false;
    m_pLastKeyEvent = pEvent;
    m_lastKey = key;
    m_lastKeyWidget = pWidget;

    UpdateKeyState(pEvent, bDown);
    CWnd* pWnd = FromWidget(pWidget);
    if (!pWnd || !pWnd->m_hWnd)
        return false;
    HWND hWnd = pWnd->m_hWnd;
    CWndState* pState = Find(hWnd);
    m_dwLastMessageTime = static_cast<DWORD>(pEvent->timestamp());

    const bool keypad = (pEvent->modifiers() & Qt::KeypadModifier) != 0;
    const UINT vk = AfxVirtualKeyFromQtKey(pEvent->key(), keypad);
    const bool alt = (pEvent->modifiers() & Qt::AltModifier) != 0;
    bool bPassToQt = pState && !pState->IsSelfDrawn();
    if (vk != 0) {
        // Alt combinations and F10 are system keys.
        const bool sys = alt || vk == VK_F10 || vk == VK_MENU;
        UINT nMsg = bDown ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        const LPARAM lParam = AfxKeyLParam(pEvent->nativeScanCode() >= 8 ? pEvent->nativeScanCode() - 8 : 0,
                                           AfxIsExtendedKey(pEvent->key(), keypad), alt,
                                           bDown && pEvent->isAutoRepeat(), !bDown);
        if (!DeliverInput(hWnd, nMsg, vk, lParam, bPassToQt)) {
            // Eaten before dispatch (an accelerator): no character follows.
            return !bPassToQt;
        }
        if (!bDown)
            return !bPassToQt;
    } else if (!bDown) {
        return !bPassToQt;
    }
    // The characters the key typed. The Delete key types nothing on Windows.
    if (pEvent->key() == Qt::Key_Delete)
        return !bPassToQt;
    const std::string bytes = AfxCharBytesFromText(pEvent->text());
    const UINT nCharMsg = alt ? WM_SYSCHAR : WM_CHAR;
    for (unsigned char b : bytes) {
        if (!Find(hWnd))
            break;
        DeliverInput(hWnd, nCharMsg, b, AfxKeyLParam(0, false, alt, pEvent->isAutoRepeat(), false),
                     bPassToQt);
    }
    return !bPassToQt;
}

bool CWndManager::TranslateInputMethod(QWidget* pWidget, QInputMethodEvent* pEvent)
{
    CWnd* pWnd = FromWidget(pWidget);
    if (!pWnd || !pWnd->m_hWnd)
        return false;
    HWND hWnd = pWnd->m_hWnd;
    CWndState* pState = Find(hWnd);
    if (!pState || !pState->IsSelfDrawn())
        return false;
    AfxImeTrack(hWnd, pEvent);
    // The desktop's input method hands a pre-edit over to the window it was typed into also
    // because the keyboard moves on (a click elsewhere, another window activated; the
    // toolkit asks for the commit before it moves the keyboard) or after it has (to another
    // window, a dialog, another program): what the text does there must not take the
    // keyboard, away from where the user puts it.
    QWindow* pFocusWindow = QGuiApplication::focusWindow();
    const bool bKeyboardMoving =
        QApplication::focusWidget() != pWidget || QGuiApplication::mouseButtons() != Qt::NoButton ||
        (pFocusWindow != nullptr && pFocusWindow != pWidget->window()->windowHandle());
    struct CKeyboardHold {
        int& nHeld;
        const bool bHold;
        CKeyboardHold(int& n, bool b) : nHeld(n), bHold(b) { nHeld += bHold ? 1 : 0; }
        ~CKeyboardHold() { nHeld -= bHold ? 1 : 0; }
        CKeyboardHold(const CKeyboardHold&) = delete;
        CKeyboardHold& operator=(const CKeyboardHold&) = delete;
    } hold(m_nKeyboardHeld, bKeyboardMoving);
    // A committed text arrives as typed characters, byte by byte.
    bool bPassToQt = false;
    const std::string bytes = AfxCharBytesFromText(pEvent->commitString());
    for (unsigned char b : bytes) {
        if (!Find(hWnd))
            break;
        DeliverInput(hWnd, WM_CHAR, b, AfxKeyLParam(0, false, false, false, false), bPassToQt);
    }
    // The pre-edit shows in the window's composition window.
    if (Find(hWnd))
        AfxImeShowComposition(hWnd);
    pEvent->accept();
    return true;
}

bool CWndManager::TranslateMouse(QWidget* pWidget, QMouseEvent* pEvent)
{
    const QPoint global = pEvent->globalPosition().toPoint();
    m_lastCursorPos = global;
    UpdateModifierState(pEvent->modifiers());
    m_keyDown[VK_LBUTTON] = (pEvent->buttons() & Qt::LeftButton) != 0;
    m_keyDown[VK_RBUTTON] = (pEvent->buttons() & Qt::RightButton) != 0;
    m_keyDown[VK_MBUTTON] = (pEvent->buttons() & Qt::MiddleButton) != 0;
    m_dwLastMessageTime = static_cast<DWORD>(pEvent->timestamp());

    CWnd* pWnd = FromWidget(pWidget);
    bool bCaptured = false;
    if (m_hWndCapture && Find(m_hWndCapture)) {
        CWnd* pCapture = Find(m_hWndCapture)->pWnd;
        if (pCapture != pWnd)
            bCaptured = true;
        pWnd = pCapture;
    }
    if (!pWnd || !pWnd->m_hWnd)
        return false;
    HWND hWnd = pWnd->m_hWnd;
    CWndState* pState = Find(hWnd);
    if (!pState || !pState->client)
        return false;

    // Client coordinates of the target window.
    QPoint local;
    if (!bCaptured && pWidget == pState->client)
        local = pEvent->position().toPoint();
    else if (!bCaptured && pWidget->window() == pState->client->window())
        local = pState->client->mapFrom(pWidget->window(),
                                        pWidget->mapTo(pWidget->window(), pEvent->position().toPoint()));
    else
        local = pState->client->mapFromGlobal(global);

    UINT nMsg = 0;
    const Qt::MouseButton button = pEvent->button();
    const bool dblClk = pEvent->type() == QEvent::MouseButtonDblClick && (pState->classStyle & CS_DBLCLKS);
    switch (pEvent->type()) {
    case QEvent::MouseMove:
        nMsg = WM_MOUSEMOVE;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        nMsg = button == Qt::LeftButton     ? (dblClk ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
               : button == Qt::RightButton  ? (dblClk ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
               : button == Qt::MiddleButton ? (dblClk ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN)
                                            : 0;
        break;
    case QEvent::MouseButtonRelease:
        nMsg = button == Qt::LeftButton     ? WM_LBUTTONUP
               : button == Qt::RightButton  ? WM_RBUTTONUP
               : button == Qt::MiddleButton ? WM_MBUTTONUP
                                            : 0;
        break;
    default:
        break;
    }
    if (nMsg == 0)
        return pState->IsSelfDrawn();

    m_hWndMouse = hWnd;
    bool bPassToQt = !pState->IsSelfDrawn();
    if (pState->IsSelfDrawn() && !m_hWndCapture) {
        // The cursor shape is asked for before the mouse message, on every movement.
        Call(hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hWnd),
             MAKELPARAM(HTCLIENT, static_cast<WORD>(nMsg)));
    }
    if (!Find(hWnd))
        return true;
    const UINT flags = AfxMouseKeyFlags(pEvent->buttons(), pEvent->modifiers());
    DeliverInput(hWnd, nMsg, flags, MAKELPARAM(static_cast<WORD>(local.x()), static_cast<WORD>(local.y())),
                 bPassToQt);
    if (bCaptured)
        return true;
    return !bPassToQt;
}

bool CWndManager::TranslateWheel(QWidget* pWidget, QWheelEvent* pEvent)
{
    CWnd* pWnd = FromWidget(pWidget);
    if (!pWnd || !pWnd->m_hWnd)
        return false;
    HWND hWnd = pWnd->m_hWnd;
    CWndState* pState = Find(hWnd);
    if (!pState)
        return false;
    const QPoint global = pEvent->globalPosition().toPoint();
    m_lastCursorPos = global;
    UpdateModifierState(pEvent->modifiers());
    // Whole notches only (120 each): small steps of fine-grained devices are gathered.
    pState->wheelRemainder += pEvent->angleDelta().y();
    const int notches = pState->wheelRemainder / WHEEL_DELTA;
    if (notches == 0)
        return pState->IsSelfDrawn();
    pState->wheelRemainder -= notches * WHEEL_DELTA;
    bool bPassToQt = !pState->IsSelfDrawn();
    const UINT keys = AfxMouseKeyFlags(pEvent->buttons(), pEvent->modifiers());
    const short delta = static_cast<short>(notches * WHEEL_DELTA);
    DeliverInput(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(delta)),
                 MAKELPARAM(static_cast<WORD>(global.x()), static_cast<WORD>(global.y())), bPassToQt);
    return !bPassToQt;
}

bool CWndManager::TranslateWindowEvent(QWidget* pWidget, QEvent* pEvent)
{
    // Events of a window's own widget (not its children).
    auto it = m_widgets.find(pWidget);
    if (it == m_widgets.end())
        return false;
    CWndState* pState = Find(it->second);
    if (!pState || pState->destroying || !pState->created)
        return false;
    HWND hWnd = pState->hWnd;
    switch (pEvent->type()) {
    case QEvent::Close:
        if (pWidget != pState->widget)
            return false;
        // The window decides: DefWindowProc destroys it; a handler may refuse.
        pEvent->ignore();
        Call(hWnd, WM_CLOSE, 0, 0);
        return true;
    case QEvent::Resize:
        if (pState->IsSelfDrawn() || pWidget != pState->client)
            return false;
        if (pState->lastSize != CSize(pWidget->width(), pWidget->height())) {
            pState->lastSize = CSize(pWidget->width(), pWidget->height());
            UINT nType = pWidget->isWindow() && pWidget->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
            Call(hWnd, WM_SIZE, nType,
                 MAKELPARAM(static_cast<WORD>(pWidget->width()), static_cast<WORD>(pWidget->height())));
        }
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (pWidget != pState->widget || !pWidget->isWindow())
            return false;
        Call(hWnd, WM_ACTIVATE, pEvent->type() == QEvent::WindowActivate ? WA_ACTIVE : WA_INACTIVE, 0);
        return false;
    default:
        return false;
    }
}

bool CWndManager::TranslateDrop(QWidget* pWidget, QDropEvent* pEvent)
{
    // Files dropped on a window go to the nearest window (itself or a parent) that accepts
    // them, as WM_DROPFILES.
    CWnd* pWnd = nullptr;
    for (const QWidget* w = pWidget; w && !pWnd; w = w->parentWidget()) {
        auto it = m_widgets.find(w);
        if (it != m_widgets.end()) {
            CWndState* pState = Find(it->second);
            pWnd = pState && !pState->destroying ? pState->pWnd : nullptr;
        }
    }
    while (pWnd && !(pWnd->GetExStyle() & WS_EX_ACCEPTFILES))
        pWnd = pWnd->GetParent();
    if (!pWnd || !pWnd->m_hWnd)
        return false;
    std::vector<CString> files;
    if (const QMimeData* pData = pEvent->mimeData()) {
        for (const QUrl& url : pData->urls()) {
            if (url.isLocalFile())
                files.push_back(SystemPathFromNative(url.toLocalFile().toStdString()));
        }
    }
    if (files.empty())
        return false;
    pEvent->setDropAction(Qt::CopyAction);
    pEvent->accept();
    if (pEvent->type() == QEvent::Drop)
        Post(pWnd->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(AfxCreateDropFiles(files)), 0);
    return true;
}

bool CWndManager::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return false;
    auto* pWidget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return TranslateKey(pWidget, static_cast<QKeyEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return TranslateMouse(pWidget, static_cast<QMouseEvent*>(event));
    case QEvent::Wheel:
        return TranslateWheel(pWidget, static_cast<QWheelEvent*>(event));
    case QEvent::InputMethod:
        return TranslateInputMethod(pWidget, static_cast<QInputMethodEvent*>(event));
    case QEvent::Close:
    case QEvent::Resize:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        return TranslateWindowEvent(pWidget, event);
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return TranslateDrop(pWidget, static_cast<QDropEvent*>(event));
    case QEvent::Show:
        // Every dialog (the program's, message boxes, the file dialog) gets a dialog's title
        // bar before the window manager takes its window.
        AfxPrepareDialogTitleBar(pWidget);
        return false;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------
// Free functions of the private header.
// ---------------------------------------------------------------------------------------
CWndState* AfxGetWndState(HWND hWnd)
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    return pManager ? pManager->Find(hWnd) : nullptr;
}

std::vector<HWND> AfxGetAllWindows()
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    return pManager ? pManager->AllWindows() : std::vector<HWND>();
}

LRESULT AfxCallWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    return pManager ? pManager->Call(hWnd, nMsg, wParam, lParam) : 0;
}

void AfxPassEventToQt()
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    if (pManager && !pManager->m_qtDispatch.empty())
        pManager->m_qtDispatch.back()->passToQt = true;
}

BOOL AfxIsDispatchingQtEvent()
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    return pManager && !pManager->m_qtDispatch.empty();
}

void AfxRequestIdle()
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    if (pManager && !pManager->m_bInIdle)
        pManager->m_bIdlePending = true;
}

QImage* AfxGetBackBuffer(HWND hWnd)
{
    CWndState* pState = AfxGetWndState(hWnd);
    if (!pState || !pState->surface)
        return nullptr;
    pState->surface->SyncBufferSize();
    return &pState->surface->Buffer();
}

void AfxFlushBackBuffer(HWND hWnd, const QRect& rect)
{
    AfxFlushBackBuffer(hWnd, QRegion(rect));
}

void AfxFlushBackBuffer(HWND hWnd, const QRegion& region)
{
    CWndState* pState = AfxGetWndState(hWnd);
    if (!pState || !pState->surface)
        return;
    // A window that clips its children never shows its own pixels under them: the part of
    // the area that opaque children cover is left out, or Qt would paint the children (a
    // grid's scroll bars under the rows a recalculation rewrote) again with it. A child
    // that lets the window show through (a frame drawing only its border) keeps it.
    QRegion shown = region;
    if (pState->style & WS_CLIPCHILDREN) {
        for (QObject* pChild : pState->surface->children()) {
            auto* pWidget = qobject_cast<QWidget*>(pChild);
            if (pWidget != nullptr && pWidget->isVisible() && !pWidget->isWindow() &&
                (pWidget->testAttribute(Qt::WA_OpaquePaintEvent) || pWidget->autoFillBackground()))
                shown -= pWidget->geometry();
        }
    }
    if (!shown.isEmpty())
        pState->surface->update(shown);
}

void AfxPaintWindowNow(HWND hWnd)
{
    CWndState* pState = AfxGetWndState(hWnd);
    if (!pState || !pState->IsSelfDrawn() || pState->invalid.isEmpty() || !pState->created || !pState->redraw)
        return;
    // Hidden windows are painted when they show.
    if (!pState->pWnd || !pState->pWnd->IsWindowVisible())
        return;
    pState->surface->SyncBufferSize();
    CWndManager::Instance().Call(hWnd, WM_PAINT, 0, 0);
    // Whatever was invalidated while painting is painted next time round.
    if (CWndState* p = AfxGetWndState(hWnd))
        CWndManager::Instance().SchedulePaint(p);
}
