// Window classes (platform/ui internal): a class name stands for a class style, a cursor,
// a background, an icon, and — for controls — the Qt widget that makes the window and the
// class's own window procedure (what DefWindowProc runs for windows of the class).
//
// The dialog and control layer registers "BUTTON", "EDIT", "COMBOBOX", ... here, so that a
// window of that class is the control whatever C++ object stands for it.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

#include <functional>

class CWnd;
class QWidget;

struct CWndClassInfo {
    CString name;   // matched without regard to case
    UINT style = 0; // CS_ flags
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr; // a brush, or a system colour index + 1
    HICON hIcon = nullptr;
    // Makes the widget of a new window (null: a self-drawn window with a back buffer).
    std::function<QWidget*(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParentWidget)> createWidget;
    // The class's window procedure. It sets *pbHandled to FALSE to leave a message to the
    // standard default handling.
    std::function<LRESULT(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)> wndProc;
};

// Registers (or replaces) a class. Returns the permanent name.
LPCTSTR AfxRegisterClassInfo(const CWndClassInfo& info);
// The class of that name; null when unknown.
const CWndClassInfo* AfxFindClassInfo(LPCTSTR lpszClassName);
