// COutsideEstimateReader: reads the estimate data of the two outside estimating packages
// (the TP5000 data ".MVL" and the RX3000 sales and detailed data ".RXA", ".RXB") into rows
// of field texts, and converter-information files (".inf") into the field-to-column map.
// It knows nothing of views or documents: CMorvelEMDoc::ImportConvertedFile places what it
// read into the estimate's rows.
//
// A data file is text in code page 932: a header line, a title line, two lines that are
// skipped, then data lines (comma-separated fields) and control lines ("@" and a letter
// that sets the kind of the next data line). Everything read from the file is checked
// before use: lines are cut into pieces of at most MAX_LINE bytes, a field keeps at most
// MAX_FIELD bytes, a map holds at most MAX_POSITIONS field positions.
#pragma once

#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class COutsideEstimateReader {
public:
    enum { MAX_LINE = 65534, MAX_FIELD = 2047, MAX_POSITIONS = 2048 };
    enum { kindMvl = 1, kindRxa = 2, kindRxb = 3 };

    // One data line and the kind it gets.
    struct CRow {
        ERowKind nKind = kindDetail; // or the kind a control line set
        bool bControlled = false; // a control line came right before it
        std::vector<CString> fields;
    };

    // What the header of a data file asks for.
    enum HeaderResult {
        headerOk,         // strInfName names the converter-information file to use
        headerUnknown,    // neither "M..." nor "@M..." (nor a version header for ".RXB")
        headerTruncated,  // the file ends before its header, title and skipped lines
        headerNoConverter // a header that no converter-information file serves
    };

    // Splits the file's bytes into its lines as a text-mode read with the line limit does
    // (CR LF and LF end a line; a longer line comes in pieces, never splitting a
    // double-byte character).
    static std::vector<std::string_view> SplitLines(std::string_view data);

    // Field i of a data line: the text between comma i - 1 and comma i, without double
    // quotes, CR and LF, its trailing blanks cut, at most MAX_FIELD bytes. Empty when the
    // line has no field i.
    static CString GetField(std::string_view line, int nField);
    // All fields of a data line at once (what GetField gives for 0, 1, ...).
    static void SplitFields(std::string_view line, std::vector<CString>& fields);

    // The entries of a converter-information file's first line: only the letters A to Z of
    // each entry count (lower case taken as upper case). At most MAX_POSITIONS entries.
    static std::vector<CString> ParseConverterLine(std::string_view data);

    // The kind a control line sets for the next data line (kindEmpty for one it does not
    // know).
    static ERowKind GetControlKind(std::string_view line);

    // Reads a whole data file of the source kind. On headerOk the rows, the title and
    // the converter file's name (without folder: "mvl2.inf", "rxbv2.inf", ...) are set,
    // and strMissingMessage holds the text to show when that file cannot be read.
    HeaderResult Read(std::string_view data, int nSourceKind);

    CString m_strInfName;
    CString m_strMissingMessage;
    CString m_strTitle;
    std::vector<CRow> m_rows;
};
