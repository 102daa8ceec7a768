#include "estimate_tools/CFindReplaceDialogs.h"

#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CEdit.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/EstimateEditIds.h"

namespace {

// The texts travel as at most MAX_FINDREPLACE_TEXT bytes (never half a character).
CString DialogText(CDialog& dialog, UINT nID)
{
    CString text;
    dialog.GetDlgItemText(nID, text);
    return LimitFindReplaceText(text);
}

void LimitEdit(CDialog& dialog, UINT nID)
{
    if (auto* pEdit = static_cast<CEdit*>(dialog.GetDlgItem(nID)))
        pEdit->LimitText(MAX_FINDREPLACE_TEXT);
}

void ShowNotFound()
{
    AfxMessageBox("検索項目が見つかりません。"_sj, MB_OK);
}

} // namespace

// ---------------------------------------------------------------------------------------
// What both share

BEGIN_MESSAGE_MAP(CFindReplaceBase, CDialog)
ON_BN_CLICKED(IDC_FIND_WHOLE_WORD, OnWholeWord)
ON_BN_CLICKED(IDC_FIND_MATCH_CASE, OnMatchCase)
ON_BN_CLICKED(IDC_FIND_SELECTION, OnSelectionOnly)
END_MESSAGE_MAP()

CFindReplaceBase::CFindReplaceBase(UINT nIDTemplate, CWnd* pOwner, WPARAM nModeless)
    : CDialog(nIDTemplate, pOwner), m_pOwner(pOwner), m_nModeless(nModeless)
{
    RegisterEstimateEditDialogs();
}

void CFindReplaceBase::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_FIND_WHOLE_WORD, m_bWholeWord);
    DDX_Check(pDX, IDC_FIND_MATCH_CASE, m_bMatchCase);
    DDX_Text(pDX, IDC_FIND_TEXT, m_strFind);
    DDX_Check(pDX, IDC_FIND_SELECTION, m_bSelectionOnly);
}

WPARAM CFindReplaceBase::OptionBits() const
{
    WPARAM bits = 0;
    if (m_bWholeWord)
        bits |= FRQ_WHOLE_WORD;
    if (m_bMatchCase)
        bits |= FRQ_MATCH_CASE;
    if (m_bSelectionOnly)
        bits |= FRQ_SELECTION_ONLY;
    return bits;
}

void CFindReplaceBase::OnWholeWord()
{
    m_bWholeWord = !m_bWholeWord;
}

void CFindReplaceBase::OnMatchCase()
{
    m_bMatchCase = !m_bMatchCase;
}

void CFindReplaceBase::OnSelectionOnly()
{
    m_bSelectionOnly = !m_bSelectionOnly;
}

LRESULT CFindReplaceBase::FindNext(WPARAM bits)
{
    m_strFind = DialogText(*this, IDC_FIND_TEXT);
    LRESULT found = 0;
    if (!m_strFind.IsEmpty() && m_pOwner != nullptr)
        found =
            m_pOwner->SendMessage(WM_FINDREPLACE_REQUEST, bits, reinterpret_cast<LPARAM>(m_strFind.c_str()));
    if (found == 0)
        ShowNotFound();
    if (m_hWnd != nullptr)
        SetFocus();
    return found;
}

void CFindReplaceBase::OnCancel()
{
    DestroyWindow();
}

void CFindReplaceBase::PostNcDestroy()
{
    if (m_pOwner != nullptr && m_pOwner->m_hWnd != nullptr)
        m_pOwner->SendMessage(WM_MODELESS_CLOSED, m_nModeless, 0);
    delete this;
}

// ---------------------------------------------------------------------------------------
// 検索

BEGIN_MESSAGE_MAP(CFindDialog, CFindReplaceBase)
ON_EN_CHANGE(IDC_FIND_TEXT, OnChangeFindText)
ON_BN_CLICKED(IDC_FIND_UP, OnSearchUp)
ON_BN_CLICKED(IDC_FIND_DOWN, OnSearchDown)
ON_BN_CLICKED(IDC_FIND_NEXT, OnFindNext)
END_MESSAGE_MAP()

CFindDialog::CFindDialog(CWnd* pOwner) : CFindReplaceBase(IDD_FIND, pOwner, MODELESS_FIND) {}

BOOL CFindDialog::Create()
{
    return CDialog::Create(IDD_FIND, m_pOwner);
}

BOOL CFindDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    LimitEdit(*this, IDC_FIND_TEXT);
    CheckRadioButton(IDC_FIND_UP, IDC_FIND_DOWN, IDC_FIND_DOWN);
    if (CWnd* pNext = GetDlgItem(IDC_FIND_NEXT))
        pNext->EnableWindow(!m_strFind.IsEmpty());
    return TRUE;
}

WPARAM CFindDialog::GetRequestBits() const
{
    WPARAM bits = OptionBits();
    // Downward wins when both directions are set.
    if (m_bSearchDown)
        bits |= FRQ_DOWN;
    else if (m_bSearchUp)
        bits |= FRQ_UP;
    return bits;
}

void CFindDialog::OnChangeFindText()
{
    CString text;
    GetDlgItemText(IDC_FIND_TEXT, text);
    if (CWnd* pNext = GetDlgItem(IDC_FIND_NEXT))
        pNext->EnableWindow(!text.IsEmpty());
}

void CFindDialog::OnSearchUp()
{
    m_bSearchUp = 1;
    m_bSearchDown = 0;
}

void CFindDialog::OnSearchDown()
{
    m_bSearchUp = 0;
    m_bSearchDown = 1;
}

void CFindDialog::OnFindNext()
{
    // An empty text finds nothing (the button is disabled then; Enter still reaches here).
    FindNext(GetRequestBits());
}

void CFindDialog::OnOK()
{
    CWnd* pNext = GetDlgItem(IDC_FIND_NEXT);
    if (pNext != nullptr && pNext->IsWindowEnabled())
        OnFindNext();
}

// ---------------------------------------------------------------------------------------
// 置換

BEGIN_MESSAGE_MAP(CReplaceDialog, CFindReplaceBase)
ON_BN_CLICKED(IDC_FIND_NEXT, OnFindNext)
ON_BN_CLICKED(IDC_REPLACE_ONE, OnReplace)
ON_BN_CLICKED(IDC_REPLACE_ALL, OnReplaceAll)
END_MESSAGE_MAP()

CReplaceDialog::CReplaceDialog(CWnd* pOwner) : CFindReplaceBase(IDD_REPLACE, pOwner, MODELESS_REPLACE) {}

BOOL CReplaceDialog::Create()
{
    if (!CDialog::Create(IDD_REPLACE, m_pOwner))
        return FALSE;
    LimitEdit(*this, IDC_FIND_TEXT);
    LimitEdit(*this, IDC_REPLACE_TEXT);
    return TRUE;
}

void CReplaceDialog::DoDataExchange(CDataExchange* pDX)
{
    CFindReplaceBase::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_REPLACE_TEXT, m_strReplace);
}

void CReplaceDialog::OnFindNext()
{
    m_bFound = FindNext(OptionBits() | FRQ_DOWN) != 0 ? 1 : 0;
}

void CReplaceDialog::OnReplace()
{
    const bool bOnMatch = !m_stillOnMatch || m_stillOnMatch();
    if (m_bFound == 1 && bOnMatch && m_pOwner != nullptr) {
        m_strReplace = DialogText(*this, IDC_REPLACE_TEXT);
        if (m_pOwner->SendMessage(WM_FINDREPLACE_REQUEST, FRQ_REPLACE,
                                  reinterpret_cast<LPARAM>(m_strReplace.c_str())) == 0)
            return;
    }
    OnFindNext();
}

void CReplaceDialog::OnReplaceAll()
{
    m_strFind = DialogText(*this, IDC_FIND_TEXT);
    m_strReplace = DialogText(*this, IDC_REPLACE_TEXT);
    // An empty search text would match everywhere and nowhere: nothing is asked.
    if (m_strFind.IsEmpty() || m_pOwner == nullptr)
        return;
    std::vector<char> block = PackReplaceAllText(m_strFind, m_strReplace);
    m_pOwner->SendMessage(WM_FINDREPLACE_REQUEST, OptionBits() | FRQ_REPLACE_ALL,
                          reinterpret_cast<LPARAM>(block.data()));
    if (m_hWnd != nullptr)
        SetFocus();
}

void CReplaceDialog::OnOK()
{
    OnFindNext();
}
