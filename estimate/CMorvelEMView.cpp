#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMainFrame.h"
#include "app/CMorvelSettings.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/InformationValues.h"
#include "estimate/CMorvelEMDoc.h"
#include "grid/CTabWnd.h"
#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CMorvelEMView, CMorvelView)

BEGIN_MESSAGE_MAP(CMorvelEMView, CMorvelView)
ON_COMMAND(ID_READ_OTHER_FORM, OnReadOtherForm)
ON_UPDATE_COMMAND_UI(ID_READ_OTHER_FORM, OnUpdateReadOtherForm)
ON_COMMAND(ID_TEXT_OUTPUT, OnTextOutput)
ON_UPDATE_COMMAND_UI(ID_TEXT_OUTPUT, OnUpdateEditPageOnly)
ON_COMMAND(ID_TEXT_INPUT, OnTextInput)
ON_UPDATE_COMMAND_UI(ID_TEXT_INPUT, OnUpdateEditPageOnly)
ON_COMMAND(ID_EXPORT_M2K, ExportM2K)
ON_COMMAND(ID_EXPORT_M2N, ExportM2N)
ON_COMMAND(ID_FILE_PRINT, OnEstimatePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnEstimatePrintPreview)
ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdateEstimatePrint)
ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_PREVIEW, OnUpdateEstimatePrint)
ON_COMMAND(ID_PRINT_FORM_SELECT, OnPrintFormSelect)
ON_UPDATE_COMMAND_UI(ID_PRINT_FORM_SELECT, OnUpdatePrintFormSelect)
ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
ON_COMMAND(ID_TOTAL_SMALL, OnSmallTotal)
ON_COMMAND(ID_TOTAL_MIDDLE, OnMiddleTotal)
ON_COMMAND(ID_TOTAL_LARGE, OnLargeTotal)
ON_COMMAND(ID_TOTAL_KIND, OnKindTotal)
ON_COMMAND(ID_TOTAL_GRAND, OnGrandTotal)
ON_COMMAND(ID_TAX_ROW, OnConsumptionTax)
ON_COMMAND(ID_NONCALC_SET, OnNonCalcSet)
ON_COMMAND(ID_NONCALC_RELEASE, OnNonCalcRelease)
ON_UPDATE_COMMAND_UI(ID_NONCALC_SET, OnUpdateNonCalc)
ON_UPDATE_COMMAND_UI(ID_NONCALC_RELEASE, OnUpdateNonCalc)
ON_COMMAND(ID_RECALCULATE, OnRecalculate)
ON_UPDATE_COMMAND_UI(ID_RECALCULATE, OnUpdateRecalculate)
ON_UPDATE_COMMAND_UI(ID_ROW_RELEASE, OnUpdateMarkRelease)
ON_UPDATE_COMMAND_UI(ID_TOTAL_SMALL, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_TOTAL_MIDDLE, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_TOTAL_LARGE, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_TOTAL_KIND, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_TOTAL_GRAND, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_TAX_ROW, OnUpdateEditPageOnly)
// Pages
ON_COMMAND(ID_PAGE_PREV, OnPrevPage)
ON_COMMAND(ID_PAGE_NEXT, OnNextPage)
ON_COMMAND(ID_PAGE_FEED, OnPageFeed)
ON_COMMAND(ID_PAGE_SELECT, OnPageSelect)
ON_COMMAND(ID_PAGE_INSERT, OnPageInsert)
ON_COMMAND(ID_PAGE_DELETE, OnPageDelete)
ON_UPDATE_COMMAND_UI(ID_PAGE_FEED, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_PAGE_INSERT, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_PAGE_DELETE, OnUpdateEditPageOnly)
ON_COMMAND(ID_INFORMATION_INPUT, OnInformationInput)
ON_COMMAND(ID_KIND_INPUT, OnKindInput)
ON_COMMAND(ID_DISCOUNT_INPUT, OnDiscountInput)
ON_COMMAND(ID_STEP_SETTING, OnStepSetting)
ON_COMMAND(ID_TOTAL_DISCOUNT, OnDiscountTotal)
ON_COMMAND(ID_CLASSIFY_TOTAL, OnClassifyTotal)
ON_COMMAND(ID_SUBJECT_NO, OnSubjectNumbering)
ON_COMMAND(ID_SUMMARY_TABLE, OnSummaryTable)
ON_COMMAND(ID_SUMMARY_TABLE_CTX, OnSummaryTable)
ON_UPDATE_COMMAND_UI(ID_SUMMARY_TABLE, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_SUMMARY_TABLE_CTX, OnUpdateEditPageOnly)
ON_COMMAND(ID_PICK_LARGE, OnPickLargeSubject)
ON_COMMAND(ID_PICK_MIDDLE, OnPickMiddleSubject)
ON_COMMAND(ID_PICK_SMALL, OnPickSmallSubject)
ON_COMMAND(ID_UNIT, OnUnit)
ON_UPDATE_COMMAND_UI(ID_UNIT, OnUpdateUnit)
ON_UPDATE_COMMAND_UI(ID_PICK_LARGE, OnUpdatePickSubject)
ON_UPDATE_COMMAND_UI(ID_PICK_MIDDLE, OnUpdatePickSubject)
ON_UPDATE_COMMAND_UI(ID_PICK_SMALL, OnUpdatePickSubject)
ON_UPDATE_COMMAND_UI(ID_CLASSIFY_TOTAL, OnUpdateEditPageOnly)
ON_COMMAND(ID_INDENT, OnIndent)
ON_UPDATE_COMMAND_UI(ID_INDENT, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_SUBJECT_NO, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_IMPORT_OTHER, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_KIND_INPUT, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_DISCOUNT_INPUT, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_STEP_SETTING, OnUpdateEditPageOnly)
ON_UPDATE_COMMAND_UI(ID_TOTAL_DISCOUNT, OnUpdateEditPageOnly)
ON_MESSAGE(WM_INDENT_COMMAND, OnIndentCommand)
// Cell editing and input
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_CONTEXTMENU()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_COMMAND(ID_ROW_INSERT, OnInsertRow) // "行挿入"
ON_COMMAND(ID_ROW_DELETE, OnDeleteRow) // "行削除"
ON_COMMAND(ID_ROW_CLEAR, OnClearRow)   // "行ｸﾘｱ"
ON_UPDATE_COMMAND_UI(ID_ROW_INSERT, OnUpdateRowCommand)
ON_UPDATE_COMMAND_UI(ID_ROW_DELETE, OnUpdateRowCommand)
ON_UPDATE_COMMAND_UI(ID_ROW_CLEAR, OnUpdateRowCommand)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)   // "ｺﾋﾟｰ"
ON_COMMAND(ID_EDIT_CUT, OnEditCut)     // "切り取り"
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste) // "貼り付け"
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCutCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCutCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_COMMAND(ID_ZOOM_25, OnZoom25)   // "25%(&1)"
ON_COMMAND(ID_ZOOM_50, OnZoom50)   // "50%(&2)"
ON_COMMAND(ID_ZOOM_75, OnZoom75)   // "75%(&3)"
ON_COMMAND(ID_ZOOM_100, OnZoom100) // "100%(&4)"
ON_COMMAND(ID_ZOOM_150, OnZoom150) // "150%(&5)"
ON_COMMAND(ID_ZOOM_200, OnZoom200) // "200%(&6)"
ON_UPDATE_COMMAND_UI(ID_ZOOM_25, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_50, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_75, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_100, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_150, OnUpdateZoom)
ON_UPDATE_COMMAND_UI(ID_ZOOM_200, OnUpdateZoom)
ON_CBN_SELCHANGE(IDC_ZOOM_BOX, OnZoomBoxChange)
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_DESTROY()
ON_COMMAND(ID_DIRECT_INPUT, OnDirectInput) // "直接入力"
ON_UPDATE_COMMAND_UI(ID_DIRECT_INPUT, OnUpdateDirectInput)
ON_MESSAGE(WM_PICK_LARGE_SUBJECT, OnPickedLargeSubject)
ON_MESSAGE(WM_PICK_MIDDLE_SUBJECT, OnPickedMiddleSubject)
ON_MESSAGE(WM_PICK_SMALL_SUBJECT, OnPickedSmallSubject)
ON_MESSAGE(WM_PICK_UNIT, OnPickedUnit)
ON_MESSAGE(WM_MODELESS_CLOSED, OnModelessClosed)
ON_COMMAND(ID_SUBJECT_MENU, OnSubjectMenu)          // "科目" (tool bar)
ON_COMMAND(ID_TOTAL_MENU, OnTotalMenu)              // "合計" (tool bar)
ON_COMMAND(ID_REDISPLAY, OnRedisplay)               // "再表示(&R)"
ON_COMMAND(ID_PARTS_FILE_SWITCH, OnPartsFileSwitch) // "部材ﾌｧｲﾙ切替(&B)"
ON_COMMAND(ID_ENVIRONMENT, OnEnvironment)           // "環境設定(&E)..."
// Painting (display)
ON_WM_CREATE()
ON_WM_PAINT()
ON_COMMAND(CTabWnd::ID_EDIT_PAGE_TAB, OnEditPageTab)       // the tab " 見積編集 "
ON_COMMAND(CTabWnd::ID_SUMMARY_PAGE_TAB, OnSummaryPageTab) // the tab " 集計表 "
ON_COMMAND(ID_JUMP_FIRST_COLUMN, OnJumpFirstColumn)
ON_COMMAND(ID_JUMP_LAST_COLUMN, OnJumpLastColumn)
ON_COMMAND(ID_JUMP_FIRST_ROW, OnJumpFirstRow)
ON_COMMAND(ID_JUMP_LAST_ROW, OnJumpLastRow)
ON_COMMAND(ID_JUMP_CTRL_UP, OnCtrlUp)
ON_COMMAND(ID_JUMP_CTRL_DOWN, OnCtrlDown)
ON_COMMAND(ID_JUMP_CTRL_LEFT, OnCtrlLeft)
ON_COMMAND(ID_JUMP_CTRL_RIGHT, OnCtrlRight)
ON_WM_MOUSEWHEEL()
ON_COMMAND(ID_ITEM_CLEAR, OnItemClear) // "項目ｸﾘｱ(&K)"
ON_UPDATE_COMMAND_UI(ID_ITEM_CLEAR, OnUpdateItemClear)
ON_COMMAND(ID_RANGE_ADD, OnRangeAdd) // "加算"
ON_COMMAND(ID_RANGE_ADD_BAR, OnRangeAdd)
ON_UPDATE_COMMAND_UI(ID_RANGE_ADD, OnUpdateRangeAdd)
ON_UPDATE_COMMAND_UI(ID_RANGE_ADD_BAR, OnUpdateRangeAdd)
ON_COMMAND(ID_RANGE_SET_BAR, OnRangeTotalSet) // "範囲合計値のセット", "ｾｯﾄ"
ON_COMMAND(ID_RANGE_SET, OnRangeTotalSet)
ON_UPDATE_COMMAND_UI(ID_RANGE_SET_BAR, OnUpdateRangeTotalSet)
ON_UPDATE_COMMAND_UI(ID_RANGE_SET, OnUpdateRangeTotalSet)
ON_COMMAND(ID_RANGE_CLEAR_BAR, OnRangeTotalClear) // "範囲合計値のクリア", "ｸﾘｱ"
ON_COMMAND(ID_RANGE_CLEAR, OnRangeTotalClear)
// Display fixing and fixed-rate change
ON_COMMAND(ID_DISPLAY_FIX, OnDisplayFix)
// Undo and redo
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo) // "元に戻す(&U)"
ON_COMMAND(ID_EDIT_REDO, OnEditRedo) // "やり直し(&R)"
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
// Find and replace, parts registration, input fixing
ON_COMMAND(ID_EDIT_FIND_DLG, OnEditFind)       // "検索(&F) ..."
ON_COMMAND(ID_EDIT_REPLACE_DLG, OnEditReplace) // "置換(&E)..."
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND_DLG, OnUpdateEditFind)
ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE_DLG, OnUpdateEditReplace)
ON_MESSAGE(WM_FINDREPLACE_REQUEST, OnFindReplaceRequest)
ON_MESSAGE(WM_MATCH_CURRENT_CELL, OnMatchCurrentCell)
ON_COMMAND(ID_PARTS_REGISTER, OnPartsRegister) // "部材登録"
ON_UPDATE_COMMAND_UI(ID_PARTS_REGISTER, OnUpdatePartsRegister)
ON_COMMAND(ID_INPUT_FIX, OnInputFix) // "入力固定"
// Editing tools
ON_COMMAND(ID_SORT, OnSort) // "並べ替え"
ON_UPDATE_COMMAND_UI(ID_SORT, OnUpdateSort)
ON_COMMAND(ID_ROW_REMEMBER, OnRememberPosition) // "記憶"
ON_UPDATE_COMMAND_UI(ID_ROW_REMEMBER, OnUpdateRememberPosition)
ON_COMMAND(ID_ROW_JUMP, OnJumpToRemembered) // "ｼﾞｬﾝﾌﾟ"
ON_UPDATE_COMMAND_UI(ID_ROW_JUMP, OnUpdateJumpToRemembered)
ON_COMMAND(ID_ROW_RELEASE, OnReleaseMark) // "解除"
ON_COMMAND(ID_PAGE_ALIGN, OnPageAlign)    // "ページ揃え"
ON_COMMAND(ID_PAGE_ALIGN_BAR, OnPageAlign)
ON_UPDATE_COMMAND_UI(ID_PAGE_ALIGN, OnUpdatePageAlign)
ON_UPDATE_COMMAND_UI(ID_PAGE_ALIGN_BAR, OnUpdatePageAlign)
ON_COMMAND(ID_ZOOM_USER, OnZoomUser) // "ﾕｰｻﾞ ｰ指定(&7)..."
ON_UPDATE_COMMAND_UI(ID_ZOOM_USER, OnUpdateZoom)
ON_COMMAND(ID_RATE_CHANGE, OnFixedRateChange) // "定率変更"
ON_UPDATE_COMMAND_UI(ID_RATE_CHANGE, OnUpdateFixedRateChange)
ON_COMMAND(ID_UNNECESSARY_ROWS, OnDeleteUnnecessaryRows) // "不要行削除(&L)"
ON_UPDATE_COMMAND_UI(ID_UNNECESSARY_ROWS, OnUpdateEditPageOnly)
ON_MESSAGE(WM_UNNECESSARY_ROW_COMMAND, OnUnnecessaryRowMessage)
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------
// Construction

CMorvelEMView::CMorvelEMView()
    : m_nAdjustPage(1), m_nRowsPerPage(CMorvelSettings::ReadRowsPerPage())
{
    SetSummaryPageShown(false);
    s_nCopyMode = 0;
    // The row header has room for the mark of a non-calculated or summary row beside the
    // widest number of a page, so that neither covers the other.
    SetBaseRowHeaderWidth(RowHeaderWidthFor(GetRowsPerPage()) + ROW_MARK_ROOM);
}

int CMorvelEMView::RowHeaderWidthFor(int nRowsPerPage)
{
    char digits[16];
    const int nDigits = std::snprintf(digits, sizeof(digits), "%d", nRowsPerPage);
    return std::min((nDigits + 1) * 9, 50);
}

int CMorvelEMView::ReadRowLimitSetting()
{
    return CMorvelSettings::CurrentProfileInt("Input Setting", "Estimation Maxmum Rows", DEFAULT_ROW_LIMIT);
}

// The rows, the undo record and everything else of the estimate belong to the document's
// model.
CMorvelEMView::~CMorvelEMView()
{
    // A window closed inside its own rows command leaves the model recording no steps; what
    // the command did is not recorded.
    for (; m_nRowsCommands > 0 && m_pModel != nullptr; --m_nRowsCommands)
        m_pModel->EndRowsCommand(false);
}

CMorvelEMDoc* CMorvelEMView::GetDocument() const
{
    return static_cast<CMorvelEMDoc*>(m_pDocument);
}

const CEstimationFormFile& CMorvelEMView::GetEstimationForm() const
{
    static const CEstimationFormFile empty;
    const CMorvelEMDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->m_EstimationForm : empty;
}

// ---------------------------------------------------------------------------------------
// Set-up

void CMorvelEMView::SetupFromDocument()
{
    if (CMorvelEMDoc* pDoc = GetDocument())
        pDoc->SetupModel();
    CMorvelView::SetZoom(GetModel().GetZoom());
    SetupView();
    // A file may hold figures its form and the settings now do not give (saved at another
    // recalculation level, under another tax rate or form). Where every command leaves the
    // figures a full recalculation makes, the estimate opens with them too; elsewhere they
    // stay the file's until F7.
    Engine().StartOnRowsRead(GetRecalcLevel() == 3);
}

void CMorvelEMView::SetupView()
{
    const CEstimationFormFile& form = GetEstimationForm();

    SetBaseHeaderHeight(HEADER_HEIGHT);
    // The row-kind fonts are measured with the window's device context; until then the
    // height the grid uses for fonts too small to measure.
    SetBaseRowHeight(HEADER_HEIGHT);
    SetRowMetrics(GetRowHeaderWidth(), HEADER_HEIGHT, HEADER_HEIGHT);

    const int nColumns = GetColumnCount();
    for (int i = 0; i < MAX_COLUMNS; ++i) {
        const int nBase =
            i < nColumns ? GetFormColumnWidth(form.GetItem(i, CEstimationFormFile::colWidth)) * 10 : 0;
        SetBaseColumnWidth(i, nBase);
        SetColumnWidth(i, static_cast<int>(static_cast<long long>(nBase) * GetZoom() / 100));
        SetColumnTitle(i, i < nColumns ? form.GetItem(i, CEstimationFormFile::colName) : CString());
        SetColumnInputFixed(i, false);
    }
    RecalcTotalWidth();
    RecalcTotalHeight();

    m_strCurrentPartFile.Empty();
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent()) {
        m_strCurrentPartFile = pSettings->GetProfileString("Current Part File", "FileName", "");
        if (m_strCurrentPartFile.IsEmpty())
            m_strCurrentPartFile = pSettings->GetPathSetting("Work Field") + "部材処理.MBD"_sj;
    }
    m_nAdjustPage = CMorvelSettings::CurrentProfileInt("Settings", "AdjustPage", 1);
    UpdateScrollRanges();
}

void CMorvelEMView::OnInitialUpdate()
{
    // A further window on an estimate (Window > New Window) shows the model as it stands;
    // the first sets the model up from what the document read.
    const CMorvelEMDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetEstimateView() == this)
        SetupFromDocument();
    else
        SetupView();

    // The in-place cell editor, hidden until a cell is edited.
    if (m_hWnd != nullptr && !m_bCellEditExists) {
        if (!m_wndCellEdit.CreateInView(this, CGridCellEdit::ESTIMATE_VIEW_EDIT_ID)) {
            AfxMessageBox("みつもりﾓﾙﾍﾞﾙ が起動できません。"_sj);
        } else {
            m_bCellEditExists = TRUE;
            CHARFORMAT cf{};
            cf.cbSize = sizeof(cf);
            m_wndCellEdit.GetDefaultCharFormat(cf);
            m_nCellEditCharHeight = cf.yHeight;
            m_wndCellEdit.ShowWindow(SW_HIDE);
        }
    }

    CMorvelSettings::SetWorkFolderAsCurrent();

    // The main frame's zoom box shows this estimate's zoom.
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->SelectZoomEntry(GetZoom());

    m_nRowsPerPage = CMorvelSettings::ReadRowsPerPage();
    CMorvelView::OnInitialUpdate();
    UpdateStatusText(statusShow);
    // Row height from the row-kind fonts, zoomed sizes, scroll ranges.
    RecalcLayout();

    // A new estimate starts with its information sheet.
    if (m_hWnd != nullptr && GetDocument() != nullptr && GetDocument()->m_nNewEstimate == 1)
        SendMessage(WM_COMMAND, ID_INFORMATION_INPUT, 0);
}

// ---------------------------------------------------------------------------------------
// Row and cell access

const CGridRow* CMorvelEMView::GetEditRow(int nRow) const
{
    return EditRows().GetRow(nRow);
}

CString CMorvelEMView::GetCellText(int nRow, int nCol) const
{
    return GetModel().CellText(ShownPage(), nRow, nCol);
}

bool CMorvelEMView::SetCellText(const char* lpszText, int nRow, int nCol, bool bForce)
{
    return Engine().SetCellText(lpszText, nRow, nCol, bForce);
}

ERowKind CMorvelEMView::GetRowKind(int nRow) const
{
    return GetModel().RowKind(ShownPage(), nRow);
}

void CMorvelEMView::SetRowKind(ERowKind nKind, int nRow)
{
    Engine().SetRowKind(nKind, nRow);
}

int CMorvelEMView::GetCellIndent(int nRow, int nCol) const
{
    return GetModel().CellIndent(ShownPage(), nRow, nCol);
}

void CMorvelEMView::SetCellIndent(int nIndent, int nRow, int nCol)
{
    GetModel().SetCellIndent(ShownPage(), nIndent, nRow, nCol);
}

int CMorvelEMView::GetRowParam1(int nRow) const
{
    const CGridRow* pRow = IsValidRow(nRow) ? EditRows().GetRow(nRow) : nullptr;
    return pRow != nullptr ? pRow->GetParam1() : 0;
}

int CMorvelEMView::GetRowParam2(int nRow) const
{
    const CGridRow* pRow = IsValidRow(nRow) ? EditRows().GetRow(nRow) : nullptr;
    return pRow != nullptr ? pRow->GetParam2() : 0;
}

int CMorvelEMView::GetRowParam3(int nRow) const
{
    const CGridRow* pRow = IsValidRow(nRow) ? EditRows().GetRow(nRow) : nullptr;
    return pRow != nullptr ? pRow->GetParam3() : 0;
}

CString CMorvelEMView::GetRowParamText1(int nRow) const
{
    const CGridRow* pRow = IsValidRow(nRow) ? EditRows().GetRow(nRow) : nullptr;
    return pRow != nullptr ? pRow->GetParamText1() : CString();
}

CString CMorvelEMView::GetRowParamText2(int nRow) const
{
    const CGridRow* pRow = IsValidRow(nRow) ? EditRows().GetRow(nRow) : nullptr;
    return pRow != nullptr ? pRow->GetParamText2() : CString();
}

void CMorvelEMView::SetRowParam1(int nValue, int nRow)
{
    if (IsValidRow(nRow))
        Engine().MakeRow(nRow)->SetParam1(nValue);
}

void CMorvelEMView::SetRowParam2(int nValue, int nRow)
{
    if (IsValidRow(nRow))
        Engine().MakeRow(nRow)->SetParam2(nValue);
}

void CMorvelEMView::SetRowParam3(int nValue, int nRow)
{
    if (IsValidRow(nRow))
        Engine().MakeRow(nRow)->SetParam3(nValue);
}

void CMorvelEMView::SetRowParamText1(const char* lpszText, int nRow)
{
    if (IsValidRow(nRow))
        Engine().MakeRow(nRow)->SetParamText1(lpszText);
}

void CMorvelEMView::SetRowParamText2(const char* lpszText, int nRow)
{
    if (IsValidRow(nRow))
        Engine().MakeRow(nRow)->SetParamText2(lpszText);
}

void CMorvelEMView::InsertRow(int nRow)
{
    InsertRows(nRow, 1);
}

void CMorvelEMView::DeleteRow(int nRow)
{
    DeleteRows(nRow, 1);
}

void CMorvelEMView::InsertRows(int nRow, int nCount)
{
    PutRowsIn(nRow, nCount, nullptr);
}

void CMorvelEMView::DeleteRows(int nRow, int nCount)
{
    // While a rows command records its steps, the rows it takes out go to its steps (in the
    // order they went) for its undo to put back.
    TakeRowsOut(nRow, nCount, nullptr);
}

void CMorvelEMView::PutRowsIn(int nRow, int nCount, CGridRow* const* ppRows)
{
    // A selection drag in progress ends: the rows under it move.
    EndDragExtension();
    if (nRow < 0 || nCount <= 0)
        return;
    GetModel().PutRowsIn(nRow, nCount, ppRows);
    SetDocumentModified();
}

void CMorvelEMView::TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>* pTaken)
{
    if (GetModel().TakeRowsOut(nRow, nCount, pTaken) > 0)
        SetDocumentModified();
}

void CMorvelEMView::RowsMoved(int)
{
    EndDragExtension();
    RecalcTotalHeight();
    UpdateScrollRanges();
}

void CMorvelEMView::MarkRowMoved(int nOld, int nNew)
{
    InvalidateRowHead(nOld);
    InvalidateRowHead(nNew);
}

CString CMorvelEMView::GetAmountText(int nRow) const
{
    const int nCol = FindFirstColumn(CEstimationFormFile::colV, "2");
    return nCol >= 0 ? Engine().EditCell(nRow, nCol) : CString();
}

int CMorvelEMView::FindFirstColumn(int nCodeColumn, const char* lpszValue) const
{
    if (nCodeColumn == CEstimationFormFile::colT)
        return Engine().Columns().FindFirst(IEstimateSheet::textT, lpszValue);
    if (nCodeColumn == CEstimationFormFile::colV)
        return Engine().Columns().FindFirst(IEstimateSheet::textV, lpszValue);
    const CEstimationFormFile& form = GetEstimationForm();
    const int nColumns = GetColumnLimit();
    for (int c = 0; c < nColumns; ++c) {
        if (form.GetItem(c, nCodeColumn) == lpszValue)
            return c;
    }
    return -1;
}

void CMorvelEMView::CopyRow(const CGridRow* pSource, CGridRow* pTarget) const
{
    GetModel().CopyRow(pSource, pTarget);
}

void CMorvelEMView::AllocateRows(int nCount)
{
    const int nFirst = static_cast<int>(EditRows().GetSize());
    for (int i = 0; i < nCount; ++i)
        Engine().MakeRow(nFirst + i);
}

// ---------------------------------------------------------------------------------------
// Information values

void CMorvelEMView::GetInformationAmounts(CString& strTotal, CString& strTax, CString& strNet)
{
    InformationValues::CAmounts amounts = InformationValues::WorkOutAmounts(Engine());
    strTotal = std::move(amounts.strTotal);
    strTax = std::move(amounts.strTax);
    strNet = std::move(amounts.strNet);
}

void CMorvelEMView::ApplyInformationValues(const CStringArray& values)
{
    const int nCount = static_cast<int>(std::min<INT_PTR>(values.GetSize(), MAX_INFORMATION));
    CEstimateModel& model = GetModel();
    model.SetInformationCount(nCount);
    bool bChanged = false;
    for (int i = 0; i < nCount; ++i) {
        if (values.GetAt(i) != model.GetInformation(i))
            bChanged = true;
    }
    if (!bChanged)
        return;
    for (int i = 0; i < nCount; ++i)
        model.SetInformation(i, values.GetAt(i));
    SetDocumentModified();
}

BOOL CMorvelEMView::TakeOverInformation(const std::vector<std::pair<int, CString>>& values, bool bWithRows)
{
    if (!GetModel().TakeOverInformation(values, bWithRows))
        return FALSE;
    NoteUndoRecorded();
    SetDocumentModified();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Small helpers

// ---------------------------------------------------------------------------------------
// The sheet the engine computes in

void CMorvelEMView::UpdateScrollRanges()
{
    CRect rcClient;
    if (m_hWnd != nullptr)
        GetClientRect(&rcClient);
    SetScrollRanges(GetTotalWidth() + GetRowHeaderWidth() - rcClient.Width(), GetUsedRows());
}

void CMorvelEMView::SetDocumentModified()
{
    if (CMorvelEMDoc* pDoc = GetDocument())
        pDoc->SetModifiedFlag(TRUE);
}

void CMorvelEMView::SetDocumentModifiedKeepingUndo()
{
    const CUndoKeepingScope keepUndo;
    SetDocumentModified();
}

void CMorvelEMView::SetSummaryLevelOn(int nLevel, bool bOn)
{
    if (nLevel >= 0 && nLevel < SUMMARY_LEVELS)
        m_nSummaryLevelOn[nLevel] = bOn ? 1 : 0;
}

CWnd* CMorvelEMView::GetPickDialog(EPickPurpose ePurpose) const
{
    if (const ERowKind nHeading = HeadingOfPick(ePurpose); nHeading != kindEmpty)
        return m_pSubjectPick[nHeading - kindLarge];
    return ePurpose == pickUnit ? m_pUnitPick : nullptr;
}

void CMorvelEMView::SetPickDialog(EPickPurpose ePurpose, CWnd* pDialog)
{
    if (const ERowKind nHeading = HeadingOfPick(ePurpose); nHeading != kindEmpty)
        m_pSubjectPick[nHeading - kindLarge] = pDialog;
    else if (ePurpose == pickUnit)
        m_pUnitPick = pDialog;
}

void CMorvelEMView::MoveCurrentRowDown()
{
    if (GetCurrentRow() < GetRowLimit() - 1)
        SetCurrentRow(GetCurrentRow() + 1);
    // The status bar shows the new row, and the used rows the new row made.
    UpdateStatusText(statusShow);
}

bool CMorvelEMView::HasFileRoomForRows(int nRow, int nCount, int nHeading) const
{
    const long long nAligned = nHeading > 0 ? GetPageRows() - 1 : 0;
    return CheckFileRowLimit(std::max<long long>(GetUsedRows(), nRow) + nCount + nAligned);
}

// ---------------------------------------------------------------------------------------
// Commands

void CMorvelEMView::OnUpdateMarkRelease(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetMarkRow() != -1 && !IsSummaryPageShown());
}

void CMorvelEMView::OnUpdateEditPageOnly(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!IsSummaryPageShown());
}
