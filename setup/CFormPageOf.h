// CFormPageOf: what each form page of the setup sheet does alike for its own form type, so
// that a page (CEstimationDialog, CPartsDialog, CInformationDialog) keeps only what its form
// makes different: its columns, pick lists, texts and Enter steps.
//
// TForm is the page's form type; pAppForm and pAppFileName name the application's form of
// that type and its file name (members of CMorvelApp or of the settings it derives from). In import mode the
// sheet sets m_formCopy and m_strFormName, the document's own form and its name, and the page edits those
// instead.
#pragma once

#include "app/CMorvelApp.h"
#include "setup/FormPageSupport.h"

#include <memory>

template <class TForm, auto pAppForm, auto pAppFileName>
class CFormPageOf : public CFormPage {
public:
    // Import mode: the form of the document and its name, set by the sheet.
    TForm m_formCopy;
    CString m_strFormName;

    std::unique_ptr<IFormAccess> AppForm() const override
    {
        return std::make_unique<CFormAccess<TForm>>(App().*pAppForm);
    }
    std::unique_ptr<IFormAccess> CopyForm() override
    {
        return std::make_unique<CFormAccess<TForm>>(m_formCopy);
    }
    std::unique_ptr<CScratchForm> NewForm() const override
    {
        return std::make_unique<CScratchFormOf<TForm>>(App().*pAppForm);
    }
    CString& AppFileName() const override { return App().*pAppFileName; }
    CString& CopyFileName() override { return m_strFormName; }

protected:
    using CFormPage::CFormPage;
};
