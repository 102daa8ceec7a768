#include "dosconvert/ShiftJisText.h"

#include <cstring>

CString TrimBlanks(const char* text)
{
    if (text == nullptr)
        return CString();
    // A trail byte is never 0x20, so the blanks can be found byte by byte.
    const size_t length = std::strlen(text);
    size_t first = 0;
    while (first < length && text[first] == ' ')
        ++first;
    size_t last = length;
    while (last > first && text[last - 1] == ' ')
        --last;
    return CString(text + first, static_cast<int>(last - first));
}
