// The "COMBOBOX" class over QComboBox: drop-down lists, editable drop-downs and simple
// combo boxes; sorted lists; item data; owner-drawn items of fixed or variable height.
// Selections made by code (CB_SETCURSEL, CB_SELECTSTRING) do not notify; the user's do.
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WndClass_p.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QResizeEvent>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QValidator>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kDataRole = Qt::UserRole;       // item data (CB_SETITEMDATA)
constexpr int kBytesRole = Qt::UserRole + 1;  // the item's code page 932 text
constexpr int kHeightRole = Qt::UserRole + 2; // a variable owner-drawn item's height

DWORD ComboType(DWORD style)
{
    return style & 0x3;
}

bool IsOwnerDrawn(DWORD style)
{
    return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

// Compares as the list sorts: letters without regard to case, double-byte characters by
// their codes.
int CompareItems(const CString& a, const CString& b)
{
    return a.CompareNoCase(b);
}

bool StartsWithNoCase(const CString& text, const CString& prefix)
{
    if (prefix.GetLength() > text.GetLength())
        return false;
    return text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

class CComboWidget;

class CComboDelegate : public QStyledItemDelegate {
public:
    CComboDelegate(QObject* parent, CComboWidget* pCombo) : QStyledItemDelegate(parent), m_pCombo(pCombo) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CComboWidget* m_pCombo;
};

// Limits what the user types into an editable combo box to a number of bytes.
class CComboEditValidator : public QValidator {
public:
    explicit CComboEditValidator(QObject* parent) : QValidator(parent) {}
    State validate(QString& input, int&) const override
    {
        // The edit holds the new text already while it is checked: compare with the text
        // it showed before.
        const int bytes = AfxCp932LengthOf(input);
        if (m_nLimit > 0 && bytes > m_nLimit && bytes > AfxCp932LengthOf(m_lastText))
            return Invalid;
        return Acceptable;
    }
    int m_nLimit = 0;
    QString m_lastText;
};

class CComboWidget : public QComboBox, public CControlMixin {
public:
    CComboWidget(QWidget* parent, DWORD style) : QComboBox(parent), CControlMixin(this), m_style(style)
    {
        const DWORD type = ComboType(style);
        if (type == CBS_SIMPLE || type == CBS_DROPDOWN) {
            setEditable(true);
            setInsertPolicy(QComboBox::NoInsert);
            setCompleter(nullptr);
            m_pValidator = new CComboEditValidator(this);
            lineEdit()->setValidator(m_pValidator);
            connect(lineEdit(), &QLineEdit::textChanged, this,
                    [this](const QString& text) { m_pValidator->m_lastText = text; });
            connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
                if (IsSilent())
                    return;
                Notify(CBN_EDITUPDATE);
                Notify(CBN_EDITCHANGE);
            });
        }
        setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        setMinimumContentsLength(1);
        if (IsOwnerDrawn(style))
            setItemDelegate(new CComboDelegate(this, this));
        connect(this, &QComboBox::currentIndexChanged, this, [this] {
            if (!IsSilent())
                Notify(CBN_SELCHANGE);
        });
        connect(this, &QComboBox::activated, this, [this] { m_bActivated = true; });
    }

    DWORD m_style;
    int m_nRequestedHeight = 0; // the height asked for, the list included
    int m_nFieldHeight = -1;    // CB_SETITEMHEIGHT(-1)
    int m_nItemHeight = -1;     // fixed items
    bool m_bMeasured = false;   // a fixed owner-drawn list asked its owner once
    bool m_bDropped = false;
    bool m_bActivated = false;
    CComboEditValidator* m_pValidator = nullptr;

    int FieldHeight() const
    {
        if (m_nFieldHeight >= 0)
            return m_nFieldHeight + 6;
        return std::max(fontMetrics().height() + 8, 20);
    }

    int ItemHeight(int nIndex)
    {
        if (m_style & CBS_OWNERDRAWVARIABLE) {
            if (nIndex >= 0 && nIndex < count()) {
                const QVariant v = itemData(nIndex, kHeightRole);
                if (v.isValid())
                    return v.toInt();
            }
            return DefaultItemHeight();
        }
        if ((m_style & CBS_OWNERDRAWFIXED) && !m_bMeasured) {
            m_bMeasured = true;
            m_nItemHeight = static_cast<int>(
                AfxOwnerMeasure(*this, ODT_COMBOBOX, 0, static_cast<UINT>(DefaultItemHeight()), 0));
            m_nFieldHeight = static_cast<int>(AfxOwnerMeasure(*this, ODT_COMBOBOX, static_cast<UINT>(-1),
                                                              static_cast<UINT>(m_nItemHeight), 0));
            ApplyFieldHeight();
        }
        return m_nItemHeight >= 0 ? m_nItemHeight : DefaultItemHeight();
    }

    int DefaultItemHeight() const { return fontMetrics().height() + 2; }

    void ApplyFieldHeight()
    {
        if (height() != FieldHeight())
            resize(width(), FieldHeight());
        UpdateVisibleItems();
    }

    void UpdateVisibleItems()
    {
        const int list = std::max(0, m_nRequestedHeight - FieldHeight());
        const int item = std::max(1, m_nItemHeight > 0 ? m_nItemHeight : DefaultItemHeight());
        setMaxVisibleItems(std::max(1, list / item));
    }

    CString ItemText(int nIndex) const
    {
        const QVariant v = itemData(nIndex, kBytesRole);
        if (v.isValid()) {
            const QByteArray b = v.toByteArray();
            return CString(b.constData(), static_cast<int>(b.size()));
        }
        return AfxQStringToCp932(itemText(nIndex));
    }

    int InsertItem(int nIndex, const CString& text)
    {
        CSilentScope silent(this);
        const int n = count();
        if (nIndex < 0 || nIndex > n)
            nIndex = n;
        insertItem(nIndex, AfxCp932ToQString(text));
        setItemData(nIndex, QByteArray(text.c_str(), text.GetLength()), kBytesRole);
        setItemData(nIndex, QVariant::fromValue<qulonglong>(0), kDataRole);
        // A new first item must not become the selection.
        if (n == 0 && currentIndex() != -1)
            ClearSelection();
        if (m_style & CBS_OWNERDRAWVARIABLE) {
            const UINT h = AfxOwnerMeasure(*this, ODT_COMBOBOX, static_cast<UINT>(nIndex),
                                           static_cast<UINT>(DefaultItemHeight()), 0);
            setItemData(nIndex, static_cast<int>(h), kHeightRole);
        }
        return nIndex;
    }

    void ClearSelection()
    {
        CSilentScope silent(this);
        const QString edit = isEditable() ? lineEdit()->text() : QString();
        setCurrentIndex(-1);
        // Clearing the selection of an editable combo keeps what its edit shows.
        if (isEditable())
            lineEdit()->setText(edit);
    }

    int FindItem(int nStart, const CString& text, bool exact)
    {
        const int n = count();
        if (n == 0)
            return CB_ERR;
        const int first = (nStart < 0 || nStart >= n) ? 0 : nStart + 1;
        for (int k = 0; k < n; ++k) {
            const int i = (first + k) % n;
            const CString item = ItemText(i);
            if (exact ? item.CompareNoCase(text) == 0 : StartsWithNoCase(item, text))
                return i;
        }
        return CB_ERR;
    }

    void showPopup() override
    {
        if (!IsSilent())
            Notify(CBN_DROPDOWN);
        m_bActivated = false;
        m_bDropped = true;
        QComboBox::showPopup();
    }

    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (!m_bDropped)
            return;
        m_bDropped = false;
        if (!IsSilent()) {
            Notify(m_bActivated ? CBN_SELENDOK : CBN_SELENDCANCEL);
            Notify(CBN_CLOSEUP);
        }
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        // The window's height given at creation or by MoveWindow includes the dropped list;
        // the control itself shows one line.
        if (e->size().height() != FieldHeight()) {
            m_nRequestedHeight = e->size().height();
            UpdateVisibleItems();
            resize(e->size().width(), FieldHeight());
            return;
        }
        QComboBox::resizeEvent(e);
    }

    void paintEvent(QPaintEvent* e) override
    {
        if (!IsOwnerDrawn(m_style) || isEditable()) {
            QComboBox::paintEvent(e);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        opt.currentText.clear();
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        UINT state = ODS_COMBOBOXEDIT;
        if (hasFocus())
            state |= ODS_SELECTED | ODS_FOCUS;
        if (!isEnabled())
            state |= ODS_DISABLED;
        const int cur = currentIndex();
        const UINT_PTR data = cur >= 0 ? static_cast<UINT_PTR>(itemData(cur, kDataRole).toULongLong()) : 0;
        AfxOwnerDraw(*this, painter, ODT_COMBOBOX, cur >= 0 ? static_cast<UINT>(cur) : static_cast<UINT>(-1),
                     ODA_DRAWENTIRE, state, field, data);
    }
};

void CComboDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const
{
    UINT state = 0;
    if (option.state & QStyle::State_Selected)
        state |= ODS_SELECTED;
    if (option.state & QStyle::State_HasFocus)
        state |= ODS_FOCUS;
    if (!(option.state & QStyle::State_Enabled))
        state |= ODS_DISABLED;
    const UINT_PTR data = static_cast<UINT_PTR>(index.data(kDataRole).toULongLong());
    AfxOwnerDraw(*m_pCombo, *painter, ODT_COMBOBOX, static_cast<UINT>(index.row()), ODA_DRAWENTIRE, state,
                 option.rect, data);
}

QSize CComboDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(option.rect.width(), m_pCombo->ItemHeight(index.row()));
}

CComboWidget* ComboOf(CWndState* pState)
{
    return pState ? dynamic_cast<CComboWidget*>(pState->widget.data()) : nullptr;
}

QWidget* CreateCombo(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    DWORD style = static_cast<DWORD>(cs.style);
    if (ComboType(style) == 0)
        style |= CBS_DROPDOWNLIST;
    auto* w = new CComboWidget(parent, style);
    w->setFont(AfxWidgetFontFromHandle(nullptr));
    w->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    w->m_nRequestedHeight = cs.cy;
    if (w->isEditable() && cs.lpszName && *cs.lpszName) {
        CSilentScope silent(w);
        w->lineEdit()->setText(AfxCp932ToQString(cs.lpszName));
    }
    return w;
}

bool ValidIndex(const CComboWidget* w, int i)
{
    return i >= 0 && i < w->count();
}

LRESULT OnSetText(CComboWidget* w, CWnd*, CWndState* pState, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    if (!w->isEditable())
        return CB_ERR;
    pState->text = text ? text : "";
    CSilentScope silent(w);
    w->lineEdit()->setText(AfxCp932ToQString(text));
    return TRUE;
}

LRESULT OnGetText(CComboWidget* w, CWnd*, CWndState*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    CString text;
    if (w->isEditable())
        text = AfxQStringToCp932(w->lineEdit()->text());
    else if (w->currentIndex() >= 0)
        text = w->ItemText(w->currentIndex());
    return nMsg == WM_GETTEXT ? AfxCopyTextToBuffer(text, wParam, lParam) : text.GetLength();
}

LRESULT OnSetFont(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    w->setFont(AfxWidgetFontFromHandle(reinterpret_cast<HFONT>(wParam)));
    w->ApplyFieldHeight();
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnGetDlgCode(CComboWidget*, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

LRESULT OnAddString(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const CString text = reinterpret_cast<const char*>(lParam);
    int at = w->count();
    if ((w->m_style & CBS_SORT) && (!IsOwnerDrawn(w->m_style) || (w->m_style & CBS_HASSTRINGS))) {
        at = 0;
        while (at < w->count() && CompareItems(w->ItemText(at), text) <= 0)
            ++at;
    }
    return w->InsertItem(at, text);
}

LRESULT OnInsertString(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (nIndex > w->count())
        return CB_ERR;
    return w->InsertItem(nIndex, reinterpret_cast<const char*>(lParam));
}

LRESULT OnDeleteString(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return CB_ERR;
    CSilentScope silent(w);
    const bool wasCurrent = w->currentIndex() == nIndex;
    w->removeItem(nIndex);
    if (wasCurrent)
        w->ClearSelection();
    return w->count();
}

LRESULT OnResetContent(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    CSilentScope silent(w);
    w->clear();
    if (w->isEditable())
        w->lineEdit()->clear();
    return CB_OKAY;
}

LRESULT OnGetCount(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return w->count();
}

LRESULT OnGetCurSel(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return w->currentIndex() >= 0 ? w->currentIndex() : CB_ERR;
}

LRESULT OnSetCurSel(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    CSilentScope silent(w);
    if (!ValidIndex(w, nIndex)) {
        w->setCurrentIndex(-1);
        if (w->isEditable())
            w->lineEdit()->clear();
        return CB_ERR;
    }
    w->setCurrentIndex(nIndex);
    if (w->isEditable())
        w->lineEdit()->setText(AfxCp932ToQString(w->ItemText(nIndex)));
    return nIndex;
}

LRESULT OnGetLBText(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return CB_ERR;
    const CString text = w->ItemText(nIndex);
    if (char* buffer = reinterpret_cast<char*>(lParam)) {
        std::memcpy(buffer, text.c_str(), static_cast<size_t>(text.GetLength()));
        buffer[text.GetLength()] = '\0';
    }
    return text.GetLength();
}

LRESULT OnGetLBTextLen(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    return ValidIndex(w, nIndex) ? w->ItemText(nIndex).GetLength() : CB_ERR;
}

LRESULT OnFindString(CComboWidget* w, CWnd*, CWndState*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    return w->FindItem(nIndex, reinterpret_cast<const char*>(lParam), nMsg == CB_FINDSTRINGEXACT);
}

LRESULT OnSelectString(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    const int found = w->FindItem(nIndex, reinterpret_cast<const char*>(lParam), false);
    if (found == CB_ERR)
        return CB_ERR;
    CSilentScope silent(w);
    w->setCurrentIndex(found);
    if (w->isEditable())
        w->lineEdit()->setText(AfxCp932ToQString(w->ItemText(found)));
    return found;
}

LRESULT OnSetItemData(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return CB_ERR;
    w->setItemData(nIndex, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(lParam)), kDataRole);
    return CB_OKAY;
}

LRESULT OnGetItemData(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return CB_ERR;
    return static_cast<LRESULT>(w->itemData(nIndex, kDataRole).toULongLong());
}

LRESULT OnSetItemHeight(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    const int h = static_cast<int>(lParam);
    if (h <= 0 || h > 255)
        return CB_ERR;
    if (nIndex == -1) {
        w->m_nFieldHeight = h;
        w->ApplyFieldHeight();
    } else if (w->m_style & CBS_OWNERDRAWVARIABLE) {
        if (!ValidIndex(w, nIndex))
            return CB_ERR;
        w->setItemData(nIndex, h, kHeightRole);
    } else {
        w->m_bMeasured = true;
        w->m_nItemHeight = h;
        w->UpdateVisibleItems();
    }
    return CB_OKAY;
}

LRESULT OnGetItemHeight(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (nIndex == -1)
        return w->FieldHeight() - 6;
    return w->ItemHeight(nIndex);
}

LRESULT OnShowDropdown(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    if (wParam)
        w->showPopup();
    else
        w->hidePopup();
    return TRUE;
}

LRESULT OnGetDroppedState(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return w->m_bDropped ? TRUE : FALSE;
}

LRESULT OnLimitText(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    if (!w->m_pValidator)
        return CB_ERR;
    w->m_pValidator->m_nLimit = static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE));
    return TRUE;
}

LRESULT OnGetEditSel(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    if (!w->isEditable())
        return CB_ERR;
    QLineEdit* e = w->lineEdit();
    const QString t = e->text();
    const int s = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    const int en = e->hasSelectedText() ? e->selectionEnd() : e->cursorPosition();
    const DWORD bs = static_cast<DWORD>(AfxQtOffsetToCp932(t, s));
    const DWORD be = static_cast<DWORD>(AfxQtOffsetToCp932(t, en));
    if (wParam)
        *reinterpret_cast<DWORD*>(wParam) = bs;
    if (lParam)
        *reinterpret_cast<DWORD*>(lParam) = be;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(bs), static_cast<WORD>(be)));
}

LRESULT OnSetEditSel(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    if (!w->isEditable())
        return CB_ERR;
    QLineEdit* e = w->lineEdit();
    const QString t = e->text();
    const short s = static_cast<short>(LOWORD(static_cast<DWORD>(lParam)));
    const short en = static_cast<short>(HIWORD(static_cast<DWORD>(lParam)));
    if (s < 0) {
        e->deselect();
        return TRUE;
    }
    const int qs = AfxCp932OffsetToQt(t, s);
    const int qe = en < 0 ? static_cast<int>(t.size()) : AfxCp932OffsetToQt(t, en);
    e->setSelection(qs, qe - qs);
    return TRUE;
}

LRESULT OnSetFocus(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    w->Notify(CBN_SETFOCUS);
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnKillFocus(CComboWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    // The dropped list taking the keyboard is still the combo box.
    QWidget* pFocus = QApplication::focusWidget();
    if (w->m_bDropped && pFocus && (pFocus == w->view() || w->view()->window()->isAncestorOf(pFocus))) {
        *pbHandled = FALSE;
        return 0;
    }
    if (w->m_bDropped)
        w->hidePopup();
    w->Notify(CBN_KILLFOCUS);
    *pbHandled = FALSE;
    return 0;
}

// The combo box's messages, each with its handler.
using ComboHandler = LRESULT (*)(CComboWidget*, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*);
constexpr CMessageHandler<ComboHandler> kComboMessages[] = {
    {WM_SETTEXT, OnSetText},
    {WM_GETTEXT, OnGetText},
    {WM_GETTEXTLENGTH, OnGetText},
    {WM_SETFONT, OnSetFont},
    {WM_GETDLGCODE, OnGetDlgCode},
    {CB_ADDSTRING, OnAddString},
    {CB_INSERTSTRING, OnInsertString},
    {CB_DELETESTRING, OnDeleteString},
    {CB_RESETCONTENT, OnResetContent},
    {CB_GETCOUNT, OnGetCount},
    {CB_GETCURSEL, OnGetCurSel},
    {CB_SETCURSEL, OnSetCurSel},
    {CB_GETLBTEXT, OnGetLBText},
    {CB_GETLBTEXTLEN, OnGetLBTextLen},
    {CB_FINDSTRING, OnFindString},
    {CB_FINDSTRINGEXACT, OnFindString},
    {CB_SELECTSTRING, OnSelectString},
    {CB_SETITEMDATA, OnSetItemData},
    {CB_GETITEMDATA, OnGetItemData},
    {CB_SETITEMHEIGHT, OnSetItemHeight},
    {CB_GETITEMHEIGHT, OnGetItemHeight},
    {CB_SHOWDROPDOWN, OnShowDropdown},
    {CB_GETDROPPEDSTATE, OnGetDroppedState},
    {CB_LIMITTEXT, OnLimitText},
    {CB_GETEDITSEL, OnGetEditSel},
    {CB_SETEDITSEL, OnSetEditSel},
    {WM_SETFOCUS, OnSetFocus},
    {WM_KILLFOCUS, OnKillFocus},
};
static_assert(AfxMessagesUnique(kComboMessages), "a message has two handlers");

LRESULT ComboProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    CComboWidget* w = ComboOf(pState);
    if (!w) {
        *pbHandled = FALSE;
        return 0;
    }
    if (const ComboHandler pfnHandler = AfxFindMessageHandler(kComboMessages, nMsg))
        return pfnHandler(w, pWnd, pState, nMsg, wParam, lParam, pbHandled);
    *pbHandled = FALSE;
    return 0;
}

} // namespace

int AfxComboBoxFieldHeight(HWND hCombo)
{
    CComboWidget* w = ComboOf(AfxGetWndState(hCombo));
    return w ? w->FieldHeight() : 0;
}

void AfxRegisterComboBoxClass()
{
    CWndClassInfo info;
    info.name = "COMBOBOX";
    info.style = CS_DBLCLKS;
    info.createWidget = CreateCombo;
    info.wndProc = ComboProc;
    AfxRegisterClassInfo(info);
}
