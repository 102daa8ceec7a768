// CCompoundStorage: a compound file (OLE2 structured storage) held whole in memory, as a
// tree of storages and streams. Reading takes the bytes of a file in one go and gives the
// whole tree or nothing; writing makes the bytes of a new file in memory, which the caller
// puts in place atomically (SaveCompoundFile does both).
//
// This is the narrow interface the rest of the program sees; the format itself is read and
// written by libgsf inside CCompoundFile.cpp. Names are code page 932 texts as the program
// keeps them (the file stores UTF-16). Sector order, directory shape and timestamps are not
// kept from a read to a write (the writer sets none); names, contents, the tree and the
// class ids of storages are.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <array>
#include <memory>
#include <vector>

class CCompoundStorage {
public:
    using ClassId = std::array<BYTE, 16>;

    CCompoundStorage() = default;
    ~CCompoundStorage();
    // A deep copy: every stream's bytes and every storage below.
    CCompoundStorage(const CCompoundStorage& other);
    CCompoundStorage& operator=(const CCompoundStorage& other);
    CCompoundStorage(CCompoundStorage&&) noexcept = default;
    CCompoundStorage& operator=(CCompoundStorage&&) noexcept = default;

    // ---- streams ------------------------------------------------------------------------
    // The bytes of the stream of that name directly in this storage; null when there is
    // none. Names compare exactly.
    const std::vector<BYTE>* FindStream(const CString& name) const;
    // Creates the stream or replaces its bytes.
    void SetStream(const CString& name, std::vector<BYTE> bytes);

    // ---- storages -----------------------------------------------------------------------
    const CCompoundStorage* FindStorage(const CString& name) const;
    CCompoundStorage* FindStorage(const CString& name);
    // Puts a copy of storage under the name (replacing whatever had that name).
    CCompoundStorage& SetStorage(const CString& name, CCompoundStorage storage);
    // Removes the stream or storage of that name; FALSE when there was none.
    BOOL Remove(const CString& name);

    // ---- walking ------------------------------------------------------------------------
    struct CChild {
        CString strName;
        std::unique_ptr<std::vector<BYTE>> pStream; // set for a stream
        std::unique_ptr<CCompoundStorage> pStorage; // set for a storage
    };
    const std::vector<CChild>& GetChildren() const { return m_children; }
    INT_PTR GetChildCount() const { return static_cast<INT_PTR>(m_children.size()); }

    // The storage's class id (all zero when none is set).
    ClassId m_clsid{};

    // Same names, kinds, bytes and class ids all the way down (child order ignored).
    BOOL IsSameAs(const CCompoundStorage& other) const;

private:
    CChild* FindChild(const CString& name);
    const CChild* FindChild(const CString& name) const;

    std::vector<CChild> m_children;
};

// Reads a compound file from memory into root (replacing what it held). FALSE, with root
// unchanged, when the bytes are not a compound file or are damaged anywhere in the tree.
BOOL ReadCompoundFile(const BYTE* pData, size_t nSize, CCompoundStorage& root);
// Reads the file at a path (Windows-form CP932 path). FALSE when it cannot be read or is
// not a compound file; root is unchanged then.
BOOL LoadCompoundFile(const char* lpszPath, CCompoundStorage& root);
// The bytes of a version-3 compound file holding the tree. FALSE (out untouched) only when
// the writer fails, e.g. for a name longer than the format's 31 characters.
BOOL WriteCompoundFile(const CCompoundStorage& root, std::vector<BYTE>& out);
// Writes the tree to a file: the bytes are made in memory and replace the old file in one
// step, so a failure leaves the old file as it was.
BOOL SaveCompoundFile(const char* lpszPath, const CCompoundStorage& root);
