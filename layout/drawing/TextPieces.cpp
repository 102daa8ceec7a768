#include "layout/drawing/TextPieces.h"

#include "platform/base/TypedNumber.h"

#include <cstdlib>
#include <string>

namespace TextPieces {

namespace {

const CString kNumbering = "$番号("_sj;
const CString kInformation = "$情報("_sj;
// Every opening is six bytes: "$", two double-byte characters and "(".
constexpr int OPENING_LENGTH = 6;

bool StartsWith(const CString& text, const CString& prefix)
{
    return text.GetLength() >= prefix.GetLength() && text.Left(prefix.GetLength()) == prefix;
}

} // namespace

std::vector<CString> Split(const CString& strText)
{
    std::vector<CString> pieces;
    const int nLen = strText.GetLength();
    int nStart = 0;
    int nDollars = 0;
    for (int i = 0; i < nLen; ++i) {
        if (strText[i] == '$') {
            if (++nDollars == 1) {
                if (nStart <= i - 1)
                    pieces.push_back(strText.Mid(nStart, i - nStart));
                nStart = i;
                // A "$" that ends the text opens nothing: it stays a piece of its own
                // rather than vanish when the pieces are joined again.
                if (i == nLen - 1)
                    pieces.push_back(strText.Mid(i));
            } else {
                pieces.push_back(strText.Mid(nStart, i - nStart + 1));
                nDollars = 0;
                nStart = i + 1;
            }
        } else if (i == nLen - 1 && nStart <= i) {
            pieces.push_back(strText.Mid(nStart));
        }
    }
    return pieces;
}

bool IsWellFormed(const CString& piece)
{
    const int n = piece.Find(")$");
    return n >= 0 && n == piece.GetLength() - 2;
}

CString ForTarget(const CString& piece, int nTarget, const CString& strFieldOpening)
{
    if (nTarget == 0 || !IsWellFormed(piece))
        return piece;
    CString out;
    if (piece.Find(strFieldOpening) >= 0) {
        // The row is what follows the last comma. A field without any comma has no row:
        // counting up would replace the whole field by a number, so it stays as it is.
        const int nComma = piece.ReverseFind(',');
        if (nComma < 0)
            return piece;
        const CString strRow = piece.Mid(nComma + 1, piece.GetLength() - nComma - 3);
        out.Format("%s%d)$", piece.Left(nComma + 1).c_str(), std::atoi(strRow) + nTarget);
        return out;
    }
    if (piece.Find(kNumbering) >= 0) {
        const CString strStart = piece.Mid(OPENING_LENGTH, piece.GetLength() - OPENING_LENGTH - 2);
        out.Format("%s%d)$", kNumbering.c_str(), std::atoi(strStart) + nTarget);
        return out;
    }
    return piece;
}

CString JoinForTarget(const std::vector<CString>& pieces, int nTarget, const CString& strFieldOpening)
{
    CString out;
    for (const CString& piece : pieces)
        out += ForTarget(piece, nTarget, strFieldOpening);
    return out;
}

CString ItemWithOccurrence(const CString& strName, int k)
{
    if (k <= 0)
        return strName;
    CString out;
    out.Format("%s^%d", strName.c_str(), k);
    return out;
}

int OccurrenceOf(const std::vector<CString>& names, int nIndex)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(names.size()))
        return 0;
    int k = 0;
    for (int i = 0; i < nIndex; ++i) {
        if (names[static_cast<size_t>(i)] == names[static_cast<size_t>(nIndex)])
            ++k;
    }
    return k;
}

int FindOccurrence(const std::vector<CString>& names, const CString& strItem)
{
    CString strName = strItem;
    int k = 0;
    const int nCaret = strItem.Find('^');
    if (nCaret >= 0) {
        strName = strItem.Left(nCaret);
        k = std::atoi(strItem.Mid(nCaret + 1));
    }
    int nSeen = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == strName && nSeen++ == k)
            return static_cast<int>(i);
    }
    return -1;
}

bool ReadDataField(const CString& piece, const CString& strOpening, CString& strGroup, CString& strItem,
                   CString& strRow)
{
    if (!StartsWith(piece, strOpening) || !IsWellFormed(piece))
        return false;
    const int nFirst = piece.Find(',');
    const int nLast = piece.ReverseFind(',');
    if (nFirst < 0)
        return false;
    strGroup = piece.Mid(OPENING_LENGTH, nFirst - OPENING_LENGTH);
    // With one comma the item between the first and the last comma is empty.
    strItem = nLast > nFirst ? piece.Mid(nFirst + 1, nLast - nFirst - 1) : CString();
    strRow = piece.Mid(nLast + 1, piece.GetLength() - nLast - 3);
    return true;
}

bool ReadInformationField(const CString& piece, CString& strItem)
{
    if (!StartsWith(piece, kInformation) || !IsWellFormed(piece))
        return false;
    strItem = piece.Mid(OPENING_LENGTH, piece.GetLength() - OPENING_LENGTH - 2);
    return true;
}

bool ReadNumbering(const CString& piece, CString& strStart)
{
    if (!StartsWith(piece, kNumbering) || !IsWellFormed(piece))
        return false;
    strStart = piece.Mid(OPENING_LENGTH, piece.GetLength() - OPENING_LENGTH - 2);
    return true;
}

bool ReadFieldNumber(const CString& strText, CString& strNumber)
{
    std::string plain;
    if (!ReadTypedNumberText(strText, plain) || plain.find_first_not_of("0123456789") != std::string::npos ||
        plain.size() > 8 || std::atoi(plain.c_str()) < 1)
        return false;
    strNumber = CString(std::to_string(std::atoi(plain.c_str())).c_str());
    return true;
}

bool IsUsableItemName(const CString& strName, bool bDataField)
{
    if (strName.IsEmpty() || strName.Find('$') >= 0 || strName.Find('^') >= 0)
        return false;
    return !bDataField || strName.Find(',') < 0;
}

} // namespace TextPieces
