// CElementWidthDialog: "要素幅調整", which width the selected elements of a layout take:
// the narrowest (0), the widest (1) or their average (2, the default). The caller runs it
// and reads m_nChoice after IDOK; ElementWidthFor gives the width a choice means.
#pragma once

#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CElementWidthDialog : public CDialog {
    DECLARE_DYNAMIC(CElementWidthDialog)
public:
    enum { choiceNarrowest = 0, choiceWidest = 1, choiceAverage = 2 };
    explicit CElementWidthDialog(CWnd* pParent = nullptr);

    int m_nChoice = choiceAverage;

    void DoDataExchange(CDataExchange* pDX) override;
};

// The width every selected element takes for a choice, from their absolute widths: the
// smallest, the largest, or the integer average (truncated: 100, 101 give 100). 0 for no
// widths.
int ElementWidthFor(int nChoice, const std::vector<int>& widths);
