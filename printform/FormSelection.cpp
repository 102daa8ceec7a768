#include "printform/FormSelection.h"

#include "platform/base/MessageBox.h"
#include "platform/base/Types.h"

// The form-selection sheets need the property sheets of the window layer, which are not
// there yet: until then a new layout cannot choose its forms, and the user is told so.
int RunEMFormSelection(const CString& strCaption, CString& strEstimation, CString& strInformation)
{
    (void)strCaption;
    (void)strEstimation;
    (void)strInformation;
    AfxMessageBox("この形式のﾌｧｲﾙはまだ作成できません。"_sj, MB_ICONEXCLAMATION);
    return IDCANCEL;
}

int RunPMFormSelection(const CString& strCaption, CString& strParts)
{
    (void)strCaption;
    (void)strParts;
    AfxMessageBox("この形式のﾌｧｲﾙはまだ作成できません。"_sj, MB_ICONEXCLAMATION);
    return IDCANCEL;
}
