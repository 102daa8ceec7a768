#include "estimate/CEstimateShared.h"

BOOL CEstimateShared::s_bPrintCopy = FALSE;
int CEstimateShared::s_nCopyMode = 0;
BOOL CEstimateShared::s_bPaintPass = FALSE;
