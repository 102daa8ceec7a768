// Helpers of the dialog and control tests: a dialog that notes the notifications its
// controls send, and templates made for the tests.
#pragma once

#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/DialogTemplate.h"

#include <utility>
#include <vector>

// A dialog of any template that records (control id, notification code) of every
// WM_COMMAND a control sends, before the usual handling.
class CNotifyDialog : public CDialog {
public:
    explicit CNotifyDialog(UINT nIDTemplate, CWnd* pParent = nullptr) : CDialog(nIDTemplate, pParent) {}

    std::vector<std::pair<int, int>> notes;

    int Count(int nID, int nCode) const
    {
        int n = 0;
        for (const auto& [id, code] : notes) {
            if (id == nID && code == nCode)
                ++n;
        }
        return n;
    }
    void Clear() { notes.clear(); }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam != 0)
            notes.emplace_back(static_cast<int>(LOWORD(static_cast<DWORD>(wParam))),
                               static_cast<int>(HIWORD(static_cast<DWORD>(wParam))));
        return CDialog::OnCommand(wParam, lParam);
    }
};

// A dialog built from controls alone, for the control tests: the template gets the id
// and a plain caption.
inline void RegisterTestTemplate(UINT nID, std::vector<DialogControl> controls, int cx = 200, int cy = 120)
{
    DialogTemplate t(nID, CString("test"), cx, cy, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                     std::move(controls));
    RegisterDialogTemplate(t);
}
