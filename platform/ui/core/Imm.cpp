#include "platform/ui/core/Imm.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Imm_p.h"
#include "platform/ui/gdi/FontMapper.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTextCharFormat>
#include <QTransform>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#if defined(MORVEL_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace {

// The pre-edit of a self-drawn window, underlined, with the input method's own marking of
// the clause being converted and the cursor.
class CCompositionWindow : public QWidget {
public:
    static constexpr int kPadding = 2;

    explicit CCompositionWindow(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents, true);
        setFocusPolicy(Qt::NoFocus);
    }
    void SetText(const QString& text, int cursor, const QList<QInputMethodEvent::Attribute>& attributes)
    {
        m_text = text;
        m_cursor = cursor;
        m_attributes = attributes;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QPalette& pal = palette();
        p.fillRect(rect(), pal.color(QPalette::Base));
        const QFontMetrics fm(font());
        const int baseline = (height() - fm.height()) / 2 + fm.ascent();
        const auto xAt = [&](int n) { return kPadding + fm.horizontalAdvance(m_text.left(n)); };
        // The clauses the input method marks (the one being converted) keep its colours.
        for (const QInputMethodEvent::Attribute& a : m_attributes) {
            if (a.type != QInputMethodEvent::TextFormat || a.length <= 0)
                continue;
            const QTextCharFormat f = qvariant_cast<QTextFormat>(a.value).toCharFormat();
            if (f.background().style() != Qt::NoBrush)
                p.fillRect(QRect(xAt(a.start), 0, xAt(a.start + a.length) - xAt(a.start), height()),
                           f.background());
        }
        p.setFont(font());
        p.setPen(pal.color(QPalette::Text));
        int x = kPadding;
        for (int i = 0; i < m_text.size();) {
            // Runs of one colour: a marked clause may bring its own text colour.
            QColor colour = pal.color(QPalette::Text);
            int end = static_cast<int>(m_text.size());
            for (const QInputMethodEvent::Attribute& a : m_attributes) {
                if (a.type != QInputMethodEvent::TextFormat || a.length <= 0)
                    continue;
                const QTextCharFormat f = qvariant_cast<QTextFormat>(a.value).toCharFormat();
                if (i >= a.start && i < a.start + a.length) {
                    end = std::min(end, a.start + a.length);
                    if (f.foreground().style() != Qt::NoBrush)
                        colour = f.foreground().color();
                } else if (a.start > i) {
                    end = std::min(end, a.start);
                }
            }
            const QString run = m_text.mid(i, end - i);
            p.setPen(colour);
            p.drawText(x, baseline, run);
            x += fm.horizontalAdvance(run);
            i = end;
        }
        // The pre-edit is underlined as a whole, and the cursor stands where typing goes on.
        p.setPen(pal.color(QPalette::Text));
        const int underline = std::min(height() - 1, baseline + fm.underlinePos());
        p.drawLine(kPadding, underline, x, underline);
        const int cx = xAt(m_cursor);
        p.drawLine(cx, baseline - fm.ascent(), cx, baseline + fm.descent());
    }

private:
    QString m_text;
    int m_cursor = 0;
    QList<QInputMethodEvent::Attribute> m_attributes;
};

struct CImeState {
    bool open = true;
    QString preedit;
    int cursor = 0;
    QList<QInputMethodEvent::Attribute> attributes;
    QString result;
    // The window's composition form and font, and whether it was told a composition runs.
    COMPOSITIONFORM form{CFS_DEFAULT, {0, 0}, {0, 0, 0, 0}};
    bool hasFont = false;
    LOGFONT font{};
    bool composing = false;
    RECT cover{0, 0, 0, 0};
    QPointer<CCompositionWindow> window;
    // Blanks what the pre-edit replaces right of the composition window (ImmSetCompositionCover).
    QPointer<QWidget> coverWindow;
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

// Tells the input method where the widget it serves (the focus object) is in its window:
// the candidate list opens at the widget's cursor rectangle moved by that place. Qt tells
// it when the widget takes the focus and when the focus object itself moves or is resized,
// but not when a window around it moves (an estimate window dragged inside the main
// window), nor when the widget became the focus object only through the desktop activating
// its window after it had moved: at start-up the program gives the grid the keyboard, the
// subject tree then widens beside it, and the window manager activates the window later.
void PlaceInputItem()
{
    auto* pWidget = qobject_cast<QWidget*>(QGuiApplication::focusObject());
    QInputMethod* pIm = QGuiApplication::inputMethod();
    if (!pWidget || !pIm)
        return;
    const QPoint at = pWidget->mapTo(pWidget->window(), QPoint(0, 0));
    const QTransform place = QTransform::fromTranslate(at.x(), at.y());
    if (pIm->inputItemTransform() == place)
        return;
    pIm->setInputItemTransform(place);
    pIm->setInputItemRectangle(pWidget->rect());
    pIm->update(Qt::ImCursorRectangle | Qt::ImAnchorRectangle | Qt::ImInputItemClipRectangle);
}

// A self-drawn window that lost the keyboard keeps no composition: what the desktop's input
// method did not hand over itself when the keyboard moved (some do, to the window it was
// typed into; others drop it, or keep it for when the keyboard comes back) is committed to
// the window, as an edit field's composition is when the field loses the keyboard.
void CommitLeftCompositions()
{
    std::vector<HWND> left;
    for (const auto& [hWnd, state] : States()) {
        CWndState* pState = AfxGetWndState(hWnd);
        if (!state.preedit.isEmpty() && pState && pState->IsSelfDrawn() &&
            QApplication::focusWidget() != ImeWidget(hWnd))
            left.push_back(hWnd);
    }
    for (HWND hWnd : left)
        ImmNotifyIME(ImmGetContext(hWnd), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
}

// A key the toolkit may take as a shortcut before any window sees it: Alt with a key (the
// menu bar's letters) and F10. The modifier keys themselves take nothing.
bool MayOpenAMenu(const QKeyEvent* pKey)
{
    switch (pKey->key()) {
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return false;
    case Qt::Key_F10:
        return true;
    default:
        return (pKey->modifiers() & Qt::AltModifier) != 0;
    }
}

// A key that the input method let through while the widget composes, and that may open a
// menu or work a dialog's control (its mnemonic) before the window hears of it: the
// composition is committed to the window first, as a key the window gets ends it, so that
// it shows (and goes where it was typed) whatever the key does next. Left alone it would
// wait hidden for the keyboard to come back. A self-drawn window and a control (an edit
// box) alike.
void CommitBeforeShortcut(QObject* pWatched, const QKeyEvent* pKey)
{
    auto* pWidget = qobject_cast<QWidget*>(pWatched);
    CWnd* pWnd = pWidget != nullptr ? CWnd::FromWidget(pWidget) : nullptr;
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr || !MayOpenAMenu(pKey))
        return;
    const HWND hWnd = pWnd->m_hWnd;
    const auto it = States().find(hWnd);
    if (it == States().end() || it->second.preedit.isEmpty() || ImeWidget(hWnd) != pWidget)
        return;
    ImmNotifyIME(ImmGetContext(hWnd), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
}

// A key pressed with Alt held, as the X server reports it, before the desktop's input method
// sees it. Some input methods keep such a key for themselves while they compose (Mozc
// commits its pre-edit with it and the key goes no further), so the menu or the control of
// its letter would need a second press: the composition of the widget with the keyboard is
// committed here first, and the input method then lets the key through as it does without
// one. F10 is left to the input method while it composes: it converts the pre-edit there.
bool CommitBeforeMenuKeyReachesInputMethod(const QByteArray& eventType, void* pMessage)
{
#if defined(MORVEL_HAVE_XCB)
    if (eventType != "xcb_generic_event_t" || pMessage == nullptr)
        return false;
    const auto* pEvent = static_cast<const xcb_generic_event_t*>(pMessage);
    if ((pEvent->response_type & 0x7F) != XCB_KEY_PRESS)
        return false;
    // The state is that before the key: the Alt key's own press carries no Alt.
    const auto* pKey = reinterpret_cast<const xcb_key_press_event_t*>(pEvent);
    if ((pKey->state & XCB_MOD_MASK_1) == 0)
        return false;
    auto* pWidget = QApplication::focusWidget();
    CWnd* pWnd = pWidget != nullptr ? CWnd::FromWidget(pWidget) : nullptr;
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return false;
    const auto it = States().find(pWnd->m_hWnd);
    if (it != States().end() && !it->second.preedit.isEmpty() && ImeWidget(pWnd->m_hWnd) == pWidget)
        ImmNotifyIME(ImmGetContext(pWnd->m_hWnd), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
#else
    (void)eventType;
    (void)pMessage;
#endif
    return false;
}

// Sees every input-method event before the window layer turns commits into characters, and
// keeps the input method's idea of where the focus object is current.
class CImeTracker : public QObject, public QAbstractNativeEventFilter {
public:
    CImeTracker()
    {
        connect(qApp, &QGuiApplication::focusObjectChanged, this, [this] {
            PlaceInputItem();
            // Once the desktop's input method has had its turn with the keyboard's move.
            QMetaObject::invokeMethod(
                this, [] { CommitLeftCompositions(); }, Qt::QueuedConnection);
        });
    }

    bool nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr* pResult) override
    {
        (void)pResult;
        return CommitBeforeMenuKeyReachesInputMethod(eventType, pMessage);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && watched->isWidgetType()) {
            auto* pFocus = qobject_cast<QWidget*>(QGuiApplication::focusObject());
            if (pFocus && static_cast<QWidget*>(watched)->isAncestorOf(pFocus))
                PlaceInputItem();
            return false;
        }
        if (event->type() == QEvent::ShortcutOverride) {
            CommitBeforeShortcut(watched, static_cast<QKeyEvent*>(event));
            return false;
        }
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
    s.attributes = pEvent->attributes();
    for (const QInputMethodEvent::Attribute& a : pEvent->attributes())
        if (a.type == QInputMethodEvent::Cursor)
            s.cursor = std::clamp(a.start, 0, static_cast<int>(s.preedit.size()));
    // Composing opens the input method again.
    if (!s.preedit.isEmpty())
        s.open = true;
}

namespace {

QFont CompositionFont(const CImeState& s, const QWidget* pClient)
{
    return s.hasFont ? CFontMapper::WidgetFont(s.font) : pClient->font();
}

// The composition window's place in the client area for the pre-edit it shows.
QRect CompositionGeometry(const CImeState& s, const QWidget* pClient, const QFont& font)
{
    const QFontMetrics fm(font);
    const int textWidth = fm.horizontalAdvance(s.preedit) + 2 * CCompositionWindow::kPadding + 1;
    const int lineHeight = fm.height() + 2;
    QRect r;
    const POINT pt = s.form.ptCurrentPos;
    if (s.form.dwStyle & CFS_RECT) {
        // As wide as the text, inside the area: a pre-edit that would run past the area's
        // right edge moves left, as far as the area's left edge.
        const RECT& a = s.form.rcArea;
        r = QRect(pt.x, a.top, textWidth, std::max(lineHeight, static_cast<int>(a.bottom - a.top)));
        if (r.x() + r.width() > a.right)
            r.moveLeft(std::max(static_cast<int>(a.left), static_cast<int>(a.right) - r.width()));
    } else if (s.form.dwStyle & (CFS_POINT | CFS_FORCE_POSITION)) {
        r = QRect(pt.x, pt.y, textWidth, lineHeight);
    } else {
        r = QRect(0, 0, textWidth, lineHeight);
    }
    // A long pre-edit runs on to the client area's right edge, then moves left.
    if (r.right() >= pClient->width())
        r.moveLeft(std::max(0, pClient->width() - r.width()));
    return r;
}

// Where the window's cover goes: the rectangle it set, inside the composition form's area
// and the client area; empty when it set none.
QRect CoverGeometry(const CImeState& s, const QWidget* pClient)
{
    QRect r = QRect(QPoint(s.cover.left, s.cover.top), QPoint(s.cover.right - 1, s.cover.bottom - 1));
    if (r.isEmpty())
        return QRect();
    if (s.form.dwStyle & CFS_RECT) {
        const RECT& a = s.form.rcArea;
        r &= QRect(QPoint(a.left, a.top), QPoint(a.right - 1, a.bottom - 1));
    }
    return r & pClient->rect();
}

// The blank under a pre-edit: the colour of the composition window, nothing drawn on it.
QWidget* MakeCover(QWidget* pClient)
{
    auto* pCover = new QWidget(pClient);
    pCover->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    pCover->setFocusPolicy(Qt::NoFocus);
    pCover->setAutoFillBackground(true);
    QPalette pal = pCover->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    pCover->setPalette(pal);
    return pCover;
}

} // namespace

void AfxImeShowComposition(HWND hWnd)
{
    CWndState* pState = AfxGetWndState(hWnd);
    if (!pState || !pState->IsSelfDrawn() || !pState->client)
        return;
    CImeState& s = States()[hWnd];
    const bool bComposing = !s.preedit.isEmpty();
    if (bComposing != s.composing) {
        s.composing = bComposing;
        // The window may place the composition form now (or end the composition).
        if (CWnd* pWnd = CWnd::FromHandle(hWnd))
            pWnd->SendMessage(bComposing ? WM_IME_STARTCOMPOSITION : WM_IME_ENDCOMPOSITION, 0, 0);
        pState = AfxGetWndState(hWnd);
        if (!pState || !pState->client)
            return;
    }
    CImeState& now = States()[hWnd];
    QWidget* pClient = pState->client;
    if (now.preedit.isEmpty()) {
        if (now.window)
            now.window->hide();
        if (now.coverWindow)
            now.coverWindow->hide();
    } else {
        const QFont font = CompositionFont(now, pClient);
        const QRect geometry = CompositionGeometry(now, pClient, font);
        // The cover blanks what the composition window leaves of it on its right.
        QRect cover = CoverGeometry(now, pClient);
        cover.setLeft(std::max(cover.left(), geometry.right() + 1));
        if (!cover.isEmpty()) {
            if (!now.coverWindow)
                now.coverWindow = MakeCover(pClient);
            now.coverWindow->setGeometry(cover);
            now.coverWindow->show();
        } else if (now.coverWindow) {
            now.coverWindow->hide();
        }
        if (!now.window)
            now.window = new CCompositionWindow(pClient);
        now.window->setFont(font);
        now.window->setGeometry(geometry);
        now.window->SetText(now.preedit, now.cursor, now.attributes);
        now.window->show();
        now.window->raise();
    }
    if (pClient->hasFocus()) {
        if (QInputMethod* pIm = QGuiApplication::inputMethod())
            pIm->update(Qt::ImCursorRectangle | Qt::ImFont);
    }
}

QRect AfxImeCursorRectangle(HWND hWnd)
{
    CWndState* pState = AfxGetWndState(hWnd);
    auto it = States().find(hWnd);
    if (!pState || !pState->client || it == States().end())
        return QRect(0, 0, 1, 16);
    const CImeState& s = it->second;
    const QFont font = CompositionFont(s, pState->client);
    const QRect r = CompositionGeometry(s, pState->client, font);
    const QFontMetrics fm(font);
    const int x = r.left() + CCompositionWindow::kPadding + fm.horizontalAdvance(s.preedit.left(s.cursor));
    return QRect(x, r.top(), 1, r.height());
}

bool AfxImeCompositionFont(HWND hWnd, QFont& font)
{
    auto it = States().find(hWnd);
    if (it == States().end() || !it->second.hasFont)
        return false;
    font = CFontMapper::WidgetFont(it->second.font);
    return true;
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
    qApp->installNativeEventFilter(s_tracker);
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

BOOL ImmSetCompositionWindow(HIMC hIMC, const COMPOSITIONFORM* lpCompForm)
{
    CImeState* s = StateOf(hIMC);
    if (!s || !lpCompForm)
        return FALSE;
    s->form = *lpCompForm;
    if (s->composing)
        AfxImeShowComposition(WindowOf(hIMC));
    return TRUE;
}

BOOL ImmGetCompositionWindow(HIMC hIMC, COMPOSITIONFORM* lpCompForm)
{
    CImeState* s = StateOf(hIMC);
    if (!s || !lpCompForm)
        return FALSE;
    *lpCompForm = s->form;
    return TRUE;
}

BOOL ImmSetCompositionFont(HIMC hIMC, const LOGFONT* lplf)
{
    CImeState* s = StateOf(hIMC);
    if (!s || !lplf)
        return FALSE;
    s->font = *lplf;
    s->hasFont = true;
    if (s->composing)
        AfxImeShowComposition(WindowOf(hIMC));
    return TRUE;
}

BOOL ImmSetCompositionCover(HIMC hIMC, const RECT* lprcCover)
{
    CImeState* s = StateOf(hIMC);
    if (!s)
        return FALSE;
    s->cover = lprcCover ? *lprcCover : RECT{0, 0, 0, 0};
    if (s->composing)
        AfxImeShowComposition(WindowOf(hIMC));
    return TRUE;
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
    const auto composing = [hIMC] {
        const CImeState* p = StateOf(hIMC);
        return p && !p->preedit.isEmpty();
    };
    QInputMethod* pIm = pWidget && pWidget->hasFocus() ? QGuiApplication::inputMethod() : nullptr;
    if (dwIndex == CPS_COMPLETE) {
        // The desktop's input method hands its pre-edit over itself, as a commit to the
        // window: some when told to commit, others when reset. Only what none of that
        // brought (or without an input method) is committed here, so that the text comes
        // once.
        if (pIm) {
            pIm->commit();
            if (composing())
                pIm->reset();
        }
        pWidget = ImeWidget(hWnd);
        if (composing() && pWidget) {
            QInputMethodEvent event(QString(), {});
            event.setCommitString(preedit);
            QApplication::sendEvent(pWidget, &event);
        }
    } else {
        // Tell the widget first (it shows the pre-edit), then the desktop's input method.
        if (pWidget) {
            QInputMethodEvent event(QString(), {});
            QApplication::sendEvent(pWidget, &event);
        }
        if (pIm)
            pIm->reset();
    }
    if (CImeState* p = StateOf(hIMC))
        p->preedit.clear();
    return TRUE;
}
