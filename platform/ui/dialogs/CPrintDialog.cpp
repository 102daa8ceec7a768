#include "platform/ui/dialogs/CPrintDialog.h"

#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/TypedNumber.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/dialogs/DialogTemplate.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CPrintDialog, CDialog)

BEGIN_MESSAGE_MAP(CPrintDialog, CDialog)
ON_CBN_SELCHANGE(CPrintDialog::IDC_PRINTER, OnPrinterChanged)
ON_BN_CLICKED(CPrintDialog::IDC_ALL_PAGES, OnRangeClicked)
ON_BN_CLICKED(CPrintDialog::IDC_PAGE_RANGE, OnRangeClicked)
ON_BN_CLICKED(CPrintDialog::IDC_SETUP, OnSetup)
END_MESSAGE_MAP()

namespace {

DialogTemplate MakePrintTemplate()
{
    DialogTemplate t;
    t.nID = AFX_IDD_PRINTDLG;
    t.caption = "印刷"_sj;
    t.cx = 250;
    t.cy = 132;
    t.controls = {
        {DlgStatic, IDC_STATIC, "ﾌﾟﾘﾝﾀ名(&N):"_sj, 7, 9, 56, 8},
        {DlgComboBox, CPrintDialog::IDC_PRINTER, CString(), 66, 7, 120, 100,
         CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {DlgPushButton, CPrintDialog::IDC_SETUP, "設定(&S)..."_sj, 193, 6, 50, 14, WS_TABSTOP},
        {DlgStatic, IDC_STATIC, "出力ﾌｧｲﾙ(&F):"_sj, 7, 27, 56, 8},
        {DlgEdit, CPrintDialog::IDC_OUTPUT_FILE, CString(), 66, 25, 177, 12,
         ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {DlgGroupBox, IDC_STATIC, "印刷範囲"_sj, 7, 44, 150, 60},
        {DlgRadioButton, CPrintDialog::IDC_ALL_PAGES, "すべて(&A)"_sj, 14, 56, 60, 10, WS_GROUP | WS_TABSTOP},
        {DlgRadioButton, CPrintDialog::IDC_PAGE_RANGE, "ﾍﾟｰｼﾞ指定(&G)"_sj, 14, 72, 60, 10},
        {DlgStatic, IDC_STATIC, "開始:"_sj, 22, 88, 20, 8},
        {DlgEdit, CPrintDialog::IDC_FROM_PAGE, CString(), 44, 86, 30, 12,
         ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP | WS_GROUP},
        {DlgStatic, IDC_STATIC, "終了:"_sj, 84, 88, 20, 8},
        {DlgEdit, CPrintDialog::IDC_TO_PAGE, CString(), 106, 86, 30, 12,
         ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP},
        {DlgGroupBox, IDC_STATIC, "印刷部数"_sj, 164, 44, 79, 60},
        {DlgStatic, IDC_STATIC, "部数(&C):"_sj, 171, 58, 32, 8},
        {DlgEdit, CPrintDialog::IDC_COPIES, CString(), 205, 56, 30, 12,
         ES_AUTOHSCROLL | ES_NUMBER | WS_BORDER | WS_TABSTOP},
        {DlgPushButton, IDOK, "OK"_sj, 139, 111, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 193, 111, 50, 14, WS_TABSTOP},
    };
    return t;
}

DialogTemplate MakePrintSetupTemplate()
{
    DialogTemplate t;
    t.nID = AFX_IDD_PRINTSETUPDLG;
    t.caption = "ﾌﾟﾘﾝﾀの設定"_sj;
    t.cx = 250;
    t.cy = 140;
    t.controls = {
        {DlgStatic, IDC_STATIC, "ﾌﾟﾘﾝﾀ名(&N):"_sj, 7, 9, 56, 8},
        {DlgComboBox, CPrintDialog::IDC_PRINTER, CString(), 66, 7, 177, 100,
         CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {DlgStatic, IDC_STATIC, "用紙ｻｲｽﾞ(&Z):"_sj, 7, 27, 56, 8},
        {DlgComboBox, CPrintDialog::IDC_PAPER, CString(), 66, 25, 177, 100,
         CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {DlgGroupBox, IDC_STATIC, "印刷の向き"_sj, 7, 44, 80, 50},
        {DlgRadioButton, CPrintDialog::IDC_PORTRAIT, "縦(&O)"_sj, 14, 58, 60, 10, WS_GROUP | WS_TABSTOP},
        {DlgRadioButton, CPrintDialog::IDC_LANDSCAPE, "横(&A)"_sj, 14, 74, 60, 10},
        {DlgGroupBox, IDC_STATIC, "印刷できない余白 (mm)"_sj, 94, 44, 149, 50},
        {DlgStatic, IDC_STATIC, "左(&L):"_sj, 101, 58, 22, 8},
        {DlgEdit, CPrintDialog::IDC_MARGIN_LEFT, CString(), 125, 56, 36, 12,
         ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP},
        {DlgStatic, IDC_STATIC, "右(&R):"_sj, 170, 58, 22, 8},
        {DlgEdit, CPrintDialog::IDC_MARGIN_RIGHT, CString(), 194, 56, 36, 12,
         ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {DlgStatic, IDC_STATIC, "上(&T):"_sj, 101, 75, 22, 8},
        {DlgEdit, CPrintDialog::IDC_MARGIN_TOP, CString(), 125, 73, 36, 12,
         ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {DlgStatic, IDC_STATIC, "下(&B):"_sj, 170, 75, 22, 8},
        {DlgEdit, CPrintDialog::IDC_MARGIN_BOTTOM, CString(), 194, 73, 36, 12,
         ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {DlgPushButton, IDOK, "OK"_sj, 139, 119, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {DlgPushButton, IDCANCEL, "ｷｬﾝｾﾙ"_sj, 193, 119, 50, 14, WS_TABSTOP},
    };
    return t;
}

const bool s_printRegistered = RegisterDialogTemplate(AFX_IDD_PRINTDLG, MakePrintTemplate);
const bool s_setupRegistered = RegisterDialogTemplate(AFX_IDD_PRINTSETUPDLG, MakePrintSetupTemplate);

// A millimetre value with at most one decimal, as typed ("4.2"); FALSE for anything else.
BOOL ParseMillimetres(const CString& text, int& tenths)
{
    // Read as a person types a number ("１５", "12.5"); 0 or more, to tenths of a millimetre.
    std::string plain;
    if (!ReadTypedNumberText(text, plain) || plain[0] == '-')
        return FALSE;
    const size_t nPoint = plain.find('.');
    const std::string whole = plain.substr(0, nPoint);
    const std::string decimals = nPoint == std::string::npos ? std::string() : plain.substr(nPoint + 1);
    if (decimals.find_first_not_of('0', 1) != std::string::npos)
        return FALSE;
    int nWhole = 0;
    for (char ch : whole) {
        nWhole = nWhole * 10 + (ch - '0');
        if (nWhole > 10000)
            return FALSE;
    }
    tenths = nWhole * 10 + (decimals.empty() ? 0 : decimals[0] - '0');
    return TRUE;
}

CString FormatMillimetres(int tenths)
{
    CString s;
    if (tenths % 10 == 0)
        s.Format("%d", tenths / 10);
    else
        s.Format("%d.%d", tenths / 10, tenths % 10);
    return s;
}

} // namespace

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(bPrintSetupOnly ? AFX_IDD_PRINTSETUPDLG : AFX_IDD_PRINTDLG, pParentWnd),
      m_settings(CPrinterSettings::Instance()), m_bPrintSetupOnly(bPrintSetupOnly)
{
    (void)s_printRegistered;
    (void)s_setupRegistered;
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : 0);
}

BOOL CPrintDialog::GetDefaults()
{
    m_settings = CPrinterSettings::Instance();
    m_pd.Flags &= ~(PD_PAGENUMS | PD_SELECTION);
    m_pd.nFromPage = m_pd.nMinPage;
    m_pd.nToPage = m_pd.nMaxPage;
    m_pd.nCopies = 1;
    return TRUE;
}

void CPrintDialog::FillPrinters()
{
    // The printer chosen stays in the list while the system does not offer it (a scheduler
    // that has stopped, a queue that was removed): the dialog shows the printer a job would
    // go to, and printing on it says that it cannot start.
    m_printerNames = CPrinterSettings::GetInstalledPrinters();
    const CString current = m_settings.GetPrinterName();
    if (!m_settings.IsPdfPrinter() &&
        std::find(m_printerNames.begin(), m_printerNames.end(), current) == m_printerNames.end())
        m_printerNames.push_back(current);
    m_printerNames.push_back(CPrinterSettings::GetPdfPrinterName());
    SendDlgItemMessage(IDC_PRINTER, CB_RESETCONTENT);
    int nSel = 0;
    for (size_t i = 0; i < m_printerNames.size(); ++i) {
        SendDlgItemMessage(IDC_PRINTER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_printerNames[i].c_str()));
        if (m_printerNames[i] == current)
            nSel = static_cast<int>(i);
    }
    SendDlgItemMessage(IDC_PRINTER, CB_SETCURSEL, static_cast<WPARAM>(nSel));
}

BOOL CPrintDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillPrinters();
    if (m_bPrintSetupOnly) {
        const std::vector<int> papers = CPrinterSettings::GetPaperSizes();
        for (int nPaper : papers) {
            const CString name = CPrinterSettings::GetPaperName(nPaper);
            SendDlgItemMessage(IDC_PAPER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        ShowPaperAndMargins();
        return TRUE;
    }
    if (m_strOutputFile.IsEmpty())
        m_strOutputFile = m_settings.GetOutputFileName();
    const BOOL bNoPages = (m_pd.Flags & PD_NOPAGENUMS) != 0;
    CheckRadioButton(IDC_ALL_PAGES, IDC_PAGE_RANGE,
                     PrintRange() && !bNoPages ? IDC_PAGE_RANGE : IDC_ALL_PAGES);
    SetDlgItemInt(IDC_FROM_PAGE, m_pd.nFromPage ? m_pd.nFromPage : m_pd.nMinPage, FALSE);
    SetDlgItemInt(IDC_TO_PAGE, m_pd.nToPage ? m_pd.nToPage : m_pd.nMaxPage, FALSE);
    SetDlgItemInt(IDC_COPIES, m_pd.nCopies ? m_pd.nCopies : 1, FALSE);
    if (bNoPages) {
        if (CWnd* p = GetDlgItem(IDC_PAGE_RANGE))
            p->EnableWindow(FALSE);
    }
    OnRangeClicked();
    UpdateOutputState();
    return TRUE;
}

void CPrintDialog::ShowPaperAndMargins()
{
    int nSel = 0;
    const std::vector<int> papers = CPrinterSettings::GetPaperSizes();
    for (size_t i = 0; i < papers.size(); ++i) {
        if (papers[i] == m_settings.GetPaperSize())
            nSel = static_cast<int>(i);
    }
    SendDlgItemMessage(IDC_PAPER, CB_SETCURSEL, static_cast<WPARAM>(nSel));
    CheckRadioButton(IDC_PORTRAIT, IDC_LANDSCAPE,
                     m_settings.GetOrientation() == DMORIENT_LANDSCAPE ? IDC_LANDSCAPE : IDC_PORTRAIT);
    const CRect m = m_settings.GetMarginsTenthsMM();
    SetDlgItemText(IDC_MARGIN_LEFT, FormatMillimetres(m.left));
    SetDlgItemText(IDC_MARGIN_TOP, FormatMillimetres(m.top));
    SetDlgItemText(IDC_MARGIN_RIGHT, FormatMillimetres(m.right));
    SetDlgItemText(IDC_MARGIN_BOTTOM, FormatMillimetres(m.bottom));
}

void CPrintDialog::UpdateOutputState()
{
    // The box names the file the pages go into, so it shows one only for the PDF printer: a
    // job for a queue writes no file here. The user reads and types the file in this
    // platform's own form; a typed native path is a path of the system as it stands.
    CWnd* pEdit = GetDlgItem(IDC_OUTPUT_FILE);
    if (!pEdit)
        return;
    const BOOL bFile = m_settings.IsPdfPrinter();
    pEdit->SetWindowText(bFile ? DisplayPath(m_strOutputFile) : CString());
    pEdit->EnableWindow(bFile);
}

void CPrintDialog::KeepTypedOutputFile()
{
    // What was typed for the PDF printer comes back with it after another printer was shown.
    if (m_settings.IsPdfPrinter()) {
        GetDlgItemText(IDC_OUTPUT_FILE, m_strOutputFile);
        m_strOutputFile.Trim();
    }
}

void CPrintDialog::OnPrinterChanged()
{
    const int nSel = static_cast<int>(SendDlgItemMessage(IDC_PRINTER, CB_GETCURSEL));
    if (nSel < 0 || nSel >= static_cast<int>(m_printerNames.size()) ||
        m_printerNames[static_cast<size_t>(nSel)] == m_settings.GetPrinterName()) {
        return;
    }
    if (!m_bPrintSetupOnly)
        KeepTypedOutputFile();
    // A printer that has gone since the list was made: the list is made again, showing
    // the printer still chosen.
    if (!m_settings.SelectPrinter(m_printerNames[static_cast<size_t>(nSel)]))
        FillPrinters();
    // Another printer brings its own paper and unprintable edge.
    if (m_bPrintSetupOnly)
        ShowPaperAndMargins();
    else
        UpdateOutputState();
}

void CPrintDialog::OnRangeClicked()
{
    if (m_bPrintSetupOnly)
        return;
    const BOOL bRange = GetCheckedRadioButton(IDC_ALL_PAGES, IDC_PAGE_RANGE) == IDC_PAGE_RANGE;
    for (UINT nID : {IDC_FROM_PAGE, IDC_TO_PAGE}) {
        if (CWnd* p = GetDlgItem(static_cast<int>(nID)))
            p->EnableWindow(bRange);
    }
}

void CPrintDialog::OnSetup()
{
    // The set-up dialog changes the application's printer; this dialog follows it.
    CPrintDialog setup(TRUE, 0, this);
    setup.m_settings = m_settings;
    KeepTypedOutputFile();
    if (setup.DoModal() == IDOK) {
        m_settings = setup.m_settings;
        FillPrinters();
        UpdateOutputState();
    }
}

BOOL CPrintDialog::ReadMargins(CRect& rectMargins)
{
    const UINT ids[4] = {IDC_MARGIN_LEFT, IDC_MARGIN_TOP, IDC_MARGIN_RIGHT, IDC_MARGIN_BOTTOM};
    int values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        CString text;
        GetDlgItemText(static_cast<int>(ids[i]), text);
        if (!ParseMillimetres(text, values[i])) {
            AfxMessageBox("余白は 0 以上の数値 (mm) で入力してください。"_sj, MB_ICONEXCLAMATION);
            if (CWnd* p = GetDlgItem(static_cast<int>(ids[i])))
                GotoDlgCtrl(p);
            return FALSE;
        }
    }
    rectMargins.SetRect(values[0], values[1], values[2], values[3]);
    return TRUE;
}

void CPrintDialog::OnOK()
{
    OnPrinterChanged();
    if (m_bPrintSetupOnly) {
        const int nPaper = static_cast<int>(SendDlgItemMessage(IDC_PAPER, CB_GETCURSEL));
        const std::vector<int> papers = CPrinterSettings::GetPaperSizes();
        if (nPaper >= 0 && nPaper < static_cast<int>(papers.size()))
            m_settings.SetPaperSize(papers[static_cast<size_t>(nPaper)]);
        m_settings.SetOrientation(GetCheckedRadioButton(IDC_PORTRAIT, IDC_LANDSCAPE) == IDC_LANDSCAPE
                                      ? DMORIENT_LANDSCAPE
                                      : DMORIENT_PORTRAIT);
        CRect margins;
        if (!ReadMargins(margins))
            return;
        if (!m_settings.SetMarginsTenthsMM(margins)) {
            AfxMessageBox("余白が大きすぎて印刷できる範囲がありません。"_sj, MB_ICONEXCLAMATION);
            return;
        }
        CPrinterSettings::Instance() = m_settings;
        CDialog::OnOK();
        return;
    }

    // The page range must lie within the document's pages.
    BOOL bOk = TRUE;
    const BOOL bRange = GetCheckedRadioButton(IDC_ALL_PAGES, IDC_PAGE_RANGE) == IDC_PAGE_RANGE;
    UINT nFrom = m_pd.nMinPage;
    UINT nTo = m_pd.nMaxPage;
    if (bRange) {
        BOOL bFrom = FALSE;
        BOOL bTo = FALSE;
        nFrom = GetDlgItemInt(IDC_FROM_PAGE, &bFrom, FALSE);
        nTo = GetDlgItemInt(IDC_TO_PAGE, &bTo, FALSE);
        if (!bFrom || !bTo || nFrom < m_pd.nMinPage || nTo > m_pd.nMaxPage || nFrom > nTo) {
            CString text;
            text.Format("%s%u%s%u%s", CString("ﾍﾟｰｼﾞ範囲は "_sj).c_str(),
                        static_cast<unsigned>(m_pd.nMinPage), CString(" から "_sj).c_str(),
                        static_cast<unsigned>(m_pd.nMaxPage),
                        CString(" の間で指定してください。"_sj).c_str());
            AfxMessageBox(text, MB_ICONEXCLAMATION);
            bOk = FALSE;
        }
    }
    BOOL bCopies = FALSE;
    const UINT nCopies = GetDlgItemInt(IDC_COPIES, &bCopies, FALSE);
    if (bOk && (!bCopies || nCopies < 1 || nCopies > 999)) {
        AfxMessageBox("部数は 1 から 999 の間で指定してください。"_sj, MB_ICONEXCLAMATION);
        bOk = FALSE;
    }
    if (!bOk)
        return;
    KeepTypedOutputFile();
    if (m_settings.IsPdfPrinter() && m_strOutputFile.IsEmpty()) {
        AfxMessageBox("出力ﾌｧｲﾙ名を入力してください。"_sj, MB_ICONEXCLAMATION);
        return;
    }
    if (!ConfirmOutputFile())
        return;
    m_pd.Flags = (m_pd.Flags & ~(PD_PAGENUMS | PD_SELECTION)) | (bRange ? PD_PAGENUMS : PD_ALLPAGES);
    m_pd.nFromPage = static_cast<WORD>(nFrom);
    m_pd.nToPage = static_cast<WORD>(nTo);
    m_pd.nCopies = static_cast<WORD>(nCopies);
    // The printer the job goes to stays the application's printer, as the set-up dialog
    // would leave it.
    CPrinterSettings::Instance() = m_settings;
    CDialog::OnOK();
}

BOOL CPrintDialog::ConfirmOutputFile() const
{
    return !m_settings.IsPdfPrinter() || m_strOutputFile.IsEmpty() ||
           CFileDialog::ConfirmOverwrite(m_strOutputFile);
}
