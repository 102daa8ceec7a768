// COlePropertiesDialog: the properties of an embedded or linked item, read from what the
// item keeps: its type, whether it is embedded or linked, its size on the page, the
// bytes its storage holds and its scale. The scale is fixed at 100 % by the container; no
// program runs items here, so nothing in the dialog changes the item and it offers no
// verbs (there is nothing to open or convert the item with).
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class COleClientItem;

constexpr UINT AFX_IDD_OBJECTPROPERTIES = 30760;

class COlePropertiesDialog : public CDialog {
    DECLARE_DYNAMIC(COlePropertiesDialog)
public:
    enum {
        IDC_OBJ_TYPE = 1001,
        IDC_OBJ_KIND = 1002,
        IDC_OBJ_SIZE = 1003,
        IDC_OBJ_STORAGE = 1004,
        IDC_OBJ_SCALE = 1005,
    };

    COlePropertiesDialog(COleClientItem* pItem, UINT nScaleMin = 100, UINT nScaleMax = 100,
                         CWnd* pParentWnd = nullptr);

    // The texts the dialog shows (also before it runs).
    CString GetTypeText() const;
    CString GetKindText() const;
    CString GetSizeText() const;
    CString GetStorageText() const;
    CString GetScaleText() const;

protected:
    BOOL OnInitDialog() override;

private:
    COleClientItem* m_pItem;
    UINT m_nScaleMin;
    UINT m_nScaleMax;
};
