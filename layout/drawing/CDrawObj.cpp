#include "layout/drawing/CDrawObj.h"

#include "app/CMorvelSettings.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/drawing/StoredForm.h"
#include "platform/base/CArchive.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/dialogs/CPropertySheet.h"

#include <algorithm>

IMPLEMENT_SERIAL(CDrawObj, CObject, 0)

BOOL CDrawingShared::s_bShowObjectFrames = TRUE;

CRect NormalizedRect(const CRect& rect)
{
    CRect r = rect;
    r.NormalizeRect();
    return r;
}

BOOL RectsOverlap(const CRect& a, const CRect& b)
{
    CRect meet;
    return meet.IntersectRect(&a, &b);
}

CDrawObj::CDrawObj() = default;

CDrawObj::CDrawObj(const CRect& position) : m_position(position)
{
    // The defaults of new objects are the print settings the user chose; without settings
    // (a tool run on its own) the settings' own defaults.
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent()) {
        m_lineColor = pSettings->m_clrBorder;
        m_nLineStyle = pSettings->m_nBorderStyle;
        m_nFillPattern = pSettings->m_nFillMode;
        m_foreColor = pSettings->m_clrFill;
        m_backColor = pSettings->m_clrFillBackground;
        m_bFill = pSettings->m_nIsFill;
    } else {
        m_nLineStyle = 1;
        m_backColor = RGB(255, 255, 255);
        m_bFill = TRUE;
    }
}

CDrawObj::~CDrawObj() = default;

void CDrawObj::Serialize(CArchive& ar)
{
    using namespace StoredForm;
    if (ar.IsStoring()) {
        ar << m_position.left << m_position.top << m_position.right << m_position.bottom;
        StoreWord(ar, m_nLineStyle);
        ar << static_cast<DWORD>(m_lineColor);
        StoreWord(ar, m_nFillPattern);
        ar << static_cast<DWORD>(m_foreColor) << static_cast<DWORD>(m_backColor);
        StoreWord(ar, m_bFill);
        return;
    }
    m_pDocument = dynamic_cast<CDrawingDoc*>(ar.m_pDocument);
    ar >> m_position.left >> m_position.top >> m_position.right >> m_position.bottom;
    m_nLineStyle = LoadWord(ar);
    DWORD dw = 0;
    ar >> dw;
    m_lineColor = dw;
    m_nFillPattern = LoadWord(ar);
    ar >> dw;
    m_foreColor = dw;
    ar >> dw;
    m_backColor = dw;
    m_bFill = LoadWord(ar);
}

void CDrawObj::Invalidate()
{
    if (m_pDocument)
        m_pDocument->UpdateAllViews(nullptr, 1, this);
}

void CDrawObj::InvalidateIn(IDrawingView* pView)
{
    // Every view of the document repaints the object's area on hint 1, the editing view
    // included.
    (void)pView;
    Invalidate();
}

void CDrawObj::MarkModified()
{
    if (m_pDocument)
        m_pDocument->SetModifiedFlag(TRUE);
}

void CDrawObj::SetHeight(IDrawingView* pView, int nHeight)
{
    InvalidateIn(pView);
    if (m_position.top >= m_position.bottom)
        m_position.bottom = m_position.top - nHeight;
    else
        m_position.top = m_position.bottom - nHeight;
    InvalidateIn(pView);
    MarkModified();
}

void CDrawObj::SetWidth(IDrawingView* pView, int nWidth)
{
    InvalidateIn(pView);
    if (m_position.left <= m_position.right)
        m_position.right = m_position.left + nWidth;
    else
        m_position.left = m_position.right + nWidth;
    InvalidateIn(pView);
    MarkModified();
}

void CDrawObj::SetShading(BOOL bFill, int nPattern, COLORREF fore, COLORREF back)
{
    m_bFill = bFill;
    m_nFillPattern = nPattern;
    m_foreColor = fore;
    m_backColor = back;
    Invalidate();
    MarkModified();
}

void CDrawObj::SetLine(COLORREF color, int nStyle)
{
    m_lineColor = color;
    m_nLineStyle = nStyle;
    Invalidate();
    MarkModified();
}

int CDrawObj::GetHandleCount()
{
    return 8;
}

CPoint CDrawObj::GetHandle(int nHandle)
{
    const CRect& r = m_position;
    const int xCenter = r.left + r.Width() / 2;
    const int yCenter = r.top + r.Height() / 2;
    switch (nHandle) {
    case 2:
        return CPoint(xCenter, r.top);
    case 3:
        return CPoint(r.right, r.top);
    case 4:
        return CPoint(r.right, yCenter);
    case 5:
        return CPoint(r.right, r.bottom);
    case 6:
        return CPoint(xCenter, r.bottom);
    case 7:
        return CPoint(r.left, r.bottom);
    case 8:
        return CPoint(r.left, yCenter);
    case 1:
    default:
        return CPoint(r.left, r.top);
    }
}

HCURSOR CDrawObj::GetHandleCursor(int nHandle)
{
    LPCTSTR id = IDC_SIZENWSE;
    switch (nHandle) {
    case 2:
    case 6:
        id = IDC_SIZENS;
        break;
    case 3:
    case 7:
        id = IDC_SIZENESW;
        break;
    case 4:
    case 8:
        id = IDC_SIZEWE;
        break;
    default:
        break;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->LoadStandardCursor(id) : nullptr;
}

void CDrawObj::MoveTo(const CRect& position, IDrawingView* pView)
{
    if (position == m_position)
        return;
    InvalidateIn(pView);
    m_position = position;
    InvalidateIn(pView);
    MarkModified();
}

BOOL CDrawObj::Intersects(const CRect& rect)
{
    return RectsOverlap(NormalizedRect(m_position), NormalizedRect(rect));
}

BOOL CDrawObj::IsWithin(const CRect& rect)
{
    const CRect own = NormalizedRect(m_position);
    CRect meet;
    const CRect other = NormalizedRect(rect);
    meet.IntersectRect(&own, &other);
    return meet == own;
}

void CDrawObj::MoveHandleTo(int nHandle, CPoint point, IDrawingView* pView)
{
    CRect position = m_position;
    switch (nHandle) {
    case 2:
        position.top = point.y;
        break;
    case 3:
        position.right = point.x;
        position.top = point.y;
        break;
    case 4:
        position.right = point.x;
        break;
    case 5:
        position.right = point.x;
        position.bottom = point.y;
        break;
    case 6:
        position.bottom = point.y;
        break;
    case 7:
        position.left = point.x;
        position.bottom = point.y;
        break;
    case 8:
        position.left = point.x;
        break;
    case 1:
    default:
        position.left = point.x;
        position.top = point.y;
        break;
    }
    MoveTo(position, pView);
}

void CDrawObj::CopyAttributesFrom(const CDrawObj& other)
{
    m_nLineStyle = other.m_nLineStyle;
    m_lineColor = other.m_lineColor;
    m_nFillPattern = other.m_nFillPattern;
    m_foreColor = other.m_foreColor;
    m_backColor = other.m_backColor;
    m_bFill = other.m_bFill;
}

CDrawObj* CDrawObj::Clone(CDrawingDoc* pDoc)
{
    auto* pClone = new CDrawObj(m_position);
    pClone->CopyAttributesFrom(*this);
    if (pDoc)
        pDoc->Add(pClone);
    return pClone;
}

CDrawObj* CDrawObj::CloneForUndo(CDrawingDoc* pDoc)
{
    (void)pDoc;
    return CDrawObj::Clone(nullptr);
}

void CDrawObj::OnOpen(IDrawingView* pView)
{
    (void)pView;
    OnEditProperties();
}

void CDrawObj::OnEditProperties()
{
    CPropertySheet sheet("Shape Properties");
    if (sheet.DoModal() != IDOK)
        return;
    Invalidate();
    MarkModified();
}

void CDrawObj::Remove()
{
    delete this;
}

void CDrawObj::FitToText(IDrawingView* pView)
{
    (void)pView;
}
