#include "estimate_tools/CPickDialogs.h"

#include "app/CMorvelApp.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/WinApi.h"
#include "resources/EstimateCommandIds.h"

namespace {

// The unit column of the subject lists, every level alike; it grows where a unit or its
// heading needs more, so that no unit is cut.
constexpr int kUnitColumnWidth = 50;

void SendToOwner(HWND hOwner, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (hOwner != nullptr && ::IsWindow(hOwner))
        ::SendMessage(hOwner, nMessage, wParam, lParam);
}

int SelectedItem(const CListCtrl& list)
{
    return list.GetNextItem(-1, LVNI_SELECTED);
}

void SelectItem(CListCtrl& list, int nItem)
{
    list.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.EnsureVisible(nItem, FALSE);
}

bool AskDelete(CWnd& dlg, const char* lpszCaption)
{
    return dlg.MessageBox("実行してもよいですか？"_sj, CString::FromUtf8(lpszCaption),
                          MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Name and unit

CNameUnitDialog::CNameUnitDialog(const CString& strTitle, int nMode, CWnd* pParent)
    : CDialog(IDD_NAME_UNIT, pParent), m_strTitle(strTitle), m_nMode(nMode)
{
    RegisterEstimateCommandDialogs();
}

BOOL CNameUnitDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    SetDlgItemText(IDC_ROW_TEXT, m_strName);
    SetDlgItemText(IDC_ROW_UNIT, m_strUnit);
    if (m_nMode == 4) {
        GetDlgItem(IDC_NAME_LABEL)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_ROW_TEXT)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_ROW_UNIT)->SetFocus();
        return FALSE;
    }
    return TRUE;
}

void CNameUnitDialog::OnOK()
{
    GetDlgItemText(IDC_ROW_TEXT, m_strName);
    GetDlgItemText(IDC_ROW_UNIT, m_strUnit);
    CDialog::OnOK();
}

// ---------------------------------------------------------------------------------------
// Subjects

CPickListFlags& CPickListFlags::Get()
{
    static CPickListFlags flags;
    return flags;
}

BEGIN_MESSAGE_MAP(CSubjectPickDialog, CDialog)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_PICK_LIST, OnItemChanged)
ON_NOTIFY(NM_DBLCLK, IDC_PICK_LIST, OnDoubleClick)
ON_BN_CLICKED(IDC_PICK_CLOSE_AFTER, OnCloseAfter)
ON_BN_CLICKED(IDC_PICK_ADD, OnAdd)
ON_BN_CLICKED(IDC_PICK_CHANGE, OnChange)
ON_BN_CLICKED(IDC_PICK_DELETE, OnDelete)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSubjectPickDialog::CSubjectPickDialog(int nMode, CWnd* pOwner, CSubjectFile& subjects)
    : CDialog(IDD_SUBJECT_PICK, pOwner), m_nMode(nMode < 1 || nMode > 3 ? 1 : nMode),
      m_hOwner(pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr), m_subjects(subjects)
{
    RegisterEstimateCommandDialogs();
}

BOOL CSubjectPickDialog::Create()
{
    // A modeless window shows itself: its template does not.
    if (!CDialog::Create(IDD_SUBJECT_PICK, CWnd::FromHandle(m_hOwner)))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

CString CSubjectPickDialog::EntryTitle() const
{
    static const char* const titles[] = {"大科目入力", "中科目入力", "小科目入力"};
    return CString::FromUtf8(titles[Level()]);
}

void CSubjectPickDialog::FillList()
{
    m_list.DeleteAllItems();
    for (int i = 0; i < m_subjects.GetCount(Level()); ++i) {
        m_list.InsertItem(i, m_subjects.GetName(Level(), i));
        m_list.SetItemText(i, 1, m_subjects.GetUnit(Level(), i));
    }
    if (m_list.GetItemCount() > 0)
        SelectItem(m_list, 0);
    m_list.FitColumnToTexts(1, kUnitColumnWidth);
}

bool CSubjectPickDialog::IsListCurrent(int nItem)
{
    // Another list (of another estimate window) may have changed the master meanwhile: the
    // row chosen must still be the master entry of the same index.
    if (m_list.GetItemCount() == m_subjects.GetCount(Level()) && nItem >= 0 &&
        nItem < m_subjects.GetCount(Level()) &&
        m_list.GetItemText(nItem, 0) == m_subjects.GetName(Level(), nItem) &&
        m_list.GetItemText(nItem, 1) == m_subjects.GetUnit(Level(), nItem))
        return true;
    FillList();
    UpdateButtons();
    MessageBeep(0);
    return false;
}

BOOL CSubjectPickDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    static const char* const headings[] = {"大科目", "中科目", "小科目"};
    static const char* const titles[] = {"大科目選択", "中科目選択", "小科目選択"};
    m_list.SubclassDlgItem(IDC_PICK_LIST, this);
    m_list.InsertColumn(0, CString::FromUtf8(headings[Level()]), LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, "単位"_sj, LVCFMT_LEFT, kUnitColumnWidth);
    FillList();
    SetWindowText(CString::FromUtf8(titles[Level()]));
    m_nCloseAfter = CPickListFlags::Get().nCloseAfterChoice[Level()];
    CheckDlgButton(IDC_PICK_CLOSE_AFTER, m_nCloseAfter != 0 ? BST_CHECKED : BST_UNCHECKED);
    UpdateButtons();
    return TRUE;
}

void CSubjectPickDialog::UpdateButtons()
{
    const BOOL bSelected = SelectedItem(m_list) >= 0;
    for (UINT nID : {IDC_PICK_CHANGE, IDC_PICK_DELETE, static_cast<UINT>(IDOK)}) {
        if (CWnd* pButton = GetDlgItem(static_cast<int>(nID)))
            pButton->EnableWindow(bSelected);
    }
}

void CSubjectPickDialog::OnItemChanged(NMHDR*, LRESULT* pResult)
{
    UpdateButtons();
    *pResult = 0;
}

void CSubjectPickDialog::OnDoubleClick(NMHDR*, LRESULT* pResult)
{
    OnOK();
    *pResult = 0;
}

void CSubjectPickDialog::OnOK()
{
    const int nItem = SelectedItem(m_list);
    if (nItem >= 0) {
        m_strName = m_list.GetItemText(nItem, 0);
        m_strUnit = m_list.GetItemText(nItem, 1);
        const CString picked = m_strName + "/" + m_strUnit;
        static const UINT messages[] = {WM_PICK_LARGE_SUBJECT, WM_PICK_MIDDLE_SUBJECT, WM_PICK_SMALL_SUBJECT};
        SendToOwner(m_hOwner, messages[Level()], 0, reinterpret_cast<LPARAM>(&picked));
        if (m_hWnd != nullptr)
            SetFocus();
    }
    if (m_nCloseAfter != 0 && m_hWnd != nullptr)
        DestroyWindow();
}

void CSubjectPickDialog::OnCancel()
{
    DestroyWindow();
}

void CSubjectPickDialog::OnCloseAfter()
{
    m_nCloseAfter = m_nCloseAfter != 0 ? 0 : 1;
    CPickListFlags::Get().nCloseAfterChoice[Level()] = m_nCloseAfter;
}

void CSubjectPickDialog::OnAdd()
{
    CNameUnitDialog dlg(EntryTitle(), 0, this);
    if (dlg.DoModal() == IDOK && m_subjects.AddSubject(Level(), dlg.m_strName, dlg.m_strUnit)) {
        const int nItem = m_list.GetItemCount();
        m_list.InsertItem(nItem, dlg.m_strName);
        m_list.SetItemText(nItem, 1, dlg.m_strUnit);
        m_list.FitColumnToTexts(1, kUnitColumnWidth);
    }
    SetFocus();
}

void CSubjectPickDialog::OnChange()
{
    const int nItem = SelectedItem(m_list);
    if (nItem < 0 || !IsListCurrent(nItem))
        return;
    CNameUnitDialog dlg(EntryTitle(), 0, this);
    dlg.m_strName = m_list.GetItemText(nItem, 0);
    dlg.m_strUnit = m_subjects.GetUnit(Level(), nItem);
    if (dlg.DoModal() == IDOK && m_subjects.ChangeSubject(Level(), nItem, dlg.m_strName, dlg.m_strUnit)) {
        m_list.SetItemText(nItem, 0, dlg.m_strName);
        m_list.SetItemText(nItem, 1, dlg.m_strUnit);
        m_list.FitColumnToTexts(1, kUnitColumnWidth);
    }
    SetFocus();
}

void CSubjectPickDialog::OnDelete()
{
    const int nItem = SelectedItem(m_list);
    if (nItem < 0 || !IsListCurrent(nItem) || !AskDelete(*this, "科目削除"))
        return;
    if (m_subjects.DeleteSubject(Level(), nItem))
        m_list.DeleteItem(nItem);
    UpdateButtons();
}

void CSubjectPickDialog::OnDestroy()
{
    // The owner forgets this list however it closes (a choice, Cancel, the close box).
    SendToOwner(m_hOwner, WM_MODELESS_CLOSED, static_cast<WPARAM>(m_nMode), 0);
    CDialog::OnDestroy();
}

void CSubjectPickDialog::PostNcDestroy()
{
    delete this;
}

// ---------------------------------------------------------------------------------------
// Units

BEGIN_MESSAGE_MAP(CUnitPickDialog, CDialog)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_PICK_LIST, OnItemChanged)
ON_NOTIFY(NM_DBLCLK, IDC_PICK_LIST, OnDoubleClick)
ON_BN_CLICKED(IDC_PICK_ADD, OnAdd)
ON_BN_CLICKED(IDC_PICK_CHANGE, OnChange)
ON_BN_CLICKED(IDC_PICK_DELETE, OnDelete)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CUnitPickDialog::CUnitPickDialog(const CString& strCellText, CWnd* pOwner, CUnitFile& units)
    : CDialog(IDD_UNIT_PICK, pOwner), m_hOwner(pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr),
      m_units(units), m_strCellText(strCellText)
{
    RegisterEstimateCommandDialogs();
}

BOOL CUnitPickDialog::Create()
{
    // A modeless window shows itself: its template does not.
    if (!CDialog::Create(IDD_UNIT_PICK, CWnd::FromHandle(m_hOwner)))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CUnitPickDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_PICK_LIST, this);
    m_list.InsertColumn(0, "単位"_sj, LVCFMT_LEFT, 100);
    int nSelect = -1;
    for (int i = 0; i < m_units.GetCount(); ++i) {
        m_list.InsertItem(i, m_units.GetUnit(i));
        if (nSelect < 0 && m_units.GetUnit(i) == m_strCellText)
            nSelect = i;
    }
    if (nSelect >= 0)
        SelectItem(m_list, nSelect);
    SetWindowText("単位選択"_sj);
    UpdateButtons();
    m_list.SetFocus();
    return FALSE;
}

void CUnitPickDialog::UpdateButtons()
{
    const BOOL bSelected = SelectedItem(m_list) >= 0;
    for (UINT nID : {IDC_PICK_CHANGE, IDC_PICK_DELETE}) {
        if (CWnd* pButton = GetDlgItem(static_cast<int>(nID)))
            pButton->EnableWindow(bSelected);
    }
}

void CUnitPickDialog::OnItemChanged(NMHDR*, LRESULT* pResult)
{
    UpdateButtons();
    *pResult = 0;
}

void CUnitPickDialog::OnDoubleClick(NMHDR*, LRESULT* pResult)
{
    OnOK();
    *pResult = 0;
}

void CUnitPickDialog::Answer(const CString* pUnit)
{
    // Answered once: the window goes right after, and its closing sends nothing more.
    const HWND hOwner = m_hOwner;
    m_hOwner = nullptr;
    SendToOwner(hOwner, WM_MODELESS_CLOSED, MODELESS_UNIT_PICK, 0);
    SendToOwner(hOwner, WM_PICK_UNIT, 0, reinterpret_cast<LPARAM>(pUnit));
    DestroyWindow();
}

void CUnitPickDialog::OnOK()
{
    const int nItem = SelectedItem(m_list);
    if (nItem < 0) {
        Answer(nullptr);
        return;
    }
    m_strUnit = m_list.GetItemText(nItem, 0);
    const CString unit = m_strUnit;
    Answer(&unit);
}

void CUnitPickDialog::OnCancel()
{
    Answer(nullptr);
}

void CUnitPickDialog::OnAdd()
{
    CNameUnitDialog dlg("単位入力"_sj, 4, this);
    if (dlg.DoModal() == IDOK && m_units.AddUnit(dlg.m_strUnit))
        m_list.InsertItem(m_list.GetItemCount(), dlg.m_strUnit);
    SetFocus();
}

bool CUnitPickDialog::IsListCurrent(int nItem)
{
    if (m_list.GetItemCount() == m_units.GetCount() && nItem >= 0 && nItem < m_units.GetCount() &&
        m_list.GetItemText(nItem, 0) == m_units.GetUnit(nItem))
        return true;
    m_list.DeleteAllItems();
    for (int i = 0; i < m_units.GetCount(); ++i)
        m_list.InsertItem(i, m_units.GetUnit(i));
    UpdateButtons();
    MessageBeep(0);
    return false;
}

void CUnitPickDialog::OnChange()
{
    const int nItem = SelectedItem(m_list);
    if (nItem < 0 || !IsListCurrent(nItem))
        return;
    CNameUnitDialog dlg("単位入力"_sj, 4, this);
    dlg.m_strUnit = m_list.GetItemText(nItem, 0);
    if (dlg.DoModal() == IDOK && m_units.ChangeUnit(nItem, dlg.m_strUnit))
        m_list.SetItemText(nItem, 0, dlg.m_strUnit);
    SetFocus();
}

void CUnitPickDialog::OnDelete()
{
    const int nItem = SelectedItem(m_list);
    if (nItem < 0 || !IsListCurrent(nItem) || !AskDelete(*this, "単位削除"))
        return;
    if (m_units.DeleteUnit(nItem))
        m_list.DeleteItem(nItem);
    UpdateButtons();
}

void CUnitPickDialog::OnDestroy()
{
    // Closed without an answer (the owner went, or the window was closed from outside).
    const HWND hOwner = m_hOwner;
    m_hOwner = nullptr;
    SendToOwner(hOwner, WM_MODELESS_CLOSED, MODELESS_UNIT_PICK, 0);
    CDialog::OnDestroy();
}

void CUnitPickDialog::PostNcDestroy()
{
    delete this;
}

CUnitPickDialog* OpenUnitPickDialog(CWnd* pOwner, const CString& strCellText)
{
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    if (pApp == nullptr)
        return nullptr;
    auto* pDlg = new CUnitPickDialog(strCellText, pOwner, pApp->m_unitFile);
    if (!pDlg->Create()) {
        delete pDlg;
        return nullptr;
    }
    return pDlg;
}
