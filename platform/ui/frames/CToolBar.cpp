#include "platform/ui/frames/CToolBar.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/Resources_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/FrameWidgets_p.h"

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QToolBar>
#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The width of a plain separator, in pixels.
constexpr int kSeparatorWidth = 8;
// Room left of the first button (the bar's gripper) and above the buttons.
constexpr int kLeftBorder = 2;
constexpr int kTopBorder = 2;

// The update of one button: enabling and checking change the button's style.
class CToolCmdUI : public CCmdUI {
public:
    CToolCmdUI(CToolBar* pBar, int nIndex) : m_pBar(pBar) { m_nIndex = static_cast<UINT>(nIndex); }

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        UINT nStyle = m_pBar->GetButtonStyle(static_cast<int>(m_nIndex));
        nStyle = bOn ? (nStyle & ~TBBS_DISABLED) : (nStyle | TBBS_DISABLED);
        m_pBar->SetButtonStyle(static_cast<int>(m_nIndex), nStyle);
    }
    void SetCheck(int nCheck) override
    {
        UINT nStyle =
            m_pBar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            nStyle |= TBBS_CHECKED;
        else if (nCheck == 2)
            nStyle |= TBBS_INDETERMINATE;
        m_pBar->SetButtonStyle(static_cast<int>(m_nIndex), nStyle | TBBS_CHECKBOX);
    }
    void SetText(LPCTSTR lpszText) override { (void)lpszText; }

private:
    CToolBar* m_pBar;
};

// The tool tip of a command: the second field of its string ("prompt\ntip").
CString TipOfCommand(UINT nID)
{
    CString full;
    CString tip;
    if (AfxLoadString(nID, full))
        AfxExtractSubString(tip, full, 1, '\n');
    return tip;
}

} // namespace

CToolBar::CToolBar() = default;

CToolBar::~CToolBar() = default;

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    (void)dwCtrlStyle;
    (void)rcBorders;
    AfxRegisterFrameClasses();
    m_dwStyle = dwStyle & CBRS_ALL;
    const DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD;
    if (!CWnd::Create(AFX_WNDTOOLBAR_CLASS, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    AttachToFrame(pParentWnd);
    if (QToolBar* pTool = ToolBarWidget())
        pTool->setOrientation((m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_ORIENT_HORZ)
                                  ? Qt::Vertical
                                  : Qt::Horizontal);
    return TRUE;
}

QToolBar* CToolBar::ToolBarWidget() const
{
    return qobject_cast<QToolBar*>(GetWidget());
}

// ---------------------------------------------------------------------------------------
// Buttons.
// ---------------------------------------------------------------------------------------
BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    const CToolBarResource* pResource = FindToolBarResource(nIDResource);
    if (!pResource || !m_hWnd)
        return FALSE;
    m_nIDResource = nIDResource;
    m_sizeImage = CSize(pResource->cx, pResource->cy);
    m_sizeButton = CSize(pResource->cx + 7, pResource->cy + 7);
    if (QToolBar* pTool = ToolBarWidget())
        pTool->setIconSize(QSize(pResource->cx, pResource->cy));
    return SetButtons(pResource->buttons.data(), static_cast<int>(pResource->buttons.size()));
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName)
{
    if (!IS_INTRESOURCE(lpszResourceName))
        return FALSE;
    return LoadToolBar(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszResourceName)));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    m_buttons.clear();
    int iImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        CToolButton button;
        button.nID = lpIDArray ? lpIDArray[i] : 0;
        if (button.nID == ID_SEPARATOR) {
            button.nStyle = TBBS_SEPARATOR;
            button.iImage = kSeparatorWidth;
        } else {
            button.nStyle = TBBS_BUTTON;
            button.iImage = iImage++;
        }
        m_buttons.push_back(button);
    }
    m_nCount = static_cast<int>(m_buttons.size());
    RebuildButtons();
    return TRUE;
}

void CToolBar::RebuildButtons()
{
    QToolBar* pTool = ToolBarWidget();
    if (!pTool)
        return;
    auto* pWatcher = dynamic_cast<CToolBarWidget*>(pTool);
    pTool->clear();

    QImage strip;
    if (const CToolBarResource* pResource = m_nIDResource ? FindToolBarResource(m_nIDResource) : nullptr) {
        if (AfxLoadResourceImage(pResource->image, strip) && !strip.hasAlphaChannel()) {
            // Bitmaps without transparency keep the button face (light grey) as background.
            strip = strip.convertToFormat(QImage::Format_ARGB32);
            const QRgb face = qRgb(192, 192, 192);
            for (int y = 0; y < strip.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
                for (int x = 0; x < strip.width(); ++x) {
                    if ((line[x] & 0x00FFFFFF) == (face & 0x00FFFFFF))
                        line[x] = 0;
                }
            }
        }
    }

    for (size_t i = 0; i < m_buttons.size(); ++i) {
        CToolButton& button = m_buttons[i];
        button.action = nullptr;
        button.spacer = nullptr;
        if (button.nStyle & TBBS_SEPARATOR) {
            if (button.nID == 0) {
                button.action = pTool->addSeparator();
            } else {
                // The room of a control placed on the bar.
                auto* pSpacer = new QWidget(pTool);
                pSpacer->setFixedWidth(std::max(0, button.iImage));
                pSpacer->setFixedHeight(m_sizeButton.cy);
                button.spacer = pSpacer;
                button.action = pTool->addWidget(pSpacer);
                if (pWatcher)
                    pWatcher->Watch(pSpacer);
            }
            continue;
        }
        QAction* pAction = pTool->addAction(QString());
        const int nImage = button.iImage;
        if (!strip.isNull() && nImage >= 0 && (nImage + 1) * m_sizeImage.cx <= strip.width())
            pAction->setIcon(QIcon(QPixmap::fromImage(strip.copy(
                nImage * m_sizeImage.cx, 0, m_sizeImage.cx, std::min<int>(m_sizeImage.cy, strip.height())))));
        if (!button.text.IsEmpty())
            pAction->setText(AfxCp932ToQString(button.text));
        const CString tip = TipOfCommand(button.nID);
        if (!tip.IsEmpty())
            pAction->setToolTip(AfxCp932ToQString(tip));
        const HWND hWnd = m_hWnd;
        const int nIndex = static_cast<int>(i);
        QObject::connect(pAction, &QAction::triggered, pTool, [hWnd, nIndex] {
            if (auto* pBar = dynamic_cast<CToolBar*>(CWnd::FromHandle(hWnd)))
                pBar->OnButtonTriggered(nIndex);
        });
        QObject::connect(pAction, &QAction::hovered, pTool, [hWnd, nIndex] {
            if (auto* pBar = dynamic_cast<CToolBar*>(CWnd::FromHandle(hWnd)))
                pBar->OnButtonHovered(nIndex);
        });
        button.action = pAction;
        if (pWatcher)
            pWatcher->Watch(pTool->widgetForAction(pAction));
        ApplyButtonState(nIndex);
    }
    PlaceHostedControls();
}

void CToolBar::ApplyButtonState(int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return;
    const CToolButton& button = m_buttons[static_cast<size_t>(nIndex)];
    if (!button.action || (button.nStyle & TBBS_SEPARATOR))
        return;
    const bool bEnabled = !(button.nStyle & TBBS_DISABLED);
    const bool bCheckable = (button.nStyle & TBBS_CHECKBOX) != 0;
    const bool bChecked = (button.nStyle & TBBS_CHECKED) != 0;
    if (auto* pWidget = dynamic_cast<CToolBarWidget*>(ToolBarWidget())) {
        pWidget->SetActionState(button.action, bEnabled, bCheckable, bChecked);
    } else {
        button.action->setEnabled(bEnabled);
        button.action->setCheckable(bCheckable);
        if (bCheckable)
            button.action->setChecked(bChecked);
    }
    button.action->setVisible(!(button.nStyle & TBBS_HIDDEN));
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].nID == nIDFind)
            return static_cast<int>(i);
    }
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return 0;
    return m_buttons[static_cast<size_t>(nIndex)].nID;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    CRect rc;
    if (nIndex >= 0 && nIndex < static_cast<int>(m_buttons.size())) {
        // Where the bar has laid the item out, when it has; otherwise where it will: the
        // items side by side after the bar's left border.
        QToolBar* pTool = ToolBarWidget();
        const CToolButton& button = m_buttons[static_cast<size_t>(nIndex)];
        QWidget* pItem = button.spacer;
        if (!pItem && pTool && button.action)
            pItem = pTool->widgetForAction(button.action);
        if (pTool && pItem && pTool->isVisible() && pItem->isVisible() && pItem->width() > 0) {
            const QRect g = pItem->geometry();
            rc.SetRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
        } else {
            int x = kLeftBorder;
            for (int i = 0; i < nIndex; ++i) {
                const CToolButton& b = m_buttons[static_cast<size_t>(i)];
                if (b.nStyle & TBBS_HIDDEN)
                    continue;
                x += (b.nStyle & TBBS_SEPARATOR) ? b.iImage : m_sizeButton.cx;
            }
            const int cx = (button.nStyle & TBBS_SEPARATOR) ? button.iImage : m_sizeButton.cx;
            rc.SetRect(x, kTopBorder, x + cx, kTopBorder + m_sizeButton.cy);
        }
    }
    *lpRect = rc;
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return 0;
    return m_buttons[static_cast<size_t>(nIndex)].nStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return;
    CToolButton& button = m_buttons[static_cast<size_t>(nIndex)];
    if (button.nStyle == nStyle)
        return;
    const bool kindChanged = ((button.nStyle ^ nStyle) & TBBS_SEPARATOR) != 0;
    button.nStyle = nStyle;
    if (kindChanged)
        RebuildButtons();
    else
        ApplyButtonState(nIndex);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    nID = 0;
    nStyle = 0;
    iImage = 0;
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return;
    const CToolButton& button = m_buttons[static_cast<size_t>(nIndex)];
    nID = button.nID;
    nStyle = button.nStyle;
    iImage = button.iImage;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return;
    CToolButton& button = m_buttons[static_cast<size_t>(nIndex)];
    button.nID = nID;
    button.nStyle = nStyle;
    button.iImage = iImage;
    RebuildButtons();
}

CString CToolBar::GetButtonText(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return CString();
    return m_buttons[static_cast<size_t>(nIndex)].text;
}

BOOL CToolBar::SetButtonText(int nIndex, LPCTSTR lpszText)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()))
        return FALSE;
    CToolButton& button = m_buttons[static_cast<size_t>(nIndex)];
    button.text = lpszText ? lpszText : "";
    if (button.action && !(button.nStyle & TBBS_SEPARATOR))
        button.action->setText(AfxCp932ToQString(button.text));
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (QToolBar* pTool = ToolBarWidget())
        pTool->setIconSize(QSize(sizeImage.cx, sizeImage.cy));
    RebuildButtons();
}

void CToolBar::SetHeight(int cyHeight)
{
    if (QToolBar* pTool = ToolBarWidget())
        pTool->setMinimumHeight(cyHeight);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CControlBar::CalcFixedLayout(bStretch, bHorz);
}

void CToolBar::PlaceHostedControls()
{
    if (!m_hWnd)
        return;
    for (const CToolButton& button : m_buttons) {
        if (!button.spacer || button.nID == 0 || button.spacer->width() <= 0)
            continue;
        const QRect room = button.spacer->geometry();
        for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
            if (static_cast<UINT>(pChild->GetDlgCtrlID()) != button.nID)
                continue;
            CRect rc;
            pChild->GetWindowRect(&rc);
            ScreenToClient(&rc);
            if (rc.left != room.left() || rc.Width() != room.width())
                pChild->MoveWindow(room.left(), rc.top, room.width(), rc.Height());
        }
    }
}

// ---------------------------------------------------------------------------------------
// Commands, states and prompts.
// ---------------------------------------------------------------------------------------
void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const CToolButton& button = m_buttons[i];
        if ((button.nStyle & TBBS_SEPARATOR) || button.nID == 0)
            continue;
        CToolCmdUI state(this, static_cast<int>(i));
        state.m_nID = button.nID;
        state.m_nIndexMax = static_cast<UINT>(m_buttons.size());
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void CToolBar::OnButtonTriggered(int nIndex)
{
    const UINT nID = GetItemID(nIndex);
    if (nID == 0 || (GetButtonStyle(nIndex) & TBBS_DISABLED))
        return;
    // The command goes to the bar's owner (its parent unless set otherwise: the frame for a
    // frame's bars, the view for a bar inside a view) through the queue: it may close the
    // very window the button sits in.
    CWnd* pOwner = GetOwner();
    if (!pOwner)
        pOwner = GetParentFrame();
    if (pOwner && pOwner->m_hWnd)
        ::PostMessage(pOwner->m_hWnd, WM_COMMAND, nID, 0);
}

void CToolBar::OnButtonHovered(int nIndex)
{
    if (!(m_dwStyle & CBRS_FLYBY))
        return;
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetMessageText(GetItemID(nIndex));
}

void CToolBar::OnButtonLeft()
{
    if (!(m_dwStyle & CBRS_FLYBY))
        return;
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetMessageText(AFX_IDS_IDLEMESSAGE);
}

void CToolBar::OnDestroy()
{
    if (auto* pWatcher = dynamic_cast<CToolBarWidget*>(ToolBarWidget()))
        pWatcher->Orphan();
    for (CToolButton& button : m_buttons) {
        button.action = nullptr;
        button.spacer = nullptr;
    }
    CControlBar::OnDestroy();
}
