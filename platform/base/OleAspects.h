// The drawing aspects of OLE data, shared by the clipboard's data objects and the
// embedded items of compound documents.
#pragma once

#include "platform/base/Types.h"

constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD DVASPECT_ICON = 4;
