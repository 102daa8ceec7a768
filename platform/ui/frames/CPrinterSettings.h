// CPrinterSettings: the application's printer — which printer, the paper, its orientation
// and the unprintable margins — as the print set-up dialog leaves them. Print jobs, print
// previews and the printer information contexts all take the printer from here.
//
// A machine without an installed printer still has one: a PDF printer on A4 paper at 300
// dots per inch with margins of 1/6 inch (a laser printer's unprintable edge), whose pages
// go into a PDF file. So layouts, previews and tests never depend on a printer being
// installed. The installed printers are those of CPrinterSystem::Current().
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <vector>

class CDC;
struct CDeviceCaps;

// Paper sizes and orientations as the stored settings number them.
constexpr int DMPAPER_LETTER = 1;
constexpr int DMPAPER_LEGAL = 5;
constexpr int DMPAPER_A3 = 8;
constexpr int DMPAPER_A4 = 9;
constexpr int DMPAPER_A5 = 11;
constexpr int DMPAPER_B4 = 12;
constexpr int DMPAPER_B5 = 13;
constexpr int DMORIENT_PORTRAIT = 1;
constexpr int DMORIENT_LANDSCAPE = 2;

class CPrinterSettings {
public:
    CPrinterSettings();

    // The application's printer. Until the user (or the program) chooses one, it is the
    // system's default printer as it is at each call: a default named later (a printer
    // installed or made the default, the scheduler started) is taken up at once.
    static CPrinterSettings& Instance();

    // ---- the printer --------------------------------------------------------------------
    // The printers installed on the machine (their names), the system's default first.
    static std::vector<CString> GetInstalledPrinters();
    // The PDF printer's name as the dialogs show it.
    static CString GetPdfPrinterName();
    // Back to the system's default printer (where it names none, the first printer it offers,
    // or the PDF printer), its default paper and margins, portrait; nothing chosen.
    void ResetToDefault();
    // The PDF printer on A4 portrait with its own margins. (MORVEL_PRINTER=pdf hides the
    // installed printers altogether: see CPrinterSystem.)
    void UsePdfPrinter();
    BOOL IsPdfPrinter() const { return m_strPrinterName.IsEmpty(); }
    CString GetPrinterName() const { return IsPdfPrinter() ? GetPdfPrinterName() : m_strPrinterName; }
    // Chooses an installed printer by name, with its own paper, margins and resolution, or
    // the PDF printer for an empty name or the PDF printer's name. FALSE for a printer the
    // system does not know now (nothing changes then).
    BOOL SelectPrinter(const CString& name);

    // ---- paper and margins --------------------------------------------------------------
    int GetPaperSize() const { return m_nPaperSize; }
    void SetPaperSize(int nPaperSize);
    // The paper's size in 0.1 mm, portrait.
    static CSize GetPaperSizeTenthsMM(int nPaperSize);
    static CString GetPaperName(int nPaperSize);
    static std::vector<int> GetPaperSizes();
    int GetOrientation() const { return m_nOrientation; }
    void SetOrientation(int nOrientation);
    // The unprintable margins in 0.1 mm (left, top, right, bottom).
    CRect GetMarginsTenthsMM() const { return m_rectMargins; }
    // FALSE (and no change) for negative margins or margins that leave no printable area.
    BOOL SetMarginsTenthsMM(const CRect& rectMargins);
    int GetResolution() const { return m_nResolution; }
    void SetResolution(int nDotsPerInch);

    // ---- output -------------------------------------------------------------------------
    // Where the PDF printer writes (a system path); empty: "<document title>.pdf" in the
    // user's documents folder.
    CString GetOutputFileName() const { return m_strOutputFile; }
    void SetOutputFileName(const CString& path) { m_strOutputFile = path; }
    CString GetOutputFileNameFor(const CString& docTitle) const;

    // ---- what the printer reports -------------------------------------------------------
    // The printer's capabilities as a printer context reports them: pixels per inch,
    // paper size and printable area in device pixels, the printable area's offsets.
    CDeviceCaps GetDeviceCaps() const;
    // A context for measuring and asking the printer (nothing is printed through it).
    BOOL CreatePrinterDC(CDC& dc) const;

private:
    // Nothing chosen: the system's default as it is now (see Instance()).
    void FollowSystemDefault();
    // The printer name (or the PDF printer for an empty name) with its own paper and
    // margins, portrait; nothing chosen.
    void TakeUp(const CString& name);

    CString m_strPrinterName; // empty: the PDF printer
    int m_nPaperSize = DMPAPER_A4;
    int m_nOrientation = DMORIENT_PORTRAIT;
    CRect m_rectMargins; // 0.1 mm
    int m_nResolution = 300;
    CString m_strOutputFile;
    // Chosen rather than taken from the system's default: every change of the printer, the
    // paper, the orientation, the margins or the resolution is a choice, and ResetToDefault
    // undoes it. Instance() keeps a choice whatever the system offers.
    bool m_bChosen = false;
};

// Hooks the printer into the application object (the printer set-up command, the printer
// context) — done with the document manager's hooks.
void AfxInstallPrinterHooks();
