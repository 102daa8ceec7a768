#include "app/ItemMapping.h"

namespace ItemMapping {

CString GetItemLabel(int nItem)
{
    if (nItem < 0 || nItem >= 27 * 26)
        return CString();
    char text[3] = {' ', static_cast<char>('A' + nItem % 26), '\0'};
    if (nItem >= 26)
        text[0] = static_cast<char>('A' + nItem / 26 - 1);
    return CString(text);
}

int DecodeItemLabel(const char* lpszLabel)
{
    if (lpszLabel == nullptr || lpszLabel[0] == '\0' || lpszLabel[1] == '\0' || lpszLabel[2] != '\0')
        return -1;
    const char first = lpszLabel[0];
    const char second = lpszLabel[1];
    if (second < 'A' || second > 'Z')
        return -1;
    if (first == ' ')
        return second - 'A';
    if (first < 'A' || first > 'Z')
        return -1;
    return (first - 'A' + 1) * 26 + (second - 'A');
}

std::vector<int> DecodeMapping(const std::vector<CString>& labels, int nSourceCount)
{
    std::vector<int> indexes;
    indexes.reserve(labels.size());
    for (const CString& label : labels) {
        const int n = DecodeItemLabel(label);
        indexes.push_back(n >= 0 && n < nSourceCount ? n : -1);
    }
    return indexes;
}

} // namespace ItemMapping
