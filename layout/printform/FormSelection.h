// The form-selection sheets as the layout documents use them: the caption, the names to
// preselect in, the chosen names out (only after IDOK).
#pragma once

#include "platform/base/CString.h"

// The estimate sheet: estimation-form page, then information-form page.
int RunEMFormSelection(const CString& strCaption, CString& strEstimation, CString& strInformation);
// The parts sheet: the parts-form page.
int RunPMFormSelection(const CString& strCaption, CString& strParts);
