// The estimate view's import and export commands and the small text operations they
// share. The commands' work (file dialogs, the mapping and column dialogs, reading and
// writing) belongs to the estimate tools, which install it in the shell services while
// the program starts; the view hands each command over with its id.
#include "app/CShellServices.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

#include <string>
#include <utility>

namespace {

void RunIoCommand(CMorvelEMView* pView, UINT nID)
{
    if (!CShellServices::RunEstimateIoCommand(pView, nID))
        AfxMessageBox("この機能は、このﾊﾞｰｼﾞｮﾝではまだ使えません。"_sj, MB_OK);
}

} // namespace

void CMorvelEMView::OnReadOtherForm()
{
    RunIoCommand(this, ID_READ_OTHER_FORM);
}

void CMorvelEMView::OnUpdateReadOtherForm(CCmdUI* pCmdUI)
{
    // Rows go in at the cursor: no column and no block of several cells may be selected.
    const int nMode = EstimateIo::GetSelectMode(*this);
    const bool bSelectionFits =
        nMode == 0 || nMode == 1 || (nMode == 20 && EstimateIo::IsSingleCellBlock(*this));
    pCmdUI->Enable(EstimateIo::IsEditPageShown(*this) && bSelectionFits);
}

void CMorvelEMView::OnTextOutput()
{
    RunIoCommand(this, ID_TEXT_OUTPUT);
}

void CMorvelEMView::OnTextInput()
{
    RunIoCommand(this, ID_TEXT_INPUT);
}

void CMorvelEMView::ExportM2K()
{
    RunIoCommand(this, ID_EXPORT_M2K);
}

void CMorvelEMView::ExportM2N()
{
    RunIoCommand(this, ID_EXPORT_M2N);
}

CString CMorvelEMView::GetDefaultFileName() const
{
    CString title = GetDocument() != nullptr ? GetDocument()->GetTitle() : CString();
    title.MakeUpper();
    for (const char* ext : {".MMD", ".MVL", ".RXA"}) {
        const int n = title.Find(ext);
        if (n >= 0)
            return title.Left(n);
    }
    return title;
}

int CMorvelEMView::FindInfItem(const char* lpszName, const std::vector<CString>& items)
{
    const CString name(lpszName != nullptr ? lpszName : "");
    for (size_t i = 0; i < items.size(); ++i) {
        CString item = items[i];
        item.Trim(' ');
        item.MakeUpper();
        if (item == name)
            return static_cast<int>(i);
    }
    return -1;
}

bool CMorvelEMView::IsRowEmpty(int nRow) const
{
    return GetModel().IsEditRowEmpty(nRow, GetEstimationForm().GetCount());
}
