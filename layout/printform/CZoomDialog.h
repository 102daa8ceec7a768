// CZoomDialog (ｽﾞｰﾑ): the user zoom of the grids and the print-layout editor. It is built
// with the zoom in use and, after OK, holds the percent the user typed, from 25 to 400; a
// number outside that range, or no number, is refused with the framework's range message
// and the dialog stays open.
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CZoomDialog : public CDialog {
public:
    explicit CZoomDialog(CWnd* pParent = nullptr);
    CZoomDialog(int nZoom, CWnd* pParent);

    enum { MIN_ZOOM = 25, MAX_ZOOM = 400 };
    int m_nZoom = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
