#include "estimate_tools/CEMDataSource.h"

#include "estimate_tools/CMorvelEMTreeView.h"
#include "estimate_tools/CSubjectDragData.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/ui/core/WinApi.h"

IMPLEMENT_DYNAMIC(CEMDataSource, COleDataSource)

void CEMDataSource::SetSubject(ERowKind nKind, int nFirstRow, CMorvelEMView* pView)
{
    m_nKind = nKind;
    m_nFirstRow = nFirstRow;
    m_pView = pView;
}

void CEMDataSource::Reset()
{
    Empty();
    m_nKind = kindEmpty;
    m_nFirstRow = -1;
    m_pView = nullptr;
}

DROPEFFECT CEMDataSource::DoDragDrop(DWORD dwEffects)
{
    COleDataSource::DoDragDrop(dwEffects);
    return GetKeyState(VK_SHIFT) < 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

BOOL CEMDataSource::OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile)
{
    if (lpFormatEtc == nullptr || pFile == nullptr ||
        lpFormatEtc->cfFormat != CMorvelEMTreeView::GetClipboardFormat() || m_pView == nullptr)
        return FALSE;
    try {
        CArchive ar(pFile, CArchive::store, CSubjectDragData::BUFFER_SIZE);
        CSubjectDragData::Write(ar, *m_pView, m_nKind, m_nFirstRow);
        ar.Close();
    } catch (const CException&) {
        return FALSE;
    }
    return TRUE;
}
