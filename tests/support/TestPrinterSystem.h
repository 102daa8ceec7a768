// CTestPrinterSystem: a printer set-up of the tests' own, in place of the machine's printers
// while it lives. Printers come and go as a test says (a scheduler that stops, a queue that
// is removed, a default that changes); a job for one of them is written as a PDF file into
// the spool folder, named after the printer and the job's number, through the same print
// loop and printer context as a job for a queue.
#pragma once

#include "platform/base/Path.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/frames/CPrinterSystem.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

class CTestPrinterSystem : public CPrinterSystem {
public:
    explicit CTestPrinterSystem(CString spoolFolder)
        : m_strSpoolFolder(std::move(spoolFolder)), m_scope(*this)
    {
    }

    // A printer on nPaperSize paper at nResolution dots per inch with margins (0.1 mm); the
    // first one added is the default (unless there is to be none).
    void AddPrinter(const CString& name, int nPaperSize = DMPAPER_A4,
                    const CRect& margins = CRect(50, 50, 50, 80), int nResolution = 600)
    {
        CSystemPrinter printer;
        printer.nPaperSize = nPaperSize;
        printer.rectMargins = margins;
        printer.nResolution = nResolution;
        m_printers.emplace_back(name, printer);
    }
    void RemovePrinter(const CString& name)
    {
        m_printers.erase(std::remove_if(m_printers.begin(), m_printers.end(),
                                        [&](const auto& p) { return p.first == name; }),
                         m_printers.end());
    }
    void MakeDefault(const CString& name)
    {
        std::stable_partition(m_printers.begin(), m_printers.end(),
                              [&](const auto& p) { return p.first == name; });
        m_bNoDefault = false;
    }
    // The printers stay, none of them the default (until MakeDefault).
    void ClearDefault() { m_bNoDefault = true; }
    // The scheduler stops (or starts again with the printers it had).
    void Stop(bool bStopped = true) { m_bStopped = bStopped; }

    // The spool files of the jobs that reached a printer, in order.
    std::vector<CString> JobsOf(const CString& name) const
    {
        std::vector<CString> jobs;
        for (const auto& job : m_jobs) {
            if (job.first == name && FileExists(job.second))
                jobs.push_back(job.second);
        }
        return jobs;
    }

    std::vector<CString> GetPrinterNames() const override
    {
        std::vector<CString> names;
        if (!m_bStopped) {
            for (const auto& p : m_printers)
                names.push_back(p.first);
        }
        return names;
    }
    CString GetDefaultPrinterName() const override
    {
        return m_bStopped || m_bNoDefault || m_printers.empty() ? CString() : m_printers.front().first;
    }
    BOOL DescribePrinter(const CString& name, CSystemPrinter& printer) const override
    {
        const CSystemPrinter* p = Find(name);
        if (p)
            printer = *p;
        return p != nullptr;
    }
    BOOL GetJobTarget(const CString& name, CPrintTarget& target) const override
    {
        if (!Find(name))
            return FALSE;
        CString file;
        file.Format("%s%s-%d.pdf", m_strSpoolFolder.c_str(), name.c_str(),
                    static_cast<int>(m_jobs.size()) + 1);
        m_jobs.emplace_back(name, file);
        target.strQueue.Empty();
        target.strSpoolFile = file;
        return TRUE;
    }

private:
    const CSystemPrinter* Find(const CString& name) const
    {
        if (m_bStopped)
            return nullptr;
        for (const auto& p : m_printers) {
            if (p.first == name)
                return &p.second;
        }
        return nullptr;
    }

    CString m_strSpoolFolder;
    std::vector<std::pair<CString, CSystemPrinter>> m_printers;
    mutable std::vector<std::pair<CString, CString>> m_jobs; // printer, spool file
    bool m_bStopped = false;
    bool m_bNoDefault = false;
    CPrinterSystem::CScope m_scope; // last: in place once everything else is
};

// A cups-pdf queue of the test's own on a real scheduler, removed when it goes; for the
// checks that scripts/check_cups.sh runs against a scheduler of its own. They run only when
// the script asks for them (MORVEL_CHECK_CUPS=1): they add and remove queues, which a
// desktop's scheduler may not allow and should not see. The script also says how to stop
// and start its scheduler (MORVEL_CUPS_STOP, MORVEL_CUPS_START) and where it keeps the
// files of the jobs it took (MORVEL_CUPS_SPOOL).
class CRealCupsQueue {
public:
    static constexpr const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

    static bool Asked()
    {
        const char* asked = std::getenv("MORVEL_CHECK_CUPS");
        return asked && std::string(asked) == "1" && std::filesystem::exists(kPpd) &&
               std::system("command -v lpadmin cupsreject cupsaccept cupsdisable >/dev/null 2>&1") == 0;
    }
    static int Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

    // A test's second (third, ...) queue takes a suffix to its name.
    explicit CRealCupsQueue(const std::string& suffix = std::string())
        : m_strName("morvel-test-" + std::to_string(getpid()) + suffix)
    {
    }
    ~CRealCupsQueue() { Run("lpadmin -x " + m_strName); }
    const std::string& Name() const { return m_strName; }
    // Adds the queue stopped: the jobs it takes wait in it (and go with it at the end).
    std::string AddCommand() const
    {
        return "lpadmin -p " + m_strName + " -E -v cups-pdf:/ -P " + kPpd + " && cupsdisable " + m_strName;
    }

private:
    std::string m_strName;
};
