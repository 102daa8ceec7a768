// The stored layout shared by every master and form file: the magic text, the record
// count as a 16-bit word, then that many records of a fixed number of archive strings.
// The six table types read and write themselves through these helpers.
#pragma once

#include "platform/base/CString.h"

#include <functional>
#include <vector>

class CArchive;

// Reads magic, count and records from a loading archive.
// - Returns -1 after showing lpszMessage with the exclamation icon when the first string
//   is not strMagic (exactly, byte for byte) or when the stored count exceeds
//   nCapacity; nothing more is read then.
// - Returns 0 with records holding count * nStringsPerRecord strings, record-major.
// - A file that ends early throws CArchiveException (endOfFile) out of the archive;
//   records is then incomplete, which is why callers read into a temporary and take
//   it over only on success.
int LoadStringTable(CArchive& ar, const CString& strMagic, int nCapacity, int nStringsPerRecord,
                    const char* lpszMessage, std::vector<CString>& records);

// Writes magic, the count as a 16-bit word, and the strings of records 0..nCount-1 in
// order, asking getString(record, column) for each.
void StoreStringTable(CArchive& ar, const CString& strMagic, int nCount, int nStringsPerRecord,
                      const std::function<const CString&(int, int)>& getString);

// Writes a whole file from what store() puts into a storing archive. The bytes are
// built in memory first and then replace the file in one step, so the file is never
// left half written and a shorter table leaves no old tail behind. A missing file is
// created. When the file cannot be written, lpszFailMessage is shown with the
// exclamation icon (followed by the path) and FALSE is returned.
BOOL RewriteTableFile(const CString& strPath, const std::function<void(CArchive&)>& store,
                      const char* lpszFailMessage);

// What a failed write of strPath says: lpszFailMessage, the path as this machine shows it,
// the system's reason for err (an errno value) and, when the file exists, that it is
// unchanged. Every writer that replaces a whole file reports through it.
CString FileWriteFailureText(const char* lpszFailMessage, const CString& strPath, int err);

// The count the writers actually store: the in-memory count kept within 0..nCapacity,
// so that a count set out of range by a caller never reads past the table.
int ClampTableCount(int nCount, int nCapacity);
