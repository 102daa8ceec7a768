// CWndManager (platform/ui internal): the process-wide side of the window layer — the table
// of live windows, the queue of posted messages, the translation of Qt input events into
// window messages (with the application's PreTranslateMessage on the way), focus, capture,
// the keyboard state, the cursor and the idle pass.
#pragma once

#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WinDefs.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <array>
#include <map>
#include <vector>

class QWidget;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QInputMethodEvent;
class QDropEvent;

class CWndManager : public QObject {
public:
    // The manager; created when first needed. Requires a Qt application for windows.
    static CWndManager& Instance();
    // Null when there is no Qt application (windows cannot exist then).
    static CWndManager* InstanceIfReady();

    // ---- handles ------------------------------------------------------------------------
    CWndState* NewWindow();
    CWndState* Find(HWND hWnd) const;
    void Forget(HWND hWnd);
    std::vector<HWND> AllWindows() const;
    CWnd* FromWidget(const QWidget* pWidget) const;
    void MapWidget(const QWidget* pWidget, HWND hWnd);
    void UnmapWidget(const QWidget* pWidget);

    // ---- messages -----------------------------------------------------------------------
    BOOL Post(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    void PostQuit(int nExitCode);
    LRESULT Call(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    const MSG* CurrentMessage() const;
    unsigned long long CurrentMessageSerial() const;
    void SchedulePaint(CWndState* pState);
    int DispatchDepth() const { return m_nDispatchDepth; }
    // Runs the application's pre-translation and then the window procedure for one
    // message from the queue or from input. Returns FALSE when the message was eaten.
    BOOL PumpOne(MSG& msg);

    // ---- input state --------------------------------------------------------------------
    HWND m_hWndCapture = nullptr;
    HWND m_hWndFocus = nullptr;
    // While above 0, SetFocus leaves the keyboard where it is (a commit of the input method
    // reaching a window that no longer has it).
    int m_nKeyboardHeld = 0;
    HWND m_hWndMouse = nullptr; // the window that last had the mouse
    std::array<bool, 256> m_keyDown{};
    bool m_bCapsLock = false;
    bool m_bNumLock = false;
    QPoint m_lastCursorPos;
    DWORD m_dwLastMessageTime = 0;
    HCURSOR m_hCursor = nullptr;
    // Dispatch of one Qt event: whether its handlers asked for the native handling too.
    struct CQtDispatch {
        bool passToQt = false;
    };
    std::vector<CQtDispatch*> m_qtDispatch;

    // ---- idle ---------------------------------------------------------------------------
    bool m_bIdlePending = true;
    bool m_bInIdle = false;
    void RunIdleIfPending();

    // Events of the posted-message and paint queues.
    static int PostedMessageEventType();
    static int PaintEventType();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    CWndManager();
    void OnFocusChanged(QWidget* pOld, QWidget* pNow);
    bool TranslateKey(QWidget* pWidget, QKeyEvent* pEvent);
    bool TranslateMouse(QWidget* pWidget, QMouseEvent* pEvent);
    bool TranslateWheel(QWidget* pWidget, QWheelEvent* pEvent);
    bool TranslateInputMethod(QWidget* pWidget, QInputMethodEvent* pEvent);
    bool TranslateWindowEvent(QWidget* pWidget, QEvent* pEvent);
    bool TranslateDrop(QWidget* pWidget, QDropEvent* pEvent);
    // Delivers one input message; returns TRUE when the native widget should not see the
    // Qt event (the message was eaten or handled without the default).
    bool DeliverInput(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, bool& bPassToQt);
    void UpdateKeyState(QKeyEvent* pEvent, bool bDown);
    void UpdateModifierState(Qt::KeyboardModifiers mods);

    std::map<uintptr_t, CWndState*> m_windows;
    std::map<const QWidget*, HWND> m_widgets;
    uintptr_t m_nNextHandle = 0x10;
    std::vector<MSG> m_currentMessages;
    // The serial of each message in m_currentMessages, and the last serial given out.
    std::vector<unsigned long long> m_currentSerials;
    unsigned long long m_nLastSerial = 0;
    int m_nDispatchDepth = 0;
    const QEvent* m_pLastKeyEvent = nullptr;
    struct CLastKey {
        int type = 0;
        int key = 0;
        int modifiers = 0;
        quint64 timestamp = 0;
    } m_lastKey;
    QPointer<QWidget> m_lastKeyWidget;
};
