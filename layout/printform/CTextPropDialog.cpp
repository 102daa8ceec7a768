#include "layout/printform/CTextPropDialog.h"

#include "layout/drawing/FieldTokens.h"
#include "layout/drawing/FormatCatalogues.h"
#include "layout/drawing/TextPieces.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/LayoutDialogIds.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CTextPropDialog, CDialog)

BEGIN_MESSAGE_MAP(CTextPropDialog, CDialog)
ON_BN_CLICKED(IDC_TP_ADD_BEFORE, OnAddBefore)
ON_BN_CLICKED(IDC_TP_ADD_AFTER, OnAddAfter)
ON_BN_CLICKED(IDC_TP_DELETE, OnDeletePiece)
ON_BN_CLICKED(IDC_TP_UPDATE, OnUpdatePiece)
ON_CBN_SELCHANGE(IDC_TP_FORMAT, OnSelchangeFormatList)
ON_CBN_SELCHANGE(IDC_TP_ITEM, OnSelchangeItemList)
ON_LBN_SELCHANGE(IDC_TP_PIECES, OnSelchangePieceList)
ON_BN_CLICKED(IDC_TP_DIRECT, OnDirectInput)
ON_BN_CLICKED(IDC_TP_NUMBERING, OnNumbering)
ON_BN_CLICKED(IDC_TP_DATE, OnDate)
ON_BN_CLICKED(IDC_TP_TIME, OnTime)
ON_BN_CLICKED(IDC_TP_PAGE, OnCurrentPage)
ON_BN_CLICKED(IDC_TP_PAGE_TOTAL, OnAllPages)
ON_BN_CLICKED(IDC_TP_RULED_LINE, OnRuledLine)
ON_BN_CLICKED(IDC_TP_SHADING, OnShading)
END_MESSAGE_MAP()

namespace {

const CString kTime = "$時間()$"_sj;
const CString kDate = "$日付()$"_sj;
const CString kPage = "$ﾍﾟｰｼﾞ()$"_sj;
const CString kPageTotal = "$すべてのﾍﾟｰｼﾞ()$"_sj;
const CString kNumbering = "$番号("_sj;
const CString kInformation = "$情報("_sj;
const CString kTextAttribute = "文字"_sj;

} // namespace

CTextPropDialog::CTextPropDialog(UINT nIDTemplate, int nTargets, BOOL bFrameOptions, CWnd* pParent)
    : CDialog(nIDTemplate, pParent), m_nTargetCount(nTargets < 1 ? 1 : nTargets),
      m_bFrameOptions(bFrameOptions)
{
    for (int i = 0; i < m_nTargetCount; ++i)
        m_astrTargetTexts.Add(CString());
}

CTextPropDialog::~CTextPropDialog() = default;

CString CTextPropDialog::BadNumberMessage()
{
    return "ｸﾞﾙｰﾌﾟ番号と行番号には1以上の数字を入力してください。"_sj;
}

CString CTextPropDialog::BadItemMessage()
{
    return "この項目は差込に使えません。"_sj;
}

void CTextPropDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_TP_PIECES, m_pieceList);
    DDX_Control(pDX, IDC_TP_FORMAT, m_formatList);
    DDX_Control(pDX, IDC_TP_FIXED_TEXT, m_fixedText);
    DDX_Control(pDX, IDC_TP_ITEM, m_itemList);
    DDX_Control(pDX, IDC_TP_ROW, m_rowEdit);
    DDX_Control(pDX, IDC_TP_GROUP, m_groupEdit);
}

BOOL CTextPropDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const CString& piece : TextPieces::Split(m_strText))
        m_pieceList.AddString(piece);
    if (m_pieceList.GetCount() > 0)
        m_pieceList.SetCurSel(0);
    SyncControlsToPiece();
    ShowControl(IDC_TP_RULED_LINE, m_bFrameOptions != FALSE);
    ShowControl(IDC_TP_SHADING, m_bFrameOptions != FALSE);
    if (m_bFrameOptions) {
        CheckDlgButton(IDC_TP_RULED_LINE, m_bRuledLine ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(IDC_TP_SHADING, m_bShading ? BST_CHECKED : BST_UNCHECKED);
    }
    ShowControl(IDC_TP_AUTO_MODE, false);
    return TRUE;
}

void CTextPropDialog::ShowControl(UINT nID, bool bShow)
{
    if (CWnd* pWnd = GetDlgItem(static_cast<int>(nID)))
        pWnd->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

CString CTextPropDialog::SelectedPiece() const
{
    CString piece;
    const int nSel = m_pieceList.GetCurSel();
    if (nSel >= 0)
        m_pieceList.GetText(nSel, piece);
    return piece;
}

int* CTextPropDialog::PictureSlot(int nKind)
{
    switch (nKind) {
    case kindPageTotal:
        return &m_nPageTotalPicture;
    case kindNumbering:
        return &m_nNumberingPicture;
    case kindDate:
        return &m_nDatePicture;
    case kindTime:
        return &m_nTimePicture;
    case kindPage:
        return &m_nPagePicture;
    default:
        return FieldPictureSlot(nKind);
    }
}

CString CTextPropDialog::NumberOrOne(const CString& strText)
{
    return std::atoi(strText) > 0 ? strText : CString("1");
}

void CTextPropDialog::SyncControlsToPiece()
{
    const CString piece = SelectedPiece();
    if (piece.Find('$') < 0) {
        SelectKind(kindDirect, piece);
        return;
    }
    // The tests of the token kinds in turn; a later one that applies wins.
    int nKind = kindNone;
    if (piece == kTime)
        nKind = kindTime;
    if (piece == kDate)
        nKind = kindDate;
    if (piece == kPage)
        nKind = kindPage;
    if (piece == kPageTotal)
        nKind = kindPageTotal;
    const bool bWellFormed = TextPieces::IsWellFormed(piece);
    if (piece.Find(kNumbering) >= 0)
        nKind = bWellFormed ? kindNumbering : kindDirect;
    if (piece.Find(DataFieldOpening()) >= 0)
        nKind = bWellFormed ? kindDataField : kindDirect;
    if (RadioOf(kindInformation) != 0 && piece.Find(kInformation) >= 0)
        nKind = bWellFormed ? kindInformation : kindDirect;
    // A piece with a "$" that is none of these leaves the controls as they are.
    if (nKind != kindNone)
        SelectKind(nKind, piece);
}

void CTextPropDialog::SelectKind(int nKind, const CString& piece)
{
    for (int k = 0; k < KIND_COUNT; ++k) {
        if (UINT nRadio = RadioOf(k))
            CheckDlgButton(static_cast<int>(nRadio), k == nKind ? BST_CHECKED : BST_UNCHECKED);
    }
    m_nPieceKind = nKind;
    switch (nKind) {
    case kindDirect:
        SelectDirectKind(piece);
        return;
    case kindDataField:
    case kindInformation:
        SelectFieldKind(nKind, piece);
        return;
    case kindNumbering: {
        CString strStart;
        m_rowEdit.SetWindowText(
            TextPieces::ReadNumbering(piece, strStart) && std::atoi(strStart) >= 1 ? strStart : CString("1"));
        break;
    }
    default:
        break;
    }
    // Numbering, date, time and the page numbers: the format list alone, and the row for
    // numbering.
    SetDlgItemText(IDC_TP_FORMAT_LABEL, "数値書式(&F)"_sj);
    ShowControl(IDC_TP_FORMAT_LABEL, true);
    ShowControl(IDC_TP_FORMAT, true);
    ShowControl(IDC_TP_FIXED_TEXT, false);
    ShowControl(IDC_TP_ITEM_LABEL, false);
    ShowControl(IDC_TP_ITEM, false);
    ShowControl(IDC_TP_ROW_LABEL, nKind == kindNumbering);
    ShowControl(IDC_TP_ROW, nKind == kindNumbering);
    ShowControl(IDC_TP_GROUP_LABEL, false);
    ShowControl(IDC_TP_GROUP, false);
    FillFormatList(nKind);
}

void CTextPropDialog::FillFormatList(int nKind)
{
    m_formatList.ResetContent();
    const CClockReading now = FieldClock();
    switch (nKind) {
    case kindDataField:
    case kindInformation: {
        const CNumberPicture pictures;
        for (int i = 0; i < CNumberPicture::COUNT; ++i)
            m_formatList.InsertString(i, pictures.GetAt(i));
        break;
    }
    case kindPageTotal: {
        const CPageTotalFormat formats;
        for (int i = 0; i < CPageTotalFormat::COUNT; ++i)
            m_formatList.InsertString(i, formats.Format(i, 1));
        break;
    }
    case kindNumbering: {
        const CNumberingFormat formats;
        for (int i = 0; i < CNumberingFormat::COUNT; ++i)
            m_formatList.InsertString(i, formats.Format(i, 1));
        break;
    }
    case kindDate: {
        const CDateFormat formats;
        for (int i = 0; i < CDateFormat::COUNT; ++i)
            m_formatList.InsertString(i, formats.Format(i, now));
        break;
    }
    case kindTime: {
        const CTimeFormat formats;
        for (int i = 0; i < CTimeFormat::COUNT; ++i)
            m_formatList.InsertString(i, formats.Format(i, now));
        break;
    }
    case kindPage: {
        const CPageFormat formats;
        for (int i = 0; i < CPageFormat::COUNT; ++i)
            m_formatList.InsertString(i, formats.Format(i, 1));
        break;
    }
    default:
        return;
    }
    if (int* pSlot = PictureSlot(nKind))
        m_formatList.SetCurSel(*pSlot);
}

void CTextPropDialog::SelectFieldKind(int nKind, const CString& piece)
{
    const std::vector<CString> names = ItemNames(nKind);
    m_itemList.ResetContent();
    for (size_t i = 0; i < names.size(); ++i)
        m_itemList.InsertString(static_cast<int>(i), names[i]);
    m_itemList.SetCurSel(0);
    bool bFound = false;
    CString strGroup, strItem, strRow;
    const bool bRead = nKind == kindDataField
                           ? TextPieces::ReadDataField(piece, DataFieldOpening(), strGroup, strItem, strRow)
                           : TextPieces::ReadInformationField(piece, strItem);
    if (bRead) {
        const int nItem = TextPieces::FindOccurrence(names, strItem);
        if (nItem >= 0) {
            m_itemList.SetCurSel(nItem);
            bFound = true;
        }
    }
    if (nKind == kindDataField) {
        m_groupEdit.SetWindowText(bRead ? NumberOrOne(strGroup) : CString("1"));
        m_rowEdit.SetWindowText(bRead ? NumberOrOne(strRow) : CString("1"));
    }
    SetDlgItemText(IDC_TP_FORMAT_LABEL, "数値書式(&F)"_sj);
    const bool bNumeric = bFound && ItemAttribute(nKind, m_itemList.GetCurSel()) != kTextAttribute;
    ShowControl(IDC_TP_FORMAT_LABEL, bNumeric);
    ShowControl(IDC_TP_FORMAT, bNumeric);
    ShowControl(IDC_TP_FIXED_TEXT, false);
    ShowControl(IDC_TP_ITEM_LABEL, true);
    ShowControl(IDC_TP_ITEM, true);
    const bool bData = nKind == kindDataField;
    ShowControl(IDC_TP_ROW_LABEL, bData);
    ShowControl(IDC_TP_ROW, bData);
    ShowControl(IDC_TP_GROUP_LABEL, bData);
    ShowControl(IDC_TP_GROUP, bData);
    FillFormatList(nKind);
}

void CTextPropDialog::SelectDirectKind(const CString& piece)
{
    m_fixedText.ResetContent();
    const std::vector<CString> names = SuggestionNames();
    for (size_t i = 0; i < names.size(); ++i)
        m_fixedText.InsertString(static_cast<int>(i), names[i]);
    // Byte for byte: the list's own search ignores case.
    int nFound = -1;
    for (size_t i = 0; i < names.size() && nFound < 0; ++i) {
        if (names[i] == piece)
            nFound = static_cast<int>(i);
    }
    if (nFound >= 0) {
        m_fixedText.SetCurSel(nFound);
    } else if (!piece.IsEmpty() || SuggestEmptyPiece()) {
        m_fixedText.InsertString(0, piece);
        m_fixedText.SetCurSel(0);
    } else {
        m_fixedText.SetCurSel(0);
    }
    m_formatList.ResetContent();
    m_formatList.SetCurSel(0);
    SetDlgItemText(IDC_TP_FORMAT_LABEL, "文字列(&M)"_sj);
    ShowControl(IDC_TP_FORMAT_LABEL, true);
    ShowControl(IDC_TP_FORMAT, false);
    ShowControl(IDC_TP_FIXED_TEXT, true);
    ShowControl(IDC_TP_ITEM_LABEL, false);
    ShowControl(IDC_TP_ITEM, false);
    ShowControl(IDC_TP_ROW_LABEL, false);
    ShowControl(IDC_TP_ROW, false);
    ShowControl(IDC_TP_GROUP_LABEL, false);
    ShowControl(IDC_TP_GROUP, false);
}

void CTextPropDialog::ShowFormatForItem(int nKind)
{
    const int nSel = m_itemList.GetCurSel();
    const bool bNumeric = nSel >= 0 && ItemAttribute(nKind, nSel) != kTextAttribute;
    SetDlgItemText(IDC_TP_FORMAT_LABEL, "数値書式(&F)"_sj);
    ShowControl(IDC_TP_FORMAT_LABEL, bNumeric);
    ShowControl(IDC_TP_FORMAT, bNumeric);
}

BOOL CTextPropDialog::BuildPiece(CString& piece)
{
    switch (m_nPieceKind) {
    case kindDirect:
        m_fixedText.GetWindowText(piece);
        return TRUE;
    case kindPageTotal:
        piece = kPageTotal;
        return TRUE;
    case kindDate:
        piece = kDate;
        return TRUE;
    case kindTime:
        piece = kTime;
        return TRUE;
    case kindPage:
        piece = kPage;
        return TRUE;
    case kindNumbering: {
        CString strTyped, strRow;
        m_rowEdit.GetWindowText(strTyped);
        if (!TextPieces::ReadFieldNumber(strTyped, strRow)) {
            AfxMessageBox(BadNumberMessage(), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        piece = kNumbering + strRow + ")$";
        return TRUE;
    }
    case kindDataField:
    case kindInformation: {
        const bool bData = m_nPieceKind == kindDataField;
        CString strGroup, strRow;
        if (bData) {
            CString strTypedGroup, strTypedRow;
            m_groupEdit.GetWindowText(strTypedGroup);
            m_rowEdit.GetWindowText(strTypedRow);
            if (!TextPieces::ReadFieldNumber(strTypedGroup, strGroup) ||
                !TextPieces::ReadFieldNumber(strTypedRow, strRow)) {
                AfxMessageBox(BadNumberMessage(), MB_OK | MB_ICONEXCLAMATION);
                return FALSE;
            }
        }
        const std::vector<CString> names = ItemNames(m_nPieceKind);
        const int nSel = m_itemList.GetCurSel();
        if (nSel < 0 || nSel >= static_cast<int>(names.size()) ||
            !TextPieces::IsUsableItemName(names[static_cast<size_t>(nSel)], bData)) {
            AfxMessageBox(BadItemMessage(), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        const CString strItem = TextPieces::ItemWithOccurrence(names[static_cast<size_t>(nSel)],
                                                               TextPieces::OccurrenceOf(names, nSel));
        piece = bData ? DataFieldOpening() + strGroup + "," + strItem + "," + strRow + ")$"
                      : kInformation + strItem + ")$";
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void CTextPropDialog::OnAddBefore()
{
    CString piece;
    if (!BuildPiece(piece))
        return;
    const int nSel = m_pieceList.GetCurSel();
    if (nSel < 0) {
        m_pieceList.AddString(piece);
        m_pieceList.SetCurSel(0);
        return;
    }
    m_pieceList.InsertString(nSel, piece);
    m_pieceList.SetCurSel(nSel);
}

void CTextPropDialog::OnAddAfter()
{
    // An empty list has no piece to add after: the new one becomes the first, as
    // "<< 前に追加" makes it, rather than the button doing nothing.
    if (m_pieceList.GetCount() == 0) {
        OnAddBefore();
        return;
    }
    CString piece;
    if (!BuildPiece(piece))
        return;
    const int nSel = m_pieceList.GetCurSel();
    if (nSel + 1 >= m_pieceList.GetCount())
        m_pieceList.AddString(piece);
    else
        m_pieceList.InsertString(nSel + 1, piece);
    m_pieceList.SetCurSel(nSel);
}

void CTextPropDialog::OnUpdatePiece()
{
    if (m_pieceList.GetCount() == 0)
        return;
    const int nSel = m_pieceList.GetCurSel();
    CString piece;
    // The piece is built first: input that cannot make a token leaves the old piece.
    if (nSel < 0 || !BuildPiece(piece))
        return;
    m_pieceList.DeleteString(static_cast<UINT>(nSel));
    if (nSel >= m_pieceList.GetCount())
        m_pieceList.AddString(piece);
    else
        m_pieceList.InsertString(nSel, piece);
    m_pieceList.SetCurSel(nSel);
}

void CTextPropDialog::OnDeletePiece()
{
    if (m_pieceList.GetCount() == 0)
        return;
    const int nSel = m_pieceList.GetCurSel();
    if (nSel >= 0)
        m_pieceList.DeleteString(static_cast<UINT>(nSel));
    m_pieceList.SetCurSel(0);
}

void CTextPropDialog::OnSelchangeFormatList()
{
    const int nSel = m_formatList.GetCurSel();
    if (int* pSlot = PictureSlot(m_nPieceKind); pSlot && nSel >= 0)
        *pSlot = nSel;
}

void CTextPropDialog::OnSelchangeItemList()
{
    if (m_nPieceKind == kindDataField || m_nPieceKind == kindInformation)
        ShowFormatForItem(m_nPieceKind);
}

void CTextPropDialog::OnSelchangePieceList()
{
    SyncControlsToPiece();
}

void CTextPropDialog::OnDirectInput()
{
    SelectKind(kindDirect, SelectedPiece());
}

void CTextPropDialog::OnDataField()
{
    SelectKind(kindDataField, SelectedPiece());
}

void CTextPropDialog::OnNumbering()
{
    SelectKind(kindNumbering, SelectedPiece());
}

void CTextPropDialog::OnDate()
{
    SelectKind(kindDate, SelectedPiece());
}

void CTextPropDialog::OnTime()
{
    SelectKind(kindTime, SelectedPiece());
}

void CTextPropDialog::OnCurrentPage()
{
    SelectKind(kindPage, SelectedPiece());
}

void CTextPropDialog::OnAllPages()
{
    SelectKind(kindPageTotal, SelectedPiece());
}

void CTextPropDialog::OnRuledLine()
{
    m_bRuledLine = !m_bRuledLine;
    CheckDlgButton(IDC_TP_RULED_LINE, m_bRuledLine ? BST_CHECKED : BST_UNCHECKED);
}

void CTextPropDialog::OnShading()
{
    m_bShading = !m_bShading;
    CheckDlgButton(IDC_TP_SHADING, m_bShading ? BST_CHECKED : BST_UNCHECKED);
}

void CTextPropDialog::OnOK()
{
    std::vector<CString> pieces;
    for (int i = 0; i < m_pieceList.GetCount(); ++i) {
        CString piece;
        m_pieceList.GetText(i, piece);
        pieces.push_back(piece);
    }
    m_astrTargetTexts.SetSize(m_nTargetCount);
    m_strText = TextPieces::JoinForTarget(pieces, 0, DataFieldOpening());
    m_astrTargetTexts[0] = CString();
    for (int i = 1; i < m_nTargetCount; ++i)
        m_astrTargetTexts[i] = TextPieces::JoinForTarget(pieces, i, DataFieldOpening());
    EndDialog(IDOK);
}
