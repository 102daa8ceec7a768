// Texts of the framework's exceptions, as a user reads them in a message box.
#include "platform/base/CException.h"

#include "platform/base/Cp932.h"

#include <cstring>

BOOL CException::GetErrorMessage(char* buffer, UINT maxLen) const
{
    if (!buffer || maxLen == 0)
        return FALSE;
    const CString text = GetErrorText();
    // Cut to the buffer without splitting a double-byte character.
    size_t n = 0;
    const size_t limit = maxLen - 1;
    while (n < static_cast<size_t>(text.GetLength())) {
        const size_t len = static_cast<size_t>(Cp932CharLength(text.c_str() + n));
        if (n + len > limit)
            break;
        n += len;
    }
    std::memcpy(buffer, text.c_str(), n);
    buffer[n] = '\0';
    return TRUE;
}

namespace {

// "<file>: <reason>" when the file is known, the reason alone otherwise.
CString WithFileName(const CString& fileName, const CString& reason)
{
    if (fileName.IsEmpty())
        return reason;
    return fileName + " : "_sj + reason;
}

} // namespace

CString CFileException::GetErrorText() const
{
    CString reason;
    switch (m_cause) {
    case none:
        reason = "エラーはありません。"_sj;
        break;
    case fileNotFound:
        reason = "ファイルが見つかりません。"_sj;
        break;
    case badPath:
        reason = "パスの全部または一部が正しくありません。"_sj;
        break;
    case tooManyOpenFiles:
        reason = "開いているファイルが多すぎます。"_sj;
        break;
    case accessDenied:
        reason = "ファイルにアクセスできません。"_sj;
        break;
    case invalidFile:
        reason = "ファイルが正しくありません。"_sj;
        break;
    case removeCurrentDir:
        reason = "現在のフォルダは削除できません。"_sj;
        break;
    case directoryFull:
        reason = "フォルダがいっぱいです。"_sj;
        break;
    case badSeek:
        reason = "ファイルの位置を設定できません。"_sj;
        break;
    case hardIO:
        reason = "ハードウェアの入出力エラーが発生しました。"_sj;
        break;
    case sharingViolation:
        reason = "ファイルは他のプログラムで使用中です。"_sj;
        break;
    case lockViolation:
        reason = "ファイルはロックされています。"_sj;
        break;
    case diskFull:
        reason = "ディスクがいっぱいです。"_sj;
        break;
    case endOfFile:
        reason = "ファイルの終わりを越えて読み込もうとしました。"_sj;
        break;
    default:
        reason = "ファイルの処理中にエラーが発生しました。"_sj;
        break;
    }
    return WithFileName(m_strFileName, reason);
}

CString CArchiveException::GetErrorText() const
{
    CString reason;
    switch (m_cause) {
    case none:
        reason = "エラーはありません。"_sj;
        break;
    case readOnly:
        reason = "読み込み用に開いたファイルに書き込もうとしました。"_sj;
        break;
    case endOfFile:
        reason = "ファイルの終わりに達しました。ファイルが壊れている可能性があります。"_sj;
        break;
    case writeOnly:
        reason = "書き込み用に開いたファイルから読み込もうとしました。"_sj;
        break;
    case badIndex:
    case badClass:
    case badSchema:
        reason = "ファイルの形式が正しくありません。"_sj;
        break;
    default:
        reason = "ファイルの読み書き中にエラーが発生しました。"_sj;
        break;
    }
    return WithFileName(m_strFileName, reason);
}

CString CMemoryException::GetErrorText() const
{
    return "メモリが不足しています。"_sj;
}
