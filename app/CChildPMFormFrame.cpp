#include "app/CChildPMFormFrame.h"

#include "app/CShellServices.h"

IMPLEMENT_DYNCREATE(CChildPMFormFrame, CChildFormFrame)

CChildPMFormFrame::CChildPMFormFrame() = default;

CChildPMFormFrame::~CChildPMFormFrame() = default;

void CChildPMFormFrame::RunImportSheet()
{
    CShellServices::RunPartsFormImportSheet(GetActiveDocument(), this);
}
