#include "platform/ui/gdi/PrintJobWatch_p.h"

#include <algorithm>
#include <utility>

#ifdef MORVEL_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace {

#ifdef MORVEL_HAVE_CUPS
// The newest of this user's jobs (any state) on the queue; false when CUPS cannot be asked.
bool NewestJob(const std::string& printer, int& nNewest)
{
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, printer.c_str(), 1, CUPS_WHICHJOBS_ALL);
    if (n < 0)
        return false;
    nNewest = 0;
    for (int i = 0; i < n; ++i)
        nNewest = std::max(nNewest, jobs[i].id);
    cupsFreeJobs(n, jobs);
    return true;
}

// The queue's "printer-is-accepting-jobs": false when CUPS says the queue refuses jobs or
// has no such queue; true when it accepts or the answer cannot be learnt.
bool Accepting(const std::string& printer)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     printer.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-is-accepting-jobs");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    bool bAccepting = cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND;
    if (response) {
        if (ipp_attribute_t* attr = ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
            bAccepting = ippGetBoolean(attr, 0) != 0;
        ippDelete(response);
    }
    return bAccepting;
}
#endif

} // namespace

CPrintJobWatch::CPrintJobWatch(std::string printerName) : m_strPrinter(std::move(printerName))
{
#ifdef MORVEL_HAVE_CUPS
    m_bKnown = NewestJob(m_strPrinter, m_nNewestJob);
    // A scheduler that does not answer at all (it has stopped) takes no job either.
    m_bAccepting = (m_bKnown || CupsAnswers()) && Accepting(m_strPrinter);
#endif
}

bool CPrintJobWatch::JobReached() const
{
#ifdef MORVEL_HAVE_CUPS
    if (!m_bKnown)
        return true;
    // CUPS answered before the job and no longer does: the job cannot have reached it.
    int nNewest = 0;
    if (!NewestJob(m_strPrinter, nNewest))
        return false;
    if (nNewest > m_nNewestJob)
        return true;
    // No new job: lost when the queue refuses jobs now (or is gone). A queue that accepts
    // may have finished and forgotten it already (a server that keeps no job history).
    return Accepting(m_strPrinter);
#else
    return true;
#endif
}

bool CPrintJobWatch::CupsAnswers()
{
#ifdef MORVEL_HAVE_CUPS
    http_t* http =
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http)
        return false;
    httpClose(http);
    return true;
#else
    return false;
#endif
}
