// CPrintDialog: the print dialog (printer, output file of the PDF printer, page range,
// copies) and, with bPrintSetupOnly, the printer set-up dialog (printer, paper size,
// orientation, margins) whose OK changes the application's printer.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/frames/CPrinterSettings.h"

#include <vector>

// Flags of m_pd.Flags.
constexpr DWORD PD_ALLPAGES = 0x00000000;
constexpr DWORD PD_SELECTION = 0x00000001;
constexpr DWORD PD_PAGENUMS = 0x00000002;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_NOPAGENUMS = 0x00000008;
constexpr DWORD PD_COLLATE = 0x00000010;
constexpr DWORD PD_PRINTTOFILE = 0x00000020;
constexpr DWORD PD_PRINTSETUP = 0x00000040;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_RETURNDEFAULT = 0x00000400;
constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;

// The templates of the two dialogs.
constexpr UINT AFX_IDD_PRINTDLG = 1538;
constexpr UINT AFX_IDD_PRINTSETUPDLG = 1539;

struct CPrintDlgData {
    DWORD Flags = 0;
    WORD nFromPage = 1;
    WORD nToPage = 1;
    WORD nMinPage = 1;
    WORD nMaxPage = 1;
    WORD nCopies = 1;
};

class CPrintDialog : public CDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);

    // Control ids of the templates.
    enum : UINT {
        IDC_PRINTER = 1139,
        IDC_OUTPUT_FILE = 1160,
        IDC_ALL_PAGES = 1056,
        IDC_PAGE_RANGE = 1058,
        IDC_FROM_PAGE = 1152,
        IDC_TO_PAGE = 1153,
        IDC_COPIES = 1154,
        IDC_SETUP = 1024,
        IDC_PAPER = 1137,
        IDC_PORTRAIT = 1056,
        IDC_LANDSCAPE = 1057,
        IDC_MARGIN_LEFT = 1155,
        IDC_MARGIN_TOP = 1156,
        IDC_MARGIN_RIGHT = 1157,
        IDC_MARGIN_BOTTOM = 1158,
    };

    CPrintDlgData m_pd;

    // The printer as the dialog leaves it (a copy of the application's printer at first).
    CPrinterSettings m_settings;

    // Takes the application's printer without showing anything.
    BOOL GetDefaults();
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    int GetFromPage() const { return m_pd.nFromPage; }
    int GetToPage() const { return m_pd.nToPage; }
    int GetCopies() const { return m_pd.nCopies; }
    CString GetDeviceName() const { return m_settings.GetPrinterName(); }
    // The file the PDF printer writes (what the dialog offered or the user typed for it).
    CString GetOutputFileName() const { return m_strOutputFile; }
    void SetOutputFileName(const CString& path) { m_strOutputFile = path; }
    BOOL IsPrintSetupOnly() const { return m_bPrintSetupOnly; }
    // Asks before the PDF printer's pages replace an existing output file; FALSE when the
    // user says no. TRUE for other printers and for a new file.
    BOOL ConfirmOutputFile() const;

    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnPrinterChanged();
    afx_msg void OnRangeClicked();
    afx_msg void OnSetup();

    DECLARE_MESSAGE_MAP()

private:
    // Lists the installed printers, the printer of m_settings (even one the system no longer
    // offers) and the PDF printer, and shows m_settings' printer.
    void FillPrinters();
    // The output box: the PDF printer's file, or empty and off for any other printer.
    void UpdateOutputState();
    // Takes what the output box holds while it shows the PDF printer's file.
    void KeepTypedOutputFile();
    // The set-up dialog's paper, orientation and margin boxes as m_settings has them.
    void ShowPaperAndMargins();
    BOOL ReadMargins(CRect& rectMargins);

    BOOL m_bPrintSetupOnly;
    CString m_strOutputFile;
    std::vector<CString> m_printerNames; // the printer list as shown
};
