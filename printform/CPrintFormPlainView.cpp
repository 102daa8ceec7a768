#include "printform/CPrintFormPlainView.h"

#include "platform/ui/gdi/CDC.h"
#include "printform/CPrintDoc.h"

IMPLEMENT_DYNCREATE(CPrintFormPlainView, CView)

CPrintFormPlainView::CPrintFormPlainView() = default;

CPrintFormPlainView::~CPrintFormPlainView() = default;

void CPrintFormPlainView::OnDraw(CDC* pDC)
{
    auto* pDoc = dynamic_cast<CPrintDoc*>(GetDocument());
    if (pDC == nullptr || pDoc == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, pDoc->m_paperColor);
}
