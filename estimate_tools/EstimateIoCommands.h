// The estimate view's import and export commands: reading an estimate made with another
// form (他形式ﾌｧｲﾙ読込), the CSV output and input, and the exports of the two outside
// packages (".M2K", ".M2N"). The view hands each command over by its id through the shell
// services; the registration of the estimate tools installs this function there.
#pragma once

#include "platform/base/Types.h"

class CView;

void RunEstimateIoCommand(CView* pView, UINT nID);
