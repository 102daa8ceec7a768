#include "estimate/COutsideEstimateReader.h"

#include "platform/base/TextLines.h"

#include <cstdlib>

namespace {

// A field as the converter keeps it: no double quotes, CR or LF, trailing blanks cut, at
// most MAX_FIELD bytes.
CString CleanField(std::string_view raw)
{
    std::string text;
    text.reserve(raw.size());
    for (char ch : raw) {
        if (ch != '"' && ch != '\r' && ch != '\n')
            text += ch;
    }
    text.resize(CutAtCharacter(text, COutsideEstimateReader::MAX_FIELD));
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return CString(std::move(text));
}

bool StartsWithHeader(std::string_view line, char chFirst, char chSecond)
{
    return line.size() >= 2 && line[0] == chFirst && line[1] == chSecond;
}

} // namespace

std::vector<std::string_view> COutsideEstimateReader::SplitLines(std::string_view data)
{
    return ::SplitLines(data, MAX_LINE);
}

CString COutsideEstimateReader::GetField(std::string_view line, int nField)
{
    if (nField < 0)
        return CString();
    size_t p = 0;
    for (int i = 0; i < nField; ++i) {
        const size_t comma = line.find(',', p);
        if (comma == std::string_view::npos)
            return CString();
        p = comma + 1;
    }
    size_t end = line.find(',', p);
    if (end == std::string_view::npos)
        end = line.size();
    return CleanField(line.substr(p, end - p));
}

void COutsideEstimateReader::SplitFields(std::string_view line, std::vector<CString>& fields)
{
    fields.clear();
    size_t p = 0;
    for (;;) {
        const size_t comma = line.find(',', p);
        if (comma == std::string_view::npos) {
            fields.push_back(CleanField(line.substr(p)));
            return;
        }
        fields.push_back(CleanField(line.substr(p, comma - p)));
        p = comma + 1;
    }
}

std::vector<CString> COutsideEstimateReader::ParseConverterLine(std::string_view data)
{
    const size_t end = data.find('\n');
    if (end != std::string_view::npos)
        data = data.substr(0, end);
    std::vector<CString> entries;
    std::string entry;
    size_t p = 0;
    for (;;) {
        const bool bLast = p >= data.size() || data.find(',', p) == std::string_view::npos;
        const size_t stop = bLast ? data.size() : data.find(',', p);
        entry.clear();
        for (size_t i = p; i < stop; ++i) {
            char ch = data[i];
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 'a' + 'A');
            if (ch >= 'A' && ch <= 'Z')
                entry += ch;
        }
        if (entries.size() >= MAX_POSITIONS)
            break;
        entries.emplace_back(entry);
        if (bLast)
            break;
        p = stop + 1;
    }
    return entries;
}

ERowKind COutsideEstimateReader::GetControlKind(std::string_view line)
{
    if (line.size() < 2)
        return kindEmpty;
    char ch = line[1];
    if (ch >= 'a' && ch <= 'z')
        ch = static_cast<char>(ch - 'a' + 'A');
    switch (ch) {
    case '1':
        return kindKind;
    case '2':
        return kindLarge;
    case '3':
        return kindMiddle;
    case '4':
        return kindSmall;
    case 'N':
        return kindDiscount;
    case 'G':
        if (line.size() < 3)
            return kindEmpty;
        switch (line[2]) {
        case '0':
            return kindGrandTotal;
        case '1':
            return kindKindTotal;
        case '2':
            return kindLargeTotal;
        case '3':
            return kindMiddleTotal;
        case '4':
            return kindSmallTotal;
        default:
            return kindEmpty;
        }
    default:
        return kindEmpty;
    }
}

COutsideEstimateReader::HeaderResult COutsideEstimateReader::Read(std::string_view data, int nSourceKind)
{
    m_strInfName.Empty();
    m_strMissingMessage.Empty();
    m_strTitle.Empty();
    m_rows.clear();

    const std::vector<std::string_view> lines = SplitLines(data);
    size_t nLine = 0;
    if (nLine >= lines.size())
        return headerTruncated;
    std::string_view header = lines[nLine++];

    CString strRxbName = "rxb";
    if (nSourceKind == kindRxb && StartsWithHeader(header, '@', 'V')) {
        // A version header: the version on the next line, then the real header.
        if (nLine >= lines.size())
            return headerTruncated;
        const std::string version(lines[nLine++]);
        if (std::atof(version.c_str()) > 1.0)
            strRxbName = "rxbv2";
        if (nLine >= lines.size())
            return headerTruncated;
        header = lines[nLine++];
        if (!StartsWithHeader(header, '@', 'M'))
            return headerUnknown;
    }

    if (!header.empty() && header[0] == 'M') {
        m_strMissingMessage = "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(*.INF)がないか壊れています。"_sj;
        if (nSourceKind == kindMvl)
            m_strInfName = "mvl2.inf";
        else if (nSourceKind == kindRxa)
            m_strInfName = "rxa.inf";
        else
            return headerNoConverter; // no converter file serves a ".RXB" file of this form
    } else if (StartsWithHeader(header, '@', 'M')) {
        if (nSourceKind == kindMvl) {
            m_strInfName = "mvl.inf";
            m_strMissingMessage = "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(Mvl.INF)がないか壊れています。"_sj;
        } else if (nSourceKind == kindRxa) {
            m_strInfName = "rxa.inf";
            m_strMissingMessage = "ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(Rxa.INF)がないか壊れています。"_sj;
        } else if (nSourceKind == kindRxb) {
            m_strInfName = strRxbName + ".inf";
            m_strMissingMessage.Format("ｺﾝﾊﾞｰﾄ情報ﾌｧｲﾙ(%s.INF)がないか壊れています。"_sj.c_str(),
                                       strRxbName.c_str());
        } else {
            return headerUnknown;
        }
    } else {
        return headerUnknown;
    }

    // The title, then two lines that carry nothing the estimate keeps.
    if (nLine + 3 > lines.size())
        return headerTruncated;
    {
        std::string title;
        for (char ch : lines[nLine++]) {
            if (ch != '"' && ch != '\r' && ch != '\n')
                title += ch;
        }
        while (!title.empty() && title.back() == ' ')
            title.pop_back();
        m_strTitle = CString(std::move(title));
    }
    nLine += 2;

    m_rows.reserve(lines.size() - nLine);
    ERowKind nPendingKind = kindEmpty;
    bool bPending = false;
    for (; nLine < lines.size(); ++nLine) {
        const std::string_view line = lines[nLine];
        if (!line.empty() && line[0] == '@') {
            nPendingKind = GetControlKind(line);
            bPending = true;
            continue;
        }
        CRow& row = m_rows.emplace_back();
        if (bPending) {
            row.nKind = nPendingKind;
            row.bControlled = true;
            bPending = false;
        }
        SplitFields(line, row.fields);
    }
    return headerOk;
}
