// The pieces each form page builds from its form type: the access to the application's
// form, the copy of import mode, and a fresh form for reading a file aside.
#pragma once

#include "setup/CFormPage.h"

#include <memory>

template <class TForm>
class CScratchFormOf : public CFormPage::CScratchForm {
public:
    explicit CScratchFormOf(TForm& appForm) : m_appForm(appForm), m_access(m_form) {}
    IFormAccess& Access() override { return m_access; }
    void CommitToApp() override { m_appForm = m_form; }

private:
    TForm& m_appForm;
    TForm m_form;
    CFormAccess<TForm> m_access;
};

// Makes a pick list from "shown|stored" pairs (UTF-8 in the source).
CPickList MakePickList(const char* lpszTitle,
                       std::initializer_list<std::pair<const char*, const char*>> entries);
