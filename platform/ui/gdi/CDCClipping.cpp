#include "platform/ui/gdi/CDC_p.h"

#include <algorithm>

namespace {

RECT ToRECT(const QRect& r)
{
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int RegionKind(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Clipping.
// ---------------------------------------------------------------------------------------

int CDC::GetClipBox(LPRECT lpRect) const
{
    const CDCImpl& d = *m_pImpl;
    if (!lpRect)
        return ERROR;
    if (!m_hDC) {
        *lpRect = RECT{0, 0, 0, 0};
        return ERROR;
    }
    const QRegion visible = d.VisibleRegion();
    if (visible.isEmpty()) {
        *lpRect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    const QRect b = visible.boundingRect();
    RECT r = ToRECT(b);
    DPtoLP(&r);
    // Reported in ascending order on both axes, whatever way the axes point.
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    *lpRect = r;
    return RegionKind(visible);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    const QRegion current = d.st.hasClip ? d.st.clip : QRegion(d.DeviceBounds());
    d.st.clip = current & d.DevRect(x1, y1, x2, y2);
    d.st.hasClip = true;
    d.ClipChanged();
    return RegionKind(d.VisibleRegion());
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    const QRegion current = d.st.hasClip ? d.st.clip : QRegion(d.DeviceBounds());
    d.st.clip = current - QRegion(d.DevRect(x1, y1, x2, y2));
    d.st.hasClip = true;
    d.ClipChanged();
    return RegionKind(d.VisibleRegion());
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    return SelectClipRgn(pRgn, RGN_COPY);
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    const QRegion* r = RegionOf(pRgn);
    if (!r) {
        if (nMode != RGN_COPY)
            return ERROR;
        d.st.hasClip = false;
        d.st.clip = QRegion();
    } else {
        const QRegion current = d.st.hasClip ? d.st.clip : QRegion(d.DeviceBounds());
        switch (nMode) {
        case RGN_AND:
            d.st.clip = current & *r;
            break;
        case RGN_OR:
            d.st.clip = current | *r;
            break;
        case RGN_XOR:
            d.st.clip = current ^ *r;
            break;
        case RGN_DIFF:
            d.st.clip = current - *r;
            break;
        case RGN_COPY:
            d.st.clip = *r;
            break;
        default:
            return ERROR;
        }
        d.st.hasClip = true;
    }
    d.ClipChanged();
    return RegionKind(d.VisibleRegion());
}

int CDC::OffsetClipRgn(int x, int y)
{
    CDCImpl& d = *m_pImpl;
    if (!m_hDC)
        return ERROR;
    if (d.st.hasClip) {
        d.st.clip.translate(d.LenX(x) * (x * d.ScaleX() < 0 ? -1 : 1),
                            d.LenY(y) * (y * d.ScaleY() < 0 ? -1 : 1));
        d.ClipChanged();
    }
    return RegionKind(d.VisibleRegion());
}

int CDC::GetVisibleRgn(CRgn* pRgn) const
{
    if (!m_hDC || pRgn == nullptr)
        return ERROR;
    if (pRgn->m_hObject == nullptr && !pRgn->CreateRectRgn(0, 0, 0, 0))
        return ERROR;
    QRegion* pRegion = RegionOf(pRgn);
    if (pRegion == nullptr)
        return ERROR;
    *pRegion = m_pImpl->VisibleRegion();
    return RegionKind(*pRegion);
}

BOOL CDC::PtVisible(int x, int y) const
{
    const CDCImpl& d = *m_pImpl;
    return m_hDC && d.VisibleRegion().contains(d.L2D(x, y));
}

BOOL CDC::RectVisible(LPCRECT lpRect) const
{
    const CDCImpl& d = *m_pImpl;
    return m_hDC && lpRect &&
           d.VisibleRegion().intersects(d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom));
}
