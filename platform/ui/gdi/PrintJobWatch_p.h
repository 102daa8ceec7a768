// What becomes of a print job handed to the system's print queue (platform/ui internal).
//
// The toolkit hands a finished job to CUPS and reports success whatever CUPS answers: a
// queue that rejects jobs drops it without a word. So the job is watched from CUPS's side:
// before the job, whether the queue accepts jobs and which of this user's jobs it already
// has; after it, whether a new one arrived. A build without CUPS knows nothing and reports
// nothing.
#pragma once

#include <string>

class CPrintJobWatch {
public:
    explicit CPrintJobWatch(std::string printerName);

    // False when CUPS says the queue does not accept jobs now, or does not answer at all.
    bool QueueAccepts() const { return m_bAccepting; }
    // After the job was handed over: false when CUPS, asked before, no longer answers, or
    // shows no new job of this user on a queue that now refuses jobs or is gone.
    bool JobReached() const;

    // Whether a CUPS server answers at all.
    static bool CupsAnswers();

private:
    std::string m_strPrinter;
    bool m_bKnown = false; // the jobs before could be listed
    int m_nNewestJob = 0;  // the newest of this user's jobs on the queue before
    bool m_bAccepting = true;
};
