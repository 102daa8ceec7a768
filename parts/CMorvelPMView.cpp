#include "parts/CMorvelPMView.h"

#include "app/CPartFormFile.h"
#include "grid/ModelessMessages.h"
#include "parts/CMorvelPMDoc.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

IMPLEMENT_DYNCREATE(CMorvelPMView, CMorvelView)

BEGIN_MESSAGE_MAP(CMorvelPMView, CMorvelView)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_MOUSEWHEEL()
ON_COMMAND(ID_ZOOM_25, OnZoom25)
ON_COMMAND(ID_ZOOM_50, OnZoom50)
ON_COMMAND(ID_ZOOM_75, OnZoom75)
ON_COMMAND(ID_ZOOM_100, OnZoom100)
ON_COMMAND(ID_ZOOM_150, OnZoom150)
ON_COMMAND(ID_ZOOM_200, OnZoom200)
ON_UPDATE_COMMAND_UI(ID_ZOOM_25, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_50, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_75, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_100, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_150, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_200, OnUpdateZoom)
ON_COMMAND(ID_REDISPLAY, OnRedisplay)
ON_COMMAND(ID_ZOOM_USER, OnZoomUser)
ON_UPDATE_COMMAND_UI(ID_ZOOM_USER, OnUpdateZoomUser)
ON_CBN_SELCHANGE(IDC_ZOOM_BOX, OnZoomBoxChange)
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_CONTEXTMENU()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_DESTROY()
ON_COMMAND(ID_ROW_INSERT, OnInsertRow)
ON_COMMAND(ID_ROW_INSERT_CTX, OnInsertRow)
ON_COMMAND(ID_ROW_DELETE, OnDeleteRow)
ON_COMMAND(ID_ROW_DELETE_CTX, OnDeleteRow)
ON_COMMAND(ID_ROW_CLEAR_CTX, OnClearRow)
ON_UPDATE_COMMAND_UI(ID_ROW_INSERT, OnUpdateRowCommand)
ON_UPDATE_COMMAND_UI(ID_ROW_INSERT_CTX, OnUpdateRowCommand)
ON_UPDATE_COMMAND_UI(ID_ROW_DELETE, OnUpdateRowCommand)
ON_UPDATE_COMMAND_UI(ID_ROW_DELETE_CTX, OnUpdateRowCommand)
ON_UPDATE_COMMAND_UI(ID_ROW_CLEAR_CTX, OnUpdateRowCommand)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
ON_COMMAND(ID_UNIT, OnUnit)
ON_UPDATE_COMMAND_UI(ID_UNIT, OnUpdateUnit)
ON_MESSAGE(WM_PICK_UNIT, OnPickUnit)
ON_MESSAGE(WM_MODELESS_CLOSED, OnModelessClosed)
ON_COMMAND(ID_ENVIRONMENT, OnEnvironment)
ON_MESSAGE(WM_FINDREPLACE_REQUEST, OnFindReplaceRequest)
ON_COMMAND(ID_EDIT_FIND_DLG, OnFind)
ON_COMMAND(ID_EDIT_REPLACE_DLG, OnReplace)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_DLG, OnUpdateFind)
ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE_DLG, OnUpdateReplace)
ON_COMMAND(ID_SORT, OnSort)
ON_UPDATE_COMMAND_UI(ID_SORT, OnUpdateSort)
ON_COMMAND(ID_TEXT_INPUT, OnCsvInput)
ON_COMMAND(ID_READ_OTHER_FORM, OnReadOtherForm)
ON_UPDATE_COMMAND_UI(ID_TEXT_INPUT, OnUpdateImport)
ON_UPDATE_COMMAND_UI(ID_READ_OTHER_FORM, OnUpdateImport)
ON_COMMAND(ID_RANGE_ADD, OnRangeAdd)
ON_COMMAND(ID_RANGE_ADD_BAR, OnRangeAdd)
ON_UPDATE_COMMAND_UI(ID_RANGE_ADD, OnUpdateRangeAdd)
ON_UPDATE_COMMAND_UI(ID_RANGE_ADD_BAR, OnUpdateRangeAdd)
ON_COMMAND(ID_RANGE_SET, OnRangeSet)
ON_COMMAND(ID_RANGE_SET_BAR, OnRangeSet)
ON_UPDATE_COMMAND_UI(ID_RANGE_SET, OnUpdateRangeSet)
ON_UPDATE_COMMAND_UI(ID_RANGE_SET_BAR, OnUpdateRangeSet)
ON_COMMAND(ID_RANGE_CLEAR, OnRangeClear)
ON_COMMAND(ID_RANGE_CLEAR_BAR, OnRangeClear)
ON_COMMAND(ID_RATE_CHANGE, OnRateChange)
ON_UPDATE_COMMAND_UI(ID_RATE_CHANGE, OnUpdateRateChange)
ON_COMMAND(ID_ROW_REMEMBER, OnBookmarkSet)
ON_UPDATE_COMMAND_UI(ID_ROW_REMEMBER, OnUpdateBookmarkSet)
ON_COMMAND(ID_ROW_JUMP, OnBookmarkJump)
ON_UPDATE_COMMAND_UI(ID_ROW_JUMP, OnUpdateBookmarkJump)
ON_COMMAND(ID_ROW_RELEASE, OnBookmarkRelease)
ON_UPDATE_COMMAND_UI(ID_ROW_RELEASE, OnUpdateBookmarkJump)
END_MESSAGE_MAP()

bool CMorvelPMView::s_bPaintPass = false;

CMorvelPMView::CMorvelPMView()
{
    SetColumnCount(0);
    SetRowLimit(CMorvelPMDoc::DEFAULT_ROW_LIMIT);
    SetBaseRowHeight(BASE_ROW_HEIGHT);
    SetBaseHeaderHeight(BASE_HEADER_HEIGHT);
    SetBaseRowHeaderWidth(50);
    SetRowMetrics(50, BASE_HEADER_HEIGHT, BASE_ROW_HEIGHT);
}

CMorvelPMView::~CMorvelPMView() = default;

CMorvelPMDoc* CMorvelPMView::GetDocument() const
{
    return m_pDocument != nullptr && m_pDocument->IsKindOf(RUNTIME_CLASS(CMorvelPMDoc))
               ? static_cast<CMorvelPMDoc*>(m_pDocument)
               : nullptr;
}

int CMorvelPMView::GetUsedRows() const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr ? pModel->GetRowsInUse() : 0;
}

int CMorvelPMView::GetRowLimit() const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr ? pModel->GetRowLimit() : CMorvelView::GetRowLimit();
}

int CMorvelPMView::GetColumnCount() const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr ? pModel->GetColumnCount() : CMorvelView::GetColumnCount();
}

void CMorvelPMView::SetRowLimit(int nRowLimit)
{
    if (CPartsModel* pModel = GetModel())
        pModel->SetRowLimit(nRowLimit);
    else
        CMorvelView::SetRowLimit(nRowLimit);
}

void CMorvelPMView::RowCountsChanged()
{
    RecalcTotalHeight();
    CRect rcClient;
    if (m_hWnd != nullptr)
        GetClientRect(&rcClient);
    SetScrollRanges(GetTotalWidth() - rcClient.Width() + GetRowHeaderWidth(), GetUsedRows());
    if (m_hWnd != nullptr)
        SyncScrollBars();
}

bool CMorvelPMView::IsNumericColumn(int nCol) const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr && pModel->IsNumericColumn(nCol);
}

bool CMorvelPMView::IsUnitColumn(int nCol) const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr && pModel->IsUnitColumn(nCol);
}

// ---------------------------------------------------------------------------------------
// Set-up, geometry and zoom

int CMorvelPMView::NumberWidthFor(int nRowLimit)
{
    char szLimit[16];
    const int nDigits = std::snprintf(szLimit, sizeof szLimit, "%d", nRowLimit);
    return std::min((nDigits + 1) * 9, static_cast<int>(MAX_ROW_HEADER_WIDTH));
}

void CMorvelPMView::TakeDocumentRows()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    pDoc->Model().SetColumnCount(pDoc->GetColumnCount());
    m_nNumberWidthBase = NumberWidthFor(GetRowLimit());
    for (int c = 0; c < MAX_COLUMNS; ++c) {
        const bool bUsed = c < GetColumnCount();
        SetColumnTitle(c, bUsed ? pDoc->m_form.GetItem(c, 0) : CString());
        SetBaseColumnWidth(c, bUsed ? GetFormColumnWidth(pDoc->m_form.GetItem(c, 2)) * 10 : 0);
    }
    SetCurrentCell(std::clamp(GetCurrentCol(), 0, std::max(0, GetColumnCount() - 1)),
                   std::clamp(GetCurrentRow(), 0, std::max(0, GetRowLimit() - 1)));
    ApplyZoom();
}

int CMorvelPMView::MeasureBaseRowHeight()
{
    const CMorvelPMDoc* pDoc = GetDocument();
    if (m_hWnd == nullptr || pDoc == nullptr)
        return BASE_ROW_HEIGHT;
    CClientDC dc(this);
    CFont font;
    int nHeight = 0;
    if (font.CreateFontIndirect(&pDoc->m_logFont)) {
        CFont* pOld = dc.SelectObject(&font);
        nHeight = dc.GetTextExtent("asd", 3).cy;
        dc.SelectObject(pOld);
    }
    return nHeight + 8;
}

void CMorvelPMView::ApplyZoom()
{
    const CMorvelPMDoc* pDoc = GetDocument();
    SetZoom(CMorvelPMDoc::SanitizeZoom(pDoc != nullptr ? pDoc->m_nZoom : 100));
    SetBaseRowHeight(MeasureBaseRowHeight());
    SetBaseRowHeaderWidth(m_bShowNumbers ? m_nNumberWidthBase : 0);
    SetBaseHeaderHeight(m_bShowHeader ? m_nHeaderHeightBase : 0);
    ApplyZoomToGeometry();
}

void CMorvelPMView::OnInitialUpdate()
{
    // The rows in use are the document's: the read set them, and a pane made by splitting
    // comes to a list whose rows may have grown since (never back to the rows read).
    CMorvelView::OnInitialUpdate();
    TakeDocumentRows();
    // A new pane shows the columns as wide as the panes already there (a resized column
    // is wider or narrower than its form item says).
    if (CMorvelPMDoc* pDoc = GetDocument()) {
        POSITION pos = pDoc->GetFirstViewPosition();
        while (pos != nullptr) {
            auto* pOther = dynamic_cast<CMorvelPMView*>(pDoc->GetNextView(pos));
            if (pOther != nullptr && pOther != this && pOther->GetColumnCount() == GetColumnCount()) {
                TakeColumnWidths(*pOther);
                ApplyZoom();
                break;
            }
        }
    }
    CreateCellEdit();
    m_ptLastCur = CPoint(GetCurrentCol(), GetCurrentRow());
    UpdateStatusText();
}

void CMorvelPMView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    (void)pSender;
    (void)lHint;
    (void)pHint;
    ApplyZoom();
}

void CMorvelPMView::SetDocumentZoom(int nZoom)
{
    if (CMorvelPMDoc* pDoc = GetDocument()) {
        pDoc->m_nZoom = nZoom;
        pDoc->UpdateAllViews(nullptr);
    }
}

void CMorvelPMView::OnUpdateZoom(CCmdUI* pCmdUI)
{
    int nZoom = 0;
    switch (pCmdUI->m_nID) {
    case ID_ZOOM_25:
        nZoom = 25;
        break;
    case ID_ZOOM_50:
        nZoom = 50;
        break;
    case ID_ZOOM_75:
        nZoom = 75;
        break;
    case ID_ZOOM_100:
        nZoom = 100;
        break;
    case ID_ZOOM_150:
        nZoom = 150;
        break;
    case ID_ZOOM_200:
        nZoom = 200;
        break;
    default:
        break;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(GetZoom() == nZoom ? 1 : 0);
}

void CMorvelPMView::OnRedisplay()
{
    if (m_hWnd == nullptr)
        return;
    Invalidate(TRUE);
    UpdateWindow();
}

int CMorvelPMView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMorvelView::OnCreate(lpCreateStruct) == -1)
        return -1;
    // A pane of the parts window's splitter scrolls with the splitter's shared bars, which
    // carry the split boxes; bars of its own would show a second pair inside each pane.
    // Elsewhere (a window of its own) the grid makes its bars.
    if (CView::GetScrollBarCtrl(SB_HORZ) != nullptr) {
        UseFrameScrollBars();
    } else if (!CreateGridBars()) {
        return -1;
    }
    SetChildWindowsReady();
    return 0;
}

BOOL CMorvelPMView::OnMouseWheel(UINT nFlags, short zDelta, CPoint point)
{
    // One scroll step per wheel message, whatever the delta's size: a row, or with Shift
    // a page.
    const bool bShift = (nFlags & MK_SHIFT) != 0;
    if (zDelta > 0)
        ScrollView(WM_VSCROLL, bShift ? SB_PAGEUP : SB_LINEUP, 0);
    else if (zDelta < 0)
        ScrollView(WM_VSCROLL, bShift ? SB_PAGEDOWN : SB_LINEDOWN, 0);
    return CMorvelView::OnMouseWheel(nFlags, zDelta, point);
}

void CMorvelPMView::OnSize(UINT nType, int cx, int cy)
{
    CMorvelView::OnSize(nType, cx, cy);
    // A pane of the 2 x 2 splitter: the left column shows the row numbers, the top row
    // the title header.
    auto* pSplitter = dynamic_cast<CSplitterWnd*>(GetParent());
    int nRow = 0, nCol = 0;
    if (pSplitter == nullptr || !pSplitter->IsChildPane(this, &nRow, &nCol))
        return;
    const bool bNumbers = nCol == 0;
    const bool bHeader = nRow == 0;
    if (bNumbers != m_bShowNumbers || bHeader != m_bShowHeader) {
        m_bShowNumbers = bNumbers;
        m_bShowHeader = bHeader;
        ApplyZoom();
    }
}

// ---------------------------------------------------------------------------------------
// The cell store

CString CMorvelPMView::GetCellText(int nRow, int nCol) const
{
    const CPartsModel* pModel = GetModel();
    return pModel != nullptr ? pModel->GetCellText(nRow, nCol) : CString();
}

void CMorvelPMView::SetCellText(const CString& strText, int nRow, int nCol)
{
    if (CPartsModel* pModel = GetModel())
        pModel->SetCellText(strText, nRow, nCol);
}

void CMorvelPMView::CalcRow(int nRow, int nFirstCol)
{
    if (CPartsModel* pModel = GetModel())
        pModel->CalcRow(nRow, nFirstCol);
}

void CMorvelPMView::CommitTypedText(const CString& strText)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    const int nRow = GetCurrentRow();
    auto pCommand = pDoc->Model().StoreTypedText(nRow, GetCurrentCol(), strText, m_nRowsBeforeEdit);
    m_nRowsBeforeEdit = -1;
    // The text as it was leaves the record and the redo there were.
    if (!RecordRowsChanged(std::move(pCommand), nRow, nRow))
        InvalidateRows(nRow, nRow);
}

// ---------------------------------------------------------------------------------------
// Painting

CString CMorvelPMView::GetDisplayText(int nRow, int nCol, bool* pRight) const
{
    if (const CPartsModel* pModel = GetModel())
        return pModel->GetDisplayText(nRow, nCol, pRight);
    if (pRight != nullptr)
        *pRight = false;
    return CString();
}

void CMorvelPMView::DrawCell(int nRow, int nCol, CDC* pDC)
{
    const CMorvelPMDoc* pDoc = GetDocument();
    if (pDC == nullptr || pDoc == nullptr || nRow < 0 || nRow >= GetRowLimit() || nCol < 0 ||
        nCol >= GetColumnCount() || GetColumnWidth(nCol) <= 0)
        return;
    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    if (rcCell.IsRectEmpty())
        return;
    const CRect rcSelection = GetSelectionPixelRect();
    CRect rcRange;
    NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right, GetSelection().bottom,
                       &rcRange);
    // Inside the selection the cell the cursor frame marks (the current cell, or the
    // anchor while Shift extends the selection) keeps its own colours.
    const CPoint ptFramed = GetPointerState().bShiftExtending
                                ? CPoint(GetSelection().left, GetSelection().top)
                                : CPoint(GetCurrentCol(), GetCurrentRow());
    const bool bSelected = GetSelectMode() != selectNone && nCol >= rcRange.left && nCol <= rcRange.right &&
                           nRow >= rcRange.top && nRow <= rcRange.bottom && CPoint(nCol, nRow) != ptFramed;
    (void)rcSelection;
    const COLORREF clrBack = bSelected ? RGB(0, 0, 0) : pDoc->m_crBack;
    const COLORREF clrText = bSelected ? RGB(255, 255, 255) : pDoc->m_crText;
    CRect rcInside(rcCell.left + 1, rcCell.top + 1, rcCell.right, rcCell.bottom);
    pDC->FillSolidRect(&rcInside, clrBack);
    bool bRight = false;
    const CString strShown = GetDisplayText(nRow, nCol, &bRight);
    if (strShown.IsEmpty())
        return;
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    TEXTMETRIC tm;
    std::memset(&tm, 0, sizeof tm);
    pDC->GetTextMetrics(&tm);
    const int y = rcCell.top + std::max(0, (rcCell.Height() - static_cast<int>(tm.tmHeight)) / 2);
    CRect rcText(rcCell.left + 2, rcCell.top + 1, rcCell.right - 2, rcCell.bottom);
    if (bRight) {
        pDC->SetTextAlign(TA_RIGHT | TA_TOP);
        pDC->ExtTextOut(rcText.right, y, ETO_CLIPPED, &rcText, strShown, nullptr);
    } else {
        pDC->SetTextAlign(TA_LEFT | TA_TOP);
        pDC->ExtTextOut(rcText.left, y, ETO_CLIPPED, &rcText, strShown, nullptr);
    }
}

bool CMorvelPMView::WidenFirstPaint(const CRect& rcClip)
{
    if (m_hWnd == nullptr || s_bPaintPass) {
        s_bPaintPass = false;
        return false;
    }
    // The cells the clip box touches, whole; an area along the title header or the
    // row-number column takes in the header band and the number boxes beside it, so that
    // both are drawn with the cells and never stand half old, half new.
    CRect rcRange;
    GetCellRangeFromRect(rcClip.left, rcClip.top, rcClip.right, rcClip.bottom, &rcRange);
    CRect rcArea;
    GetCellRangeRect(rcRange.left, rcRange.top, rcRange.right, rcRange.bottom, &rcArea);
    if (rcRange.left < 0 || rcArea.IsRectEmpty())
        rcArea = rcClip;
    if (rcArea.top == GetHeaderHeight())
        rcArea.top = 0;
    if (rcArea.left == GetRowHeaderWidth())
        rcArea.left = 0;
    ++rcArea.right;
    ++rcArea.bottom;
    InvalidateRect(&rcArea, TRUE);
    s_bPaintPass = true;
    return true;
}

void CMorvelPMView::OnPaint()
{
    CMorvelView::OnPaint();
    // The first paint of a pair only widened the area; the second one draws it now, before
    // the window is shown again, so the grid never shows the area blank in between.
    if (s_bPaintPass)
        UpdateWindow();
}

void CMorvelPMView::OnDraw(CDC* pDC)
{
    CRect rcClip;
    if (pDC->GetClipBox(&rcClip) == NULLREGION || rcClip.IsRectEmpty())
        return;
    // Paints come in pairs on the screen: the first widens and invalidates the area, the
    // second draws it. (Nothing of this when the grid draws elsewhere.)
    if (!pDC->IsPrinting() && WidenFirstPaint(rcClip))
        return;
    const CMorvelPMDoc* pDoc = GetDocument();
    pDC->FillSolidRect(&rcClip, RGB(255, 255, 255));
    if (pDoc != nullptr) {
        // The document's font at the current zoom, made again only when either changed.
        LOGFONT lf = pDoc->m_logFont;
        if (m_fontCells.m_hObject == nullptr || m_nCellFontZoom != GetZoom() ||
            std::memcmp(&lf, &m_lfCells, sizeof lf) != 0) {
            m_fontCells.DeleteObject();
            m_lfCells = lf;
            m_nCellFontZoom = GetZoom();
            lf.lfHeight = lf.lfHeight * GetZoom() / 100;
            lf.lfWidth = lf.lfWidth * GetZoom() / 100;
            m_fontCells.CreateFontIndirect(&lf);
        }
        CFont* pOldFont = m_fontCells.m_hObject != nullptr ? pDC->SelectObject(&m_fontCells) : nullptr;
        const COLORREF clrOldText = pDC->GetTextColor();
        const UINT nOldAlign = pDC->GetTextAlign();
        const int nOldMode = pDC->GetBkMode();
        CRect rcRange;
        GetCellRangeFromRect(rcClip.left, rcClip.top, rcClip.right, rcClip.bottom, &rcRange);
        const int nFirstCol = std::max<int>(rcRange.left, GetFirstVisibleCell().x);
        const int nFirstRow = std::max<int>(rcRange.top, GetFirstVisibleCell().y);
        const int nLastCol = std::min<int>(rcRange.right, GetColumnCount() - 1);
        const int nLastRow = std::min<int>(rcRange.bottom, GetRowLimit() - 1);
        for (int r = nFirstRow; r <= nLastRow && r >= 0; ++r) {
            for (int c = nFirstCol; c <= nLastCol && c >= 0; ++c)
                DrawCell(r, c, pDC);
        }
        pDC->SetBkMode(nOldMode);
        pDC->SetTextAlign(nOldAlign);
        pDC->SetTextColor(clrOldText);
        if (pOldFont != nullptr)
            pDC->SelectObject(pOldFont);
    }
    // The headers, the row numbers, the grid lines and the cursor.
    CMorvelView::OnDraw(pDC);
    DrawBookmarkMark(pDC);
}

// ---------------------------------------------------------------------------------------
// The panes of one list

void CMorvelPMView::OnColumnResized(int nCol)
{
    (void)nCol;
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    // The list's form keeps every column's width (tens of pixels at zoom 100, at least 1),
    // so that the list opens again with the widths it was saved with. The width alone does
    // not mark the list modified.
    const int nItems = std::min(pDoc->GetColumnCount(), GetColumnCount());
    for (int c = 0; c < nItems; ++c) {
        CString strWidth;
        strWidth.Format("%d", std::max(1, GetBaseColumnWidth(c) / 10));
        pDoc->m_form.GetItem(c, 2) = strWidth;
    }
    // Every pane shows the same columns; the document's update that follows lays them out.
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos != nullptr) {
        auto* pView = dynamic_cast<CMorvelPMView*>(pDoc->GetNextView(pos));
        if (pView != nullptr && pView != this)
            pView->TakeColumnWidths(*this);
    }
}

void CMorvelPMView::ScrollAllPanes(UINT nMsg, UINT nCode, int nPos)
{
    auto* pSplitter = dynamic_cast<CSplitterWnd*>(GetParent());
    int nRow = 0, nCol = 0;
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pSplitter == nullptr || !pSplitter->IsChildPane(this, &nRow, &nCol)) {
        CMorvelView::ScrollView(nMsg, nCode, nPos);
        return;
    }
    // The panes are collected first: a scroll step may repaint, never add or take panes.
    std::vector<CMorvelPMView*> panes;
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos != nullptr) {
        auto* pView = dynamic_cast<CMorvelPMView*>(pDoc->GetNextView(pos));
        int r = 0, c = 0;
        if (pView != nullptr && pView->GetParent() == pSplitter && pSplitter->IsChildPane(pView, &r, &c) &&
            (nMsg == WM_HSCROLL ? c == nCol : r == nRow))
            panes.push_back(pView);
    }
    for (CMorvelPMView* pView : panes)
        pView->CMorvelView::ScrollView(nMsg, nCode, nPos);
}

void CMorvelPMView::ShowArrivedRows(int nFirst, int nLast)
{
    if (nLast < nFirst || m_hWnd == nullptr)
        return;
    // The pane the user worked in last shows them.
    CFrameWnd* pFrame = GetParentFrame();
    if (auto* pActive = dynamic_cast<CMorvelPMView*>(pFrame != nullptr ? pFrame->GetActiveView() : nullptr);
        pActive != nullptr && pActive != this && pActive->GetDocument() == GetDocument()) {
        pActive->ShowArrivedRows(nFirst, nLast);
        return;
    }
    if (auto* pChild = dynamic_cast<CMDIChildWnd*>(pFrame))
        pChild->MDIActivate();
    if (m_nEditState == editOpen)
        CommitEdit(FALSE);
    ScrollToCell(0, nFirst);
    SetCurrentCell(0, nFirst);
    SetSelection(selectRows, CRect(0, nFirst, std::max(0, GetColumnCount() - 1), nLast));
    ShowCursorMove();
    RepaintAllViews();
    UpdateStatusText();
}
