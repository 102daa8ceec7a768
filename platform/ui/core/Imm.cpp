#include "platform/ui/core/Imm.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Imm_p.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct CImeState {
    bool open = true;
    QString preedit;
    int cursor = 0;
    QString result;
};

std::map<HWND, CImeState>& States()
{
    static std::map<HWND, CImeState> states;
    return states;
}

HWND WindowOf(HIMC hIMC)
{
    HWND hWnd = reinterpret_cast<HWND>(hIMC);
    return AfxGetWndState(hWnd) ? hWnd : nullptr;
}

CImeState* StateOf(HIMC hIMC)
{
    HWND hWnd = WindowOf(hIMC);
    return hWnd ? &States()[hWnd] : nullptr;
}

// The widget that takes the input method's events for a window.
QWidget* ImeWidget(HWND hWnd)
{
    CWndState* pState = AfxGetWndState(hWnd);
    if (!pState)
        return nullptr;
    if (pState->widget && pState->widget->focusProxy())
        return pState->widget->focusProxy();
    QWidget* pWidget = pState->IsSelfDrawn() ? pState->client.data() : pState->widget.data();
    return pWidget;
}

// Sees every input-method event before the window layer turns commits into characters.
class CImeTracker : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::InputMethod || !watched->isWidgetType())
            return false;
        CWnd* pWnd = CWnd::FromWidget(static_cast<QWidget*>(watched));
        if (!pWnd || !pWnd->m_hWnd)
            return false;
        auto* e = static_cast<QInputMethodEvent*>(event);
        AfxImeTrack(pWnd->m_hWnd, e);
        return false;
    }
};

} // namespace

void AfxImeTrack(HWND hWnd, const QInputMethodEvent* pEvent)
{
    CImeState& s = States()[hWnd];
    if (!pEvent->commitString().isEmpty())
        s.result = pEvent->commitString();
    s.preedit = pEvent->preeditString();
    s.cursor = static_cast<int>(s.preedit.size());
    for (const QInputMethodEvent::Attribute& a : pEvent->attributes())
        if (a.type == QInputMethodEvent::Cursor)
            s.cursor = a.start;
    // Composing opens the input method again.
    if (!s.preedit.isEmpty())
        s.open = true;
}

void AfxImeForget(HWND hWnd)
{
    States().erase(hWnd);
}

void AfxEnsureImeTracker()
{
    static QPointer<CImeTracker> s_tracker;
    if (s_tracker || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    s_tracker = new CImeTracker;
    s_tracker->setParent(qApp);
    qApp->installEventFilter(s_tracker);
}

HIMC ImmGetContext(HWND hWnd)
{
    AfxEnsureImeTracker();
    QWidget* pWidget = ImeWidget(hWnd);
    if (!pWidget)
        return nullptr;
    return reinterpret_cast<HIMC>(hWnd);
}

BOOL ImmReleaseContext(HWND hWnd, HIMC hIMC)
{
    return hWnd && reinterpret_cast<HWND>(hIMC) == hWnd ? TRUE : FALSE;
}

BOOL ImmGetOpenStatus(HIMC hIMC)
{
    CImeState* s = StateOf(hIMC);
    return s && s->open ? TRUE : FALSE;
}

BOOL ImmSetOpenStatus(HIMC hIMC, BOOL fOpen)
{
    CImeState* s = StateOf(hIMC);
    if (!s)
        return FALSE;
    if (!fOpen && !s->preedit.isEmpty())
        ImmNotifyIME(hIMC, NI_COMPOSITIONSTR, CPS_CANCEL, 0);
    s = StateOf(hIMC);
    if (s)
        s->open = fOpen != FALSE;
    return TRUE;
}

LONG ImmGetCompositionString(HIMC hIMC, DWORD dwIndex, LPVOID lpBuf, DWORD dwBufLen)
{
    CImeState* s = StateOf(hIMC);
    if (!s)
        return IMM_ERROR_GENERAL;
    QString text;
    switch (dwIndex) {
    case GCS_COMPSTR:
    case GCS_COMPREADSTR:
        text = s->preedit;
        break;
    case GCS_RESULTSTR:
        text = s->result;
        break;
    case GCS_CURSORPOS:
        return s->cursor;
    default:
        return IMM_ERROR_NODATA;
    }
    const std::string bytes = Utf16ToCp932(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
    if (!lpBuf || dwBufLen == 0)
        return static_cast<LONG>(bytes.size());
    const size_t n = std::min<size_t>(bytes.size(), dwBufLen);
    std::memcpy(lpBuf, bytes.data(), n);
    return static_cast<LONG>(n);
}

BOOL ImmNotifyIME(HIMC hIMC, DWORD dwAction, DWORD dwIndex, DWORD dwValue)
{
    (void)dwValue;
    HWND hWnd = WindowOf(hIMC);
    CImeState* s = StateOf(hIMC);
    if (!hWnd || !s || dwAction != NI_COMPOSITIONSTR)
        return FALSE;
    if (dwIndex != CPS_CANCEL && dwIndex != CPS_COMPLETE)
        return FALSE;
    QWidget* pWidget = ImeWidget(hWnd);
    const QString preedit = s->preedit;
    // Tell the widget first (it shows the pre-edit), then the desktop's input method.
    if (pWidget) {
        QInputMethodEvent event(QString(), {});
        if (dwIndex == CPS_COMPLETE)
            event.setCommitString(preedit);
        QApplication::sendEvent(pWidget, &event);
    }
    if (QInputMethod* pIm = QGuiApplication::inputMethod()) {
        if (pWidget && pWidget->hasFocus()) {
            if (dwIndex == CPS_CANCEL)
                pIm->reset();
            else
                pIm->commit();
        }
    }
    if (CImeState* p = StateOf(hIMC))
        p->preedit.clear();
    return TRUE;
}
