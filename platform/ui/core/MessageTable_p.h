// Window procedures written as tables (platform/ui internal; not for code outside the
// window layer).
//
// A window class that answers many messages gives each message a handler function of its
// own and lists them in one table; its window procedure finds the window's state, looks the
// message up and calls the handler. A new message is a new handler and a new row, not a
// branch in a long switch:
//
//     LRESULT OnGetCount(CListWidget* w, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
//     {
//         return w->count();
//     }
//
//     using ListBoxHandler = LRESULT (*)(CListWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*);
//     constexpr CMessageHandler<ListBoxHandler> kListBoxMessages[] = {
//         {LB_GETCOUNT, OnGetCount},
//     };
//     static_assert(AfxMessagesUnique(kListBoxMessages), "a message has two handlers");
//
// All handlers of one table take the same parameters, so that one handler may serve several
// messages (it tells them apart by nMsg); parameters a handler does not use stay unnamed.
#pragma once

#include "platform/ui/core/WinDefs.h"

#include <cstddef>

template <class Handler>
struct CMessageHandler {
    UINT nMsg;
    Handler pfnHandler;
};

// The handler the table gives for nMsg, or nullptr when the table does not list it. The
// tables are a few dozen rows, so a walk costs less than a map lookup would.
template <class Handler, std::size_t N>
Handler AfxFindMessageHandler(const CMessageHandler<Handler> (&table)[N], UINT nMsg)
{
    for (const CMessageHandler<Handler>& entry : table) {
        if (entry.nMsg == nMsg)
            return entry.pfnHandler;
    }
    return nullptr;
}

// True when no message appears twice: a second row would never be reached. Checked at
// compile time beside each table, as a switch would check its case labels.
template <class Handler, std::size_t N>
constexpr bool AfxMessagesUnique(const CMessageHandler<Handler> (&table)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = i + 1; j < N; ++j) {
            if (table[i].nMsg == table[j].nMsg)
                return false;
        }
    }
    return true;
}
