// CTreeView: a view that is a tree control. GetTreeCtrl gives the control's operations on
// the view's own window; the control's notifications reach the view reflected
// (ON_NOTIFY_REFLECT).
#pragma once

#include "platform/ui/controls/CTreeCtrl.h"
#include "platform/ui/frames/CCtrlView.h"

class CTreeView : public CCtrlView {
    DECLARE_DYNCREATE(CTreeView)
public:
    CTreeView();
    ~CTreeView() override;

    CTreeCtrl& GetTreeCtrl() const;

    DECLARE_MESSAGE_MAP()

private:
    // Speaks to the view's window; it never owns it.
    mutable CTreeCtrl m_treeCtrl;
};
