// The "LISTBOX" class over QListWidget: sorted and unsorted lists, single, multiple and
// extended selection, item data, owner-drawn items of fixed or variable height.
// LBN_SELCHANGE and LBN_DBLCLK go to the parent for the user's actions when the list has
// LBS_NOTIFY; selections made by code never notify.
#include "platform/ui/controls/ControlWidgets_p.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WndClass_p.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_SETCARETINDEX = 0x019E;
constexpr UINT LB_GETCARETINDEX = 0x019F;
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;

constexpr int kDataRole = Qt::UserRole;
constexpr int kBytesRole = Qt::UserRole + 1;
constexpr int kHeightRole = Qt::UserRole + 2;

bool IsOwnerDrawn(DWORD style)
{
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

bool IsMultiple(DWORD style)
{
    return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

class CListWidget;

class CListDelegate : public QStyledItemDelegate {
public:
    CListDelegate(QObject* parent, CListWidget* pList) : QStyledItemDelegate(parent), m_pList(pList) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CListWidget* m_pList;
};

class CListWidget : public QListWidget, public CControlMixin {
public:
    CListWidget(QWidget* parent, DWORD style) : QListWidget(parent), CControlMixin(this), m_style(style)
    {
        if (style & LBS_NOSEL)
            setSelectionMode(QAbstractItemView::NoSelection);
        else if (style & LBS_EXTENDEDSEL)
            setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (style & LBS_MULTIPLESEL)
            setSelectionMode(QAbstractItemView::MultiSelection);
        else
            setSelectionMode(QAbstractItemView::SingleSelection);
        setUniformItemSizes(!(style & LBS_OWNERDRAWVARIABLE));
        setVerticalScrollBarPolicy((style & LBS_DISABLENOSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        setItemDelegate(new CListDelegate(this, this));
        connect(this, &QListWidget::itemSelectionChanged, this, [this] {
            if (!IsSilent() && (m_style & LBS_NOTIFY))
                Notify(LBN_SELCHANGE);
        });
        connect(this, &QListWidget::itemDoubleClicked, this, [this] {
            if (!IsSilent() && (m_style & LBS_NOTIFY))
                Notify(LBN_DBLCLK);
        });
    }

    DWORD m_style;
    int m_nItemHeight = -1; // fixed height (LB_SETITEMHEIGHT, or the owner's answer)
    bool m_bMeasured = false;

    int DefaultItemHeight() const { return fontMetrics().height() + (IsOwnerDrawn(m_style) ? 0 : 2); }

    int ItemHeight(int nIndex)
    {
        if (m_style & LBS_OWNERDRAWVARIABLE) {
            if (QListWidgetItem* p = item(nIndex)) {
                const QVariant v = p->data(kHeightRole);
                if (v.isValid())
                    return v.toInt();
            }
            return DefaultItemHeight();
        }
        if ((m_style & LBS_OWNERDRAWFIXED) && !m_bMeasured) {
            m_bMeasured = true;
            m_nItemHeight = static_cast<int>(
                AfxOwnerMeasure(*this, ODT_LISTBOX, 0, static_cast<UINT>(DefaultItemHeight()), 0));
        }
        return m_nItemHeight > 0 ? m_nItemHeight : DefaultItemHeight();
    }

    CString ItemText(int nIndex) const
    {
        const QListWidgetItem* p = item(nIndex);
        if (!p)
            return CString();
        const QByteArray b = p->data(kBytesRole).toByteArray();
        return CString(b.constData(), static_cast<int>(b.size()));
    }

    int InsertItem(int nIndex, const CString& text)
    {
        CSilentScope silent(this);
        const int n = count();
        if (nIndex < 0 || nIndex > n)
            nIndex = n;
        auto* p = new QListWidgetItem(AfxCp932ToQString(text));
        p->setData(kBytesRole, QByteArray(text.c_str(), text.GetLength()));
        p->setData(kDataRole, QVariant::fromValue<qulonglong>(0));
        insertItem(nIndex, p);
        if (m_style & LBS_OWNERDRAWVARIABLE) {
            const UINT h = AfxOwnerMeasure(*this, ODT_LISTBOX, static_cast<UINT>(nIndex),
                                           static_cast<UINT>(DefaultItemHeight()), 0);
            p->setData(kHeightRole, static_cast<int>(h));
        }
        return nIndex;
    }

    int FindItem(int nStart, const CString& text, bool exact) const
    {
        const int n = count();
        if (n == 0)
            return LB_ERR;
        const int first = (nStart < 0 || nStart >= n) ? 0 : nStart + 1;
        for (int k = 0; k < n; ++k) {
            const int i = (first + k) % n;
            const CString itemText = ItemText(i);
            const bool match = exact ? itemText.CompareNoCase(text) == 0
                                     : (itemText.GetLength() >= text.GetLength() &&
                                        itemText.Left(text.GetLength()).CompareNoCase(text) == 0);
            if (match)
                return i;
        }
        return LB_ERR;
    }

    // Selects one item (or none) the way code does: silently.
    void SelectOnly(int nIndex)
    {
        CSilentScope silent(this);
        clearSelection();
        if (nIndex >= 0 && nIndex < count()) {
            setCurrentRow(nIndex, QItemSelectionModel::ClearAndSelect);
            scrollToItem(item(nIndex));
        } else {
            setCurrentRow(-1, QItemSelectionModel::NoUpdate);
        }
    }

    int SelectedRow() const
    {
        const QList<QListWidgetItem*> sel = selectedItems();
        return sel.isEmpty() ? LB_ERR : row(sel.first());
    }

    // The list box acts on a click while its owner's handler of the button message runs,
    // so code that calls the default handling and then asks for the selection sees the
    // clicked item selected (the owner-drawn check lists rely on it). The widget's own
    // handling of the press follows and finds the item selected already.
public:
    // Handles a left click now, for the default handling of WM_LBUTTONDOWN.
    void ClickNow(const QPoint& pos)
    {
        if (selectionMode() != QAbstractItemView::SingleSelection)
            return;
        QListWidgetItem* p = itemAt(pos);
        if (!p)
            return;
        const int r = row(p);
        if (r != currentRow() || !p->isSelected()) {
            setCurrentRow(r, QItemSelectionModel::ClearAndSelect);
        } else if (m_style & LBS_NOTIFY) {
            // A click on the selected item tells the owner again, as the system's list does.
            Notify(LBN_SELCHANGE);
        }
        setFocus(Qt::MouseFocusReason);
    }
};

void CListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    if (!IsOwnerDrawn(m_pList->m_style)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    UINT state = 0;
    if (option.state & QStyle::State_Selected)
        state |= ODS_SELECTED;
    if ((option.state & QStyle::State_HasFocus) && m_pList->hasFocus())
        state |= ODS_FOCUS;
    if (!(option.state & QStyle::State_Enabled))
        state |= ODS_DISABLED;
    const UINT_PTR data = static_cast<UINT_PTR>(index.data(kDataRole).toULongLong());
    AfxOwnerDraw(*m_pList, *painter, ODT_LISTBOX, static_cast<UINT>(index.row()), ODA_DRAWENTIRE, state,
                 option.rect, data);
}

QSize CListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QSize base = QStyledItemDelegate::sizeHint(option, index);
    return QSize(base.width(), m_pList->ItemHeight(index.row()));
}

CListWidget* ListOf(CWndState* pState)
{
    return pState ? dynamic_cast<CListWidget*>(pState->widget.data()) : nullptr;
}

QWidget* CreateList(CWnd* pWnd, const CREATESTRUCT& cs, QWidget* parent)
{
    (void)pWnd;
    const DWORD style = static_cast<DWORD>(cs.style);
    auto* w = new CListWidget(parent, style);
    w->setFont(AfxWidgetFontFromHandle(nullptr));
    w->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    if (!(style & WS_BORDER) && !(cs.dwExStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)))
        w->setFrameShape(QFrame::NoFrame);
    return w;
}

bool ValidIndex(const CListWidget* w, int i)
{
    return i >= 0 && i < w->count();
}

LRESULT OnSetFont(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    w->setFont(AfxWidgetFontFromHandle(reinterpret_cast<HFONT>(wParam)));
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnGetDlgCode(CListWidget*, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

LRESULT OnLButtonDown(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM lParam, BOOL* pbHandled)
{
    // Done at once (see ClickNow); the widget then sees the press as well.
    w->ClickNow(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) - w->viewport()->pos());
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnAddString(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const CString text = reinterpret_cast<const char*>(lParam);
    int at = w->count();
    if ((w->m_style & LBS_SORT) && (!IsOwnerDrawn(w->m_style) || (w->m_style & LBS_HASSTRINGS))) {
        at = 0;
        while (at < w->count() && w->ItemText(at).CompareNoCase(text) <= 0)
            ++at;
    }
    return w->InsertItem(at, text);
}

LRESULT OnInsertString(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (nIndex > w->count())
        return LB_ERR;
    return w->InsertItem(nIndex, reinterpret_cast<const char*>(lParam));
}

LRESULT OnDeleteString(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return LB_ERR;
    CSilentScope silent(w);
    delete w->takeItem(nIndex);
    return w->count();
}

LRESULT OnResetContent(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    CSilentScope silent(w);
    w->clear();
    return 0;
}

LRESULT OnGetCount(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return w->count();
}

LRESULT OnGetText(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return LB_ERR;
    const CString text = w->ItemText(nIndex);
    if (char* buffer = reinterpret_cast<char*>(lParam)) {
        std::memcpy(buffer, text.c_str(), static_cast<size_t>(text.GetLength()));
        buffer[text.GetLength()] = '\0';
    }
    return text.GetLength();
}

LRESULT OnGetTextLen(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    return ValidIndex(w, nIndex) ? w->ItemText(nIndex).GetLength() : LB_ERR;
}

LRESULT OnSetCurSel(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (IsMultiple(w->m_style))
        return LB_ERR;
    w->SelectOnly(nIndex);
    return ValidIndex(w, nIndex) ? nIndex : LB_ERR;
}

LRESULT OnGetCurSel(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (IsMultiple(w->m_style))
        return w->currentRow() >= 0 ? w->currentRow() : LB_ERR;
    return w->SelectedRow();
}

LRESULT OnSetSel(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    // wParam: select or not; lParam: the item, -1 for all.
    if (!IsMultiple(w->m_style))
        return LB_ERR;
    const int item = static_cast<int>(lParam);
    CSilentScope silent(w);
    if (item == -1) {
        for (int i = 0; i < w->count(); ++i)
            w->item(i)->setSelected(wParam != 0);
        return 0;
    }
    if (!ValidIndex(w, item))
        return LB_ERR;
    w->item(item)->setSelected(wParam != 0);
    return 0;
}

LRESULT OnGetSel(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return LB_ERR;
    return w->item(nIndex)->isSelected() ? 1 : 0;
}

LRESULT OnGetSelCount(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (!IsMultiple(w->m_style))
        return LB_ERR;
    return static_cast<LRESULT>(w->selectedItems().size());
}

LRESULT OnGetSelItems(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    if (!IsMultiple(w->m_style))
        return LB_ERR;
    int* out = reinterpret_cast<int*>(lParam);
    const int nMax = static_cast<int>(wParam);
    int n = 0;
    for (int i = 0; i < w->count() && n < nMax; ++i) {
        if (w->item(i)->isSelected()) {
            if (out)
                out[n] = i;
            ++n;
        }
    }
    return n;
}

LRESULT OnSelectString(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (IsMultiple(w->m_style))
        return LB_ERR;
    const int found = w->FindItem(nIndex, reinterpret_cast<const char*>(lParam), false);
    if (found != LB_ERR)
        w->SelectOnly(found);
    return found;
}

LRESULT OnFindString(CListWidget* w, CWnd*, CWndState*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    return w->FindItem(nIndex, reinterpret_cast<const char*>(lParam), nMsg == LB_FINDSTRINGEXACT);
}

LRESULT OnSetItemData(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return LB_ERR;
    w->item(nIndex)->setData(kDataRole, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(lParam)));
    return 0;
}

LRESULT OnGetItemData(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return LB_ERR;
    return static_cast<LRESULT>(w->item(nIndex)->data(kDataRole).toULongLong());
}

LRESULT OnSetItemHeight(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    const int h = static_cast<int>(LOWORD(static_cast<DWORD>(lParam)));
    if (h <= 0 || h > 255)
        return LB_ERR;
    if (w->m_style & LBS_OWNERDRAWVARIABLE) {
        if (!ValidIndex(w, nIndex))
            return LB_ERR;
        w->item(nIndex)->setData(kHeightRole, h);
    } else {
        w->m_bMeasured = true;
        w->m_nItemHeight = h;
    }
    w->doItemsLayout();
    return 0;
}

LRESULT OnGetItemHeight(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    return w->ItemHeight(nIndex);
}

LRESULT OnGetTopIndex(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    QListWidgetItem* p = w->itemAt(QPoint(1, 1));
    return p ? w->row(p) : 0;
}

LRESULT OnSetTopIndex(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return LB_ERR;
    w->scrollToItem(w->item(nIndex), QAbstractItemView::PositionAtTop);
    return 0;
}

LRESULT OnGetCaretIndex(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*)
{
    return w->currentRow() >= 0 ? w->currentRow() : 0;
}

LRESULT OnSetCaretIndex(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex))
        return LB_ERR;
    CSilentScope silent(w);
    w->setCurrentRow(nIndex, QItemSelectionModel::NoUpdate);
    return 0;
}

LRESULT OnGetItemRect(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nIndex = static_cast<int>(static_cast<intptr_t>(wParam));
    if (!ValidIndex(w, nIndex) || !lParam)
        return LB_ERR;
    QRect r = w->visualItemRect(w->item(nIndex));
    r.translate(w->viewport()->pos());
    *reinterpret_cast<RECT*>(lParam) = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return 0;
}

LRESULT OnItemFromPoint(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    // The nearest item; the high word is 1 when the point lies outside every item.
    const QPoint pt = QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) - w->viewport()->pos();
    if (w->count() == 0)
        return MAKELONG(0, 1);
    if (QListWidgetItem* p = w->itemAt(pt))
        return MAKELONG(static_cast<WORD>(w->row(p)), 0);
    int nearest = pt.y() < 0 ? w->row(w->itemAt(QPoint(1, 1))) : w->count() - 1;
    if (pt.y() >= 0) {
        for (int i = 0; i < w->count(); ++i) {
            const QRect r = w->visualItemRect(w->item(i));
            if (r.isValid() && r.top() > pt.y()) {
                nearest = std::max(0, i - 1);
                break;
            }
        }
    }
    return MAKELONG(static_cast<WORD>(std::max(0, nearest)), 1);
}

LRESULT OnSetFocus(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    w->Notify(LBN_SETFOCUS);
    *pbHandled = FALSE;
    return 0;
}

LRESULT OnKillFocus(CListWidget* w, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL* pbHandled)
{
    w->Notify(LBN_KILLFOCUS);
    *pbHandled = FALSE;
    return 0;
}

// The list box's messages, each with its handler.
using ListBoxHandler = LRESULT (*)(CListWidget*, CWnd*, CWndState*, UINT, WPARAM, LPARAM, BOOL*);
constexpr CMessageHandler<ListBoxHandler> kListBoxMessages[] = {
    {WM_SETFONT, OnSetFont},
    {WM_GETDLGCODE, OnGetDlgCode},
    {WM_LBUTTONDOWN, OnLButtonDown},
    {LB_ADDSTRING, OnAddString},
    {LB_INSERTSTRING, OnInsertString},
    {LB_DELETESTRING, OnDeleteString},
    {LB_RESETCONTENT, OnResetContent},
    {LB_GETCOUNT, OnGetCount},
    {LB_GETTEXT, OnGetText},
    {LB_GETTEXTLEN, OnGetTextLen},
    {LB_SETCURSEL, OnSetCurSel},
    {LB_GETCURSEL, OnGetCurSel},
    {LB_SETSEL, OnSetSel},
    {LB_GETSEL, OnGetSel},
    {LB_GETSELCOUNT, OnGetSelCount},
    {LB_GETSELITEMS, OnGetSelItems},
    {LB_SELECTSTRING, OnSelectString},
    {LB_FINDSTRING, OnFindString},
    {LB_FINDSTRINGEXACT, OnFindString},
    {LB_SETITEMDATA, OnSetItemData},
    {LB_GETITEMDATA, OnGetItemData},
    {LB_SETITEMHEIGHT, OnSetItemHeight},
    {LB_GETITEMHEIGHT, OnGetItemHeight},
    {LB_GETTOPINDEX, OnGetTopIndex},
    {LB_SETTOPINDEX, OnSetTopIndex},
    {LB_GETCARETINDEX, OnGetCaretIndex},
    {LB_SETCARETINDEX, OnSetCaretIndex},
    {LB_GETITEMRECT, OnGetItemRect},
    {LB_ITEMFROMPOINT, OnItemFromPoint},
    {WM_SETFOCUS, OnSetFocus},
    {WM_KILLFOCUS, OnKillFocus},
};
static_assert(AfxMessagesUnique(kListBoxMessages), "a message has two handlers");

LRESULT ListProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    CListWidget* w = ListOf(pState);
    if (!w) {
        *pbHandled = FALSE;
        return 0;
    }
    if (const ListBoxHandler pfnHandler = AfxFindMessageHandler(kListBoxMessages, nMsg))
        return pfnHandler(w, pWnd, pState, nMsg, wParam, lParam, pbHandled);
    *pbHandled = FALSE;
    return 0;
}

} // namespace

void AfxRegisterListBoxClass()
{
    CWndClassInfo info;
    info.name = "LISTBOX";
    info.style = CS_DBLCLKS;
    info.createWidget = CreateList;
    info.wndProc = ListProc;
    AfxRegisterClassInfo(info);
}
