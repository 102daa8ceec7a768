#include "platform/ui/frames/CControlBar.h"

#include "platform/ui/frames/CFrameWnd.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() = default;

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    m_dwStyle = dwStyle;
    if (QWidget* pWidget = GetWidget())
        pWidget->update();
}

BOOL CControlBar::IsVisible() const
{
    return (GetStyle() & WS_VISIBLE) != 0;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    return m_pDockSite ? m_pDockSite : GetParentFrame();
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    (void)bStretch;
    (void)bHorz;
    QWidget* pWidget = GetWidget();
    if (!pWidget)
        return CSize(0, 0);
    const QSize size = pWidget->sizeHint();
    return CSize(size.width(), size.height());
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CControlBar::AttachToFrame(CWnd* pParentWnd)
{
    m_pDockSite = pParentWnd ? pParentWnd->AsFrameWnd() : nullptr;
    if (m_pDockSite)
        m_pDockSite->AddControlBar(this);
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    // Hidden bars are not updated; they update when shown again.
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    CFrameWnd* pTarget = GetParentFrame();
    if (pTarget)
        OnUpdateCmdUI(pTarget, wParam != 0);
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    CWnd::OnDestroy();
}

BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0) {
        if (CWnd* pOwner = GetOwner(); pOwner != nullptr && pOwner != this && pOwner->m_hWnd != nullptr) {
            pOwner->SendMessage(WM_COMMAND, wParam, lParam);
            return TRUE;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}
