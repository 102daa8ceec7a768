// A user's keys and mouse as the window system hands them to the program: Qt events sent
// to a window's client widget travel the program's own input path (the key state, the
// frames' accelerators, the window messages), as pressing and dragging do.
#pragma once

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

// The toolkit's own entry for a mouse event from the window system (what its test library
// uses).
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace RealInput {

// The widget a key goes to: the focus widget of the active window, or the window itself
// when nothing in it has the focus; null when no window is active.
inline QWidget* KeyboardWidget()
{
    QWidget* pActive = QApplication::activeWindow();
    if (pActive == nullptr)
        return nullptr;
    return pActive->focusWidget() != nullptr ? pActive->focusWidget() : pActive;
}

// Holds the modifiers down one by one, presses and releases the key, lets the modifiers go.
// A modifier key's own event carries the modifiers held before it, as the keyboard reports
// them (the toolkit adds or takes away the key itself): a release that carried the state
// after it would read as the modifier still held, and the toolkit would keep it held for
// whatever comes next.
inline void PressKeys(QWidget* pWidget, Qt::KeyboardModifiers mods, int nKey)
{
    struct CModifier {
        Qt::KeyboardModifier mod;
        int nKey;
    };
    static constexpr CModifier kModifiers[] = {{Qt::ShiftModifier, Qt::Key_Shift},
                                               {Qt::ControlModifier, Qt::Key_Control},
                                               {Qt::AltModifier, Qt::Key_Alt}};
    Qt::KeyboardModifiers held;
    for (const CModifier& m : kModifiers) {
        if (mods & m.mod) {
            QKeyEvent press(QEvent::KeyPress, m.nKey, held);
            QApplication::sendEvent(pWidget, &press);
            held |= m.mod;
        }
    }
    QKeyEvent press(QEvent::KeyPress, nKey, held);
    QApplication::sendEvent(pWidget, &press);
    QKeyEvent release(QEvent::KeyRelease, nKey, held);
    QApplication::sendEvent(pWidget, &release);
    for (const CModifier& m : kModifiers) {
        if (mods & m.mod) {
            QKeyEvent up(QEvent::KeyRelease, m.nKey, held);
            QApplication::sendEvent(pWidget, &up);
            held &= ~m.mod;
        }
    }
}

// Types a text key by key, each character pressed and released with the text it types.
inline void TypeText(QWidget* pWidget, const QString& text)
{
    for (const QChar ch : text) {
        const int nKey = ch.isDigit() ? Qt::Key_0 + ch.digitValue() : 0;
        QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier, ch);
        QApplication::sendEvent(pWidget, &press);
        QKeyEvent release(QEvent::KeyRelease, nKey, Qt::NoModifier, ch);
        QApplication::sendEvent(pWidget, &release);
    }
}

// The left button pressed at one client point, moved to another and released there.
inline void Drag(QWidget* pWidget, QPoint from, QPoint to)
{
    const auto send = [pWidget](QEvent::Type type, QPoint pt, Qt::MouseButton button,
                                Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(pWidget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

// The left button pressed and released at a client point.
inline void Click(QWidget* pWidget, QPoint at)
{
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(pWidget->mapToGlobal(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(pWidget, &event);
    }
}

// The left button pressed and released at a widget's point as the window system reports it
// to the widget's top-level window: the toolkit finds the widget under the point and gives
// the keyboard to it (or a parent) as their focus policies say, as a click on the screen
// does.
inline void ClickOnScreen(QWidget* pWidget, QPoint at)
{
    QWidget* pTop = pWidget->window();
    QWindow* pWindow = pTop->windowHandle();
    if (pWindow == nullptr)
        return;
    const QPointF local(pWidget->mapTo(pTop, at));
    const QPointF global(pWidget->mapToGlobal(at));
    static int s_nTime = 0;
    s_nTime += 1000; // never a double click with the one before
    qt_handleMouseEvent(pWindow, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress,
                        Qt::NoModifier, s_nTime);
    qt_handleMouseEvent(pWindow, local, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                        Qt::NoModifier, s_nTime + 10);
}

// The mouse wheel turned by a number of notches at a client point: towards the user (down)
// for a negative count.
inline void Wheel(QWidget* pWidget, QPoint at, int nNotches)
{
    QWheelEvent event(QPointF(at), QPointF(pWidget->mapToGlobal(at)), QPoint(), QPoint(0, nNotches * 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pWidget, &event);
}

// Chooses the item of a window's menu bar whose command is nID: each menu on the way is
// opened (its items are brought up to date, as when the user opens it) and the item is
// clicked. False when no enabled item carries the command. The command comes after the
// queued messages have run.
inline bool ChooseMenuItem(QMainWindow* pWindow, unsigned nID)
{
    const auto choose = [nID](QMenu* pMenu, const auto& self) -> bool {
        emit pMenu->aboutToShow();
        for (QAction* pAction : pMenu->actions()) {
            if (QMenu* pSub = pAction->menu()) {
                if (pAction->isEnabled() && self(pSub, self))
                    return true;
            } else if (pAction->data().toUInt() == nID) {
                if (!pAction->isEnabled())
                    return false;
                pAction->trigger();
                return true;
            }
        }
        return false;
    };
    for (QAction* pAction : pWindow->menuBar()->actions()) {
        if (pAction->menu() != nullptr && pAction->isEnabled() && choose(pAction->menu(), choose))
            return true;
    }
    return false;
}

} // namespace RealInput
