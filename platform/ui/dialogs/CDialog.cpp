#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/MessageBoxUi.h"

#include "platform/ui/controls/CommonControls_p.h"

#include "platform/ui/controls/CButton.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/controls/CProgressCtrl.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/controls/CSpinButtonCtrl.h"
#include "platform/ui/controls/CStatic.h"
#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CUserException.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/DialogTitleBar_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include <QEventLoop>
#include <QWidget>

#include <cstring>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

LRESULT AfxDialogClassProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled);

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

namespace {

CDialog* DialogOf(CWnd* pWnd)
{
    return dynamic_cast<CDialog*>(pWnd);
}

bool IsPushButtonCode(UINT code)
{
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

void RegisterDialogClass()
{
    static const bool s_registered = [] {
        CWndClassInfo info;
        info.name = AFX_DIALOG_CLASS;
        info.style = CS_DBLCLKS | CS_SAVEBITS;
        info.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        info.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
        info.wndProc = AfxDialogClassProc;
        AfxRegisterClassInfo(info);
        return true;
    }();
    (void)s_registered;
}

struct CControlClass {
    const char* className;
    CWnd* (*make)();
};

// The window class and the object standing for a control of a template.
CControlClass ControlClassFor(const DialogControl& control)
{
    switch (control.kind) {
    case DlgPushButton:
    case DlgCheckBox:
    case DlgRadioButton:
    case DlgGroupBox:
        return {"BUTTON", [] { return static_cast<CWnd*>(new CButton); }};
    case DlgStatic:
        return {"STATIC", [] { return static_cast<CWnd*>(new CStatic); }};
    case DlgEdit:
        return {"EDIT", [] { return static_cast<CWnd*>(new CEdit); }};
    case DlgRichEdit:
        // The rich edit's own class when the program has one; a plain edit does otherwise.
        if (AfxFindClassInfo("RichEdit20A"))
            return {"RichEdit20A", [] { return new CWnd; }};
        return {"EDIT", [] { return static_cast<CWnd*>(new CEdit); }};
    case DlgComboBox:
        return {"COMBOBOX", [] { return static_cast<CWnd*>(new CComboBox); }};
    case DlgListBox:
        return {"LISTBOX", [] { return static_cast<CWnd*>(new CListBox); }};
    case DlgListControl:
        return {"SysListView32", [] { return new CWnd; }};
    case DlgTreeControl:
        return {"SysTreeView32", [] { return new CWnd; }};
    case DlgScrollBar:
        return {"SCROLLBAR", [] { return static_cast<CWnd*>(new CScrollBar); }};
    case DlgUpDown:
        return {"msctls_updown32", [] { return static_cast<CWnd*>(new CSpinButtonCtrl); }};
    case DlgProgress:
        return {"msctls_progress32", [] { return static_cast<CWnd*>(new CProgressCtrl); }};
    case DlgCustom:
        break;
    }
    return {nullptr, [] { return new CWnd; }};
}

bool TextHasMnemonic(const CString& text)
{
    const int n = text.GetLength();
    for (int i = 0; i < n; ++i) {
        if (text[i] == '&') {
            if (i + 1 < n && text[i + 1] != '&')
                return true;
            ++i;
        }
    }
    return false;
}

} // namespace

// The dialog class's own handling: the close box means Cancel, and the default push
// button is kept here.
LRESULT AfxDialogClassProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    (void)lParam;
    CDialog* pDlg = DialogOf(pWnd);
    switch (nMsg) {
    case WM_CLOSE: {
        CWnd* pCancel = pWnd->GetDlgItem(IDCANCEL);
        if (pCancel && !pCancel->IsWindowEnabled()) {
            MessageBeep(0);
            return 0;
        }
        pWnd->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                          reinterpret_cast<LPARAM>(pCancel ? pCancel->m_hWnd : nullptr));
        return 0;
    }
    case DM_GETDEFID:
        if (pDlg && pDlg->m_nDefID != 0)
            return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(pDlg->m_nDefID), DC_HASDEFID));
        return 0;
    case DM_SETDEFID:
        if (pDlg) {
            const UINT nOld = pDlg->m_nDefID;
            const UINT nNew = static_cast<UINT>(wParam);
            if (nOld != nNew) {
                // The look of the buttons follows: only one shows as the default.
                if (CWnd* pOld = nOld ? pWnd->GetDlgItem(static_cast<int>(nOld)) : nullptr) {
                    if (pOld->SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON)
                        pOld->SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
                }
                if (CWnd* pNew = nNew ? pWnd->GetDlgItem(static_cast<int>(nNew)) : nullptr) {
                    if (pNew->SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON)
                        pNew->SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
                }
            }
            pDlg->m_nDefID = nNew;
        }
        return TRUE;
    default:
        *pbHandled = FALSE;
        return 0;
    }
}

// ---------------------------------------------------------------------------------------
// Construction.
// ---------------------------------------------------------------------------------------
CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_pParentWnd(pParentWnd), m_nIDTemplate(nIDTemplate)
{
    m_nIDHelp = nIDTemplate;
    m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : m_lpszTemplateName(lpszTemplateName)
{
    m_pParentWnd = pParentWnd;
    if (lpszTemplateName && IS_INTRESOURCE(lpszTemplateName))
        m_nIDTemplate = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszTemplateName));
    m_nIDHelp = m_nIDTemplate;
}

CDialog::~CDialog()
{
    if (m_pLoop)
        m_pLoop->exit(-1);
    if (m_hWnd)
        DestroyWindow();
    ReleaseControls();
}

const DialogTemplate* CDialog::ResolveTemplate() const
{
    if (m_pIndirect)
        return m_pIndirect.get();
    return m_nIDTemplate ? FindDialogTemplate(m_nIDTemplate) : nullptr;
}

CWnd* CDialog::OwnerFor(CWnd* pParentWnd) const
{
    CWnd* pOwner = pParentWnd;
    if (!pOwner || !pOwner->m_hWnd)
        pOwner = AfxGetMainWnd();
    if (pOwner && !pOwner->m_hWnd)
        pOwner = nullptr;
    if (pOwner)
        pOwner = pOwner->GetTopLevelParent() ? pOwner->GetTopLevelParent() : pOwner;
    return pOwner;
}

// ---------------------------------------------------------------------------------------
// Building the window.
// ---------------------------------------------------------------------------------------
BOOL CDialog::CreateDialogWindow(const DialogTemplate& dialogTemplate, CWnd* pParentWnd, bool bModal)
{
    // Templates may name the common controls (rich edit, list, tree) by class name only.
    AfxRegisterCommonControlClasses();
    AfxRegisterControlClasses();
    RegisterDialogClass();
    if (m_hWnd)
        return FALSE;

    m_baseUnits = ::GetDialogBaseUnits(dialogTemplate);
    const int cxClient = DialogUnitsToPixelsX(dialogTemplate.cx, m_baseUnits);
    const int cyClient = DialogUnitsToPixelsY(dialogTemplate.cy, m_baseUnits);

    DWORD style = dialogTemplate.style & ~WS_VISIBLE;
    const bool child = (style & WS_CHILD) != 0;
    if (!child)
        style |= WS_POPUP;
    if (bModal)
        style &= ~WS_CHILD;
    CWnd* pOwner = child && !bModal ? pParentWnd : OwnerFor(pParentWnd);
    if (child && !bModal && (!pOwner || !pOwner->m_hWnd))
        return FALSE;

    const CString caption = dialogTemplate.caption;
    if (!CreateEx(dialogTemplate.exStyle, AFX_DIALOG_CLASS, caption, style, 0, 0, cxClient, cyClient,
                  pOwner ? pOwner->m_hWnd : nullptr, nullptr))
        return FALSE;

    // The client area is the template's size; the window grows by its border.
    CRect rcWindow(0, 0, cxClient, cyClient);
    CalcWindowRect(&rcWindow);
    QWidget* w = GetWidget();
    if (w && w->isWindow()) {
        Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
        if ((style & WS_CAPTION) == WS_CAPTION) {
            flags |= Qt::WindowTitleHint;
            if (style & WS_SYSMENU)
                flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        } else {
            flags |= Qt::FramelessWindowHint;
        }
        w->setWindowFlags(flags);
        if (bModal)
            w->setWindowModality(Qt::ApplicationModal);
    }
    MoveWindow(0, 0, rcWindow.Width(), rcWindow.Height(), FALSE);
    // That size is the contents' (the template's); a caption of the dialog's own comes on
    // top of it, unless the dialog is given a whole rectangle before it shows.
    AfxMarkWindowRectPlaced(w, false);
    if (w && w->isWindow() && !(style & WS_THICKFRAME))
        w->setFixedSize(w->size());

    // The dialog font: the template's, for the dialog and every control.
    const CString face =
        dialogTemplate.fontFace.IsEmpty() ? GetDefaultDialogFontFace() : dialogTemplate.fontFace;
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -MulDiv(dialogTemplate.pointSize > 0 ? dialogTemplate.pointSize : 9, 96, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    m_pFont = std::make_unique<CFont>();
    m_pFont->CreateFontIndirect(&lf);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(*m_pFont)), FALSE);
    if (w)
        w->setFont(AfxWidgetFontFromHandle(*m_pFont));

    CreateControls(dialogTemplate);
    if (!m_hWnd)
        return FALSE;
    if (!child)
        CenterWindow(pOwner);

    // WM_INITDIALOG: wParam is the control that gets the focus unless OnInitDialog sets it.
    CWnd* pFirst = GetNextDlgTabItem(nullptr);
    const HWND hWnd = m_hWnd;
    const LRESULT bFocus =
        SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(pFirst ? pFirst->m_hWnd : nullptr), 0);
    if (!m_hWnd || m_hWnd != hWnd)
        return FALSE;
    if (bFocus && !m_bEnded) {
        if (CWnd* pFocus = GetNextDlgTabItem(nullptr))
            GotoDlgCtrl(pFocus);
    }
    return TRUE;
}

void CDialog::CreateControls(const DialogTemplate& dialogTemplate)
{
    const HFONT hFont = m_pFont ? static_cast<HFONT>(*m_pFont) : nullptr;
    m_nDefID = 0;
    for (const DialogControl& control : dialogTemplate.controls) {
        const DWORD style = GetDialogControlStyle(control);
        const CRect rc = DialogUnitsToPixels(
            CRect(control.x, control.y, control.x + control.cx, control.y + control.cy), m_baseUnits);
        const CControlClass cls = ControlClassFor(control);
        const char* className = cls.className ? cls.className : control.className.c_str();
        std::unique_ptr<CWnd> pCtrl(cls.make());
        if (!pCtrl->CreateEx(control.exStyle, className, control.text, style, rc, this, control.nID)) {
            // A control of a class nobody made leaves a gap rather than no dialog.
            continue;
        }
        pCtrl->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        const bool button = control.kind == DlgPushButton || control.kind == DlgCheckBox ||
                            control.kind == DlgRadioButton || control.kind == DlgGroupBox;
        if (button && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && m_nDefID == 0)
            m_nDefID = control.nID;
        m_controls.push_back(std::move(pCtrl));
    }
    // A static with a mnemonic hands the focus to the next control that takes it.
    for (size_t i = 0; i < dialogTemplate.controls.size() && i < m_controls.size(); ++i) {
        const DialogControl& control = dialogTemplate.controls[i];
        if (control.kind != DlgStatic || (GetDialogControlStyle(control) & SS_NOPREFIX) ||
            !TextHasMnemonic(control.text))
            continue;
        for (size_t j = i + 1; j < m_controls.size(); ++j) {
            if (m_controls[j]->m_hWnd == nullptr && !m_controls[j]->GetSafeHwnd())
                continue;
            CWnd* pNext = CWnd::FromHandle(m_controls[j]->GetSafeHwnd());
            if (pNext && (pNext->GetStyle() & WS_TABSTOP)) {
                AfxSetStaticBuddy(m_controls[i]->GetSafeHwnd(), pNext->m_hWnd);
                break;
            }
        }
    }
}

void CDialog::ReleaseControls()
{
    m_controls.clear();
    m_pFont.reset();
}

// ---------------------------------------------------------------------------------------
// Modeless.
// ---------------------------------------------------------------------------------------
BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    m_nIDTemplate = nIDTemplate;
    m_nIDHelp = nIDTemplate;
    m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    const DialogTemplate* pTemplate = FindDialogTemplate(nIDTemplate);
    if (!pTemplate)
        return FALSE;
    m_bModal = false;
    m_bEnded = false;
    if (!CreateDialogWindow(*pTemplate, m_pParentWnd, false))
        return FALSE;
    if (pTemplate->style & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (!lpszTemplateName || !IS_INTRESOURCE(lpszTemplateName))
        return FALSE;
    return Create(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszTemplateName)), pParentWnd);
}

BOOL CDialog::CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* pParentWnd)
{
    m_pIndirect = std::make_unique<DialogTemplate>(dialogTemplate);
    m_nIDTemplate = dialogTemplate.nID;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = false;
    m_bEnded = false;
    if (!CreateDialogWindow(*m_pIndirect, m_pParentWnd, false))
        return FALSE;
    if (m_pIndirect->style & WS_VISIBLE)
        ShowWindow(SW_SHOW);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Modal.
// ---------------------------------------------------------------------------------------
BOOL CDialog::InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* pParentWnd)
{
    m_pIndirect = std::make_unique<DialogTemplate>(dialogTemplate);
    m_nIDTemplate = dialogTemplate.nID;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    const DialogTemplate* pTemplate = ResolveTemplate();
    if (!pTemplate || m_hWnd)
        return -1;
    m_bModal = true;
    m_bEnded = false;
    m_nModalResult = -1;
    // A modal dialog always gets the mouse.
    AfxReleaseCaptureForModal();

    // The owner takes no input while the dialog runs. Its widgets are left as they are
    // (the toolkit's modality keeps the input away); only the window's state says so, as
    // the system's owner windows do.
    CWnd* pOwner = OwnerFor(m_pParentWnd);
    const HWND hOwner = pOwner ? pOwner->m_hWnd : nullptr;
    bool bOwnerDisabled = false;
    if (CWndState* pOwnerState = AfxGetWndState(hOwner); pOwnerState && !(pOwnerState->style & WS_DISABLED)) {
        pOwnerState->style |= WS_DISABLED;
        bOwnerDisabled = true;
    }

    if (CreateDialogWindow(*pTemplate, m_pParentWnd, true) && !m_bEnded && m_hWnd) {
        if (CDialogAnswerer* pAnswerer = CDialogAnswerer::Current()) {
            ShowWindow(SW_SHOW);
            pAnswerer->RunDialog(*this);
        } else {
            ShowWindow(SW_SHOW);
            SetActiveWindow();
            QEventLoop loop;
            m_pLoop = &loop;
            if (!m_bEnded && m_hWnd)
                loop.exec(QEventLoop::DialogExec);
            m_pLoop = nullptr;
        }
    }

    if (m_hWnd) {
        ShowWindow(SW_HIDE);
        DestroyWindow();
    }
    ReleaseControls();
    m_bModal = false;
    if (bOwnerDisabled) {
        if (CWndState* pOwnerState = AfxGetWndState(hOwner))
            pOwnerState->style &= ~WS_DISABLED;
    }
    if (CWnd* pOwnerAgain = CWnd::FromHandle(hOwner); pOwnerAgain && pOwnerAgain->IsWindowVisible())
        pOwnerAgain->SetActiveWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_bModal) {
        m_bEnded = true;
        if (m_pLoop)
            m_pLoop->exit(nResult);
    } else if (m_hWnd) {
        ShowWindow(SW_HIDE);
    }
}

// ---------------------------------------------------------------------------------------
// Overridables.
// ---------------------------------------------------------------------------------------
LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnNcDestroy()
{
    // The window is going: a modal loop waiting for it ends, and the control objects the
    // template made (whose windows went first) go with it.
    if (m_pLoop) {
        m_bEnded = true;
        m_pLoop->exit(m_nModalResult);
    }
    ReleaseControls();
    CWnd::OnNcDestroy();
}

// ---------------------------------------------------------------------------------------
// Focus and the default button.
// ---------------------------------------------------------------------------------------
void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (!pWndCtrl || !pWndCtrl->m_hWnd)
        return;
    pWndCtrl->SetFocus();
    if (pWndCtrl->SendMessage(WM_GETDLGCODE) & DLGC_HASSETSEL)
        pWndCtrl->SendMessage(EM_SETSEL, 0, -1);
}

void CDialog::NextDlgCtrl() const
{
    CWnd* pNext = GetNextDlgTabItem(GetFocus(), FALSE);
    if (pNext)
        const_cast<CDialog*>(this)->GotoDlgCtrl(pNext);
}

void CDialog::PrevDlgCtrl() const
{
    CWnd* pPrev = GetNextDlgTabItem(GetFocus(), TRUE);
    if (pPrev)
        const_cast<CDialog*>(this)->GotoDlgCtrl(pPrev);
}

void CDialog::SetDefID(UINT nID)
{
    SendMessage(DM_SETDEFID, nID);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(const_cast<CDialog*>(this)->SendMessage(DM_GETDEFID));
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    if (lpRect)
        *lpRect = DialogUnitsToPixels(*lpRect, m_baseUnits);
}

// ---------------------------------------------------------------------------------------
// The dialog keys.
// ---------------------------------------------------------------------------------------
BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd || !pMsg || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    CWnd* pTarget = CWnd::FromHandle(pMsg->hwnd);
    if (pMsg->hwnd != m_hWnd && !IsChild(pTarget))
        return FALSE;
    return IsDialogMessage(pMsg);
}

BOOL CDialog::IsDialogMessage(LPMSG lpMsg)
{
    if (!lpMsg || !m_hWnd || lpMsg->message != WM_KEYDOWN)
        return FALSE;
    CWnd* pTarget = CWnd::FromHandle(lpMsg->hwnd);
    if (!pTarget)
        return FALSE;
    const UINT code = pTarget == this ? 0
                                      : static_cast<UINT>(pTarget->SendMessage(
                                            WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg)));
    if (code & DLGC_WANTALLKEYS)
        return FALSE;
    // An open drop-down list takes Enter, Esc and the arrows itself.
    if (CWndState* pState = AfxGetWndState(pTarget->m_hWnd);
        pState && pState->className.CompareNoCase("COMBOBOX") == 0 &&
        pTarget->SendMessage(CB_GETDROPPEDSTATE))
        return FALSE;

    switch (lpMsg->wParam) {
    case VK_RETURN: {
        UINT nID = 0;
        if (pTarget != this && IsPushButtonCode(code)) {
            nID = static_cast<UINT>(pTarget->GetDlgCtrlID());
        } else {
            const DWORD def = GetDefID();
            nID = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
        }
        CWnd* pButton = GetDlgItem(static_cast<int>(nID));
        if (pButton && (!pButton->IsWindowEnabled() || !pButton->IsWindowVisible())) {
            MessageBeep(0);
            return TRUE;
        }
        SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), BN_CLICKED),
                    reinterpret_cast<LPARAM>(pButton ? pButton->m_hWnd : nullptr));
        return TRUE;
    }
    case VK_ESCAPE: {
        CWnd* pCancel = GetDlgItem(IDCANCEL);
        if (pCancel && !pCancel->IsWindowEnabled()) {
            MessageBeep(0);
            return TRUE;
        }
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(pCancel ? pCancel->m_hWnd : nullptr));
        return TRUE;
    }
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT: {
        // The arrows move between the buttons of a group; an automatic radio button that
        // gets the focus this way is checked (and reports the click).
        if (pTarget == this || (code & DLGC_WANTARROWS) || !(code & (DLGC_BUTTON | DLGC_RADIOBUTTON)))
            return FALSE;
        const BOOL bPrevious = lpMsg->wParam == VK_UP || lpMsg->wParam == VK_LEFT;
        // Texts and frames in the group do not take the focus.
        CWnd* pNext = pTarget;
        UINT nextCode = 0;
        for (int guard = 0; guard < 256; ++guard) {
            pNext = GetNextDlgGroupItem(pNext, bPrevious);
            if (!pNext || pNext == pTarget)
                return TRUE;
            nextCode = static_cast<UINT>(pNext->SendMessage(WM_GETDLGCODE));
            if (!(nextCode & DLGC_STATIC))
                break;
        }
        GotoDlgCtrl(pNext);
        if ((nextCode & DLGC_RADIOBUTTON) && (pNext->GetStyle() & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
            !pNext->SendMessage(BM_GETCHECK))
            pNext->SendMessage(BM_CLICK);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
