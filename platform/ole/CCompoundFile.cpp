#include "platform/ole/CCompoundFile.h"

#include "platform/base/Cp932.h"
#include "platform/base/Path.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>

namespace {

// libgsf needs its type system set up once; its own warnings about damaged files go to a
// handler that drops them (a damaged file is reported to the user by the caller).
void InitialiseGsf()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        g_log_set_handler(
            "libgsf:msole",
            static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        g_log_set_handler(
            "libgsf",
            static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
        // Some of its reports about damaged directories carry no domain.
        g_log_set_handler(
            nullptr, static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    });
}

// Owns one GObject reference.
template <class T>
struct CGObjectRef {
    T* p = nullptr;
    explicit CGObjectRef(T* pObject = nullptr) : p(pObject) {}
    ~CGObjectRef()
    {
        if (p)
            g_object_unref(p);
    }
    CGObjectRef(const CGObjectRef&) = delete;
    CGObjectRef& operator=(const CGObjectRef&) = delete;
};

// No stream can be larger than the file that holds it; a directory that claims otherwise
// is damaged. Nesting deeper than this is taken as damage too (a cycle in the directory).
constexpr int kMaxDepth = 64;

bool ReadStorage(GsfInfile* pInfile, CCompoundStorage& storage, size_t nFileSize, int nDepth)
{
    if (nDepth > kMaxDepth)
        return false;
    guint8 clsid[16];
    if (GSF_IS_INFILE_MSOLE(pInfile) && gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(pInfile), clsid))
        std::copy(std::begin(clsid), std::end(clsid), storage.m_clsid.begin());
    const int nChildren = gsf_infile_num_children(pInfile);
    for (int i = 0; i < nChildren; ++i) {
        const char* pszName = gsf_infile_name_by_index(pInfile, i);
        if (pszName == nullptr)
            return false;
        CGObjectRef<GsfInput> child(gsf_infile_child_by_index(pInfile, i));
        if (child.p == nullptr)
            return false;
        const CString name(Utf8ToCp932(pszName));
        // A storage has children (possibly none); a stream answers -1.
        const bool bStorage = GSF_IS_INFILE(child.p) && gsf_infile_num_children(GSF_INFILE(child.p)) >= 0;
        if (bStorage) {
            CCompoundStorage sub;
            if (!ReadStorage(GSF_INFILE(child.p), sub, nFileSize, nDepth + 1))
                return false;
            storage.SetStorage(name, std::move(sub));
            continue;
        }
        const gsf_off_t nSize = gsf_input_size(child.p);
        if (nSize < 0 || static_cast<size_t>(nSize) > nFileSize)
            return false;
        std::vector<BYTE> bytes(static_cast<size_t>(nSize));
        if (nSize > 0 && gsf_input_read(child.p, static_cast<size_t>(nSize), bytes.data()) == nullptr)
            return false;
        storage.SetStream(name, std::move(bytes));
    }
    return true;
}

bool WriteStorage(GsfOutfile* pOutfile, const CCompoundStorage& storage)
{
    if (GSF_IS_OUTFILE_MSOLE(pOutfile)) {
        const bool bHasClass =
            std::any_of(storage.m_clsid.begin(), storage.m_clsid.end(), [](BYTE b) { return b != 0; });
        if (bHasClass)
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(pOutfile), storage.m_clsid.data());
    }
    for (const CCompoundStorage::CChild& child : storage.GetChildren()) {
        const std::string name = Cp932ToUtf8(child.strName.c_str());
        // The format's directory entries hold at most 31 UTF-16 units.
        if (name.empty() || g_utf8_strlen(name.c_str(), -1) > 31)
            return false;
        CGObjectRef<GsfOutput> out(gsf_outfile_new_child(pOutfile, name.c_str(), child.pStorage != nullptr));
        if (out.p == nullptr)
            return false;
        bool ok = true;
        if (child.pStorage)
            ok = WriteStorage(GSF_OUTFILE(out.p), *child.pStorage);
        else if (!child.pStream->empty())
            ok = gsf_output_write(out.p, child.pStream->size(), child.pStream->data());
        ok = gsf_output_close(out.p) && ok;
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------
// The tree
// ---------------------------------------------------------------------------------------
CCompoundStorage::~CCompoundStorage() = default;

CCompoundStorage::CCompoundStorage(const CCompoundStorage& other)
{
    *this = other;
}

CCompoundStorage& CCompoundStorage::operator=(const CCompoundStorage& other)
{
    if (this == &other)
        return *this;
    std::vector<CChild> children;
    children.reserve(other.m_children.size());
    for (const CChild& child : other.m_children) {
        CChild copy;
        copy.strName = child.strName;
        if (child.pStream)
            copy.pStream = std::make_unique<std::vector<BYTE>>(*child.pStream);
        if (child.pStorage)
            copy.pStorage = std::make_unique<CCompoundStorage>(*child.pStorage);
        children.push_back(std::move(copy));
    }
    m_children = std::move(children);
    m_clsid = other.m_clsid;
    return *this;
}

CCompoundStorage::CChild* CCompoundStorage::FindChild(const CString& name)
{
    for (CChild& child : m_children) {
        if (child.strName == name)
            return &child;
    }
    return nullptr;
}

const CCompoundStorage::CChild* CCompoundStorage::FindChild(const CString& name) const
{
    return const_cast<CCompoundStorage*>(this)->FindChild(name);
}

const std::vector<BYTE>* CCompoundStorage::FindStream(const CString& name) const
{
    const CChild* pChild = FindChild(name);
    return pChild ? pChild->pStream.get() : nullptr;
}

void CCompoundStorage::SetStream(const CString& name, std::vector<BYTE> bytes)
{
    CChild* pChild = FindChild(name);
    if (pChild == nullptr) {
        m_children.push_back(CChild{name, nullptr, nullptr});
        pChild = &m_children.back();
    }
    pChild->pStorage.reset();
    pChild->pStream = std::make_unique<std::vector<BYTE>>(std::move(bytes));
}

const CCompoundStorage* CCompoundStorage::FindStorage(const CString& name) const
{
    const CChild* pChild = FindChild(name);
    return pChild ? pChild->pStorage.get() : nullptr;
}

CCompoundStorage* CCompoundStorage::FindStorage(const CString& name)
{
    CChild* pChild = FindChild(name);
    return pChild ? pChild->pStorage.get() : nullptr;
}

CCompoundStorage& CCompoundStorage::SetStorage(const CString& name, CCompoundStorage storage)
{
    CChild* pChild = FindChild(name);
    if (pChild == nullptr) {
        m_children.push_back(CChild{name, nullptr, nullptr});
        pChild = &m_children.back();
    }
    pChild->pStream.reset();
    pChild->pStorage = std::make_unique<CCompoundStorage>(std::move(storage));
    return *pChild->pStorage;
}

BOOL CCompoundStorage::Remove(const CString& name)
{
    auto it = std::find_if(m_children.begin(), m_children.end(),
                           [&](const CChild& child) { return child.strName == name; });
    if (it == m_children.end())
        return FALSE;
    m_children.erase(it);
    return TRUE;
}

BOOL CCompoundStorage::IsSameAs(const CCompoundStorage& other) const
{
    if (m_clsid != other.m_clsid || m_children.size() != other.m_children.size())
        return FALSE;
    for (const CChild& child : m_children) {
        const CChild* pOther = other.FindChild(child.strName);
        if (pOther == nullptr)
            return FALSE;
        if (child.pStream) {
            if (!pOther->pStream || *child.pStream != *pOther->pStream)
                return FALSE;
        } else if (!pOther->pStorage || !child.pStorage->IsSameAs(*pOther->pStorage)) {
            return FALSE;
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Reading and writing
// ---------------------------------------------------------------------------------------
BOOL ReadCompoundFile(const BYTE* pData, size_t nSize, CCompoundStorage& root)
{
    InitialiseGsf();
    if (pData == nullptr || nSize < 512)
        return FALSE;
    CGObjectRef<GsfInput> input(gsf_input_memory_new(pData, static_cast<gsf_off_t>(nSize), FALSE));
    if (input.p == nullptr)
        return FALSE;
    GError* pError = nullptr;
    CGObjectRef<GsfInfile> infile(gsf_infile_msole_new(input.p, &pError));
    if (pError)
        g_error_free(pError);
    if (infile.p == nullptr)
        return FALSE;
    CCompoundStorage tree;
    if (!ReadStorage(infile.p, tree, nSize, 0))
        return FALSE;
    root = std::move(tree);
    return TRUE;
}

BOOL LoadCompoundFile(const char* lpszPath, CCompoundStorage& root)
{
    RemoveLeftTemporaries(lpszPath);
    std::ifstream in(NativePath(lpszPath), std::ios::binary);
    if (!in)
        return FALSE;
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return FALSE;
    return ReadCompoundFile(bytes.data(), bytes.size(), root);
}

BOOL WriteCompoundFile(const CCompoundStorage& root, std::vector<BYTE>& out)
{
    InitialiseGsf();
    CGObjectRef<GsfOutput> memory(gsf_output_memory_new());
    if (memory.p == nullptr)
        return FALSE;
    bool ok = false;
    {
        CGObjectRef<GsfOutfile> outfile(gsf_outfile_msole_new(memory.p));
        if (outfile.p == nullptr)
            return FALSE;
        ok = WriteStorage(outfile.p, root);
        ok = gsf_output_close(GSF_OUTPUT(outfile.p)) && ok;
    }
    if (!ok)
        return FALSE;
    const gsf_off_t nSize = gsf_output_size(memory.p);
    const guint8* pBytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.p));
    if (nSize < 0 || (nSize > 0 && pBytes == nullptr))
        return FALSE;
    out.assign(pBytes, pBytes + nSize);
    return TRUE;
}

BOOL SaveCompoundFile(const char* lpszPath, const CCompoundStorage& root)
{
    std::vector<BYTE> bytes;
    if (!WriteCompoundFile(root, bytes))
        return FALSE;
    return WriteFileAtomically(lpszPath, bytes.data(), bytes.size());
}
