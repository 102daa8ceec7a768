// CRowPool: fixed-size memory slots for the rows of a grid, cut from large blocks that ask
// the kernel for huge pages.
//
// An estimate holds thousands of rows of a few kilobytes each. Taken from the general heap,
// the first estimate opened in a process touches tens of megabytes of fresh memory page by
// page (one page fault every 4 KB) and pays for it again and again; cut from 2 MB-aligned
// blocks marked for transparent huge pages, the same rows cost one fault per 2 MB. Freed
// slots are kept for the next rows and never given back to the system. Where the kernel
// gives no huge pages the blocks work with ordinary pages.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

class CRowPool {
public:
    // Slots of nSlotSize bytes (rounded up to 64), cut from blocks of nBlockSize bytes
    // (rounded up to 2 MB).
    CRowPool(std::size_t nSlotSize, std::size_t nBlockSize);
    ~CRowPool();
    CRowPool(const CRowPool&) = delete;
    CRowPool& operator=(const CRowPool&) = delete;

    // A slot of GetSlotSize() bytes, 64-byte aligned; throws std::bad_alloc when the
    // system gives no memory.
    void* Allocate();
    // Gives a slot of this pool back.
    void Free(void* p) noexcept;

    std::size_t GetSlotSize() const { return m_nSlotSize; }
    std::size_t GetBlockCount() const;
    // Whether p lies in one of this pool's blocks.
    bool Owns(const void* p) const;

private:
    struct CFreeSlot {
        CFreeSlot* pNext;
    };
    struct CBlock {
        char* pBegin;
        std::size_t nSize;
    };
    const std::size_t m_nSlotSize;
    const std::size_t m_nBlockSize;
    mutable std::mutex m_mutex;
    CFreeSlot* m_pFree = nullptr;
    char* m_pNext = nullptr; // the part of the newest block not cut yet
    char* m_pEnd = nullptr;
    std::vector<CBlock> m_blocks;
};
