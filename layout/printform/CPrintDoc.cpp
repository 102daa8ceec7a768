#include "layout/printform/CPrintDoc.h"

#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "app/MasterBackup.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/StoredForm.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/TextPropRunner.h"
#include "platform/base/CArchive.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CColorDialog.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/PrintFormIds.h"

#include <climits>
#include <string_view>

IMPLEMENT_DYNCREATE(CPrintDoc, CDrawingDoc)

BEGIN_MESSAGE_MAP(CPrintDoc, COleDocument)
ON_COMMAND(ID_PAGE_COLOR, OnPageColor)
END_MESSAGE_MAP()

CPrintDoc::CPrintDoc()
{
    EnableCompoundFile(TRUE);
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent())
        m_paperColor = pSettings->m_clrPaper;
    else
        m_paperColor = RGB(255, 255, 255);
    ComputePaperSize();
    if (auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp()))
        m_rectMargins = pApp->GetPrinterMargins();
    else
        AfxMessageBox("ﾌﾟﾘﾝﾀの情報を取得できません。"_sj);
    m_nZoom = 100;
}

CPrintDoc::~CPrintDoc()
{
    DeleteObjects();
    ClearFieldLinks();
    m_astrFieldMap.RemoveAll();
}

void CPrintDoc::DeleteObjects()
{
    while (!m_objects.IsEmpty()) {
        CDrawObj* pObj = m_objects.RemoveHead();
        // The container releases the items itself; the object only lets go of its own.
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(pObj)) {
            if (pOle->m_pClientItem && pOle->m_pClientItem->m_pDrawObj == pOle)
                pOle->m_pClientItem->m_pDrawObj = nullptr;
            pOle->m_bOwnsItem = FALSE;
            pOle->m_pClientItem = nullptr;
        }
        delete pObj;
    }
}

void CPrintDoc::DeleteContents()
{
    DeleteObjects();
    ClearFieldLinks();
    COleDocument::DeleteContents();
}

void CPrintDoc::ComputePaperSize()
{
    CSize paper(0, 0);
    CWinApp* pApp = AfxGetApp();
    CDC dc;
    if (pApp == nullptr || !pApp->CreatePrinterDC(dc) || !ComputePaperSize(dc, paper))
        AfxMessageBox("ﾌﾟﾘﾝﾀの情報を取得できません。"_sj);
    m_sizePaper = paper;
    m_sizeExtent = CSize(paper.cx + 40, paper.cy + 40);
}

BOOL CPrintDoc::ComputePaperSize(CDC& dc, CSize& sizePaper)
{
    const int nPixelsX = dc.GetDeviceCaps(LOGPIXELSX);
    const int nPixelsY = dc.GetDeviceCaps(LOGPIXELSY);
    if (nPixelsX <= 0 || nPixelsY <= 0)
        return FALSE;
    // Rounded half up: the integer part, plus 1 when the fraction is at least 0.5.
    auto hundredths = [](int nPixels, int nPerInch) {
        const double v = static_cast<double>(nPixels) / nPerInch * 100.0;
        const int whole = static_cast<int>(v);
        return v - whole >= 0.5 ? whole + 1 : whole;
    };
    sizePaper = CSize(hundredths(dc.GetDeviceCaps(PHYSICALWIDTH), nPixelsX),
                      hundredths(dc.GetDeviceCaps(PHYSICALHEIGHT), nPixelsY));
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Objects
// ---------------------------------------------------------------------------------------
void CPrintDoc::Add(CDrawObj* pObj)
{
    m_objects.AddTail(pObj);
    pObj->m_pDocument = this;
    SetModifiedFlag(TRUE);
}

void CPrintDoc::Remove(CDrawObj* pObj)
{
    POSITION pos = m_objects.Find(pObj);
    if (pos)
        m_objects.RemoveAt(pos);
    SetModifiedFlag(TRUE);
}

CDrawObj* CPrintDoc::ObjectAt(const CPoint& point)
{
    const CRect rect(point.x, point.y, point.x + 1, point.y + 1);
    POSITION pos = m_objects.GetTailPosition();
    while (pos) {
        CDrawObj* pObj = m_objects.GetPrev(pos);
        if (pObj->Intersects(rect))
            return pObj;
    }
    return nullptr;
}

void CPrintDoc::Draw(CDC* pDC, CPrintFormView* pView)
{
    for (POSITION pos = m_objects.GetHeadPosition(); pos != nullptr;) {
        CDrawObj* pObj = m_objects.GetNext(pos);
        const bool bSelectedHere = pView && pView->IsActive() && pView->IsSelected(pObj);
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj); pTable && !bSelectedHere)
            pTable->ClearCellSelection();
        pObj->Draw(pDC, pView);
        if (bSelectedHere && !pDC->IsPrinting())
            pObj->DrawTracker(pDC, 1, pView);
    }
}

BOOL CPrintDoc::IsItemSaved(const COleClientItem* pItem) const
{
    for (POSITION pos = m_objects.GetHeadPosition(); pos;) {
        auto* pOle = dynamic_cast<CDrawOleObj*>(m_objects.GetNext(pos));
        if (pOle && pOle->m_pClientItem == pItem)
            return TRUE;
    }
    return FALSE;
}

CDrawOleObj* CPrintDoc::RestoreOleObject(CDrawOleObj* pObj)
{
    if (pObj == nullptr)
        return nullptr;
    for (POSITION pos = m_objects.GetHeadPosition(); pos;) {
        auto* pOle = dynamic_cast<CDrawOleObj*>(m_objects.GetNext(pos));
        if (pOle && pOle->m_pClientItem == pObj->m_pClientItem) {
            pOle->m_position = pObj->m_position;
            pOle->m_nLineStyle = pObj->m_nLineStyle;
            pOle->m_lineColor = pObj->m_lineColor;
            return pOle;
        }
    }
    return nullptr;
}

void CPrintDoc::ClearFieldLinks()
{
    for (INT_PTR i = 0; i < m_fieldRefs.GetSize(); ++i)
        delete m_fieldRefs.GetAt(i);
    m_fieldRefs.RemoveAll();
}

void CPrintDoc::RefreshTargetDevice()
{
    m_currentTargetDevice = m_targetDevice;
}

int CPrintDoc::EditTextProperties(std::vector<CString>& texts, CTextAttributes& attributes)
{
    return RunTextPropertyDialog(this, texts, attributes);
}

void CPrintDoc::OnPageColor()
{
    CColorDialog dlg(m_paperColor);
    if (dlg.DoModal() != IDOK || dlg.GetColor() == m_paperColor)
        return;
    m_paperColor = dlg.GetColor();
    SetModifiedFlag(TRUE);
    UpdateAllViews(nullptr);
}

// ---------------------------------------------------------------------------------------
// The layout body
// ---------------------------------------------------------------------------------------
void CPrintDoc::Serialize(CArchive& ar)
{
    using namespace StoredForm;
    if (ar.IsStoring()) {
        StoreWord(ar, m_nZoom);
        ar << static_cast<DWORD>(m_paperColor);
        m_objects.Serialize(ar);
        if (m_fieldRefs.GetSize() > 0xFFFF)
            throw CArchiveException(CArchiveException::genericException);
        ar << static_cast<WORD>(m_fieldRefs.GetSize());
        for (INT_PTR i = 0; i < m_fieldRefs.GetSize(); ++i) {
            const CFieldRefRecord* pRef = GetFieldRef(i);
            ar << pRef->m_strKey;
            StoreWord(ar, pRef->m_nValue);
        }
        COleDocument::Serialize(ar);
        return;
    }

    m_nZoom = LoadWord(ar);
    // A zoom of 0 would divide every coordinate by zero in the editor.
    if (m_nZoom == 0)
        m_nZoom = 100;
    DWORD dw = 0;
    ar >> dw;
    m_paperColor = dw;

    // The objects are read into a list of our own first: only drawing objects, each once,
    // join the document (a damaged file could name another class, or one object twice).
    CObList loaded;
    try {
        const DWORD nCount = ar.ReadCount();
        for (DWORD i = 0; i < nCount; ++i) {
            CObject* pOb = ar.ReadObject(RUNTIME_CLASS(CDrawObj));
            if (pOb == nullptr || loaded.Find(pOb) != nullptr)
                throw CArchiveException(CArchiveException::badIndex);
            loaded.AddTail(pOb);
        }
    } catch (...) {
        while (!loaded.IsEmpty())
            delete loaded.RemoveHead();
        throw;
    }
    while (!loaded.IsEmpty()) {
        auto* pObj = static_cast<CDrawObj*>(loaded.RemoveHead());
        pObj->m_pDocument = this;
        m_objects.AddTail(pObj);
    }

    WORD nRefs = 0;
    ar >> nRefs;
    ClearFieldLinks();
    for (WORD i = 0; i < nRefs; ++i) {
        auto* pRef = new CFieldRefRecord;
        m_fieldRefs.Add(pRef);
        ar >> pRef->m_strKey;
        pRef->m_nValue = LoadWord(ar);
    }
    COleDocument::Serialize(ar);
}

namespace {

// The texts whose tokens feed the field references: text objects and every table cell,
// head to tail.
template <class F>
void ForEachText(CDrawObjList& objects, F&& visit)
{
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        CDrawObj* pObj = objects.GetNext(pos);
        if (auto* pText = dynamic_cast<CDrawText*>(pObj)) {
            visit(pText->m_strText);
        } else if (auto* pTable = dynamic_cast<CDrawTable*>(pObj)) {
            for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i)
                visit(pTable->GetCell(i)->m_strText);
        }
    }
}

// The decimal number at the start of a text: blanks skipped, an optional sign, the digits
// up to the first other character; 0 without digits. Held within int.
int LeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        bNegative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    return static_cast<int>(bNegative ? -value : value);
}

} // namespace

void CPrintDoc::RebuildFieldRefsFor(const CString& strPrefix)
{
    ClearFieldLinks();
    const std::string_view prefix(strPrefix.c_str(), static_cast<size_t>(strPrefix.GetLength()));
    ForEachText(m_objects, [&](const CString& strText) {
        const std::string_view text(strText.c_str(), static_cast<size_t>(strText.GetLength()));
        // "$" never occurs inside a double-byte character, so the bytes can be scanned.
        size_t open = text.find('$');
        while (open != std::string_view::npos) {
            const size_t close = text.find('$', open + 1);
            if (close == std::string_view::npos)
                break;
            const std::string_view piece = text.substr(open, close - open + 1);
            open = text.find('$', close + 1);
            if (piece.size() < prefix.size() + 2 || piece.substr(0, prefix.size()) != prefix ||
                piece.find(")$") != piece.size() - 2)
                continue;
            const std::string_view args = piece.substr(prefix.size(), piece.size() - prefix.size() - 2);
            const size_t comma1 = args.find(',');
            const size_t comma2 = comma1 == std::string_view::npos ? comma1 : args.find(',', comma1 + 1);
            std::string_view key;
            int nValue = 0;
            if (comma2 != std::string_view::npos) {
                key = args.substr(0, comma2);
                nValue = LeadingNumber(args.substr(comma2 + 1));
            } else if (comma1 != std::string_view::npos) {
                key = args.substr(0, comma1);
            }
            const CString strKey{std::string(key)};
            CFieldRefRecord* pFound = nullptr;
            for (INT_PTR i = 0; i < m_fieldRefs.GetSize() && pFound == nullptr; ++i) {
                if (GetFieldRef(i)->m_strKey == strKey)
                    pFound = GetFieldRef(i);
            }
            if (pFound) {
                if (nValue > pFound->m_nValue)
                    pFound->m_nValue = nValue;
            } else {
                auto* pRef = new CFieldRefRecord;
                pRef->m_strKey = strKey;
                pRef->m_nValue = nValue;
                m_fieldRefs.Add(pRef);
            }
        }
    });
}

// ---------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------
CString GetLayoutBackupPath(const CString& strPath, const char* lpszBackupExt)
{
    const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    const int nDot = strPath.ReverseFind('.');
    if (nDot > nSlash)
        return strPath.Left(nDot) + lpszBackupExt;
    return strPath + lpszBackupExt;
}

void CPrintDoc::MakeBackupFor(LPCTSTR lpszPathName, const char* lpszBackupExt)
{
    const int nBackupFile = CMorvelSettings::CurrentProfileInt("Input Setting", "Backup File", 0);
    // A failed copy (no file yet on the first save) is of no concern.
    MakeBackupCopy(CString(lpszPathName), GetLayoutBackupPath(CString(lpszPathName), lpszBackupExt),
                   nBackupFile);
}

void CPrintDoc::RemoveLeftBackupTemporaries(LPCTSTR lpszPathName, const char* lpszBackupExt)
{
    RemoveLeftTemporaries(GetLayoutBackupPath(CString(lpszPathName), lpszBackupExt));
}

void CPrintDoc::EnterWorkFolder()
{
    CMorvelSettings::SetWorkFolderAsCurrent();
}
