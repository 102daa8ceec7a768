#include "platform/ui/controls/CToolTipCtrl.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CWnd.h"

#include <QCursor>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

// The pending show: the delay runs on a single-shot timer that belongs to the control.
struct CToolTipCtrl::CImpl {
    QTimer timer;
};

CToolTipCtrl::CToolTipCtrl() = default;

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_bShown)
        QToolTip::hideText();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD)
{
    if (pParentWnd == nullptr || pParentWnd->m_hWnd == nullptr)
        return FALSE;
    m_hWndOwner = pParentWnd->m_hWnd;
    m_pImpl = std::make_unique<CImpl>();
    m_pImpl->timer.setSingleShot(true);
    QObject::connect(&m_pImpl->timer, &QTimer::timeout, [this] {
        if (const CTool* pTool = FindTool(m_hWndHover, m_nHoverID))
            Show(*pTool);
    });
    return TRUE;
}

BOOL CToolTipCtrl::IsCreated() const
{
    return m_pImpl != nullptr;
}

CToolTipCtrl::CTool* CToolTipCtrl::FindTool(HWND hWnd, UINT_PTR nID)
{
    for (CTool& tool : m_tools)
        if (tool.hWnd == hWnd && tool.nID == nID)
            return &tool;
    return nullptr;
}

const CToolTipCtrl::CTool* CToolTipCtrl::FindTool(HWND hWnd, UINT_PTR nID) const
{
    for (const CTool& tool : m_tools)
        if (tool.hWnd == hWnd && tool.nID == nID)
            return &tool;
    return nullptr;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!IsCreated() || pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return FALSE;
    CTool tool;
    tool.hWnd = pWnd->m_hWnd;
    tool.nID = nIDTool;
    tool.bWholeClient = lpRectTool == nullptr;
    if (lpRectTool)
        tool.rect = *lpRectTool;
    tool.strText = lpszText ? lpszText : "";
    if (CTool* pOld = FindTool(tool.hWnd, nIDTool))
        *pOld = tool;
    else
        m_tools.push_back(tool);
    return TRUE;
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    if (pWnd == nullptr)
        return;
    CTool* pTool = FindTool(pWnd->m_hWnd, nIDTool);
    if (pTool == nullptr)
        return;
    pTool->strText = lpszText ? lpszText : "";
    // A tip on the screen follows its new text at once; an empty text hides it.
    if (m_bShown && m_hWndHover == pTool->hWnd && m_nHoverID == nIDTool) {
        if (pTool->strText.IsEmpty() || !m_bActive)
            Hide();
        else
            Show(*pTool);
    }
}

CString CToolTipCtrl::GetToolText(CWnd* pWnd, UINT_PTR nIDTool) const
{
    const CTool* pTool = pWnd ? FindTool(pWnd->m_hWnd, nIDTool) : nullptr;
    return pTool ? pTool->strText : CString();
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    m_bActive = bActivate;
    if (!bActivate) {
        if (m_pImpl)
            m_pImpl->timer.stop();
        Hide();
    }
}

void CToolTipCtrl::SetDelayTime(UINT nDelay)
{
    // The automatic setting derives the others from the initial delay.
    m_nInitial = nDelay;
    m_nAutoPop = nDelay * 10;
    m_nReshow = nDelay / 5;
}

void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime)
{
    const UINT n = iTime < 0 ? 500u : static_cast<UINT>(iTime);
    switch (dwDuration) {
    case TTDT_AUTOMATIC:
        SetDelayTime(n);
        break;
    case TTDT_RESHOW:
        m_nReshow = n;
        break;
    case TTDT_AUTOPOP:
        m_nAutoPop = n;
        break;
    case TTDT_INITIAL:
        m_nInitial = n;
        break;
    default:
        break;
    }
}

int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const
{
    switch (dwDuration) {
    case TTDT_RESHOW:
        return static_cast<int>(m_nReshow);
    case TTDT_AUTOPOP:
        return static_cast<int>(m_nAutoPop);
    default:
        return static_cast<int>(m_nInitial);
    }
}

CToolTipCtrl::CTool* CToolTipCtrl::ToolAt(HWND hWnd, CPoint point)
{
    for (CTool& tool : m_tools) {
        if (tool.hWnd != hWnd)
            continue;
        CRect rect = tool.rect;
        if (tool.bWholeClient)
            if (CWnd* pWnd = CWnd::FromHandle(hWnd))
                pWnd->GetClientRect(&rect);
        if (rect.PtInRect(point))
            return &tool;
    }
    return nullptr;
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    if (lpMsg == nullptr || !IsCreated())
        return;
    switch (lpMsg->message) {
    case WM_MOUSEMOVE: {
        const CPoint point(static_cast<short>(LOWORD(lpMsg->lParam)),
                           static_cast<short>(HIWORD(lpMsg->lParam)));
        CTool* pTool = ToolAt(lpMsg->hwnd, point);
        if (pTool == nullptr) {
            m_pImpl->timer.stop();
            Hide();
            m_hWndHover = nullptr;
            return;
        }
        m_ptHover = point;
        if (m_bShown && m_hWndHover == pTool->hWnd && m_nHoverID == pTool->nID)
            return; // the tip stays while the pointer moves over its tool
        m_hWndHover = pTool->hWnd;
        m_nHoverID = pTool->nID;
        if (m_bActive)
            m_pImpl->timer.start(static_cast<int>(m_bShown ? m_nReshow : m_nInitial));
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        m_pImpl->timer.stop();
        Hide();
        return;
    default:
        return;
    }
}

void CToolTipCtrl::Show(const CTool& tool)
{
    if (!m_bActive || tool.strText.IsEmpty()) {
        Hide();
        return;
    }
    CWnd* pWnd = CWnd::FromHandle(tool.hWnd);
    if (pWnd == nullptr || pWnd->GetWidget() == nullptr)
        return;
    CPoint point = m_ptHover;
    pWnd->ClientToScreen(&point);
    QToolTip::showText(QPoint(point.x + 12, point.y + 18), AfxCp932ToQString(tool.strText), pWnd->GetWidget(),
                       QRect(), static_cast<int>(m_nAutoPop));
    m_bShown = TRUE;
}

void CToolTipCtrl::Hide()
{
    if (m_bShown)
        QToolTip::hideText();
    m_bShown = FALSE;
}

BOOL CToolTipCtrl::IsTipShown() const
{
    return m_bShown;
}
