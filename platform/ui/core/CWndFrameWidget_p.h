// The outer widget of a self-drawn window (platform/ui internal): the border (WS_BORDER,
// WS_EX_CLIENTEDGE), the window's own scroll bars (WS_HSCROLL, WS_VSCROLL) and the client
// widget inside them.
#pragma once

#include "platform/ui/core/WinDefs.h"

#include <QWidget>

class QScrollBar;
class CWndClientWidget;

class CWndFrameWidget : public QWidget {
public:
    CWndFrameWidget(HWND hWnd, QWidget* parent, Qt::WindowFlags flags);

    HWND GetHwnd() const { return m_hWnd; }
    void Orphan() { m_hWnd = nullptr; }
    void SetClient(CWndClientWidget* client) { m_client = client; }
    // Border width in pixels for the window's styles.
    int BorderWidth() const;
    // Places the client widget and the scroll bars for the current styles.
    void Relayout();
    QScrollBar* ScrollBar(int nBar) const { return nBar == SB_HORZ ? m_hScroll : m_vScroll; }
    // The client rectangle inside this widget for a given outer size.
    QRect ClientRectFor(const QSize& outer) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnScrollAction(int nBar, int action);

    HWND m_hWnd;
    CWndClientWidget* m_client = nullptr;
    QScrollBar* m_hScroll = nullptr;
    QScrollBar* m_vScroll = nullptr;
    QWidget* m_sizeBox = nullptr;
};
