#include "app/CChildPMFormFrame.h"

#include "app/CShellServices.h"
#include "app/ChildFrameSupport.h"

IMPLEMENT_DYNCREATE(CChildPMFormFrame, CChildFormFrame)

CChildPMFormFrame::CChildPMFormFrame() = default;

CChildPMFormFrame::~CChildPMFormFrame() = default;

void CChildPMFormFrame::RunImportSheet()
{
    RunImportSheetOrSay(CShellServices::Get().runPartsFormImportSheet, GetActiveDocument(), this);
}
