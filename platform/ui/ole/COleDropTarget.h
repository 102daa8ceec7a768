// COleDropTarget: makes a window a place to drop dragged data. Register it on the window;
// while something is dragged over the window the On... functions say what a drop would do
// (the effect) and OnDrop takes the data.
//
// The defaults hand the drag to the window when it is a view made for drops (CCtrlView and
// its tree view declare OnDragEnter, OnDragOver, OnDragLeave, OnDrop and OnDragScroll), and
// refuse it otherwise. Points are client coordinates of the window; the key state holds
// MK_LBUTTON, MK_RBUTTON, MK_SHIFT, MK_CONTROL and MK_ALT.
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/ole/COleDataObject.h"

class CWnd;
class CDropTargetFilter;

constexpr DWORD MK_ALT = 0x20;

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    ~COleDropTarget() override;

    // FALSE when the window does not exist or already has a drop target.
    BOOL Register(CWnd* pWnd);
    virtual void Revoke();
    CWnd* GetWindow() const { return m_pWnd; }
    HWND GetWindowHandle() const { return m_hWnd; }

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // TRUE when the data was taken.
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1 leaves the drop to OnDrop.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

private:
    friend class CDropTargetFilter;
    CWnd* m_pWnd = nullptr;
    HWND m_hWnd = nullptr;
    CDropTargetFilter* m_pFilter = nullptr;
};
