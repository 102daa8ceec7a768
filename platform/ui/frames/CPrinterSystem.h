// CPrinterSystem: the printers the machine offers. Everything the program asks about them
// goes through here: the names the print dialogs list, each printer's own paper, margins and
// resolution, and where a job for one of them goes.
//
// By default that is the system's print service as the toolkit sees it (CUPS); with the
// environment variable MORVEL_PRINTER=pdf, a machine without printers. A program or a test
// puts a set-up of its own in place for a while with CPrinterSystem::CScope:
//
//     CMyPrinters printers;                      // derived from CPrinterSystem
//     CPrinterSystem::CScope scope(printers);   // the dialogs and jobs see only these
//
// A printer the system no longer knows (a scheduler that stopped, a queue that was removed)
// is answered with FALSE everywhere, never with another printer.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <vector>

// One printer as the system describes it.
struct CSystemPrinter {
    int nPaperSize = 0;  // its default paper (DMPAPER_…); 0: none the program knows
    CRect rectMargins;   // its unprintable margins in 0.1 mm (left, top, right, bottom)
    int nResolution = 0; // dots per inch
};

// Where a job for a printer goes: the system's print queue of that name, or (a set-up of
// one's own) a PDF file the printer writes its pages into. The queue wins when both are
// named; a target that names neither takes no job.
struct CPrintTarget {
    CString strQueue;
    CString strSpoolFile; // a system path
};

class CPrinterSystem {
public:
    virtual ~CPrinterSystem() = default;

    // The printers offered now, the default first.
    virtual std::vector<CString> GetPrinterNames() const = 0;
    // The system's default printer now; empty when it names none (no printer, none made the
    // default, the scheduler not running).
    virtual CString GetDefaultPrinterName() const = 0;
    // The printer's own paper, margins and resolution; FALSE when the system does not know
    // the printer now.
    virtual BOOL DescribePrinter(const CString& name, CSystemPrinter& printer) const = 0;
    // Where a job for the printer goes; FALSE when the system does not know the printer now.
    virtual BOOL GetJobTarget(const CString& name, CPrintTarget& target) const = 0;

    // The set-up in use: the innermost scope's, else the machine's (none with
    // MORVEL_PRINTER=pdf).
    static const CPrinterSystem& Current();
    // The system's print service, whatever is in use.
    static const CPrinterSystem& Machine();

    // Puts a set-up in place for its own lifetime; scopes nest.
    class CScope {
    public:
        explicit CScope(const CPrinterSystem& system);
        ~CScope();
        CScope(const CScope&) = delete;
        CScope& operator=(const CScope&) = delete;

    private:
        const CPrinterSystem* m_pPrevious;
    };
};
