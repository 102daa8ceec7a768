// The client area of a self-drawn window (platform/ui internal). It keeps the retained back
// buffer the window's WM_PAINT handlers and client contexts draw into; Qt's paint events only
// copy the buffer out.
#pragma once

#include "platform/ui/core/WinDefs.h"

#include <QImage>
#include <QWidget>

class CWndClientWidget : public QWidget {
public:
    CWndClientWidget(HWND hWnd, QWidget* parent);

    HWND GetHwnd() const { return m_hWnd; }
    void Orphan() { m_hWnd = nullptr; }
    QImage& Buffer() { return m_buffer; }
    // Makes the buffer match the widget's size and the screen's pixel density, keeping what
    // it holds; returns TRUE when it changed. The buffer is in device pixels, with the
    // density as its device pixel ratio.
    bool SyncBufferSize();
    // The buffer's size in the window's own pixels.
    QSize BufferSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The window paints what the keyboard focus changes itself (WM_SETFOCUS, WM_KILLFOCUS):
    // nothing of the buffer changes, so Qt's repaint of the whole widget (and of the scroll
    // bars over it) on every focus change is left out.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    HWND m_hWnd;
    QImage m_buffer;
};
