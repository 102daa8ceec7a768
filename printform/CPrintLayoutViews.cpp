#include "printform/CPrintLayoutViews.h"

#include "drawing/CDrawTool.h"
#include "platform/ui/core/CCmdUI.h"
#include "printform/TextPropRunner.h"
#include "resources/ChildFrameIds.h"

IMPLEMENT_DYNCREATE(CPrintEMFormView, CPrintFormView)
IMPLEMENT_DYNCREATE(CPrintPMFormView, CPrintFormView)

BEGIN_MESSAGE_MAP(CPrintEMFormView, CPrintFormView)
ON_COMMAND(ID_DRAW_TEXT, OnDrawText)
ON_UPDATE_COMMAND_UI(ID_DRAW_TEXT, OnUpdateDrawText)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CPrintPMFormView, CPrintFormView)
ON_COMMAND(ID_DRAW_TEXT, OnDrawText)
ON_UPDATE_COMMAND_UI(ID_DRAW_TEXT, OnUpdateDrawText)
END_MESSAGE_MAP()

namespace {

// The text-property dialog of the layout's kind (it knows the document's forms).
void RunTextTool(CPrintFormView& view)
{
    CDrawTool::s_nCurrentShape = ShapeText;
    if (RunTextToolDialog(view.GetDocument(), view.GetPendingText()) != IDOK)
        CDrawTool::s_nCurrentShape = ShapeSelect;
}

} // namespace

void CPrintEMFormView::OnDrawText()
{
    RunTextTool(*this);
}

void CPrintPMFormView::OnDrawText()
{
    RunTextTool(*this);
}

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
