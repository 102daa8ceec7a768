#include "fuzz/support/FuzzEstimate.h"

#include "app/CMorvelSettings.h"
#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/base/Profile.h"

#include <cstdio>
#include <string>

namespace {

template <class Form>
Form ReadSampleForm(const char* lpszName)
{
    const std::vector<uint8_t> bytes =
        FuzzReadNativeFile(std::string(MORVEL_SOURCE_DIR) + "/samples/FORM/" + lpszName);
    Form form;
    FUZZ_CHECK(FuzzLoad(bytes.data(), bytes.size(), [&](CArchive& ar) { return form.Serialize(ar); }) == 0);
    return form;
}

} // namespace

void FuzzInitEstimateSettings()
{
    static CProfileFile* s_pProfile = nullptr;
    if (s_pProfile != nullptr)
        return;
    FuzzInitToolkit();
    s_pProfile = new CProfileFile(FuzzFolder() + "morvel.ini");
    auto* pSettings = new CMorvelSettings(*s_pProfile); // both live until the process ends
    CMorvelSettings::SetCurrent(pSettings);
    pSettings->WritePathSetting("Work Field", FuzzFolder());
    pSettings->WriteProfileInt("Input Setting", "Backup File", 1);
}

const CEstimationFormFile& FuzzEstimationForm()
{
    static const CEstimationFormFile s_form = ReadSampleForm<CEstimationFormFile>("meisai.MMK");
    return s_form;
}

CInformationFormFile FuzzInformationForm(int nKind)
{
    static const CInformationFormFile s_sample = ReadSampleForm<CInformationFormFile>("JYOUHOU.MJK");
    CInformationFormFile form = s_sample;
    if (nKind == 0) {
        form.SetCount(0);
    } else if (nKind == 2) {
        for (int i = form.GetCount(); i < CInformationFormFile::MAX_ITEMS; ++i) {
            form.SetItem(i, CInformationFormFile::colName, ("item" + std::to_string(i)).c_str());
            form.SetItem(i, CInformationFormFile::colWidth, "10");
        }
        form.SetCount(CInformationFormFile::MAX_ITEMS);
    }
    return form;
}

CFuzzEstimate::CFuzzEstimate(int nInformationForm) : pDoc(new CMorvelEMDoc), pView(new CMorvelEMView)
{
    FuzzInitEstimateSettings();
    pDoc->m_bAutoDelete = FALSE;
    pDoc->AddView(pView);
    // Without an application File New keeps the document's forms and gives the view their
    // columns.
    pDoc->m_strEstimationFormName = "meisai.MMK";
    pDoc->m_EstimationForm = FuzzEstimationForm();
    pDoc->m_strInformationFormName = "JYOUHOU.MJK";
    pDoc->m_InformationForm = FuzzInformationForm(nInformationForm);
    FUZZ_CHECK(pDoc->OnNewDocument());
    pDoc->m_nNewEstimate = 0;
    pView->SetupFromDocument();
}

CFuzzEstimate::~CFuzzEstimate()
{
    delete pView;
    delete pDoc;
}

std::vector<uint8_t> CFuzzEstimate::State() const
{
    std::vector<uint8_t> bytes = FuzzStore([this](CArchive& ar) { pDoc->Serialize(ar); });
    for (int n : {pView->GetUsedRows(), pView->GetColumnCount(), pView->GetModel().GetInformationCount()})
        bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&n),
                     reinterpret_cast<const uint8_t*>(&n + 1));
    return bytes;
}

void CFuzzEstimate::CheckSavesAndOpensAgain() const
{
    FuzzMessageBoxes boxes;
    const CString pathA = FuzzFolder() + "saved-a.mmd";
    const CString pathB = FuzzFolder() + "saved-b.mmd";
    FUZZ_CHECK(pDoc->OnSaveDocument(pathA));
    const std::vector<uint8_t> savedA = FuzzReadNativeFile(FuzzNativeFolder() + "saved-a.mmd");
    CMorvelEMDoc* pAgain = new CMorvelEMDoc;
    CMorvelEMView* pAgainView = new CMorvelEMView;
    pAgain->m_bAutoDelete = FALSE;
    pAgain->AddView(pAgainView);
    const BOOL bOpened = pAgain->OnOpenDocument(pathA);
    if (!boxes.texts.empty())
        std::fprintf(stderr, "message: %s\n", boxes.texts.front().ToUtf8().c_str());
    FUZZ_CHECK(bOpened);
    FUZZ_CHECK(pAgainView->GetUsedRows() == pView->GetUsedRows());
    for (int r = 0; r < pView->GetUsedRows(); ++r) {
        for (int c = 0; c < pView->GetColumnCount(); ++c)
            FUZZ_CHECK(pAgainView->GetCellText(r, c) == pView->GetCellText(r, c));
    }
    FUZZ_CHECK(pAgain->OnSaveDocument(pathB));
    FUZZ_CHECK(FuzzReadNativeFile(FuzzNativeFolder() + "saved-b.mmd") == savedA);
    FUZZ_CHECK(boxes.texts.empty());
    delete pAgainView;
    delete pAgain;
}
