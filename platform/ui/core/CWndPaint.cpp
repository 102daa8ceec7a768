#include "platform/ui/core/CWnd.h"

#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndFrameWidget_p.h"
#include "platform/ui/core/CWndShared_p.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <QAbstractScrollArea>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace {

// Moves a block of a back buffer (rectangle and target in the window's pixels) pixel for
// pixel at the buffer's density, so that scrolling never resamples what it moves.
void MoveDevicePixels(QImage& buffer, const QRect& source, const QPoint& target)
{
    const double dpr = buffer.devicePixelRatio();
    const auto device = [dpr](int v) { return static_cast<int>(std::lround(v * dpr)); };
    const QRect from =
        QRect(QPoint(device(source.left()), device(source.top())),
              QPoint(device(source.left() + source.width()) - 1, device(source.top() + source.height()) - 1))
            .intersected(buffer.rect());
    if (from.isEmpty())
        return;
    const QImage block = buffer.copy(from);
    const QPoint to(device(target.x()) + (from.left() - device(source.left())),
                    device(target.y()) + (from.top() - device(source.top())));
    const QRect dest = QRect(to, block.size()).intersected(buffer.rect());
    const int bytesPerPixel = buffer.depth() / 8;
    for (int y = dest.top(); y <= dest.bottom(); ++y) {
        const uchar* src =
            block.constScanLine(y - to.y()) + static_cast<size_t>(dest.left() - to.x()) * bytesPerPixel;
        std::memcpy(buffer.scanLine(y) + static_cast<size_t>(dest.left()) * bytesPerPixel, src,
                    static_cast<size_t>(dest.width()) * bytesPerPixel);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// Painting.
// ---------------------------------------------------------------------------------------
void CWnd::Invalidate(BOOL bErase)
{
    InvalidateRect(nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->client)
        return;
    QRect all(QPoint(0, 0), pState->client->size());
    if (!pState->IsSelfDrawn()) {
        const QRect rect = lpRect ? QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                                          lpRect->bottom - lpRect->top)
                                  : all;
        pState->client->update(rect);
        // A control that scrolls (a list box) draws its items in a viewport of its own, which
        // the update of the control's frame does not reach.
        if (auto* pArea = qobject_cast<QAbstractScrollArea*>(pState->client.data()))
            pArea->viewport()->update(rect.translated(-pArea->viewport()->pos()));
        return;
    }
    QRect r = all;
    if (lpRect) {
        CRect rc(*lpRect);
        rc.NormalizeRect();
        r = QRect(rc.left, rc.top, rc.Width(), rc.Height()).intersected(all);
    }
    if (r.isEmpty())
        return;
    pState->invalid += r;
    if (bErase)
        pState->eraseNeeded = true;
    CWndManager::Instance().SchedulePaint(pState);
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase)
{
    if (!pRgn || !pRgn->m_hObject) {
        Invalidate(bErase);
        return;
    }
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->client)
        return;
    const QRegion rgn =
        CGdiData::From(pRgn->m_hObject)->region.intersected(QRect(QPoint(0, 0), pState->client->size()));
    if (!pState->IsSelfDrawn()) {
        pState->client->update(rgn);
        return;
    }
    if (rgn.isEmpty())
        return;
    pState->invalid += rgn;
    if (bErase)
        pState->eraseNeeded = true;
    CWndManager::Instance().SchedulePaint(pState);
}

void CWnd::ValidateRect(LPCRECT lpRect)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return;
    if (!lpRect) {
        pState->invalid = QRegion();
        pState->eraseNeeded = false;
        return;
    }
    CRect rc(*lpRect);
    rc.NormalizeRect();
    pState->invalid -= QRect(rc.left, rc.top, rc.Width(), rc.Height());
    if (pState->invalid.isEmpty())
        pState->eraseNeeded = false;
}

void CWnd::ValidateRgn(CRgn* pRgn)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return;
    if (!pRgn || !pRgn->m_hObject) {
        ValidateRect(nullptr);
        return;
    }
    pState->invalid -= CGdiData::From(pRgn->m_hObject)->region;
    if (pState->invalid.isEmpty())
        pState->eraseNeeded = false;
}

void CWnd::UpdateWindow()
{
    AfxPaintWindowNow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    if (flags & RDW_INVALIDATE) {
        if (prgnUpdate)
            InvalidateRgn(prgnUpdate, (flags & RDW_ERASE) != 0);
        else
            InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_VALIDATE) {
        if (prgnUpdate)
            ValidateRgn(prgnUpdate);
        else
            ValidateRect(lpRectUpdate);
    }
    if (flags & RDW_FRAME) {
        if (pState->frame)
            pState->frame->update();
    }
    if (flags & RDW_ALLCHILDREN) {
        const std::vector<HWND> children = pState->children;
        for (HWND h : children) {
            if (CWnd* p = FromHandle(h))
                p->RedrawWindow(nullptr, nullptr, flags);
        }
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        UpdateWindow();
    return TRUE;
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState) {
        if (lpRect)
            *lpRect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    const QRect r = pState->invalid.boundingRect();
    if (lpRect)
        *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    (void)bErase;
    return !pState->invalid.isEmpty();
}

void CWnd::SetRedraw(BOOL bRedraw)
{
    SendMessage(WM_SETREDRAW, bRedraw, 0);
}

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect)
{
    ScrollWindowEx(xAmount, yAmount, lpRect, lpClipRect, nullptr, nullptr,
                   (lpRect ? 0u : SW_SCROLLCHILDREN) | SW_INVALIDATE | SW_ERASE);
}

int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags)
{
    (void)prgnUpdate;
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->client)
        return 0;
    const QRect all(QPoint(0, 0), pState->client->size());
    auto toQ = [](LPCRECT r) {
        CRect rc(*r);
        rc.NormalizeRect();
        return QRect(rc.left, rc.top, rc.Width(), rc.Height());
    };
    const QRect scroll = lpRectScroll ? toQ(lpRectScroll).intersected(all) : all;
    const QRect clip = lpRectClip ? toQ(lpRectClip).intersected(all) : (lpRectScroll ? scroll : all);
    const QRect source = scroll.intersected(clip);
    const QRect dest = source.translated(dx, dy).intersected(clip);
    QRegion uncovered = QRegion(source).subtracted(QRegion(dest));

    if (pState->IsSelfDrawn()) {
        QImage& buffer = pState->surface->Buffer();
        if (!dest.isEmpty() && !buffer.isNull())
            MoveDevicePixels(buffer, dest.translated(-dx, -dy), dest.topLeft());
        // What was waiting to be painted in the scrolled area moves with it.
        const QRegion pending = pState->invalid.intersected(source);
        pState->invalid = pState->invalid.subtracted(source)
                              .united(pending.translated(dx, dy).intersected(clip))
                              .united(flags & SW_INVALIDATE ? uncovered : QRegion());
        if ((flags & SW_ERASE) && !uncovered.isEmpty())
            pState->eraseNeeded = true;
        if (!pState->invalid.isEmpty())
            CWndManager::Instance().SchedulePaint(pState);
        pState->surface->update(clip);
    } else {
        pState->client->scroll(dx, dy, clip);
    }
    if (flags & SW_SCROLLCHILDREN) {
        for (HWND h : pState->children) {
            CWndState* p = StateOf(h);
            if (p && p->widget)
                p->widget->move(p->widget->pos() + QPoint(dx, dy));
        }
    }
    if (lpRectUpdate) {
        const QRect u = uncovered.boundingRect();
        *lpRectUpdate = RECT{u.left(), u.top(), u.left() + u.width(), u.top() + u.height()};
    }
    return uncovered.isEmpty() ? 1 /* NULLREGION */ : 2 /* SIMPLEREGION */;
}

CDC* CWnd::GetDC()
{
    if (!m_hWnd)
        return nullptr;
    return new CClientDC(this);
}

CDC* CWnd::GetWindowDC()
{
    return GetDC();
}

int CWnd::ReleaseDC(CDC* pDC)
{
    if (!pDC)
        return 0;
    delete pDC;
    return 1;
}

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint)
{
    auto* pDC = new CPaintDC(this);
    *lpPaint = pDC->m_ps;
    lpPaint->hdc = pDC->GetSafeHdc();
    return pDC;
}

void CWnd::EndPaint(LPPAINTSTRUCT lpPaint)
{
    if (lpPaint && lpPaint->hdc)
        delete static_cast<CPaintDC*>(CDC::FromHandle(lpPaint->hdc));
}

int CWnd::SetWindowRgn(HRGN hRgn, BOOL bRedraw)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->widget)
        return 0;
    if (!hRgn)
        pState->widget->clearMask();
    else
        pState->widget->setMask(CGdiData::From(hRgn)->region);
    if (bRedraw)
        pState->widget->update();
    return 1;
}
