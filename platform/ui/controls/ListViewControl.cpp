// The list control's window class "SysListView32": the report view over QTreeWidget, its
// messages, each with a handler, and the class registration. CListCtrl.cpp holds the wrapper.
#include "platform/ui/controls/CListCtrl.h"

#include "platform/ui/controls/CommonControls_p.h"
#include "platform/ui/controls/ItemControlClass_p.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CImageList.h"
#include "platform/ui/gdi/CImageList_p.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"
#include "platform/ui/gdi/SysColors.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>

namespace {

QColor ToQColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

struct CListRow {
    std::vector<CString> texts; // by sub-item
    int image = 0;
    UINT state = 0;
    LPARAM lParam = 0;
    int indent = 0;
};

struct CListColumn {
    int fmt = LVCFMT_LEFT;
    CString text;
    int iSubItem = 0;
    int iImage = 0;
};

class CListCtrlWidget;

class CListItemDelegate : public QStyledItemDelegate {
public:
    explicit CListItemDelegate(CListCtrlWidget* pList);
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    CListCtrlWidget* m_pList;
};

class CListCtrlWidget : public QTreeWidget {
public:
    CListCtrlWidget(HWND hWnd, DWORD dwStyle, QWidget* pParent) : QTreeWidget(pParent), m_hWnd(hWnd)
    {
        setRootIsDecorated(false);
        setItemsExpandable(false);
        setUniformRowHeights(true);
        setIndentation(0);
        setSelectionMode(QAbstractItemView::MultiSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        setAllColumnsShowFocus(true);
        setFocusPolicy(Qt::StrongFocus);
        setFrameShape((dwStyle & WS_BORDER) ? QFrame::Box : QFrame::NoFrame);
        setLineWidth(1);
        setColumnCount(0);
        setHeaderHidden((dwStyle & LVS_NOCOLUMNHEADER) != 0);
        header()->setStretchLastSection(false);
        header()->setSectionsMovable(false);
        header()->setSectionsClickable((dwStyle & LVS_NOSORTHEADER) == 0);
        header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header()->setMinimumSectionSize(0);
        setSortingEnabled(false);
        setItemDelegate(new CListItemDelegate(this));
        setIconSize(QSize(0, 0));
        m_crBk = GetSysColor(COLOR_WINDOW);
        m_crTextBk = GetSysColor(COLOR_WINDOW);
        m_crText = GetSysColor(COLOR_WINDOWTEXT);
        ApplyColours();
        connect(header(), &QHeaderView::sectionClicked, this, [this](int nCol) { OnColumnClick(nCol); });
        connect(header(), &QHeaderView::sectionResized, this,
                [this](int, int, int) { viewport()->update(); });
    }

    ~CListCtrlWidget() override { blockSignals(true); }

    HWND m_hWnd;
    DWORD m_dwExStyle = 0;
    std::vector<CListRow> m_rows;
    std::vector<CListColumn> m_cols;
    CImageListRef m_normalImages;
    CImageListRef m_smallImages;
    CImageListRef m_stateImages;
    int m_nMark = -1;
    int m_nItemHeight = 0;
    bool m_bMeasured = false;
    HFONT m_hFont = nullptr;
    COLORREF m_crBk;
    COLORREF m_crTextBk;
    COLORREF m_crText;
    QImage m_buffer;
    QPaintEvent* m_pPaintEvent = nullptr;
    int m_nInternal = 0;
    // Mouse presses, for clicks and drags.
    bool m_bPressed = false;
    bool m_bDragging = false;
    QPoint m_ptPress;
    int m_nPressItem = -1;
    bool m_bRightPressed = false;
    // Typing jumps to an item whose text starts with what was typed lately.
    QString m_search;
    QElapsedTimer m_searchTimer;

    DWORD Style() const
    {
        CWndState* pState = AfxGetWndState(m_hWnd);
        return pState ? pState->style : 0;
    }
    bool Alive() const { return AfxGetWndState(m_hWnd) != nullptr; }
    int Count() const { return static_cast<int>(m_rows.size()); }
    bool Valid(int i) const { return i >= 0 && i < Count(); }
    bool OwnerDraw() const { return (Style() & LVS_OWNERDRAWFIXED) != 0; }

    // ---- look -----------------------------------------------------------------------------
    void ApplyColours()
    {
        QPalette pal = palette();
        pal.setColor(QPalette::Base, ToQColor(m_crBk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : m_crBk));
        pal.setColor(QPalette::Text, ToQColor(m_crText));
        setPalette(pal);
        viewport()->update();
    }

    void SyncHeaderStyle()
    {
        const DWORD style = Style();
        const bool hide = (style & LVS_NOCOLUMNHEADER) != 0;
        if (isHeaderHidden() != hide)
            setHeaderHidden(hide);
        header()->setSectionsClickable((style & LVS_NOSORTHEADER) == 0);
    }

    int SmallWidth() const
    {
        int cx = 0;
        return ImageList_GetIconSize(m_smallImages.Handle(), &cx, nullptr) ? cx : 0;
    }
    int StateWidth() const
    {
        int cx = 0;
        return ImageList_GetIconSize(m_stateImages.Handle(), &cx, nullptr) ? cx : 0;
    }

    // The row height: the font's line or the pictures, whichever is taller; owner-drawn
    // lists ask their parent once.
    int ItemHeight()
    {
        if (m_nItemHeight > 0 && (m_bMeasured || !OwnerDraw()))
            return m_nItemHeight;
        int h = QFontMetrics(font()).height() + 2;
        int cy = 0;
        if (ImageList_GetIconSize(m_smallImages.Handle(), nullptr, &cy))
            h = std::max(h, cy + 1);
        if (ImageList_GetIconSize(m_stateImages.Handle(), nullptr, &cy))
            h = std::max(h, cy + 1);
        m_nItemHeight = h;
        if (OwnerDraw() && Alive()) {
            m_bMeasured = true;
            CWndState* pState = AfxGetWndState(m_hWnd);
            MEASUREITEMSTRUCT mis{};
            mis.CtlType = ODT_LISTVIEW;
            mis.CtlID = pState->nID;
            mis.itemID = 0;
            mis.itemWidth = 0;
            mis.itemHeight = static_cast<UINT>(h);
            HWND hParent = pState->hWndParent;
            if (hParent && AfxGetWndState(hParent))
                AfxCallWndProc(hParent, WM_MEASUREITEM, pState->nID, reinterpret_cast<LPARAM>(&mis));
            if (mis.itemHeight > 0)
                m_nItemHeight = static_cast<int>(mis.itemHeight);
        }
        // The view lays its rows out again with the height (soon, not inside a paint).
        scheduleDelayedItemsLayout();
        return m_nItemHeight;
    }

    void Relayout()
    {
        m_nItemHeight = 0;
        m_bMeasured = false;
        ItemHeight();
        doItemsLayout();
        viewport()->update();
    }

    // ---- mirror of the rows in the view -------------------------------------------------------
    CString CellText(const CListRow& row, int nCol) const
    {
        if (nCol < 0 || nCol >= static_cast<int>(m_cols.size()))
            return CString();
        const int sub = m_cols[static_cast<size_t>(nCol)].iSubItem;
        return sub >= 0 && sub < static_cast<int>(row.texts.size()) ? row.texts[static_cast<size_t>(sub)]
                                                                    : CString();
    }

    Qt::Alignment ColumnAlignment(int nCol) const
    {
        if (nCol <= 0 || nCol >= static_cast<int>(m_cols.size()))
            return Qt::AlignLeft | Qt::AlignVCenter;
        switch (m_cols[static_cast<size_t>(nCol)].fmt & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_RIGHT:
            return Qt::AlignRight | Qt::AlignVCenter;
        case LVCFMT_CENTER:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
        }
    }

    void SyncItem(int i)
    {
        QTreeWidgetItem* p = topLevelItem(i);
        if (!p || !Valid(i))
            return;
        const CListRow& row = m_rows[static_cast<size_t>(i)];
        ++m_nInternal;
        for (int c = 0; c < static_cast<int>(m_cols.size()); ++c) {
            const CString text = CellText(row, c);
            p->setText(c, AfxCtlText(text.c_str(), text.GetLength()));
            p->setTextAlignment(c, ColumnAlignment(c));
        }
        p->setSelected((row.state & LVIS_SELECTED) != 0);
        if (row.state & LVIS_FOCUSED)
            selectionModel()->setCurrentIndex(indexFromItem(p, 0), QItemSelectionModel::NoUpdate);
        --m_nInternal;
        viewport()->update();
    }

    void RebuildAll()
    {
        ++m_nInternal;
        clear();
        setColumnCount(static_cast<int>(m_cols.size()));
        QStringList labels;
        for (size_t c = 0; c < m_cols.size(); ++c)
            labels.push_back(AfxCtlText(m_cols[c].text.c_str(), m_cols[c].text.GetLength()));
        setHeaderLabels(labels);
        QList<QTreeWidgetItem*> items;
        for (size_t i = 0; i < m_rows.size(); ++i)
            items.push_back(new QTreeWidgetItem);
        addTopLevelItems(items);
        --m_nInternal;
        for (int i = 0; i < Count(); ++i)
            SyncItem(i);
    }

    void SyncHeaderItem(int nCol)
    {
        QTreeWidgetItem* pHeader = headerItem();
        if (!pHeader || nCol < 0 || nCol >= static_cast<int>(m_cols.size()))
            return;
        const CListColumn& col = m_cols[static_cast<size_t>(nCol)];
        pHeader->setText(nCol, AfxCtlText(col.text.c_str(), col.text.GetLength()));
        pHeader->setTextAlignment(nCol, ColumnAlignment(nCol));
    }

    // ---- notifications ------------------------------------------------------------------------
    LRESULT NotifyItem(UINT nCode, int iItem, int iSubItem, UINT uNew, UINT uOld, UINT uChanged,
                       LPARAM lParam, POINT pt = POINT{0, 0})
    {
        NMLISTVIEW nm{};
        nm.iItem = iItem;
        nm.iSubItem = iSubItem;
        nm.uNewState = uNew;
        nm.uOldState = uOld;
        nm.uChanged = uChanged;
        nm.ptAction = pt;
        nm.lParam = lParam;
        return AfxSendCtlNotify(m_hWnd, nCode, &nm.hdr);
    }

    LRESULT NotifyActivate(UINT nCode, int iItem, QPoint pt, UINT keyFlags)
    {
        NMITEMACTIVATE nm{};
        nm.iItem = iItem;
        nm.iSubItem = 0;
        nm.ptAction = POINT{pt.x(), pt.y()};
        nm.lParam = Valid(iItem) ? m_rows[static_cast<size_t>(iItem)].lParam : 0;
        nm.uKeyFlags = keyFlags;
        return AfxSendCtlNotify(m_hWnd, nCode, &nm.hdr);
    }

    // Changes an item's state bits under mask, asking the parent first and telling it
    // afterwards. FALSE when the parent refused or nothing changed.
    bool ChangeState(int i, UINT uState, UINT uMask)
    {
        if (!Valid(i))
            return false;
        CListRow& row = m_rows[static_cast<size_t>(i)];
        const UINT uOld = row.state;
        UINT uNew = (uOld & ~uMask) | (uState & uMask);
        if ((uNew & LVIS_SELECTED) && !(uOld & LVIS_SELECTED) && (Style() & LVS_SINGLESEL)) {
            // One selected item at most: the others lose it first.
            for (int j = 0; j < Count(); ++j)
                if (j != i && (m_rows[static_cast<size_t>(j)].state & LVIS_SELECTED))
                    ChangeState(j, 0, LVIS_SELECTED);
            if (!Valid(i))
                return false;
        }
        if ((uNew & LVIS_FOCUSED) && !(uOld & LVIS_FOCUSED)) {
            // One focused item.
            for (int j = 0; j < Count(); ++j)
                if (j != i && (m_rows[static_cast<size_t>(j)].state & LVIS_FOCUSED))
                    ChangeState(j, 0, LVIS_FOCUSED);
            if (!Valid(i))
                return false;
        }
        CListRow& r = m_rows[static_cast<size_t>(i)];
        const UINT uBefore = r.state;
        uNew = (uBefore & ~uMask) | (uState & uMask);
        if (uNew == uBefore)
            return false;
        if (NotifyItem(LVN_ITEMCHANGING, i, 0, uNew, uBefore, LVIF_STATE, r.lParam) != 0)
            return false;
        if (!Alive() || !Valid(i))
            return false;
        m_rows[static_cast<size_t>(i)].state = uNew;
        SyncItem(i);
        NotifyItem(LVN_ITEMCHANGED, i, 0, uNew, uBefore, LVIF_STATE, m_rows[static_cast<size_t>(i)].lParam);
        return true;
    }

    void NotifyFieldChange(int i, UINT uChanged)
    {
        if (!Valid(i))
            return;
        const LPARAM lParam = m_rows[static_cast<size_t>(i)].lParam;
        NotifyItem(LVN_ITEMCHANGED, i, 0, 0, 0, uChanged, lParam);
    }

    // ---- items ----------------------------------------------------------------------------------
    int Insert(const LVITEM& item)
    {
        if (item.iSubItem != 0)
            return -1;
        CListRow row;
        row.texts.resize(std::max<size_t>(1, m_cols.size()));
        if (item.mask & LVIF_TEXT)
            row.texts[0] = item.pszText ? item.pszText : "";
        if (item.mask & LVIF_IMAGE)
            row.image = item.iImage;
        if (item.mask & LVIF_PARAM)
            row.lParam = item.lParam;
        if (item.mask & LVIF_INDENT)
            row.indent = item.iIndent;
        int index = std::clamp(item.iItem, 0, Count());
        const DWORD style = Style();
        if (style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
            // A sorted list places the item by its text.
            const bool bDescending = (style & LVS_SORTDESCENDING) != 0;
            index = 0;
            while (index < Count()) {
                const int cmp =
                    row.texts[0].CompareNoCase(m_rows[static_cast<size_t>(index)].texts.empty()
                                                   ? ""
                                                   : m_rows[static_cast<size_t>(index)].texts[0].c_str());
                if (bDescending ? cmp > 0 : cmp < 0)
                    break;
                ++index;
            }
        }
        m_rows.insert(m_rows.begin() + index, row);
        if (m_nMark >= index)
            ++m_nMark;
        ++m_nInternal;
        insertTopLevelItem(index, new QTreeWidgetItem);
        --m_nInternal;
        SyncItem(index);
        NotifyItem(LVN_INSERTITEM, index, 0, 0, 0, 0, row.lParam);
        // A state given with the item is set afterwards, as a change the parent hears of.
        if ((item.mask & LVIF_STATE) && item.stateMask && Alive() && Valid(index))
            ChangeState(index, item.state, item.stateMask);
        return index;
    }

    bool Delete(int i)
    {
        if (!Valid(i))
            return false;
        NotifyItem(LVN_DELETEITEM, i, 0, 0, 0, 0, m_rows[static_cast<size_t>(i)].lParam);
        if (!Alive() || !Valid(i))
            return false;
        m_rows.erase(m_rows.begin() + i);
        if (m_nMark == i)
            m_nMark = -1;
        else if (m_nMark > i)
            --m_nMark;
        if (m_nPressItem == i)
            m_nPressItem = -1;
        else if (m_nPressItem > i)
            --m_nPressItem;
        ++m_nInternal;
        delete takeTopLevelItem(i);
        --m_nInternal;
        viewport()->update();
        return true;
    }

    bool DeleteAll()
    {
        NMLISTVIEW nm{};
        nm.iItem = -1;
        const bool bQuiet = AfxSendCtlNotify(m_hWnd, LVN_DELETEALLITEMS, &nm.hdr) != 0;
        if (!Alive())
            return false;
        if (!bQuiet) {
            for (int i = 0; i < Count(); ++i) {
                NotifyItem(LVN_DELETEITEM, i, 0, 0, 0, 0, m_rows[static_cast<size_t>(i)].lParam);
                if (!Alive())
                    return false;
            }
        }
        m_rows.clear();
        m_nMark = -1;
        m_nPressItem = -1;
        ++m_nInternal;
        clear();
        --m_nInternal;
        viewport()->update();
        return true;
    }

    // ---- geometry -------------------------------------------------------------------------------
    int TopIndex() const { return verticalScrollBar()->value(); }
    int CountPerPage()
    {
        const int h = std::max(1, ItemHeight());
        return std::max(0, viewport()->height() / h);
    }
    int ColumnLeft(int nCol) const { return header()->sectionViewportPosition(nCol); }
    int ColumnWidth(int nCol) const { return header()->sectionSize(nCol); }

    QRect BoundsRect(int i)
    {
        const int h = ItemHeight();
        const int top = (i - TopIndex()) * h;
        int left = -horizontalScrollBar()->value();
        int width = 0;
        for (int c = 0; c < static_cast<int>(m_cols.size()); ++c)
            width += ColumnWidth(c);
        if (m_cols.empty())
            width = viewport()->width();
        return QRect(left, top, width, h);
    }

    QRect ItemRect(int i, int nCode)
    {
        const QRect bounds = BoundsRect(i);
        const int col0Right = m_cols.empty() ? bounds.right() + 1 : ColumnLeft(0) + ColumnWidth(0);
        const int iconLeft = bounds.left() + StateWidth();
        const int iconRight = iconLeft + SmallWidth();
        switch (nCode) {
        case LVIR_ICON:
            return QRect(QPoint(iconLeft, bounds.top()), QPoint(iconRight - 1, bounds.bottom()));
        case LVIR_LABEL:
            return QRect(QPoint(iconRight, bounds.top()),
                         QPoint(std::max(iconRight, col0Right) - 1, bounds.bottom()));
        case LVIR_SELECTBOUNDS:
            return QRect(QPoint(iconLeft, bounds.top()),
                         QPoint(std::max(iconRight, col0Right) - 1, bounds.bottom()));
        default:
            return bounds;
        }
    }

    int HitTest(QPoint pt, UINT* pFlags, int* pSubItem)
    {
        UINT flags = 0;
        int iItem = -1;
        int iSub = -1;
        const QRect client = viewport()->rect();
        if (pt.y() < 0)
            flags |= LVHT_ABOVE;
        if (pt.y() >= client.height())
            flags |= LVHT_BELOW;
        if (pt.x() < 0)
            flags |= LVHT_TOLEFT;
        if (pt.x() >= client.width())
            flags |= LVHT_TORIGHT;
        if (flags == 0) {
            const int h = std::max(1, ItemHeight());
            const int i = TopIndex() + pt.y() / h;
            if (Valid(i)) {
                const QRect bounds = BoundsRect(i);
                if (pt.x() >= bounds.left() && pt.x() <= bounds.right()) {
                    iItem = i;
                    const QRect icon = ItemRect(i, LVIR_ICON);
                    if (pt.x() < icon.left())
                        flags = LVHT_ONITEMSTATEICON;
                    else if (icon.width() > 0 && pt.x() <= icon.right())
                        flags = LVHT_ONITEMICON;
                    else
                        flags = LVHT_ONITEMLABEL;
                    for (int c = 0; c < static_cast<int>(m_cols.size()); ++c) {
                        if (pt.x() >= ColumnLeft(c) && pt.x() < ColumnLeft(c) + ColumnWidth(c)) {
                            iSub = c;
                            break;
                        }
                    }
                }
            }
            if (iItem < 0)
                flags = LVHT_NOWHERE;
        }
        if (pFlags)
            *pFlags = flags;
        if (pSubItem)
            *pSubItem = iSub;
        return iItem;
    }

    void EnsureVisible(int i)
    {
        if (!Valid(i))
            return;
        // The view lays its rows out (and sizes its scroll bar) first.
        scrollToItem(topLevelItem(i), QAbstractItemView::EnsureVisible);
    }

    // ---- selection by the user ----------------------------------------------------------------
    int SelectedCount() const
    {
        int n = 0;
        for (const CListRow& r : m_rows)
            if (r.state & LVIS_SELECTED)
                ++n;
        return n;
    }

    int FocusedItem() const
    {
        for (int i = 0; i < Count(); ++i)
            if (m_rows[static_cast<size_t>(i)].state & LVIS_FOCUSED)
                return i;
        return -1;
    }

    void SelectOnly(int i)
    {
        for (int j = 0; j < Count(); ++j)
            if (j != i && (m_rows[static_cast<size_t>(j)].state & LVIS_SELECTED))
                ChangeState(j, 0, LVIS_SELECTED);
        if (Valid(i))
            ChangeState(i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }

    void SelectRange(int from, int to, bool bKeepOthers)
    {
        const int lo = std::min(from, to), hi = std::max(from, to);
        for (int j = 0; j < Count(); ++j) {
            const bool in = j >= lo && j <= hi;
            if (in)
                ChangeState(j, LVIS_SELECTED, LVIS_SELECTED);
            else if (!bKeepOthers && (m_rows[static_cast<size_t>(j)].state & LVIS_SELECTED))
                ChangeState(j, 0, LVIS_SELECTED);
        }
        if (Valid(to))
            ChangeState(to, LVIS_FOCUSED, LVIS_FOCUSED);
    }

    // A click or a key moved to item i with these modifiers.
    void UserSelect(int i, bool bShift, bool bCtrl, bool bKeyboard)
    {
        const bool bMulti = (Style() & LVS_SINGLESEL) == 0;
        if (!Valid(i)) {
            if (!bCtrl)
                for (int j = 0; j < Count(); ++j)
                    if (m_rows[static_cast<size_t>(j)].state & LVIS_SELECTED)
                        ChangeState(j, 0, LVIS_SELECTED);
            return;
        }
        if (bMulti && bShift) {
            const int anchor = Valid(m_nMark) ? m_nMark : (FocusedItem() >= 0 ? FocusedItem() : i);
            SelectRange(anchor, i, bCtrl && !bKeyboard);
        } else if (bMulti && bCtrl && !bKeyboard) {
            const bool bSel = (m_rows[static_cast<size_t>(i)].state & LVIS_SELECTED) != 0;
            ChangeState(i, (bSel ? 0 : LVIS_SELECTED) | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            m_nMark = i;
        } else if (bMulti && bCtrl && bKeyboard) {
            ChangeState(i, LVIS_FOCUSED, LVIS_FOCUSED);
        } else {
            SelectOnly(i);
            m_nMark = i;
        }
        if (Alive())
            EnsureVisible(i);
    }

    void OnColumnClick(int nCol)
    {
        if (!Alive() || (Style() & LVS_NOSORTHEADER))
            return;
        NotifyItem(LVN_COLUMNCLICK, -1, nCol, 0, 0, 0, 0);
    }

    // ---- painting -------------------------------------------------------------------------------
    // WM_PAINT of the control: the rows, owner-drawn or by the view.
    void PaintNow()
    {
        if (!m_pPaintEvent)
            return;
        SyncHeaderStyle();
        if (!OwnerDraw()) {
            QTreeWidget::paintEvent(m_pPaintEvent);
            return;
        }
        const QSize size = viewport()->size();
        if (m_buffer.size() != size)
            m_buffer = QImage(size, QImage::Format_RGB32);
        const QRect area = m_pPaintEvent->rect();
        {
            QPainter p(&m_buffer);
            p.fillRect(area, ToQColor(m_crBk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : m_crBk));
        }
        CWndState* pState = AfxGetWndState(m_hWnd);
        if (pState && !m_rows.empty()) {
            CDC dc;
            if (dc.AttachDevice(&m_buffer)) {
                RECT rcClip{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
                dc.SetSystemClipRect(&rcClip);
                CFont* pFont = m_hFont ? CFont::FromHandle(m_hFont) : nullptr;
                CGdiObject* pOldFont = pFont ? static_cast<CGdiObject*>(dc.SelectObject(pFont))
                                             : dc.SelectStockObject(DEFAULT_GUI_FONT);
                dc.SetTextColor(m_crText);
                dc.SetBkColor(m_crTextBk == CLR_NONE ? GetSysColor(COLOR_WINDOW) : m_crTextBk);
                const int top = TopIndex();
                const int last = std::min(Count() - 1, top + CountPerPage());
                const HWND hParent = pState->hWndParent;
                const UINT nID = pState->nID;
                const bool bFocus = CWnd::GetFocus() && CWnd::GetFocus()->m_hWnd == m_hWnd;
                for (int i = top; i <= last && Alive(); ++i) {
                    const QRect rc = BoundsRect(i);
                    if (!rc.intersects(area) || !Valid(i))
                        continue;
                    const CListRow& row = m_rows[static_cast<size_t>(i)];
                    DRAWITEMSTRUCT dis{};
                    dis.CtlType = ODT_LISTVIEW;
                    dis.CtlID = nID;
                    dis.itemID = static_cast<UINT>(i);
                    dis.itemAction = ODA_DRAWENTIRE;
                    dis.itemState = ((row.state & LVIS_SELECTED) ? ODS_SELECTED : 0) |
                                    ((bFocus && (row.state & LVIS_FOCUSED)) ? ODS_FOCUS : 0);
                    dis.hwndItem = m_hWnd;
                    dis.hDC = dc.GetSafeHdc();
                    dis.rcItem = RECT{rc.left(), rc.top(), rc.right() + 1, rc.bottom() + 1};
                    dis.itemData = static_cast<UINT_PTR>(row.lParam);
                    if (hParent && AfxGetWndState(hParent))
                        AfxCallWndProc(hParent, WM_DRAWITEM, nID, reinterpret_cast<LPARAM>(&dis));
                }
                if (pOldFont)
                    dc.SelectObject(pOldFont);
                dc.DetachDevice();
            }
        }
        QPainter painter(viewport());
        for (const QRect& r : m_pPaintEvent->region())
            painter.drawImage(r, m_buffer, r);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        // The control's painting goes through its window procedure, so that a subclass
        // sees WM_PAINT first (and may invalidate more before the rows are drawn).
        if (!Alive()) {
            QTreeWidget::paintEvent(event);
            return;
        }
        m_pPaintEvent = event;
        AfxCallWndProc(m_hWnd, WM_PAINT, 0, 0);
        m_pPaintEvent = nullptr;
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QTreeWidget::focusInEvent(event);
        viewport()->update();
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QTreeWidget::focusOutEvent(event);
        viewport()->update();
    }

    void showEvent(QShowEvent* event) override
    {
        AfxUseViewportAsClient(m_hWnd, this);
        QTreeWidget::showEvent(event);
    }

    void keyboardSearch(const QString&) override {}
};

CListItemDelegate::CListItemDelegate(CListCtrlWidget* pList) : QStyledItemDelegate(pList), m_pList(pList) {}

QSize CListItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    s.setHeight(m_pList->ItemHeight());
    return s;
}

void CListItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const int i = index.row();
    if (!m_pList->Valid(i))
        return;
    const CListRow& row = m_pList->m_rows[static_cast<size_t>(i)];
    if (index.column() == 0) {
        // The state picture, then the small picture, left of the text.
        const QPixmap statePix = AfxImageListPixmap(
            m_pList->m_stateImages.Handle(), static_cast<int>((row.state & LVIS_STATEIMAGEMASK) >> 12) - 1);
        UINT nStyle = row.state & LVIS_OVERLAYMASK;
        if (row.state & LVIS_CUT)
            nStyle |= ILD_BLEND50;
        const QPixmap smallPix = AfxImageListPixmap(m_pList->m_smallImages.Handle(), row.image, nStyle);
        const int w = m_pList->StateWidth() + m_pList->SmallWidth();
        if (w > 0) {
            const int h = std::max(statePix.height(), smallPix.height());
            QPixmap both(w, std::max(1, h));
            both.fill(Qt::transparent);
            QPainter p(&both);
            if (!statePix.isNull())
                p.drawPixmap(0, 0, statePix);
            if (!smallPix.isNull())
                p.drawPixmap(m_pList->StateWidth(), 0, smallPix);
            p.end();
            QIcon icon;
            icon.addPixmap(both, QIcon::Normal);
            icon.addPixmap(both, QIcon::Selected);
            icon.addPixmap(both, QIcon::Active);
            option->icon = icon;
            option->decorationSize = both.size();
            option->features |= QStyleOptionViewItem::HasDecoration;
        }
    }
    // Without LVS_SHOWSELALWAYS the selection shows only while the list has the focus; a
    // drop target shows as selected.
    const bool bFocus = m_pList->hasFocus() || m_pList->viewport()->hasFocus();
    if (!(m_pList->Style() & LVS_SHOWSELALWAYS) && !bFocus)
        option->state &= ~QStyle::State_Selected;
    if (row.state & LVIS_DROPHILITED)
        option->state |= QStyle::State_Selected;
    if (m_pList->m_crTextBk != CLR_NONE && !(option->state & QStyle::State_Selected))
        option->backgroundBrush = QBrush(ToQColor(m_pList->m_crTextBk));
}

CListCtrlWidget* ListOf(CWnd* pWnd)
{
    return pWnd ? dynamic_cast<CListCtrlWidget*>(pWnd->GetWidget()) : nullptr;
}

bool InViewport(CListCtrlWidget* pList, LPARAM lParam)
{
    return pList->viewport()->rect().contains(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
}

// ---- columns ------------------------------------------------------------------------------

LRESULT OnInsertColumn(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const auto* pCol = reinterpret_cast<const LVCOLUMN*>(lParam);
    if (!pCol)
        return -1;
    const int nCol = std::clamp(static_cast<int>(wParam), 0, static_cast<int>(pList->m_cols.size()));
    CListColumn col;
    // The first column is always left-aligned.
    col.fmt = (pCol->mask & LVCF_FMT) && nCol > 0 ? pCol->fmt : LVCFMT_LEFT;
    col.text = (pCol->mask & LVCF_TEXT) && pCol->pszText ? pCol->pszText : "";
    col.iSubItem = (pCol->mask & LVCF_SUBITEM) ? pCol->iSubItem : static_cast<int>(pList->m_cols.size());
    std::vector<int> widths;
    for (int c = 0; c < static_cast<int>(pList->m_cols.size()); ++c)
        widths.push_back(pList->ColumnWidth(c));
    pList->m_cols.insert(pList->m_cols.begin() + nCol, col);
    widths.insert(widths.begin() + nCol, (pCol->mask & LVCF_WIDTH) ? std::max(0, pCol->cx) : 0);
    for (CListRow& row : pList->m_rows)
        if (static_cast<int>(row.texts.size()) <= col.iSubItem)
            row.texts.resize(static_cast<size_t>(col.iSubItem) + 1);
    pList->RebuildAll();
    for (size_t c = 0; c < widths.size(); ++c) {
        pList->header()->resizeSection(static_cast<int>(c), widths[c]);
        pList->SyncHeaderItem(static_cast<int>(c));
    }
    return nCol;
}

LRESULT OnDeleteColumn(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nCol = static_cast<int>(wParam);
    if (nCol < 0 || nCol >= static_cast<int>(pList->m_cols.size()))
        return FALSE;
    std::vector<int> widths;
    for (int c = 0; c < static_cast<int>(pList->m_cols.size()); ++c)
        widths.push_back(pList->ColumnWidth(c));
    pList->m_cols.erase(pList->m_cols.begin() + nCol);
    widths.erase(widths.begin() + nCol);
    pList->RebuildAll();
    for (size_t c = 0; c < widths.size(); ++c) {
        pList->header()->resizeSection(static_cast<int>(c), widths[c]);
        pList->SyncHeaderItem(static_cast<int>(c));
    }
    return TRUE;
}

LRESULT OnColumnInfo(CListCtrlWidget* pList, CWnd*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    auto* pCol = reinterpret_cast<LVCOLUMN*>(lParam);
    const int nCol = static_cast<int>(wParam);
    if (!pCol || nCol < 0 || nCol >= static_cast<int>(pList->m_cols.size()))
        return FALSE;
    CListColumn& col = pList->m_cols[static_cast<size_t>(nCol)];
    if (nMsg == LVM_GETCOLUMN) {
        if (pCol->mask & LVCF_FMT)
            pCol->fmt = col.fmt;
        if (pCol->mask & LVCF_WIDTH)
            pCol->cx = pList->ColumnWidth(nCol);
        if (pCol->mask & LVCF_TEXT)
            AfxCopyCtlText(col.text, pCol->pszText, pCol->cchTextMax);
        if (pCol->mask & LVCF_SUBITEM)
            pCol->iSubItem = col.iSubItem;
        if (pCol->mask & LVCF_IMAGE)
            pCol->iImage = col.iImage;
        if (pCol->mask & LVCF_ORDER)
            pCol->iOrder = nCol;
        return TRUE;
    }
    if ((pCol->mask & LVCF_FMT) && nCol > 0)
        col.fmt = pCol->fmt;
    if (pCol->mask & LVCF_TEXT)
        col.text = pCol->pszText ? pCol->pszText : "";
    if (pCol->mask & LVCF_IMAGE)
        col.iImage = pCol->iImage;
    if (pCol->mask & LVCF_WIDTH)
        pList->header()->resizeSection(nCol, std::max(0, pCol->cx));
    pList->SyncHeaderItem(nCol);
    for (int i = 0; i < pList->Count(); ++i)
        pList->SyncItem(i);
    return TRUE;
}

LRESULT OnGetColumnWidth(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nCol = static_cast<int>(wParam);
    return nCol >= 0 && nCol < static_cast<int>(pList->m_cols.size()) ? pList->ColumnWidth(nCol) : 0;
}

LRESULT OnSetColumnWidth(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nCol = static_cast<int>(wParam);
    if (nCol < 0 || nCol >= static_cast<int>(pList->m_cols.size()))
        return FALSE;
    const int cx = static_cast<int>(static_cast<short>(LOWORD(static_cast<DWORD>(lParam))));
    if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER)
        pList->resizeColumnToContents(nCol);
    else
        pList->header()->resizeSection(nCol, std::max(0, cx));
    return TRUE;
}

LRESULT OnGetHeader(CListCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return 0;
}

// ---- items ----------------------------------------------------------------------------------

LRESULT OnGetItemCount(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pList->Count();
}

LRESULT OnInsertItem(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const auto* pItem = reinterpret_cast<const LVITEM*>(lParam);
    return pItem ? pList->Insert(*pItem) : -1;
}

LRESULT OnDeleteItem(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    return pList->Delete(static_cast<int>(wParam)) ? TRUE : FALSE;
}

LRESULT OnDeleteAllItems(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pList->DeleteAll() ? TRUE : FALSE;
}

LRESULT OnGetItem(CListCtrlWidget* pList, CWnd*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    auto* pItem = reinterpret_cast<LVITEM*>(lParam);
    const int i = nMsg == LVM_GETITEMTEXT ? static_cast<int>(wParam) : (pItem ? pItem->iItem : -1);
    if (!pItem || !pList->Valid(i))
        return nMsg == LVM_GETITEMTEXT ? 0 : FALSE;
    const CListRow& row = pList->m_rows[static_cast<size_t>(i)];
    const int sub = pItem->iSubItem;
    const CString text = sub >= 0 && sub < static_cast<int>(row.texts.size())
                             ? row.texts[static_cast<size_t>(sub)]
                             : CString();
    if (nMsg == LVM_GETITEMTEXT)
        return AfxCopyCtlText(text, pItem->pszText, pItem->cchTextMax);
    if (pItem->mask & LVIF_TEXT)
        AfxCopyCtlText(text, pItem->pszText, pItem->cchTextMax);
    if (pItem->mask & LVIF_IMAGE)
        pItem->iImage = row.image;
    if (pItem->mask & LVIF_PARAM)
        pItem->lParam = row.lParam;
    if (pItem->mask & LVIF_STATE)
        pItem->state = row.state & pItem->stateMask;
    if (pItem->mask & LVIF_INDENT)
        pItem->iIndent = row.indent;
    return TRUE;
}

LRESULT OnSetItem(CListCtrlWidget* pList, CWnd*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const auto* pItem = reinterpret_cast<const LVITEM*>(lParam);
    const int i = nMsg == LVM_SETITEMTEXT ? static_cast<int>(wParam) : (pItem ? pItem->iItem : -1);
    if (!pItem || !pList->Valid(i))
        return FALSE;
    const UINT mask = nMsg == LVM_SETITEMTEXT ? LVIF_TEXT : pItem->mask;
    const int sub = pItem->iSubItem;
    if (sub < 0 || (sub > 0 && (mask & ~LVIF_TEXT) != 0))
        return FALSE;
    UINT uChanged = 0;
    CListRow& row = pList->m_rows[static_cast<size_t>(i)];
    if (mask & LVIF_TEXT) {
        if (static_cast<int>(row.texts.size()) <= sub)
            row.texts.resize(static_cast<size_t>(sub) + 1);
        const CString text = pItem->pszText ? pItem->pszText : "";
        if (row.texts[static_cast<size_t>(sub)].Compare(text) != 0) {
            row.texts[static_cast<size_t>(sub)] = text;
            uChanged |= LVIF_TEXT;
        }
    }
    if ((mask & LVIF_IMAGE) && row.image != pItem->iImage) {
        row.image = pItem->iImage;
        uChanged |= LVIF_IMAGE;
    }
    if ((mask & LVIF_PARAM) && row.lParam != pItem->lParam) {
        row.lParam = pItem->lParam;
        uChanged |= LVIF_PARAM;
    }
    if (mask & LVIF_INDENT)
        row.indent = pItem->iIndent;
    pList->SyncItem(i);
    if (uChanged)
        pList->NotifyFieldChange(i, uChanged);
    if ((mask & LVIF_STATE) && pList->Alive())
        pList->ChangeState(i, pItem->state, pItem->stateMask);
    return TRUE;
}

LRESULT OnSetItemState(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const auto* pItem = reinterpret_cast<const LVITEM*>(lParam);
    if (!pItem)
        return FALSE;
    const int i = static_cast<int>(wParam);
    if (i == -1) {
        for (int j = 0; j < pList->Count() && pList->Alive(); ++j)
            pList->ChangeState(j, pItem->state, pItem->stateMask);
        return TRUE;
    }
    if (!pList->Valid(i))
        return FALSE;
    pList->ChangeState(i, pItem->state, pItem->stateMask);
    return TRUE;
}

LRESULT OnGetItemState(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int i = static_cast<int>(wParam);
    return pList->Valid(i) ? (pList->m_rows[static_cast<size_t>(i)].state & static_cast<UINT>(lParam)) : 0;
}

LRESULT OnGetNextItem(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nStart = static_cast<int>(wParam);
    const UINT flags = LOWORD(static_cast<DWORD>(lParam));
    const UINT stateMask = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    auto matches = [&](int j) {
        const UINT s = pList->m_rows[static_cast<size_t>(j)].state;
        UINT want = 0;
        if (stateMask & LVNI_FOCUSED)
            want |= LVIS_FOCUSED;
        if (stateMask & LVNI_SELECTED)
            want |= LVIS_SELECTED;
        if (stateMask & LVNI_CUT)
            want |= LVIS_CUT;
        if (stateMask & LVNI_DROPHILITED)
            want |= LVIS_DROPHILITED;
        return (s & want) == want;
    };
    if (flags & LVNI_ABOVE) {
        for (int j = nStart - 1; j >= 0; --j)
            if (matches(j))
                return j;
        return -1;
    }
    for (int j = (flags & LVNI_BELOW) ? nStart + 1 : std::max(0, nStart + 1); j < pList->Count(); ++j)
        if (matches(j))
            return j;
    return -1;
}

LRESULT OnGetSelectedCount(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pList->SelectedCount();
}

LRESULT OnGetSelectionMark(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pList->m_nMark;
}

LRESULT OnSetSelectionMark(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const int old = pList->m_nMark;
    pList->m_nMark = static_cast<int>(lParam);
    return old;
}

LRESULT OnFindItem(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const auto* pFind = reinterpret_cast<const LVFINDINFO*>(lParam);
    if (!pFind)
        return -1;
    const int n = pList->Count();
    const int start = static_cast<int>(wParam) + 1;
    for (int k = 0; k < n; ++k) {
        const int j = start + k;
        if (j >= n && !(pFind->flags & LVFI_WRAP))
            break;
        const int idx = j % n;
        const CListRow& row = pList->m_rows[static_cast<size_t>(idx)];
        if (pFind->flags & LVFI_PARAM) {
            if (row.lParam == pFind->lParam)
                return idx;
            continue;
        }
        if ((pFind->flags & (LVFI_STRING | LVFI_PARTIAL)) && pFind->psz) {
            const CString& text = row.texts.empty() ? CString() : row.texts[0];
            if (pFind->flags & LVFI_PARTIAL) {
                const int len = static_cast<int>(std::strlen(pFind->psz));
                if (text.Left(len).CompareNoCase(pFind->psz) == 0)
                    return idx;
            } else if (text.CompareNoCase(pFind->psz) == 0) {
                return idx;
            }
        }
    }
    return -1;
}

LRESULT OnSortItems(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    auto pfn = reinterpret_cast<PFNLVCOMPARE>(lParam);
    if (!pfn)
        return FALSE;
    const LPARAM lSort = static_cast<LPARAM>(wParam);
    std::stable_sort(pList->m_rows.begin(), pList->m_rows.end(), [&](const CListRow& a, const CListRow& b) {
        return pfn(a.lParam, b.lParam, lSort) < 0;
    });
    pList->m_nMark = -1;
    std::vector<int> widths;
    for (int c = 0; c < static_cast<int>(pList->m_cols.size()); ++c)
        widths.push_back(pList->ColumnWidth(c));
    const int top = pList->TopIndex();
    pList->RebuildAll();
    for (size_t c = 0; c < widths.size(); ++c) {
        pList->header()->resizeSection(static_cast<int>(c), widths[c]);
        pList->SyncHeaderItem(static_cast<int>(c));
    }
    pList->verticalScrollBar()->setValue(top);
    return TRUE;
}

LRESULT OnSetItemCount(CListCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return TRUE;
}

// ---- display -------------------------------------------------------------------------------

LRESULT OnEnsureVisible(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pList->EnsureVisible(static_cast<int>(wParam));
    return pList->Valid(static_cast<int>(wParam));
}

LRESULT OnGetItemRect(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    auto* pRect = reinterpret_cast<RECT*>(lParam);
    const int i = static_cast<int>(wParam);
    if (!pRect || !pList->Valid(i))
        return FALSE;
    const QRect r = pList->ItemRect(i, pRect->left);
    *pRect = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return TRUE;
}

LRESULT OnGetSubItemRect(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    auto* pRect = reinterpret_cast<RECT*>(lParam);
    const int i = static_cast<int>(wParam);
    if (!pRect || !pList->Valid(i))
        return FALSE;
    const int sub = pRect->top;
    const int area = pRect->left;
    if (sub == 0) {
        QRect r = pList->ItemRect(i, area);
        if (area == LVIR_BOUNDS && !pList->m_cols.empty())
            r = QRect(QPoint(r.left(), r.top()),
                      QPoint(pList->ColumnLeft(0) + pList->ColumnWidth(0) - 1, r.bottom()));
        *pRect = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        return TRUE;
    }
    if (sub < 0 || sub >= static_cast<int>(pList->m_cols.size()))
        return FALSE;
    const QRect b = pList->BoundsRect(i);
    const int left = pList->ColumnLeft(sub);
    *pRect = RECT{left, b.top(), left + pList->ColumnWidth(sub), b.bottom() + 1};
    return TRUE;
}

LRESULT OnHitTest(CListCtrlWidget* pList, CWnd*, UINT nMsg, WPARAM, LPARAM lParam, BOOL*)
{
    auto* pInfo = reinterpret_cast<LVHITTESTINFO*>(lParam);
    if (!pInfo)
        return -1;
    int sub = -1;
    pInfo->iItem = pList->HitTest(QPoint(pInfo->pt.x, pInfo->pt.y), &pInfo->flags, &sub);
    if (nMsg == LVM_SUBITEMHITTEST)
        pInfo->iSubItem = sub;
    return pInfo->iItem;
}

LRESULT OnGetTopIndex(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pList->TopIndex();
}

LRESULT OnGetCountPerPage(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pList->CountPerPage();
}

LRESULT OnRedrawItems(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    pList->viewport()->update();
    return TRUE;
}

LRESULT OnScroll(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int dy = static_cast<int>(lParam);
    const int h = std::max(1, pList->ItemHeight());
    pList->verticalScrollBar()->setValue(pList->TopIndex() + dy / h);
    pList->horizontalScrollBar()->setValue(pList->horizontalScrollBar()->value() + static_cast<int>(wParam));
    return TRUE;
}

LRESULT OnGetStringWidth(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const char* psz = reinterpret_cast<const char*>(lParam);
    return psz ? pList->fontMetrics().horizontalAdvance(AfxCtlText(psz)) : 0;
}

LRESULT OnGetImageList(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const int nType = static_cast<int>(wParam);
    const CImageListRef& ref = nType == LVSIL_STATE   ? pList->m_stateImages
                               : nType == LVSIL_SMALL ? pList->m_smallImages
                                                      : pList->m_normalImages;
    return reinterpret_cast<LRESULT>(ref.Handle());
}

LRESULT OnSetImageList(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nType = static_cast<int>(wParam);
    CImageListRef& ref = nType == LVSIL_STATE   ? pList->m_stateImages
                         : nType == LVSIL_SMALL ? pList->m_smallImages
                                                : pList->m_normalImages;
    const HIMAGELIST hOld = ref.Exchange(reinterpret_cast<HIMAGELIST>(lParam));
    pList->setIconSize(QSize(pList->StateWidth() + pList->SmallWidth(), 0));
    pList->Relayout();
    return reinterpret_cast<LRESULT>(hOld);
}

LRESULT OnGetBkColor(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pList->m_crBk);
}

LRESULT OnGetTextColor(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pList->m_crText);
}

LRESULT OnGetTextBkColor(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pList->m_crTextBk);
}

LRESULT OnSetColor(CListCtrlWidget* pList, CWnd*, UINT nMsg, WPARAM, LPARAM lParam, BOOL*)
{
    COLORREF& slot = nMsg == LVM_SETBKCOLOR     ? pList->m_crBk
                     : nMsg == LVM_SETTEXTCOLOR ? pList->m_crText
                                                : pList->m_crTextBk;
    slot = static_cast<COLORREF>(lParam);
    pList->ApplyColours();
    return TRUE;
}

LRESULT OnGetExtendedListViewStyle(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pList->m_dwExStyle);
}

LRESULT OnSetExtendedListViewStyle(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const DWORD old = pList->m_dwExStyle;
    const DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
    pList->m_dwExStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
    pList->viewport()->update();
    return static_cast<LRESULT>(old);
}

// ---- window messages -------------------------------------------------------------------------

LRESULT OnPaint(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    if (pList->m_pPaintEvent)
        pList->PaintNow();
    else
        pList->viewport()->update();
    return 0;
}

LRESULT OnButtonDown(CListCtrlWidget* pList, CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    if (!InViewport(pList, lParam)) {
        AfxPassEventToQt();
        return 0;
    }
    const QPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (CWnd::GetFocus() != pWnd)
        pWnd->SetFocus();
    if (!pList->Alive())
        return 0;
    UINT flags = 0;
    const int i = pList->HitTest(pt, &flags, nullptr);
    const bool bShift = (wParam & MK_SHIFT) != 0;
    const bool bCtrl = (wParam & MK_CONTROL) != 0;
    if (nMsg == WM_RBUTTONDOWN) {
        // The right button selects the item under it unless it is selected already.
        if (pList->Valid(i) && !(pList->m_rows[static_cast<size_t>(i)].state & LVIS_SELECTED))
            pList->UserSelect(i, false, false, false);
        else if (!pList->Valid(i) && !bCtrl)
            pList->UserSelect(-1, false, false, false);
        pList->m_bRightPressed = true;
        return 0;
    }
    if (nMsg == WM_LBUTTONDBLCLK) {
        if (pList->Valid(i) && !(pList->m_rows[static_cast<size_t>(i)].state & LVIS_SELECTED))
            pList->UserSelect(i, bShift, bCtrl, false);
        if (!pList->Alive())
            return 0;
        pList->NotifyActivate(NM_DBLCLK, i, pt, 0);
        if (pList->Alive() && pList->Valid(i))
            pList->NotifyActivate(LVN_ITEMACTIVATE, i, pt, 0);
        return 0;
    }
    pList->UserSelect(i, bShift, bCtrl, false);
    if (!pList->Alive())
        return 0;
    pList->m_bPressed = true;
    pList->m_bDragging = false;
    pList->m_ptPress = pt;
    pList->m_nPressItem = i;
    return 0;
}

LRESULT OnMouseMove(CListCtrlWidget* pList, CWnd* pWnd, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    if (!pList->m_bPressed || pList->m_bDragging || !(wParam & MK_LBUTTON)) {
        if (!(wParam & MK_LBUTTON))
            pList->m_bPressed = false;
        if (!InViewport(pList, lParam))
            AfxPassEventToQt();
        return 0;
    }
    const QPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (std::abs(pt.x() - pList->m_ptPress.x()) < std::max(1, GetSystemMetrics(SM_CXDRAG)) &&
        std::abs(pt.y() - pList->m_ptPress.y()) < std::max(1, GetSystemMetrics(SM_CYDRAG)))
        return 0;
    pList->m_bDragging = true;
    if (pList->Valid(pList->m_nPressItem)) {
        const int i = pList->m_nPressItem;
        pList->NotifyItem(LVN_BEGINDRAG, i, 0, 0, 0, 0, pList->m_rows[static_cast<size_t>(i)].lParam,
                          POINT{pList->m_ptPress.x(), pList->m_ptPress.y()});
    }
    if (ListOf(pWnd)) {
        pList->m_bPressed = false;
        pList->m_nPressItem = -1;
    }
    return 0;
}

LRESULT OnLButtonUp(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    if (!pList->m_bPressed) {
        if (!InViewport(pList, lParam))
            AfxPassEventToQt();
        return 0;
    }
    const bool bClick = !pList->m_bDragging;
    const int i = pList->m_nPressItem;
    pList->m_bPressed = false;
    pList->m_nPressItem = -1;
    if (bClick)
        pList->NotifyActivate(NM_CLICK, i, QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), 0);
    return 0;
}

LRESULT OnRButtonUp(CListCtrlWidget* pList, CWnd* pWnd, UINT, WPARAM, LPARAM lParam, BOOL* pbHandled)
{
    const HWND hWnd = pList->m_hWnd;
    if (!pList->m_bRightPressed) {
        *pbHandled = FALSE;
        return 0;
    }
    pList->m_bRightPressed = false;
    const QPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const int i = pList->HitTest(pt, nullptr, nullptr);
    if (pList->NotifyActivate(NM_RCLICK, i, pt, 0) == 0 && pList->Alive()) {
        POINT screen{pt.x(), pt.y()};
        pWnd->ClientToScreen(&screen);
        pWnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd),
                          MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    }
    return 0;
}

LRESULT OnKeyDown(CListCtrlWidget* pList, CWnd* pWnd, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    const HWND hWnd = pList->m_hWnd;
    NMLVKEYDOWN nm{};
    nm.wVKey = static_cast<WORD>(wParam);
    AfxSendCtlNotify(hWnd, LVN_KEYDOWN, &nm.hdr);
    if (!pList->Alive() || !ListOf(pWnd))
        return 0;
    const bool bShift = GetKeyState(VK_SHIFT) < 0;
    const bool bCtrl = GetKeyState(VK_CONTROL) < 0;
    const int n = pList->Count();
    const int cur = pList->FocusedItem();
    int target = -2;
    switch (static_cast<UINT>(wParam)) {
    case VK_UP:
        target = cur < 0 ? 0 : std::max(0, cur - 1);
        break;
    case VK_DOWN:
        target = cur < 0 ? 0 : std::min(n - 1, cur + 1);
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = n - 1;
        break;
    case VK_PRIOR:
        target = std::max(0, (cur < 0 ? 0 : cur) - std::max(1, pList->CountPerPage() - 1));
        break;
    case VK_NEXT:
        target = std::min(n - 1, (cur < 0 ? 0 : cur) + std::max(1, pList->CountPerPage() - 1));
        break;
    case VK_SPACE:
        if (pList->Valid(cur)) {
            if (bCtrl && !(pList->Style() & LVS_SINGLESEL)) {
                const bool bSel = (pList->m_rows[static_cast<size_t>(cur)].state & LVIS_SELECTED) != 0;
                pList->ChangeState(cur, bSel ? 0 : LVIS_SELECTED, LVIS_SELECTED);
            } else {
                pList->ChangeState(cur, LVIS_SELECTED, LVIS_SELECTED);
            }
        }
        return 0;
    case VK_RETURN:
        if (pList->Valid(cur)) {
            NMHDR nmRet{};
            AfxSendCtlNotify(hWnd, NM_RETURN, &nmRet);
        }
        return 0;
    default:
        return 0;
    }
    if (n > 0 && pList->Valid(target))
        pList->UserSelect(target, bShift, bCtrl, true);
    return 0;
}

LRESULT OnChar(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    // Typing selects the next item whose text starts with what was typed lately.
    const unsigned char ch = static_cast<unsigned char>(wParam);
    if (ch < 0x20 || pList->Count() == 0)
        return 0;
    if (!pList->m_searchTimer.isValid() || pList->m_searchTimer.elapsed() > 1000)
        pList->m_search.clear();
    pList->m_searchTimer.restart();
    const char one[2] = {static_cast<char>(ch), 0};
    pList->m_search += AfxCtlText(one);
    const CString prefix = AfxCtlText(pList->m_search);
    const int cur = std::max(0, pList->FocusedItem());
    const int start = pList->m_search.size() == 1 ? cur + 1 : cur;
    for (int k = 0; k < pList->Count(); ++k) {
        const int j = (start + k) % pList->Count();
        const CListRow& row = pList->m_rows[static_cast<size_t>(j)];
        const CString& text = row.texts.empty() ? CString() : row.texts[0];
        if (text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0) {
            pList->UserSelect(j, false, false, true);
            break;
        }
    }
    return 0;
}

LRESULT OnGetDlgCode(CListCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

LRESULT OnBarScroll(CListCtrlWidget* pList, CWnd*, UINT nMsg, WPARAM wParam, LPARAM, BOOL*)
{
    AfxScrollCtlBar(nMsg == WM_VSCROLL ? pList->verticalScrollBar() : pList->horizontalScrollBar(),
                    LOWORD(static_cast<DWORD>(wParam)),
                    static_cast<short>(HIWORD(static_cast<DWORD>(wParam))));
    return 0;
}

LRESULT OnMouseWheel(CListCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    AfxPassEventToQt();
    return 0;
}

LRESULT OnFocusChange(CListCtrlWidget* pList, CWnd*, UINT nMsg, WPARAM, LPARAM, BOOL*)
{
    const HWND hWnd = pList->m_hWnd;
    pList->viewport()->update();
    NMHDR nm{};
    AfxSendCtlNotify(hWnd, nMsg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
    return 0;
}

LRESULT OnSetFont(CListCtrlWidget* pList, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pList->m_hFont = reinterpret_cast<HFONT>(wParam);
    pList->setFont(WidgetFontOf(pList->m_hFont ? CFont::FromHandle(pList->m_hFont) : nullptr));
    pList->Relayout();
    return 0;
}

LRESULT OnGetFont(CListCtrlWidget* pList, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return reinterpret_cast<LRESULT>(pList->m_hFont);
}

// The list control's messages, each with its handler.
using ListHandler = LRESULT (*)(CListCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*);
constexpr CMessageHandler<ListHandler> kListMessages[] = {
    // ---- columns ------------------------------------------------------------------------------
    {LVM_INSERTCOLUMN, OnInsertColumn},
    {LVM_DELETECOLUMN, OnDeleteColumn},
    {LVM_GETCOLUMN, OnColumnInfo},
    {LVM_SETCOLUMN, OnColumnInfo},
    {LVM_GETCOLUMNWIDTH, OnGetColumnWidth},
    {LVM_SETCOLUMNWIDTH, OnSetColumnWidth},
    {LVM_GETHEADER, OnGetHeader},
    // ---- items ----------------------------------------------------------------------------------
    {LVM_GETITEMCOUNT, OnGetItemCount},
    {LVM_INSERTITEM, OnInsertItem},
    {LVM_DELETEITEM, OnDeleteItem},
    {LVM_DELETEALLITEMS, OnDeleteAllItems},
    {LVM_GETITEM, OnGetItem},
    {LVM_GETITEMTEXT, OnGetItem},
    {LVM_SETITEM, OnSetItem},
    {LVM_SETITEMTEXT, OnSetItem},
    {LVM_SETITEMSTATE, OnSetItemState},
    {LVM_GETITEMSTATE, OnGetItemState},
    {LVM_GETNEXTITEM, OnGetNextItem},
    {LVM_GETSELECTEDCOUNT, OnGetSelectedCount},
    {LVM_GETSELECTIONMARK, OnGetSelectionMark},
    {LVM_SETSELECTIONMARK, OnSetSelectionMark},
    {LVM_FINDITEM, OnFindItem},
    {LVM_SORTITEMS, OnSortItems},
    {LVM_SETITEMCOUNT, OnSetItemCount},
    // ---- display -------------------------------------------------------------------------------
    {LVM_ENSUREVISIBLE, OnEnsureVisible},
    {LVM_GETITEMRECT, OnGetItemRect},
    {LVM_GETSUBITEMRECT, OnGetSubItemRect},
    {LVM_HITTEST, OnHitTest},
    {LVM_SUBITEMHITTEST, OnHitTest},
    {LVM_GETTOPINDEX, OnGetTopIndex},
    {LVM_GETCOUNTPERPAGE, OnGetCountPerPage},
    {LVM_REDRAWITEMS, OnRedrawItems},
    {LVM_UPDATE, OnRedrawItems},
    {LVM_SCROLL, OnScroll},
    {LVM_GETSTRINGWIDTH, OnGetStringWidth},
    {LVM_GETIMAGELIST, OnGetImageList},
    {LVM_SETIMAGELIST, OnSetImageList},
    {LVM_GETBKCOLOR, OnGetBkColor},
    {LVM_GETTEXTCOLOR, OnGetTextColor},
    {LVM_GETTEXTBKCOLOR, OnGetTextBkColor},
    {LVM_SETBKCOLOR, OnSetColor},
    {LVM_SETTEXTCOLOR, OnSetColor},
    {LVM_SETTEXTBKCOLOR, OnSetColor},
    {LVM_GETEXTENDEDLISTVIEWSTYLE, OnGetExtendedListViewStyle},
    {LVM_SETEXTENDEDLISTVIEWSTYLE, OnSetExtendedListViewStyle},
    // ---- window messages -------------------------------------------------------------------------
    {WM_PAINT, OnPaint},
    {WM_LBUTTONDOWN, OnButtonDown},
    {WM_LBUTTONDBLCLK, OnButtonDown},
    {WM_RBUTTONDOWN, OnButtonDown},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONUP, OnLButtonUp},
    {WM_RBUTTONUP, OnRButtonUp},
    {WM_KEYDOWN, OnKeyDown},
    {WM_CHAR, OnChar},
    {WM_GETDLGCODE, OnGetDlgCode},
    {WM_VSCROLL, OnBarScroll},
    {WM_HSCROLL, OnBarScroll},
    {WM_MOUSEWHEEL, OnMouseWheel},
    {WM_SETFOCUS, OnFocusChange},
    {WM_KILLFOCUS, OnFocusChange},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, OnGetFont},
};
static_assert(AfxMessagesUnique(kListMessages), "a message has two handlers");

} // namespace

void AfxRegisterListCtrlClass()
{
    AfxRegisterItemCtlClass<CListCtrlWidget, kListMessages>(WC_LISTVIEW);
}
