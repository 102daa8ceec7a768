#include "app/CChildFormFrame.h"

#include "app/CShellServices.h"
#include "app/ChildFrameSupport.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWinApp.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNCREATE(CChildFormFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFormFrame, CMDIChildWnd)
ON_WM_CREATE()
ON_COMMAND(ID_VIEW_PRINT_TOOLBAR, OnViewPrintToolBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_PRINT_TOOLBAR, OnUpdateViewPrintToolBar)
ON_COMMAND(ID_VIEW_PRINT_EDITBAR, OnViewPrintEditBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_PRINT_EDITBAR, OnUpdateViewPrintEditBar)
ON_COMMAND(ID_ENVIRONMENT, OnEnvironment)
ON_UPDATE_COMMAND_UI(ID_ENVIRONMENT, OnUpdateEnvironment)
ON_COMMAND(ID_INTRODUCTION, OnIntroduction)
ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewToolBar)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

const char* const CChildFormFrame::s_fontSizes[16] = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                                      "20", "22", "24", "26", "28", "36", "48", "72"};

namespace {

// How far the dropped lists of the boxes reach below the bars.
constexpr int kFontNameDrop = 120;
constexpr int kFontSizeDrop = 100;
constexpr int kFontSizeItemHeight = 15;
constexpr int kLineStyleDrop = 120;
constexpr int kFillPatternDrop = 120;

} // namespace

CChildFormFrame::CChildFormFrame() = default;

CChildFormFrame::~CChildFormFrame() = default;

BOOL CChildFormFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = WS_CHILD | WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    return CMDIChildWnd::PreCreateWindow(cs);
}

BOOL CChildFormFrame::PreTranslateMessage(MSG* pMsg)
{
    if (IsTextKeyForBarBox(pMsg))
        return FALSE;
    return CMDIChildWnd::PreTranslateMessage(pMsg);
}

int CChildFormFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIChildWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    return CreateBars() ? 0 : -1;
}

BOOL CChildFormFrame::CreateBars()
{
    RegisterChildFrameResources();
    if (!m_wndPrintToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM) ||
        !m_wndPrintToolBar.LoadToolBar(IDR_PRINT_TOOLBAR))
        return FALSE;
    if (!m_wndPrintEditBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !m_wndPrintEditBar.LoadToolBar(IDR_PRINT_EDITBAR))
        return FALSE;

    // The places of the boxes.
    m_wndPrintEditBar.SetButtonInfo(PRINT_EDITBAR_FONT_NAME_INDEX, IDC_FONT_NAME, TBBS_SEPARATOR,
                                    FONT_NAME_WIDTH);
    m_wndPrintEditBar.SetButtonInfo(PRINT_EDITBAR_FONT_SIZE_INDEX, IDC_FONT_SIZE, TBBS_SEPARATOR,
                                    FONT_SIZE_WIDTH);
    m_wndPrintToolBar.SetButtonInfo(PRINT_TOOLBAR_LINE_STYLE_INDEX, IDC_LINE_STYLE, TBBS_SEPARATOR,
                                    LINE_STYLE_WIDTH);
    m_wndPrintToolBar.SetButtonInfo(PRINT_TOOLBAR_FILL_PATTERN_INDEX, IDC_FILL_PATTERN, TBBS_SEPARATOR,
                                    FILL_PATTERN_WIDTH);

    // The layouts are drawn for the printer: its faces are the ones a layout can use.
    if (CWinApp* pApp = AfxGetApp())
        pApp->CreatePrinterDC(m_dcPrinter);
    auto makeBox = [&](CToolBar& bar, int nIndex, UINT nID, int nDrop) -> std::unique_ptr<CComboBox> {
        if (!CShellServices::Get().createPrintBarBox)
            return nullptr;
        CRect place;
        bar.GetItemRect(nIndex, &place);
        place.bottom += nDrop;
        return CShellServices::CreatePrintBarBox(nID, &bar, place, &m_dcPrinter);
    };
    m_pFontNameBox = makeBox(m_wndPrintEditBar, PRINT_EDITBAR_FONT_NAME_INDEX, IDC_FONT_NAME, kFontNameDrop);

    CRect rect;
    m_wndPrintEditBar.GetItemRect(PRINT_EDITBAR_FONT_SIZE_INDEX, &rect);
    rect.bottom += kFontSizeDrop;
    // Disabled until the active view takes the size it chooses (UpdateBarBoxes).
    if (!m_wndFontSize.Create(CBS_DROPDOWN | WS_VSCROLL | WS_VISIBLE | WS_CHILD | WS_DISABLED, rect,
                              &m_wndPrintEditBar, IDC_FONT_SIZE))
        return FALSE;
    m_wndFontSize.SetFont(ChildFrameGuiFont());
    m_wndFontSize.SetItemHeight(-1, kFontSizeItemHeight);
    for (const char* lpszSize : s_fontSizes)
        m_wndFontSize.AddString(lpszSize);

    m_pLineStyleBox =
        makeBox(m_wndPrintToolBar, PRINT_TOOLBAR_LINE_STYLE_INDEX, IDC_LINE_STYLE, kLineStyleDrop);
    m_pPatternBox =
        makeBox(m_wndPrintToolBar, PRINT_TOOLBAR_FILL_PATTERN_INDEX, IDC_FILL_PATTERN, kFillPatternDrop);

    const DWORD dwExtra = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    m_wndPrintToolBar.SetWindowText("印刷ﾂｰﾙﾊﾞｰ"_sj);
    m_wndPrintToolBar.SetBarStyle(m_wndPrintToolBar.GetBarStyle() | dwExtra);
    m_wndPrintToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndPrintToolBar, AFX_IDW_DOCKBAR_BOTTOM);
    ShowControlBar(&m_wndPrintToolBar, TRUE, FALSE);

    m_wndPrintEditBar.SetWindowText("印刷編集ﾊﾞｰ"_sj);
    m_wndPrintEditBar.SetBarStyle(m_wndPrintEditBar.GetBarStyle() | dwExtra);
    m_wndPrintEditBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndPrintEditBar);
    ShowControlBar(&m_wndPrintEditBar, TRUE, FALSE);
    return TRUE;
}

void CChildFormFrame::OnViewPrintToolBar()
{
    ToggleChildFrameBar(this, m_wndPrintToolBar);
}

void CChildFormFrame::OnUpdateViewPrintToolBar(CCmdUI* pCmdUI)
{
    UpdateChildFrameBarCheck(pCmdUI, m_wndPrintToolBar);
}

void CChildFormFrame::OnViewPrintEditBar()
{
    ToggleChildFrameBar(this, m_wndPrintEditBar);
}

void CChildFormFrame::OnUpdateViewPrintEditBar(CCmdUI* pCmdUI)
{
    UpdateChildFrameBarCheck(pCmdUI, m_wndPrintEditBar);
}

// The environment sheet changes how grids look and print; it is not offered over a layout.
void CChildFormFrame::OnEnvironment() {}

void CChildFormFrame::OnUpdateEnvironment(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CChildFormFrame::OnIntroduction()
{
    RunImportSheet();
}

void CChildFormFrame::RunImportSheet()
{
    ShowImportSheetMissing();
}

void CChildFormFrame::OnViewToolBar()
{
    ViewMainToolBar();
}

void CChildFormFrame::OnUpdateViewToolBar(CCmdUI* pCmdUI)
{
    UpdateViewMainToolBar(pCmdUI);
}

CComboBox* CChildFormFrame::GetBarBox(UINT nID)
{
    switch (nID) {
    case IDC_FONT_SIZE:
        return m_wndFontSize.GetSafeHwnd() != nullptr ? &m_wndFontSize : nullptr;
    case IDC_FONT_NAME:
        return m_pFontNameBox.get();
    case IDC_LINE_STYLE:
        return m_pLineStyleBox.get();
    case IDC_FILL_PATTERN:
        return m_pPatternBox.get();
    default:
        return nullptr;
    }
}

LRESULT CChildFormFrame::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CMDIChildWnd::OnIdleUpdateCmdUI(wParam, lParam);
    UpdateBarBoxes();
    return lResult;
}

void CChildFormFrame::UpdateBarBoxes()
{
    for (UINT nID : {IDC_FONT_SIZE, IDC_FONT_NAME, IDC_LINE_STYLE, IDC_FILL_PATTERN}) {
        CComboBox* pBox = GetBarBox(nID);
        if (pBox == nullptr || pBox->GetSafeHwnd() == nullptr)
            continue;
        // A selection change goes from the bar to this window and on along the command
        // route (the active view first); a box is live while something there takes it.
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        const BOOL bTaken = OnCmdMsg(nID, CBN_SELCHANGE, nullptr, &info);
        if ((pBox->IsWindowEnabled() != FALSE) != (bTaken != FALSE))
            pBox->EnableWindow(bTaken);
    }
}
