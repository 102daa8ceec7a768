// Helpers of the window-layer tests: running the event loop and windows that record the
// messages they get. Waiting for an event: tests/support/EventWait.h.
#pragma once

#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "tests/support/EventWait.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <vector>

// Handles every pending event (posted messages, timers, painting) until nothing is left
// for a moment.
inline void PumpEvents(int rounds = 5)
{
    for (int i = 0; i < rounds; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Everything Qt paints of a widget while the watch lives: what a change made the screen
// show again.
class CPaintedArea : public QObject {
public:
    explicit CPaintedArea(QWidget* pWidget) { pWidget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint)
            m_region += static_cast<QPaintEvent*>(pEvent)->region();
        return false;
    }
    bool Contains(int x, int y) const { return m_region.contains(QPoint(x, y)); }
    bool IsEmpty() const { return m_region.isEmpty(); }

private:
    QRegion m_region;
};

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A self-drawn window that records every message its window procedure sees.
class CRecorderWnd : public CWnd {
public:
    std::vector<RecordedMessage> log;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        log.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<RecordedMessage> Messages(UINT message) const
    {
        std::vector<RecordedMessage> out;
        for (const auto& m : log) {
            if (m.message == message)
                out.push_back(m);
        }
        return out;
    }

    BOOL CreateTopLevel(int cx = 200, int cy = 150, DWORD style = WS_POPUP | WS_VISIBLE)
    {
        return CreateEx(0, nullptr, "test", style, 100, 100, cx, cy, nullptr, nullptr);
    }
};
