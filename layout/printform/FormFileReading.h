// Reading a form file for a print layout: the file named by a "Path Setting" folder and a
// file name, read whole into a temporary form that replaces the given one only when it was
// read completely. FALSE without a message when the file cannot be opened; the form's own
// message when its magic is wrong (the form is unchanged then too).
#pragma once

#include "platform/base/CString.h"

template <class TForm>
BOOL ReadLayoutForm(const char* lpszFolderKey, const CString& strFileName, TForm& form);
