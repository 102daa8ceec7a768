#include "platform/ui/frames/CStatusBar.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/FrameWidgets_p.h"
#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/SysColors.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QStatusBar>

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

namespace {

// Room around a pane's text and between panes, in pixels.
constexpr int kPanePadding = 3;
constexpr int kPaneGap = 2;
constexpr int kLeftMargin = 2;

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

// The update of one pane: disabled panes show no text (an indicator that is off), checked
// ones stand out.
class CStatusCmdUI : public CCmdUI {
public:
    CStatusCmdUI(CStatusBar* pBar, int nIndex) : m_pBar(pBar) { m_nIndex = static_cast<UINT>(nIndex); }

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        const int i = static_cast<int>(m_nIndex);
        UINT nStyle = m_pBar->GetPaneStyle(i);
        nStyle = bOn ? (nStyle & ~SBPS_DISABLED) : (nStyle | SBPS_DISABLED);
        m_pBar->SetPaneStyle(i, nStyle);
    }
    void SetCheck(int nCheck) override
    {
        const int i = static_cast<int>(m_nIndex);
        UINT nStyle = m_pBar->GetPaneStyle(i);
        nStyle = nCheck ? (nStyle | SBPS_POPOUT) : (nStyle & ~SBPS_POPOUT);
        m_pBar->SetPaneStyle(i, nStyle);
    }
    void SetText(LPCTSTR lpszText) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), lpszText); }

private:
    CStatusBar* m_pBar;
};

// The texts of the standard indicators when the program's string table has none.
CString DefaultIndicatorText(UINT nID)
{
    switch (nID) {
    case ID_INDICATOR_CAPS:
        return "CAP";
    case ID_INDICATOR_NUM:
        return "NUM";
    case ID_INDICATOR_SCRL:
        return "SCRL";
    case ID_INDICATOR_OVR:
        return "OVR";
    case ID_INDICATOR_KANA:
        return "ｶﾅ"_sj;
    default:
        return CString();
    }
}

QFont StatusBarFont()
{
    return CFontMapper::WidgetFont("ＭＳ Ｐゴシック"_sj, 9);
}

} // namespace

CStatusBar::CStatusBar() = default;

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    (void)dwCtrlStyle;
    AfxRegisterFrameClasses();
    m_dwStyle = dwStyle & CBRS_ALL;
    const DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD;
    if (!CWnd::Create(AFX_WNDSTATUSBAR_CLASS, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    if (QWidget* pWidget = GetWidget())
        pWidget->setFont(StatusBarFont());
    AttachToFrame(pParentWnd);
    return TRUE;
}

QStatusBar* CStatusBar::StatusBarWidget() const
{
    return qobject_cast<QStatusBar*>(GetWidget());
}

int CStatusBar::TextWidth(const CString& text) const
{
    QWidget* pWidget = GetWidget();
    const QFontMetrics metrics(pWidget ? pWidget->font() : StatusBarFont());
    return metrics.horizontalAdvance(AfxCp932ToQString(text));
}

void CStatusBar::Repaint()
{
    if (QWidget* pWidget = GetWidget())
        pWidget->update();
}

std::vector<CRect> CStatusBar::ShownLayout() const
{
    QWidget* pWidget = GetWidget();
    return pWidget ? LayoutPanes(pWidget->width(), pWidget->height()) : std::vector<CRect>();
}

void CStatusBar::RepaintChanged(const std::vector<CRect>& before, int nIndex)
{
    QWidget* pWidget = GetWidget();
    if (!pWidget)
        return;
    // A pane draws its borders and text inside its rectangle only.
    const auto toQ = [](const CRect& rc) { return QRect(rc.left, rc.top, rc.Width(), rc.Height()); };
    const std::vector<CRect> after = ShownLayout();
    QRegion changed;
    for (size_t i = 0; i < after.size(); ++i) {
        const bool bMoved = i >= before.size() || !(before[i] == after[i]);
        if (!bMoved && static_cast<int>(i) != nIndex)
            continue;
        changed += toQ(after[i]);
        if (i < before.size())
            changed += toQ(before[i]);
    }
    if (!changed.isEmpty())
        pWidget->update(changed);
}

// ---------------------------------------------------------------------------------------
// Panes.
// ---------------------------------------------------------------------------------------
BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    BOOL bResult = TRUE;
    m_panes.clear();
    for (int i = 0; i < nIDCount; ++i) {
        CPane pane;
        pane.nID = lpIDArray ? lpIDArray[i] : 0;
        if (pane.nID != ID_SEPARATOR) {
            if (!AfxLoadString(pane.nID, pane.text)) {
                pane.text = DefaultIndicatorText(pane.nID);
                if (pane.text.IsEmpty())
                    bResult = FALSE;
            }
            pane.cxText = TextWidth(pane.text);
        } else {
            // A pane without a string is reached by its index; the first one takes what
            // the others leave.
            pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0)
                pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
        }
        m_panes.push_back(pane);
    }
    m_nCount = static_cast<int>(m_panes.size());
    Repaint();
    return bResult;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == nIDFind)
            return static_cast<int>(i);
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return 0;
    return m_panes[static_cast<size_t>(nIndex)].nID;
}

std::vector<CRect> CStatusBar::LayoutPanes(int cxBar, int cyBar) const
{
    std::vector<CRect> rects;
    int total = kLeftMargin;
    int nStretch = 0;
    for (const CPane& pane : m_panes) {
        total += pane.cxText + 2 * kPanePadding + kPaneGap;
        if (pane.nStyle & SBPS_STRETCH)
            ++nStretch;
    }
    // Stretching panes share what is left over; with too little room the panes keep their
    // widths and those beyond the right edge are cut off.
    const int extra = std::max(0, cxBar - total);
    int x = kLeftMargin;
    int nStretchSeen = 0;
    for (const CPane& pane : m_panes) {
        int cx = pane.cxText + 2 * kPanePadding;
        if ((pane.nStyle & SBPS_STRETCH) && nStretch > 0) {
            cx += extra / nStretch + (++nStretchSeen == nStretch ? extra % nStretch : 0);
        }
        rects.emplace_back(x, 2, x + cx, std::max(2, cyBar - 1));
        x += cx + kPaneGap;
    }
    return rects;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    CRect rc;
    if (nIndex >= 0 && nIndex < static_cast<int>(m_panes.size())) {
        QWidget* pWidget = GetWidget();
        const int cx = pWidget ? pWidget->width() : 0;
        const int cy = pWidget ? std::max(pWidget->height(), pWidget->sizeHint().height()) : 20;
        rc = LayoutPanes(cx, cy)[static_cast<size_t>(nIndex)];
    }
    *lpRect = rc;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    nID = 0;
    nStyle = 0;
    cxWidth = 0;
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return;
    const CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return;
    CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    // The same pane again (as every cursor move sets it) shows nothing new.
    if (pane.nID == nID && pane.nStyle == nStyle && pane.cxText == std::max(0, cxWidth))
        return;
    const std::vector<CRect> before = ShownLayout();
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = std::max(0, cxWidth);
    RepaintChanged(before, nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return 0;
    return m_panes[static_cast<size_t>(nIndex)].nStyle;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return;
    CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    if (pane.nStyle == nStyle)
        return;
    const std::vector<CRect> before = ShownLayout();
    pane.nStyle = nStyle;
    RepaintChanged(before, nIndex);
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return CString();
    return m_panes[static_cast<size_t>(nIndex)].text;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size()))
        return FALSE;
    CPane& pane = m_panes[static_cast<size_t>(nIndex)];
    const CString text = lpszNewText ? lpszNewText : "";
    if (pane.text == text)
        return TRUE;
    pane.text = text;
    if (bUpdate)
        RepaintChanged(ShownLayout(), nIndex);
    return TRUE;
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CControlBar::CalcFixedLayout(bStretch, bHorz);
}

void CStatusBar::DrawPanes(QPainter& painter, const QRect& area) const
{
    QWidget* pWidget = GetWidget();
    if (!pWidget)
        return;
    painter.setFont(pWidget->font());
    const std::vector<CRect> rects = LayoutPanes(pWidget->width(), pWidget->height());
    const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW));
    const QColor light = ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    const QColor text = ToQColor(GetSysColor(COLOR_BTNTEXT));
    for (size_t i = 0; i < m_panes.size(); ++i) {
        const CPane& pane = m_panes[i];
        const CRect& rc = rects[i];
        if (rc.left >= pWidget->width())
            break;
        const QRect box(rc.left, rc.top, rc.Width(), rc.Height());
        if (!box.intersects(area))
            continue;
        if (!(pane.nStyle & SBPS_NOBORDERS)) {
            // Sunken, or raised for a pane that is "checked".
            const bool raised = (pane.nStyle & SBPS_POPOUT) != 0;
            painter.setPen(raised ? light : shadow);
            painter.drawLine(box.topLeft(), box.topRight());
            painter.drawLine(box.topLeft(), box.bottomLeft());
            painter.setPen(raised ? shadow : light);
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            painter.drawLine(box.topRight(), box.bottomRight());
        }
        if (pane.nStyle & SBPS_DISABLED)
            continue;
        painter.setPen(text);
        painter.save();
        painter.setClipRect(box.adjusted(1, 1, -1, -1));
        painter.drawText(box.adjusted(kPanePadding, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         AfxCp932ToQString(pane.text));
        painter.restore();
    }
}

// ---------------------------------------------------------------------------------------
// Messages and updates.
// ---------------------------------------------------------------------------------------
void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    (void)bDisableIfNoHndler;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == ID_SEPARATOR)
            continue;
        CStatusCmdUI state(this, static_cast<int>(i));
        state.m_nID = m_panes[i].nID;
        state.m_nIndexMax = static_cast<UINT>(m_panes.size());
        state.DoUpdate(pTarget, FALSE);
    }
}

LRESULT CStatusBar::OnSetText(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    const int nIndex = CommandToIndex(ID_SEPARATOR);
    if (nIndex < 0)
        return -1;
    return SetPaneText(nIndex, reinterpret_cast<LPCTSTR>(lParam)) ? TRUE : FALSE;
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    const int nIndex = CommandToIndex(ID_SEPARATOR);
    return AfxCopyTextToBuffer(nIndex >= 0 ? GetPaneText(nIndex) : CString(), wParam, lParam);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    const int nIndex = CommandToIndex(ID_SEPARATOR);
    return nIndex >= 0 ? GetPaneText(nIndex).GetLength() : 0;
}
