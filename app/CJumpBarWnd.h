// CJumpBarWnd: the small bar at the bottom left of a grid view holding the four jump
// buttons (first column, last column, first row, last row). It is a child window of the
// view with a tool bar inside; each button sends its command (ID_JUMP_FIRST_COLUMN ...
// ID_JUMP_LAST_ROW) to the view, whichever view of the window is active.
#pragma once

#include "platform/ui/core/CWnd.h"

#include <memory>

class CToolBar;

class CJumpBarWnd : public CWnd {
    DECLARE_DYNAMIC(CJumpBarWnd)
public:
    CJumpBarWnd();
    ~CJumpBarWnd() override;

    // A visible child of the grid view at the given place (the view lays it out later).
    BOOL Create(CWnd* pParentView, const RECT& rect, UINT nID);

    // The bar with the buttons (null before creation).
    CToolBar* GetToolBar() const { return m_pToolBar.get(); }

    // Commands of the buttons go on to the view.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    DECLARE_MESSAGE_MAP()

protected:
    std::unique_ptr<CToolBar> m_pToolBar;
};
