#include "platform/ui/core/Resources.h"

#include "platform/base/Path.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/Resources_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <type_traits>
#include <utility>

namespace {

struct CResourceTables {
    std::map<UINT, MenuResourceFactory> menuFactories;
    std::map<UINT, std::vector<CMenuResourceItem>> menus;
    std::map<UINT, std::vector<ACCEL>> accelerators;
    std::vector<StringTableFactory> stringFactories;
    std::map<UINT, CString> strings;
    std::map<UINT, CImageResource> bitmaps;
    std::map<UINT, CToolBarResource> toolBars;
    std::map<UINT, CCursorResource> cursors;
    std::map<UINT, CImageResource> icons;
    std::string folder;
    std::recursive_mutex mutex;
};

CResourceTables& Tables()
{
    static CResourceTables tables;
    return tables;
}

void RunStringFactories(CResourceTables& t)
{
    // Factories registered later replace what earlier ones gave for the same id, as later
    // registrations do.
    std::vector<StringTableFactory> pending;
    pending.swap(t.stringFactories);
    for (auto& f : pending) {
        for (auto& [id, text] : f())
            t.strings[id] = text;
    }
}

// Handles of accelerator tables: the table's id with a marker bit.
constexpr uintptr_t kAccelMarker = 0x40000000;

// Registration and look-up in the tables that simply map an id to its resource; a later
// registration replaces an earlier one.
template <class T>
bool StoreResource(std::map<UINT, T> CResourceTables::*table, UINT nID, std::type_identity_t<T> value)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    (t.*table)[nID] = std::move(value);
    return true;
}

template <class T>
const T* LookUpResource(std::map<UINT, T> CResourceTables::*table, UINT nID)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    auto it = (t.*table).find(nID);
    return it == (t.*table).end() ? nullptr : &it->second;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Menus.
// ---------------------------------------------------------------------------------------
CMenuResourceItem MenuItem(const CString& text, UINT nID, UINT nFlags)
{
    CMenuResourceItem item;
    item.text = text;
    item.nID = nID;
    item.nFlags = nFlags;
    return item;
}

CMenuResourceItem MenuSeparator()
{
    CMenuResourceItem item;
    item.nFlags = MF_SEPARATOR;
    return item;
}

CMenuResourceItem MenuPopup(const CString& text, std::vector<CMenuResourceItem> children, UINT nFlags)
{
    CMenuResourceItem item;
    item.text = text;
    item.nFlags = nFlags | MF_POPUP;
    item.children = std::move(children);
    return item;
}

bool RegisterMenuResource(UINT nID, MenuResourceFactory factory)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    t.menus.erase(nID);
    t.menuFactories[nID] = std::move(factory);
    return true;
}

bool RegisterMenuResource(UINT nID, std::vector<CMenuResourceItem> items)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    t.menuFactories.erase(nID);
    t.menus[nID] = std::move(items);
    return true;
}

const std::vector<CMenuResourceItem>* FindMenuResource(UINT nID)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    auto f = t.menuFactories.find(nID);
    if (f != t.menuFactories.end()) {
        MenuResourceFactory factory = std::move(f->second);
        t.menuFactories.erase(f);
        t.menus[nID] = factory();
    }
    auto it = t.menus.find(nID);
    return it == t.menus.end() ? nullptr : &it->second;
}

std::vector<UINT> GetMenuResourceIds()
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    std::set<UINT> ids;
    for (const auto& entry : t.menuFactories)
        ids.insert(entry.first);
    for (const auto& entry : t.menus)
        ids.insert(entry.first);
    return std::vector<UINT>(ids.begin(), ids.end());
}

// ---------------------------------------------------------------------------------------
// Accelerators.
// ---------------------------------------------------------------------------------------
bool RegisterAcceleratorResource(UINT nID, std::vector<ACCEL> entries)
{
    return StoreResource(&CResourceTables::accelerators, nID, std::move(entries));
}

const std::vector<ACCEL>* FindAcceleratorResource(UINT nID)
{
    return LookUpResource(&CResourceTables::accelerators, nID);
}

HACCEL AfxLoadAccelerators(UINT nID)
{
    if (!FindAcceleratorResource(nID))
        return nullptr;
    return reinterpret_cast<HACCEL>(kAccelMarker | nID);
}

HACCEL LoadAccelerators(HINSTANCE hInstance, LPCTSTR lpTableName)
{
    (void)hInstance;
    if (!lpTableName || !IS_INTRESOURCE(lpTableName))
        return nullptr;
    return AfxLoadAccelerators(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpTableName)));
}

const std::vector<ACCEL>& AfxGetAcceleratorEntries(HACCEL hAccel)
{
    static const std::vector<ACCEL> empty;
    const uintptr_t v = reinterpret_cast<uintptr_t>(hAccel);
    if (!(v & kAccelMarker))
        return empty;
    const std::vector<ACCEL>* p = FindAcceleratorResource(static_cast<UINT>(v & ~kAccelMarker));
    return p ? *p : empty;
}

BOOL TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    if (!lpMsg || !hAccTable)
        return FALSE;
    const UINT nMsg = lpMsg->message;
    const bool keyDown = nMsg == WM_KEYDOWN || nMsg == WM_SYSKEYDOWN;
    const bool charMsg = nMsg == WM_CHAR || nMsg == WM_SYSCHAR;
    if (!keyDown && !charMsg)
        return FALSE;
    const bool shift = ::GetKeyState(VK_SHIFT) < 0;
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    const bool alt = ::GetKeyState(VK_MENU) < 0 || nMsg == WM_SYSKEYDOWN || nMsg == WM_SYSCHAR;
    for (const ACCEL& a : AfxGetAcceleratorEntries(hAccTable)) {
        bool match = false;
        if (a.fVirt & FVIRTKEY) {
            match = keyDown && a.key == lpMsg->wParam && ((a.fVirt & FSHIFT) != 0) == shift &&
                    ((a.fVirt & FCONTROL) != 0) == control && ((a.fVirt & FALT) != 0) == alt;
        } else {
            // A character entry matches the typed character (Alt as given).
            match = charMsg && a.key == lpMsg->wParam && ((a.fVirt & FALT) != 0) == alt;
        }
        if (match) {
            if (CWnd* pWnd = CWnd::FromHandle(hWnd))
                pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
            return TRUE;
        }
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------
// Strings.
// ---------------------------------------------------------------------------------------
bool RegisterStringResource(UINT nID, const CString& text)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    RunStringFactories(t);
    t.strings[nID] = text;
    return true;
}

bool RegisterStringTable(StringTableFactory factory)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    t.stringFactories.push_back(std::move(factory));
    return true;
}

BOOL AfxLoadString(UINT nID, CString& rString)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    RunStringFactories(t);
    auto it = t.strings.find(nID);
    if (it == t.strings.end()) {
        rString.Empty();
        return FALSE;
    }
    rString = it->second;
    return TRUE;
}

CString AfxLoadString(UINT nID)
{
    CString s;
    AfxLoadString(nID, s);
    return s;
}

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, char chSep)
{
    rString.Empty();
    if (!lpszFullString)
        return FALSE;
    const char* p = lpszFullString;
    while (iSubString--) {
        p = std::strchr(p, chSep);
        if (!p)
            return FALSE;
        ++p;
    }
    const char* end = std::strchr(p, chSep);
    rString = end ? CString(p, static_cast<int>(end - p)) : CString(p);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Images.
// ---------------------------------------------------------------------------------------
CImageResource ImageFromFile(const std::string& path)
{
    CImageResource r;
    r.path = path;
    return r;
}

CImageResource ImageFromData(const unsigned char* data, size_t size)
{
    CImageResource r;
    r.data = data;
    r.size = size;
    return r;
}

CImageResource ImageFromXpm(const char* const* xpm)
{
    CImageResource r;
    r.xpm = xpm;
    return r;
}

void SetResourceFolder(const std::string& nativeFolder)
{
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    t.folder = nativeFolder;
}

std::string GetResourceFolder()
{
    if (const char* env = std::getenv("MORVEL_RESOURCES"); env && *env)
        return env;
    CResourceTables& t = Tables();
    std::lock_guard<std::recursive_mutex> lock(t.mutex);
    if (!t.folder.empty())
        return t.folder;
    // Beside the program. (The program's own pictures are compiled in; a folder is only
    // looked in for pictures registered by file name.) Never the current folder: without
    // an application there is no folder, and relative names find nothing.
    if (QCoreApplication::instance())
        return (QCoreApplication::applicationDirPath() + QStringLiteral("/resources")).toStdString();
    return std::string();
}

bool AfxLoadResourceImage(const CImageResource& image, QImage& out)
{
    out = QImage();
    if (image.xpm) {
        out = QImage(image.xpm);
    } else if (image.data && image.size > 0) {
        out.loadFromData(image.data, static_cast<int>(image.size));
    } else if (!image.path.empty()) {
        std::string path = image.path;
        if (path.front() != '/') {
            const std::string folder = GetResourceFolder();
            path = folder.empty() ? std::string() : folder + "/" + path;
        }
        if (!path.empty())
            out.load(QString::fromStdString(path));
    }
    return !out.isNull();
}

bool RegisterBitmapResource(UINT nID, const CImageResource& image)
{
    return StoreResource(&CResourceTables::bitmaps, nID, image);
}

const CImageResource* FindBitmapResource(UINT nID)
{
    return LookUpResource(&CResourceTables::bitmaps, nID);
}

bool RegisterToolBarResource(UINT nID, const CToolBarResource& toolBar)
{
    return StoreResource(&CResourceTables::toolBars, nID, toolBar);
}

const CToolBarResource* FindToolBarResource(UINT nID)
{
    return LookUpResource(&CResourceTables::toolBars, nID);
}

bool RegisterCursorResource(UINT nID, const CImageResource& image, int xHotSpot, int yHotSpot)
{
    return StoreResource(&CResourceTables::cursors, nID, CCursorResource{image, xHotSpot, yHotSpot});
}

const CCursorResource* FindCursorResource(UINT nID)
{
    return LookUpResource(&CResourceTables::cursors, nID);
}

bool RegisterIconResource(UINT nID, const CImageResource& image)
{
    return StoreResource(&CResourceTables::icons, nID, image);
}

const CImageResource* FindIconResource(UINT nID)
{
    return LookUpResource(&CResourceTables::icons, nID);
}

// CBitmap::LoadBitmap finds the bitmaps registered here.
namespace {
const bool s_bitmapLoaderInstalled = [] {
    SetBitmapResourceLoader([](UINT nID, const char* lpszName) -> QImage {
        (void)lpszName;
        QImage image;
        if (const CImageResource* p = FindBitmapResource(nID))
            AfxLoadResourceImage(*p, image);
        return image;
    });
    return true;
}();
} // namespace
