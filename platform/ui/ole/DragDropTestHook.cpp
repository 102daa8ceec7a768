#include "platform/ui/ole/DragDropTestHook.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/ole/OleData_p.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QPointer>
#include <QWidget>

namespace {

struct CDragScript {
    bool installed = false;
    std::vector<CDragScriptStep> steps;
    bool drop = true;
    std::function<void(int)> onStep;
};

CDragScript& Script()
{
    static CDragScript script;
    return script;
}

} // namespace

void AfxSetDragScript(std::vector<CDragScriptStep> steps, BOOL bDrop, std::function<void(int)> onStep)
{
    CDragScript& s = Script();
    s.installed = true;
    s.steps = std::move(steps);
    s.drop = bDrop != FALSE;
    s.onStep = std::move(onStep);
}

void AfxClearDragScript()
{
    Script() = CDragScript();
}

BOOL AfxHasDragScript()
{
    return Script().installed ? TRUE : FALSE;
}

Qt::DropAction AfxRunDragScript(QMimeData* pData, Qt::DropActions actions)
{
    // One script, one drag: take it out first (a drop handler may start another drag).
    CDragScript script = Script();
    AfxClearDragScript();

    QPointer<QWidget> pOver; // the drop widget under the mouse, when it took the enter
    bool bAccepted = false;  // the last move allowed a drop
    QPoint ptLast;
    DWORD dwLastKeys = MK_LBUTTON;
    for (size_t i = 0; i < script.steps.size(); ++i) {
        if (script.onStep)
            script.onStep(static_cast<int>(i));
        const CDragScriptStep& step = script.steps[i];
        QWidget* pWidget = step.pWnd ? AfxDropWidgetOf(step.pWnd) : nullptr;
        const QPoint pt(step.point.x, step.point.y);
        const Qt::MouseButtons buttons = AfxDragButtons(step.dwKeyState);
        const Qt::KeyboardModifiers mods = AfxDragModifiers(step.dwKeyState);
        dwLastKeys = step.dwKeyState;
        if (pWidget != pOver) {
            if (pOver) {
                QDragLeaveEvent leave;
                QApplication::sendEvent(pOver, &leave);
            }
            pOver = nullptr;
            bAccepted = false;
            if (pWidget) {
                QDragEnterEvent enter(pt, actions, pData, buttons, mods);
                QApplication::sendEvent(pWidget, &enter);
                if (enter.isAccepted())
                    pOver = pWidget;
            }
        }
        if (pOver) {
            QDragMoveEvent move(pt, actions, pData, buttons, mods);
            QApplication::sendEvent(pOver, &move);
            bAccepted = move.isAccepted();
        }
        ptLast = pt;
    }
    Qt::DropAction result = Qt::IgnoreAction;
    if (pOver) {
        if (script.drop && bAccepted) {
            // The button comes up for the drop; the keys stay as they were.
            const DWORD keys = dwLastKeys & ~(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON);
            QDropEvent drop(QPointF(ptLast), actions, pData, AfxDragButtons(keys), AfxDragModifiers(keys));
            QApplication::sendEvent(pOver, &drop);
            if (drop.isAccepted())
                result = drop.dropAction();
        } else {
            QDragLeaveEvent leave;
            QApplication::sendEvent(pOver, &leave);
        }
    }
    AfxSyncDragKeyState(dwLastKeys & ~(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
    return result;
}
