#include "platform/ui/core/CWndFrameWidget_p.h"

#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndManager_p.h"

#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace {
constexpr int kScrollBarWidth = 17; // as the system metrics report (SM_CXVSCROLL)
}

CWndFrameWidget::CWndFrameWidget(HWND hWnd, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_hWnd(hWnd)
{
    setAttribute(Qt::WA_NoSystemBackground, false);
    setAutoFillBackground(false);
    m_hScroll = new QScrollBar(Qt::Horizontal, this);
    m_vScroll = new QScrollBar(Qt::Vertical, this);
    m_hScroll->hide();
    m_vScroll->hide();
    m_hScroll->setFocusPolicy(Qt::NoFocus);
    m_vScroll->setFocusPolicy(Qt::NoFocus);
    m_sizeBox = new QWidget(this);
    m_sizeBox->setAutoFillBackground(true);
    m_sizeBox->hide();
    connect(m_hScroll, &QAbstractSlider::actionTriggered, this,
            [this](int a) { OnScrollAction(SB_HORZ, a); });
    connect(m_vScroll, &QAbstractSlider::actionTriggered, this,
            [this](int a) { OnScrollAction(SB_VERT, a); });
    connect(m_hScroll, &QAbstractSlider::sliderReleased, this, [this] { OnScrollAction(SB_HORZ, -1); });
    connect(m_vScroll, &QAbstractSlider::sliderReleased, this, [this] { OnScrollAction(SB_VERT, -1); });
}

int CWndFrameWidget::BorderWidth() const
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    CWndState* pState = pManager && m_hWnd ? pManager->Find(m_hWnd) : nullptr;
    if (!pState)
        return 0;
    if (pState->exStyle & WS_EX_CLIENTEDGE)
        return 2;
    // A top-level window with a caption gets its frame from the desktop.
    if (!(pState->style & WS_CHILD) && (pState->style & WS_CAPTION) == WS_CAPTION)
        return 0;
    if ((pState->style & WS_BORDER) || (pState->exStyle & WS_EX_STATICEDGE))
        return 1;
    return 0;
}

QRect CWndFrameWidget::ClientRectFor(const QSize& outer) const
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    CWndState* pState = pManager && m_hWnd ? pManager->Find(m_hWnd) : nullptr;
    const int b = BorderWidth();
    // A caption of the program's own (a dialog whose window manager draws none) stands in
    // the widget's top margin.
    const int cyCaption = contentsMargins().top();
    QRect r(b, b + cyCaption, outer.width() - 2 * b, outer.height() - 2 * b - cyCaption);
    if (pState) {
        if (pState->scroll[SB_VERT].visible)
            r.setRight(r.right() - kScrollBarWidth);
        if (pState->scroll[SB_HORZ].visible)
            r.setBottom(r.bottom() - kScrollBarWidth);
    }
    if (r.width() < 0)
        r.setWidth(0);
    if (r.height() < 0)
        r.setHeight(0);
    return r;
}

void CWndFrameWidget::Relayout()
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    CWndState* pState = pManager && m_hWnd ? pManager->Find(m_hWnd) : nullptr;
    const QRect c = ClientRectFor(size());
    if (m_client)
        m_client->setGeometry(c);
    if (!pState)
        return;
    const bool h = pState->scroll[SB_HORZ].visible;
    const bool v = pState->scroll[SB_VERT].visible;
    if (v) {
        m_vScroll->setGeometry(c.right() + 1, c.top(), kScrollBarWidth, c.height());
        m_vScroll->show();
    } else {
        m_vScroll->hide();
    }
    if (h) {
        m_hScroll->setGeometry(c.left(), c.bottom() + 1, c.width(), kScrollBarWidth);
        m_hScroll->show();
    } else {
        m_hScroll->hide();
    }
    if (h && v) {
        m_sizeBox->setGeometry(c.right() + 1, c.bottom() + 1, kScrollBarWidth, kScrollBarWidth);
        m_sizeBox->show();
    } else {
        m_sizeBox->hide();
    }
}

void CWndFrameWidget::paintEvent(QPaintEvent*)
{
    const int b = BorderWidth();
    if (b == 0)
        return;
    QPainter p(this);
    const QRect r = rect();
    if (b == 1) {
        p.setPen(QColor(0, 0, 0));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    // The sunken edge: shadow and dark shadow on the top and left, light and highlight on
    // the bottom and right.
    p.setPen(QColor(160, 160, 160));
    p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
    p.setPen(QColor(105, 105, 105));
    p.drawLine(r.left() + 1, r.top() + 1, r.right() - 2, r.top() + 1);
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 2);
    p.setPen(QColor(255, 255, 255));
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.setPen(QColor(227, 227, 227));
    p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
}

void CWndFrameWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

void CWndFrameWidget::OnScrollAction(int nBar, int action)
{
    if (!m_hWnd)
        return;
    CWndManager* pManager = CWndManager::InstanceIfReady();
    CWndState* pState = pManager ? pManager->Find(m_hWnd) : nullptr;
    if (!pState)
        return;
    QScrollBar* pBar = ScrollBar(nBar);
    UINT nCode = SB_ENDSCROLL;
    int nPos = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        nCode = SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        nCode = SB_LINEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        nCode = SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        nCode = SB_PAGEUP;
        break;
    case QAbstractSlider::SliderToMinimum:
        nCode = SB_TOP;
        break;
    case QAbstractSlider::SliderToMaximum:
        nCode = SB_BOTTOM;
        break;
    case QAbstractSlider::SliderMove:
        nCode = SB_THUMBTRACK;
        nPos = pBar->sliderPosition();
        pState->scroll[nBar].info.nTrackPos = nPos;
        break;
    case -1: // released after dragging
        nCode = SB_THUMBPOSITION;
        nPos = pBar->sliderPosition();
        break;
    default:
        return;
    }
    // The window decides the position itself (SetScrollPos); until it does, the bar stays.
    const int keep = pState->scroll[nBar].info.nPos;
    if (nCode != SB_THUMBTRACK) {
        QSignalBlocker block(pBar);
        pBar->setSliderPosition(keep);
    }
    const UINT msg = nBar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    pManager->Call(m_hWnd, msg, MAKEWPARAM(static_cast<WORD>(nCode), static_cast<WORD>(nPos)), 0);
    if (nCode == SB_THUMBPOSITION)
        pManager->Call(m_hWnd, msg, MAKEWPARAM(static_cast<WORD>(SB_ENDSCROLL), 0), 0);
}
