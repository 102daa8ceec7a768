// The estimate view's commands that ask through a dialog first: 32826 "ﾍﾟｰｼﾞ指定",
// 32828 "ﾍﾟｰｼﾞ削除" and 32829 "ﾍﾟｰｼﾞ挿入". The view hands each over by id through the shell
// services; the registration of the estimate tools installs this function there.
#pragma once

#include "platform/base/Types.h"

class CView;

void RunEstimateDialogCommand(CView* pView, UINT nID);
