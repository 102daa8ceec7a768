// Helpers of the master and form file tests: running a table's serialize operation on
// bytes in memory.
#pragma once

#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"

#include <cstdint>
#include <functional>
#include <vector>

// The bytes a storing serialize produces.
inline std::vector<uint8_t> StoreBytes(const std::function<void(CArchive&)>& store)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 4096);
        store(ar);
        ar.Close();
    }
    const std::vector<BYTE>& data = file.GetData();
    return std::vector<uint8_t>(data.begin(), data.end());
}

// Runs a loading serialize over the bytes and returns its result. Archive exceptions
// pass through to the test.
inline int LoadBytes(const std::vector<uint8_t>& bytes, const std::function<int(CArchive&)>& load)
{
    static const BYTE kNothing = 0;
    CMemFile file(bytes.empty() ? &kNothing : bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load, 4096);
    return load(ar);
}

// The outcome of a load: the result, or -2 for an end-of-file archive exception and -3
// for any other exception.
inline int LoadOutcome(const std::vector<uint8_t>& bytes, const std::function<int(CArchive&)>& load)
{
    try {
        return LoadBytes(bytes, load);
    } catch (const CArchiveException& e) {
        return e.m_cause == CArchiveException::endOfFile ? -2 : -3;
    } catch (const CException&) {
        return -3;
    }
}
