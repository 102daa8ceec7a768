// The "BUTTON" class: push buttons, check boxes, radio buttons, group boxes and
// owner-drawn buttons.
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WndClass_p.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace {

DWORD ButtonType(DWORD style)
{
    return style & BS_TYPEMASK;
}

bool IsCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool IsRadioType(DWORD type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

Qt::Alignment HorizontalAlignment(DWORD style, Qt::Alignment fallback)
{
    switch (style & BS_CENTER) {
    case BS_LEFT:
        return Qt::AlignLeft;
    case BS_RIGHT:
        return Qt::AlignRight;
    case BS_CENTER:
        return Qt::AlignHCenter;
    default:
        return fallback;
    }
}

// A push button. The default look follows BS_DEFPUSHBUTTON; Enter is the dialog's business.
class CPushButtonWidget : public QPushButton, public CControlMixin {
public:
    explicit CPushButtonWidget(QWidget* parent) : QPushButton(parent), CControlMixin(this)
    {
        setAutoDefault(false);
    }
};

// Check boxes: the automatic kinds step through their states when clicked, the others
// leave that to their owner.
class CCheckBoxWidget : public QCheckBox, public CControlMixin {
public:
    CCheckBoxWidget(QWidget* parent, DWORD type) : QCheckBox(parent), CControlMixin(this), m_type(type)
    {
        setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
    }
    DWORD m_type;

protected:
    void nextCheckState() override
    {
        if (m_type == BS_AUTOCHECKBOX) {
            setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        } else if (m_type == BS_AUTO3STATE) {
            // Unchecked, checked, indeterminate, unchecked again.
            const Qt::CheckState s = checkState();
            setCheckState(s == Qt::Unchecked ? Qt::Checked
                          : s == Qt::Checked ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
        }
    }
};

// Radio buttons: an automatic one checks itself and clears the other automatic radio
// buttons of its group (the controls from the last WS_GROUP control to the next one).
class CRadioButtonWidget : public QRadioButton, public CControlMixin {
public:
    CRadioButtonWidget(QWidget* parent, DWORD type) : QRadioButton(parent), CControlMixin(this), m_type(type)
    {
        setAutoExclusive(false);
    }
    DWORD m_type;

protected:
    void nextCheckState() override
    {
        if (m_type != BS_AUTORADIOBUTTON)
            return;
        setChecked(true);
        ClearGroup();
    }

private:
    void ClearGroup()
    {
        HWND hWnd = Hwnd();
        CWndState* pState = AfxGetWndState(hWnd);
        CWndState* pParent = pState ? AfxGetWndState(pState->hWndParent) : nullptr;
        if (!pParent)
            return;
        const std::vector<HWND>& v = pParent->children;
        auto it = std::find(v.begin(), v.end(), hWnd);
        if (it == v.end())
            return;
        size_t first = static_cast<size_t>(it - v.begin());
        while (first > 0) {
            CWndState* p = AfxGetWndState(v[first]);
            if (p && (p->style & WS_GROUP))
                break;
            --first;
        }
        for (size_t i = first; i < v.size(); ++i) {
            CWndState* p = AfxGetWndState(v[i]);
            if (!p)
                continue;
            if (i > first && (p->style & WS_GROUP))
                break;
            if (v[i] == hWnd || ButtonType(p->style) != BS_AUTORADIOBUTTON)
                continue;
            if (auto* pRadio = dynamic_cast<CRadioButtonWidget*>(p->widget.data())) {
                CSilentScope silent(pRadio);
                pRadio->setChecked(false);
            }
        }
    }
};

class CGroupBoxWidget : public QGroupBox, public CControlMixin {
public:
    explicit CGroupBoxWidget(QWidget* parent) : QGroupBox(parent), CControlMixin(this)
    {
        setFocusPolicy(Qt::NoFocus);
        // A group box only frames the controls drawn over it; clicks go to them.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
};

// An owner-drawn button keeps its picture between paints, because the owner may redraw
// only what changed (the pressed look, the focus).
class COwnerDrawButtonWidget : public QPushButton, public CControlMixin {
public:
    explicit COwnerDrawButtonWidget(QWidget* parent) : QPushButton(parent), CControlMixin(this)
    {
        setAutoDefault(false);
        connect(this, &QAbstractButton::pressed, this, [this] { update(); });
        connect(this, &QAbstractButton::released, this, [this] { update(); });
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        UINT state = 0;
        if (isDown())
            state |= ODS_SELECTED;
        if (hasFocus())
            state |= ODS_FOCUS;
        if (!isEnabled())
            state |= ODS_DISABLED;
        UINT action = ODA_DRAWENTIRE;
        if (m_picture.size() != size()) {
            m_picture = QImage(size(), QImage::Format_RGB32);
            m_picture.fill(palette().color(QPalette::Button));
        } else if (m_bPainted && (state ^ m_lastState) == ODS_SELECTED) {
            action = ODA_SELECT;
        } else if (m_bPainted && (state ^ m_lastState) == ODS_FOCUS) {
            action = ODA_FOCUS;
        }
        {
            QPainter p(&m_picture);
            AfxOwnerDraw(*this, p, ODT_BUTTON, 0, action, state, rect(), 0);
        }
        m_lastState = state;
        m_bPainted = true;
        QPainter out(this);
        out.drawImage(0, 0, m_picture);
    }
    void changeEvent(QEvent* e) override
    {
        QPushButton::changeEvent(e);
        if (e->type() == QEvent::EnabledChange)
            m_bPainted = false;
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QPushButton::focusInEvent(e);
        update();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QPushButton::focusOutEvent(e);
        update();
    }

private:
    QImage m_picture;
    UINT m_lastState = 0;
    bool m_bPainted = false;
};

QAbstractButton* AsButton(QWidget* w)
{
    return qobject_cast<QAbstractButton*>(w);
}

UINT GetCheck(QWidget* w)
{
    if (auto* pCheck = qobject_cast<QCheckBox*>(w)) {
        switch (pCheck->checkState()) {
        case Qt::Checked:
            return BST_CHECKED;
        case Qt::PartiallyChecked:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
        }
    }
    if (auto* pRadio = qobject_cast<QRadioButton*>(w))
        return pRadio->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return BST_UNCHECKED;
}

void SetCheck(QWidget* w, UINT nCheck)
{
    CSilentScope silent(CControlMixin::From(w));
    if (auto* pCheck = qobject_cast<QCheckBox*>(w)) {
        if (nCheck == BST_INDETERMINATE && pCheck->isTristate())
            pCheck->setCheckState(Qt::PartiallyChecked);
        else
            pCheck->setCheckState(nCheck ? Qt::Checked : Qt::Unchecked);
    } else if (auto* pRadio = qobject_cast<QRadioButton*>(w)) {
        pRadio->setChecked(nCheck != BST_UNCHECKED);
    }
}

QString TextOf(QWidget* w)
{
    if (auto* pGroup = qobject_cast<QGroupBox*>(w))
        return pGroup->title();
    if (auto* pButton = AsButton(w))
        return pButton->text();
    return QString();
}

void SetTextOf(QWidget* w, const QString& text)
{
    if (auto* pGroup = qobject_cast<QGroupBox*>(w))
        pGroup->setTitle(text);
    else if (auto* pButton = AsButton(w))
        pButton->setText(text);
}

QWidget* CreateButton(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    const DWORD style = static_cast<DWORD>(cs.style);
    const DWORD type = ButtonType(style);
    QWidget* w = nullptr;
    if (IsCheckType(type)) {
        w = new CCheckBoxWidget(parent, type);
    } else if (IsRadioType(type)) {
        w = new CRadioButtonWidget(parent, type);
    } else if (type == BS_GROUPBOX) {
        auto* pGroup = new CGroupBoxWidget(parent);
        pGroup->setAlignment(HorizontalAlignment(style, Qt::AlignLeft));
        w = pGroup;
    } else if (type == BS_OWNERDRAW) {
        w = new COwnerDrawButtonWidget(parent);
    } else {
        auto* pPush = new CPushButtonWidget(parent);
        pPush->setDefault(type == BS_DEFPUSHBUTTON);
        w = pPush;
    }
    if (auto* pButton = AsButton(w)) {
        auto* pMixin = CControlMixin::From(w);
        QObject::connect(pButton, &QAbstractButton::clicked, pButton, [pMixin] {
            if (!pMixin->IsSilent())
                pMixin->Notify(BN_CLICKED);
        });
        pButton->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            // Push buttons do not take the focus when clicked unless they are tab stops.
            if (!(style & WS_TABSTOP))
                pButton->setFocusPolicy(Qt::NoFocus);
        }
    }
    SetTextOf(w, AfxCp932ToQString(cs.lpszName));
    w->setFont(AfxWidgetFontFromHandle(nullptr));
    return w;
}

UINT DlgCodeOf(QWidget* w, DWORD style)
{
    const DWORD type = ButtonType(style);
    if (type == BS_GROUPBOX)
        return DLGC_STATIC;
    if (IsRadioType(type))
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    if (IsCheckType(type))
        return DLGC_BUTTON;
    if (type == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (auto* pPush = qobject_cast<QPushButton*>(w); pPush && pPush->isDefault())
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
}

LRESULT ButtonProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    QWidget* w = pState ? pState->widget.data() : nullptr;
    if (!w) {
        *pbHandled = FALSE;
        return 0;
    }
    switch (nMsg) {
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        pState->text = text ? text : "";
        SetTextOf(w, AfxCp932ToQString(text));
        return TRUE;
    }
    case WM_GETTEXT:
        return AfxCopyTextToBuffer(AfxQStringToCp932(TextOf(w)), wParam, lParam);
    case WM_GETTEXTLENGTH:
        return AfxCp932LengthOf(TextOf(w));
    case WM_SETFONT:
        w->setFont(AfxWidgetFontFromHandle(reinterpret_cast<HFONT>(wParam)));
        *pbHandled = FALSE;
        return 0;
    case WM_GETDLGCODE:
        return DlgCodeOf(w, pState->style);
    case BM_GETCHECK:
        return GetCheck(w);
    case BM_SETCHECK:
        SetCheck(w, static_cast<UINT>(wParam));
        return 0;
    case BM_GETSTATE: {
        UINT state = GetCheck(w);
        if (auto* pButton = AsButton(w); pButton && pButton->isDown())
            state |= BST_PUSHED;
        if (w->hasFocus())
            state |= BST_FOCUS;
        return state;
    }
    case BM_SETSTATE:
        if (auto* pButton = AsButton(w)) {
            CSilentScope silent(CControlMixin::From(w));
            pButton->setDown(wParam != 0);
        }
        return 0;
    case BM_SETSTYLE: {
        // Only the look of push buttons can change after creation (default or not).
        const DWORD newType = static_cast<DWORD>(wParam) & BS_TYPEMASK;
        const DWORD oldType = ButtonType(pState->style);
        const bool push = (oldType == BS_PUSHBUTTON || oldType == BS_DEFPUSHBUTTON) &&
                          (newType == BS_PUSHBUTTON || newType == BS_DEFPUSHBUTTON);
        if (push) {
            pState->style = (pState->style & ~BS_TYPEMASK) | newType;
            if (auto* pPush = qobject_cast<QPushButton*>(w))
                pPush->setDefault(newType == BS_DEFPUSHBUTTON);
        } else if (newType == oldType) {
            pState->style = (pState->style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
        }
        if (lParam)
            w->update();
        return 0;
    }
    case BM_CLICK:
        if (auto* pButton = AsButton(w); pButton && pButton->isEnabled() && !(pState->style & WS_DISABLED))
            pButton->click();
        return 0;
    case WM_SETFOCUS:
        if (pState->style & BS_NOTIFY) {
            if (auto* pMixin = CControlMixin::From(w))
                pMixin->Notify(BN_SETFOCUS);
        }
        *pbHandled = FALSE;
        return 0;
    case WM_KILLFOCUS:
        if (pState->style & BS_NOTIFY) {
            if (auto* pMixin = CControlMixin::From(w))
                pMixin->Notify(BN_KILLFOCUS);
        }
        *pbHandled = FALSE;
        return 0;
    default:
        *pbHandled = FALSE;
        return 0;
    }
}

} // namespace

void AfxSetButtonDefaultLook(HWND hButton, bool bDefault)
{
    CWndState* pState = AfxGetWndState(hButton);
    if (!pState)
        return;
    if (auto* pPush = qobject_cast<QPushButton*>(pState->widget.data()))
        pPush->setDefault(bDefault);
}

void AfxRegisterButtonClass()
{
    CWndClassInfo info;
    info.name = "BUTTON";
    info.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    info.createWidget = CreateButton;
    info.wndProc = ButtonProc;
    AfxRegisterClassInfo(info);
}
