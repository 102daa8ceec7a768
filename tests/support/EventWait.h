// Waiting for what the window system, a timer or another program does in its own time. A
// test waits for the event itself, never for a fixed time: a loaded machine only makes it
// wait longer. The limit is far above any machine's delay; it only ends a run that would
// otherwise hang, and the failure then says what was waited for.
#pragma once

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QString>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

inline constexpr std::chrono::milliseconds kEventWaitLimit = std::chrono::seconds(60);

// "gave up after 60.0 s waiting for <what>"
inline std::string GaveUpWaitingFor(const QElapsedTimer& clock, const std::string& what)
{
    return "gave up after " + QString::number(clock.elapsed() / 1000.0, 'f', 1).toStdString() +
           " s waiting for " + what;
}

// Runs the event loop until ready() holds; a test writes ASSERT_TRUE(WaitUntil(...)) or
// EXPECT_TRUE(WaitUntil(...)), and a wait that gives up fails naming what it waited for.
[[nodiscard]] inline ::testing::AssertionResult WaitUntil(const std::function<bool()>& ready,
                                                          const std::string& what,
                                                          std::chrono::milliseconds limit = kEventWaitLimit)
{
    QElapsedTimer clock;
    clock.start();
    while (!ready()) {
        if (clock.elapsed() >= limit.count())
            return ::testing::AssertionFailure() << GaveUpWaitingFor(clock, what);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return ::testing::AssertionSuccess();
}

// Runs the event loop until a timer of the given period has fired n times. Every timer of
// that period or a shorter one that was running has had its turns by then, however slowly
// the machine goes: a test that shows that something does not happen (a timer stopped, a
// delay that must not end in anything) lets the timers run instead of waiting a fixed time.
inline void LetTimersRun(std::chrono::milliseconds period, int nTimes = 3)
{
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    int nFired = 0;
    QObject::connect(&timer, &QTimer::timeout, [&nFired] { ++nFired; });
    timer.start(period);
    EXPECT_TRUE(WaitUntil([&nFired, nTimes] { return nFired >= nTimes; },
                          "a timer of " + std::to_string(period.count()) + " ms to fire " +
                              std::to_string(nTimes) + " times"));
}

// Handles everything that is pending (posted events, the window system's events, timers that
// are due) until a pass finds nothing left.
inline void DrainEvents()
{
    QElapsedTimer clock;
    clock.start();
    QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance();
    while (pDispatcher->processEvents(QEventLoop::AllEvents)) {
        if (clock.elapsed() >= kEventWaitLimit.count()) {
            ADD_FAILURE() << GaveUpWaitingFor(clock, "the event queue to run dry");
            return;
        }
    }
}

// Drains the event queue, makes a round trip to the window system and handles what it
// brought: what the program was asked to draw is on the screen after it.
inline void DrainEventsAndSync()
{
    DrainEvents();
    QGuiApplication::sync();
    DrainEvents();
}

// A picture of the whole screen in the file at path (ImageMagick's import), taken once the
// window is on the screen and drawn: the window system has exposed it and every pending
// event has been handled. For pictures a person looks at, on a real display.
inline bool TakeScreenshot(QWidget* pWindow, const std::string& path)
{
    EXPECT_TRUE(WaitUntil(
        [pWindow] {
            return pWindow->window()->windowHandle() && pWindow->window()->windowHandle()->isExposed();
        },
        "the window to show on the screen for " + path));
    DrainEventsAndSync();
    const std::string command = "import -window root '" + path + "'";
    return std::system(command.c_str()) == 0;
}

// Acts once ready() holds, looking from the event loop every few milliseconds; each look
// returns to the loop, so that a modal loop about to start (a dialog, a message box) can
// start. It stops looking when it goes away. When the limit passes first, the test fails
// naming what it waited for, and the modal window, if one is up, is closed so that the
// test goes on.
class CWhenReady {
public:
    CWhenReady(std::function<bool()> ready, std::function<void()> act, std::string what,
               std::chrono::milliseconds limit = kEventWaitLimit)
        : m_ready(std::move(ready)), m_act(std::move(act)), m_what(std::move(what)), m_limit(limit)
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Look(); });
        m_timer.start(0);
    }
    CWhenReady(const CWhenReady&) = delete;
    CWhenReady& operator=(const CWhenReady&) = delete;

private:
    void Look()
    {
        if (m_ready()) {
            m_timer.stop();
            m_act();
        } else if (m_clock.elapsed() >= m_limit.count()) {
            m_timer.stop();
            ADD_FAILURE() << GaveUpWaitingFor(m_clock, m_what);
            if (QWidget* pModal = QApplication::activeModalWidget())
                pModal->close();
        } else {
            m_timer.setInterval(5);
        }
    }

    std::function<bool()> m_ready;
    std::function<void()> m_act;
    std::string m_what;
    std::chrono::milliseconds m_limit;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

// Acts on the modal window once it is a TWidget (the dialog or message box a test opens
// after this returns).
template <class TWidget>
CWhenReady WhenModalOpens(std::function<void(TWidget&)> act, std::string what)
{
    return CWhenReady(
        [] { return qobject_cast<TWidget*>(QApplication::activeModalWidget()) != nullptr; },
        [act = std::move(act)] { act(*qobject_cast<TWidget*>(QApplication::activeModalWidget())); },
        std::move(what));
}
