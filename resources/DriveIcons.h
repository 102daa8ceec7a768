// The drive pictures of the drive lists (the environment sheet's path page, the DOS
// conversion): icon 261 a removable drive, 262 a fixed one, both 20 x 20 with a mask.
#pragma once

#include "platform/base/Types.h"

constexpr UINT IDI_REMOVABLE_DRIVE = 261;
constexpr UINT IDI_FIXED_DRIVE = 262;

// Registers both icons; calling it again changes nothing.
void RegisterDriveIcons();
