// The text of a text object or table cell as the text-property dialogs edit it: an ordered
// list of pieces, each either a run of plain text or one field token ("$" to "$"), and the
// field tokens the dialogs build from a group, an item of a form and a row.
//
// Cutting walks the bytes: a "$" opens a token and the next "$" closes it. The byte "$" is
// never the second byte of a double-byte character, so no lead-byte rule is needed. A "$"
// that nothing closes stays a piece of its own together with what follows it, also when it
// is the text's last byte: joining the pieces again always gives the text back.
//
// Item names in tokens may carry an occurrence suffix "^k" (k >= 1): the token then names
// the k-th item (from 0) of that name in the form, for forms that hold a name twice.
#pragma once

#include "platform/base/CString.h"

#include <vector>

namespace TextPieces {

// The pieces of a text in order; their concatenation is the text.
std::vector<CString> Split(const CString& strText);

// TRUE when the first ")$" of the piece is its last two bytes.
bool IsWellFormed(const CString& piece);

// The piece as target nTarget (0 = the first) of a multi-row edit shows it: a well-formed
// data field with the given opening ("$見積(" or "$部材(") gets the number after its last
// comma raised by nTarget, a well-formed "$番号(" piece its start raised by nTarget; any
// other piece, and a field without a comma, stays as it is. Numbers are read as atoi
// reads them.
CString ForTarget(const CString& piece, int nTarget, const CString& strFieldOpening);

// The joined text of target nTarget.
CString JoinForTarget(const std::vector<CString>& pieces, int nTarget, const CString& strFieldOpening);

// "name" for the first item of that name, "name^k" for the k-th (k >= 1).
CString ItemWithOccurrence(const CString& strName, int k);
// The occurrence of entry nIndex among the entries of names with the same text (from 0).
int OccurrenceOf(const std::vector<CString>& names, int nIndex);
// The entry of names that "name^k" (or "name") names; -1 when there is none.
int FindOccurrence(const std::vector<CString>& names, const CString& strItem);

// A data field "$見積(" group "," item "," row ")$" read back: the group (bytes between the
// opening and the first comma), the item (between the first and the last comma) and the
// row (after the last comma up to the closing ")$"; with one comma the item is empty).
// FALSE when the piece does not start with the opening, is not well formed or has no comma.
bool ReadDataField(const CString& piece, const CString& strOpening, CString& strGroup, CString& strItem,
                   CString& strRow);
// The argument of "$情報(" item ")$" (between the opening and the closing ")$").
bool ReadInformationField(const CString& piece, CString& strItem);
// The start of "$番号(" start ")$".
bool ReadNumbering(const CString& piece, CString& strStart);

// What a user may type as a group, a row or a numbering start: a whole number from 1 to
// 99999999, typed as any number is ("３", "1,200"). Sets strNumber to its ASCII digits, the
// form the token keeps; false for anything else, which would either print nothing sensible
// or break the token apart (",", ")$").
bool ReadFieldNumber(const CString& strText, CString& strNumber);
// An item name a token can carry: not empty, no "$" (it would end the token), no "^" (it
// would read as an occurrence suffix) and, for data fields, no "," (the field's key and row
// are found by its commas).
bool IsUsableItemName(const CString& strName, bool bDataField);

} // namespace TextPieces
