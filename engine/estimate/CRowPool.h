// CRowPool: fixed-size memory slots for the rows of a grid, cut from large blocks whose
// pages are made ahead of the slots, a run of pages at a time.
//
// An estimate holds thousands of rows of a few hundred bytes each. Taken from the general
// heap, the first estimate opened in a process touches tens of megabytes of fresh memory
// page by page (one page fault every 4 KB) and pays for it again and again; cut from 2 MB
// blocks whose pages are asked for POPULATE_RUN bytes at once as the slots reach them, the
// same rows cost one call into the kernel per run. The blocks ask for no huge pages: a
// fault on a huge page waits, where the kernel compacts memory for huge pages on demand
// (its usual setting), until memory that other programs left scattered is moved together,
// which made an open after other work slower than one back to back. Where the kernel
// cannot make pages ahead, they come one fault at a time.
//
// Freed slots are kept for the next rows. A block none of whose slots is in use any more
// gives its memory back: one that held many slots at once (an estimate was closed) gives
// its pages to the kernel to take when it needs them (MADV_FREE) and stays mapped as a
// spare, which the next pool of its size that needs a block takes before it maps one; an
// estimate opened next finds the pages the kernel has not taken still there and makes
// them neither again nor page by page, and gives the spares it did not take back for good
// (ReleaseSpareBlocks). Any other unused block is unmapped, except one, kept for the next
// rows: a few rows made and deleted again do not map a block each time.
//
// The cells of rows come from pools of their own, one per count of cells (CGridRow); their
// longer texts lie in the general heap, whose free memory the heap keeps for the texts of
// the next estimate.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

class CRowPool {
public:
    // Slots of nSlotSize bytes rounded up to nAlignment (a power of two: 64 puts every slot
    // on a cache line of its own), cut from blocks of nBlockSize bytes (rounded up to whole
    // runs of pages made at once).
    CRowPool(std::size_t nSlotSize, std::size_t nBlockSize, std::size_t nAlignment = 64);
    ~CRowPool();
    CRowPool(const CRowPool&) = delete;
    CRowPool& operator=(const CRowPool&) = delete;

    // A slot of GetSlotSize() bytes, aligned as the pool was made; throws std::bad_alloc
    // when the system gives no memory.
    void* Allocate();
    // Gives a slot of this pool back.
    void Free(void* p) noexcept;

    // Unmaps every spare block of the process. An estimate's open calls it once it has
    // read its rows: the spares it did not take would only be needed by an estimate as
    // large as the one closed before.
    static void ReleaseSpareBlocks();

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
    // A block that held at least this many slots at once becomes a spare when it empties.
    enum { SPARE_AFTER_SLOTS = 1024 };
    // The bytes of a block whose pages are made at once, when the slots cut reach them.
    enum { POPULATE_RUN = 128 * 1024 };
    // Forgets an unused block: unmapped, or with bSpare its pages given to the kernel and
    // the block kept mapped for the next block any pool of its size needs.
    void Release(CBlock* pBlock, bool bSpare = false);

    const std::size_t m_nSlotSize;
    const std::size_t m_nBlockSize;
    mutable std::mutex m_mutex;
    std::vector<CBlock*> m_blocks;   // ordered by address
    std::vector<CBlock*> m_withFree; // blocks with slots given back, the latest last
    CBlock* m_pCutBlock = nullptr;   // the block being cut
    char* m_pNext = nullptr;         // the part of it not cut yet
    char* m_pEnd = nullptr;
    char* m_pMade = nullptr; // where its pages not made ahead yet begin
};
