// Labels of the items that the item mapping dialogs pair up. Source item k is labelled
// with two characters: " A" to " Z" for 0 to 25, then "AA" to "AZ" for 26 to 51, "BA"
// for 52, and so on up to "CV" for 99. The mapping dialogs hand back one label per item
// of the current form (empty for none) and the callers turn them into source indexes.
#pragma once

#include "platform/base/CString.h"

#include <vector>

namespace ItemMapping {

// The label of source item k (0 <= k < 702); empty otherwise.
CString GetItemLabel(int nItem);
// The source index a label names: " A".." Z" 0..25, two capitals (first + 1) x 26 +
// second; -1 for any other text (empty included).
int DecodeItemLabel(const char* lpszLabel);
// Every label of a mapping result decoded; an index at or beyond nSourceCount maps
// nothing (-1), since the source has no such item.
std::vector<int> DecodeMapping(const std::vector<CString>& labels, int nSourceCount);

} // namespace ItemMapping
