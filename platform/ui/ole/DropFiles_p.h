// Dropped files (platform/ui internal): the block WM_DROPFILES carries.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

#include <vector>

// A drop block with these system paths; DragFinish frees it.
HANDLE AfxCreateDropFiles(const std::vector<CString>& files);
