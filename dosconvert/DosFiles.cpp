#include "dosconvert/DosFiles.h"

#include "platform/base/Path.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// ---- little-endian numbers ----------------------------------------------------------------
int Int16At(const BYTE* p)
{
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}

int32_t Int32At(const BYTE* p)
{
    const uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(u);
}

// The four layouts of "MORINTL.IDT", newest first: block size and the offsets of the six
// folders (estimate data, estimate definitions, parts data, parts definitions, masters,
// information definitions).
struct EnvironmentLayout {
    size_t nSize;
    size_t nOffset[6];
};
constexpr EnvironmentLayout kEnvironmentLayouts[] = {
    {582, {95, 157, 188, 250, 281, 343}},
    {570, {95, 157, 188, 250, 281, 343}},
    {556, {95, 157, 188, 250, 281, 343}},
    {374, {48, 48, 110, 110, 172, 48}},
};

// A text of the block from nOffset to its first zero byte (or the block's end).
CString BlockText(const std::vector<BYTE>& block, size_t nOffset)
{
    if (nOffset >= block.size())
        return CString();
    return ExtractDosField(block.data() + nOffset, block.size() - nOffset);
}

DosItemDefinition ParseItemDefinition(const BYTE* p)
{
    DosItemDefinition d;
    d.name = ExtractDosField(p + 0, 18);
    d.type = Int16At(p + 18);
    d.width = Int16At(p + 20);
    d.formula = ExtractDosField(p + 22, 21);
    d.picture = ExtractDosField(p + 43, 21);
    d.v = Int16At(p + 68);
    d.rounding = ExtractDosField(p + 70, 13);
    d.t = p[83];
    d.b = p[84];
    return d;
}

DosInformationItem ParseInformationItem(const BYTE* p)
{
    DosInformationItem item;
    item.value = ExtractDosField(p + 0, 66);
    item.name = ExtractDosField(p + 66, 17);
    item.type = p[83];
    item.width = p[84];
    item.picture = ExtractDosField(p + 85, 21);
    item.formula = ExtractDosField(p + 106, 21);
    item.rounding = ExtractDosField(p + 127, 6);
    item.e = static_cast<signed char>(p[133]);
    item.letter = static_cast<char>(p[134]);
    return item;
}

// The older 106-byte form widened: value, name, type, width and picture taken over, the
// rest empty, the letter 'a' + the item's index.
DosInformationItem WidenDosInformationItem(const BYTE* p, int nIndex)
{
    DosInformationItem item;
    item.value = ExtractDosField(p + 0, 66);
    item.name = ExtractDosField(p + 66, 17);
    item.type = p[83];
    item.width = p[84];
    item.picture = ExtractDosField(p + 85, 21);
    item.letter = static_cast<char>('a' + nIndex);
    return item;
}

// A master field lies inside the record.
bool FieldFits(int nOffset, int nWidth, int nRecordSize)
{
    return nOffset >= 0 && nWidth >= 0 && nOffset + nWidth <= nRecordSize;
}

// The file of a master in the masters folder.
CString MakeDosMasterPath(const char* lpszName)
{
    return MakeDosFilePath(CDosTables::Get().environment.masters, lpszName);
}

// Reads the master file: for each record, take() is handed the record; at most 99
// entries. usesField1 says whether field 1 must lie inside the record too.
template <typename Take>
int ReadDosMaster(const char* lpszName, bool bUsesField1, Take take)
{
    CDosTables& t = CDosTables::Get();
    CDosStream stream;
    if (OpenDosFile(MakeDosMasterPath(lpszName), stream) != 0)
        return -1;
    if (ReadDosMasterHeader(stream) != 1)
        return -1;
    const int nSize = t.nHeaderRecordSize;
    if (nSize <= 0 || !FieldFits(t.nFieldOffset[1], t.nFieldWidth[1], nSize) ||
        (bUsesField1 && !FieldFits(t.nFieldOffset[0], t.nFieldWidth[0], nSize))) {
        stream.Close();
        return -1;
    }
    std::vector<BYTE> record(static_cast<size_t>(nSize));
    int nTaken = 0;
    while (nTaken < CDosTables::MAX_MASTER_ENTRIES && stream.Read(record.data(), record.size())) {
        take(record.data());
        ++nTaken;
    }
    stream.Close();
    return nTaken > 0 ? 1 : -1;
}

CString FieldOf(const BYTE* pRecord, int nField)
{
    const CDosTables& t = CDosTables::Get();
    return ExtractDosField(pRecord + t.nFieldOffset[nField], static_cast<size_t>(t.nFieldWidth[nField]));
}

const BYTE* TailAt(int nDistance)
{
    const CDosTables& t = CDosTables::Get();
    return t.record.data() + (t.nRecordSize - nDistance);
}

// The estimate tail is there: the buffer holds a whole estimate record.
bool HasEstimateTail()
{
    const CDosTables& t = CDosTables::Get();
    return t.nRecordSize >= CDosTables::ESTIMATE_TAIL &&
           t.record.size() >= static_cast<size_t>(t.nRecordSize);
}

bool CodeIs(int nDistance, const char* lpszCode)
{
    const BYTE* p = TailAt(nDistance);
    return p[0] == static_cast<BYTE>(lpszCode[0]) && p[1] == static_cast<BYTE>(lpszCode[1]);
}

} // namespace

// ---------------------------------------------------------------------------------------
// CDosStream

BOOL CDosStream::Open(const char* lpszPath)
{
    Close();
    std::FILE* f = std::fopen(NativePath(lpszPath).c_str(), "rb");
    if (f == nullptr)
        return FALSE;
    std::vector<BYTE> data;
    BYTE chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        data.insert(data.end(), chunk, chunk + n);
    const bool bError = std::ferror(f) != 0;
    std::fclose(f);
    if (bError)
        return FALSE;
    OpenBytes(std::move(data));
    return TRUE;
}

void CDosStream::OpenBytes(std::vector<BYTE> data)
{
    m_data = std::move(data);
    m_nPos = 0;
    m_bOpen = TRUE;
}

void CDosStream::Close()
{
    m_data.clear();
    m_data.shrink_to_fit();
    m_nPos = 0;
    m_bOpen = FALSE;
}

BOOL CDosStream::Read(void* p, size_t n)
{
    if (!m_bOpen || n > m_data.size() - m_nPos)
        return FALSE;
    if (n > 0)
        std::memcpy(p, m_data.data() + m_nPos, n);
    m_nPos += n;
    return TRUE;
}

BOOL CDosStream::Skip(size_t n)
{
    if (!m_bOpen || n > m_data.size() - m_nPos)
        return FALSE;
    m_nPos += n;
    return TRUE;
}

BOOL CDosStream::Seek(size_t nPos)
{
    if (!m_bOpen || nPos > m_data.size())
        return FALSE;
    m_nPos = nPos;
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// CDosTables

CDosTables& CDosTables::Get()
{
    static CDosTables s_tables;
    return s_tables;
}

void CDosTables::Reset()
{
    *this = CDosTables();
}

// ---------------------------------------------------------------------------------------
// Bytes

CString ExtractDosField(const BYTE* p, size_t nWidth)
{
    const void* pZero = std::memchr(p, 0, nWidth);
    const size_t n = pZero != nullptr ? static_cast<size_t>(static_cast<const BYTE*>(pZero) - p) : nWidth;
    CString s;
    s.str().assign(reinterpret_cast<const char*>(p), n);
    return s;
}

double ParseDosNumber(const BYTE* p, size_t nWidth)
{
    std::string kept;
    for (size_t i = 0; i < nWidth; ++i) {
        const BYTE c = p[i];
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
            if (kept.size() < CDosTables::MAX_NUMBER_CHARS)
                kept.push_back(static_cast<char>(c));
        } else if (c != ' ' && c != ',') {
            return 0.0;
        }
    }
    if (kept.empty())
        return 0.0;
    return std::strtod(kept.c_str(), nullptr);
}

CString MakeDosFilePath(const char* lpszFolder, const char* lpszName)
{
    CString path(lpszFolder);
    path += "\\";
    path += lpszName;
    return path;
}

// ---------------------------------------------------------------------------------------
// Readers

int ReadDosEnvironment(const char* lpszFolder)
{
    CString path(lpszFolder);
    path += "MORINTL.IDT";
    CDosStream stream;
    if (OpenDosFile(path, stream) != 0)
        return -1;
    // The first layout whose whole block the file holds decides; a longer file is read
    // as the newest layout.
    for (const EnvironmentLayout& layout : kEnvironmentLayouts) {
        std::vector<BYTE> block(layout.nSize);
        if (!stream.Seek(0) || !stream.Read(block.data(), block.size()))
            continue;
        DosEnvironment& env = CDosTables::Get().environment;
        env.estimateData = BlockText(block, layout.nOffset[0]);
        env.estimateDefinitions = BlockText(block, layout.nOffset[1]);
        env.partsData = BlockText(block, layout.nOffset[2]);
        env.partsDefinitions = BlockText(block, layout.nOffset[3]);
        env.masters = BlockText(block, layout.nOffset[4]);
        env.informationDefinitions = BlockText(block, layout.nOffset[5]);
        return 1;
    }
    return -1;
}

int OpenDosFile(const char* lpszPath, CDosStream& stream)
{
    return stream.Open(lpszPath) ? 0 : -1;
}

int ReadDosVersionTag(int nKind, CDosStream& stream)
{
    CDosTables& t = CDosTables::Get();
    t.bTagged = FALSE;
    if (nKind == dosKindParts)
        return 0;
    BYTE tag[CDosTables::VERSION_TAG_SIZE];
    if (stream.Read(tag, sizeof tag) && std::memcmp(tag, "2.00", 4) == 0) {
        t.bTagged = TRUE;
        return 0;
    }
    stream.Seek(0);
    return 0;
}

int ReadDosHeader(CDosStream& stream)
{
    BYTE header[4];
    if (!stream.Read(header, sizeof header)) {
        stream.Close();
        return -1;
    }
    CDosTables& t = CDosTables::Get();
    t.nHeaderRecordSize = Int16At(header);
    t.nHeaderRecordCount = Int16At(header + 2);
    return 1;
}

int ReadDosMasterHeader(CDosStream& stream)
{
    if (ReadDosHeader(stream) != 1)
        return -1;
    BYTE table[8];
    if (!stream.Read(table, sizeof table)) {
        stream.Close();
        return -1;
    }
    CDosTables& t = CDosTables::Get();
    t.nFieldOffset[0] = Int16At(table);
    t.nFieldWidth[0] = Int16At(table + 2);
    t.nFieldOffset[1] = Int16At(table + 4);
    t.nFieldWidth[1] = Int16At(table + 6);
    return 1;
}

int ReadDosItemDefinitions(int nKind, std::vector<DosItemDefinition>& table)
{
    CDosTables& t = CDosTables::Get();
    const bool bEstimate = nKind == dosKindEstimate;
    const CString path = bEstimate ? MakeDosFilePath(t.environment.estimateDefinitions, "MEISAI.ITM")
                                   : MakeDosFilePath(t.environment.partsDefinitions, "BUZAI.ITB");
    CDosStream stream;
    if (OpenDosFile(path, stream) != 0)
        return -1;
    ReadDosVersionTag(nKind, stream);
    if (ReadDosHeader(stream) != 1)
        return -1;
    if (!stream.Skip(CDosTables::DEFINITION_BLOCK_SIZE))
        return -1;

    // The count comes from the file: it must describe at least the leading field and no
    // more columns than a form holds.
    const int nCount = t.nHeaderRecordCount;
    if (nCount <= 0 || nCount > CDosTables::MAX_DEFINITIONS)
        return -1;
    std::vector<DosItemDefinition> read;
    read.reserve(static_cast<size_t>(nCount) + 1);
    BYTE record[DosItemDefinition::RECORD_SIZE];
    for (int i = 0; i < nCount; ++i) {
        if (!stream.Read(record, sizeof record))
            return -1;
        read.push_back(ParseItemDefinition(record));
        // A negative width would place the following fields before their predecessors.
        if (i > 0 && read.back().width < 0)
            return -1;
    }
    // The leading field is never converted; its width is fixed by the kind.
    read[0].width = bEstimate ? 2 : 4;
    // A file of one definition counts two; the second is an empty column of width 0.
    if (nCount == 1)
        read.emplace_back();
    table = std::move(read);
    t.nDefinitionCount = static_cast<int>(table.size());
    return 0;
}

int LoadDosItemDefinitions()
{
    CDosTables& t = CDosTables::Get();
    const bool bParts = ReadDosItemDefinitions(dosKindParts, t.partsDefinitions) == 0;
    if (bParts)
        t.definitions = t.partsDefinitions;
    const bool bEstimate = ReadDosItemDefinitions(dosKindEstimate, t.estimateDefinitions) == 0;
    if (bEstimate)
        t.definitions = t.estimateDefinitions;
    t.nDefinitionCount = static_cast<int>(t.definitions.size());
    return bParts || bEstimate ? 1 : -1;
}

int ReadDosUnits()
{
    if (LoadDosItemDefinitions() != 1)
        return -1;
    // A refused master leaves the table it had.
    std::vector<CString> units;
    const int nResult =
        ReadDosMaster("TANNI.TDT", false, [&](const BYTE* p) { units.push_back(FieldOf(p, 1)); });
    if (nResult == 1)
        CDosTables::Get().units = std::move(units);
    return nResult;
}

int ReadDosSubjects(int nLevel)
{
    static const char* const kNames[] = {"KAMOKU1.KM1", "KAMOKU2.KM2", "KAMOKU3.KM3"};
    if (nLevel < 0 || nLevel > 2)
        return -1;
    std::vector<std::pair<CString, CString>> subjects;
    const int nResult = ReadDosMaster(
        kNames[nLevel], true, [&](const BYTE* p) { subjects.emplace_back(FieldOf(p, 0), FieldOf(p, 1)); });
    if (nResult == 1)
        CDosTables::Get().subjects = std::move(subjects);
    return nResult;
}

int ReadDosClassifications()
{
    if (LoadDosItemDefinitions() != 1)
        return -1;
    CDosTables& t = CDosTables::Get();
    std::vector<std::pair<CString, int>> classifications;
    const int nResult = ReadDosMaster("BUNRUI.BDT", true, [&](const BYTE* p) {
        // The percentage with its fraction cut off toward zero; a value beyond what an
        // int holds is not a percentage and counts as 0.
        const double percent = ParseDosNumber(p + t.nFieldOffset[1], static_cast<size_t>(t.nFieldWidth[1]));
        const int nPercent =
            percent > -2147483648.0 && percent < 2147483648.0 ? static_cast<int>(percent) : 0;
        classifications.emplace_back(FieldOf(p, 0), nPercent);
    });
    if (nResult == 1)
        t.classifications = std::move(classifications);
    return nResult;
}

int ReadDosInformationDefinitions()
{
    // A file that cannot be read leaves the items read before.
    CDosTables& t = CDosTables::Get();
    CDosStream stream;
    if (OpenDosFile(MakeDosFilePath(t.environment.informationDefinitions, "JYOUHOU.ITJ"), stream) != 0)
        return -1;
    const BOOL bWasTagged = t.bTagged;
    ReadDosVersionTag(dosKindInformation, stream);
    if (t.bTagged && !stream.Skip(CDosTables::DEFINITION_BLOCK_SIZE)) {
        t.bTagged = bWasTagged;
        return -1;
    }
    const size_t nRecord = t.bTagged ? DosInformationItem::RECORD_SIZE : DosInformationItem::OLD_RECORD_SIZE;
    std::vector<DosInformationItem> items;
    BYTE record[DosInformationItem::RECORD_SIZE];
    while (stream.Read(record, nRecord)) {
        const int nIndex = static_cast<int>(items.size());
        items.push_back(t.bTagged ? ParseInformationItem(record) : WidenDosInformationItem(record, nIndex));
    }
    // The last record closes the list; the table holds 27 items.
    if (!items.empty())
        items.pop_back();
    if (items.size() > CDosTables::MAX_INFORMATION_ITEMS)
        items.resize(CDosTables::MAX_INFORMATION_ITEMS);
    t.informationItems = std::move(items);
    return 1;
}

int ReadDosFormDefinitions(int nKind)
{
    CDosTables& t = CDosTables::Get();
    t.nDefinitionCount = 0;
    switch (nKind) {
    case dosKindEstimate:
        return ReadDosItemDefinitions(dosKindEstimate, t.estimateDefinitions) == 0 ? 1 : -1;
    case dosKindParts:
        return ReadDosItemDefinitions(dosKindParts, t.partsDefinitions) == 0 ? 1 : -1;
    case dosKindInformation:
        return ReadDosInformationDefinitions();
    default:
        return -1;
    }
}

int ComputeDosRecordSize(int nKind)
{
    CDosTables& t = CDosTables::Get();
    int nSum = 0;
    for (DosItemDefinition& d : t.definitions) {
        d.offset = nSum;
        nSum += d.width + 1;
    }
    const int nTail = nKind == dosKindEstimate ? CDosTables::ESTIMATE_TAIL
                      : nKind == dosKindParts  ? CDosTables::PARTS_TAIL
                                               : 1;
    int nSize = nSum + nTail;
    if (nSize % 2 == 0)
        ++nSize;
    t.nRecordKind = nKind;
    t.nRecordSize = nSize;
    return nSize;
}

int PrepareDosRecordLayout(int nKind)
{
    CDosTables& t = CDosTables::Get();
    t.definitions = nKind == dosKindEstimate ? t.estimateDefinitions : t.partsDefinitions;
    t.nDefinitionCount = static_cast<int>(t.definitions.size());
    if (t.nDefinitionCount < 2) {
        t.nRecordSize = 0;
        t.record.clear();
        return -1;
    }
    ComputeDosRecordSize(nKind);
    t.record.assign(static_cast<size_t>(t.nRecordSize), 0);
    return 0;
}

int CheckDosRecordSize(CDosStream& stream)
{
    const CDosTables& t = CDosTables::Get();
    auto fail = [&stream]() {
        stream.Close();
        return 1;
    };
    if (t.nRecordSize <= 0 || t.nHeaderRecordSize != t.nRecordSize)
        return fail();
    if (t.nHeaderRecordCount == 0)
        return 0;
    const size_t nPos = stream.GetPosition();
    const size_t nSize = static_cast<size_t>(t.nRecordSize);
    if (stream.GetLength() < nSize || !stream.Seek(stream.GetLength() - nSize))
        return fail();
    std::vector<BYTE> last(nSize);
    if (!stream.Read(last.data(), nSize))
        return fail();
    for (int i = 1; i < t.nDefinitionCount; ++i) {
        const int nOffset = t.definitions[static_cast<size_t>(i)].offset;
        if (nOffset < 1 || nOffset > t.nRecordSize ||
            last[static_cast<size_t>(nOffset - 1)] != CDosTables::SEPARATOR)
            return fail();
    }
    stream.Seek(nPos);
    return 0;
}

int ReadDosDataHeader(int nKind, CDosStream& stream)
{
    CDosTables& t = CDosTables::Get();
    if (ReadDosHeader(stream) != 1)
        return 1;
    if (CheckDosRecordSize(stream) != 0)
        return 1;
    auto fail = [&stream]() {
        stream.Close();
        return 1;
    };

    if (nKind == dosKindParts) {
        if (!stream.Skip(CDosTables::DEFINITION_BLOCK_SIZE))
            return fail();
    } else if (nKind == dosKindEstimate) {
        const size_t nItem =
            t.bTagged ? DosInformationItem::RECORD_SIZE : DosInformationItem::OLD_RECORD_SIZE;
        std::vector<DosInformationItem> items;
        BYTE record[DosInformationItem::RECORD_SIZE];
        while (items.size() < CDosTables::MAX_INFORMATION_ITEMS) {
            if (!stream.Read(record, nItem))
                return fail();
            // The type byte is at the same place in both forms.
            if (record[83] == DosInformationItem::TYPE_END)
                break;
            const int nIndex = static_cast<int>(items.size());
            items.push_back(t.bTagged ? ParseInformationItem(record)
                                      : WidenDosInformationItem(record, nIndex));
        }
        if (!stream.Skip(static_cast<size_t>(CDosTables::INFORMATION_BLOCKS) *
                         CDosTables::INFORMATION_BLOCK_SIZE))
            return fail();
        t.informationItems = std::move(items);
    }
    return 0;
}

BOOL ReadDosRecord(CDosStream& stream)
{
    CDosTables& t = CDosTables::Get();
    if (t.nRecordSize <= 0 || t.record.size() != static_cast<size_t>(t.nRecordSize))
        return FALSE;
    return stream.Read(t.record.data(), t.record.size());
}

// ---------------------------------------------------------------------------------------
// The record in the buffer

int ClassifyDosEstimateRow()
{
    if (!HasEstimateTail())
        return dosRowDetail;
    static const int kLevels[] = {11, 9, 7, 5};
    auto firstLevel = [](int nFirstType) {
        for (int i = 0; i < 4; ++i) {
            if (!CodeIs(kLevels[i], "  "))
                return nFirstType + i;
        }
        return 0;
    };
    int nType = 0;
    if (CodeIs(13, "  "))
        nType = firstLevel(dosRowKind);
    else if (CodeIs(13, " 1"))
        nType = firstLevel(dosRowKindTotal);
    else if (CodeIs(13, " 2"))
        nType = firstLevel(dosRowKindDiscount);
    else if (CodeIs(13, " 3"))
        nType = dosRowGrandTotal;
    else if (CodeIs(13, " 4"))
        nType = dosRowDiscountGrandTotal;
    if (nType != 0)
        return nType;

    static const struct {
        const char* plus;
        const char* minus;
        int nType;
    } kRowCodes[] = {{" 2", "-2", dosRowDiscount},
                     {" 3", "-3", dosRowTax},
                     {" 4", "-4", dosRowClassify},
                     {" 5", "-5", dosRowStep},
                     {" 7", "-7", dosRowClassify2}};
    for (const auto& code : kRowCodes) {
        if (CodeIs(3, code.plus) || CodeIs(3, code.minus))
            return code.nType;
    }
    return dosRowDetail;
}

BOOL IsDosNonCalcRow()
{
    if (!HasEstimateTail())
        return FALSE;
    static const char* const kCodes[] = {"-1", "-2", "-3", "-4", "-5", "-6"};
    for (const char* code : kCodes) {
        if (CodeIs(3, code))
            return TRUE;
    }
    return FALSE;
}

BOOL IsDosSummaryPageRow()
{
    return HasEstimateTail() && TailAt(19)[0] == '2';
}

DosStepParameters ReadDosStepParameters()
{
    DosStepParameters params;
    if (!HasEstimateTail())
        return params;
    params.column = std::abs(Int16At(TailAt(18)));
    params.value = std::abs(Int16At(TailAt(16)));
    if (params.value >= 101) {
        params.hundreds = params.value / 100;
        params.value -= params.hundreds * 100;
    }
    return params;
}

DosClassifyParameters ReadDosClassifyParameters()
{
    DosClassifyParameters params;
    if (!HasEstimateTail())
        return params;
    const int32_t v = Int32At(TailAt(18));
    params.negative = v < 0 ? 1 : 0;
    // |v| of the most negative value does not fit 32 bits.
    const long long nAbs = v < 0 ? -static_cast<long long>(v) : v;
    if (nAbs >= 101) {
        params.hundreds = static_cast<int>(nAbs / 100);
        params.value = static_cast<int>(nAbs - static_cast<long long>(params.hundreds) * 100);
    } else {
        params.value = static_cast<int>(nAbs);
    }
    params.second = Int16At(TailAt(15));
    params.column = static_cast<signed char>(TailAt(16)[0]);
    return params;
}

CString GetDosRecordField(int nIndex)
{
    const CDosTables& t = CDosTables::Get();
    if (nIndex < 0 || nIndex >= static_cast<int>(t.definitions.size()))
        return CString();
    const DosItemDefinition& d = t.definitions[static_cast<size_t>(nIndex)];
    // The layout was computed from these widths, so the field lies inside the record;
    // checked all the same, as the buffer belongs to whoever prepared it last.
    if (d.offset < 0 || d.width < 0 ||
        static_cast<size_t>(d.offset) + static_cast<size_t>(d.width) > t.record.size())
        return CString();
    return ExtractDosField(t.record.data() + d.offset, static_cast<size_t>(d.width));
}
