// A memory file for data handed to the clipboard: it grows in steps of 4096 bytes and
// gives its bytes away with Detach.
#pragma once

#include "CFile.h"

class CSharedFile : public CMemFile {
public:
    explicit CSharedFile(UINT growBytes = 4096) : CMemFile(growBytes) {}
};
