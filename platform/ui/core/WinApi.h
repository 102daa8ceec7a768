// Free functions of the window layer with the names and behaviour the system calls:
// keyboard and mouse state, cursors, window handles, the clipboard, global memory blocks,
// sound, help, and the stand-ins for what this platform does not have.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

// ---- keyboard and mouse -----------------------------------------------------------------
// The high bit (the result is negative) while the key is down; for toggle keys
// (VK_CAPITAL, VK_NUMLOCK) the low bit is the toggle state.
short GetKeyState(int nVirtKey);
short GetAsyncKeyState(int vKey);
BOOL GetCursorPos(LPPOINT lpPoint);
BOOL SetCursorPos(int x, int y);
DWORD GetMessagePos();
LONG GetMessageTime();
UINT GetDoubleClickTime();
DWORD GetTickCount();
void Sleep(DWORD dwMilliseconds);

// ---- cursors and icons --------------------------------------------------------------------
// hInstance null: a standard cursor (IDC_ARROW, IDC_WAIT, IDC_CROSS, IDC_SIZE*, IDC_IBEAM, ...);
// otherwise a cursor resource (MAKEINTRESOURCE(id)).
HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName);
HICON LoadIcon(HINSTANCE hInstance, LPCTSTR lpIconName);
// Shows the cursor over the window under the mouse (or the capture window) until the mouse
// moves on, as on Windows; returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
int ShowCursor(BOOL bShow);
BOOL DestroyCursor(HCURSOR hCursor);
BOOL DestroyIcon(HICON hIcon);

// ---- windows by handle --------------------------------------------------------------------
BOOL IsWindow(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
HWND GetFocus();
HWND SetFocus(HWND hWnd);
HWND GetCapture();
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetParent(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);
HWND GetActiveWindow();
HWND GetDesktopWindow();
LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase);
BOOL UpdateWindow(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL DestroyWindow(HWND hWnd);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
int GetSystemMetrics(int nIndex);
// SPI_GETWORKAREA: the primary screen less the desktop's panels (a RECT at pvParam). Other
// actions are not offered and return FALSE.
BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni);

// ---- the event queue ----------------------------------------------------------------------
// Handles pending events (input, posted messages, timers, painting). With PM_NOREMOVE only
// reports whether any are waiting. Returns TRUE when something was waiting.
BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// Handles everything pending now, without waiting (for long loops that must stay responsive).
void AfxPumpPendingMessages();
void MessageBeep(UINT uType);
// How many times MessageBeep has sounded in this process (for tests, which play no sound).
UINT AfxGetMessageBeepCount();

// ---- clipboard ----------------------------------------------------------------------------
// Registered formats travel as the MIME type "application/x-morvel-<name>" carrying the
// same bytes; CF_TEXT is code page 932 text with a terminating zero, exchanged with other
// programs as UTF-8.
UINT RegisterClipboardFormat(LPCTSTR lpszFormat);
int GetClipboardFormatName(UINT format, LPTSTR lpszFormatName, int cchMaxCount);
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard takes the block over (do not free it). Returns the block, or null.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// A block owned by the clipboard, valid until the clipboard is closed.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);

// ---- global memory blocks -----------------------------------------------------------------
HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes);
HGLOBAL GlobalReAlloc(HGLOBAL hMem, size_t dwBytes, UINT uFlags);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
size_t GlobalSize(HGLOBAL hMem);
HGLOBAL GlobalFree(HGLOBAL hMem);

// ---- dropped files (WM_DROPFILES) ---------------------------------------------------------
// iFile 0xFFFFFFFF: the number of files. lpszFile null: the length of the name.
UINT DragQueryFile(HANDLE hDrop, UINT iFile, LPTSTR lpszFile, UINT cch);
void DragFinish(HANDLE hDrop);

// ---- sound, help and stand-ins ------------------------------------------------------------
// With SND_FILENAME plays a .wav file through the desktop's sound player when there is one
// (SND_SYNC waits until it has finished); FALSE when it cannot be played. The environment
// variable MORVEL_NO_SOUND switches sound off (tests).
BOOL PlaySound(LPCTSTR pszSound, HMODULE hmod, DWORD fdwSound);
// Opens the help file with the desktop's viewer when it exists; otherwise says so in a
// message box. Returns null (there is no help window of our own).
HWND HtmlHelp(HWND hwndCaller, LPCTSTR pszFile, UINT uCommand, DWORD_PTR dwData);
HANDLE GetCurrentProcess();
// This program never runs under a 32-bit emulation: *Wow64Process becomes FALSE.
BOOL IsWow64Process(HANDLE hProcess, BOOL* Wow64Process);
// Modules load as successful no-ops: the one module the program loads, the grid control,
// is built into the program.
HMODULE LoadLibrary(LPCTSTR lpLibFileName);
BOOL FreeLibrary(HMODULE hLibModule);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
