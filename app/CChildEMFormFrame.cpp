#include "app/CChildEMFormFrame.h"

#include "app/ChildFrameSupport.h"

#include <utility>

IMPLEMENT_DYNCREATE(CChildEMFormFrame, CChildFormFrame)

namespace {

std::function<void(CDocument*, CWnd*)>& ImportSheet()
{
    static std::function<void(CDocument*, CWnd*)> s_runImportSheet;
    return s_runImportSheet;
}

} // namespace

CChildEMFormFrame::CChildEMFormFrame() = default;

CChildEMFormFrame::~CChildEMFormFrame() = default;

void CChildEMFormFrame::SetImportSheet(std::function<void(CDocument* pDoc, CWnd* pParent)> runImportSheet)
{
    ImportSheet() = std::move(runImportSheet);
}

void CChildEMFormFrame::RunImportSheet()
{
    RunImportSheetOrSay(ImportSheet(), GetActiveDocument(), this);
}
