#include "app/CMorvelDocTemplate.h"

#include "platform/base/CString.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/frames/CMDIChildWnd.h"

IMPLEMENT_DYNAMIC(CMorvelDocTemplate, CMultiDocTemplate)

CMorvelDocTemplate::CMorvelDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CMultiDocTemplate(nIDResource, pDocClass,
                        pFrameClass != nullptr ? pFrameClass : RUNTIME_CLASS(CMDIChildWnd), pViewClass)
{
}

CMorvelDocTemplate::~CMorvelDocTemplate() = default;

CDocument* CMorvelDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    if (!IsAvailable()) {
        AfxMessageBox(lpszPathName != nullptr ? "この形式のﾌｧｲﾙはまだ開けません。"_sj
                                              : "この形式のﾌｧｲﾙはまだ作成できません。"_sj,
                      MB_OK | MB_ICONINFORMATION);
        return nullptr;
    }
    return CMultiDocTemplate::OpenDocumentFile(lpszPathName, bMakeVisible);
}

CDocument* CMorvelDocTemplate::CreateNewDocument()
{
    if (!IsAvailable())
        return nullptr;
    return CMultiDocTemplate::CreateNewDocument();
}
