// IDrawingView: what a drawing object needs of the editor view that shows it. The layout
// editor's view implements it; the objects draw, hit-test, show their tool tips and redraw
// themselves through it, so they never depend on the editor itself.
//
// Three coordinate spaces meet here: object units (0.01 inch, origin at the page centre, y
// up), zoomed units (object units × zoom / 100, what the view's prepared device context
// maps onto the window) and client pixels. Zoom*/Unzoom* convert the first two,
// ClientToDoc*/DocToClient* the last two.
#pragma once

#include "platform/base/Types.h"

class CDrawObj;
class CToolTipCtrl;
class CView;

class IDrawingView {
public:
    virtual CRect ZoomRect(const CRect& rect) const = 0;
    virtual CRect UnzoomRect(const CRect& rect) const = 0;
    virtual CPoint ZoomPoint(CPoint point) const = 0;
    virtual int ZoomLength(int nLength) const = 0;
    virtual void ClientToDocRect(CRect& rect) = 0;
    virtual void DocToClient(CPoint& point) = 0;
    virtual void DocToClientRect(CRect& rect) = 0;

    // Repaints the object's area in this view.
    virtual void InvalObj(CDrawObj* pObj) = 0;
    // The view's tool tip, which shows the text under the mouse.
    virtual CToolTipCtrl& GetToolTip() = 0;
    // The clip box of the view's last paint, in zoomed units.
    virtual CRect GetLastClip() const = 0;
    // The line style a ruled line added to a table takes.
    virtual int GetRuleLineStyle() const = 0;
    // The window itself: an embedded item opens over it, and it shows the wait cursor.
    virtual CView& GetEditorView() = 0;

protected:
    IDrawingView() = default;
    ~IDrawingView() = default;
    IDrawingView(const IDrawingView&) = default;
    IDrawingView& operator=(const IDrawingView&) = default;
};
