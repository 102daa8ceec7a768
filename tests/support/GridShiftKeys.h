// Shift over a grid as a user holds and lets it go: pressed, with keys typed while it is
// down, and released in the grid or elsewhere (a context menu the keys opened). Both grids'
// tests of Shift extensions use these.
#pragma once

#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Menu_p.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include <initializer_list>
#include <memory>

namespace GridShiftKeys {

// One key going down or up, with the modifiers the keyboard holds at that moment.
inline void SendKey(QWidget* pWidget, QEvent::Type type, int nKey, Qt::KeyboardModifiers mods)
{
    QKeyEvent event(type, nKey, mods);
    QApplication::sendEvent(pWidget, &event);
}

// Shift goes down, the keys are typed while it is held; Shift stays down.
inline void HoldShiftOver(QWidget* pWidget, std::initializer_list<int> keys)
{
    SendKey(pWidget, QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    for (int nKey : keys) {
        SendKey(pWidget, QEvent::KeyPress, nKey, Qt::ShiftModifier);
        SendKey(pWidget, QEvent::KeyRelease, nKey, Qt::ShiftModifier);
    }
}

// Shift held over the keys, then let go where they were typed.
inline void ShiftKeys(QWidget* pWidget, std::initializer_list<int> keys)
{
    HoldShiftOver(pWidget, keys);
    SendKey(pWidget, QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
}

// With Shift held, Shift+F10 opens the grid's context menu; Shift goes up while the menu
// has the keyboard, and the menu closes with nothing chosen. The number of menus opened.
inline int ReleaseShiftInContextMenu(QWidget* pGrid, HWND hMainWnd)
{
    int nMenus = 0;
    const PopupMenuChooser previous = AfxSetPopupMenuChooser([&](CMenu* pPopup) -> UINT {
        ++nMenus;
        std::unique_ptr<QMenu> pMenu(AfxBuildQMenu(pPopup->m_hMenu, hMainWnd, nullptr));
        SendKey(pMenu.get(), QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
        return 0u;
    });
    SendKey(pGrid, QEvent::KeyPress, Qt::Key_F10, Qt::ShiftModifier);
    AfxSetPopupMenuChooser(previous);
    SendKey(pGrid, QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier);
    return nMenus;
}

} // namespace GridShiftKeys
