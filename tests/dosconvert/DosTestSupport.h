// Helpers of the DOS conversion tests: the DOS edition's files written out byte by byte
// from their description (never by the program), a work setting with its folders, and a
// drive that holds the DOS edition's "\MORVEL\" folder.
#pragma once

#include "app/CMorvelSettings.h"
#include "dosconvert/DosFiles.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A text in code page 932, from UTF-8.
inline std::string Sj(const char* utf8)
{
    return CString::FromUtf8(utf8).str();
}

using Bytes = std::vector<uint8_t>;

// ---- pieces of DOS files ------------------------------------------------------------------
// A fixed-width text field: the text, then zero bytes (or blanks) up to the width. What
// would lie outside the bytes (a field a malformed file places past its record) is left out.
inline void PutText(Bytes& b, size_t nAt, const std::string& text, size_t nWidth, uint8_t fill = 0)
{
    for (size_t i = 0; i < nWidth && nAt + i < b.size(); ++i)
        b[nAt + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : fill;
}

inline void PutWord(Bytes& b, size_t nAt, int v)
{
    b[nAt] = static_cast<uint8_t>(v & 0xFF);
    b[nAt + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

inline void PutDword(Bytes& b, size_t nAt, int32_t v)
{
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b[nAt + static_cast<size_t>(i)] = static_cast<uint8_t>((u >> (8 * i)) & 0xFF);
}

inline void Append(Bytes& to, const Bytes& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

inline Bytes Word(int v)
{
    Bytes b(2);
    PutWord(b, 0, v);
    return b;
}

inline Bytes VersionTag()
{
    Bytes b(10, ' ');
    std::memcpy(b.data(), "2.00", 4);
    return b;
}

// "MORINTL.IDT" of the newest layout (582 bytes) with every folder given.
inline Bytes EnvironmentFile(size_t nSize, const std::map<size_t, std::string>& paths)
{
    Bytes b(nSize, 0);
    for (const auto& [nOffset, path] : paths)
        PutText(b, nOffset, path, path.size());
    return b;
}

// One column definition (86 bytes).
struct DefSpec {
    DefSpec(std::string name_ = "", int type_ = 2, int width_ = 0, std::string formula_ = "",
            std::string picture_ = "", int v_ = 0, std::string rounding_ = "", int t_ = 0, int b_ = 0)
        : name(std::move(name_)), type(type_), width(width_), formula(std::move(formula_)),
          picture(std::move(picture_)), v(v_), rounding(std::move(rounding_)), t(t_), b(b_)
    {
    }
    std::string name;
    int type = 2;
    int width = 0;
    std::string formula;
    std::string picture;
    int v = 0;
    std::string rounding;
    int t = 0;
    int b = 0;
};

inline Bytes DefinitionRecord(const DefSpec& d)
{
    Bytes r(86, 0);
    PutText(r, 0, d.name, 18, ' ');
    PutWord(r, 18, d.type);
    PutWord(r, 20, d.width);
    PutText(r, 22, d.formula, 21);
    PutText(r, 43, d.picture, 21);
    PutWord(r, 64, 0x7777); // replaced on reading
    PutWord(r, 68, d.v);
    PutText(r, 70, d.rounding, 13);
    r[83] = static_cast<uint8_t>(d.t);
    r[84] = static_cast<uint8_t>(d.b);
    return r;
}

// "MEISAI.ITM" / "BUZAI.ITB": optional tag, header, 40 unused bytes, the definitions.
inline Bytes DefinitionFile(const std::vector<DefSpec>& defs, bool bTagged, int nCount = -1)
{
    Bytes b;
    if (bTagged)
        Append(b, VersionTag());
    Append(b, Word(86));
    Append(b, Word(nCount >= 0 ? nCount : static_cast<int>(defs.size())));
    Append(b, Bytes(40, 0x55));
    for (const DefSpec& d : defs)
        Append(b, DefinitionRecord(d));
    return b;
}

// One information item: 136 bytes, or its older 106-byte form.
struct InfoSpec {
    InfoSpec(std::string value_ = "", std::string name_ = "", int type_ = 2, int width_ = 0,
             std::string picture_ = "", std::string formula_ = "", std::string rounding_ = "", int e_ = 0,
             char letter_ = 0)
        : value(std::move(value_)), name(std::move(name_)), type(type_), width(width_),
          picture(std::move(picture_)), formula(std::move(formula_)), rounding(std::move(rounding_)), e(e_),
          letter(letter_)
    {
    }
    std::string value;
    std::string name;
    int type = 2;
    int width = 0;
    std::string picture;
    std::string formula;
    std::string rounding;
    int e = 0;
    char letter = 0;
};

inline Bytes InformationRecord(const InfoSpec& s, bool bWide)
{
    Bytes r(bWide ? 136 : 106, 0);
    PutText(r, 0, s.value, 66, ' ');
    PutText(r, 66, s.name, 17);
    r[83] = static_cast<uint8_t>(s.type);
    r[84] = static_cast<uint8_t>(s.width);
    PutText(r, 85, s.picture, 21);
    if (bWide) {
        PutText(r, 106, s.formula, 21);
        PutText(r, 127, s.rounding, 6);
        r[133] = static_cast<uint8_t>(static_cast<int8_t>(s.e));
        r[134] = static_cast<uint8_t>(s.letter);
    }
    return r;
}

// "JYOUHOU.ITJ": with the tag, 40 unused bytes and 136-byte records; without, 106-byte
// records. The last record closes the list.
inline Bytes InformationFile(const std::vector<InfoSpec>& items, bool bTagged)
{
    Bytes b;
    if (bTagged) {
        Append(b, VersionTag());
        Append(b, Bytes(40, 0));
    }
    for (const InfoSpec& item : items)
        Append(b, InformationRecord(item, bTagged));
    InfoSpec end;
    end.type = 8;
    Append(b, InformationRecord(end, bTagged));
    return b;
}

// A master file: header (record size, count), field table, records of two fields.
inline Bytes MasterFile(int nRecordSize, int nOffset1, int nWidth1, int nOffset2, int nWidth2,
                        const std::vector<std::pair<std::string, std::string>>& records, uint8_t fill = ' ')
{
    Bytes b;
    Append(b, Word(nRecordSize));
    Append(b, Word(static_cast<int>(records.size())));
    Append(b, Word(nOffset1));
    Append(b, Word(nWidth1));
    Append(b, Word(nOffset2));
    Append(b, Word(nWidth2));
    for (const auto& [f1, f2] : records) {
        Bytes r(static_cast<size_t>(nRecordSize), 0);
        if (nWidth1 > 0)
            PutText(r, static_cast<size_t>(nOffset1), f1, static_cast<size_t>(nWidth1), fill);
        PutText(r, static_cast<size_t>(nOffset2), f2, static_cast<size_t>(nWidth2), fill);
        Append(b, r);
    }
    return b;
}

// The record layout of a definition table as the format gives it: field i at the sum of
// (width + 1) of the fields before it, a 0xA0 after each field, then the tail; the size
// made odd.
struct RecordLayout {
    std::vector<int> widths; // leading field first
    int nTail = 19;
    int Offset(size_t i) const
    {
        int o = 0;
        for (size_t k = 0; k < i; ++k)
            o += widths[k] + 1;
        return o;
    }
    int Size() const
    {
        const int n = Offset(widths.size()) + nTail;
        return n % 2 == 0 ? n + 1 : n;
    }
};

// The tail of an estimate record, by distance from the record's end.
struct TailSpec {
    char page = ' ';
    std::string levels[5] = {"  ", "  ", "  ", "  ", "  "}; // end-13, -11, -9, -7, -5
    std::string rowCode = "  ";                             // end-3
};

inline Bytes EstimateRecord(const RecordLayout& layout, const std::vector<std::string>& fields,
                            const TailSpec& tail,
                            const std::function<void(Bytes&, size_t)>& putParameters = nullptr)
{
    const size_t nSize = static_cast<size_t>(layout.Size());
    Bytes r(nSize, 0);
    for (size_t i = 0; i < layout.widths.size(); ++i) {
        const size_t o = static_cast<size_t>(layout.Offset(i));
        const std::string text = i == 0 ? std::string("  ") : (i - 1 < fields.size() ? fields[i - 1] : "");
        PutText(r, o, text, static_cast<size_t>(layout.widths[i]), ' ');
        r[o + static_cast<size_t>(layout.widths[i])] = 0xA0;
    }
    auto at = [nSize](int d) { return nSize - static_cast<size_t>(d); };
    r[at(19)] = static_cast<uint8_t>(tail.page);
    const int dist[5] = {13, 11, 9, 7, 5};
    for (int i = 0; i < 5; ++i)
        PutText(r, at(dist[i]), tail.levels[i], 2);
    PutText(r, at(3), tail.rowCode, 2);
    if (putParameters)
        putParameters(r, nSize);
    return r;
}

inline Bytes PartsRecord(const RecordLayout& layout, const std::vector<std::string>& fields)
{
    Bytes r(static_cast<size_t>(layout.Size()), 0);
    for (size_t i = 0; i < layout.widths.size(); ++i) {
        const size_t o = static_cast<size_t>(layout.Offset(i));
        const std::string text = i == 0 ? std::string("0001") : (i - 1 < fields.size() ? fields[i - 1] : "");
        PutText(r, o, text, static_cast<size_t>(layout.widths[i]), ' ');
        r[o + static_cast<size_t>(layout.widths[i])] = 0xA0;
    }
    return r;
}

// "*.MIT": optional tag, header, information items and their closing record, 27 blocks of
// 44 bytes, the records.
inline Bytes EstimateDataFile(const RecordLayout& layout, const std::vector<InfoSpec>& items,
                              const std::vector<Bytes>& records, bool bTagged, int nHeaderSize = -1)
{
    Bytes b;
    if (bTagged)
        Append(b, VersionTag());
    Append(b, Word(nHeaderSize >= 0 ? nHeaderSize : layout.Size()));
    Append(b, Word(static_cast<int>(records.size())));
    for (const InfoSpec& item : items)
        Append(b, InformationRecord(item, bTagged));
    if (items.size() < 27) {
        InfoSpec end;
        end.type = 8;
        Append(b, InformationRecord(end, bTagged));
    }
    Append(b, Bytes(27 * 44, 0));
    for (const Bytes& r : records)
        Append(b, r);
    return b;
}

// "*.BZI": header, 40 unused bytes, the records.
inline Bytes PartsDataFile(const RecordLayout& layout, const std::vector<Bytes>& records)
{
    Bytes b;
    Append(b, Word(layout.Size()));
    Append(b, Word(static_cast<int>(records.size())));
    Append(b, Bytes(40, 0));
    for (const Bytes& r : records)
        Append(b, r);
    return b;
}

// ---- the test setting ----------------------------------------------------------------------
// Settings with their own folders, and drive Q: holding the DOS edition under \MORVEL\.
class DosTest : public ::testing::Test {
protected:
    DosTest() : profile(dir.Folder() + "morvel.ini"), settings(std::make_unique<CMorvelSettings>(profile))
    {
        CMorvelSettings::SetCurrent(settings.get());
        for (const char* sub :
             {"other", "estform", "partform", "infoform", "work", "dos/MORVEL/DATA", "dos/MORVEL/BUZAI"})
            std::filesystem::create_directories(dir.Native() + "/" + sub);
        settings->WritePathSetting("Other Form", SystemPathFromNative(dir.Native() + "/other"));
        settings->WritePathSetting("Estimation Form", SystemPathFromNative(dir.Native() + "/estform"));
        settings->WritePathSetting("Parts Form", SystemPathFromNative(dir.Native() + "/partform"));
        settings->WritePathSetting("Information Form", SystemPathFromNative(dir.Native() + "/infoform"));
        settings->WritePathSetting("Work Field", SystemPathFromNative(dir.Native() + "/work"));
        SetDriveRoot('Q', dir.Native() + "/dos");
        CDosTables::Get().Reset();
    }
    ~DosTest() override
    {
        SetDriveRoot('Q', "");
        CDosTables::Get().Reset();
    }

    // A file under the temporary folder, by its native relative path.
    std::string Native(const std::string& rel) const { return dir.Native() + "/" + rel; }
    void Write(const std::string& rel, const Bytes& bytes) const { WriteNativeFile(Native(rel), bytes); }
    Bytes Read(const std::string& rel) const { return ReadNativeFile(Native(rel)); }
    bool Exists(const std::string& rel) const { return std::filesystem::exists(Native(rel)); }

    // The DOS edition's environment: every folder on drive Q.
    void WriteEnvironment() const
    {
        Write("dos/MORVEL/MORINTL.IDT", EnvironmentFile(582, {{95, "Q:\\MORVEL\\DATA"},
                                                              {157, "Q:\\MORVEL"},
                                                              {188, "Q:\\MORVEL\\BUZAI"},
                                                              {250, "Q:\\MORVEL"},
                                                              {281, "Q:\\MORVEL"},
                                                              {343, "Q:\\MORVEL"}}));
    }

    TempDir dir;
    CProfileFile profile;
    std::unique_ptr<CMorvelSettings> settings;
};

// Loads a stored object from a file's bytes with its own reader; the reader's result.
template <typename Load>
int LoadFromBytes(const Bytes& bytes, Load load)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, 4096);
    const int nResult = load(ar);
    ar.Close();
    return nResult;
}

// ---- a small DOS edition -------------------------------------------------------------------
// Estimate columns: 名称 (text 20), 単位 (text 4, T 1: the unit column), 数量 (number 10),
// 摘要 (text 8), 金額 (sum A 12, V 2, B 'F').
inline std::vector<DefSpec> SampleEstimateDefinitions()
{
    return {
        {"NO", 2, 7},
        {Sj("名称"), 2, 20},
        {Sj("単位"), 2, 4, "", "", 0, "", 1, 0},
        {Sj("数量"), 3, 10, "", "#,###.##", 0, "F(0)", 3, 0},
        {Sj("摘要"), 2, 8},
        {Sj("金額"), 4, 12, "C*D", "###,###", 2, "D(-1)", 0, 'F'},
    };
}

inline RecordLayout SampleEstimateLayout()
{
    return RecordLayout{{2, 20, 4, 10, 8, 12}, 19};
}

inline std::vector<InfoSpec> SampleInformation()
{
    return {
        {Sj("山田建設  "), Sj("得意先名"), 2, 30, ""},
        {"  1,080,000", Sj("税込見積"), 4, 14, "###,###", "", "D(-1)", 2, 'b'},
    };
}

inline TailSpec Tail(const std::string& l1, const std::string& l2, const std::string& l3,
                     const std::string& l4, const std::string& l5, const std::string& rowCode = "  ",
                     char page = ' ')
{
    TailSpec t;
    t.levels[0] = l1;
    t.levels[1] = l2;
    t.levels[2] = l3;
    t.levels[3] = l4;
    t.levels[4] = l5;
    t.rowCode = rowCode;
    t.page = page;
    return t;
}

// Eleven records, one of each kind the conversion treats differently (see the
// conversion test for what each becomes).
inline std::vector<Bytes> SampleEstimateRecords()
{
    const RecordLayout L = SampleEstimateLayout();
    const std::string B = "  ";
    return {
        EstimateRecord(L, {Sj("建築工事")}, Tail(B, " 1", B, B, B)),             // 種目行, unit blank
        EstimateRecord(L, {Sj("仮設工事"), Sj("ｍ２")}, Tail(B, B, " 1", B, B)), // 大科目行
        EstimateRecord(L, {Sj("ｺﾝｸﾘｰﾄ"), "m3", "1,200", "1,200", "1,234,567"}, Tail(B, B, B, B, B)),
        EstimateRecord(L, {Sj("集計")}, Tail(B, B, " 1", B, B, B, '2')), // summary heading
        EstimateRecord(L, {Sj("値引")}, Tail(B, B, B, B, B, "-2")),      // discount, non-calc
        EstimateRecord(L, {Sj("歩掛")}, Tail(B, B, B, B, B, " 5"),
                       [](Bytes& r, size_t n) { PutWord(r, n - 16, 150); }), // step, column 0
        EstimateRecord(L, {Sj("歩掛2")}, Tail(B, B, B, B, B, " 5"),
                       [](Bytes& r, size_t n) {
                           PutWord(r, n - 18, 9); // beyond the last column
                           PutWord(r, n - 16, 80);
                       }),
        EstimateRecord(L, {Sj("材料費")}, Tail(B, B, B, B, B, " 4"),
                       [](Bytes& r, size_t n) {
                           PutDword(r, n - 18, 250);
                           r[n - 14] = 0x02; // second value 0x0200
                       }),
        EstimateRecord(L, {}, Tail(B, B, B, B, B)), // empty
        EstimateRecord(L, {Sj("あいうえおかきくけこ"), "ABCD", "9999999999", "12345678", "-123,456,789"},
                       Tail(B, B, B, B, B)), // every field full
        EstimateRecord(L, {Sj("対象外")}, Tail(B, B, B, B, B, "-1", '2')),
    };
}

// Parts columns: 品名 (text 16), 数量 (number 8), 単価 (calculation 10, T 2).
inline std::vector<DefSpec> SamplePartsDefinitions()
{
    return {
        {"NO", 2, 9},
        {Sj("品名"), 2, 16},
        {Sj("数量"), 3, 8, "", "#,###", 0, "F(0)", 0, 0},
        {Sj("単価"), 4, 10, "B*2", "###,###", 0, "", 2, 0},
    };
}

inline RecordLayout SamplePartsLayout()
{
    return RecordLayout{{4, 16, 8, 10}, 2};
}

inline std::vector<Bytes> SamplePartsRecords()
{
    const RecordLayout L = SamplePartsLayout();
    return {
        PartsRecord(L, {Sj("鉄筋"), "1,200", "3,500"}),
        PartsRecord(L, {}),
        PartsRecord(L, {Sj("ｱﾙﾐ 1,5"), "2", "10"}),
    };
}

// Writes the DOS edition's definitions, masters and documents on drive Q.
inline void WriteSampleEdition(const std::function<void(const std::string&, const Bytes&)>& write)
{
    write("dos/MORVEL/MEISAI.ITM", DefinitionFile(SampleEstimateDefinitions(), true));
    write("dos/MORVEL/BUZAI.ITB", DefinitionFile(SamplePartsDefinitions(), false));
    write("dos/MORVEL/JYOUHOU.ITJ", InformationFile(SampleInformation(), true));
    write("dos/MORVEL/DATA/KOUJI1.MIT",
          EstimateDataFile(SampleEstimateLayout(), SampleInformation(), SampleEstimateRecords(), true));
    write("dos/MORVEL/BUZAI/BUZAI01.BZI", PartsDataFile(SamplePartsLayout(), SamplePartsRecords()));
}
