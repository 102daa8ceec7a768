#include "platform/ui/core/CWaitCursor.h"

#include "platform/ui/core/CCmdTarget.h"

namespace {

// The wait cursor is counted process-wide; any target reaches the count.
CCmdTarget& WaitTarget()
{
    static CCmdTarget s_target;
    return s_target;
}

} // namespace

CWaitCursor::CWaitCursor()
{
    WaitTarget().BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    WaitTarget().EndWaitCursor();
}

void CWaitCursor::Restore()
{
    WaitTarget().RestoreWaitCursor();
}
