#include "platform/base/TextLines.h"

#include "platform/base/Cp932.h"

size_t CutAtCharacter(std::string_view text, size_t nMax)
{
    if (text.size() <= nMax)
        return text.size();
    size_t p = 0;
    while (p < text.size()) {
        const size_t n = IsDBCSLeadByte(static_cast<BYTE>(text[p])) && p + 1 < text.size() ? 2 : 1;
        if (p + n > nMax)
            break;
        p += n;
    }
    return p;
}

std::vector<std::string_view> SplitLines(std::string_view data, size_t nMaxLine)
{
    std::vector<std::string_view> lines;
    size_t p = 0;
    while (p < data.size()) {
        size_t end = data.find('\n', p);
        const bool bEnded = end != std::string_view::npos;
        if (!bEnded)
            end = data.size();
        std::string_view line = data.substr(p, end - p);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        while (line.size() > nMaxLine) {
            size_t n = CutAtCharacter(line, nMaxLine);
            if (n == 0)
                n = 1;
            lines.push_back(line.substr(0, n));
            line.remove_prefix(n);
        }
        lines.push_back(line);
        p = bEnded ? end + 1 : end;
    }
    return lines;
}
