// Scripted drags for tests. The desktop's drag loop needs a display and a person moving the
// mouse; while a script is installed, COleDataSource::DoDragDrop plays the script instead:
// the drag moves over the windows of the steps in turn (drag-enter, drag-over and
// drag-leave reach their drop targets as in a real drag), then drops on the last one or is
// cancelled. The key state of the last step is what GetKeyState reports afterwards, as the
// keyboard would when the mouse button is released.
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

#include <functional>
#include <vector>

class CWnd;

struct CDragScriptStep {
    CWnd* pWnd = nullptr;          // the window under the mouse; null: over no window of ours
    CPoint point;                  // client coordinates of pWnd
    DWORD dwKeyState = MK_LBUTTON; // MK_LBUTTON, MK_SHIFT, MK_CONTROL
};

// One script serves the next DoDragDrop. bDrop: drop at the last step (else Esc).
// onStep runs before each step with its index (tests check the state between steps).
void AfxSetDragScript(std::vector<CDragScriptStep> steps, BOOL bDrop = TRUE,
                      std::function<void(int)> onStep = nullptr);
void AfxClearDragScript();
BOOL AfxHasDragScript();
