// CWaitCursor: shows the wait cursor for as long as the object lives.
#pragma once

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the wait cursor again (after something changed the cursor meanwhile).
    void Restore();
};
