// CRowPool: fixed-size memory slots for the rows of a grid, cut from large blocks that ask
// the kernel for huge pages.
//
// An estimate holds thousands of rows of a few kilobytes each. Taken from the general heap,
// the first estimate opened in a process touches tens of megabytes of fresh memory page by
// page (one page fault every 4 KB) and pays for it again and again; cut from 2 MB-aligned
// blocks marked for transparent huge pages, the same rows cost one fault per 2 MB. Freed
// slots are kept for the next rows; a block none of whose slots is in use any more goes
// back to the system (closing an estimate gives its rows' memory back), except one such
// block kept for the next rows. Where the kernel gives no huge pages the blocks work with
// ordinary pages.
//
// A row keeps its cells and longer texts in the general heap. When a block that held many
// rows empties (an estimate was closed), the heap is asked to give its free pages back too,
// so that closing an estimate returns the memory of its texts as well.
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
        CFreeSlot* pFree = nullptr; // slots of this block given back
        std::size_t nInUse = 0;     // slots handed out and not given back
        std::size_t nPeak = 0;      // the most slots in use since the block was last unused
        bool bWithFree = false;     // listed in m_withFree
    };
    // The block holding p, or null.
    CBlock* FindBlock(const void* p) const;
    // A block that held at least this many rows at once gives the heap's free pages back
    // when it empties; a few rows made and deleted again do not.
    enum { TRIM_AFTER_SLOTS = 1024 };
    // Unmaps an unused block and forgets it.
    void Release(CBlock* pBlock);

    const std::size_t m_nSlotSize;
    const std::size_t m_nBlockSize;
    mutable std::mutex m_mutex;
    std::vector<CBlock*> m_blocks;   // ordered by address
    std::vector<CBlock*> m_withFree; // blocks with slots given back, the latest last
    CBlock* m_pCutBlock = nullptr;   // the block being cut
    char* m_pNext = nullptr;         // the part of it not cut yet
    char* m_pEnd = nullptr;
};
