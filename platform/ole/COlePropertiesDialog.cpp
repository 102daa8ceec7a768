#include "platform/ole/COlePropertiesDialog.h"

#include "platform/ole/COleClientItem.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/DialogTemplate.h"

#include <functional>

IMPLEMENT_DYNAMIC(COlePropertiesDialog, CDialog)

namespace {

DialogTemplate MakePropertiesTemplate()
{
    DialogTemplate t;
    t.nID = AFX_IDD_OBJECTPROPERTIES;
    t.caption = "オブジェクトのプロパティ"_sj;
    t.cx = 220;
    t.cy = 104;
    t.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const auto row = [](const char* label, UINT nID, int y) {
        return std::vector<DialogControl>{
            {DlgStatic, IDC_STATIC, CString::FromUtf8(label), 7, y, 52, 8},
            {DlgStatic, nID, CString(), 62, y, 150, 8, SS_NOPREFIX},
        };
    };
    for (auto& c : row("種類:", COlePropertiesDialog::IDC_OBJ_TYPE, 9))
        t.controls.push_back(c);
    for (auto& c : row("形式:", COlePropertiesDialog::IDC_OBJ_KIND, 23))
        t.controls.push_back(c);
    for (auto& c : row("大きさ:", COlePropertiesDialog::IDC_OBJ_SIZE, 37))
        t.controls.push_back(c);
    for (auto& c : row("データ:", COlePropertiesDialog::IDC_OBJ_STORAGE, 51))
        t.controls.push_back(c);
    for (auto& c : row("拡大率:", COlePropertiesDialog::IDC_OBJ_SCALE, 65))
        t.controls.push_back(c);
    t.controls.push_back({DlgPushButton, IDOK, "OK"_sj, 163, 83, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP});
    return t;
}

const bool s_registered = RegisterDialogTemplate(AFX_IDD_OBJECTPROPERTIES, MakePropertiesTemplate);

// Every byte the storage keeps, all the way down.
unsigned long long StorageBytes(const CCompoundStorage& storage)
{
    unsigned long long n = 0;
    for (const CCompoundStorage::CChild& child : storage.GetChildren()) {
        if (child.pStream)
            n += child.pStream->size();
        else if (child.pStorage)
            n += StorageBytes(*child.pStorage);
    }
    return n;
}

} // namespace

COlePropertiesDialog::COlePropertiesDialog(COleClientItem* pItem, UINT nScaleMin, UINT nScaleMax,
                                           CWnd* pParentWnd)
    : CDialog(AFX_IDD_OBJECTPROPERTIES, pParentWnd), m_pItem(pItem), m_nScaleMin(nScaleMin),
      m_nScaleMax(nScaleMax)
{
    (void)s_registered;
}

CString COlePropertiesDialog::GetTypeText() const
{
    const CString name = m_pItem ? m_pItem->GetUserTypeName() : CString();
    return name.IsEmpty() ? CString("オブジェクト"_sj) : name;
}

CString COlePropertiesDialog::GetKindText() const
{
    if (m_pItem == nullptr)
        return CString();
    return m_pItem->IsLinked() ? CString("リンク"_sj) : CString("埋め込み"_sj);
}

CString COlePropertiesDialog::GetSizeText() const
{
    SIZE extent{0, 0};
    if (m_pItem == nullptr || !m_pItem->GetExtent(&extent))
        return CString("不明"_sj);
    // HIMETRIC is 0.01 mm: shown to a tenth of a millimetre.
    CString text;
    text.Format("%ld.%ld x %ld.%ld mm", static_cast<long>(extent.cx / 100),
                static_cast<long>(extent.cx % 100 / 10), static_cast<long>(extent.cy / 100),
                static_cast<long>(extent.cy % 100 / 10));
    return text;
}

CString COlePropertiesDialog::GetStorageText() const
{
    const CCompoundStorage* pStorage = m_pItem ? m_pItem->GetStorage() : nullptr;
    if (pStorage == nullptr)
        return CString("なし"_sj);
    CString text;
    text.Format("%llu %s", StorageBytes(*pStorage), CString("バイト"_sj).c_str());
    return text;
}

CString COlePropertiesDialog::GetScaleText() const
{
    CString text;
    if (m_nScaleMin == m_nScaleMax)
        text.Format("%u %%", m_nScaleMin);
    else
        text.Format("%u - %u %%", m_nScaleMin, m_nScaleMax);
    return text;
}

BOOL COlePropertiesDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_OBJ_TYPE, GetTypeText());
    SetDlgItemText(IDC_OBJ_KIND, GetKindText());
    SetDlgItemText(IDC_OBJ_SIZE, GetSizeText());
    SetDlgItemText(IDC_OBJ_STORAGE, GetStorageText());
    SetDlgItemText(IDC_OBJ_SCALE, GetScaleText());
    return TRUE;
}
