#include "FrameTestSupport.h"

#include "platform/base/CException.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/frames/CCreateContext.h"
#include "platform/ui/frames/CPrintInfo.h"
#include "platform/ui/gdi/CDC.h"

#include <QWidget>

namespace {

// A 2 x 1 strip of 16 x 15 button pictures: red, then blue.
const char* const kToolBarXpm[] = {
    "32 15 2 1",
    "r c #FF0000",
    "b c #0000FF",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
    "rrrrrrrrrrrrrrrrbbbbbbbbbbbbbbbb",
};

std::vector<CMenuResourceItem> MakeFrameMenu()
{
    return {MenuPopup("ﾌｧｲﾙ(&F)"_sj, {
                                         MenuItem("新規作成(&N)\tCtrl+N"_sj, ID_FILE_NEW),
                                         MenuItem("開く(&O)...\tCtrl+O"_sj, ID_FILE_OPEN),
                                         MenuSeparator(),
                                         MenuItem("ﾂｰﾙﾊﾞｰ(&T)"_sj, ID_VIEW_TOOLBAR),
                                     })};
}

std::vector<CMenuResourceItem> MakeTypeMenu(const char* popupName)
{
    return {MenuPopup("ﾌｧｲﾙ(&F)"_sj, {MenuItem("閉じる(&C)"_sj, ID_FILE_CLOSE)}),
            MenuPopup(CString::FromUtf8(popupName), {
                                                        MenuItem("ﾋﾞｭｰ"_sj, ID_TEST_FROM_VIEW),
                                                        MenuItem("ﾄﾞｷｭﾒﾝﾄ"_sj, ID_TEST_FROM_DOC),
                                                        MenuItem("子ﾌﾚｰﾑ"_sj, ID_TEST_FROM_CHILD),
                                                        MenuItem("ﾒｲﾝﾌﾚｰﾑ"_sj, ID_TEST_FROM_MAIN),
                                                        MenuItem("ｱﾌﾟﾘｹｰｼｮﾝ"_sj, ID_TEST_FROM_APP),
                                                        MenuItem("なし"_sj, ID_TEST_UNHANDLED),
                                                        MenuItem("使えない"_sj, ID_TEST_DISABLED),
                                                    })};
}

std::vector<std::pair<UINT, CString>> MakeStrings()
{
    return {
        {IDR_TEST_MAINFRAME, "ﾃｽﾄ ﾓﾙﾍﾞﾙ"_sj},
        {IDR_TEST_TYPEA, "\nTestA\nTestA\nTestA ﾌｧｲﾙ (*.TSA)\n.TSA\nTestA.Document\nTestA ﾌｧｲﾙ\n"_sj},
        {IDR_TEST_TYPEB, "\nTestB\nTestB\nTestB ﾌｧｲﾙ (*.TSB)\n.TSB\nTestB.Document\nTestB ﾌｧｲﾙ\n"_sj},
        {IDR_TEST_SPLITA, "\nSplit\nSplit\nSplit ﾌｧｲﾙ (*.TSS)\n.TSS\nSplit.Document\nSplit\n"_sj},
        {IDR_TEST_DYNAMIC, "\nDynamic\nDynamic\nDynamic ﾌｧｲﾙ (*.TSD)\n.TSD\nDynamic.Document\nDynamic\n"_sj},
        {ID_TEST_TOOL, "ﾃｽﾄのｺﾏﾝﾄﾞを実行します\nﾃｽﾄ"_sj},
        {ID_TEST_FROM_MAIN, "ﾒｲﾝﾌﾚｰﾑのｺﾏﾝﾄﾞ\nﾒｲﾝ"_sj},
        {IDS_TEST_PANE1, CString(' ', 12)},
        {IDS_TEST_PANE2, CString(' ', 6)},
        {ID_INDICATOR_CAPS, "CAP"},
        {AFX_IDS_IDLEMESSAGE, "ﾚﾃﾞｨ"_sj},
    };
}

const bool s_resources = [] {
    RegisterMenuResource(IDR_TEST_MAINFRAME, MakeFrameMenu);
    RegisterMenuResource(IDR_TEST_TYPEA, [] { return MakeTypeMenu("見積A(&A)"); });
    RegisterMenuResource(IDR_TEST_TYPEB, [] { return MakeTypeMenu("部材B(&B)"); });
    RegisterStringTable(MakeStrings);
    RegisterAcceleratorResource(IDR_TEST_MAINFRAME, {{FVIRTKEY | FCONTROL, 'T', ID_TEST_FROM_MAIN}});
    RegisterAcceleratorResource(IDR_TEST_TYPEA, {{FVIRTKEY | FCONTROL, 'K', ID_TEST_FROM_VIEW}});
    CToolBarResource main;
    main.cx = 16;
    main.cy = 15;
    main.image = ImageFromXpm(kToolBarXpm);
    main.buttons = {ID_TEST_TOOL, ID_SEPARATOR,     ID_TEST_FROM_MAIN, ID_TEST_UNHANDLED,
                    ID_SEPARATOR, ID_TEST_DISABLED, ID_TEST_DISABLED};
    RegisterToolBarResource(IDR_TEST_MAINFRAME, main);
    CToolBarResource second;
    second.buttons = {ID_TEST_FROM_APP};
    RegisterToolBarResource(IDR_TEST_MAINFRAME + 1, second);
    return true;
}();

void Log(const char* level, UINT nID)
{
    RouteLog().push_back(std::string(level) + ":" + std::to_string(nID));
}

} // namespace

void SetKeyStateForTest(UINT nVirtKey, bool bDown)
{
    CWndManager::Instance().m_keyDown[nVirtKey & 0xFF] = bDown;
}

std::vector<std::string>& RouteLog()
{
    static std::vector<std::string> s_log;
    return s_log;
}

// ---------------------------------------------------------------------------------------
// The application.
// ---------------------------------------------------------------------------------------
BEGIN_MESSAGE_MAP(CFrameTestApp, CWinApp)
ON_COMMAND_RANGE(ID_TEST_FROM_VIEW, ID_TEST_FROM_APP, OnAnyCommand)
END_MESSAGE_MAP()

void CFrameTestApp::OnAnyCommand(UINT nID)
{
    Log("app", nID);
}

// ---------------------------------------------------------------------------------------
// Documents.
// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(CTestDocA, CDocument)
IMPLEMENT_DYNCREATE(CTestDocB, CTestDocA)

bool CTestDocA::s_failStoring = false;

BEGIN_MESSAGE_MAP(CTestDocA, CDocument)
ON_COMMAND_RANGE(ID_TEST_FROM_VIEW, ID_TEST_FROM_DOC, OnAnyCommand)
ON_COMMAND(ID_TEST_DISABLED, OnAnyCommandDisabled)
END_MESSAGE_MAP()

void CTestDocA::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_text;
        if (s_failStoring)
            throw CArchiveException(CArchiveException::genericException);
        ar << m_value;
    } else {
        ar >> m_text;
        ar >> m_value;
    }
}

void CTestDocA::DeleteContents()
{
    ++m_nDeleteContents;
    m_text.Empty();
    m_value = 0;
}

void CTestDocA::OnAnyCommand(UINT nID)
{
    Log("doc", nID);
}

void CTestDocA::OnAnyCommandDisabled()
{
    Log("doc", ID_TEST_DISABLED);
}

// ---------------------------------------------------------------------------------------
// Views.
// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(CTestViewA, CView)

BEGIN_MESSAGE_MAP(CTestViewA, CView)
ON_COMMAND(ID_TEST_FROM_VIEW, OnFromView)
ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateDisabled)
ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

void CTestViewA::OnDraw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
}

void CTestViewA::OnInitialUpdate()
{
    ++m_nInitialUpdates;
    CView::OnInitialUpdate();
}

void CTestViewA::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    ++m_nUpdates;
    m_lastHint = lHint;
    CView::OnUpdate(pSender, lHint, pHint);
}

void CTestViewA::OnFromView()
{
    Log("view", ID_TEST_FROM_VIEW);
}

void CTestViewA::OnUpdateDisabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

BOOL CTestViewA::OnPreparePrinting(CPrintInfo* pInfo)
{
    m_printLog.push_back(pInfo->m_bPreview ? "prepare-preview" : "prepare");
    if (m_nPagesToPrint != 0xFFFF)
        pInfo->SetMaxPage(m_nPagesToPrint);
    pInfo->m_nNumPreviewPages = 2;
    return DoPreparePrinting(pInfo);
}

void CTestViewA::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    m_printLog.push_back(pDC->IsPrinting() ? "begin" : "begin-not-printing");
    CView::OnBeginPrinting(pDC, pInfo);
}

void CTestViewA::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (pInfo)
        m_printLog.push_back("preparedc:" + std::to_string(pInfo->m_nCurPage));
    CView::OnPrepareDC(pDC, pInfo);
    // Pages beyond the third do not exist when the view does not know its length.
    if (pInfo && m_nPagesToPrint == 0xFFFF)
        pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= 3;
}

void CTestViewA::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    m_printLog.push_back("print:" + std::to_string(pInfo->m_nCurPage));
    if (m_drawPage) {
        m_drawPage(pDC);
        return;
    }
    // A black square half an inch wide at the printable area's top-left corner.
    const int half = pDC->GetDeviceCaps(LOGPIXELSX) / 2;
    pDC->FillSolidRect(0, 0, half, half, RGB(0, 0, 0));
}

void CTestViewA::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    m_printLog.push_back("end");
    CView::OnEndPrinting(pDC, pInfo);
}

IMPLEMENT_DYNCREATE(CTestScrollView, CScrollView)

void CTestScrollView::OnInitialUpdate()
{
    SetScrollSizes(MM_TEXT, CSize(1000, 2000), CSize(100, 200), CSize(10, 20));
}

void CTestScrollView::OnDraw(CDC* pDC)
{
    m_drawOrigins.push_back(pDC->GetViewportOrg());
}

// ---------------------------------------------------------------------------------------
// Frames.
// ---------------------------------------------------------------------------------------
IMPLEMENT_DYNCREATE(CTestChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CTestChildFrame, CMDIChildWnd)
ON_COMMAND_RANGE(ID_TEST_FROM_VIEW, ID_TEST_FROM_CHILD, OnAnyCommand)
END_MESSAGE_MAP()

void CTestChildFrame::OnAnyCommand(UINT nID)
{
    Log("child", nID);
}

IMPLEMENT_DYNCREATE(CTestSplitFrame, CMDIChildWnd)

BOOL CTestSplitFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    if (!m_wndSplitter.CreateStatic(this, 1, 2))
        return FALSE;
    if (!m_wndSplitter.CreateView(0, 1, pContext->m_pNewViewClass, CSize(0, 0), pContext) ||
        !m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CTestScrollView), CSize(130, 50), pContext))
        return FALSE;
    SetActiveView(static_cast<CView*>(m_wndSplitter.GetPane(0, 1)));
    return TRUE;
}

IMPLEMENT_DYNCREATE(CTestDynamicFrame, CMDIChildWnd)

BOOL CTestDynamicFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    return m_wndSplitter.Create(this, 2, 2, CSize(10, 10), pContext);
}

IMPLEMENT_DYNCREATE(CTestMainFrame, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(CTestMainFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(ID_TEST_FROM_VIEW, ID_TEST_FROM_MAIN, OnAnyCommand)
ON_COMMAND(ID_TEST_TOOL, OnToolCommand)
END_MESSAGE_MAP()

CTestMainFrame::~CTestMainFrame()
{
    delete m_pZoomBox;
}

int CTestMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!m_bCreateBars)
        return 0;
    if (!m_wndToolBar.Create(this) || !m_wndToolBar.LoadToolBar(IDR_TEST_MAINFRAME))
        return -1;
    if (!m_wndSecondBar.Create(this) || !m_wndSecondBar.LoadToolBar(IDR_TEST_MAINFRAME + 1))
        return -1;
    static const UINT indicators[] = {ID_SEPARATOR, IDS_TEST_PANE1, IDS_TEST_PANE2, ID_INDICATOR_CAPS};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4))
        return -1;
    // Button 5 becomes the room of a combo box, as the zoom box stands on the real bar.
    m_wndToolBar.SetButtonInfo(5, ID_TEST_ZOOMBOX, TBBS_SEPARATOR, 85);
    CRect rect;
    m_wndToolBar.GetItemRect(5, &rect);
    rect.top = 2;
    rect.bottom = rect.top + 180;
    auto* pCombo = new CComboBox;
    m_pZoomBox = pCombo;
    if (!pCombo->Create(CBS_DROPDOWNLIST | WS_VISIBLE | WS_TABSTOP, rect, &m_wndToolBar, ID_TEST_ZOOMBOX))
        return -1;
    pCombo->AddString("100%");
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    m_wndSecondBar.SetBarStyle(m_wndSecondBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_ALIGN_TOP);
    m_wndSecondBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndSecondBar, AFX_IDW_DOCKBAR_TOP);
    RecalcLayout();
    m_wndToolBar.GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    // Beside the main bar, on its row.
    DockControlBar(&m_wndSecondBar, AFX_IDW_DOCKBAR_TOP, &rect);
    return 0;
}

void CTestMainFrame::OnAnyCommand(UINT nID)
{
    Log("main", nID);
}

void CTestMainFrame::OnToolCommand()
{
    Log("main", ID_TEST_TOOL);
}

// ---------------------------------------------------------------------------------------
// The environment.
// ---------------------------------------------------------------------------------------
CFrameTestEnvironment::CFrameTestEnvironment(BOOL bBars)
{
    (void)s_resources;
    RouteLog().clear();
    m_pApp = std::make_unique<CFrameTestApp>();
    m_pTemplateA = new CMultiDocTemplate(IDR_TEST_TYPEA, RUNTIME_CLASS(CTestDocA),
                                         RUNTIME_CLASS(CTestChildFrame), RUNTIME_CLASS(CTestViewA));
    m_pApp->AddDocTemplate(m_pTemplateA);
    m_pTemplateB = new CMultiDocTemplate(IDR_TEST_TYPEB, RUNTIME_CLASS(CTestDocB),
                                         RUNTIME_CLASS(CTestChildFrame), RUNTIME_CLASS(CTestViewA));
    m_pApp->AddDocTemplate(m_pTemplateB);
    m_pTemplateSplit = new CMultiDocTemplate(IDR_TEST_SPLITA, RUNTIME_CLASS(CTestDocA),
                                             RUNTIME_CLASS(CTestSplitFrame), RUNTIME_CLASS(CTestViewA));
    m_pApp->AddDocTemplate(m_pTemplateSplit);
    m_pTemplateDynamic =
        new CMultiDocTemplate(IDR_TEST_DYNAMIC, RUNTIME_CLASS(CTestDocA), RUNTIME_CLASS(CTestDynamicFrame),
                              RUNTIME_CLASS(CTestScrollView));
    m_pApp->AddDocTemplate(m_pTemplateDynamic);

    m_pMain = new CTestMainFrame;
    m_pMain->m_bCreateBars = bBars;
    if (!m_pMain->LoadFrame(IDR_TEST_MAINFRAME)) {
        m_pMain = nullptr;
        return;
    }
    m_pApp->m_pMainWnd = m_pMain;
    m_hWndMain = m_pMain->m_hWnd;
    m_pMain->ShowWindow(SW_SHOW);
    m_pMain->MoveWindow(0, 0, 1000, 700);
}

CFrameTestEnvironment::~CFrameTestEnvironment()
{
    // The frame may have gone already (a test closed it); its handle tells.
    m_pApp->m_pMainWnd = nullptr;
    if (CWnd* pMain = CWnd::FromHandle(m_hWndMain))
        pMain->DestroyWindow();
    m_pApp.reset();
}

std::vector<CMDIChildWnd*> CFrameTestEnvironment::WalkChildren() const
{
    std::vector<CMDIChildWnd*> children;
    CWnd* pClient = m_pMain ? CWnd::FromHandle(m_pMain->m_hWndMDIClient) : nullptr;
    for (CWnd* p = pClient ? pClient->GetWindow(GW_CHILD) : nullptr; p; p = p->GetWindow(GW_HWNDNEXT)) {
        if (auto* pChild = dynamic_cast<CMDIChildWnd*>(p))
            children.push_back(pChild);
    }
    return children;
}
