#include "platform/ui/gdi/CDC_p.h"

#include <cmath>
#include <cstdlib>

namespace {

// Mapping-mode units per inch (metric and English modes; y grows upward).
int UnitsPerInch(int mapMode)
{
    switch (mapMode) {
    case MM_LOMETRIC:
        return 254;
    case MM_HIMETRIC:
        return 2540;
    case MM_LOENGLISH:
        return 100;
    case MM_HIENGLISH:
        return 1000;
    case MM_TWIPS:
        return 1440;
    default:
        return 0;
    }
}

CPoint ExchangeOrg(int& orgX, int& orgY, int x, int y)
{
    const CPoint old(orgX, orgY);
    orgX = x;
    orgY = y;
    return old;
}

// Scales a size by num/denom on each axis (MulDiv rounding).
void ScaleSize(LPSIZE lpSize, int xNum, int xDenom, int yNum, int yDenom)
{
    if (!lpSize)
        return;
    lpSize->cx = MulDiv(lpSize->cx, xNum, xDenom);
    lpSize->cy = MulDiv(lpSize->cy, yNum, yDenom);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Mapping.
// ---------------------------------------------------------------------------------------

int CDC::GetMapMode() const
{
    return m_pImpl->st.mapMode;
}

int CDC::SetMapMode(int nMapMode)
{
    CDCImpl& d = *m_pImpl;
    CDCState& st = d.st;
    const int old = st.mapMode;
    if (nMapMode < MM_TEXT || nMapMode > MM_ANISOTROPIC)
        return 0;
    if (nMapMode == MM_TEXT) {
        st.wndExtX = st.wndExtY = st.vpExtX = st.vpExtY = 1;
    } else if (const int upi = UnitsPerInch(nMapMode)) {
        // Fixed units per inch at the device's resolution, y growing upward.
        st.wndExtX = st.wndExtY = upi;
        st.vpExtX = d.caps.logPixelsX;
        st.vpExtY = -d.caps.logPixelsY;
    } else if (nMapMode == MM_ISOTROPIC && old != MM_ISOTROPIC && old != MM_ANISOTROPIC) {
        // Entering the isotropic mode starts from the metric mode's extents.
        st.wndExtX = st.wndExtY = 254;
        st.vpExtX = d.caps.logPixelsX;
        st.vpExtY = -d.caps.logPixelsY;
    }
    // MM_ANISOTROPIC keeps the current extents.
    st.mapMode = nMapMode;
    d.FixIsotropic();
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    return CPoint(m_pImpl->st.vpOrgX, m_pImpl->st.vpOrgY);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    return ExchangeOrg(m_pImpl->st.vpOrgX, m_pImpl->st.vpOrgY, x, y);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    CDCState& st = m_pImpl->st;
    return ExchangeOrg(st.vpOrgX, st.vpOrgY, st.vpOrgX + nWidth, st.vpOrgY + nHeight);
}

CSize CDC::GetViewportExt() const
{
    return CSize(m_pImpl->st.vpExtX, m_pImpl->st.vpExtY);
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    return m_pImpl->SetExtents(m_pImpl->st.vpExtX, m_pImpl->st.vpExtY, cx, cy);
}

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return m_pImpl->ScaleExtents(m_pImpl->st.vpExtX, m_pImpl->st.vpExtY, xNum, xDenom, yNum, yDenom);
}

CPoint CDC::GetWindowOrg() const
{
    return CPoint(m_pImpl->st.wndOrgX, m_pImpl->st.wndOrgY);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    return ExchangeOrg(m_pImpl->st.wndOrgX, m_pImpl->st.wndOrgY, x, y);
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    CDCState& st = m_pImpl->st;
    return ExchangeOrg(st.wndOrgX, st.wndOrgY, st.wndOrgX + nWidth, st.wndOrgY + nHeight);
}

CSize CDC::GetWindowExt() const
{
    return CSize(m_pImpl->st.wndExtX, m_pImpl->st.wndExtY);
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    return m_pImpl->SetExtents(m_pImpl->st.wndExtX, m_pImpl->st.wndExtY, cx, cy);
}

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    return m_pImpl->ScaleExtents(m_pImpl->st.wndExtX, m_pImpl->st.wndExtY, xNum, xDenom, yNum, yDenom);
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const
{
    for (int i = 0; lpPoints && i < nCount; ++i) {
        lpPoints[i].x = m_pImpl->XL2D(lpPoints[i].x);
        lpPoints[i].y = m_pImpl->YL2D(lpPoints[i].y);
    }
}

void CDC::LPtoDP(LPRECT lpRect) const
{
    if (lpRect)
        LPtoDP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    const CDCState& st = m_pImpl->st;
    ScaleSize(lpSize, std::abs(st.vpExtX), std::abs(st.wndExtX), std::abs(st.vpExtY), std::abs(st.wndExtY));
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const
{
    for (int i = 0; lpPoints && i < nCount; ++i) {
        lpPoints[i].x = m_pImpl->XD2L(lpPoints[i].x);
        lpPoints[i].y = m_pImpl->YD2L(lpPoints[i].y);
    }
}

void CDC::DPtoLP(LPRECT lpRect) const
{
    if (lpRect)
        DPtoLP(reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::DPtoLP(LPSIZE lpSize) const
{
    const CDCState& st = m_pImpl->st;
    ScaleSize(lpSize, std::abs(st.wndExtX), std::abs(st.vpExtX), std::abs(st.wndExtY), std::abs(st.vpExtY));
}

void CDC::DPtoHIMETRIC(LPSIZE lpSize) const
{
    ScaleSize(lpSize, 2540, m_pImpl->caps.logPixelsX, 2540, m_pImpl->caps.logPixelsY);
}

void CDC::HIMETRICtoDP(LPSIZE lpSize) const
{
    ScaleSize(lpSize, m_pImpl->caps.logPixelsX, 2540, m_pImpl->caps.logPixelsY, 2540);
}

void CDC::LPtoHIMETRIC(LPSIZE lpSize) const
{
    if (m_pImpl->st.mapMode == MM_HIMETRIC)
        return;
    LPtoDP(lpSize);
    DPtoHIMETRIC(lpSize);
}

void CDC::HIMETRICtoLP(LPSIZE lpSize) const
{
    if (m_pImpl->st.mapMode == MM_HIMETRIC)
        return;
    HIMETRICtoDP(lpSize);
    DPtoLP(lpSize);
}
