// The converter of outside estimate data: the TP5000 estimate data (".MVL") and the RX3000
// sales and detailed estimate data (".RXA", ".RXB"), mapped onto the estimate's columns by
// the converter-information files. Opening such a file starts a new estimate and hands the
// file over here (CMorvelEMDoc::OnOpenDocument).
//
// The converter is not part of this version of the program yet: opening such a file says
// so and fails, so that no empty estimate appears under the file's name.
#include "estimate/CMorvelEMDoc.h"

#include "platform/base/MessageBox.h"

bool CMorvelEMDoc::ImportConvertedFile(LPCTSTR lpszPathName, int nKind)
{
    (void)lpszPathName;
    (void)nKind;
    AfxMessageBox("外部積算ﾃﾞｰﾀの読み込みは、このﾊﾞｰｼﾞｮﾝではまだ使えません。"_sj, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
