// Message boxes as the system calls them. The base layer has no windows: the text goes to
// a replaceable handler. The user-interface layer installs the real dialog; tests install
// a recorder that answers by program.
#pragma once

#include "CString.h"

#include <functional>

// Handler: (text, type flags, help id) -> the button pressed (IDOK, IDYES, ...).
using MessageBoxHandler = std::function<int(const CString& text, UINT type, UINT helpId)>;

// Installs a handler and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
