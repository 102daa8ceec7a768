#include "app/CSplashWindow.h"

#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "resources/ResourceIds.h"

namespace {

constexpr UINT_PTR kTimerId = 1;

} // namespace

IMPLEMENT_DYNAMIC(CSplashWindow, CWnd)

BOOL CSplashWindow::s_bShowSplash = TRUE;
CSplashWindow* CSplashWindow::s_pSplashWnd = nullptr;

BEGIN_MESSAGE_MAP(CSplashWindow, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_TIMER()
END_MESSAGE_MAP()

CSplashWindow::~CSplashWindow()
{
    if (s_pSplashWnd == this)
        s_pSplashWnd = nullptr;
}

void CSplashWindow::EnableSplash(BOOL bEnable)
{
    s_bShowSplash = bEnable ? TRUE : FALSE;
}

void CSplashWindow::ShowSplash(CWnd* pParentWnd)
{
    if (!s_bShowSplash || s_pSplashWnd != nullptr)
        return;
    s_pSplashWnd = new CSplashWindow;
    if (!s_pSplashWnd->Create(pParentWnd)) {
        delete s_pSplashWnd;
        s_pSplashWnd = nullptr;
        return;
    }
    s_pSplashWnd->UpdateWindow();
}

BOOL CSplashWindow::FilterAppMessage(MSG* pMsg)
{
    if (s_pSplashWnd == nullptr || pMsg == nullptr)
        return FALSE;
    switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        s_pSplashWnd->HideSplash();
        break;
    default:
        break;
    }
    // The key or click still goes where it was meant to go.
    return FALSE;
}

BOOL CSplashWindow::Create(CWnd* pParentWnd)
{
    if (!m_bitmap.LoadBitmap(IDB_SPLASH))
        return FALSE;
    BITMAP bm{};
    m_bitmap.GetBitmap(&bm);
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    // Owned by the main frame and kept on top: a window manager maps the frame after the
    // picture and would otherwise stack the frame over it.
    return CreateEx(WS_EX_TOPMOST, lpszClass, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, bm.bmWidth, bm.bmHeight,
                    pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

int CSplashWindow::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // Centred on the screen (a popup window centres on the desktop).
    CenterWindow();
    SetTimer(kTimerId, SPLASH_TIMEOUT_MS);
    return 0;
}

void CSplashWindow::OnPaint()
{
    CPaintDC dc(this);
    CDC dcImage;
    if (!dcImage.CreateCompatibleDC(&dc))
        return;
    BITMAP bm{};
    m_bitmap.GetBitmap(&bm);
    CBitmap* pOldBitmap = dcImage.SelectObject(&m_bitmap);
    dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &dcImage, 0, 0, SRCCOPY);
    dcImage.SelectObject(pOldBitmap);
}

void CSplashWindow::OnTimer(UINT_PTR nIDEvent)
{
    (void)nIDEvent;
    HideSplash();
}

void CSplashWindow::HideSplash()
{
    // The object goes with its window (PostNcDestroy).
    DestroyWindow();
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->UpdateWindow();
}

void CSplashWindow::PostNcDestroy()
{
    delete this;
}
