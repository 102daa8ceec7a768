// Helpers of the tree, list, rich-edit and drag-and-drop tests: a parent window that
// records the notifications its controls send, and Qt input sent to a control's widgets.
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinDefs.h"

#include "UiTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <vector>

namespace commonctl {

// A top-level self-drawn window that keeps a copy of every WM_NOTIFY header it gets and
// every WM_COMMAND notification code, and can answer notifications by code.
class CNotifyParent : public CRecorderWnd {
public:
    struct Note {
        UINT code;
        UINT_PTR idFrom;
    };
    std::vector<Note> notes;
    std::vector<WORD> commands;              // WM_COMMAND notification codes from controls
    std::function<LRESULT(NMHDR*)> onNotify; // may answer a notification (its result)

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY) {
            auto* p = reinterpret_cast<NMHDR*>(lParam);
            notes.push_back({p->code, p->idFrom});
            if (onNotify)
                return onNotify(p);
        }
        if (message == WM_COMMAND && lParam)
            commands.push_back(HIWORD(static_cast<DWORD>(wParam)));
        return CRecorderWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<UINT> Codes() const
    {
        std::vector<UINT> v;
        for (const Note& n : notes)
            v.push_back(n.code);
        return v;
    }
    int Count(UINT code) const
    {
        int n = 0;
        for (const Note& x : notes)
            n += x.code == code ? 1 : 0;
        return n;
    }
    int CommandCount(WORD code) const
    {
        int n = 0;
        for (WORD c : commands)
            n += c == code ? 1 : 0;
        return n;
    }
    void ClearNotes()
    {
        notes.clear();
        commands.clear();
    }
};

inline void SendKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, mods);
    QApplication::sendEvent(w, &ev);
}

inline void Click(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, mods);
    SendMouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, mods);
}

// What the widget shows now.
inline QImage Grab(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb Rgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace commonctl
