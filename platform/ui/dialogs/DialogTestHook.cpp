#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/dialogs/MessageBoxUi.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/CDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

CDialogAnswerer* g_pCurrent = nullptr;

int FirstButtonOf(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}

QWidget* WidgetOf(CWnd& dlg, int nID)
{
    CWnd* pCtrl = dlg.GetDlgItem(nID);
    return pCtrl ? pCtrl->GetWidget() : nullptr;
}

} // namespace

CDialogAnswerer::CDialogAnswerer() : m_pPrevious(g_pCurrent)
{
    g_pCurrent = this;
    m_previousHandler = SetMessageBoxHandler([](const CString& text, UINT nType, UINT) {
        CDialogAnswerer* pCurrent = CDialogAnswerer::Current();
        CWnd* pOwner = nullptr;
        CString caption;
        if (!AfxTakeWindowMessageBox(pOwner, caption))
            caption = AfxGetAppName() ? AfxGetAppName() : "";
        return pCurrent ? pCurrent->RunMessageBox(text, caption, nType) : FirstButtonOf(nType);
    });
}

CDialogAnswerer::~CDialogAnswerer()
{
    SetMessageBoxHandler(std::move(m_previousHandler));
    if (g_pCurrent == this)
        g_pCurrent = m_pPrevious;
}

CDialogAnswerer* CDialogAnswerer::Current()
{
    return g_pCurrent;
}

void CDialogAnswerer::AnswerDialog(UINT nIDTemplate, DialogAction action)
{
    m_dialogAnswers[nIDTemplate].push_back(std::move(action));
}

void CDialogAnswerer::AlwaysAnswerDialog(UINT nIDTemplate, DialogAction action)
{
    m_dialogDefaults[nIDTemplate] = std::move(action);
}

void CDialogAnswerer::EndDialogWith(UINT nIDTemplate, int nResult)
{
    AnswerDialog(nIDTemplate, [nResult](CDialog& dlg) { dlg.EndDialog(nResult); });
}

void CDialogAnswerer::AnswerMessageBox(const CString& text, int nResult)
{
    m_messageAnswers.emplace_back(text, nResult);
}

void CDialogAnswerer::AnswerNextMessageBox(int nResult)
{
    m_nextMessageAnswers.push_back(nResult);
}

void CDialogAnswerer::AnswerFileDialog(const CString& path)
{
    m_fileAnswers.push_back([path](CFileDialog&, CString& chosen) {
        if (path.IsEmpty())
            return FALSE;
        chosen = path;
        return TRUE;
    });
}

void CDialogAnswerer::AnswerFileDialog(std::function<BOOL(CFileDialog& dlg, CString& path)> answer)
{
    m_fileAnswers.push_back(std::move(answer));
}

void CDialogAnswerer::AnswerColorDialog(COLORREF color)
{
    m_colorAnswers.push_back(CColorAnswer{false, color});
}

void CDialogAnswerer::AnswerFontDialog(const LOGFONT& font, COLORREF color)
{
    m_fontAnswers.push_back(CFontAnswer{false, font, color});
}

void CDialogAnswerer::CancelNextCommonDialog()
{
    ++m_nCancelCommon;
}

std::vector<CString> CDialogAnswerer::MessageBoxTexts() const
{
    std::vector<CString> texts;
    for (const CShown& s : m_shown) {
        if (s.kind == ShownMessageBox)
            texts.push_back(s.text);
    }
    return texts;
}

std::vector<UINT> CDialogAnswerer::DialogIds() const
{
    std::vector<UINT> ids;
    for (const CShown& s : m_shown) {
        if (s.kind == ShownDialog)
            ids.push_back(s.nID);
    }
    return ids;
}

int CDialogAnswerer::CountUnanswered() const
{
    int n = 0;
    for (const CShown& s : m_shown) {
        if (!s.answered)
            ++n;
    }
    return n;
}

BOOL CDialogAnswerer::RunDialog(CDialog& dlg)
{
    // The entry is made first so that dialogs the answer opens come after it.
    const size_t slot = m_shown.size();
    CShown shown;
    shown.kind = ShownDialog;
    shown.nID = dlg.GetTemplateID();
    dlg.GetWindowText(shown.caption);
    m_shown.push_back(shown);

    DialogAction action;
    auto queued = m_dialogAnswers.find(shown.nID);
    if (queued != m_dialogAnswers.end() && !queued->second.empty()) {
        action = std::move(queued->second.front());
        queued->second.pop_front();
    } else if (auto always = m_dialogDefaults.find(shown.nID); always != m_dialogDefaults.end()) {
        action = always->second;
    }
    bool answered = false;
    if (action) {
        action(dlg);
        answered = true;
    }
    // Nothing waits for a person: a dialog still open is cancelled.
    if (dlg.IsModalRunning()) {
        answered = false;
        dlg.EndDialog(IDCANCEL);
    }
    m_shown[slot].answered = answered;
    m_shown[slot].nResult = dlg.GetModalResult();
    return TRUE;
}

int CDialogAnswerer::RunMessageBox(const CString& text, const CString& caption, UINT nType)
{
    // What the box does before it shows, the answered box does too.
    AfxReleaseCaptureForModal();
    CShown shown;
    shown.kind = ShownMessageBox;
    shown.text = text;
    shown.caption = caption;
    shown.nType = nType;
    for (auto it = m_messageAnswers.begin(); it != m_messageAnswers.end(); ++it) {
        if (it->first == text) {
            shown.nResult = it->second;
            shown.answered = true;
            m_messageAnswers.erase(it);
            break;
        }
    }
    if (!shown.answered && !m_nextMessageAnswers.empty()) {
        shown.nResult = m_nextMessageAnswers.front();
        m_nextMessageAnswers.pop_front();
        shown.answered = true;
    }
    if (!shown.answered)
        shown.nResult = m_nDefaultMessageBox != 0 ? m_nDefaultMessageBox : FirstButtonOf(nType);
    m_shown.push_back(shown);
    return shown.nResult;
}

BOOL CDialogAnswerer::RunFileDialog(CFileDialog& dlg, CString& path)
{
    CShown shown;
    shown.kind = ShownFileDialog;
    BOOL bOK = FALSE;
    if (m_nCancelCommon > 0) {
        --m_nCancelCommon;
        shown.answered = true;
    } else if (!m_fileAnswers.empty()) {
        auto answer = std::move(m_fileAnswers.front());
        m_fileAnswers.pop_front();
        bOK = answer(dlg, path);
        shown.answered = true;
    }
    shown.text = bOK ? path : CString();
    shown.nResult = bOK ? IDOK : IDCANCEL;
    m_shown.push_back(shown);
    return bOK;
}

BOOL CDialogAnswerer::RunColorDialog(CColorDialog&, COLORREF& color)
{
    CShown shown;
    shown.kind = ShownColorDialog;
    BOOL bOK = FALSE;
    if (m_nCancelCommon > 0) {
        --m_nCancelCommon;
        shown.answered = true;
    } else if (!m_colorAnswers.empty()) {
        const CColorAnswer answer = m_colorAnswers.front();
        m_colorAnswers.pop_front();
        shown.answered = true;
        if (!answer.cancel) {
            color = answer.color;
            bOK = TRUE;
        }
    }
    shown.nResult = bOK ? IDOK : IDCANCEL;
    m_shown.push_back(shown);
    return bOK;
}

BOOL CDialogAnswerer::RunFontDialog(CFontDialog&, LOGFONT& font, COLORREF& color)
{
    CShown shown;
    shown.kind = ShownFontDialog;
    BOOL bOK = FALSE;
    if (m_nCancelCommon > 0) {
        --m_nCancelCommon;
        shown.answered = true;
    } else if (!m_fontAnswers.empty()) {
        const CFontAnswer answer = m_fontAnswers.front();
        m_fontAnswers.pop_front();
        shown.answered = true;
        if (!answer.cancel) {
            font = answer.font;
            color = answer.color;
            bOK = TRUE;
        }
    }
    shown.nResult = bOK ? IDOK : IDCANCEL;
    m_shown.push_back(shown);
    return bOK;
}

// ---------------------------------------------------------------------------------------
// What a user does.
// ---------------------------------------------------------------------------------------
BOOL ClickDlgButton(CWnd& dlg, int nID)
{
    CWnd* pCtrl = dlg.GetDlgItem(nID);
    if (!pCtrl || !pCtrl->IsWindowEnabled())
        return FALSE;
    if (qobject_cast<QAbstractButton*>(pCtrl->GetWidget())) {
        pCtrl->SendMessage(BM_CLICK);
        return TRUE;
    }
    // Not a button of ours: tell the parent as a button would.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), BN_CLICKED),
                    reinterpret_cast<LPARAM>(pCtrl->m_hWnd));
    return TRUE;
}

BOOL TypeDlgItemText(CWnd& dlg, int nID, const CString& text)
{
    CWnd* pCtrl = dlg.GetDlgItem(nID);
    QWidget* w = WidgetOf(dlg, nID);
    if (!pCtrl || !w || !pCtrl->IsWindowEnabled())
        return FALSE;
    QString q = AfxCp932ToQString(text);
    if (auto* pCombo = qobject_cast<QComboBox*>(w))
        w = pCombo->lineEdit();
    if (auto* pLine = qobject_cast<QLineEdit*>(w)) {
        if (pLine->isReadOnly())
            return FALSE;
        pLine->selectAll();
        pLine->insert(q);
        return TRUE;
    }
    if (auto* pText = qobject_cast<QPlainTextEdit*>(w)) {
        if (pText->isReadOnly())
            return FALSE;
        q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        pText->selectAll();
        pText->insertPlainText(q);
        return TRUE;
    }
    return FALSE;
}

BOOL SelectDlgItem(CWnd& dlg, int nID, int nIndex)
{
    CWnd* pCtrl = dlg.GetDlgItem(nID);
    QWidget* w = WidgetOf(dlg, nID);
    if (!pCtrl || !w || !pCtrl->IsWindowEnabled())
        return FALSE;
    if (auto* pCombo = qobject_cast<QComboBox*>(w)) {
        if (nIndex < 0 || nIndex >= pCombo->count())
            return FALSE;
        pCombo->setCurrentIndex(nIndex);
        return TRUE;
    }
    if (auto* pList = qobject_cast<QListWidget*>(w)) {
        if (nIndex < 0 || nIndex >= pList->count())
            return FALSE;
        if (pList->selectionMode() == QAbstractItemView::MultiSelection) {
            QListWidgetItem* pItem = pList->item(nIndex);
            pItem->setSelected(!pItem->isSelected());
        } else {
            pList->setCurrentRow(nIndex, QItemSelectionModel::ClearAndSelect);
        }
        return TRUE;
    }
    return FALSE;
}

BOOL DoubleClickDlgItem(CWnd& dlg, int nID, int nIndex)
{
    QWidget* w = WidgetOf(dlg, nID);
    auto* pList = qobject_cast<QListWidget*>(w);
    if (!pList || nIndex < 0 || nIndex >= pList->count())
        return FALSE;
    if (!SelectDlgItem(dlg, nID, nIndex))
        return FALSE;
    emit pList->itemDoubleClicked(pList->item(nIndex));
    return TRUE;
}

void PressDlgKey(CWnd& dlg, UINT nVirtKey)
{
    if (!dlg.m_hWnd)
        return;
    CWnd* pFocus = CWnd::GetFocus();
    if (!pFocus || (pFocus != &dlg && !dlg.IsChild(pFocus)))
        pFocus = &dlg;
    MSG msg{pFocus->m_hWnd, WM_KEYDOWN, nVirtKey, 1, 0, POINT{0, 0}};
    if (CWnd::WalkPreTranslateTree(dlg.m_hWnd, &msg))
        return;
    // Not a dialog key: the control with the focus handles it.
    pFocus->SendMessage(WM_KEYDOWN, nVirtKey, 1);
}
