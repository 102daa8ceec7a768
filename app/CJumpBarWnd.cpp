#include "app/CJumpBarWnd.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CToolBar.h"
#include "platform/ui/gdi/SysColors.h"
#include "platform/ui/core/WinApi.h"
#include "resources/SharedControlResources.h"

IMPLEMENT_DYNAMIC(CJumpBarWnd, CWnd)

BEGIN_MESSAGE_MAP(CJumpBarWnd, CWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

// The tool bar sits a little above the window's top edge, so that the small buttons are
// centred in the 18-pixel-high strip along the view's bottom.
constexpr int kBarX = 0;
constexpr int kBarY = -5;
constexpr int kBarWidth = 100;
constexpr int kBarHeight = 32;

// One jump button's state as the view's update handlers set it.
class CJumpButtonCmdUI : public CCmdUI {
public:
    CJumpButtonCmdUI(CToolBar* pBar, int nIndex) : m_pBar(pBar) { m_nIndex = static_cast<UINT>(nIndex); }

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        const int nIndex = static_cast<int>(m_nIndex);
        const UINT nStyle = m_pBar->GetButtonStyle(nIndex);
        m_pBar->SetButtonStyle(nIndex, bOn ? (nStyle & ~TBBS_DISABLED) : (nStyle | TBBS_DISABLED));
    }
    void SetCheck(int nCheck) override { (void)nCheck; }
    void SetText(LPCTSTR lpszText) override { (void)lpszText; }

private:
    CToolBar* m_pBar;
};

// The jump bar's tool bar asks the grid view, not the frame's active view, whether its
// buttons are enabled: the subject tree beside the grid may be the active view, and the
// jumps belong to the grid all the same.
class CJumpToolBar : public CToolBar {
public:
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override
    {
        CWnd* pJumpBar = GetParent();
        CWnd* pView = pJumpBar ? pJumpBar->GetParent() : nullptr;
        CCmdTarget* pRoute = pView ? static_cast<CCmdTarget*>(pView) : static_cast<CCmdTarget*>(pTarget);
        if (!pRoute)
            return;
        const int nCount = GetCount();
        for (int i = 0; i < nCount; ++i) {
            const UINT nID = GetItemID(i);
            if (nID == 0 || nID == ID_SEPARATOR)
                continue;
            CJumpButtonCmdUI state(this, i);
            state.m_nID = nID;
            state.m_nIndexMax = static_cast<UINT>(nCount);
            state.DoUpdate(pRoute, bDisableIfNoHndler);
        }
    }
};

} // namespace

CJumpBarWnd::CJumpBarWnd() = default;

CJumpBarWnd::~CJumpBarWnd() = default;

BOOL CJumpBarWnd::Create(CWnd* pParentView, const RECT& rect, UINT nID)
{
    LPCTSTR lpszClass =
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1)));
    return CWnd::Create(lpszClass, nullptr, WS_CHILD | WS_VISIBLE, rect, pParentView, nID);
}

int CJumpBarWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The buttons act on the view and have no keys: a click on them leaves the keyboard
    // with the view, and a composition on it is stored by the command before it moves.
    KeepFocusOffOnClick();
    RegisterSharedControlResources();
    m_pToolBar = std::make_unique<CJumpToolBar>();
    if (!m_pToolBar->Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_pToolBar->LoadToolBar(IDR_JUMPBAR)) {
        m_pToolBar.reset();
        return -1;
    }
    // Tool tips and status-line texts of the buttons come from the string table.
    m_pToolBar->SetBarStyle(m_pToolBar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_pToolBar->SetOwner(this);
    m_pToolBar->ShowWindow(SW_SHOW);
    m_pToolBar->MoveWindow(kBarX, kBarY, kBarWidth, kBarHeight);
    return 0;
}

BOOL CJumpBarWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A button's command: the view handles it as its own.
    const UINT nID = LOWORD(static_cast<DWORD>(wParam));
    CWnd* pView = GetParent();
    if (pView && m_pToolBar && m_pToolBar->CommandToIndex(nID) >= 0) {
        pView->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}
