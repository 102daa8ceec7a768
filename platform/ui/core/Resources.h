// The resource registry: menus, accelerator tables, the string table, tool-bar layouts,
// bitmaps, cursors and icons, by resource id.
//
// The program's resources are C++ data in resources/, registered at static-initialisation
// time. Menus and strings are registered as factories that run the first time the
// resource is needed, so that texts are converted after every static has been built:
//
//   static std::vector<CMenuResourceItem> MakeFrameMenu()
//   {
//       return {MenuPopup("ﾌｧｲﾙ(&F)"_sj, {
//                   MenuItem("開く(&O)...\tCtrl+O"_sj, ID_FILE_OPEN),
//                   MenuSeparator(),
//                   MenuItem("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"_sj, ID_APP_EXIT),
//               })};
//   }
//   static const bool s_menu = RegisterMenuResource(121, MakeFrameMenu);
//
// Texts are code page 932. Registering the same id again replaces the earlier entry.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------------------
// Menus.
// ---------------------------------------------------------------------------------------
struct CMenuResourceItem {
    CString text;                            // "&" marks the mnemonic; "\t" starts the accelerator text
    UINT nID = 0;                            // command id (0 for separators and pop-ups)
    UINT nFlags = 0;                         // MF_SEPARATOR, MF_POPUP, MF_GRAYED, MF_CHECKED, MF_HELP, ...
    std::vector<CMenuResourceItem> children; // the pop-up's items
};

CMenuResourceItem MenuItem(const CString& text, UINT nID, UINT nFlags = 0);
CMenuResourceItem MenuSeparator();
CMenuResourceItem MenuPopup(const CString& text, std::vector<CMenuResourceItem> children, UINT nFlags = 0);

// A menu resource is the list of its top-level items (the menu bar, or the pop-ups of a
// context-menu resource, whose sub-menu 0 is the one shown).
using MenuResourceFactory = std::function<std::vector<CMenuResourceItem>()>;
bool RegisterMenuResource(UINT nID, MenuResourceFactory factory);
bool RegisterMenuResource(UINT nID, std::vector<CMenuResourceItem> items);
const std::vector<CMenuResourceItem>* FindMenuResource(UINT nID);
// The ids of every menu resource registered so far, in increasing order.
std::vector<UINT> GetMenuResourceIds();

// ---------------------------------------------------------------------------------------
// Accelerators: {fVirt (FVIRTKEY | FCONTROL | FSHIFT | FALT), key (VK_ code or character),
// command}.
// ---------------------------------------------------------------------------------------
bool RegisterAcceleratorResource(UINT nID, std::vector<ACCEL> entries);
const std::vector<ACCEL>* FindAcceleratorResource(UINT nID);
HACCEL LoadAccelerators(HINSTANCE hInstance, LPCTSTR lpTableName);
HACCEL AfxLoadAccelerators(UINT nID);
// The entries of a loaded table (empty for a null handle).
const std::vector<ACCEL>& AfxGetAcceleratorEntries(HACCEL hAccel);
// For WM_KEYDOWN/WM_SYSKEYDOWN (and WM_CHAR for character entries) matching an entry of
// the table: sends WM_COMMAND (high word 1) to hWnd and returns TRUE.
BOOL TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);

// ---------------------------------------------------------------------------------------
// The string table.
// ---------------------------------------------------------------------------------------
bool RegisterStringResource(UINT nID, const CString& text);
// The factory gives (id, text) pairs; it runs when the first string is looked up.
using StringTableFactory = std::function<std::vector<std::pair<UINT, CString>>()>;
bool RegisterStringTable(StringTableFactory factory);
// FALSE (and an empty text) for an unknown id.
BOOL AfxLoadString(UINT nID, CString& rString);
CString AfxLoadString(UINT nID);
// A document template's string: the nIndex-th field of a "\n"-separated resource string.
BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, char chSep = '\n');

// ---------------------------------------------------------------------------------------
// Images: a file (absolute, or relative to the resource folder) or bytes embedded in the
// program (PNG, BMP or XPM text). Bitmaps, tool bars, cursors and icons use this.
// ---------------------------------------------------------------------------------------
struct CImageResource {
    std::string path;                    // native path (UTF-8); relative to the resource folder
    const unsigned char* data = nullptr; // embedded encoded image
    size_t size = 0;
    const char* const* xpm = nullptr; // embedded XPM lines
};

CImageResource ImageFromFile(const std::string& path);
CImageResource ImageFromData(const unsigned char* data, size_t size);
CImageResource ImageFromXpm(const char* const* xpm);

// The folder relative image paths are found in: the environment variable
// MORVEL_RESOURCES, else what was set here, else "resources" beside the program (empty
// without an application object, so that a relative path never means the current folder).
void SetResourceFolder(const std::string& nativeFolder);
std::string GetResourceFolder();

bool RegisterBitmapResource(UINT nID, const CImageResource& image);
const CImageResource* FindBitmapResource(UINT nID);

// A tool bar: its buttons' command ids in order (ID_SEPARATOR for a gap) and one image
// holding the buttons' pictures side by side, each cx by cy pixels.
struct CToolBarResource {
    int cx = 16;
    int cy = 15;
    CImageResource image;
    std::vector<UINT> buttons;
};
bool RegisterToolBarResource(UINT nID, const CToolBarResource& toolBar);
const CToolBarResource* FindToolBarResource(UINT nID);

// Cursors with their hot spot, and icons.
bool RegisterCursorResource(UINT nID, const CImageResource& image, int xHotSpot, int yHotSpot);
bool RegisterIconResource(UINT nID, const CImageResource& image);
const CImageResource* FindIconResource(UINT nID);
