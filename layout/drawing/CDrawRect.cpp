#include "layout/drawing/CDrawRect.h"

#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/StoredForm.h"
#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(CDrawRect, CDrawObj, 0)

CDrawRect::CDrawRect() = default;

CDrawRect::CDrawRect(const CRect& position) : CDrawObj(position), m_roundness(16, 16) {}

CDrawRect::~CDrawRect() = default;

void CDrawRect::Serialize(CArchive& ar)
{
    CDrawObj::Serialize(ar);
    if (ar.IsStoring()) {
        StoredForm::StoreWord(ar, m_nShape);
        ar << m_roundness.x << m_roundness.y;
        return;
    }
    m_nShape = StoredForm::LoadWord(ar);
    ar >> m_roundness.x >> m_roundness.y;
}

int CDrawRect::GetHandleCount()
{
    return m_nShape == line ? 2 : CDrawObj::GetHandleCount();
}

CPoint CDrawRect::GetHandle(int nHandle)
{
    if (m_nShape == line && nHandle == 2)
        nHandle = 5;
    return CDrawObj::GetHandle(nHandle);
}

HCURSOR CDrawRect::GetHandleCursor(int nHandle)
{
    if (m_nShape == line && nHandle == 2)
        nHandle = 5;
    return CDrawObj::GetHandleCursor(nHandle);
}

void CDrawRect::MoveHandleTo(int nHandle, CPoint point, IDrawingView* pView)
{
    if (m_nShape == line && nHandle == 2)
        nHandle = 5;
    CDrawObj::MoveHandleTo(nHandle, point, pView);
}

BOOL CDrawRect::Intersects(const CRect& rect)
{
    CRect own = NormalizedRect(m_position);
    if (m_nShape == line) {
        if (own.left == own.right)
            own.InflateRect(3, 0);
        if (own.top == own.bottom)
            own.InflateRect(0, 3);
    }
    return RectsOverlap(own, NormalizedRect(rect));
}

CDrawObj* CDrawRect::Clone(CDrawingDoc* pDoc)
{
    auto* pClone = new CDrawRect(m_position);
    pClone->CopyAttributesFrom(*this);
    pClone->m_nShape = m_nShape;
    pClone->m_roundness = m_roundness;
    if (pDoc)
        pDoc->Add(pClone);
    return pClone;
}

CDrawObj* CDrawRect::CloneForUndo(CDrawingDoc* pDoc)
{
    (void)pDoc;
    return Clone(nullptr);
}
