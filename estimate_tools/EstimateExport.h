// The export text of the two outside packages (".M2K", ".M2N"; both the same format): the
// estimate's columns placed at the positions that the converter-information file
// "m2k.inf" lists by item name, each row preceded by marker lines that say what it is.
#pragma once

#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <string>
#include <string_view>
#include <vector>

class CEstimateModel;
class CEstimationFormFile;

namespace EstimateExport {

// The item names of the converter file's first line: cut at the first line end, split at
// commas (a run of commas is one separator), each name without its outer blanks and
// upper-cased.
std::vector<CString> ParseConverterItems(std::string_view data);
// The names used without a converter file: "A", "B", ... one per column of the form.
std::vector<CString> LetterItems(int nColumns);

// The marker lines of a row kind, in order ("@X" first for a non-calculated row), and
// whether the row's data line is written at all.
struct CRowMarkers {
    std::vector<const char*> markers;
    bool bWritten = false;
};
CRowMarkers GetRowMarkers(ERowKind nKind);

// The whole export text of the model's edit page, whichever page a window shows, the
// columns placed by the codes of the estimation form: lines ended by CR LF.
std::string WriteExport(const CEstimateModel& model, const CEstimationFormFile& form,
                        const std::vector<CString>& items);

} // namespace EstimateExport
