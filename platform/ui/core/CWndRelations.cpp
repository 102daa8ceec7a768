#include "platform/ui/core/CWnd.h"

#include "platform/base/TypedNumber.h"
#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndShared_p.h"
#include "platform/ui/core/DialogDefs.h"

#include <QApplication>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

// ---------------------------------------------------------------------------------------
// Relations.
// ---------------------------------------------------------------------------------------
CWnd* CWnd::GetDlgItem(int nID) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    for (HWND h : pState->children) {
        CWndState* p = StateOf(h);
        if (p && static_cast<int>(p->nID) == nID)
            return p->pWnd;
    }
    return nullptr;
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const
{
    CWnd* p = GetDlgItem(nID);
    *phWnd = p ? p->m_hWnd : nullptr;
}

CWnd* CWnd::GetParent() const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    if (pState->style & WS_CHILD)
        return FromHandle(pState->hWndParent);
    return FromHandle(pState->hWndOwner);
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    CWnd* pOld = GetParent();
    if (pState->style & WS_CHILD) {
        CWndState* pNew = pWndNewParent ? StateOf(pWndNewParent->m_hWnd) : nullptr;
        if (!pNew || !pNew->client)
            return nullptr;
        if (CWndState* p = StateOf(pState->hWndParent)) {
            auto& v = p->children;
            v.erase(std::remove(v.begin(), v.end(), m_hWnd), v.end());
        }
        pNew->children.push_back(m_hWnd);
        pState->hWndParent = pNew->hWnd;
        if (pState->widget) {
            const QPoint pos = pState->widget->pos();
            const bool visible = (pState->style & WS_VISIBLE) != 0;
            pState->widget->setParent(pNew->client);
            pState->widget->move(pos);
            pState->widget->setVisible(visible);
        }
    } else {
        pState->hWndOwner = pWndNewParent ? TopLevelOf(pWndNewParent->m_hWnd) : nullptr;
    }
    return pOld;
}

CWnd* CWnd::GetOwner() const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    if (pState->hWndOwner)
        return FromHandle(pState->hWndOwner);
    return GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    if (CWndState* pState = StateOf(m_hWnd))
        pState->hWndOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr;
}

BOOL CWnd::IsFrameWnd() const
{
    return const_cast<CWnd*>(this)->AsFrameWnd() != nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* p = GetParent(); p; p = p->GetParent()) {
        if (CFrameWnd* pFrame = p->AsFrameWnd())
            return pFrame;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* pFrame = const_cast<CWnd*>(this)->AsFrameWnd();
    for (CWnd* p = GetParent(); p; p = p->GetParent()) {
        if (CFrameWnd* f = p->AsFrameWnd())
            pFrame = f;
    }
    return pFrame;
}

CWnd* CWnd::GetTopLevelParent() const
{
    CWnd* pWnd = const_cast<CWnd*>(this);
    for (CWnd* p = pWnd->GetParent(); p; p = p->GetParent())
        pWnd = p;
    return m_hWnd ? pWnd : nullptr;
}

CWnd* CWnd::GetTopLevelOwner() const
{
    CWnd* pWnd = FromHandle(TopLevelOf(m_hWnd));
    while (pWnd) {
        CWndState* p = StateOf(pWnd->m_hWnd);
        CWnd* pOwner = p ? FromHandle(p->hWndOwner) : nullptr;
        if (!pOwner)
            break;
        pWnd = pOwner;
    }
    return pWnd;
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    if (nCmd == GW_CHILD) {
        for (HWND h : pState->children) {
            if (CWnd* p = FromHandle(h))
                return p;
        }
        return nullptr;
    }
    if (nCmd == GW_OWNER)
        return FromHandle(pState->hWndOwner);
    // Siblings: children of the same parent, or top-level windows among themselves.
    std::vector<HWND> siblings;
    if (CWndState* pParent = StateOf(pState->hWndParent); pParent && (pState->style & WS_CHILD)) {
        siblings = pParent->children;
    } else {
        for (HWND h : AfxGetAllWindows()) {
            CWndState* p = StateOf(h);
            if (p && !(p->style & WS_CHILD) && p->widget)
                siblings.push_back(h);
        }
    }
    auto it = std::find(siblings.begin(), siblings.end(), m_hWnd);
    switch (nCmd) {
    case GW_HWNDFIRST:
        return siblings.empty() ? nullptr : FromHandle(siblings.front());
    case GW_HWNDLAST:
        return siblings.empty() ? nullptr : FromHandle(siblings.back());
    case GW_HWNDNEXT:
        return (it == siblings.end() || it + 1 == siblings.end()) ? nullptr : FromHandle(*(it + 1));
    case GW_HWNDPREV:
        return (it == siblings.end() || it == siblings.begin()) ? nullptr : FromHandle(*(it - 1));
    default:
        return nullptr;
    }
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || pState->children.empty())
        return nullptr;
    const auto& v = pState->children;
    const int n = static_cast<int>(v.size());
    int start = 0;
    if (pWndCtl) {
        auto it = std::find(v.begin(), v.end(), pWndCtl->m_hWnd);
        start = it == v.end() ? 0 : static_cast<int>(it - v.begin());
    } else {
        start = bPrevious ? 0 : n - 1;
    }
    for (int k = 1; k <= n; ++k) {
        const int i = ((bPrevious ? start - k : start + k) % n + n) % n;
        CWndState* p = StateOf(v[static_cast<size_t>(i)]);
        if (p && (p->style & WS_TABSTOP) && (p->style & WS_VISIBLE) && !(p->style & WS_DISABLED))
            return p->pWnd;
    }
    return nullptr;
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pWndCtl)
        return nullptr;
    const auto& v = pState->children;
    auto it = std::find(v.begin(), v.end(), pWndCtl->m_hWnd);
    if (it == v.end())
        return nullptr;
    // The group runs from a WS_GROUP item to the item before the next WS_GROUP item.
    size_t first = static_cast<size_t>(it - v.begin());
    while (first > 0) {
        CWndState* p = StateOf(v[first]);
        if (p && (p->style & WS_GROUP))
            break;
        --first;
    }
    size_t last = first;
    while (last + 1 < v.size()) {
        CWndState* p = StateOf(v[last + 1]);
        if (p && (p->style & WS_GROUP))
            break;
        ++last;
    }
    const size_t count = last - first + 1;
    size_t pos = static_cast<size_t>(it - v.begin()) - first;
    for (size_t k = 1; k <= count; ++k) {
        const size_t i = bPrevious ? (pos + count - k) % count : (pos + k) % count;
        CWndState* p = StateOf(v[first + i]);
        if (p && (p->style & WS_VISIBLE) && !(p->style & WS_DISABLED))
            return p->pWnd;
    }
    return pWndCtl;
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    if (!pWnd)
        return FALSE;
    for (CWndState* p = StateOf(pWnd->m_hWnd); p && (p->style & WS_CHILD); p = StateOf(p->hWndParent)) {
        if (p->hWndParent == m_hWnd)
            return TRUE;
    }
    return FALSE;
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    for (HWND h : pState->children) {
        CWndState* p = StateOf(h);
        if (p && p->widget && (p->style & WS_VISIBLE) &&
            p->widget->geometry().contains(QPoint(point.x, point.y)))
            return p->pWnd;
    }
    CRect rc;
    GetClientRect(&rc);
    return rc.PtInRect(point) ? const_cast<CWnd*>(this) : nullptr;
}

CWnd* CWnd::WindowFromPoint(POINT point)
{
    QWidget* w = QApplication::widgetAt(QPoint(point.x, point.y));
    return w ? FromWidget(w) : nullptr;
}

// ---------------------------------------------------------------------------------------
// Dialog items.
// ---------------------------------------------------------------------------------------
void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    if (CWnd* p = GetDlgItem(nID))
        p->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (CWnd* p = GetDlgItem(nID))
        p->GetWindowText(rString);
    return rString.GetLength();
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
{
    CWnd* p = GetDlgItem(nID);
    if (!p) {
        if (lpStr && nMaxCount > 0)
            *lpStr = '\0';
        return 0;
    }
    return p->GetWindowText(lpStr, nMaxCount);
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    CString s;
    if (bSigned)
        s.Format("%d", static_cast<int>(nValue));
    else
        s.Format("%u", nValue);
    SetDlgItemText(nID, s);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    CString s;
    GetDlgItemText(nID, s);
    // Read as a person types a number ("３", "1,000"); a whole number only.
    std::string plain;
    bool ok =
        ReadTypedNumberText(s, plain) && plain.find('.') == std::string::npos && (bSigned || plain[0] != '-');
    const char* p = plain.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = ok ? std::strtoll(p, &end, 10) : 0;
    if (ok && (end == p || *end != '\0' || errno == ERANGE))
        ok = false;
    if (ok && bSigned && (v < INT32_MIN || v > INT32_MAX))
        ok = false;
    if (ok && !bSigned && (v < 0 || v > static_cast<long long>(UINT32_MAX)))
        ok = false;
    if (lpTrans)
        *lpTrans = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(v) : 0;
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck, 0);
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        SendDlgItemMessage(id, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    CWnd* p = GetDlgItem(nIDButton);
    return p ? static_cast<UINT>(p->SendMessage(BM_GETCHECK, 0, 0)) : 0;
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (IsDlgButtonChecked(id))
            return id;
    }
    return 0;
}
