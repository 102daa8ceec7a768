#include "printform/CPrintLayoutViews.h"

IMPLEMENT_DYNCREATE(CPrintEMFormView, CPrintFormView)
IMPLEMENT_DYNCREATE(CPrintPMFormView, CPrintFormView)

CPrintEMFormView::CPrintEMFormView() = default;
CPrintEMFormView::~CPrintEMFormView() = default;

void CPrintEMFormView::OnInitialUpdate()
{
    CPrintFormView::OnInitialUpdate();
}

void CPrintEMFormView::OnDraw(CDC* pDC)
{
    CPrintFormView::OnDraw(pDC);
}

CPrintPMFormView::CPrintPMFormView() = default;
CPrintPMFormView::~CPrintPMFormView() = default;

void CPrintPMFormView::OnInitialUpdate()
{
    CPrintFormView::OnInitialUpdate();
}

void CPrintPMFormView::OnDraw(CDC* pDC)
{
    CPrintFormView::OnDraw(pDC);
}
