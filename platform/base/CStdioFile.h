// Text files in code page 932, as the Windows text mode reads and writes them.
#pragma once

#include "CFile.h"
#include "CString.h"

class CStdioFile : public CFile {
public:
    // The longest piece ReadString returns; a longer line comes back in several pieces.
    static constexpr int kMaxLineLength = 65534;

    CStdioFile() = default;
    // Opens or throws CFileException.
    CStdioFile(const char* fileName, UINT openFlags);

    // Text mode unless openFlags holds typeBinary.
    BOOL Open(const char* fileName, UINT openFlags, CFileException* pError = nullptr) override;

    // The next line without its line end. Lines end at LF; a CR right before the LF is
    // dropped. In text mode the byte 0x1A ends the file, as it does on Windows. A line
    // longer than kMaxLineLength bytes is returned in pieces, never splitting a double-byte
    // character. FALSE at the end of the file with nothing read.
    BOOL ReadString(CString& line);
    // Writes the text; in text mode every "\n" is written as "\r\n".
    void WriteString(const char* text);

    BOOL IsTextMode() const { return m_bText ? TRUE : FALSE; }

    LONG Seek(LONG offset, UINT from) override;

private:
    bool m_bText = true;
    bool m_bAtEnd = false;     // a 0x1A was read in text mode
    bool m_bPendingCR = false; // a lone CR opens the next piece
};
