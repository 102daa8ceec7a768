// CInformationFormTexts: the information form's texts as the value rules of the estimate
// engine read them (IInformationForm), over a form held elsewhere for as long as it lives.
// It stands beside the form, so that everything that reads a form with the engine's rules
// (the estimate's window, its information sheet, the print layouts' field tokens) finds it
// without reaching the estimate's windows.
#pragma once

#include "app/CInformationFormFile.h"
#include "engine/estimate/InformationValues.h"

class CInformationFormTexts : public IInformationForm {
public:
    explicit CInformationFormTexts(const CInformationFormFile& form) : m_form(form) {}

    int GetItemCount() const override { return m_form.GetCount(); }
    const CString& GetItemText(int nItem, EItemText eText) const override
    {
        static const int columns[] = {CInformationFormFile::colAttribute, CInformationFormFile::colPicture,
                                      CInformationFormFile::colFormula, CInformationFormFile::colRounding,
                                      CInformationFormFile::colE};
        return m_form.GetItem(nItem, columns[eText]);
    }

private:
    const CInformationFormFile& m_form;
};
