#include "platform/ui/dialogs/CPropertySheet.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <QApplication>
#include <QTabBar>
#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

BEGIN_MESSAGE_MAP(CPropertySheet, CDialog)
ON_MESSAGE(WM_INITDIALOG, HandleSheetInit)
ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
ON_COMMAND(IDHELP, OnHelpButton)
ON_WM_NCDESTROY()
ON_MESSAGE(WM_AFX_SHEET_FOCUS, OnRestoreFocus)
END_MESSAGE_MAP()

namespace {

// Layout of the sheet in its own dialog units.
constexpr int kMargin = 7;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;
constexpr int kTabHeight = 14;

int CeilDiv(int a, int b)
{
    return b > 0 ? (a + b - 1) / b : a;
}

// A page template as a page's window needs it: a child without a frame of its own.
DialogTemplate MakeChildTemplate(const DialogTemplate& source)
{
    DialogTemplate t = source;
    t.style &= ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_VISIBLE);
    t.style |= WS_CHILD | DS_CONTROL;
    return t;
}

} // namespace

CPropertySheet::CPropertySheet()
{
    CommonConstruct(nullptr, 0);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    AfxLoadString(nIDCaption, m_psh.pszCaption);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CommonConstruct(pParentWnd, iSelectPage);
    if (pszCaption)
        m_psh.pszCaption = pszCaption;
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage)
{
    m_pParentWnd = pParentWnd;
    m_psh.nStartPage = iSelectPage;
}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd)
        DestroyWindow();
    for (CPropertyPage* pPage : m_pages) {
        if (pPage->m_pSheet == this)
            pPage->m_pSheet = nullptr;
    }
}

// ---------------------------------------------------------------------------------------
// Pages.
// ---------------------------------------------------------------------------------------
void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage || std::find(m_pages.begin(), m_pages.end(), pPage) != m_pages.end())
        return;
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
    m_created.push_back(false);
    if (m_hWnd && m_pTabBar) {
        // A page added to a running sheet gets its tab and, like the others, its window
        // when it is first shown.
        PROPSHEETPAGE psp = pPage->m_psp;
        if (const DialogTemplate* pTemplate = FindDialogTemplate(pPage->GetTemplateID())) {
            m_pageTemplates.push_back(std::make_unique<DialogTemplate>(MakeChildTemplate(*pTemplate)));
            psp.pResource = m_pageTemplates.back().get();
        }
        m_pageArray.push_back(psp);
        m_psh.ppsp = m_pageArray.data();
        m_psh.nPages = static_cast<UINT>(m_pageArray.size());
        SyncTabBar();
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    const int nPage = GetPageIndex(pPage);
    if (nPage >= 0)
        RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    CPropertyPage* pPage = m_pages[static_cast<size_t>(nPage)];
    if (pPage->m_hWnd)
        pPage->DestroyWindow();
    pPage->m_pSheet = nullptr;
    m_pages.erase(m_pages.begin() + nPage);
    m_created.erase(m_created.begin() + nPage);
    if (nPage < static_cast<int>(m_pageArray.size())) {
        m_pageArray.erase(m_pageArray.begin() + nPage);
        m_psh.ppsp = m_pageArray.empty() ? nullptr : m_pageArray.data();
        m_psh.nPages = static_cast<UINT>(m_pageArray.size());
    }
    if (!m_hWnd)
        return;
    if (m_nActive == nPage) {
        m_nActive = -1;
        if (!m_pages.empty())
            ShowPage(std::min(nPage, GetPageCount() - 1));
    } else if (m_nActive > nPage) {
        --m_nActive;
    }
    SyncTabBar();
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    if (nPage < 0 || nPage >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(nPage)];
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (m_hWnd)
        return GetPage(m_nActive);
    return GetPage(static_cast<int>(m_psh.nStartPage));
}

int CPropertySheet::GetActiveIndex() const
{
    return m_hWnd ? m_nActive : static_cast<int>(m_psh.nStartPage);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    return SetActivePage(GetPageIndex(pPage));
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    if (nPage == m_nActive)
        return TRUE;
    if (CPropertyPage* pOld = GetPage(m_nActive); pOld && pOld->m_hWnd && !pOld->OnKillActive()) {
        SyncTabBar();
        return FALSE;
    }
    ShowPage(nPage);
    return m_nActive == nPage;
}

void CPropertySheet::SetTitle(LPCTSTR lpszText)
{
    m_psh.pszCaption = lpszText ? lpszText : "";
    if (m_hWnd)
        SetWindowText(m_psh.pszCaption);
}

// ---------------------------------------------------------------------------------------
// Building and running.
// ---------------------------------------------------------------------------------------
void CPropertySheet::BuildPropPageArray()
{
    m_pageArray.clear();
    m_pageTemplates.clear();
    for (CPropertyPage* pPage : m_pages) {
        PROPSHEETPAGE psp = pPage->m_psp;
        psp.dwSize = sizeof(PROPSHEETPAGE);
        psp.pszTitle = pPage->GetTitle();
        psp.pResource = nullptr;
        if (const DialogTemplate* pTemplate = FindDialogTemplate(pPage->GetTemplateID())) {
            m_pageTemplates.push_back(std::make_unique<DialogTemplate>(MakeChildTemplate(*pTemplate)));
            psp.pResource = m_pageTemplates.back().get();
        }
        m_pageArray.push_back(psp);
    }
    m_psh.ppsp = m_pageArray.empty() ? nullptr : m_pageArray.data();
    m_psh.nPages = static_cast<UINT>(m_pageArray.size());
}

DialogTemplate CPropertySheet::BuildSheetTemplate()
{
    DialogTemplate t;
    t.nID = AFX_IDD_PROPSHEET;
    t.caption = m_psh.pszCaption;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    // The callback may rewrite the template (its font) before its size is worked out.
    if ((m_psh.dwFlags & PSH_USECALLBACK) && m_psh.pfnCallback)
        m_psh.pfnCallback(nullptr, PSCB_PRECREATE, reinterpret_cast<LPARAM>(&t));

    const DialogBaseUnits units = ::GetDialogBaseUnits(t);
    // The page area is as large as the largest page, each measured in its own font.
    int cxPage = 0;
    int cyPage = 0;
    for (const PROPSHEETPAGE& psp : m_pageArray) {
        if (!psp.pResource)
            continue;
        const DialogBaseUnits pageUnits = ::GetDialogBaseUnits(*psp.pResource);
        cxPage = std::max(cxPage, DialogUnitsToPixelsX(psp.pResource->cx, pageUnits));
        cyPage = std::max(cyPage, DialogUnitsToPixelsY(psp.pResource->cy, pageUnits));
    }
    const int cxPageDlu = CeilDiv(cxPage * 4, std::max(units.cxChar, 1));
    const int cyPageDlu = CeilDiv(cyPage * 8, std::max(units.cyChar, 1));
    const int cxButtons = 4 * kButtonWidth + 3 * kButtonGap;
    t.cx = std::max(cxPageDlu + 2 * kMargin, cxButtons + 2 * kMargin);
    const int yButtons = kMargin + kTabHeight + cyPageDlu + kMargin;
    t.cy = yButtons + kButtonHeight + kMargin;

    // OK, Cancel, Apply, Help from left to right, flush right.
    int x = t.cx - kMargin - cxButtons;
    const struct {
        UINT nID;
        const char* text;
        DWORD style;
    } buttons[] = {
        {IDOK, "OK", BS_DEFPUSHBUTTON},
        {IDCANCEL, "ｷｬﾝｾﾙ", 0},
        {ID_APPLY_NOW, "適用(&A)", 0},
        {IDHELP, "ﾍﾙﾌﾟ", 0},
    };
    for (const auto& b : buttons) {
        DialogControl c(DlgPushButton, b.nID, CString::FromUtf8(b.text), x, yButtons, kButtonWidth,
                        kButtonHeight, b.style | WS_TABSTOP);
        if (b.nID == ID_APPLY_NOW)
            c.style |= WS_DISABLED;
        t.controls.push_back(c);
        x += kButtonWidth + kButtonGap;
    }
    m_rcPage = CRect(DialogUnitsToPixelsX(kMargin, units), DialogUnitsToPixelsY(kMargin + kTabHeight, units),
                     DialogUnitsToPixelsX(kMargin, units) + cxPage,
                     DialogUnitsToPixelsY(kMargin + kTabHeight, units) + cyPage);
    return t;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd)
        return -1;
    m_bModeless = false;
    BuildPropPageArray();
    m_created.assign(m_pages.size(), false);
    if (!InitModalIndirect(BuildSheetTemplate(), m_pParentWnd))
        return -1;
    const INT_PTR nResult = CDialog::DoModal();
    ForgetWindows();
    return nResult;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    if (m_hWnd)
        return FALSE;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModeless = true;
    BuildPropPageArray();
    m_created.assign(m_pages.size(), false);
    DialogTemplate t = BuildSheetTemplate();
    if (dwStyle != static_cast<DWORD>(-1))
        t.style = (dwStyle & ~WS_CHILD) | WS_POPUP;
    t.style |= WS_VISIBLE;
    t.exStyle |= dwExStyle;
    return CreateIndirect(t, m_pParentWnd);
}

LRESULT CPropertySheet::HandleSheetInit(WPARAM, LPARAM)
{
    LayoutSheet();
    if (!m_pages.empty()) {
        const int nStart = std::min(static_cast<int>(m_psh.nStartPage), GetPageCount() - 1);
        ShowPage(nStart);
    }
    if ((m_psh.dwFlags & PSH_USECALLBACK) && m_psh.pfnCallback)
        m_psh.pfnCallback(m_hWnd, PSCB_INITIALIZED, 0);
    const BOOL bResult = OnInitDialog();
    // The pages placed their focus while the sheet was not yet shown; once it is, the
    // control they chose gets it.
    PostMessage(WM_AFX_SHEET_FOCUS);
    return bResult;
}

LRESULT CPropertySheet::OnRestoreFocus(WPARAM, LPARAM)
{
    CPropertyPage* pPage = GetPage(m_nActive);
    if (!pPage || !pPage->m_hWnd)
        return 0;
    QWidget* pPageWidget = pPage->GetWidget();
    QWidget* pFocus = QApplication::focusWidget();
    if (pFocus && pPageWidget && pPageWidget->isAncestorOf(pFocus))
        return 0;
    if (QWidget* pChosen = pPageWidget ? pPageWidget->focusWidget() : nullptr;
        pChosen && pChosen->isVisible() && pChosen->isEnabled()) {
        pChosen->setFocus(Qt::OtherFocusReason);
        return 0;
    }
    if (CWnd* pFirst = pPage->GetNextDlgTabItem(nullptr))
        pPage->GotoDlgCtrl(pFirst);
    return 0;
}

BOOL CPropertySheet::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The start page has placed the focus.
    return FALSE;
}

void CPropertySheet::LayoutSheet()
{
    QWidget* pWidget = GetWidget();
    if (!pWidget)
        return;
    m_pTabBar = new QTabBar(pWidget);
    m_pTabBar->setDrawBase(true);
    m_pTabBar->setExpanding(false);
    m_pTabBar->setFocusPolicy(Qt::TabFocus);
    if (CFont* pFont = GetFont())
        m_pTabBar->setFont(AfxWidgetFontFromHandle(static_cast<HFONT>(*pFont)));
    SyncTabBar();
    const int cyTab = std::max(m_pTabBar->sizeHint().height(), 1);
    m_pTabBar->setGeometry(m_rcPage.left, std::max(0, m_rcPage.top - cyTab), m_rcPage.Width(), cyTab);
    m_pTabBar->show();
    QObject::connect(m_pTabBar, &QTabBar::currentChanged, m_pTabBar, [this](int nIndex) {
        if (nIndex >= 0 && nIndex != m_nActive)
            SetActivePage(nIndex);
    });
}

void CPropertySheet::SyncTabBar()
{
    if (!m_pTabBar)
        return;
    const QSignalBlocker blocker(m_pTabBar);
    while (m_pTabBar->count() > GetPageCount())
        m_pTabBar->removeTab(m_pTabBar->count() - 1);
    for (int i = 0; i < GetPageCount(); ++i) {
        const CString title = i < static_cast<int>(m_pageArray.size())
                                  ? m_pageArray[static_cast<size_t>(i)].pszTitle
                                  : m_pages[static_cast<size_t>(i)]->GetTitle();
        const QString text = AfxCp932ToQString(title);
        if (i < m_pTabBar->count())
            m_pTabBar->setTabText(i, text);
        else
            m_pTabBar->addTab(text);
    }
    if (m_nActive >= 0)
        m_pTabBar->setCurrentIndex(m_nActive);
}

BOOL CPropertySheet::CreatePageWindow(int nPage)
{
    CPropertyPage* pPage = GetPage(nPage);
    if (!pPage)
        return FALSE;
    if (m_created[static_cast<size_t>(nPage)] && pPage->m_hWnd)
        return TRUE;
    const DialogTemplate* pTemplate = nPage < static_cast<int>(m_pageArray.size())
                                          ? m_pageArray[static_cast<size_t>(nPage)].pResource
                                          : nullptr;
    DialogTemplate fallback;
    if (!pTemplate) {
        // A page without a template is an empty page of the page area's size.
        fallback.nID = pPage->GetTemplateID();
        fallback.style = WS_CHILD | DS_CONTROL;
        pTemplate = &fallback;
    }
    // The page's window is made where it will be shown, hidden until it comes to the front.
    m_created[static_cast<size_t>(nPage)] = true;
    if (!pPage->CreateIndirect(*pTemplate, this)) {
        m_created[static_cast<size_t>(nPage)] = false;
        return FALSE;
    }
    pPage->MoveWindow(m_rcPage.left, m_rcPage.top, m_rcPage.Width(), m_rcPage.Height(), FALSE);
    return TRUE;
}

void CPropertySheet::ShowPage(int nPage)
{
    if (!CreatePageWindow(nPage))
        return;
    CPropertyPage* pPage = GetPage(nPage);
    if (!pPage->OnSetActive()) {
        SyncTabBar();
        return;
    }
    CPropertyPage* pOld = GetPage(m_nActive);
    m_nActive = nPage;
    pPage->ShowWindow(SW_SHOW);
    if (pOld && pOld != pPage && pOld->m_hWnd)
        pOld->ShowWindow(SW_HIDE);
    SyncTabBar();
    // The focus goes into the page unless it is there already (a page that placed it in
    // OnInitDialog keeps that place).
    CWnd* pFocus = CWnd::GetFocus();
    if (!pFocus || (pFocus != pPage && !pPage->IsChild(pFocus))) {
        if (CWnd* pFirst = pPage->GetNextDlgTabItem(nullptr))
            pPage->GotoDlgCtrl(pFirst);
    }
}

BOOL CPropertySheet::ApplyAll()
{
    if (CPropertyPage* pActive = GetPage(m_nActive); pActive && pActive->m_hWnd && !pActive->OnKillActive())
        return FALSE;
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* pPage = m_pages[static_cast<size_t>(i)];
        if (!m_created[static_cast<size_t>(i)] || !pPage->m_hWnd)
            continue;
        if (!pPage->OnApply()) {
            SetActivePage(i);
            return FALSE;
        }
        pPage->m_bModified = FALSE;
    }
    UpdateApplyButton();
    return TRUE;
}

void CPropertySheet::OnOK()
{
    if (!ApplyAll())
        return;
    EndDialog(IDOK);
}

void CPropertySheet::OnCancel()
{
    if (CPropertyPage* pActive = GetPage(m_nActive); pActive && pActive->m_hWnd && !pActive->OnQueryCancel())
        return;
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* pPage = m_pages[static_cast<size_t>(i)];
        if (m_created[static_cast<size_t>(i)] && pPage->m_hWnd)
            pPage->OnReset();
    }
    EndDialog(IDCANCEL);
}

void CPropertySheet::OnApplyNow()
{
    ApplyAll();
}

void CPropertySheet::OnHelpButton()
{
    if (CPropertyPage* pActive = GetPage(m_nActive); pActive && pActive->m_hWnd)
        pActive->SendMessage(WM_COMMAND, IDHELP);
}

void CPropertySheet::UpdateApplyButton()
{
    CWnd* pApply = m_hWnd ? GetDlgItem(ID_APPLY_NOW) : nullptr;
    if (!pApply)
        return;
    bool bModified = false;
    for (CPropertyPage* pPage : m_pages)
        bModified = bModified || pPage->m_bModified;
    pApply->EnableWindow(bModified);
}

void CPropertySheet::PressButton(int nButton)
{
    if (!m_hWnd)
        return;
    CWnd* pButton = GetDlgItem(nButton);
    if (pButton && !pButton->IsWindowEnabled())
        return;
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nButton), BN_CLICKED),
                reinterpret_cast<LPARAM>(pButton ? pButton->m_hWnd : nullptr));
}

// ---------------------------------------------------------------------------------------
// Keys.
// ---------------------------------------------------------------------------------------
BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd || !pMsg || pMsg->message != WM_KEYDOWN)
        return CDialog::PreTranslateMessage(pMsg);
    CWnd* pTarget = CWnd::FromHandle(pMsg->hwnd);
    if (!pTarget || (pTarget != this && !IsChild(pTarget)))
        return FALSE;
    const bool bCtrl = GetKeyState(VK_CONTROL) < 0;
    const bool bShift = GetKeyState(VK_SHIFT) < 0;
    if (bCtrl && (pMsg->wParam == VK_TAB || pMsg->wParam == VK_NEXT || pMsg->wParam == VK_PRIOR)) {
        const int n = GetPageCount();
        if (n > 1) {
            const bool bBack = pMsg->wParam == VK_PRIOR || (pMsg->wParam == VK_TAB && bShift);
            SetActivePage((m_nActive + (bBack ? n - 1 : 1)) % n);
        }
        return TRUE;
    }
    if (bCtrl && pMsg->wParam == VK_RETURN) {
        // Ctrl+Enter confirms the sheet from any control, also from an editor that keeps
        // Enter for itself.
        MSG msg = *pMsg;
        msg.hwnd = m_hWnd;
        return IsDialogMessage(&msg);
    }
    if (pMsg->wParam == VK_TAB && !bCtrl) {
        const UINT code = pTarget == this ? 0
                                          : static_cast<UINT>(pTarget->SendMessage(
                                                WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg)));
        if (!(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
            // Tab goes round the page's controls, the tabs and the sheet's buttons, also
            // from the controls that draw themselves.
            MoveFocusInChain(!bShift);
            return TRUE;
        }
    }
    CPropertyPage* pPage = GetPage(m_nActive);
    if (pPage && pPage->m_hWnd && pPage->IsChild(pTarget)) {
        const UINT code = static_cast<UINT>(
            pTarget->SendMessage(WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg)));
        if (code & DLGC_WANTALLKEYS)
            return FALSE;
        if (pMsg->wParam == VK_RETURN && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
            // A push button of the page with the focus takes Enter.
            pTarget->GetParent()->SendMessage(
                WM_COMMAND, MAKEWPARAM(static_cast<WORD>(pTarget->GetDlgCtrlID()), BN_CLICKED),
                reinterpret_cast<LPARAM>(pTarget->m_hWnd));
            return TRUE;
        }
        if (pMsg->wParam != VK_RETURN && pMsg->wParam != VK_ESCAPE) {
            // The arrows move within the page's button groups.
            CWnd* pParent = pTarget->GetParent();
            if (auto* pDlg = dynamic_cast<CDialog*>(pParent))
                return pDlg->IsDialogMessage(pMsg);
            return FALSE;
        }
        // Enter and Esc go to the sheet's buttons.
        MSG msg = *pMsg;
        msg.hwnd = m_hWnd;
        return IsDialogMessage(&msg);
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CPropertySheet::MoveFocusInChain(bool bForward)
{
    QWidget* pSheet = GetWidget();
    if (!pSheet)
        return;
    QWidget* pStart = QApplication::focusWidget();
    if (!pStart || !pSheet->isAncestorOf(pStart))
        pStart = pSheet;
    QWidget* p = pStart;
    for (int guard = 0; guard < 10000; ++guard) {
        p = bForward ? p->nextInFocusChain() : p->previousInFocusChain();
        if (!p || p == pStart)
            return;
        if (pSheet->isAncestorOf(p) && (p->focusPolicy() & Qt::TabFocus) && p->isVisible() &&
            p->isEnabled() && !p->focusProxy()) {
            p->setFocus(bForward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            if (CWnd* pWnd = CWnd::GetFocus(); pWnd && (pWnd->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL))
                pWnd->SendMessage(EM_SETSEL, 0, -1);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------
// The end of the window.
// ---------------------------------------------------------------------------------------
void CPropertySheet::OnNcDestroy()
{
    ForgetWindows();
    CDialog::OnNcDestroy();
}

void CPropertySheet::ForgetWindows()
{
    m_pTabBar = nullptr; // the toolkit deletes it with the sheet's widget
    m_nActive = -1;
    std::fill(m_created.begin(), m_created.end(), false);
    for (CPropertyPage* pPage : m_pages)
        pPage->m_bModified = FALSE;
}
