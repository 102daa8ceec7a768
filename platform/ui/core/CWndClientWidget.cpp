#include "platform/ui/core/CWndClientWidget_p.h"

#include "platform/ui/core/CWnd_p.h"

#include <QInputMethodQueryEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace {
// Colour of a buffer that nothing has painted yet: the window colour of the palette.
constexpr QRgb kUnpaintedColour = 0xFFFFFFFF;
} // namespace

CWndClientWidget::CWndClientWidget(HWND hWnd, QWidget* parent) : QWidget(parent), m_hWnd(hWnd)
{
    // Every mouse movement is reported (WM_MOUSEMOVE without a button), the widget takes
    // keyboard focus by click and by code, and typed text may come from an input method.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setAttribute(Qt::WA_NoSystemBackground, true);
    setAutoFillBackground(false);
}

bool CWndClientWidget::SyncBufferSize()
{
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (!m_buffer.isNull() && m_buffer.size() == size)
        return false;
    QImage next(size, QImage::Format_RGB32);
    next.fill(kUnpaintedColour);
    if (!m_buffer.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_buffer);
    }
    m_buffer = std::move(next);
    return true;
}

void CWndClientWidget::paintEvent(QPaintEvent* event)
{
    if (m_buffer.isNull())
        SyncBufferSize();
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), m_buffer, r);
}

void CWndClientWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_hWnd)
        AfxClientSizeChanged(m_hWnd);
}

bool CWndClientWidget::event(QEvent* event)
{
    // Context menus come from WM_RBUTTONUP through the window procedure, as on Windows; Qt's
    // own context-menu event would come a second time.
    if (event->type() == QEvent::ContextMenu) {
        event->accept();
        return true;
    }
    // Tab and Backtab are ordinary keys for a self-drawn window: focus moves only when the
    // window's code moves it.
    if (event->type() == QEvent::KeyPress) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

QVariant CWndClientWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return true;
    if (query == Qt::ImCursorRectangle) {
        // The input method's candidate window opens near the caret, which the window code
        // does not tell us; the top-left corner keeps it in sight.
        return QRect(0, 0, 1, 16);
    }
    return QWidget::inputMethodQuery(query);
}
