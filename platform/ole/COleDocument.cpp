#include "platform/ole/COleDocument.h"

#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ole/COleClientItem.h"
#include "platform/ui/core/CUserException.h"
#include "platform/ui/core/CWaitCursor.h"

#include <exception>

IMPLEMENT_DYNAMIC(COleDocument, CDocument)

namespace {

const char kContentsStream[] = "Contents";

} // namespace

COleDocument::COleDocument() = default;

COleDocument::~COleDocument()
{
    COleDocument::DeleteContents();
}

void COleDocument::AddItem(COleClientItem* pItem)
{
    if (pItem == nullptr || m_docItemList.Find(pItem))
        return;
    m_docItemList.AddTail(pItem);
    pItem->m_pDocument = this;
}

void COleDocument::RemoveItem(COleClientItem* pItem)
{
    POSITION pos = m_docItemList.Find(pItem);
    if (pos)
        m_docItemList.RemoveAt(pos);
    if (pItem && pItem->m_pDocument == this)
        pItem->m_pDocument = nullptr;
}

COleClientItem* COleDocument::GetNextClientItem(POSITION& pos) const
{
    return static_cast<COleClientItem*>(m_docItemList.GetNext(pos));
}

DWORD COleDocument::GetNewItemNumber()
{
    DWORD nNumber = 1;
    for (POSITION pos = GetStartPosition(); pos;) {
        const COleClientItem* pItem = GetNextClientItem(pos);
        if (pItem->m_dwItemNumber >= nNumber)
            nNumber = pItem->m_dwItemNumber + 1;
    }
    return nNumber;
}

COleClientItem* COleDocument::GetInPlaceActiveItem(const CView* pView) const
{
    for (POSITION pos = GetStartPosition(); pos;) {
        COleClientItem* pItem = GetNextClientItem(pos);
        if (pItem->IsInPlaceActive() && pView != nullptr && pItem->GetActiveView() == pView)
            return pItem;
    }
    return nullptr;
}

void COleDocument::DeleteContents()
{
    // An item's destructor takes it out of the list.
    while (!m_docItemList.IsEmpty())
        delete static_cast<COleClientItem*>(m_docItemList.GetHead());
    m_containerRecord.clear();
}

void COleDocument::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        if (!m_containerRecord.empty())
            ar.Write(m_containerRecord.data(), static_cast<UINT>(m_containerRecord.size()));
        return;
    }
    m_containerRecord.clear();
    BYTE buffer[4096];
    for (;;) {
        const UINT nRead = ar.Read(buffer, sizeof buffer);
        if (nRead == 0)
            break;
        m_containerRecord.insert(m_containerRecord.end(), buffer, buffer + nRead);
    }
}

BOOL COleDocument::IsItemSaved(const COleClientItem*) const
{
    return TRUE;
}

CCompoundStorage COleDocument::MakeStorage()
{
    CMemFile memFile(4096);
    CArchive ar(&memFile, CArchive::store | CArchive::bNoFlushOnDelete);
    ar.m_pDocument = this;
    Serialize(ar);
    ar.Close();
    CCompoundStorage root;
    root.SetStream(kContentsStream, memFile.Detach());
    for (POSITION pos = GetStartPosition(); pos;) {
        const COleClientItem* pItem = GetNextClientItem(pos);
        if (!IsItemSaved(pItem))
            continue;
        // An item without its storage would be saved as a reference to nothing: the save
        // fails instead, and the old file stays.
        if (pItem->GetStorage() == nullptr || root.FindStorage(pItem->GetStorageName()) != nullptr)
            throw CArchiveException(CArchiveException::genericException);
        root.SetStorage(pItem->GetStorageName(), *pItem->GetStorage());
    }
    return root;
}

BOOL COleDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    if (!m_bCompoundFile)
        return CDocument::OnSaveDocument(lpszPathName);
    CCompoundStorage root;
    try {
        CWaitCursor wait;
        root = MakeStorage();
    } catch (CException& e) {
        ReportSaveLoadException(lpszPathName, &e, TRUE, 0);
        return FALSE;
    } catch (std::exception&) {
        ReportSaveLoadException(lpszPathName, nullptr, TRUE, 0);
        return FALSE;
    }
    if (!SaveCompoundFile(lpszPathName, root)) {
        CFileException fe(CFileException::accessDenied, -1, lpszPathName);
        ReportSaveLoadException(lpszPathName, &fe, TRUE, 0);
        return FALSE;
    }
    m_lastStorage = std::move(root);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL COleDocument::LoadFromStorage(const CCompoundStorage& storage, LPCTSTR lpszPathName)
{
    DeleteContents();
    SetModifiedFlag(TRUE); // what is read is not the file until the read succeeded
    m_nDroppedItems = 0;
    const std::vector<BYTE>* pContents = storage.FindStream(kContentsStream);
    if (pContents == nullptr) {
        CArchiveException e(CArchiveException::badIndex, lpszPathName);
        ReportSaveLoadException(lpszPathName, &e, FALSE, 0);
        return FALSE;
    }
    struct CLoadingScope {
        const CCompoundStorage*& ref;
        ~CLoadingScope() { ref = nullptr; }
    } scope{m_pLoadingStorage};
    m_pLoadingStorage = &storage;
    try {
        CWaitCursor wait;
        CMemFile memFile(pContents->data(), static_cast<UINT>(pContents->size()));
        CArchive ar(&memFile, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
    } catch (CUserException&) {
        // The reader has told the user already.
        DeleteContents();
        return FALSE;
    } catch (CException& e) {
        DeleteContents();
        ReportSaveLoadException(lpszPathName, &e, FALSE, 0);
        return FALSE;
    } catch (std::exception&) {
        DeleteContents();
        ReportSaveLoadException(lpszPathName, nullptr, FALSE, 0);
        return FALSE;
    }
    // Items that found no storage were left by their objects; they go now.
    for (POSITION pos = GetStartPosition(); pos;) {
        COleClientItem* pItem = GetNextClientItem(pos);
        if (pItem->GetStorage() == nullptr)
            delete pItem;
    }
    m_lastStorage = storage;
    SetModifiedFlag(FALSE);
    if (m_nDroppedItems > 0) {
        // The layout opens without them; saving it writes it without them.
        CString text;
        text.Format("%s%s%d%s", CString(lpszPathName).c_str(), CString(" の埋め込みオブジェクト "_sj).c_str(),
                    m_nDroppedItems, CString(" 個は壊れているため読み込めませんでした。"_sj).c_str());
        AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
    return TRUE;
}

BOOL COleDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    if (!m_bCompoundFile)
        return CDocument::OnOpenDocument(lpszPathName);
    if (!FileExists(lpszPathName)) {
        CFileException fe(CFileException::fileNotFound, -1, lpszPathName);
        ReportSaveLoadException(lpszPathName, &fe, FALSE, 0);
        return FALSE;
    }
    CCompoundStorage storage;
    if (!LoadCompoundFile(lpszPathName, storage)) {
        DeleteContents();
        CArchiveException e(CArchiveException::badIndex, lpszPathName);
        ReportSaveLoadException(lpszPathName, &e, FALSE, 0);
        return FALSE;
    }
    return LoadFromStorage(storage, lpszPathName);
}
