#include "platform/ui/ole/COleDropTarget.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/ole/OleData_p.h"

#include <QAbstractScrollArea>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QPointer>
#include <QWidget>

#include <vector>

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

// ---------------------------------------------------------------------------------------
// Keys and effects.
// ---------------------------------------------------------------------------------------
DWORD AfxDragKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    DWORD state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        state |= MK_ALT;
    return state;
}

Qt::MouseButtons AfxDragButtons(DWORD dwKeyState)
{
    Qt::MouseButtons b = Qt::NoButton;
    if (dwKeyState & MK_LBUTTON)
        b |= Qt::LeftButton;
    if (dwKeyState & MK_RBUTTON)
        b |= Qt::RightButton;
    if (dwKeyState & MK_MBUTTON)
        b |= Qt::MiddleButton;
    return b;
}

Qt::KeyboardModifiers AfxDragModifiers(DWORD dwKeyState)
{
    Qt::KeyboardModifiers m = Qt::NoModifier;
    if (dwKeyState & MK_SHIFT)
        m |= Qt::ShiftModifier;
    if (dwKeyState & MK_CONTROL)
        m |= Qt::ControlModifier;
    if (dwKeyState & MK_ALT)
        m |= Qt::AltModifier;
    return m;
}

Qt::DropAction AfxDropActionOf(DROPEFFECT effect)
{
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

Qt::DropActions AfxDropActionsOf(DWORD dwEffects)
{
    Qt::DropActions a = Qt::IgnoreAction;
    if (dwEffects & DROPEFFECT_COPY)
        a |= Qt::CopyAction;
    if (dwEffects & DROPEFFECT_MOVE)
        a |= Qt::MoveAction;
    if (dwEffects & DROPEFFECT_LINK)
        a |= Qt::LinkAction;
    return a;
}

DROPEFFECT AfxDropEffectOf(Qt::DropAction action)
{
    switch (action) {
    case Qt::CopyAction:
        return DROPEFFECT_COPY;
    case Qt::MoveAction:
    case Qt::TargetMoveAction:
        return DROPEFFECT_MOVE;
    case Qt::LinkAction:
        return DROPEFFECT_LINK;
    default:
        return DROPEFFECT_NONE;
    }
}

void AfxSyncDragKeyState(DWORD dwKeyState)
{
    CWndManager* pManager = CWndManager::InstanceIfReady();
    if (!pManager)
        return;
    pManager->m_keyDown[VK_SHIFT] = (dwKeyState & MK_SHIFT) != 0;
    pManager->m_keyDown[VK_CONTROL] = (dwKeyState & MK_CONTROL) != 0;
    pManager->m_keyDown[VK_MENU] = (dwKeyState & MK_ALT) != 0;
    pManager->m_keyDown[VK_LBUTTON] = (dwKeyState & MK_LBUTTON) != 0;
    pManager->m_keyDown[VK_RBUTTON] = (dwKeyState & MK_RBUTTON) != 0;
    pManager->m_keyDown[VK_MBUTTON] = (dwKeyState & MK_MBUTTON) != 0;
}

// ---------------------------------------------------------------------------------------
// The Qt side of a drop target: the drag events of the window's client widget.
// ---------------------------------------------------------------------------------------
class CDropTargetFilter : public QObject {
public:
    CDropTargetFilter(COleDropTarget* pTarget, QWidget* pWidget) : m_pTarget(pTarget), m_pWidget(pWidget)
    {
        pWidget->setAcceptDrops(true);
        pWidget->installEventFilter(this);
        Registry().push_back(this);
    }
    ~CDropTargetFilter() override { Detach(); }

    // The target goes away: no more drag events reach it. While one of its drag events is
    // being handled (a drop that closes the window) the filter itself goes later.
    void Revoke()
    {
        Detach();
        m_pTarget = nullptr;
        if (m_nDepth > 0)
            deleteLater();
        else
            delete this;
    }

    void Detach()
    {
        auto& v = Registry();
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        if (m_pWidget) {
            m_pWidget->removeEventFilter(this);
            m_pWidget->setAcceptDrops(false);
        }
        m_pWidget = nullptr;
    }

    static std::vector<CDropTargetFilter*>& Registry()
    {
        static std::vector<CDropTargetFilter*> s_filters;
        return s_filters;
    }

    COleDropTarget* m_pTarget;
    QPointer<QWidget> m_pWidget;
    COleDataObject m_dataObject;
    DROPEFFECT m_lastEffect = DROPEFFECT_NONE;
    int m_nDepth = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_pWidget || !m_pTarget)
            return false;
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop: {
            ++m_nDepth;
            const bool b = HandleDrag(event);
            --m_nDepth;
            return b;
        }
        default:
            return false;
        }
    }

private:
    // Every call into the target may end with the target revoked (m_pTarget null).
    bool HandleDrag(QEvent* event)
    {
        CWnd* pWnd = CWnd::FromHandle(m_pTarget->m_hWnd);
        switch (event->type()) {
        case QEvent::DragEnter: {
            auto* e = static_cast<QDragEnterEvent*>(event);
            // Entering is always accepted so that the moves keep coming; whether a drop is
            // possible is said by each move.
            e->accept();
            if (!pWnd)
                return true;
            AfxSyncDragKeyState(AfxDragKeyState(e->buttons(), e->modifiers()));
            m_dataObject.Attach(e->mimeData());
            m_lastEffect =
                m_pTarget->OnDragEnter(pWnd, &m_dataObject, AfxDragKeyState(e->buttons(), e->modifiers()),
                                       CPoint(e->position().toPoint().x(), e->position().toPoint().y()));
            // A refusal here only says that a drop would do nothing yet: the target keeps
            // hearing the moves, as drop targets do.
            const Qt::DropAction action = AfxDropActionOf(m_lastEffect);
            e->setDropAction((e->possibleActions() & action) ? action : Qt::IgnoreAction);
            e->accept();
            return true;
        }
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            if (!pWnd) {
                e->ignore();
                return true;
            }
            AfxSyncDragKeyState(AfxDragKeyState(e->buttons(), e->modifiers()));
            m_dataObject.Attach(e->mimeData());
            const CPoint pt(e->position().toPoint().x(), e->position().toPoint().y());
            const DWORD keys = AfxDragKeyState(e->buttons(), e->modifiers());
            m_pTarget->OnDragScroll(pWnd, keys, pt);
            if (!m_pTarget || !CWnd::FromHandle(m_pTarget->m_hWnd)) {
                e->ignore();
                return true;
            }
            m_lastEffect = m_pTarget->OnDragOver(pWnd, &m_dataObject, keys, pt);
            Apply(e, m_lastEffect);
            return true;
        }
        case QEvent::DragLeave:
            if (pWnd)
                m_pTarget->OnDragLeave(pWnd);
            m_dataObject.Release();
            m_lastEffect = DROPEFFECT_NONE;
            return true;
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            if (!pWnd) {
                e->ignore();
                return true;
            }
            const DWORD keys = AfxDragKeyState(e->buttons(), e->modifiers());
            AfxSyncDragKeyState(keys);
            m_dataObject.Attach(e->mimeData());
            const CPoint pt(e->position().toPoint().x(), e->position().toPoint().y());
            // The effect at the drop point decides, as the last move would.
            DROPEFFECT effect = m_pTarget->OnDragOver(pWnd, &m_dataObject, keys, pt);
            if (m_pTarget && CWnd::FromHandle(m_pTarget->m_hWnd)) {
                DROPEFFECT list = DROPEFFECT_NONE;
                if (e->possibleActions() & Qt::CopyAction)
                    list |= DROPEFFECT_COPY;
                if (e->possibleActions() & Qt::MoveAction)
                    list |= DROPEFFECT_MOVE;
                if (e->possibleActions() & Qt::LinkAction)
                    list |= DROPEFFECT_LINK;
                const DROPEFFECT ex = m_pTarget->OnDropEx(pWnd, &m_dataObject, effect, list, pt);
                if (ex != static_cast<DROPEFFECT>(-1)) {
                    effect = ex;
                } else if (effect != DROPEFFECT_NONE && m_pTarget) {
                    if (!m_pTarget->OnDrop(pWnd, &m_dataObject, effect, pt))
                        effect = DROPEFFECT_NONE;
                } else if (m_pTarget) {
                    m_pTarget->OnDragLeave(pWnd);
                }
            } else {
                effect = DROPEFFECT_NONE;
            }
            m_dataObject.Release();
            m_lastEffect = DROPEFFECT_NONE;
            if (effect == DROPEFFECT_NONE) {
                e->setDropAction(Qt::IgnoreAction);
                e->ignore();
            } else {
                e->setDropAction(AfxDropActionOf(effect));
                e->accept();
            }
            return true;
        }
        default:
            return false;
        }
    }

private:
    static void Apply(QDragMoveEvent* e, DROPEFFECT effect)
    {
        const Qt::DropAction action = AfxDropActionOf(effect);
        if (action == Qt::IgnoreAction || !(e->possibleActions() & action)) {
            e->ignore();
            return;
        }
        e->setDropAction(action);
        e->accept();
    }
};

QWidget* AfxDropWidgetOf(CWnd* pWnd)
{
    if (!pWnd || !pWnd->GetSafeHwnd())
        return nullptr;
    for (CDropTargetFilter* p : CDropTargetFilter::Registry())
        if (p->m_pTarget->GetWindow() == pWnd || CWnd::FromHandle(p->m_pTarget->GetWindowHandle()) == pWnd)
            return p->m_pWidget;
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// COleDropTarget.
// ---------------------------------------------------------------------------------------
COleDropTarget::COleDropTarget() = default;

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (!pWnd || !pWnd->GetSafeHwnd() || m_pFilter)
        return FALSE;
    QWidget* pWidget = pWnd->GetClientWidget();
    // Views over a scroll area take drops in the area where their items are.
    if (auto* pArea = dynamic_cast<QAbstractScrollArea*>(pWnd->GetWidget()))
        pWidget = pArea->viewport();
    if (!pWidget)
        return FALSE;
    for (CDropTargetFilter* p : CDropTargetFilter::Registry())
        if (p->m_pWidget == pWidget)
            return FALSE;
    m_pWnd = pWnd;
    m_hWnd = pWnd->GetSafeHwnd();
    m_pFilter = new CDropTargetFilter(this, pWidget);
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_pFilter)
        m_pFilter->Revoke();
    m_pFilter = nullptr;
    m_pWnd = nullptr;
    m_hWnd = nullptr;
}

namespace {
CView* DropView(CWnd* pWnd)
{
    return dynamic_cast<CView*>(pWnd);
}
} // namespace

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                       CPoint point)
{
    CView* pView = DropView(pWnd);
    return pView ? pView->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    CView* pView = DropView(pWnd);
    return pView ? pView->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (CView* pView = DropView(pWnd))
        pView->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    CView* pView = DropView(pWnd);
    return pView ? pView->OnDrop(pDataObject, dropEffect, point) : FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                    DROPEFFECT dropList, CPoint point)
{
    (void)pWnd;
    (void)pDataObject;
    (void)dropDefault;
    (void)dropList;
    (void)point;
    return static_cast<DROPEFFECT>(-1);
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    CView* pView = DropView(pWnd);
    return pView ? pView->OnDragScroll(dwKeyState, point) : DROPEFFECT_NONE;
}
