// The exceptions the framework throws: file failures, archive failures (a stored file
// that ends early), and memory. They are thrown by value of a pointer-free class here and
// caught by reference; Delete() exists so that handlers written in the usual style work.
#pragma once

#include "CString.h"

class CException {
public:
    virtual ~CException() = default;
    void Delete() {}
    virtual BOOL GetErrorMessage(char* buffer, UINT maxLen) const;
    virtual CString GetErrorText() const = 0;
};

class CFileException : public CException {
public:
    enum {
        none = 0,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };
    CFileException(int cause = none, LONG osError = -1, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
    {
    }
    CString GetErrorText() const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException {
public:
    enum { none = 0, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none, const CString& fileName = CString())
        : m_cause(cause), m_strFileName(fileName)
    {
    }
    CString GetErrorText() const override;

    int m_cause;
    CString m_strFileName;
};

class CMemoryException : public CException {
public:
    CString GetErrorText() const override;
};
