#include "layout/drawing/CElementWidthDialog.h"

#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/PrintToolsIds.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CElementWidthDialog, CDialog)

CElementWidthDialog::CElementWidthDialog(CWnd* pParent) : CDialog(IDD_ELEMENT_WIDTH, pParent)
{
    RegisterPrintToolsDialogs();
}

void CElementWidthDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_WIDTH_NARROWEST, m_nChoice);
}

int ElementWidthFor(int nChoice, const std::vector<int>& widths)
{
    if (widths.empty())
        return 0;
    std::vector<long long> absolute;
    for (int w : widths)
        absolute.push_back(std::llabs(static_cast<long long>(w)));
    switch (nChoice) {
    case CElementWidthDialog::choiceNarrowest:
        return static_cast<int>(*std::min_element(absolute.begin(), absolute.end()));
    case CElementWidthDialog::choiceWidest:
        return static_cast<int>(*std::max_element(absolute.begin(), absolute.end()));
    default: {
        long long sum = 0;
        for (long long w : absolute)
            sum += w;
        return static_cast<int>(sum / static_cast<long long>(absolute.size()));
    }
    }
}
