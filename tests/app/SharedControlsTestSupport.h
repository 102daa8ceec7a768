// Helpers of the cell editor and shared control tests: a grid-view stand-in that records
// what reaches it, popup menus answered by program, and a held key.
#pragma once

#include "grid/IGridCellEditOwner.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/Menu_p.h"

#include "tests/platform/ui/CommonCtlTestSupport.h"

#include <functional>
#include <vector>

namespace sharedctl {

// A top-level self-drawn window standing for a grid view: it records every key the cell
// editor hands it (with what was true at that moment), every command and every scroll
// message.
class CTestGridView : public commonctl::CNotifyParent, public IGridCellEditOwner {
public:
    struct HandedKey {
        UINT nChar;
        UINT nRepCnt;
        BOOL bEditorVisible; // the editor was still visible when the key arrived
        BOOL bViewFocused;   // the view had the focus
    };
    std::vector<HandedKey> keys;
    std::vector<UINT> commandIds; // WM_COMMAND ids without a control
    CWnd* pEditor = nullptr;

    void OnCellEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override
    {
        (void)nFlags;
        keys.push_back({nChar, nRepCnt, pEditor && pEditor->IsWindowVisible(), CWnd::GetFocus() == this});
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && lParam == 0)
            commandIds.push_back(LOWORD(static_cast<DWORD>(wParam)));
        return commonctl::CNotifyParent::WindowProc(message, wParam, lParam);
    }
};

// While it lives, pop-up menus are not shown: the function sees the menu and answers with
// the chosen command (0 for none). Every menu shown is counted.
class CMenuAnswerer {
public:
    explicit CMenuAnswerer(std::function<UINT(CMenu* pPopup)> answer)
    {
        m_previous = AfxSetPopupMenuChooser([this, answer](CMenu* pPopup) {
            ++m_nShown;
            return answer ? answer(pPopup) : 0u;
        });
    }
    ~CMenuAnswerer() { AfxSetPopupMenuChooser(m_previous); }
    CMenuAnswerer(const CMenuAnswerer&) = delete;
    CMenuAnswerer& operator=(const CMenuAnswerer&) = delete;

    int Shown() const { return m_nShown; }

private:
    PopupMenuChooser m_previous;
    int m_nShown = 0;
};

// Holds a key down, as far as GetKeyState is concerned, for the scope.
class CHeldKey {
public:
    explicit CHeldKey(UINT nVirtKey) : m_nKey(nVirtKey & 0xFF)
    {
        CWndManager::Instance().m_keyDown[m_nKey] = true;
    }
    ~CHeldKey() { CWndManager::Instance().m_keyDown[m_nKey] = false; }
    CHeldKey(const CHeldKey&) = delete;
    CHeldKey& operator=(const CHeldKey&) = delete;

private:
    UINT m_nKey;
};

inline bool IsGrayed(CMenu* pMenu, UINT nID)
{
    return (pMenu->GetMenuState(nID, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

} // namespace sharedctl
