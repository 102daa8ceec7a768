// The readers of the DOS edition's files: its environment ("MORINTL.IDT"), its masters
// ("TANNI.TDT", "KAMOKU1.KM1" .. "KAMOKU3.KM3", "BUNRUI.BDT"), its column definitions
// ("MEISAI.ITM", "BUZAI.ITB", "JYOUHOU.ITJ") and its documents (*.MIT estimates, *.BZI
// parts lists). Everything is read-only: nothing here writes a file or shows a message.
//
// The DOS files are fixed records of little-endian numbers (16-bit ones signed) and code
// page 932 texts in fixed-width fields. The readers fill the working tables of
// CDosTables (the one place the conversion keeps what it has read); the conversion
// driver builds this program's files from them. Results follow the DOS edition's
// conventions: 1 (or 0 where stated) for success, -1 for failure.
//
// Every number read from a file is checked before it is used: a record size, count,
// field offset or width that does not fit the record or the file makes the reader fail
// instead of reading outside what was read. Files are read whole into memory first, so
// no reader can run past the bytes the file actually has.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// What kind of DOS file a routine works on.
enum DosKind { dosKindEstimate = 1, dosKindParts = 2, dosKindInformation = 6 };

// Row types of a DOS estimate record (ClassifyDosEstimateRow).
enum DosRowType {
    dosRowKind = 1,         // 種目行
    dosRowLarge = 2,        // 大科目行
    dosRowMiddle = 3,       // 中科目行
    dosRowSmall = 4,        // 小科目行
    dosRowKindTotal = 5,    // 種目合計行
    dosRowLargeTotal = 6,   // 大科目合計行
    dosRowMiddleTotal = 7,  // 中科目合計行
    dosRowSmallTotal = 8,   // 小科目合計行
    dosRowKindDiscount = 9, // 種目値引計行
    dosRowLargeDiscount = 10,
    dosRowMiddleDiscount = 11,
    dosRowSmallDiscount = 12,
    dosRowGrandTotal = 13,         // 総合計行
    dosRowDiscountGrandTotal = 14, // 値引総合計行
    dosRowDiscount = 15,           // 値引行
    dosRowTax = 16,                // 消費税行
    dosRowClassify = 17,           // 分類行
    dosRowStep = 18,               // 歩掛行
    dosRowClassify2 = 19,          // the second classification row
    dosRowDetail = 20              // 細目行
};

// Folders of the DOS edition, each without a trailing backslash.
struct DosEnvironment {
    CString estimateData;
    CString estimateDefinitions;
    CString partsData;
    CString partsDefinitions;
    CString masters;
    CString informationDefinitions;
};

// One column definition of "MEISAI.ITM" or "BUZAI.ITB" (an 86-byte record).
struct DosItemDefinition {
    enum { RECORD_SIZE = 86 };
    CString name;    // item name
    int type = 0;    // 2 text, 3 number, 4 sum A / calculation, 5 sum B, 6 sum C
    int width = 0;   // field width in the data record, in bytes
    CString formula; // calculation formula
    CString picture; // number picture
    int offset = 0;  // the field's offset in the data record (computed, not read)
    int v = 0;       // V value (estimates)
    CString rounding;
    int t = 0; // T value; 0 none
    int b = 0; // B character (estimates); 0 none
};

// One information item (136 bytes; the untagged 106-byte form is widened to it).
struct DosInformationItem {
    enum { RECORD_SIZE = 136, OLD_RECORD_SIZE = 106, TYPE_END = 8 };
    CString value; // the item's value in a document
    CString name;
    int type = 0; // 2 text, 3 number, 4 with tax, 5 tax, 6 without tax, 7 calculation, 8 end
    int width = 0;
    CString picture;
    CString formula;
    CString rounding;
    int e = 0; // signed
    char letter = 0;
};

// A DOS file, read whole: a position over its bytes. Reads never go past the end; a read
// that cannot be satisfied whole reads nothing and says so.
class CDosStream {
public:
    // Reads the file; FALSE when it cannot be opened or read.
    BOOL Open(const char* lpszPath);
    // The bytes themselves (tests and fuzzing feed bytes without a file).
    void OpenBytes(std::vector<BYTE> data);
    void Close();
    BOOL IsOpen() const { return m_bOpen; }
    // Copies n bytes to p and moves on; FALSE (nothing read, position unchanged) when
    // fewer than n bytes are left.
    BOOL Read(void* p, size_t n);
    BOOL Skip(size_t n);
    size_t GetPosition() const { return m_nPos; }
    size_t GetLength() const { return m_data.size(); }
    // FALSE when the position lies beyond the end.
    BOOL Seek(size_t nPos);

private:
    std::vector<BYTE> m_data;
    size_t m_nPos = 0;
    BOOL m_bOpen = FALSE;
};

// The working tables: what the readers have read. One object for the whole program
// (CDosTables::Get()), as the conversion runs one pass at a time.
class CDosTables {
public:
    // The master tables hold at most 99 entries and the information item table 27, as in
    // the DOS edition. A definition file may describe at most 101 definitions (the
    // leading field and 100 columns, all a form can hold).
    enum {
        MAX_MASTER_ENTRIES = 99,
        MAX_INFORMATION_ITEMS = 27,
        MAX_DEFINITIONS = 101,
        MAX_NUMBER_CHARS = 51,
        VERSION_TAG_SIZE = 10,
        DEFINITION_BLOCK_SIZE = 40,
        INFORMATION_BLOCKS = 27,
        INFORMATION_BLOCK_SIZE = 44,
        ESTIMATE_TAIL = 19,
        PARTS_TAIL = 2,
        SEPARATOR = 0xA0
    };

    static CDosTables& Get();
    // Everything back to the state of a fresh program.
    void Reset();

    DosEnvironment environment;
    std::vector<DosItemDefinition> estimateDefinitions;
    std::vector<DosItemDefinition> partsDefinitions;
    // The current table: the definitions the record routines read, with their offsets.
    std::vector<DosItemDefinition> definitions;
    int nDefinitionCount = 0;

    std::vector<CString> units;
    std::vector<std::pair<CString, CString>> subjects;    // (name, unit)
    std::vector<std::pair<CString, int>> classifications; // (name, percentage)
    std::vector<DosInformationItem> informationItems;

    // The last header read and the version tag of the last file.
    int nHeaderRecordSize = 0;
    int nHeaderRecordCount = 0;
    int nFieldOffset[2] = {0, 0}; // master field table
    int nFieldWidth[2] = {0, 0};
    BOOL bTagged = FALSE;

    // The record layout of the current table and the record buffer.
    int nRecordKind = 0;
    int nRecordSize = 0;
    std::vector<BYTE> record;
};

// ---- the readers ------------------------------------------------------------------------
// "MORINTL.IDT" of the folder (which ends in a backslash) into the environment: 1, or -1
// when the file is missing or shorter than the oldest layout. A failure leaves the
// environment as it was.
int ReadDosEnvironment(const char* lpszFolder);
// Opens a file for reading: 0, or -1.
int OpenDosFile(const char* lpszPath, CDosStream& stream);
// The optional 10-byte version tag "2.00...": sets CDosTables::bTagged. Parts data files
// (kind 2) are never tagged. Returns 0.
int ReadDosVersionTag(int nKind, CDosStream& stream);
// Record size and record count: 1, or -1 (stream closed) when 4 bytes are not there.
int ReadDosHeader(CDosStream& stream);
// The header and the master field table: 1, or -1 (stream closed).
int ReadDosMasterHeader(CDosStream& stream);
// "MEISAI.ITM" (kind 1) or "BUZAI.ITB" (any other kind) into table: 0, or -1 when the
// file is missing, short, or holds negative widths or more definitions than a form has
// columns. Sets the definition count.
int ReadDosItemDefinitions(int nKind, std::vector<DosItemDefinition>& table);
// Parts definitions, then estimate definitions, each made current after a good read:
// 1, or -1 when both fail.
int LoadDosItemDefinitions();
// The master working tables: 1 when at least one record was taken, else -1.
int ReadDosUnits();
int ReadDosSubjects(int nLevel); // 0 large, 1 middle, 2 small
int ReadDosClassifications();
// "JYOUHOU.ITJ" into the information item table: 1, or -1.
int ReadDosInformationDefinitions();
// Kind 1 estimates, 2 parts, 6 information: 1, or -1.
int ReadDosFormDefinitions(int nKind);
// The kind's definitions become current; offsets and the record size are computed and
// the record buffer is made that large. -1 when the kind has no definitions.
int PrepareDosRecordLayout(int nKind);
// Offsets and record size of the current table for the kind (ComputeDosRecordSize).
int ComputeDosRecordSize(int nKind);
// The record size check of a data file whose header has been read: the header's record
// size is the one the definitions give, and the file's last record has a separator byte
// in front of every field after the first. 0 with the stream where it was; 1 (stream
// closed) otherwise. A file without records passes on its size alone.
int CheckDosRecordSize(CDosStream& stream);
// The data file's header after the version tag, with its checks: 0, the stream at the
// first data record; 1 (stream closed) when the file does not fit the definitions.
int ReadDosDataHeader(int nKind, CDosStream& stream);
// The next data record into the record buffer; FALSE at the end of the file.
BOOL ReadDosRecord(CDosStream& stream);

// ---- the record in the buffer -------------------------------------------------------------
int ClassifyDosEstimateRow();
BOOL IsDosNonCalcRow();
BOOL IsDosSummaryPageRow();
struct DosStepParameters {
    int column = 0;
    int value = 0;
    int hundreds = 0;
};
struct DosClassifyParameters {
    int value = 0;
    int negative = 0;
    int hundreds = 0;
    int second = 0;
    int column = 0;
};
DosStepParameters ReadDosStepParameters();
DosClassifyParameters ReadDosClassifyParameters();
// Field nIndex (1 .. count-1) of the record in the buffer, up to its first zero byte.
CString GetDosRecordField(int nIndex);

// ---- bytes ----------------------------------------------------------------------------------
// The bytes of p from the start up to the first zero byte or nWidth bytes.
CString ExtractDosField(const BYTE* p, size_t nWidth);
// A fixed-width numeric field: digits, '-' and '.' kept, ' ' and ',' skipped, anything
// else (a zero byte too) gives 0; at most 51 characters are taken.
double ParseDosNumber(const BYTE* p, size_t nWidth);
// The path of a file in a folder: folder + "\" + name.
CString MakeDosFilePath(const char* lpszFolder, const char* lpszName);
