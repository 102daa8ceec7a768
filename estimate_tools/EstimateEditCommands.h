// The estimate view's editing commands that ask through a dialog of the estimate tools:
// find and replace (modeless), sort, user zoom, the fixed-rate calculation, the
// unnecessary-row search (modeless) and parts registration. Their handlers are members of
// CEstimateDialogCommands (EstimateDialogCommands.h), defined in EstimateEditCommands.cpp;
// this header gives what tests and other commands use of them.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

class CMorvelEMView;

// Parts registration without its questions: every row of nFirstRow..nLastRow of the
// estimate's edit page is appended to the parts list in lpszPath as a new row whose parts
// cells take the estimate cells named by the estimation form's "B" codes ("A" to "I" for
// parts cells 0 to 8). The list is read whole and checked first: a file that is not a
// parts list, is damaged, or cannot be written back is reported and left as it was
// (false). Everything else in the file is written back as it was read; no backup is made.
bool AppendRowsToPartsFile(const CMorvelEMView& view, int nFirstRow, int nLastRow, const char* lpszPath);
