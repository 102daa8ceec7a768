#include "estimate/CEstimateShared.h"

bool CEstimateShared::s_bPrintCopy = false;
int CEstimateShared::s_nCopyMode = 0;
bool CEstimateShared::s_bPaintPass = false;
CString CEstimateShared::s_strTypedChars;
CPoint CEstimateShared::s_ptLastTreePress;
