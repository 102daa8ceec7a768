#include "app/MasterFileIo.h"

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"

#include <cerrno>

int LoadStringTable(CArchive& ar, const CString& strMagic, int nCapacity, int nStringsPerRecord,
                    const char* lpszMessage, std::vector<CString>& records)
{
    records.clear();

    CString strStored;
    ar >> strStored;
    if (strStored != strMagic) {
        AfxMessageBox(lpszMessage, MB_ICONEXCLAMATION);
        return -1;
    }

    WORD wCount = 0;
    ar >> wCount;
    // The tables have room for nCapacity records only; a larger count means a damaged
    // or foreign file, refused like a wrong magic rather than read past the table.
    if (static_cast<int>(wCount) > nCapacity) {
        AfxMessageBox(lpszMessage, MB_ICONEXCLAMATION);
        return -1;
    }

    const size_t nStrings = static_cast<size_t>(wCount) * static_cast<size_t>(nStringsPerRecord);
    records.resize(nStrings);
    for (size_t i = 0; i < nStrings; ++i)
        ar >> records[i];
    return 0;
}

void StoreStringTable(CArchive& ar, const CString& strMagic, int nCount, int nStringsPerRecord,
                      const std::function<const CString&(int, int)>& getString)
{
    ar << strMagic;
    ar << static_cast<WORD>(nCount & 0xFFFF);
    for (int i = 0; i < nCount; ++i) {
        for (int j = 0; j < nStringsPerRecord; ++j)
            ar << getString(i, j);
    }
}

BOOL RewriteTableFile(const CString& strPath, const std::function<void(CArchive&)>& store,
                      const char* lpszFailMessage)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        store(ar);
        ar.Close();
    }
    const std::vector<BYTE>& data = file.GetData();
    const BYTE* bytes = data.empty() ? nullptr : data.data();
    if (WriteFileAtomically(strPath, bytes, data.size()))
        return TRUE;

    AfxMessageBox(FileWriteFailureText(lpszFailMessage, strPath, errno), MB_ICONEXCLAMATION);
    return FALSE;
}

CString FileWriteFailureText(const char* lpszFailMessage, const CString& strPath, int err)
{
    CString strText(lpszFailMessage);
    strText += "\n";
    strText += DisplayPath(strPath);
    // Why, in the program's words (a full disk, a read-only folder); the old file was
    // never touched.
    strText += "\n";
    strText += CFileException(CFile::ErrnoToCause(err), err).GetErrorText();
    if (FileExists(strPath)) {
        strText += "\n";
        strText += "元のファイルは変更されていません。"_sj;
    }
    return strText;
}

int ClampTableCount(int nCount, int nCapacity)
{
    if (nCount < 0)
        return 0;
    return nCount > nCapacity ? nCapacity : nCount;
}
