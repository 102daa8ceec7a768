#include "platform/ui/core/CCmdTarget.h"

#include "platform/ui/core/CCmdUI.h"

#include <QApplication>
#include <QCursor>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

const AFX_MSGMAP_ENTRY g_cmdTargetEntries[] = {{0, 0, 0, 0, nullptr, nullptr}};
const AFX_MSGMAP g_cmdTargetMap = {nullptr, &g_cmdTargetEntries[0]};

int g_nWaitCursorCount = 0;

} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    return &g_cmdTargetMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntry, UINT nMsg, UINT nCode,
                                                     UINT nID)
{
    for (; lpEntry && lpEntry->pfn; ++lpEntry) {
        const UINT nEntryMsg = lpEntry->pnRegistered ? *lpEntry->pnRegistered : lpEntry->nMessage;
        if (lpEntry->pnRegistered && nEntryMsg == 0)
            continue; // a registered message not registered yet
        if (nEntryMsg == nMsg && lpEntry->nCode == nCode && nID >= lpEntry->nID && nID <= lpEntry->nLastID)
            return lpEntry;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMsg = 0;
    UINT nEntryCode = static_cast<UINT>(nCode);
    if (nCode != CN_UPDATE_COMMAND_UI) {
        nMsg = HIWORD(static_cast<DWORD>(nCode));
        nEntryCode = LOWORD(static_cast<DWORD>(nCode));
    }
    if (nMsg == 0)
        nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        if (const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap->lpEntries, nMsg, nEntryCode, nID))
            return CallCommandEntry(*pEntry, nMsg, nID, nEntryCode, pExtra, pHandlerInfo);
        if (pMap->pfnGetBaseMap == nullptr)
            break;
    }
    return FALSE;
}

BOOL CCmdTarget::CallCommandEntry(const AFX_MSGMAP_ENTRY& entry, UINT nMsg, UINT nID, UINT nEntryCode,
                                  void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pfn = entry.pfn;
        return TRUE;
    }
    AFX_MSGCALL call;
    call.nMsg = nMsg;
    call.nID = nID;
    call.nCode = static_cast<int>(nEntryCode);
    call.pExtra = pExtra;
    if (nEntryCode == static_cast<UINT>(CN_UPDATE_COMMAND_UI)) {
        auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = FALSE;
        entry.pfn(this, call);
        const BOOL bResult = !pCmdUI->m_bContinueRouting;
        pCmdUI->m_bContinueRouting = FALSE;
        return bResult;
    }
    entry.pfn(this, call);
    return call.bHandled;
}

void CCmdTarget::BeginWaitCursor()
{
    if (qApp)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++g_nWaitCursorCount;
}

void CCmdTarget::EndWaitCursor()
{
    if (g_nWaitCursorCount <= 0)
        return;
    --g_nWaitCursorCount;
    if (qApp)
        QApplication::restoreOverrideCursor();
}

void CCmdTarget::RestoreWaitCursor()
{
    if (g_nWaitCursorCount > 0 && qApp) {
        QApplication::restoreOverrideCursor();
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
}
