#include "platform/ui/core/CMenu.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

struct CMenuData {
    std::vector<CMenuItemData> items;
    bool popup = false;
    CMenu* pPermanent = nullptr;
    std::unique_ptr<CMenu> temporary;
};

struct CMenuTable {
    std::map<uintptr_t, std::unique_ptr<CMenuData>> menus;
    uintptr_t next = 0x10;
    PopupMenuChooser chooser;

    // Menus still alive at exit die with the table; their temporary wrappers would look
    // themselves up in the map being taken apart, so they are detached first.
    ~CMenuTable()
    {
        for (auto& entry : menus)
            if (entry.second->temporary)
                entry.second->temporary->m_hMenu = nullptr;
    }
};

CMenuTable& Table()
{
    static CMenuTable table;
    return table;
}

CMenuData* DataOf(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    auto& m = Table().menus;
    auto it = m.find(reinterpret_cast<uintptr_t>(hMenu));
    return it == m.end() ? nullptr : it->second.get();
}

HMENU NewMenu(bool popup)
{
    CMenuTable& t = Table();
    const uintptr_t n = t.next;
    t.next += 0x10;
    auto p = std::make_unique<CMenuData>();
    p->popup = popup;
    t.menus[n] = std::move(p);
    return reinterpret_cast<HMENU>(n);
}

void DestroyMenuHandle(HMENU hMenu)
{
    CMenuData* p = DataOf(hMenu);
    if (!p)
        return;
    for (const CMenuItemData& item : p->items) {
        if (item.hSub)
            DestroyMenuHandle(item.hSub);
    }
    if (p->pPermanent)
        p->pPermanent->m_hMenu = nullptr;
    // The temporary wrapper dies with the menu; detach it first so that its destructor
    // leaves the (already going) menu alone.
    if (p->temporary)
        p->temporary->m_hMenu = nullptr;
    Table().menus.erase(reinterpret_cast<uintptr_t>(hMenu));
}

HMENU BuildFromResource(const std::vector<CMenuResourceItem>& items, bool popup)
{
    HMENU h = NewMenu(popup);
    for (const CMenuResourceItem& r : items) {
        CMenuItemData item;
        item.text = r.text;
        item.nID = r.nID;
        item.flags = r.nFlags & ~MF_POPUP;
        if (!r.children.empty() || (r.nFlags & MF_POPUP)) {
            item.flags |= MF_POPUP;
            item.nID = 0;
            item.hSub = BuildFromResource(r.children, true);
        }
        if (item.text.IsEmpty() && item.nID == 0 && !item.hSub)
            item.flags |= MF_SEPARATOR;
        DataOf(h)->items.push_back(std::move(item));
    }
    return h;
}

// Finds an item by position or by command (searching nested pop-ups, as Windows does).
bool FindItem(HMENU hMenu, UINT nItem, UINT nFlags, HMENU* phOwner, size_t* pIndex)
{
    CMenuData* p = DataOf(hMenu);
    if (!p)
        return false;
    if (nFlags & MF_BYPOSITION) {
        if (nItem >= p->items.size())
            return false;
        *phOwner = hMenu;
        *pIndex = nItem;
        return true;
    }
    for (size_t i = 0; i < p->items.size(); ++i) {
        const CMenuItemData& item = p->items[i];
        if (!(item.flags & (MF_POPUP | MF_SEPARATOR)) && item.nID == nItem) {
            *phOwner = hMenu;
            *pIndex = i;
            return true;
        }
    }
    for (const CMenuItemData& item : p->items) {
        if (item.hSub && FindItem(item.hSub, nItem, nFlags, phOwner, pIndex))
            return true;
    }
    return false;
}

CMenuItemData MakeItem(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    CMenuItemData item;
    item.flags = nFlags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP | MF_HELP |
                           MF_MENUBREAK | MF_MENUBARBREAK | MF_DEFAULT | MF_OWNERDRAW | MF_BITMAP);
    if (nFlags & MF_POPUP) {
        item.hSub = reinterpret_cast<HMENU>(nIDNewItem);
        item.nID = 0;
    } else {
        item.nID = static_cast<UINT>(nIDNewItem);
    }
    if (!(nFlags & MF_SEPARATOR) && !(nFlags & (MF_OWNERDRAW | MF_BITMAP)) && lpszNewItem)
        item.text = lpszNewItem;
    return item;
}

QString ToQt(const CString& s)
{
    const std::u16string u = Cp932ToUtf16(s.str(), true);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

void FillQMenu(QMenu* pMenu, HMENU hMenu, HWND hOwner);

void SendToOwner(HWND hOwner, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* pOwner = CWnd::FromHandle(hOwner))
        pOwner->SendMessage(nMsg, wParam, lParam);
}

// Before a pop-up opens: its owner hears WM_INITMENUPOPUP. Frames run the command-state
// update in their handler; for any other owner (a view tracking a context menu or a
// tool-bar menu) the update runs here, along the owner's own command route, so that a
// pop-up shows the same states whoever owns it.
void InitPopupForOwner(HWND hOwner, HMENU hMenu, UINT nIndex)
{
    CWnd* pOwner = CWnd::FromHandle(hOwner);
    if (!pOwner)
        return;
    pOwner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu),
                        MAKELPARAM(static_cast<WORD>(nIndex), FALSE));
    if (!pOwner->IsFrameWnd() && ::IsWindow(hOwner))
        AfxUpdateOwnedPopupCmdUI(CMenu::FromHandle(hMenu), pOwner);
}

QMenu* MakeSubMenu(QWidget* pParent, HMENU hSub, int nIndex, HWND hOwner, HMENU hContainer, bool topLevel)
{
    auto* pSub = new QMenu(pParent);
    QPointer<QMenu> guard(pSub);
    QObject::connect(pSub, &QMenu::aboutToShow, pSub, [guard, hSub, nIndex, hOwner, hContainer, topLevel] {
        if (topLevel) {
            // The highlighted menu-bar entry is reported before its pop-up opens.
            SendToOwner(hOwner, WM_MENUSELECT,
                        MAKEWPARAM(static_cast<WORD>(nIndex),
                                   static_cast<WORD>(MF_POPUP | MF_HILITE | MF_MOUSESELECT)),
                        reinterpret_cast<LPARAM>(hContainer));
        }
        InitPopupForOwner(hOwner, hSub, static_cast<UINT>(nIndex));
        if (guard)
            FillQMenu(guard, hSub, hOwner);
    });
    return pSub;
}

void FillQMenu(QMenu* pMenu, HMENU hMenu, HWND hOwner)
{
    // The pop-ups of the previous filling go too (they are not visible: their parent is
    // about to be shown).
    for (QMenu* pOld : pMenu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        pOld->deleteLater();
    pMenu->clear();
    CMenuData* p = DataOf(hMenu);
    if (!p)
        return;
    for (size_t i = 0; i < p->items.size(); ++i) {
        const CMenuItemData& item = p->items[i];
        if (item.flags & MF_SEPARATOR) {
            pMenu->addSeparator();
            continue;
        }
        const bool enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
        if (item.hSub) {
            QMenu* pSub = MakeSubMenu(pMenu, item.hSub, static_cast<int>(i), hOwner, hMenu, false);
            pSub->setTitle(ToQt(item.text));
            QAction* a = pMenu->addMenu(pSub);
            a->setEnabled(enabled);
            continue;
        }
        QAction* a = pMenu->addAction(ToQt(item.text));
        a->setData(item.nID);
        a->setEnabled(enabled);
        if (item.flags & MF_CHECKED) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        const UINT nID = item.nID;
        const UINT flags = item.flags;
        QObject::connect(a, &QAction::hovered, pMenu, [hOwner, nID, flags, hMenu] {
            SendToOwner(hOwner, WM_MENUSELECT,
                        MAKEWPARAM(static_cast<WORD>(nID), static_cast<WORD>(flags | MF_HILITE)),
                        reinterpret_cast<LPARAM>(hMenu));
        });
    }
}

void SendMenuClosed(HWND hOwner)
{
    // The menus closed: item and flags 0xFFFF, no menu.
    SendToOwner(hOwner, WM_MENUSELECT, MAKEWPARAM(0xFFFF, 0xFFFF), 0);
}

} // namespace

// ---------------------------------------------------------------------------------------
// The private interface.
// ---------------------------------------------------------------------------------------
std::vector<CMenuItemData>* AfxGetMenuItems(HMENU hMenu)
{
    CMenuData* p = DataOf(hMenu);
    return p ? &p->items : nullptr;
}

BOOL IsMenu(HMENU hMenu)
{
    return DataOf(hMenu) != nullptr;
}

QMenu* AfxBuildQMenu(HMENU hMenu, HWND hOwner, QWidget* pParent)
{
    auto* pMenu = new QMenu(pParent);
    FillQMenu(pMenu, hMenu, hOwner);
    return pMenu;
}

void AfxFillMenuBar(QMenuBar* pBar, HMENU hMenu, HWND hOwner)
{
    pBar->clear();
    CMenuData* p = DataOf(hMenu);
    if (!p)
        return;
    QPointer<QMenuBar> bar(pBar);
    for (size_t i = 0; i < p->items.size(); ++i) {
        const CMenuItemData& item = p->items[i];
        if (item.flags & MF_SEPARATOR)
            continue;
        if (item.hSub) {
            QMenu* pSub = MakeSubMenu(pBar, item.hSub, static_cast<int>(i), hOwner, hMenu, true);
            pSub->setTitle(ToQt(item.text));
            QAction* a = pBar->addMenu(pSub);
            a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            QObject::connect(pSub, &QMenu::aboutToHide, pBar, [bar, hOwner] {
                // Moving from one menu to the next hides one and shows the other; only when
                // no menu is open any more have the menus closed.
                QTimer::singleShot(0, [bar, hOwner] {
                    if (!bar)
                        return;
                    for (QAction* a : bar->actions()) {
                        if (a->menu() && a->menu()->isVisible())
                            return;
                    }
                    SendMenuClosed(hOwner);
                });
            });
            continue;
        }
        QAction* a = pBar->addAction(ToQt(item.text));
        a->setData(item.nID);
        a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    }
    // The bar is filled again whenever the active document changes; it is connected once
    // and sends to the owner of its latest filling.
    pBar->setProperty("morvelMenuOwner", QVariant::fromValue(reinterpret_cast<quintptr>(hOwner)));
    if (!pBar->property("morvelMenuConnected").toBool()) {
        pBar->setProperty("morvelMenuConnected", true);
        QObject::connect(pBar, &QMenuBar::triggered, pBar, [bar](QAction* a) {
            const UINT nID = a->data().toUInt();
            if (nID == 0 || !bar)
                return;
            HWND hTarget = reinterpret_cast<HWND>(bar->property("morvelMenuOwner").value<quintptr>());
            ::PostMessage(hTarget, WM_COMMAND, nID, 0);
        });
    }
}

PopupMenuChooser AfxSetPopupMenuChooser(PopupMenuChooser chooser)
{
    PopupMenuChooser old = std::move(Table().chooser);
    Table().chooser = std::move(chooser);
    return old;
}

// ---------------------------------------------------------------------------------------
// CMenu.
// ---------------------------------------------------------------------------------------
CMenu::~CMenu()
{
    if (m_hMenu && m_bOwnsHandle)
        DestroyMenu();
    else if (CMenuData* p = DataOf(m_hMenu); p && p->pPermanent == this)
        p->pPermanent = nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    CMenuData* p = DataOf(hMenu);
    if (!p)
        return nullptr;
    if (p->pPermanent)
        return p->pPermanent;
    if (!p->temporary) {
        p->temporary = std::make_unique<CMenu>();
        p->temporary->m_hMenu = hMenu;
    }
    return p->temporary.get();
}

BOOL CMenu::CreateMenu()
{
    if (m_hMenu)
        return FALSE;
    m_hMenu = NewMenu(false);
    DataOf(m_hMenu)->pPermanent = this;
    m_bOwnsHandle = TRUE;
    return TRUE;
}

BOOL CMenu::CreatePopupMenu()
{
    if (m_hMenu)
        return FALSE;
    m_hMenu = NewMenu(true);
    DataOf(m_hMenu)->pPermanent = this;
    m_bOwnsHandle = TRUE;
    return TRUE;
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    if (m_hMenu)
        return FALSE;
    const std::vector<CMenuResourceItem>* pItems = FindMenuResource(nIDResource);
    if (!pItems)
        return FALSE;
    m_hMenu = BuildFromResource(*pItems, false);
    DataOf(m_hMenu)->pPermanent = this;
    m_bOwnsHandle = TRUE;
    return TRUE;
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    if (!lpszResourceName || !IS_INTRESOURCE(lpszResourceName))
        return FALSE;
    return LoadMenu(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszResourceName)));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    m_bOwnsHandle = FALSE;
    if (CMenuData* p = DataOf(h); p && p->pPermanent == this)
        p->pPermanent = nullptr;
    DestroyMenuHandle(h);
    return TRUE;
}

BOOL CMenu::Attach(HMENU hMenu)
{
    CMenuData* p = DataOf(hMenu);
    if (m_hMenu || !p)
        return FALSE;
    m_hMenu = hMenu;
    p->pPermanent = this;
    m_bOwnsHandle = TRUE;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    if (CMenuData* p = DataOf(h); p && p->pPermanent == this)
        p->pPermanent = nullptr;
    m_hMenu = nullptr;
    m_bOwnsHandle = FALSE;
    return h;
}

int CMenu::GetMenuItemCount() const
{
    CMenuData* p = DataOf(m_hMenu);
    return p ? static_cast<int>(p->items.size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    CMenuData* p = DataOf(m_hMenu);
    if (!p || nPos < 0 || static_cast<size_t>(nPos) >= p->items.size())
        return static_cast<UINT>(-1);
    const CMenuItemData& item = p->items[static_cast<size_t>(nPos)];
    if (item.hSub)
        return static_cast<UINT>(-1);
    if (item.flags & MF_SEPARATOR)
        return 0;
    return item.nID;
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    CMenuData* p = DataOf(m_hMenu);
    if (!p || nPos < 0 || static_cast<size_t>(nPos) >= p->items.size())
        return nullptr;
    HMENU hSub = p->items[static_cast<size_t>(nPos)].hSub;
    return hSub ? FromHandle(hSub) : nullptr;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const
{
    HMENU hOwner = nullptr;
    size_t index = 0;
    if (!FindItem(m_hMenu, nID, nFlags, &hOwner, &index))
        return static_cast<UINT>(-1);
    const CMenuItemData& item = DataOf(hOwner)->items[index];
    UINT state = item.flags & ~MF_POPUP;
    if (item.hSub) {
        CMenuData* pSub = DataOf(item.hSub);
        state = MF_POPUP | (item.flags & (MF_GRAYED | MF_DISABLED)) |
                (static_cast<UINT>(pSub ? pSub->items.size() : 0) << 8);
    }
    return state;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    HMENU hOwner = nullptr;
    size_t index = 0;
    rString.Empty();
    if (!FindItem(m_hMenu, nIDItem, nFlags, &hOwner, &index))
        return 0;
    rString = DataOf(hOwner)->items[index].text;
    return rString.GetLength();
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const
{
    CString s;
    GetMenuString(nIDItem, s, nFlags);
    if (!lpString || nMaxCount <= 0)
        return s.GetLength();
    int n = std::min(s.GetLength(), nMaxCount - 1);
    // Never cut a double-byte character in half.
    int safe = 0;
    for (int i = 0; i < n;) {
        const int len = Cp932CharLength(s.c_str() + i);
        if (i + len > n)
            break;
        i += len;
        safe = i;
    }
    std::memcpy(lpString, s.c_str(), static_cast<size_t>(safe));
    lpString[safe] = '\0';
    return safe;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    HMENU hOwner = nullptr;
    size_t index = 0;
    if (!FindItem(m_hMenu, nIDEnableItem, nEnable, &hOwner, &index))
        return static_cast<UINT>(-1);
    CMenuItemData& item = DataOf(hOwner)->items[index];
    const UINT prev = item.flags & (MF_GRAYED | MF_DISABLED);
    item.flags = (item.flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return prev;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    HMENU hOwner = nullptr;
    size_t index = 0;
    if (!FindItem(m_hMenu, nIDCheckItem, nCheck, &hOwner, &index))
        return static_cast<UINT>(-1);
    CMenuItemData& item = DataOf(hOwner)->items[index];
    const UINT prev = item.flags & MF_CHECKED;
    item.flags = (item.flags & ~MF_CHECKED) | (nCheck & MF_CHECKED);
    return prev;
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
{
    CMenuData* p = DataOf(m_hMenu);
    if (!p)
        return FALSE;
    BOOL bFound = FALSE;
    if (nFlags & MF_BYPOSITION) {
        for (UINT i = nIDFirst; i <= nIDLast && i < p->items.size(); ++i) {
            CMenuItemData& item = p->items[i];
            if (i == nIDItem) {
                item.flags |= MF_CHECKED;
                bFound = TRUE;
            } else {
                item.flags &= ~MF_CHECKED;
            }
        }
        return bFound;
    }
    for (UINT id = nIDFirst; id <= nIDLast; ++id) {
        if (CheckMenuItem(id, MF_BYCOMMAND | (id == nIDItem ? MF_CHECKED : MF_UNCHECKED)) !=
                static_cast<UINT>(-1) &&
            id == nIDItem)
            bFound = TRUE;
    }
    return bFound;
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos)
{
    CMenuData* p = DataOf(m_hMenu);
    if (!p)
        return FALSE;
    for (size_t i = 0; i < p->items.size(); ++i) {
        CMenuItemData& item = p->items[i];
        const bool match = fByPos ? i == uItem : item.nID == uItem;
        item.flags = match ? (item.flags | MF_DEFAULT) : (item.flags & ~MF_DEFAULT);
    }
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    CMenuData* p = DataOf(m_hMenu);
    if (!p)
        return FALSE;
    p->items.push_back(MakeItem(nFlags, nIDNewItem, lpszNewItem));
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    CMenuData* p = DataOf(m_hMenu);
    if (!p)
        return FALSE;
    CMenuItemData item = MakeItem(nFlags, nIDNewItem, lpszNewItem);
    if (nFlags & MF_BYPOSITION) {
        if (nPosition >= p->items.size())
            p->items.push_back(std::move(item));
        else
            p->items.insert(p->items.begin() + nPosition, std::move(item));
        return TRUE;
    }
    HMENU hOwner = nullptr;
    size_t index = 0;
    if (!FindItem(m_hMenu, nPosition, MF_BYCOMMAND, &hOwner, &index))
        return FALSE;
    auto& v = DataOf(hOwner)->items;
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    HMENU hOwner = nullptr;
    size_t index = 0;
    if (!FindItem(m_hMenu, nPosition, nFlags, &hOwner, &index))
        return FALSE;
    CMenuItemData& item = DataOf(hOwner)->items[index];
    HMENU hOldSub = item.hSub;
    CMenuItemData next = MakeItem(nFlags & ~MF_BYPOSITION, nIDNewItem, lpszNewItem);
    if (hOldSub && next.hSub != hOldSub)
        DestroyMenuHandle(hOldSub);
    item = std::move(next);
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    HMENU hOwner = nullptr;
    size_t index = 0;
    if (!FindItem(m_hMenu, nPosition, nFlags, &hOwner, &index))
        return FALSE;
    auto& v = DataOf(hOwner)->items;
    HMENU hSub = v[index].hSub;
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(index));
    if (hSub)
        DestroyMenuHandle(hSub);
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    HMENU hOwner = nullptr;
    size_t index = 0;
    if (!FindItem(m_hMenu, nPosition, nFlags, &hOwner, &index))
        return FALSE;
    auto& v = DataOf(hOwner)->items;
    v.erase(v.begin() + static_cast<std::ptrdiff_t>(index));
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    (void)lpRect;
    if (!m_hMenu || !pWnd || !pWnd->m_hWnd)
        return FALSE;
    HWND hOwner = pWnd->m_hWnd;
    HMENU hMenu = m_hMenu;
    InitPopupForOwner(hOwner, hMenu, 0);
    UINT nChosen = 0;
    if (Table().chooser) {
        nChosen = Table().chooser(this);
    } else {
        QMenu* pMenu = AfxBuildQMenu(hMenu, hOwner, nullptr);
        QAction* a = pMenu->exec(QPoint(x, y));
        nChosen = a ? a->data().toUInt() : 0;
        delete pMenu;
        SendMenuClosed(hOwner);
    }
    if (nFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(nChosen);
    if (nChosen != 0 && !(nFlags & TPM_NONOTIFY))
        ::PostMessage(hOwner, WM_COMMAND, nChosen, 0);
    return nChosen != 0;
}

CMenu* AfxFindPopupMenuFromID(CMenu* pMenu, UINT nID)
{
    if (!pMenu)
        return nullptr;
    const int n = pMenu->GetMenuItemCount();
    for (int i = 0; i < n; ++i) {
        if (CMenu* pSub = pMenu->GetSubMenu(i)) {
            if (CMenu* pFound = AfxFindPopupMenuFromID(pSub, nID))
                return pFound;
        } else if (pMenu->GetMenuItemID(i) == nID) {
            return pMenu;
        }
    }
    return nullptr;
}
