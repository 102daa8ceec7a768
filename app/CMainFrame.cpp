#include "app/CMainFrame.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelDocManager.h"
#include "app/CShellServices.h"
#include "app/CSplashWindow.h"
#include "app/ChildFrameSupport.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>

namespace {

// The status bar: the message pane, the two panes the views write into (their strings are
// blanks that give their widths) and the Caps Lock indicator.
const UINT kIndicators[] = {
    ID_SEPARATOR,
    ID_INDICATOR_PANE1,
    ID_INDICATOR_PANE2,
    ID_INDICATOR_CAPS,
};

// The zoom box: its width on the tool bar, the height of its drop-down list and the
// height of its selection field.
constexpr int kZoomBoxWidth = 85;
constexpr int kZoomBoxDropHeight = 180;
constexpr int kZoomBoxItemHeight = 15;

// The fixed zoom steps: the zoom box's first entries, in this order, and the commands of
// the 表示 menu they stand for. The box's last entry stands for the user zoom.
struct CZoomStep {
    int nPercent;
    UINT nCommand;
};
constexpr CZoomStep kZoomSteps[] = {{25, ID_ZOOM_25},   {50, ID_ZOOM_50},   {75, ID_ZOOM_75},
                                    {100, ID_ZOOM_100}, {150, ID_ZOOM_150}, {200, ID_ZOOM_200}};
constexpr int kUserZoomEntry = static_cast<int>(std::size(kZoomSteps));

CString UserZoomText()
{
    return "ﾕｰｻﾞｰ 指定..."_sj;
}

CString ZoomText(int nPercent)
{
    CString str;
    str.Format("%d%%", nPercent);
    return str;
}

// The width pane 0 gets while a menu is open, so that long prompts show in full.
constexpr int kWideMessagePane = 16384;

} // namespace

IMPLEMENT_DYNAMIC(CMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_COMMAND(ID_ENVIRONMENT, OnEnvironment)
ON_COMMAND(ID_INTRODUCTION, OnIntroduction)
ON_COMMAND(ID_VIEW_MORVELBAR, OnViewMorvelBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_MORVELBAR, OnUpdateViewMorvelBar)
ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewToolBar)
ON_COMMAND(ID_IMPORT_OTHER, OnImportOther)
ON_COMMAND(ID_DOS_CONVERT, OnDosConvert)
ON_COMMAND(ID_HELP_FINDER, OnHelpFinder)
ON_COMMAND(ID_HELP, OnHelp)
ON_COMMAND(ID_CONTEXT_HELP, OnHelp)
ON_COMMAND(ID_DEFAULT_HELP, OnHelpFinder)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (IsTextKeyForBarBox(pMsg))
        return FALSE;
    return CMDIFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | WS_MAXIMIZE;
    // The frame opens maximised. Restored it fills the work area (the screen less the
    // desktop's panels), so that it covers what it may also where nothing carries the
    // maximising out (a display without a window manager, such as a bare virtual display);
    // the frame a window manager draws around it is fitted in when it is restored.
    if (cs.cx == CW_USEDEFAULT || cs.cx <= 0 || cs.cy <= 0) {
        CRect rcWork;
        SystemParametersInfo(SPI_GETWORKAREA, 0, &rcWork, 0);
        cs.x = rcWork.left;
        cs.y = rcWork.top;
        cs.cx = rcWork.Width();
        cs.cy = rcWork.Height();
    }
    return CMDIFrameWnd::PreCreateWindow(cs);
}

void CMainFrame::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    CMDIFrameWnd::OnUpdateFrameMenu(hMenuAlt);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_wndMDIClient.Attach(m_hWndMDIClient);

    if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndMorvelBar.Create(this) || !m_wndMorvelBar.LoadToolBar(IDR_MORVELBAR))
        return -1;
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(sizeof(kIndicators) / sizeof(UINT))))
        return -1;
    if (!CreateZoomBox())
        return -1;

    m_wndToolBar.SetWindowText("ﾂｰﾙﾊﾞｰ"_sj);
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);

    // The second bar stands on the same row, directly right of the main tool bar.
    m_wndMorvelBar.SetWindowText("ﾓﾙﾍﾞﾙﾊﾞｰ"_sj);
    m_wndMorvelBar.SetBarStyle(m_wndMorvelBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC |
                               CBRS_ALIGN_TOP);
    m_wndMorvelBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMorvelBar, AFX_IDW_DOCKBAR_TOP);
    RecalcLayout();
    CRect rect;
    m_wndToolBar.GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    DockControlBar(&m_wndMorvelBar, AFX_IDW_DOCKBAR_TOP, &rect);

    CSplashWindow::ShowSplash(this);
    return 0;
}

BOOL CMainFrame::CreateZoomBox()
{
    m_wndToolBar.SetButtonInfo(ZOOM_BOX_BUTTON_INDEX, IDC_ZOOM_BOX, TBBS_SEPARATOR, kZoomBoxWidth);
    CRect rect;
    m_wndToolBar.GetItemRect(ZOOM_BOX_BUTTON_INDEX, &rect);
    rect.top = 2;
    rect.bottom = rect.top + kZoomBoxDropHeight;
    if (!m_wndZoomBox.Create(CBS_DROPDOWNLIST | WS_VISIBLE | WS_TABSTOP, rect, &m_wndToolBar, IDC_ZOOM_BOX))
        return FALSE;

    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (hFont == nullptr)
        hFont = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    m_wndZoomBox.SetFont(CFont::FromHandle(hFont));
    m_wndZoomBox.SetItemHeight(-1, kZoomBoxItemHeight);

    for (const CZoomStep& step : kZoomSteps)
        m_wndZoomBox.AddString(ZoomText(step.nPercent));
    m_wndZoomBox.AddString(UserZoomText());
    return TRUE;
}

void CMainFrame::OnDestroy()
{
    // The client window belongs to the frame; the member only looked at it.
    if (m_wndMDIClient.GetSafeHwnd() != nullptr)
        m_wndMDIClient.Detach();
    CMDIFrameWnd::OnDestroy();
}

// ---------------------------------------------------------------------------------------
// Status pane 0 while a menu is open
// ---------------------------------------------------------------------------------------

void CMainFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    CMDIFrameWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
    const BOOL bClosed = (nFlags == 0xFFFF || nItemID == 0xFFFF) && hSysMenu == nullptr;
    if (!bClosed) {
        m_nMenuInUse = 1;
        return;
    }
    if (m_nSavedPaneWidth != -1 && m_wndStatusBar.GetSafeHwnd() != nullptr) {
        m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneID, m_nSavedPaneStyle, m_nSavedPaneWidth);
        m_nSavedPaneWidth = -1;
        m_nMenuInUse = 0;
    }
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMDIFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    // A menu of the menu bar (a menu selection came first); context menus leave the pane.
    if (m_nSavedPaneWidth == -1 && m_nMenuInUse == 1 && m_wndStatusBar.GetSafeHwnd() != nullptr) {
        m_wndStatusBar.GetPaneInfo(0, m_nSavedPaneID, m_nSavedPaneStyle, m_nSavedPaneWidth);
        m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneID, SBPS_NOBORDERS | SBPS_STRETCH, kWideMessagePane);
    }
}

// ---------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------

namespace {

// After a settings sheet the current directory is the work folder again, whatever the
// sheet did meanwhile.
void ReturnToWorkField()
{
    CMorvelSettings::SetWorkFolderAsCurrent(GetMorvelApp());
}

} // namespace

void CMainFrame::OnEnvironment()
{
    CShellServices::RunEnvironmentSheet(this, "ＭＳ Ｐゴシック"_sj, 9);
    ReturnToWorkField();
}

void CMainFrame::OnIntroduction()
{
    CShellServices::RunIntroductionSheet(this, "ＭＳ Ｐゴシック"_sj, 9);
    ReturnToWorkField();
}

void CMainFrame::ToggleBar(CControlBar& bar)
{
    ShowControlBar(&bar, (bar.GetStyle() & WS_VISIBLE) == 0, FALSE);
    RecalcLayout();
}

void CMainFrame::OnViewMorvelBar()
{
    ToggleBar(m_wndMorvelBar);
}

void CMainFrame::OnUpdateViewMorvelBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_wndMorvelBar.GetStyle() & WS_VISIBLE) != 0 ? 1 : 0);
}

void CMainFrame::OnViewToolBar()
{
    ToggleBar(m_wndToolBar);
}

void CMainFrame::OnUpdateViewToolBar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck((m_wndToolBar.GetStyle() & WS_VISIBLE) != 0 ? 1 : 0);
}

void CMainFrame::OnImportOther()
{
    const CString strFilter = "Tessan RX3000詳細積算ﾃﾞｰﾀﾌｧｲﾙ(*.RXB)|*.RXB|"
                              "Tessan RX3000営業見積ﾃﾞｰﾀﾌｧｲﾙ(*.RXA)|*.RXA|"
                              "Tessan TP5000積算ﾃﾞｰﾀﾌｧｲﾙ(*.MVL)|*.MVL||"_sj;
    CFileDialog dlg(TRUE, "MMK", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, strFilter, this);
    // The folder of the last document, as it is (the backslash switch does not apply).
    const CString strFolder = GetExtensionPath("MMD");
    dlg.m_ofn.lpstrInitialDir = strFolder;
    if (dlg.DoModal() != IDOK)
        return;

    const CString strPath = dlg.GetPathName();
    const CString strFolderChosen = GetFolderOfPath(strPath);
    CString strExtension = GetExtensionOfPath(strPath);
    strExtension.MakeUpper();
    SetExtensionPath(strExtension, strFolderChosen);
    SetExtensionPath("MMD", strFolderChosen);
    // No document type has these extensions: the estimate type takes the file and
    // converts the outside data.
    AfxGetApp()->OpenDocumentFile(strPath);
}

void CMainFrame::OnDosConvert()
{
    CShellServices::RunDosConversion(this);
}

void CMainFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CMDIFrameWnd::OnUpdateFrameTitle(bAddToTitle);
    if (MDIGetActive() == nullptr)
        ClearStatusPanes();
}

BOOL CMainFrame::KeepsStatusPanes(const CWnd* pLosing, CWnd* pNewWnd)
{
    // Up the child windows only: a dialog, even one owned by a document window, is a window
    // of its own and leaves the panes alone, and so do the grid's own parts (its editor, its
    // sheet tabs). A window being closed may hand the keyboard to one of its own children
    // after the next window has written its texts: only the active document window counts.
    for (CWnd* p = pNewWnd; p != nullptr; p = (p->GetStyle() & WS_CHILD) ? p->GetParent() : nullptr) {
        if (p == pLosing)
            return TRUE;
        if (auto* pChild = dynamic_cast<CMDIChildWnd*>(p->AsFrameWnd())) {
            CMDIFrameWnd* pFrame = pChild->GetMDIFrame();
            return pFrame == nullptr || pFrame->MDIGetActive() != pChild;
        }
    }
    return TRUE;
}

BOOL CMainFrame::ClearsZoomBoxOnClose(const CWnd* pClosing) const
{
    const CMDIChildWnd* pActive = MDIGetActive();
    return pActive == nullptr || pClosing == nullptr || pActive == pClosing->GetParentFrame();
}

CMainFrame* CMainFrame::GetMain()
{
    return dynamic_cast<CMainFrame*>(AfxGetMainWnd());
}

// ---------------------------------------------------------------------------------------
// The zoom box
// ---------------------------------------------------------------------------------------

void CMainFrame::SelectZoomEntry(int nPercent)
{
    if (m_wndZoomBox.m_hWnd == nullptr)
        return;
    const int nIndex = m_wndZoomBox.FindStringExact(-1, ZoomText(nPercent));
    if (nIndex >= 0)
        m_wndZoomBox.SetCurSel(nIndex);
}

void CMainFrame::ShowZoom(int nPercent)
{
    if (m_wndZoomBox.m_hWnd == nullptr)
        return;
    const CString strZoom = ZoomText(nPercent);
    int nIndex = m_wndZoomBox.FindStringExact(-1, strZoom);
    if (nIndex < 0) {
        m_wndZoomBox.DeleteString(m_wndZoomBox.GetCount() - 1);
        nIndex = m_wndZoomBox.AddString(strZoom);
    }
    m_wndZoomBox.SetCurSel(nIndex);
}

void CMainFrame::ShowUserZoom(int nPercent)
{
    if (m_wndZoomBox.m_hWnd == nullptr)
        return;
    if (m_wndZoomBox.GetCount() > 0)
        m_wndZoomBox.DeleteString(m_wndZoomBox.GetCount() - 1);
    m_wndZoomBox.SetCurSel(m_wndZoomBox.AddString(ZoomText(nPercent)));
}

void CMainFrame::OfferUserZoom()
{
    if (m_wndZoomBox.m_hWnd == nullptr)
        return;
    const CString strOffer = UserZoomText();
    const int nSelected = m_wndZoomBox.GetCurSel();
    CString strLast;
    if (m_wndZoomBox.GetCount() > 0)
        m_wndZoomBox.GetLBText(m_wndZoomBox.GetCount() - 1, strLast);
    if (strLast == strOffer)
        return;
    m_wndZoomBox.DeleteString(m_wndZoomBox.GetCount() - 1);
    m_wndZoomBox.AddString(strOffer);
    m_wndZoomBox.SetCurSel(nSelected == m_wndZoomBox.GetCount() - 1 ? -1 : nSelected);
}

void CMainFrame::ForgetZoom(const CWnd* pClosing)
{
    if (m_wndZoomBox.m_hWnd != nullptr && ClearsZoomBoxOnClose(pClosing))
        m_wndZoomBox.SetCurSel(-1);
}

UINT CMainFrame::GetChosenZoomCommand() const
{
    if (m_wndZoomBox.m_hWnd == nullptr)
        return 0;
    const int nIndex = m_wndZoomBox.GetCurSel();
    if (nIndex < 0 || nIndex > kUserZoomEntry)
        return 0;
    return nIndex == kUserZoomEntry ? ID_ZOOM_USER : kZoomSteps[nIndex].nCommand;
}

void CMainFrame::SendZoomCommand(CWnd* pView) const
{
    if (const UINT nID = GetChosenZoomCommand(); nID != 0 && pView != nullptr)
        pView->SendMessage(WM_COMMAND, nID, 0);
}

int CMainFrame::GetZoomOfCommand(UINT nID)
{
    for (const CZoomStep& step : kZoomSteps) {
        if (step.nCommand == nID)
            return step.nPercent;
    }
    return 0;
}

BOOL CMainFrame::IsZoomStep(int nPercent)
{
    return std::any_of(std::begin(kZoomSteps), std::end(kZoomSteps),
                       [nPercent](const CZoomStep& step) { return step.nPercent == nPercent; });
}

// ---------------------------------------------------------------------------------------
// Status panes 1 and 2
// ---------------------------------------------------------------------------------------

void CMainFrame::SetStatusPane(UINT nPaneID, const CString& strText, PaneWidth nWidth, BOOL bShow)
{
    if (m_wndStatusBar.m_hWnd == nullptr)
        return;
    const int nIndex = m_wndStatusBar.CommandToIndex(nPaneID);
    if (nIndex < 0)
        return;
    CClientDC dc(&m_wndStatusBar);
    CFont* pOldFont = dc.SelectObject(m_wndStatusBar.GetFont());
    const CSize size = dc.GetTextExtent(strText);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    m_wndStatusBar.GetPaneInfo(nIndex, nID, nStyle, cxWidth);
    const int cxText = static_cast<int>(size.cx);
    m_wndStatusBar.SetPaneInfo(nIndex, nID, nStyle,
                               nWidth == paneFitsText ? cxText : std::max(cxWidth, cxText));
    m_wndStatusBar.SetPaneText(nIndex, bShow ? strText.c_str() : "");
}

void CMainFrame::ClearStatusPanes()
{
    if (m_wndStatusBar.GetSafeHwnd() == nullptr)
        return;
    for (UINT nID : {ID_INDICATOR_PANE1, ID_INDICATOR_PANE2}) {
        const int nIndex = m_wndStatusBar.CommandToIndex(nID);
        if (nIndex >= 0)
            m_wndStatusBar.SetPaneText(nIndex, "");
    }
}

CString CMainFrame::FindHelpFile(const CString& strProgramPath)
{
    const char* const kIndex = "index.html";
    if (const char* env = std::getenv("MORVEL_HELP_DIR"); env && *env) {
        const CString strHelp = SystemPathFromNative(std::string(env) + "/" + kIndex);
        if (FileExists(strHelp))
            return strHelp;
    }
    const CString strFolder = GetFolderOfPath(strProgramPath);
    const CString strBuilt = strFolder + "help\\" + kIndex;
    if (FileExists(strBuilt))
        return strBuilt;
    // <prefix>/bin/morvel beside <prefix>/share/morvel/help.
    const std::filesystem::path installed =
        (std::filesystem::path(NativePath(strFolder)) / ".." / "share" / "morvel" / "help" / kIndex)
            .lexically_normal();
    return SystemPathFromNative(installed.string());
}

CString CMainFrame::GetHelpFilePath()
{
    return FindHelpFile(GetModuleFileName());
}

CString CMainFrame::GetHelpTopic(UINT nCommand) const
{
    if (nCommand == ID_HELP || nCommand == ID_CONTEXT_HELP) {
        // Estimates and parts lists are edited alike; their page is the input page.
        if (CMDIChildWnd* pChild = MDIGetActive())
            if (pChild->GetActiveDocument() != nullptr)
                return "estimate.html";
    }
    return "index.html";
}

void CMainFrame::OnHelpFinder()
{
    HtmlHelp(m_hWnd, GetHelpFilePath() + "::/" + GetHelpTopic(ID_HELP_FINDER), HH_DISPLAY_TOPIC, 0);
}

void CMainFrame::OnHelp()
{
    HtmlHelp(m_hWnd, GetHelpFilePath() + "::/" + GetHelpTopic(ID_HELP), HH_DISPLAY_TOPIC, 0);
}

// ---------------------------------------------------------------------------------------
// The walk over the document windows
// ---------------------------------------------------------------------------------------

CMDIChildWnd* CMainFrame::GetNextMDIChild()
{
    while (!m_bWalkAtEnd) {
        CWnd* pWnd = nullptr;
        if (m_hWndCurrentChild == nullptr) {
            CWnd* pClient = CWnd::FromHandle(m_hWndMDIClient);
            pWnd = pClient ? pClient->GetWindow(GW_CHILD) : nullptr;
        } else if (CWnd* pCurrent = CWnd::FromHandle(m_hWndCurrentChild)) {
            pWnd = pCurrent->GetWindow(GW_HWNDNEXT);
        }
        if (pWnd == nullptr) {
            m_bWalkAtEnd = TRUE;
            break;
        }
        m_hWndCurrentChild = pWnd->GetSafeHwnd();
        // Windows with an owner (icon titles) and other windows are passed over.
        if (pWnd->GetWindow(GW_OWNER) != nullptr)
            continue;
        if (CMDIChildWnd* pChild = dynamic_cast<CMDIChildWnd*>(pWnd))
            return pChild;
    }
    return nullptr;
}

int CMainFrame::GetMDIChildCount()
{
    ResetMDIChildWalk();
    int nCount = 0;
    while (GetNextMDIChild() != nullptr)
        ++nCount;
    return nCount;
}
