// CUserException: thrown to abandon an operation after the user has already been told
// why (data exchange throws it once its message box has been shown).
#pragma once

#include "platform/base/CException.h"

class CUserException : public CException {
public:
    CString GetErrorText() const override { return CString(); }
};

// Throws a CUserException.
[[noreturn]] void AfxThrowUserException();
