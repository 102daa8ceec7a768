#include "app/CChildEMFormFrame.h"

#include "app/CShellServices.h"

IMPLEMENT_DYNCREATE(CChildEMFormFrame, CChildFormFrame)

CChildEMFormFrame::CChildEMFormFrame() = default;

CChildEMFormFrame::~CChildEMFormFrame() = default;

void CChildEMFormFrame::RunImportSheet()
{
    CShellServices::RunEstimateFormImportSheet(GetActiveDocument(), this);
}
