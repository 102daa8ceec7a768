// An estimate for the targets that take outside bytes into a document: the document with
// its grid view (no window), settings of the process in its temporary folder, the sample
// forms, and the checks a user relies on around an insertion or an import: a refused input
// leaves the document byte for byte as it was, and an accepted one gives an estimate that
// saves, opens again and saves to the same bytes.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"

#include <cstdint>
#include <vector>

class CMorvelEMDoc;
class CMorvelEMView;

// Settings in the temporary folder (the work folder), made once; saves make no backups.
void FuzzInitEstimateSettings();

// The sample estimation form (samples/FORM/meisai.MMK).
const CEstimationFormFile& FuzzEstimationForm();
// An information form by number: 0 no items, 1 the sample form, 2 all 100 items.
enum { FUZZ_INFORMATION_FORMS = 3 };
CInformationFormFile FuzzInformationForm(int nKind);

struct CFuzzEstimate {
    // A new estimate on the sample estimation form and the given information form.
    explicit CFuzzEstimate(int nInformationForm = 1);
    ~CFuzzEstimate();
    CFuzzEstimate(const CFuzzEstimate&) = delete;
    CFuzzEstimate& operator=(const CFuzzEstimate&) = delete;

    // What the document and its view keep: the file's bytes with the counts the view adds.
    std::vector<uint8_t> State() const;
    // Saves, opens the saved file in a second estimate and saves that: both saves must
    // succeed with the same bytes, and the second estimate must hold the same rows.
    void CheckSavesAndOpensAgain() const;

    CMorvelEMDoc* pDoc;
    CMorvelEMView* pView;
};
