#include "estimate_tools/CMorvelEMTreeView.h"

#include "app/CMainFrame.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CNumberRules.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "estimate_tools/CSubjectDragData.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

IMPLEMENT_DYNCREATE(CMorvelEMTreeView, CTreeView)

BEGIN_MESSAGE_MAP(CMorvelEMTreeView, CTreeView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_NOTIFY_REFLECT(TVN_ITEMEXPANDED, OnItemExpanded)
ON_WM_LBUTTONDOWN()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
ON_NOTIFY_REFLECT(TVN_BEGINDRAG, OnBeginDrag)
ON_NOTIFY_REFLECT(TVN_KEYDOWN, OnKeyDownNotify)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
ON_COMMAND(ID_ENVIRONMENT, OnEnvironment)
ON_UPDATE_COMMAND_UI(ID_ENVIRONMENT, OnUpdateEnvironment)
END_MESSAGE_MAP()

namespace {

// The pictures of each level (normal, selected).
struct CLevelImages {
    ERowKind nKind;
    int nImage;
};
constexpr CLevelImages kLevelImages[] = {{kindKind, 2}, {kindLarge, 4}, {kindMiddle, 6}, {kindSmall, 8}};

int ImageOfKind(ERowKind nKind)
{
    for (const CLevelImages& level : kLevelImages)
        if (level.nKind == nKind)
            return level.nImage;
    return 0;
}

// How far down a heading stands: the root above all, then kind, large, middle, small.
int LevelRank(ERowKind nKind)
{
    switch (nKind) {
    case kindEmpty: // the root
        return 0;
    case kindKind:
        return 1;
    case kindLarge:
        return 2;
    case kindMiddle:
        return 3;
    case kindSmall:
        return 4;
    default:
        return -1;
    }
}

} // namespace

CMorvelEMTreeView::CMorvelEMTreeView()
{
    GetClipboardFormat();
}

CMorvelEMTreeView::~CMorvelEMTreeView() = default;

CLIPFORMAT CMorvelEMTreeView::GetClipboardFormat()
{
    static const CLIPFORMAT s_cfFormat =
        static_cast<CLIPFORMAT>(RegisterClipboardFormat("MORVEL EMTREEVIEW"));
    return s_cfFormat;
}

BOOL CMorvelEMTreeView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= static_cast<LONG>(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_HSCROLL | WS_VSCROLL);
    return CTreeView::PreCreateWindow(cs);
}

int CMorvelEMTreeView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTreeView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_dropTarget.Register(this);
    return 0;
}

void CMorvelEMTreeView::OnDestroy()
{
    m_dropTarget.Revoke();
    CTreeView::OnDestroy();
}

void CMorvelEMTreeView::OnInitialUpdate()
{
    CTreeView::OnInitialUpdate();
    RegisterChildFrameResources();
    GetTreeCtrl().SetImageList(nullptr, TVSIL_NORMAL);
    m_imageList.DeleteImageList();
    m_imageList.Create(16, 16, ILC_MASK | ILC_COLOR24, TREE_IMAGE_COUNT, 0);
    for (UINT nID = IDB_TREE_FIRST; nID <= IDB_TREE_LAST; ++nID) {
        CBitmap bitmap;
        if (bitmap.LoadBitmap(nID))
            m_imageList.Add(&bitmap, RGB(255, 255, 255));
    }
    m_hRoot = nullptr; // the tree is built afresh with the new pictures
    FillTree();
}

void CMorvelEMTreeView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    if (lHint == CMorvelEMView::hintRebuildSubjectTree) {
        FillTree();
        return;
    }
    CTreeView::OnUpdate(pSender, lHint, pHint);
}

CMorvelEMView* CMorvelEMTreeView::GetEstimateView() const
{
    CDocument* pDoc = GetDocument();
    if (pDoc == nullptr)
        return nullptr;
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos != nullptr) {
        if (CMorvelEMView* pView = dynamic_cast<CMorvelEMView*>(pDoc->GetNextView(pos)))
            return pView;
    }
    return nullptr;
}

int CMorvelEMTreeView::FindEntry(HTREEITEM hItem) const
{
    if (hItem == nullptr)
        return -1;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].hItem == hItem)
            return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------------------
// Building the tree
// ---------------------------------------------------------------------------------------

CString CMorvelEMTreeView::MakeRootText(const CString& strTitle)
{
    CString strText = strTitle;
    strText.MakeUpper();
    for (const char* lpszExtension : {".MMD", ".MVL", ".RXA"}) {
        const int nAt = strText.Find(lpszExtension);
        if (nAt >= 0)
            return strText.Left(nAt);
    }
    return strText;
}

CString CMorvelEMTreeView::MakeItemText(const CString& strName, const CString& strAmount)
{
    const double amount = CNumberRules::ReadNumber(strAmount);
    if (amount < 0.00001 && amount > -0.00001)
        return strName;
    return strName + "   \\" + CNumberRules::FormatByPicture(amount, "###,###,###,###,###", true);
}

void CMorvelEMTreeView::FillTree()
{
    CMorvelEMView* pView = GetEstimateView();
    if (m_hWnd == nullptr)
        return;

    // What the tree shows: the root, then every heading of the edit page in row order with
    // its name and the amount of its total row (the first row of its total kind below it,
    // before the next heading of its own kind).
    const CDocument* pDoc = GetDocument();
    const CString strRoot = MakeRootText(pDoc != nullptr ? pDoc->GetTitle() : CString());
    m_headings.clear();
    if (pView != nullptr)
        pView->FindHeadingRows(m_headings, MAX_ENTRIES - 1);

    // The same headings in the same order hang the same way: the items stay (with what the
    // user opened, closed and selected) and only labels that changed are set again.
    CTreeCtrl& tree = GetTreeCtrl();
    const auto sameKind = [](const CMorvelEMView::CHeadingRow& heading, const CTreeEntry& entry) {
        return heading.nKind == entry.nKind;
    };
    if (m_hRoot != nullptr && strRoot == m_strRootText && m_headings.size() + 1 == m_entries.size() &&
        std::equal(m_headings.begin(), m_headings.end(), m_entries.begin() + 1, sameKind)) {
        std::vector<size_t> changed;
        for (size_t i = 0; i < m_headings.size(); ++i) {
            const CMorvelEMView::CHeadingRow& heading = m_headings[i];
            CTreeEntry& entry = m_entries[i + 1];
            entry.nRow = heading.nRow;
            if (entry.strName != *heading.pName || entry.strAmount != *heading.pAmount) {
                entry.strName = *heading.pName;
                entry.strAmount = *heading.pAmount;
                entry.cxWhole = -1;
                entry.cxFitted = UNFITTED;
                changed.push_back(i + 1);
            }
        }
        if (!changed.empty())
            FitLabels(&changed);
        return;
    }

    m_entries.assign(1, CTreeEntry());
    for (const CMorvelEMView::CHeadingRow& heading : m_headings) {
        CTreeEntry entry;
        entry.nKind = heading.nKind;
        entry.nRow = heading.nRow;
        entry.strName = *heading.pName;
        entry.strAmount = *heading.pAmount;
        m_entries.push_back(std::move(entry));
    }
    m_strRootText = strRoot;
    tree.SetImageList(nullptr, TVSIL_NORMAL);
    tree.DeleteAllItems();
    m_hDragItem = nullptr;
    if (m_imageList.GetSafeHandle() != nullptr)
        tree.SetImageList(&m_imageList, TVSIL_NORMAL);

    m_hRoot = tree.InsertItem(m_strRootText, 0, 1, TVI_ROOT, TVI_LAST);
    m_entries[0].hItem = m_hRoot;
    m_entries[0].strShown = m_strRootText;
    m_labelLefts.clear();

    // The most recent entry of each level so far (0, the root, for none): a heading hangs
    // under the nearest one of a higher level.
    int nKind = 0, nLarge = 0, nMiddle = 0;
    for (size_t i = 1; i < m_entries.size(); ++i) {
        CTreeEntry& entry = m_entries[i];
        int nParent = 0;
        switch (entry.nKind) {
        case kindLarge:
            nParent = nKind;
            break;
        case kindMiddle:
            nParent = nLarge ? nLarge : nKind;
            break;
        case kindSmall:
            nParent = nMiddle ? nMiddle : nLarge ? nLarge : nKind;
            break;
        default:
            break;
        }
        const int nImage = ImageOfKind(entry.nKind);
        entry.nParent = nParent;
        entry.nDepth = m_entries[static_cast<size_t>(nParent)].nDepth + 1;
        entry.strShown = MakeItemText(entry.strName, entry.strAmount);
        entry.hItem = tree.InsertItem(entry.strShown, nImage, nImage + 1,
                                      m_entries[static_cast<size_t>(nParent)].hItem, TVI_LAST);

        const int nAt = static_cast<int>(i);
        switch (entry.nKind) {
        case kindKind:
            nKind = nAt;
            nLarge = nMiddle = 0;
            break;
        case kindLarge:
            nLarge = nAt;
            nMiddle = 0;
            break;
        case kindMiddle:
            nMiddle = nAt;
            break;
        default:
            break;
        }
    }

    // Everything is shown open.
    HTREEITEM hItem = tree.GetRootItem();
    for (size_t nStep = 0; hItem != nullptr && nStep < m_entries.size(); ++nStep) {
        tree.Expand(hItem, TVE_EXPAND);
        hItem = tree.GetNextVisibleItem(hItem);
    }
    FitLabels();
}

// ---------------------------------------------------------------------------------------
// Labels in a narrow pane
// ---------------------------------------------------------------------------------------

namespace {

// The label's own margins around its text.
constexpr int kLabelMargins = 6;

// What the tree's labels are measured with: the tree's font in a context of the tree.
class CLabelContext {
public:
    explicit CLabelContext(CTreeCtrl& tree) : m_dc(&tree), m_pOldFont(m_dc.SelectObject(tree.GetFont()))
    {
        measure.width = [this](const CString& strText) {
            return static_cast<int>(m_dc.GetTextExtent(strText).cx);
        };
        measure.fit = [this](const CString& strText, int cx) {
            int nFit = 0;
            m_dc.GetTextExtentExPoint(strText, strText.GetLength(), cx, &nFit, nullptr, nullptr);
            return nFit;
        };
    }
    ~CLabelContext() { m_dc.SelectObject(m_pOldFont); }
    CLabelContext(const CLabelContext&) = delete;
    CLabelContext& operator=(const CLabelContext&) = delete;

    CMorvelEMTreeView::CLabelMeasure measure;

private:
    CClientDC m_dc;
    CFont* m_pOldFont;
};

} // namespace

CString CMorvelEMTreeView::FitItemText(const CString& strName, const CString& strAmount, int cxText,
                                       const CLabelMeasure& measure)
{
    static const CString kEllipsis = "…"_sj;
    const CString strWhole = MakeItemText(strName, strAmount);
    if (measure.width(strWhole) <= cxText)
        return strWhole;
    // The name gives way first: the amount after it stays whole. A text measures the sum of
    // its characters, so the head of the name is found in one measure of it.
    const CString strAmountPart = strWhole.Mid(strName.GetLength());
    if (!strAmountPart.IsEmpty()) {
        const CString strTail = kEllipsis + strAmountPart;
        const int cxTail = measure.width(strTail);
        const int nFit = cxTail <= cxText ? measure.fit(strName, cxText - cxTail) : 0;
        if (nFit > 0 || (strName.IsEmpty() && cxTail <= cxText))
            return strName.Left(nFit) + strTail;
    }
    // No room for the amount and a character of the name at least: the amount is left out
    // rather than cut, and the name is not given up for it.
    const int cxEllipsis = measure.width(kEllipsis);
    return strName.Left(cxEllipsis <= cxText ? measure.fit(strName, cxText - cxEllipsis) : 0) + kEllipsis;
}

int CMorvelEMTreeView::GetWholeLabelsRight() const
{
    if (m_hWnd == nullptr)
        return 0;
    CTreeCtrl& tree = const_cast<CMorvelEMTreeView*>(this)->GetTreeCtrl();
    CLabelContext context(tree);
    int nRight = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const CTreeEntry& entry = m_entries[i];
        const int nLeft = entry.hItem != nullptr ? LabelLeft(i) : -1;
        if (nLeft < 0)
            continue;
        const int cxWhole = entry.cxWhole >= 0 ? entry.cxWhole
                            : i == 0           ? context.measure.width(m_strRootText)
                                     : context.measure.width(MakeItemText(entry.strName, entry.strAmount));
        nRight = std::max(nRight, nLeft + cxWhole + kLabelMargins);
    }
    return nRight;
}

int CMorvelEMTreeView::LabelLeft(size_t nEntry) const
{
    const CTreeEntry& entry = m_entries[nEntry];
    const size_t nDepth = static_cast<size_t>(entry.nDepth);
    if (nDepth < m_labelLefts.size() && m_labelLefts[nDepth] >= 0)
        return m_labelLefts[nDepth];
    CRect rcLabel;
    if (!const_cast<CMorvelEMTreeView*>(this)->GetTreeCtrl().GetItemRect(entry.hItem, &rcLabel, TRUE))
        return -1;
    if (nDepth >= m_labelLefts.size())
        m_labelLefts.resize(nDepth + 1, -1);
    m_labelLefts[nDepth] = static_cast<int>(rcLabel.left);
    return m_labelLefts[nDepth];
}

void CMorvelEMTreeView::FitLabels(const std::vector<size_t>* pChanged)
{
    if (m_hWnd == nullptr || m_entries.empty())
        return;
    CTreeCtrl& tree = GetTreeCtrl();
    CRect rcClient;
    tree.GetClientRect(&rcClient);
    // A hidden pane (no width) keeps the labels it showed last; they are fitted again when
    // it is shown.
    if (rcClient.Width() <= 0)
        return;
    std::optional<CLabelContext> context;
    // Whether an entry's item is open, asked of the tree once per entry in this pass.
    std::vector<signed char> open(m_entries.size(), -1);
    const auto isShown = [&](size_t nEntry) {
        for (int nParent = m_entries[nEntry].nParent; nParent >= 0;
             nParent = m_entries[static_cast<size_t>(nParent)].nParent) {
            signed char& bOpen = open[static_cast<size_t>(nParent)];
            if (bOpen < 0)
                bOpen = (tree.GetItemState(m_entries[static_cast<size_t>(nParent)].hItem, TVIS_EXPANDED) &
                         TVIS_EXPANDED) != 0;
            if (bOpen == 0)
                return false;
        }
        return true;
    };
    const auto fit = [&](size_t nEntry) {
        CTreeEntry& entry = m_entries[nEntry];
        if (entry.hItem == nullptr)
            return;
        // Items of a level no open heading shows hold their whole text; they are fitted when
        // a heading opens.
        const int nLeft = isShown(nEntry) ? LabelLeft(nEntry) : -1;
        const int cxText = nLeft >= 0 ? static_cast<int>(rcClient.right) - nLeft - kLabelMargins
                                      : std::numeric_limits<int>::max();
        if (entry.cxFitted == cxText)
            return;
        if (!context)
            context.emplace(tree);
        const CString strName = nEntry == 0 ? m_strRootText : entry.strName;
        const CString strAmount = nEntry == 0 ? CString() : entry.strAmount;
        const CString strWhole = MakeItemText(strName, strAmount);
        if (entry.cxWhole < 0)
            entry.cxWhole = context->measure.width(strWhole);
        CString strShown =
            entry.cxWhole <= cxText ? strWhole : FitItemText(strName, strAmount, cxText, context->measure);
        entry.cxFitted = cxText;
        if (strShown != entry.strShown) {
            tree.SetItemText(entry.hItem, strShown);
            entry.strShown = std::move(strShown);
        }
    };
    if (pChanged != nullptr) {
        for (size_t nEntry : *pChanged)
            fit(nEntry);
    } else {
        for (size_t nEntry = 0; nEntry < m_entries.size(); ++nEntry)
            fit(nEntry);
    }
}

void CMorvelEMTreeView::OnSize(UINT nType, int cx, int cy)
{
    CTreeView::OnSize(nType, cx, cy);
    m_labelLefts.clear();
    FitLabels();
}

void CMorvelEMTreeView::OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult)
{
    (void)pNMHDR;
    *pResult = 0;
    FitLabels();
}

// ---------------------------------------------------------------------------------------
// Mouse, keys and focus
// ---------------------------------------------------------------------------------------

void CMorvelEMTreeView::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_ptLastPress = point;
    CTreeView::OnLButtonDown(nFlags, point);
    if (m_hWnd == nullptr)
        return;
    const int nEntry = FindEntry(GetTreeCtrl().GetSelectedItem());
    if (nEntry <= 0)
        return;
    if (CMorvelEMView* pView = GetEstimateView()) {
        pView->GoToRow(m_entries[static_cast<size_t>(nEntry)].nRow);
        SetFocus();
    }
}

// Keyboard moves in the tree leave the grid where it is.
void CMorvelEMTreeView::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    (void)pNMHDR;
    *pResult = 0;
}

void CMorvelEMTreeView::OnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    (void)pNMHDR;
    *pResult = 0;
}

void CMorvelEMTreeView::OnKeyDownNotify(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pKey = reinterpret_cast<const NMTVKEYDOWN*>(pNMHDR);
    if (pKey->wVKey != VK_DELETE)
        return;
    HTREEITEM hSelected = GetTreeCtrl().GetSelectedItem();
    const int nEntry = FindEntry(hSelected);
    if (nEntry < 0)
        return;
    if (nEntry == 0) {
        // The root stands for the whole estimate.
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->SendMessage(WM_COMMAND, ID_ESTIMATE_CLEAR);
        return;
    }
    CMorvelEMView* pView = GetEstimateView();
    if (pView == nullptr)
        return;
    const int nRow = m_entries[static_cast<size_t>(nEntry)].nRow;
    const int nCount = pView->GetSubjectRowCount(nRow);
    pView->SetFocus();
    CutRowsThroughGrid(*pView, nRow, nRow + nCount - 1);
    if (m_hWnd != nullptr)
        SetFocus();
}

void CMorvelEMTreeView::CutRowsThroughGrid(CMorvelEMView& view, int nFirstRow, int nLastRow)
{
    const CRect rcSaved = view.GetSelection();
    view.SetSelection(CMorvelView::selectRows, CRect(0, nFirstRow, view.GetColumnCount() - 1, nLastRow));
    if (view.m_hWnd != nullptr) {
        view.SetFocus();
        view.SendMessage(WM_COMMAND, ID_EDIT_CUT);
    }
    view.SetSelection(CMorvelView::selectRows, rcSaved);
}

void CMorvelEMTreeView::OnSetFocus(CWnd* pOldWnd)
{
    CTreeView::OnSetFocus(pOldWnd);
    if (CMorvelEMView* pView = GetEstimateView())
        pView->UpdateStatusText(CMorvelEMView::statusShow);
}

void CMorvelEMTreeView::OnKillFocus(CWnd* pNewWnd)
{
    CTreeView::OnKillFocus(pNewWnd);
    if (CMorvelEMView* pView = GetEstimateView();
        pView != nullptr && !CMainFrame::KeepsStatusPanes(this, pNewWnd))
        pView->UpdateStatusText(CMorvelEMView::statusHide);
}

// ---------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------

CWnd* CMorvelEMTreeView::GetGridPane() const
{
    auto* pSplitter = dynamic_cast<CSplitterWnd*>(GetParent());
    if (pSplitter != nullptr && pSplitter->GetRowCount() >= 1 && pSplitter->GetColumnCount() >= 2)
        return pSplitter->GetPane(0, 1);
    return GetEstimateView();
}

void CMorvelEMTreeView::OnEditUndo()
{
    auto* pGrid = dynamic_cast<CView*>(GetGridPane());
    if (pGrid == nullptr)
        return;
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetActiveView(pGrid);
    pGrid->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
}

void CMorvelEMTreeView::OnEditRedo()
{
    CMorvelEMView* pView = GetEstimateView();
    if (pView == nullptr || pView->m_hWnd == nullptr)
        return;
    pView->SetFocus();
    pView->SendMessage(WM_COMMAND, ID_EDIT_REDO);
}

void CMorvelEMTreeView::UpdateAsGrid(CCmdUI* pCmdUI)
{
    CWnd* pGrid = GetGridPane();
    if (pGrid == nullptr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    if (pGrid->OnCmdMsg(pCmdUI->m_nID, CN_UPDATE_COMMAND_UI, pCmdUI, nullptr))
        return;
    AFX_CMDHANDLERINFO info{};
    pCmdUI->Enable(pGrid->OnCmdMsg(pCmdUI->m_nID, CN_COMMAND, nullptr, &info));
}

void CMorvelEMTreeView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    UpdateAsGrid(pCmdUI);
}

void CMorvelEMTreeView::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    UpdateAsGrid(pCmdUI);
}

// The settings sheet re-lays out the grid views; it is not offered while the tree is the
// view that has the commands.
void CMorvelEMTreeView::OnEnvironment() {}

void CMorvelEMTreeView::OnUpdateEnvironment(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

// ---------------------------------------------------------------------------------------
// Dragging a subject out of the tree
// ---------------------------------------------------------------------------------------

void CMorvelEMTreeView::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    (void)pNMHDR;
    *pResult = 0;
    HTREEITEM hItem = GetTreeCtrl().HitTest(m_ptLastPress);
    if (hItem == nullptr)
        return;
    RunDrag(hItem);
}

void CMorvelEMTreeView::RunDrag(HTREEITEM hItem)
{
    const int nEntry = FindEntry(hItem);
    CMorvelEMView* pView = GetEstimateView();
    if (nEntry < 0 || pView == nullptr)
        return;
    // The drag, its drop and the rows taken out after it are one command on the estimate,
    // which undo takes back whole.
    const CMorvelEMView::CCommandScope command(*pView);
    const CMorvelEMView::CRowsCommandScope rows(*pView, CMorvelEMView::undoSubjectDrag);
    const CTreeEntry entry = m_entries[static_cast<size_t>(nEntry)];

    // A drop recorded by an earlier drag must not count for this one.
    m_hDropTarget = nullptr;
    m_bRefused = FALSE;
    m_hDragItem = hItem;
    GetTreeCtrl().SelectDropTarget(hItem);
    m_dataSource.Reset();
    m_dataSource.SetSubject(entry.nKind, entry.nRow, pView);
    const int nCount = pView->GetSubjectRowCount(entry.nRow);

    m_dataSource.DelayRenderFileData(GetClipboardFormat());
    const DROPEFFECT effect = m_dataSource.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    if (m_hWnd == nullptr)
        return;

    if (!m_bRefused && m_hDropTarget != nullptr && effect == DROPEFFECT_MOVE && nCount > 0) {
        // The copy stands after the insertion row; when the source lies below it, it moved
        // down by the rows inserted.
        int nSource = entry.nRow;
        if (nSource > m_nInsertRow)
            nSource += nCount;
        pView->GetModel().TakeRowsOut(nSource, nCount, nullptr);
        pView->RecalcTotals(std::min(nSource, m_nInsertRow));
        if (CDocument* pDoc = pView->GetDocument()) {
            pDoc->UpdateAllViews(nullptr);
            pDoc->SetModifiedFlag(TRUE);
        }
        m_nInsertRow = -1;
    }
    m_dataSource.Reset();
    m_hDropTarget = nullptr;
    m_hDragItem = nullptr;
    if (m_hWnd != nullptr)
        GetTreeCtrl().SelectDropTarget(nullptr);
}

// ---------------------------------------------------------------------------------------
// Dropping a subject on the tree
// ---------------------------------------------------------------------------------------

DROPEFFECT CMorvelEMTreeView::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    return OnDragOver(pDataObject, dwKeyState, point);
}

DROPEFFECT CMorvelEMTreeView::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (pDataObject == nullptr || !pDataObject->IsDataAvailable(GetClipboardFormat()))
        return DROPEFFECT_NONE;
    CTreeCtrl& tree = GetTreeCtrl();
    HTREEITEM hItem = tree.HitTest(point);
    if (hItem == nullptr)
        return DROPEFFECT_NONE;
    tree.SelectDropTarget(hItem);

    // Near the top or the bottom edge the tree scrolls a line towards it.
    const int nHalfItem = std::max(1, static_cast<int>(tree.GetItemHeight())) / 2;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (point.y < rcClient.top + nHalfItem)
        SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    else if (point.y > rcClient.bottom - nHalfItem)
        SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);

    if (hItem == m_hDragItem) {
        m_bRefused = TRUE;
        return DROPEFFECT_NONE;
    }
    m_bRefused = FALSE;
    return (dwKeyState & MK_SHIFT) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CMorvelEMTreeView::OnDragLeave()
{
    if (m_hWnd != nullptr)
        GetTreeCtrl().SelectDropTarget(nullptr);
    CTreeView::OnDragLeave();
    m_hDropTarget = nullptr;
}

bool CMorvelEMTreeView::RefuseDrop()
{
    m_hDropTarget = nullptr;
    m_bRefused = TRUE;
    return FALSE;
}

bool CMorvelEMTreeView::FindInsertRow(ERowKind nDraggedKind, const CTreeEntry& target, CMorvelEMView& view,
                                      int& nInsertRow) const
{
    const int nDraggedRank = LevelRank(nDraggedKind);
    const int nTargetRank = LevelRank(target.nKind);
    if (nDraggedRank <= 0 || nTargetRank < 0 || nTargetRank > nDraggedRank) {
        AfxMessageBox("下位科目へのｺﾋﾟｰ､移動はできません。"_sj);
        return FALSE;
    }
    nInsertRow = target.nRow;
    // Beside a heading of its own level the subject goes after that heading's block; under
    // a heading of a higher level directly below it (under the root: at the top).
    if (nTargetRank == nDraggedRank)
        nInsertRow = target.nRow + view.GetSubjectRowCount(target.nRow) - 1;
    return TRUE;
}

void CMorvelEMTreeView::InsertDraggedRows(CMorvelEMView& view, const CSubjectDragData& data, int nInsertRow)
{
    m_nInsertRow = nInsertRow;
    std::vector<CGridRow> rows(data.m_rows.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        const CSubjectDragData::CRow& row = data.m_rows[k];
        CGridRow& target = rows[k];
        for (int c = 0; c < data.m_nColumns; ++c) {
            target.SetCell(c, row.cells[static_cast<size_t>(c)]);
            target.SetIndent(c, row.indents[static_cast<size_t>(c)]);
        }
        EstimateIo::SetKindAndParameters(target, row);
    }
    view.GetModel().InsertSubjectRows(nInsertRow, rows, data.m_nColumns);
}

BOOL CMorvelEMTreeView::OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    (void)dropEffect;
    HTREEITEM hItem = GetTreeCtrl().HitTest(point);
    if (hItem == nullptr)
        return RefuseDrop();
    OnDragLeave();
    m_hDropTarget = hItem;

    if (pDataObject == nullptr || !pDataObject->IsDataAvailable(GetClipboardFormat()))
        return RefuseDrop();
    CMorvelEMView* pView = GetEstimateView();
    CMorvelEMDoc* pDoc = pView != nullptr ? pView->GetDocument() : nullptr;
    if (pDoc == nullptr)
        return RefuseDrop();
    if (pView->IsSummaryPageShown()) {
        AfxMessageBox("科目移動などの操作は「見積編集」ページでのみ可能です"_sj);
        return RefuseDrop();
    }
    const int nEntry = FindEntry(hItem);
    if (nEntry < 0)
        return RefuseDrop();
    const CTreeEntry target = m_entries[static_cast<size_t>(nEntry)];

    // Everything is read before a row changes: data that ends early changes nothing.
    std::unique_ptr<CFile> pFile(pDataObject->GetFileData(GetClipboardFormat()));
    if (!pFile)
        return RefuseDrop();
    CSubjectDragData data;
    try {
        CArchive ar(pFile.get(), CArchive::load, CSubjectDragData::BUFFER_SIZE);
        if (!data.ReadForm(ar))
            return RefuseDrop();
        if (!data.m_Form.IsSameForm(pDoc->m_EstimationForm)) {
            AfxMessageBox("形式が異なります。"_sj);
            return RefuseDrop();
        }
        if (!data.ReadRows(ar))
            return RefuseDrop();
        ar.Close();
    } catch (const CException&) {
        return RefuseDrop();
    }
    pFile.reset();

    int nInsertRow = -1;
    if (!FindInsertRow(data.m_nKind, target, *pView, nInsertRow))
        return RefuseDrop();
    // Rows pushed beyond the row limit would be lost: without room for the whole subject
    // nothing is inserted (and a move removes nothing).
    if (pView->GetUsedRows() + data.GetRowCount() > pView->GetRowLimit() - 1 ||
        nInsertRow + data.GetRowCount() >= pView->GetRowLimit() - 1 ||
        !CMorvelView::CheckFileRowLimit(static_cast<long long>(pView->GetUsedRows()) + data.GetRowCount()))
        return RefuseDrop();

    // A drop from another estimate's tree is a command on this estimate (within the drag of
    // a subject of this one, a part of that drag's command).
    const CMorvelEMView::CCommandScope command(*pView);
    const CMorvelEMView::CRowsCommandScope rows(*pView, CMorvelEMView::undoSubjectDrag);
    InsertDraggedRows(*pView, data, nInsertRow);
    pView->RecalcTotals(nInsertRow);
    pDoc->UpdateAllViews(nullptr);
    pDoc->SetModifiedFlag(TRUE);
    return TRUE;
}
