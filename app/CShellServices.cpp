#include "app/CShellServices.h"

#include "platform/base/CString.h"
#include "platform/base/MessageBox.h"

namespace {

int NotAvailable(const CString& message)
{
    AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
    return IDCANCEL;
}

} // namespace

CShellServices& CShellServices::Get()
{
    static CShellServices s_services;
    return s_services;
}

int CShellServices::RunIntroductionPage(const char* lpszPageKey)
{
    const CShellServices& services = Get();
    if (!services.runIntroductionPage)
        return NotAvailable("導入処理の画面はまだ用意されていません。"_sj);
    return services.runIntroductionPage(lpszPageKey);
}

int CShellServices::RunEnvironmentPathPage()
{
    const CShellServices& services = Get();
    if (!services.runEnvironmentPathPage)
        return NotAvailable("環境設定の画面はまだ用意されていません。"_sj);
    return services.runEnvironmentPathPage();
}

int CShellServices::RunIntroductionSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize)
{
    const CShellServices& services = Get();
    if (!services.runIntroductionSheet)
        return NotAvailable("導入処理の画面はまだ用意されていません。"_sj);
    return services.runIntroductionSheet(pParent, lpszFaceName, nPointSize);
}

int CShellServices::RunEnvironmentSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize)
{
    const CShellServices& services = Get();
    if (!services.runEnvironmentSheet)
        return NotAvailable("環境設定の画面はまだ用意されていません。"_sj);
    return services.runEnvironmentSheet(pParent, lpszFaceName, nPointSize);
}

int CShellServices::RunViewEnvironmentSheet(CWnd* pParent, int nDocKind)
{
    const CShellServices& services = Get();
    if (!services.runViewEnvironmentSheet)
        return NotAvailable("環境設定の画面はまだ用意されていません。"_sj);
    return services.runViewEnvironmentSheet(pParent, nDocKind);
}

void CShellServices::RunDosConversion(CWnd* pMainFrame)
{
    const CShellServices& services = Get();
    if (!services.runDosConversion) {
        NotAvailable("DOS版ﾃﾞｰﾀの変換はまだ用意されていません。"_sj);
        return;
    }
    services.runDosConversion(pMainFrame);
}
