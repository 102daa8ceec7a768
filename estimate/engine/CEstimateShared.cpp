#include "estimate/engine/CEstimateShared.h"

bool CEstimateShared::s_bPrintCopy = false;
int CEstimateShared::s_nCopyMode = 0;
bool CEstimateShared::s_bPaintPass = false;
CString CEstimateShared::s_strTypedChars;
CPoint CEstimateShared::s_ptLastTreePress;
int CEstimateShared::s_nFindLength = 0;
int CEstimateShared::s_nFindPosition = -1;
int CEstimateShared::s_nSortColumn = 0;
CString CEstimateShared::s_strRateFormula;
