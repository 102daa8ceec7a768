// The process-wide table of registered names (platform/ui internal): window messages and
// clipboard formats share it, numbered from 0xC000, as on Windows.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

// The number for a name (the same for names equal without regard to case); 0 for an empty
// or missing name.
UINT AfxRegisterAtom(const char* lpszName);
// The name of a registered number; empty when unknown.
CString AfxGetAtomName(UINT nAtom);
