// The tree control's window class "SysTreeView32" over QTreeWidget: its items, input and
// messages, each with a handler, and the class registration. CTreeCtrl.cpp holds the wrapper.
#include "platform/ui/controls/CTreeCtrl.h"

#include "platform/ui/controls/CommonControls_p.h"
#include "platform/ui/controls/ItemControlClass_p.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/gdi/CImageList.h"
#include "platform/ui/gdi/CImageList_p.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <unordered_map>

namespace {

// Item data kept in the Qt items.
constexpr int RoleId = Qt::UserRole + 1;
constexpr int RoleText = Qt::UserRole + 2; // the code page 932 bytes
constexpr int RoleImage = Qt::UserRole + 3;
constexpr int RoleSelImage = Qt::UserRole + 4;
constexpr int RoleParam = Qt::UserRole + 5;
constexpr int RoleState = Qt::UserRole + 6; // TVIS_BOLD, TVIS_CUT, overlay and state-image bits

// The states kept as bits of the item; the others follow from the view.
constexpr UINT StoredStates =
    TVIS_BOLD | TVIS_CUT | TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK | TVIS_EXPANDEDONCE;

class CTreeCtrlWidget;

class CTreeItemDelegate : public QStyledItemDelegate {
public:
    explicit CTreeItemDelegate(CTreeCtrlWidget* pTree);
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    using QStyledItemDelegate::initStyleOption;

private:
    CTreeCtrlWidget* m_pTree;
};

class CTreeCtrlWidget : public QTreeWidget {
public:
    CTreeCtrlWidget(HWND hWnd, DWORD dwStyle, QWidget* pParent)
        : QTreeWidget(pParent), m_hWnd(hWnd), m_dwStyle(dwStyle)
    {
        setColumnCount(1);
        header()->hide();
        header()->setStretchLastSection(false);
        // The column is as wide as the widest item shown, kept up to date item by item
        // (UpdateColumnWidth): the header's own sizing to contents measures every shown item
        // again on each change, which makes filling and expanding a tree quadratic.
        header()->setSectionResizeMode(0, QHeaderView::Fixed);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setDragEnabled(false);
        setUniformRowHeights(true);
        setExpandsOnDoubleClick(false);
        setItemsExpandable(true);
        setAllColumnsShowFocus(false);
        setFocusPolicy(Qt::StrongFocus);
        setRootIsDecorated((dwStyle & TVS_LINESATROOT) != 0);
        setIconSize(QSize(16, 16));
        setFrameShape((dwStyle & WS_BORDER) ? QFrame::Box : QFrame::NoFrame);
        setLineWidth(1);
        setItemDelegate(new CTreeItemDelegate(this));
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        connect(this, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* pNow, QTreeWidgetItem* pOld) { OnQtCurrentChanged(pNow, pOld); });
        connect(this, &QTreeWidget::itemExpanded, this,
                [this](QTreeWidgetItem* p) { OnQtExpanded(p, true); });
        connect(this, &QTreeWidget::itemCollapsed, this,
                [this](QTreeWidgetItem* p) { OnQtExpanded(p, false); });
        QAbstractItemModel* pModel = model();
        connect(
            pModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int nFirst, int nLast) { OnRowsShown(parent, nFirst, nLast); });
        connect(pModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [this](const QModelIndex& parent, int nFirst, int nLast) {
                    OnRowsHidden(parent, nFirst, nLast);
                });
        connect(pModel, &QAbstractItemModel::modelReset, this, [this]() { ForgetWidths(); });
        connect(pModel, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& first, const QModelIndex& last) { OnItemsChanged(first, last); });
        connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
            OnRowsShown(index, 0, static_cast<int>(model()->rowCount(index)) - 1);
        });
        connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
            OnRowsHidden(index, 0, static_cast<int>(model()->rowCount(index)) - 1);
        });
    }

    ~CTreeCtrlWidget() override
    {
        blockSignals(true);
        // The model goes after this part of the widget: its last signals find no one.
        model()->disconnect(this);
    }

    HWND m_hWnd;
    DWORD m_dwStyle;
    std::unordered_map<uintptr_t, QTreeWidgetItem*> m_items;
    CImageListRef m_normalImages;
    CImageListRef m_stateImages;
    QTreeWidgetItem* m_pDropHilite = nullptr;
    int m_nInternal = 0;         // > 0 while the control itself changes selection or expansion
    int m_nImageGeneration = -1; // the image list's pictures last shown
    // The left button's press, for clicks and for starting a drag.
    bool m_bPressed = false;
    bool m_bDragging = false;
    QPoint m_ptPress;
    QTreeWidgetItem* m_pPressItem = nullptr;
    bool m_bRightPressed = false;
    COLORREF m_crText = CLR_NONE;
    COLORREF m_crBk = CLR_NONE;

    static uintptr_t NextId()
    {
        static uintptr_t s_next = 0x1000;
        return s_next += 4;
    }

    // ---- handles ------------------------------------------------------------------------
    QTreeWidgetItem* Item(HTREEITEM h) const
    {
        auto it = m_items.find(reinterpret_cast<uintptr_t>(h));
        return it == m_items.end() ? nullptr : it->second;
    }
    static HTREEITEM Handle(const QTreeWidgetItem* p)
    {
        return p ? reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(p->data(0, RoleId).toULongLong()))
                 : nullptr;
    }
    void Forget(QTreeWidgetItem* p)
    {
        for (int i = 0; i < p->childCount(); ++i)
            Forget(p->child(i));
        m_items.erase(reinterpret_cast<uintptr_t>(Handle(p)));
        if (p == m_pDropHilite)
            m_pDropHilite = nullptr;
        if (p == m_pPressItem)
            m_pPressItem = nullptr;
    }

    // ---- the column's width ---------------------------------------------------------------
    // The width each shown item needs (its label, picture and indentation, as the view
    // measures them), and how many shown items need each width: the column is as wide as
    // the greatest. An item is measured when it comes into view or changes; a tree filled
    // or expanded item by item costs one measurement per item.
    std::unordered_map<const QTreeWidgetItem*, int> m_widths;
    std::map<int, int> m_widthCounts;

    static int Depth(const QTreeWidgetItem* p)
    {
        int nDepth = 0;
        for (const QTreeWidgetItem* q = p->parent(); q; q = q->parent())
            ++nDepth;
        return nDepth;
    }
    int MeasureItem(QTreeWidgetItem* p, int nDepth) const
    {
        QStyleOptionViewItem opt;
        initViewItemOption(&opt);
        const int w = itemDelegate()->sizeHint(opt, indexFromItem(p, 0)).width();
        return w + (nDepth + (rootIsDecorated() ? 1 : 0)) * indentation();
    }
    void Uncount(int nWidth)
    {
        auto it = m_widthCounts.find(nWidth);
        if (it != m_widthCounts.end() && --it->second <= 0)
            m_widthCounts.erase(it);
    }
    void Measure(QTreeWidgetItem* p, int nDepth)
    {
        const int w = MeasureItem(p, nDepth);
        auto [it, bNew] = m_widths.try_emplace(p, w);
        if (!bNew) {
            Uncount(it->second);
            it->second = w;
        }
        ++m_widthCounts[w];
    }
    // p has come into view: it and its shown descendants are measured.
    void ShowItem(QTreeWidgetItem* p, int nDepth)
    {
        Measure(p, nDepth);
        if (p->isExpanded()) {
            for (int i = 0; i < p->childCount(); ++i)
                ShowItem(p->child(i), nDepth + 1);
        }
    }
    // p and its descendants are out of view (collapsed away or about to be deleted).
    void HideItem(const QTreeWidgetItem* p)
    {
        auto it = m_widths.find(p);
        if (it != m_widths.end()) {
            Uncount(it->second);
            m_widths.erase(it);
        }
        for (int i = 0; i < p->childCount(); ++i)
            HideItem(p->child(i));
    }
    // The children nFirst..nLast of the item at parent (the top level for no index) came
    // into view, when their parent is shown and open.
    void OnRowsShown(const QModelIndex& parent, int nFirst, int nLast)
    {
        QTreeWidgetItem* pParent = parent.isValid() ? itemFromIndex(parent) : nullptr;
        if (pParent && (!pParent->isExpanded() || !IsShown(pParent)))
            return;
        const int nDepth = pParent ? Depth(pParent) + 1 : 0;
        for (int i = nFirst; i <= nLast; ++i) {
            if (QTreeWidgetItem* p = pParent ? pParent->child(i) : topLevelItem(i))
                ShowItem(p, nDepth);
        }
        UpdateColumnWidth();
    }
    void OnRowsHidden(const QModelIndex& parent, int nFirst, int nLast)
    {
        QTreeWidgetItem* pParent = parent.isValid() ? itemFromIndex(parent) : nullptr;
        for (int i = nFirst; i <= nLast; ++i) {
            if (QTreeWidgetItem* p = pParent ? pParent->child(i) : topLevelItem(i))
                HideItem(p);
        }
        UpdateColumnWidth();
    }
    void OnItemsChanged(const QModelIndex& first, const QModelIndex& last)
    {
        for (int i = first.row(); i <= last.row(); ++i) {
            QTreeWidgetItem* p = itemFromIndex(first.siblingAtRow(i));
            if (p && m_widths.count(p))
                Measure(p, Depth(p));
        }
        UpdateColumnWidth();
    }
    void ForgetWidths()
    {
        m_widths.clear();
        m_widthCounts.clear();
        UpdateColumnWidth();
    }
    // Every shown item measured again: the font, the pictures or the indentation changed.
    void MeasureAll()
    {
        m_widths.clear();
        m_widthCounts.clear();
        for (int i = 0; i < topLevelItemCount(); ++i)
            ShowItem(topLevelItem(i), 0);
        UpdateColumnWidth();
    }
    void UpdateColumnWidth()
    {
        const int nWidest = m_widthCounts.empty() ? 0 : m_widthCounts.rbegin()->first;
        const int w = std::max(nWidest, header()->minimumSectionSize());
        if (header()->sectionSize(0) != w)
            header()->resizeSection(0, w);
    }

    // ---- items --------------------------------------------------------------------------
    static CString Text(const QTreeWidgetItem* p)
    {
        const QByteArray bytes = p->data(0, RoleText).toByteArray();
        return CString(bytes.constData(), static_cast<int>(bytes.size()));
    }
    static void SetText(QTreeWidgetItem* p, const char* lpsz)
    {
        const QByteArray bytes(lpsz ? lpsz : "");
        p->setData(0, RoleText, bytes);
        p->setText(0, AfxCtlText(bytes.constData(), static_cast<int>(bytes.size())));
    }
    static UINT StoredState(const QTreeWidgetItem* p) { return p->data(0, RoleState).toUInt(); }

    void ApplyLook(QTreeWidgetItem* p) const
    {
        QFont f = font();
        f.setBold((StoredState(p) & TVIS_BOLD) != 0);
        p->setFont(0, f);
    }

    UINT State(QTreeWidgetItem* p) const
    {
        UINT state = StoredState(p) & StoredStates;
        if (p->isSelected() || p == currentItem())
            state |= TVIS_SELECTED;
        if (p->isExpanded())
            state |= TVIS_EXPANDED;
        if (p == m_pDropHilite)
            state |= TVIS_DROPHILITED;
        return state;
    }

    void FillItem(QTreeWidgetItem* p, TVITEM& item) const
    {
        item.hItem = Handle(p);
        item.state = p ? State(p) : 0;
        item.iImage = p ? p->data(0, RoleImage).toInt() : 0;
        item.iSelectedImage = p ? p->data(0, RoleSelImage).toInt() : 0;
        item.lParam = p ? static_cast<LPARAM>(p->data(0, RoleParam).toLongLong()) : 0;
        item.cChildren = p && p->childCount() > 0 ? 1 : 0;
        item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.stateMask = 0xFFFF;
        item.pszText = nullptr;
        item.cchTextMax = 0;
    }

    QTreeWidgetItem* Insert(const TVINSERTSTRUCT& tvis)
    {
        QTreeWidgetItem* pParent = nullptr;
        if (tvis.hParent && tvis.hParent != TVI_ROOT) {
            pParent = Item(tvis.hParent);
            if (!pParent)
                return nullptr;
        }
        auto* p = new QTreeWidgetItem;
        const uintptr_t id = NextId();
        p->setData(0, RoleId, static_cast<qulonglong>(id));
        const TVITEM& it = tvis.item;
        SetText(p, (it.mask & TVIF_TEXT) ? it.pszText : "");
        p->setData(0, RoleImage, (it.mask & TVIF_IMAGE) ? it.iImage : 0);
        p->setData(0, RoleSelImage, (it.mask & TVIF_SELECTEDIMAGE) ? it.iSelectedImage : 0);
        p->setData(0, RoleParam, static_cast<qlonglong>((it.mask & TVIF_PARAM) ? it.lParam : 0));
        p->setData(0, RoleState, (it.mask & TVIF_STATE) ? (it.state & it.stateMask & StoredStates) : 0u);
        ApplyLook(p);

        const int count = pParent ? pParent->childCount() : topLevelItemCount();
        int index = count;
        if (tvis.hInsertAfter == TVI_FIRST) {
            index = 0;
        } else if (tvis.hInsertAfter == TVI_SORT) {
            const CString text = Text(p);
            index = 0;
            while (index < count) {
                QTreeWidgetItem* q = pParent ? pParent->child(index) : topLevelItem(index);
                if (text.CompareNoCase(Text(q)) < 0)
                    break;
                ++index;
            }
        } else if (tvis.hInsertAfter && tvis.hInsertAfter != TVI_LAST) {
            QTreeWidgetItem* pAfter = Item(tvis.hInsertAfter);
            if (pAfter && pAfter->parent() == pParent)
                index = (pParent ? pParent->indexOfChild(pAfter) : indexOfTopLevelItem(pAfter)) + 1;
        }
        ++m_nInternal;
        if (pParent)
            pParent->insertChild(index, p);
        else
            insertTopLevelItem(index, p);
        if ((it.mask & TVIF_STATE) && (it.stateMask & TVIS_EXPANDED) && (it.state & TVIS_EXPANDED))
            p->setExpanded(true);
        --m_nInternal;
        m_items[id] = p;
        RefreshIcon(p);
        return p;
    }

    void NotifyDelete(QTreeWidgetItem* p)
    {
        for (int i = 0; i < p->childCount(); ++i)
            NotifyDelete(p->child(i));
        NMTREEVIEW nm{};
        FillItem(p, nm.itemOld);
        nm.action = 0;
        AfxSendCtlNotify(m_hWnd, TVN_DELETEITEM, &nm.hdr);
    }

    BOOL Delete(HTREEITEM h)
    {
        if (h == TVI_ROOT || h == nullptr) {
            std::vector<QTreeWidgetItem*> all;
            for (int i = 0; i < topLevelItemCount(); ++i)
                all.push_back(topLevelItem(i));
            for (QTreeWidgetItem* p : all)
                NotifyDelete(p);
            ++m_nInternal;
            m_items.clear();
            m_pDropHilite = nullptr;
            m_pPressItem = nullptr;
            clear();
            --m_nInternal;
            return TRUE;
        }
        QTreeWidgetItem* p = Item(h);
        if (!p)
            return FALSE;
        NotifyDelete(p);
        p = Item(h); // a handler may have deleted it already
        if (!p)
            return TRUE;
        const bool bWasCurrent = p == currentItem() || IsAncestorOf(p, currentItem());
        ++m_nInternal;
        Forget(p);
        delete p;
        --m_nInternal;
        if (bWasCurrent) {
            // The selection moves on as the user sees it; say so.
            QTreeWidgetItem* pNow = currentItem();
            NMTREEVIEW nm{};
            nm.action = TVC_UNKNOWN;
            FillItem(pNow, nm.itemNew);
            AfxSendCtlNotify(m_hWnd, TVN_SELCHANGED, &nm.hdr);
        }
        return TRUE;
    }

    static bool IsAncestorOf(const QTreeWidgetItem* pAncestor, const QTreeWidgetItem* p)
    {
        for (const QTreeWidgetItem* q = p ? p->parent() : nullptr; q; q = q->parent())
            if (q == pAncestor)
                return true;
        return false;
    }

    // ---- selection ------------------------------------------------------------------------
    // Moves the selection, asking the parent first; FALSE when it refused.
    BOOL SelectCaret(QTreeWidgetItem* pNew, UINT action)
    {
        QTreeWidgetItem* pOld = currentItem();
        if (pOld == pNew && (!pNew || pNew->isSelected()))
            return TRUE;
        NMTREEVIEW nm{};
        nm.action = action;
        FillItem(pOld, nm.itemOld);
        FillItem(pNew, nm.itemNew);
        if (AfxSendCtlNotify(m_hWnd, TVN_SELCHANGING, &nm.hdr) != 0)
            return FALSE;
        if (!AfxGetWndState(m_hWnd))
            return FALSE;
        ++m_nInternal;
        if (pNew) {
            for (QTreeWidgetItem* q = pNew->parent(); q; q = q->parent())
                q->setExpanded(true);
            setCurrentItem(pNew);
            pNew->setSelected(true);
            scrollToItem(pNew);
        } else {
            setCurrentItem(nullptr);
            clearSelection();
        }
        --m_nInternal;
        viewport()->update();
        nm = NMTREEVIEW{};
        nm.action = action;
        FillItem(pOld, nm.itemOld);
        FillItem(pNew, nm.itemNew);
        AfxSendCtlNotify(m_hWnd, TVN_SELCHANGED, &nm.hdr);
        return TRUE;
    }

    void OnQtCurrentChanged(QTreeWidgetItem* pNow, QTreeWidgetItem* pOld)
    {
        if (m_nInternal > 0 || !AfxGetWndState(m_hWnd))
            return;
        // A change made by the view itself (keyboard search): report it as done.
        NMTREEVIEW nm{};
        nm.action = TVC_BYKEYBOARD;
        FillItem(pOld, nm.itemOld);
        FillItem(pNow, nm.itemNew);
        AfxSendCtlNotify(m_hWnd, TVN_SELCHANGING, &nm.hdr);
        nm = NMTREEVIEW{};
        nm.action = TVC_BYKEYBOARD;
        FillItem(pOld, nm.itemOld);
        FillItem(pNow, nm.itemNew);
        AfxSendCtlNotify(m_hWnd, TVN_SELCHANGED, &nm.hdr);
    }

    // ---- expansion ------------------------------------------------------------------------
    BOOL ExpandItem(QTreeWidgetItem* p, UINT nCode, bool bNotify)
    {
        if (!p)
            return FALSE;
        const UINT code = nCode & 0x0003;
        const bool bExpand = code == TVE_EXPAND || (code == TVE_TOGGLE && !p->isExpanded());
        if (code == 0)
            return FALSE;
        if (p->childCount() == 0) {
            // Nothing to show; the state is still remembered as the control does.
            return FALSE;
        }
        if (bExpand == p->isExpanded())
            return TRUE;
        const UINT action = bExpand ? TVE_EXPAND : TVE_COLLAPSE;
        if (bNotify) {
            NMTREEVIEW nm{};
            nm.action = action;
            FillItem(p, nm.itemNew);
            if (AfxSendCtlNotify(m_hWnd, TVN_ITEMEXPANDING, &nm.hdr) != 0)
                return FALSE;
            if (!AfxGetWndState(m_hWnd))
                return FALSE;
        }
        ++m_nInternal;
        p->setExpanded(bExpand);
        if (bExpand)
            p->setData(0, RoleState, StoredState(p) | TVIS_EXPANDEDONCE);
        // A collapsed branch hides its selected item: the selection moves to the branch.
        QTreeWidgetItem* pCur = currentItem();
        --m_nInternal;
        if (!bExpand && pCur && IsAncestorOf(p, pCur))
            SelectCaret(p, TVC_UNKNOWN);
        if (bNotify) {
            NMTREEVIEW nm{};
            nm.action = action;
            FillItem(p, nm.itemNew);
            AfxSendCtlNotify(m_hWnd, TVN_ITEMEXPANDED, &nm.hdr);
        }
        return TRUE;
    }

    void OnQtExpanded(QTreeWidgetItem* p, bool bExpanded)
    {
        // Qt expanded or collapsed an item by itself (keyboard): tell the parent afterwards.
        if (m_nInternal > 0 || !AfxGetWndState(m_hWnd))
            return;
        if (bExpanded)
            p->setData(0, RoleState, StoredState(p) | TVIS_EXPANDEDONCE);
        NMTREEVIEW nm{};
        nm.action = bExpanded ? TVE_EXPAND : TVE_COLLAPSE;
        FillItem(p, nm.itemNew);
        AfxSendCtlNotify(m_hWnd, TVN_ITEMEXPANDED, &nm.hdr);
    }

    // ---- pictures -------------------------------------------------------------------------
    void RefreshIcon(QTreeWidgetItem* p)
    {
        // The delegate draws the pictures; the item only needs a size hint for its row.
        (void)p;
    }

    void SetImages(HIMAGELIST hList, int nType)
    {
        (void)hList;
        (void)nType;
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(m_normalImages.Handle(), &cx, &cy))
            setIconSize(QSize(cx, cy));
        else
            setIconSize(QSize(0, 0));
        m_nImageGeneration = -1;
        viewport()->update();
        doItemsLayout();
        MeasureAll();
    }

    // ---- geometry -------------------------------------------------------------------------
    bool IsShown(QTreeWidgetItem* p) const
    {
        for (QTreeWidgetItem* q = p->parent(); q; q = q->parent())
            if (!q->isExpanded())
                return false;
        return true;
    }

    QStyleOptionViewItem OptionFor(QTreeWidgetItem* p) const
    {
        QStyleOptionViewItem opt;
        const_cast<CTreeCtrlWidget*>(this)->initViewItemOption(&opt);
        const QModelIndex index = indexFromItem(p, 0);
        opt.rect = visualRect(index);
        static_cast<CTreeItemDelegate*>(itemDelegate())->initStyleOption(&opt, index);
        return opt;
    }

    // The label's rectangle (text only) in viewport coordinates.
    QRect LabelRect(QTreeWidgetItem* p) const
    {
        QStyleOptionViewItem opt = OptionFor(p);
        QRect r = style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, this);
        const int w = opt.fontMetrics.horizontalAdvance(p->text(0)) + 6;
        r.setWidth(std::min(r.width(), w));
        return r;
    }

    QRect IconRect(QTreeWidgetItem* p) const
    {
        QStyleOptionViewItem opt = OptionFor(p);
        if (!(opt.features & QStyleOptionViewItem::HasDecoration))
            return QRect();
        return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, this);
    }

    QTreeWidgetItem* HitTest(QPoint pt, UINT* pFlags) const
    {
        UINT flags = 0;
        const QRect client = viewport()->rect();
        if (pt.y() < 0)
            flags |= TVHT_ABOVE;
        if (pt.y() >= client.height())
            flags |= TVHT_BELOW;
        if (pt.x() < 0)
            flags |= TVHT_TOLEFT;
        if (pt.x() >= client.width())
            flags |= TVHT_TORIGHT;
        QTreeWidgetItem* p = nullptr;
        if (flags == 0) {
            // The row under the point, wherever the point is across the line.
            const int x0 = header()->sectionViewportPosition(0);
            p = itemAt(
                QPoint(std::clamp(pt.x(), x0, x0 + std::max(0, header()->sectionSize(0) - 1)), pt.y()));
            if (!p) {
                flags = TVHT_NOWHERE;
            } else {
                const QRect rcRow = visualItemRect(p);
                const QRect rcIcon = IconRect(p);
                const QRect rcLabel = LabelRect(p);
                if (!rcIcon.isEmpty() && pt.x() >= rcIcon.left() && pt.x() <= rcIcon.right())
                    flags = TVHT_ONITEMICON;
                else if (pt.x() >= rcLabel.left() && pt.x() <= rcLabel.right())
                    flags = TVHT_ONITEMLABEL;
                else if (pt.x() > rcLabel.right())
                    flags = TVHT_ONITEMRIGHT;
                else if (pt.x() < rcRow.left() && pt.x() >= rcRow.left() - indentation() &&
                         p->childCount() > 0 && (p->parent() || rootIsDecorated()))
                    flags = TVHT_ONITEMBUTTON;
                else if (pt.x() < rcRow.left())
                    flags = TVHT_ONITEMINDENT;
                else
                    flags = TVHT_ONITEMLABEL;
            }
        }
        if (pFlags)
            *pFlags = flags;
        return p;
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        CImageListData* d = m_normalImages.get();
        if (d && d->generation != m_nImageGeneration)
            m_nImageGeneration = d->generation;
        QTreeWidget::paintEvent(event);
    }

    void focusInEvent(QFocusEvent* event) override
    {
        // The view would make its first item current on gaining the focus; the control
        // leaves the selection as it is.
        QTreeWidgetItem* pCur = currentItem();
        ++m_nInternal;
        QTreeWidget::focusInEvent(event);
        if (currentItem() != pCur) {
            if (pCur)
                setCurrentItem(pCur);
            else {
                selectionModel()->clearCurrentIndex();
                clearSelection();
            }
        }
        --m_nInternal;
        viewport()->update();
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QTreeWidget::focusOutEvent(event);
        viewport()->update();
    }

    void changeEvent(QEvent* event) override
    {
        QTreeWidget::changeEvent(event);
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            MeasureAll();
    }

    void showEvent(QShowEvent* event) override
    {
        AfxUseViewportAsClient(m_hWnd, this);
        QTreeWidget::showEvent(event);
    }
};

CTreeItemDelegate::CTreeItemDelegate(CTreeCtrlWidget* pTree) : QStyledItemDelegate(pTree), m_pTree(pTree) {}

void CTreeItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    QTreeWidgetItem* p = m_pTree->itemFromIndex(index);
    if (!p)
        return;
    // The selected item shows its selected picture; a drop target shows as selected while
    // the real selection is not highlighted.
    const bool bSelected = p->isSelected();
    HIMAGELIST hList = m_pTree->m_normalImages.Handle();
    if (hList) {
        const int nImage = p->data(0, bSelected ? RoleSelImage : RoleImage).toInt();
        const UINT nOverlay = CTreeCtrlWidget::StoredState(p) & TVIS_OVERLAYMASK;
        UINT nStyle = nOverlay;
        if (CTreeCtrlWidget::StoredState(p) & TVIS_CUT)
            nStyle |= ILD_BLEND50;
        const QPixmap pixmap = AfxImageListPixmap(hList, nImage, nStyle);
        if (!pixmap.isNull()) {
            // The same picture in every mode: the list's own pictures say what selected
            // looks like.
            QIcon icon;
            icon.addPixmap(pixmap, QIcon::Normal);
            icon.addPixmap(pixmap, QIcon::Selected);
            icon.addPixmap(pixmap, QIcon::Active);
            option->icon = icon;
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->decorationSize = pixmap.size();
        }
    }
    if (m_pTree->m_pDropHilite) {
        if (p == m_pTree->m_pDropHilite)
            option->state |= QStyle::State_Selected;
        else
            option->state &= ~QStyle::State_Selected;
    }
    if (m_pTree->m_crText != CLR_NONE)
        option->palette.setColor(
            QPalette::Text,
            QColor(GetRValue(m_pTree->m_crText), GetGValue(m_pTree->m_crText), GetBValue(m_pTree->m_crText)));
}

CTreeCtrlWidget* TreeOf(CWnd* pWnd)
{
    return pWnd ? dynamic_cast<CTreeCtrlWidget*>(pWnd->GetWidget()) : nullptr;
}

bool InViewport(CTreeCtrlWidget* pTree, LPARAM lParam)
{
    const QPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return pTree->viewport()->rect().contains(pt);
}

// ---- the control's messages -------------------------------------------------------------

LRESULT OnInsertItem(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    auto* pIns = reinterpret_cast<TVINSERTSTRUCT*>(lParam);
    return pIns ? reinterpret_cast<LRESULT>(CTreeCtrlWidget::Handle(pTree->Insert(*pIns))) : 0;
}

LRESULT OnDeleteItem(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    return pTree->Delete(reinterpret_cast<HTREEITEM>(lParam));
}

LRESULT OnExpand(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    return pTree->ExpandItem(pTree->Item(reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam),
                             false);
}

LRESULT OnGetItemRect(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    auto* pRect = reinterpret_cast<RECT*>(lParam);
    if (!pRect)
        return FALSE;
    QTreeWidgetItem* p = pTree->Item(*reinterpret_cast<HTREEITEM*>(pRect));
    if (!p || !pTree->IsShown(p))
        return FALSE;
    pTree->doItemsLayout();
    QRect r = pTree->visualItemRect(p);
    if (wParam) {
        r = pTree->LabelRect(p);
    } else {
        r.setLeft(0);
        r.setRight(pTree->viewport()->width() - 1);
    }
    *pRect = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return TRUE;
}

LRESULT OnGetCount(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pTree->m_items.size());
}

LRESULT OnGetIndent(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pTree->indentation();
}

LRESULT OnSetIndent(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    pTree->setIndentation(static_cast<int>(wParam));
    pTree->MeasureAll();
    return 0;
}

LRESULT OnGetImageList(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM, BOOL*)
{
    return reinterpret_cast<LRESULT>(static_cast<int>(wParam) == TVSIL_STATE
                                         ? pTree->m_stateImages.Handle()
                                         : pTree->m_normalImages.Handle());
}

LRESULT OnSetImageList(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const int nType = static_cast<int>(wParam);
    CImageListRef& ref = nType == TVSIL_STATE ? pTree->m_stateImages : pTree->m_normalImages;
    const HIMAGELIST hOld = ref.Exchange(reinterpret_cast<HIMAGELIST>(lParam));
    pTree->SetImages(ref.Handle(), nType);
    return reinterpret_cast<LRESULT>(hOld);
}

LRESULT OnGetNextItem(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    QTreeWidgetItem* p = pTree->Item(reinterpret_cast<HTREEITEM>(lParam));
    QTreeWidgetItem* r = nullptr;
    switch (static_cast<UINT>(wParam)) {
    case TVGN_ROOT:
        r = pTree->topLevelItemCount() ? pTree->topLevelItem(0) : nullptr;
        break;
    case TVGN_NEXT:
        if (p) {
            QTreeWidgetItem* pParent = p->parent();
            const int i = pParent ? pParent->indexOfChild(p) : pTree->indexOfTopLevelItem(p);
            const int n = pParent ? pParent->childCount() : pTree->topLevelItemCount();
            if (i + 1 < n)
                r = pParent ? pParent->child(i + 1) : pTree->topLevelItem(i + 1);
        }
        break;
    case TVGN_PREVIOUS:
        if (p) {
            QTreeWidgetItem* pParent = p->parent();
            const int i = pParent ? pParent->indexOfChild(p) : pTree->indexOfTopLevelItem(p);
            if (i > 0)
                r = pParent ? pParent->child(i - 1) : pTree->topLevelItem(i - 1);
        }
        break;
    case TVGN_PARENT:
        r = p ? p->parent() : nullptr;
        break;
    case TVGN_CHILD:
        if (!p && reinterpret_cast<HTREEITEM>(lParam) == nullptr)
            r = pTree->topLevelItemCount() ? pTree->topLevelItem(0) : nullptr;
        else if (p && p->childCount())
            r = p->child(0);
        break;
    case TVGN_FIRSTVISIBLE: {
        pTree->doItemsLayout();
        r = pTree->itemAt(QPoint(1, 1));
        if (!r && pTree->topLevelItemCount())
            r = pTree->topLevelItem(0);
        break;
    }
    case TVGN_NEXTVISIBLE:
        r = p && pTree->IsShown(p) ? pTree->itemBelow(p) : nullptr;
        break;
    case TVGN_PREVIOUSVISIBLE:
        r = p && pTree->IsShown(p) ? pTree->itemAbove(p) : nullptr;
        break;
    case TVGN_DROPHILITE:
        r = pTree->m_pDropHilite;
        break;
    case TVGN_CARET:
        r = pTree->currentItem();
        break;
    case TVGN_LASTVISIBLE: {
        QTreeWidgetItem* q =
            pTree->topLevelItemCount() ? pTree->topLevelItem(pTree->topLevelItemCount() - 1) : nullptr;
        while (q && q->isExpanded() && q->childCount())
            q = q->child(q->childCount() - 1);
        r = q;
        break;
    }
    default:
        break;
    }
    return reinterpret_cast<LRESULT>(CTreeCtrlWidget::Handle(r));
}

LRESULT OnSelectItem(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    HTREEITEM h = reinterpret_cast<HTREEITEM>(lParam);
    QTreeWidgetItem* p = pTree->Item(h);
    if (h && !p)
        return FALSE;
    switch (static_cast<UINT>(wParam)) {
    case TVGN_CARET:
        return pTree->SelectCaret(p, TVC_UNKNOWN);
    case TVGN_DROPHILITE:
        if (pTree->m_pDropHilite != p) {
            pTree->m_pDropHilite = p;
            pTree->viewport()->update();
        }
        return TRUE;
    case TVGN_FIRSTVISIBLE:
        if (p)
            pTree->scrollToItem(p, QAbstractItemView::PositionAtTop);
        return p != nullptr;
    default:
        return FALSE;
    }
}

LRESULT OnItemInfo(CTreeCtrlWidget* pTree, CWnd*, UINT nMsg, WPARAM, LPARAM lParam, BOOL*)
{
    auto* pItem = reinterpret_cast<TVITEM*>(lParam);
    if (!pItem)
        return FALSE;
    QTreeWidgetItem* p = pTree->Item(pItem->hItem);
    if (!p)
        return FALSE;
    if (nMsg == TVM_GETITEM) {
        if (pItem->mask & TVIF_TEXT)
            AfxCopyCtlText(CTreeCtrlWidget::Text(p), pItem->pszText, pItem->cchTextMax);
        if (pItem->mask & TVIF_IMAGE)
            pItem->iImage = p->data(0, RoleImage).toInt();
        if (pItem->mask & TVIF_SELECTEDIMAGE)
            pItem->iSelectedImage = p->data(0, RoleSelImage).toInt();
        if (pItem->mask & TVIF_PARAM)
            pItem->lParam = static_cast<LPARAM>(p->data(0, RoleParam).toLongLong());
        if (pItem->mask & TVIF_STATE)
            pItem->state = pTree->State(p) & pItem->stateMask;
        if (pItem->mask & TVIF_CHILDREN)
            pItem->cChildren = p->childCount() > 0 ? 1 : 0;
        return TRUE;
    }
    if (pItem->mask & TVIF_TEXT)
        CTreeCtrlWidget::SetText(p, pItem->pszText);
    if (pItem->mask & TVIF_IMAGE)
        p->setData(0, RoleImage, pItem->iImage);
    if (pItem->mask & TVIF_SELECTEDIMAGE)
        p->setData(0, RoleSelImage, pItem->iSelectedImage);
    if (pItem->mask & TVIF_PARAM)
        p->setData(0, RoleParam, static_cast<qlonglong>(pItem->lParam));
    if (pItem->mask & TVIF_STATE) {
        const UINT mask = pItem->stateMask;
        const UINT stored =
            (CTreeCtrlWidget::StoredState(p) & ~(mask & StoredStates)) | (pItem->state & mask & StoredStates);
        p->setData(0, RoleState, stored);
        pTree->ApplyLook(p);
        if (mask & TVIS_EXPANDED) {
            ++pTree->m_nInternal;
            p->setExpanded((pItem->state & TVIS_EXPANDED) != 0);
            --pTree->m_nInternal;
        }
        if (mask & TVIS_DROPHILITED) {
            // The item that loses the drop highlight shows it no longer.
            if (pTree->m_pDropHilite != nullptr && pTree->m_pDropHilite != p)
                pTree->viewport()->update(pTree->visualItemRect(pTree->m_pDropHilite));
            if (pItem->state & TVIS_DROPHILITED)
                pTree->m_pDropHilite = p;
            else if (pTree->m_pDropHilite == p)
                pTree->m_pDropHilite = nullptr;
        }
        if ((mask & TVIS_SELECTED) && (pItem->state & TVIS_SELECTED))
            pTree->SelectCaret(p, TVC_UNKNOWN);
    }
    // The item's own line shows what changed: a new amount on one heading does not paint
    // the whole tree again.
    pTree->viewport()->update(pTree->visualItemRect(p));
    return TRUE;
}

LRESULT OnGetVisibleCount(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    const int h = std::max(1, pTree->sizeHintForRow(0));
    return pTree->viewport()->height() / h;
}

LRESULT OnHitTest(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    auto* pInfo = reinterpret_cast<TVHITTESTINFO*>(lParam);
    if (!pInfo)
        return 0;
    pTree->doItemsLayout();
    QTreeWidgetItem* p = pTree->HitTest(QPoint(pInfo->pt.x, pInfo->pt.y), &pInfo->flags);
    pInfo->hItem = CTreeCtrlWidget::Handle(p);
    return reinterpret_cast<LRESULT>(pInfo->hItem);
}

LRESULT OnSortChildren(CTreeCtrlWidget* pTree, CWnd*, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL*)
{
    PFNTVCOMPARE pfn = nullptr;
    LPARAM lSort = 0;
    HTREEITEM hParent = nullptr;
    if (nMsg == TVM_SORTCHILDRENCB) {
        auto* pSort = reinterpret_cast<TVSORTCB*>(lParam);
        if (!pSort)
            return FALSE;
        hParent = pSort->hParent;
        pfn = pSort->lpfnCompare;
        lSort = pSort->lParam;
    } else {
        hParent = reinterpret_cast<HTREEITEM>(lParam);
    }
    QTreeWidgetItem* pParent = (hParent == TVI_ROOT || !hParent) ? nullptr : pTree->Item(hParent);
    if (hParent && hParent != TVI_ROOT && !pParent)
        return FALSE;
    const bool bRecurse = nMsg == TVM_SORTCHILDREN && wParam != 0;
    std::function<void(QTreeWidgetItem*)> sortLevel = [&](QTreeWidgetItem* pp) {
        QList<QTreeWidgetItem*> kids;
        QTreeWidgetItem* pCur = pTree->currentItem();
        ++pTree->m_nInternal;
        std::vector<bool> expanded;
        if (pp) {
            kids = pp->takeChildren();
        } else {
            while (pTree->topLevelItemCount())
                kids.push_back(pTree->takeTopLevelItem(0));
        }
        std::stable_sort(kids.begin(), kids.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
            if (pfn)
                return pfn(static_cast<LPARAM>(a->data(0, RoleParam).toLongLong()),
                           static_cast<LPARAM>(b->data(0, RoleParam).toLongLong()), lSort) < 0;
            return CTreeCtrlWidget::Text(a).CompareNoCase(CTreeCtrlWidget::Text(b)) < 0;
        });
        if (pp)
            pp->addChildren(kids);
        else
            pTree->addTopLevelItems(kids);
        if (pCur)
            pTree->setCurrentItem(pCur);
        --pTree->m_nInternal;
        if (bRecurse)
            for (QTreeWidgetItem* k : kids)
                if (k->childCount())
                    sortLevel(k);
    };
    sortLevel(pParent);
    return TRUE;
}

LRESULT OnEnsureVisible(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    QTreeWidgetItem* p = pTree->Item(reinterpret_cast<HTREEITEM>(lParam));
    if (!p)
        return FALSE;
    ++pTree->m_nInternal;
    for (QTreeWidgetItem* q = p->parent(); q; q = q->parent())
        q->setExpanded(true);
    --pTree->m_nInternal;
    pTree->scrollToItem(p);
    return TRUE;
}

LRESULT OnSetItemHeight(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return pTree->sizeHintForRow(0);
}

LRESULT OnGetItemHeight(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    pTree->doItemsLayout();
    const int h = pTree->topLevelItemCount() ? pTree->visualItemRect(pTree->topLevelItem(0)).height() : 0;
    return h > 0 ? h : pTree->fontMetrics().height() + 4;
}

LRESULT OnSetColor(CTreeCtrlWidget* pTree, CWnd*, UINT nMsg, WPARAM, LPARAM lParam, BOOL*)
{
    COLORREF& slot = nMsg == TVM_SETBKCOLOR ? pTree->m_crBk : pTree->m_crText;
    const COLORREF old = slot;
    slot = static_cast<COLORREF>(lParam);
    if (nMsg == TVM_SETBKCOLOR) {
        QPalette pal = pTree->palette();
        if (slot == CLR_NONE)
            pal = QApplication::palette(pTree);
        else
            pal.setColor(QPalette::Base, QColor(GetRValue(slot), GetGValue(slot), GetBValue(slot)));
        pTree->setPalette(pal);
    }
    pTree->viewport()->update();
    return static_cast<LRESULT>(old);
}

LRESULT OnGetBkColor(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pTree->m_crBk);
}

LRESULT OnGetTextColor(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pTree->m_crText);
}

// ---- input ------------------------------------------------------------------------------

LRESULT OnLButtonDown(CTreeCtrlWidget* pTree, CWnd* pWnd, UINT nMsg, WPARAM, LPARAM lParam, BOOL*)
{
    const HWND hWnd = pTree->m_hWnd;
    if (!InViewport(pTree, lParam)) {
        AfxPassEventToQt();
        return 0;
    }
    const QPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (CWnd::GetFocus() != pWnd)
        pWnd->SetFocus();
    if (!AfxGetWndState(hWnd))
        return 0;
    UINT flags = 0;
    QTreeWidgetItem* p = pTree->HitTest(pt, &flags);
    if (nMsg == WM_LBUTTONDBLCLK) {
        NMHDR nm{};
        if (AfxSendCtlNotify(hWnd, NM_DBLCLK, &nm) == 0 && AfxGetWndState(hWnd) && p &&
            (flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)))
            pTree->ExpandItem(p, TVE_TOGGLE, true);
        return 0;
    }
    if (p && (flags & TVHT_ONITEMBUTTON)) {
        // The button opens or closes the branch; the click is still reported on release.
        pTree->ExpandItem(p, TVE_TOGGLE, true);
        if (AfxGetWndState(hWnd) && TreeOf(pWnd)) {
            pTree->m_bPressed = true;
            pTree->m_bDragging = false;
            pTree->m_ptPress = pt;
            pTree->m_pPressItem = nullptr;
        }
        return 0;
    }
    const bool bOnItem = p && ((flags & TVHT_ONITEM) || ((pTree->m_dwStyle & TVS_FULLROWSELECT) &&
                                                         (flags & (TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT))));
    if (bOnItem) {
        pTree->SelectCaret(p, TVC_BYMOUSE);
        if (!AfxGetWndState(hWnd))
            return 0;
    }
    pTree->m_bPressed = true;
    pTree->m_bDragging = false;
    pTree->m_ptPress = pt;
    pTree->m_pPressItem = bOnItem ? p : nullptr;
    return 0;
}

LRESULT OnMouseMove(CTreeCtrlWidget* pTree, CWnd* pWnd, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    const HWND hWnd = pTree->m_hWnd;
    if (!pTree->m_bPressed || pTree->m_bDragging || !(wParam & MK_LBUTTON)) {
        if (!(wParam & MK_LBUTTON))
            pTree->m_bPressed = false;
        if (!InViewport(pTree, lParam))
            AfxPassEventToQt();
        return 0;
    }
    const QPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    const int cxDrag = std::max(1, GetSystemMetrics(SM_CXDRAG));
    const int cyDrag = std::max(1, GetSystemMetrics(SM_CYDRAG));
    if (std::abs(pt.x() - pTree->m_ptPress.x()) < cxDrag && std::abs(pt.y() - pTree->m_ptPress.y()) < cyDrag)
        return 0;
    pTree->m_bDragging = true;
    if (pTree->m_pPressItem && !(pTree->m_dwStyle & TVS_DISABLEDRAGDROP)) {
        NMTREEVIEW nm{};
        nm.action = 0;
        pTree->FillItem(pTree->m_pPressItem, nm.itemNew);
        nm.ptDrag = POINT{pTree->m_ptPress.x(), pTree->m_ptPress.y()};
        AfxSendCtlNotify(hWnd, TVN_BEGINDRAG, &nm.hdr);
    }
    // The drag ran (or was declined): the press is over either way.
    if (AfxGetWndState(hWnd) && TreeOf(pWnd)) {
        pTree->m_bPressed = false;
        pTree->m_pPressItem = nullptr;
    }
    return 0;
}

LRESULT OnLButtonUp(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    const HWND hWnd = pTree->m_hWnd;
    if (!pTree->m_bPressed) {
        if (!InViewport(pTree, lParam))
            AfxPassEventToQt();
        return 0;
    }
    const bool bClick = !pTree->m_bDragging;
    pTree->m_bPressed = false;
    pTree->m_pPressItem = nullptr;
    if (bClick) {
        NMHDR nm{};
        AfxSendCtlNotify(hWnd, NM_CLICK, &nm);
    }
    return 0;
}

LRESULT OnRButtonDown(CTreeCtrlWidget* pTree, CWnd* pWnd, UINT, WPARAM, LPARAM lParam, BOOL*)
{
    if (!InViewport(pTree, lParam)) {
        AfxPassEventToQt();
        return 0;
    }
    if (CWnd::GetFocus() != pWnd)
        pWnd->SetFocus();
    pTree->m_bRightPressed = true;
    return 0;
}

LRESULT OnRButtonUp(CTreeCtrlWidget* pTree, CWnd* pWnd, UINT, WPARAM, LPARAM lParam, BOOL* pbHandled)
{
    const HWND hWnd = pTree->m_hWnd;
    if (!pTree->m_bRightPressed) {
        *pbHandled = FALSE;
        return 0;
    }
    pTree->m_bRightPressed = false;
    NMHDR nm{};
    if (AfxSendCtlNotify(hWnd, NM_RCLICK, &nm) == 0 && AfxGetWndState(hWnd)) {
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        pWnd->ClientToScreen(&pt);
        pWnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd),
                          MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    }
    return 0;
}

LRESULT OnKeyDown(CTreeCtrlWidget* pTree, CWnd* pWnd, UINT, WPARAM wParam, LPARAM, BOOL* pbHandled)
{
    const HWND hWnd = pTree->m_hWnd;
    NMTVKEYDOWN nm{};
    nm.wVKey = static_cast<WORD>(wParam);
    nm.flags = 0;
    AfxSendCtlNotify(hWnd, TVN_KEYDOWN, &nm.hdr);
    if (!AfxGetWndState(hWnd) || !TreeOf(pWnd))
        return 0;
    QTreeWidgetItem* pCur = pTree->currentItem();
    QTreeWidgetItem* pNew = nullptr;
    switch (static_cast<UINT>(wParam)) {
    case VK_UP:
        pNew = pCur ? pTree->itemAbove(pCur) : nullptr;
        break;
    case VK_DOWN:
        pNew =
            pCur ? pTree->itemBelow(pCur) : (pTree->topLevelItemCount() ? pTree->topLevelItem(0) : nullptr);
        break;
    case VK_HOME:
        pNew = pTree->topLevelItemCount() ? pTree->topLevelItem(0) : nullptr;
        break;
    case VK_END: {
        QTreeWidgetItem* q =
            pTree->topLevelItemCount() ? pTree->topLevelItem(pTree->topLevelItemCount() - 1) : nullptr;
        while (q && q->isExpanded() && q->childCount())
            q = q->child(q->childCount() - 1);
        pNew = q;
        break;
    }
    case VK_PRIOR:
    case VK_NEXT: {
        const int n = std::max(
            1, static_cast<int>(OnGetVisibleCount(pTree, pWnd, TVM_GETVISIBLECOUNT, 0, 0, pbHandled)) - 1);
        pNew = pCur;
        for (int i = 0; i < n && pNew; ++i) {
            QTreeWidgetItem* q = wParam == VK_PRIOR ? pTree->itemAbove(pNew) : pTree->itemBelow(pNew);
            if (!q)
                break;
            pNew = q;
        }
        break;
    }
    case VK_LEFT:
        if (pCur && pCur->isExpanded() && pCur->childCount())
            pTree->ExpandItem(pCur, TVE_COLLAPSE, true);
        else if (pCur)
            pNew = pCur->parent();
        break;
    case VK_RIGHT:
        if (pCur && !pCur->isExpanded() && pCur->childCount())
            pTree->ExpandItem(pCur, TVE_EXPAND, true);
        else if (pCur && pCur->childCount())
            pNew = pCur->child(0);
        break;
    case VK_ADD:
        if (pCur)
            pTree->ExpandItem(pCur, TVE_EXPAND, true);
        break;
    case VK_SUBTRACT:
        if (pCur)
            pTree->ExpandItem(pCur, TVE_COLLAPSE, true);
        break;
    default:
        // Typing jumps to an item by its first letters: the view does that itself.
        AfxPassEventToQt();
        return 0;
    }
    if (pNew && pNew != pCur)
        pTree->SelectCaret(pNew, TVC_BYKEYBOARD);
    return 0;
}

LRESULT OnChar(CTreeCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    AfxPassEventToQt();
    return 0;
}

LRESULT OnGetDlgCode(CTreeCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

LRESULT OnBarScroll(CTreeCtrlWidget* pTree, CWnd*, UINT nMsg, WPARAM wParam, LPARAM, BOOL*)
{
    AfxScrollCtlBar(nMsg == WM_VSCROLL ? pTree->verticalScrollBar() : pTree->horizontalScrollBar(),
                    LOWORD(static_cast<DWORD>(wParam)),
                    static_cast<short>(HIWORD(static_cast<DWORD>(wParam))));
    return 0;
}

LRESULT OnFocusChange(CTreeCtrlWidget* pTree, CWnd*, UINT nMsg, WPARAM, LPARAM, BOOL*)
{
    const HWND hWnd = pTree->m_hWnd;
    pTree->viewport()->update();
    NMHDR nm{};
    AfxSendCtlNotify(hWnd, nMsg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
    return 0;
}

LRESULT OnSetFont(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM wParam, LPARAM lParam, BOOL*)
{
    CFont* pFont = CFont::FromHandle(reinterpret_cast<HFONT>(wParam));
    pTree->setFont(WidgetFontOf(pFont));
    pTree->setProperty("morvelFont", QVariant::fromValue(static_cast<qulonglong>(wParam)));
    if (lParam)
        pTree->viewport()->update();
    return 0;
}

LRESULT OnGetFont(CTreeCtrlWidget* pTree, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    return static_cast<LRESULT>(pTree->property("morvelFont").toULongLong());
}

LRESULT OnMouseWheel(CTreeCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*)
{
    AfxPassEventToQt();
    return 0;
}

// The tree control's messages, each with its handler.
using TreeHandler = LRESULT (*)(CTreeCtrlWidget*, CWnd*, UINT, WPARAM, LPARAM, BOOL*);
constexpr CMessageHandler<TreeHandler> kTreeMessages[] = {
    // ---- the control's messages -------------------------------------------------------------
    {TVM_INSERTITEM, OnInsertItem},
    {TVM_DELETEITEM, OnDeleteItem},
    {TVM_EXPAND, OnExpand},
    {TVM_GETITEMRECT, OnGetItemRect},
    {TVM_GETCOUNT, OnGetCount},
    {TVM_GETINDENT, OnGetIndent},
    {TVM_SETINDENT, OnSetIndent},
    {TVM_GETIMAGELIST, OnGetImageList},
    {TVM_SETIMAGELIST, OnSetImageList},
    {TVM_GETNEXTITEM, OnGetNextItem},
    {TVM_SELECTITEM, OnSelectItem},
    {TVM_GETITEM, OnItemInfo},
    {TVM_SETITEM, OnItemInfo},
    {TVM_GETVISIBLECOUNT, OnGetVisibleCount},
    {TVM_HITTEST, OnHitTest},
    {TVM_SORTCHILDREN, OnSortChildren},
    {TVM_SORTCHILDRENCB, OnSortChildren},
    {TVM_ENSUREVISIBLE, OnEnsureVisible},
    {TVM_SETITEMHEIGHT, OnSetItemHeight},
    {TVM_GETITEMHEIGHT, OnGetItemHeight},
    {TVM_SETBKCOLOR, OnSetColor},
    {TVM_SETTEXTCOLOR, OnSetColor},
    {TVM_GETBKCOLOR, OnGetBkColor},
    {TVM_GETTEXTCOLOR, OnGetTextColor},
    // ---- input ------------------------------------------------------------------------------
    {WM_LBUTTONDOWN, OnLButtonDown},
    {WM_LBUTTONDBLCLK, OnLButtonDown},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONUP, OnLButtonUp},
    {WM_RBUTTONDOWN, OnRButtonDown},
    {WM_RBUTTONUP, OnRButtonUp},
    {WM_KEYDOWN, OnKeyDown},
    {WM_CHAR, OnChar},
    {WM_GETDLGCODE, OnGetDlgCode},
    {WM_VSCROLL, OnBarScroll},
    {WM_HSCROLL, OnBarScroll},
    {WM_SETFOCUS, OnFocusChange},
    {WM_KILLFOCUS, OnFocusChange},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, OnGetFont},
    {WM_MOUSEWHEEL, OnMouseWheel},
};
static_assert(AfxMessagesUnique(kTreeMessages), "a message has two handlers");

} // namespace

void AfxRegisterTreeCtrlClass()
{
    AfxRegisterItemCtlClass<CTreeCtrlWidget, kTreeMessages>(WC_TREEVIEW);
}
