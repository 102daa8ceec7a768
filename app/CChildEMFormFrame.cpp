#include "app/CChildEMFormFrame.h"

#include "app/CShellServices.h"
#include "app/ChildFrameSupport.h"

IMPLEMENT_DYNCREATE(CChildEMFormFrame, CChildFormFrame)

CChildEMFormFrame::CChildEMFormFrame() = default;

CChildEMFormFrame::~CChildEMFormFrame() = default;

void CChildEMFormFrame::RunImportSheet()
{
    RunImportSheetOrSay(CShellServices::Get().runEstimateFormImportSheet, GetActiveDocument(), this);
}
