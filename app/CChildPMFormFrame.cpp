#include "app/CChildPMFormFrame.h"

#include "app/ChildFrameSupport.h"

#include <utility>

IMPLEMENT_DYNCREATE(CChildPMFormFrame, CChildFormFrame)

namespace {

std::function<void(CDocument*, CWnd*)>& ImportSheet()
{
    static std::function<void(CDocument*, CWnd*)> s_runImportSheet;
    return s_runImportSheet;
}

} // namespace

CChildPMFormFrame::CChildPMFormFrame() = default;

CChildPMFormFrame::~CChildPMFormFrame() = default;

void CChildPMFormFrame::SetImportSheet(std::function<void(CDocument* pDoc, CWnd* pParent)> runImportSheet)
{
    ImportSheet() = std::move(runImportSheet);
}

void CChildPMFormFrame::RunImportSheet()
{
    RunImportSheetOrSay(ImportSheet(), GetActiveDocument(), this);
}
