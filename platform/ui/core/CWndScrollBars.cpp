#include "platform/ui/core/CWnd.h"

#include "platform/ui/core/CWndFrameWidget_p.h"
#include "platform/ui/core/CWndShared_p.h"

#include <QScrollBar>

#include <algorithm>

// ---------------------------------------------------------------------------------------
// Scroll bars.
// ---------------------------------------------------------------------------------------
namespace {

void SyncScrollBar(CWndState* pState, int nBar)
{
    if (!pState->frame || nBar < 0 || nBar > 1)
        return;
    const SCROLLINFO& si = pState->scroll[nBar].info;
    QScrollBar* pBar = pState->frame->ScrollBar(nBar);
    QSignalBlocker block(pBar);
    const int page = static_cast<int>(si.nPage);
    const int maxPos = std::max(si.nMin, si.nMax - std::max(page - 1, 0));
    pBar->setRange(si.nMin, maxPos);
    pBar->setPageStep(std::max(page, 1));
    pBar->setSingleStep(1);
    pBar->setValue(si.nPos);
    pBar->setEnabled(pState->scroll[nBar].enabled && maxPos > si.nMin);
}

void SetScrollVisible(HWND hWnd, int nBar, bool bVisible)
{
    CWndState* pState = StateOf(hWnd);
    if (!pState || !pState->frame || pState->scroll[nBar].visible == bVisible)
        return;
    pState->scroll[nBar].visible = bVisible;
    if (bVisible)
        pState->style |= nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    else
        pState->style &= ~(nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL);
    pState->frame->Relayout();
    AfxClientSizeChanged(hWnd);
}

} // namespace

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow)
{
    if (nBar == static_cast<UINT>(SB_BOTH)) {
        ShowScrollBar(SB_HORZ, bShow);
        ShowScrollBar(SB_VERT, bShow);
        return;
    }
    if (nBar > 1)
        return;
    if (CScrollBar* pCtrl = GetScrollBarCtrl(static_cast<int>(nBar))) {
        reinterpret_cast<CWnd*>(pCtrl)->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        return;
    }
    SetScrollVisible(m_hWnd, static_cast<int>(nBar), bShow != FALSE);
    if (CWndState* pState = StateOf(m_hWnd))
        SyncScrollBar(pState, static_cast<int>(nBar));
}

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    for (int nBar = 0; nBar < 2; ++nBar) {
        if (nSBFlags == SB_BOTH || nSBFlags == nBar) {
            pState->scroll[nBar].enabled = nArrowFlags != ESB_DISABLE_BOTH;
            SyncScrollBar(pState, nBar);
        }
    }
    return TRUE;
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    if (nBar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, bEnable);
        EnableScrollBarCtrl(SB_VERT, bEnable);
        return;
    }
    if (CScrollBar* pCtrl = GetScrollBarCtrl(nBar)) {
        reinterpret_cast<CWnd*>(pCtrl)->EnableWindow(bEnable);
        return;
    }
    ShowScrollBar(static_cast<UINT>(nBar), bEnable);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    const int nOld = GetScrollPos(nBar);
    SetScrollInfo(nBar, &si, bRedraw);
    return nOld;
}

int CWnd::GetScrollPos(int nBar) const
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(nBar, &si, SIF_POS) ? si.nPos : 0;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    GetScrollInfo(nBar, &si, SIF_RANGE);
    if (lpMinPos)
        *lpMinPos = si.nMin;
    if (lpMaxPos)
        *lpMaxPos = si.nMax;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    (void)bRedraw;
    if (!lpScrollInfo || nBar < 0 || nBar > 1)
        return FALSE;
    if (CScrollBar* pCtrl = GetScrollBarCtrl(nBar))
        return reinterpret_cast<CWnd*>(pCtrl)->SendMessage(SBM_SETSCROLLINFO, bRedraw,
                                                           reinterpret_cast<LPARAM>(lpScrollInfo)) != 0;
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    SCROLLINFO& si = pState->scroll[nBar].info;
    const UINT mask = lpScrollInfo->fMask;
    if (mask & SIF_RANGE) {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = lpScrollInfo->nMax;
    }
    if (mask & SIF_PAGE)
        si.nPage = lpScrollInfo->nPage;
    if (mask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    // The page never exceeds the range, the position stays where a whole page fits.
    const int range = si.nMax - si.nMin + 1;
    if (range > 0 && static_cast<int>(si.nPage) > range)
        si.nPage = static_cast<UINT>(range);
    const int maxPos = std::max(si.nMin, si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0));
    si.nPos = std::max(si.nMin, std::min(si.nPos, maxPos));
    // A window's own scroll bar shows while there is something to scroll.
    if (pState->frame && (mask & (SIF_RANGE | SIF_PAGE))) {
        const bool needed = si.nMax > si.nMin && (si.nPage == 0 || static_cast<int>(si.nPage) < range);
        const bool keep = (mask & SIF_DISABLENOSCROLL) != 0;
        if (needed || !keep)
            SetScrollVisible(m_hWnd, nBar, needed || (keep && pState->scroll[nBar].visible));
        pState = StateOf(m_hWnd);
        if (!pState)
            return TRUE;
    }
    SyncScrollBar(pState, nBar);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const
{
    if (!lpScrollInfo || nBar < 0 || nBar > 1)
        return FALSE;
    if (CScrollBar* pCtrl = GetScrollBarCtrl(nBar)) {
        lpScrollInfo->fMask = nMask;
        return reinterpret_cast<CWnd*>(pCtrl)->SendMessage(SBM_GETSCROLLINFO, 0,
                                                           reinterpret_cast<LPARAM>(lpScrollInfo)) != 0;
    }
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    const SCROLLINFO& si = pState->scroll[nBar].info;
    if (nMask & SIF_RANGE) {
        lpScrollInfo->nMin = si.nMin;
        lpScrollInfo->nMax = si.nMax;
    }
    if (nMask & SIF_PAGE)
        lpScrollInfo->nPage = si.nPage;
    if (nMask & SIF_POS)
        lpScrollInfo->nPos = si.nPos;
    if (nMask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = si.nTrackPos;
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar) const
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(nBar, &si, SIF_ALL))
        return 0;
    return std::max(si.nMin, si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0));
}

CScrollBar* CWnd::GetScrollBarCtrl(int nBar) const
{
    (void)nBar;
    return nullptr;
}
