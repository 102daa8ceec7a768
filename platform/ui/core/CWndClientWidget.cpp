#include "platform/ui/core/CWndClientWidget_p.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Imm_p.h"

#include <QFocusEvent>
#include <QFont>
#include <QInputMethodQueryEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <cmath>

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
    // The input method's events and where it is told the widget is are followed from the
    // first self-drawn window on.
    AfxEnsureImeTracker();
}

bool CWndClientWidget::SyncBufferSize()
{
    // The buffer holds device pixels: on a high-density screen the window's drawing is as
    // fine as the screen, while the window code keeps working in the window's own pixels.
    const QSize size = this->size().expandedTo(QSize(1, 1));
    const double dpr = devicePixelRatioF();
    if (!m_buffer.isNull() && m_buffer.deviceIndependentSize().toSize() == size &&
        m_buffer.devicePixelRatio() == dpr)
        return false;
    QImage next(QSize(static_cast<int>(std::ceil(size.width() * dpr)),
                      static_cast<int>(std::ceil(size.height() * dpr))),
                QImage::Format_RGB32);
    next.setDevicePixelRatio(dpr);
    next.fill(kUnpaintedColour);
    if (!m_buffer.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, m_buffer);
    }
    m_buffer = std::move(next);
    return true;
}

QSize CWndClientWidget::BufferSize() const
{
    return m_buffer.isNull() ? QSize(0, 0) : m_buffer.deviceIndependentSize().toSize();
}

void CWndClientWidget::paintEvent(QPaintEvent* event)
{
    if (m_buffer.isNull() || m_buffer.devicePixelRatio() != devicePixelRatioF()) {
        // New buffer, or the window went to a screen of another density: all of it is
        // painted again at the new density.
        const bool bHad = !m_buffer.isNull();
        SyncBufferSize();
        if (bHad && m_hWnd)
            if (CWnd* pWnd = CWnd::FromHandle(m_hWnd))
                pWnd->Invalidate(FALSE);
    }
    QPainter p(this);
    const QRect r = event->rect();
    const double dpr = m_buffer.devicePixelRatio();
    p.drawImage(QRectF(r), m_buffer, QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
}

void CWndClientWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_hWnd)
        AfxClientSizeChanged(m_hWnd);
}

void CWndClientWidget::focusInEvent(QFocusEvent* event)
{
    event->accept();
}

void CWndClientWidget::focusOutEvent(QFocusEvent* event)
{
    event->accept();
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
    // The input method's candidate list opens at the pre-edit's cursor, where the window's
    // composition form puts it (the top-left corner when the window gives none).
    if (query == Qt::ImCursorRectangle)
        return AfxImeCursorRectangle(m_hWnd);
    if (query == Qt::ImFont) {
        QFont font;
        if (AfxImeCompositionFont(m_hWnd, font))
            return font;
    }
    return QWidget::inputMethodQuery(query);
}
