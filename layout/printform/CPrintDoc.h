// CPrintDoc: a print layout, one printer page of drawing objects with a paper colour, a
// stored zoom and the field references that tell printing how many data lines a page
// shows. CPrintEMDoc (estimate layouts, ".MMP") and CPrintPMDoc (parts layouts, ".MBP")
// add the forms they were designed for.
//
// The file is a compound file; its "Contents" stream holds the subclass's forms followed by
// this body (little-endian):
//   WORD m_nZoom; DWORD m_paperColor; the object list (count as a WORD or 0xFFFF + DWORD,
//   each object with its class record, schema 0); WORD field-reference count; per
//   reference the key as a string and the value as a WORD; the container's own record.
// Embedded objects keep their storages in "Embedding n" beside it.
//
// Paper size, extent and margins are not stored: every layout takes them from the
// application's printer when it is made or opened.
#pragma once

#include "app/SharedRecords.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/printform/CDrawObjList.h"
#include "platform/base/Collections.h"

#include <vector>

class CDrawObj;
class CDrawOleObj;
class CDC;
class CPrintFormView;

class CPrintDoc : public CDrawingDoc {
    DECLARE_DYNCREATE(CPrintDoc)
public:
    CPrintDoc();
    // Frees the objects (embedded items go with the container) and the field references.
    ~CPrintDoc() override;
    CPrintDoc(const CPrintDoc&) = delete;
    CPrintDoc& operator=(const CPrintDoc&) = delete;

    void Serialize(CArchive& ar) override;
    void DeleteContents() override;
    // Only the items of the layout's embedded objects are saved: the item of a deleted
    // object, kept for its undo, stays out of the file.
    BOOL IsItemSaved(const COleClientItem* pItem) const override;

    // The paper of the application's printer in 0.01 inch (rounded half up), and the
    // extent (paper + 40 each way). Without a printer: "ﾌﾟﾘﾝﾀの情報を取得できません。" and
    // (0, 0).
    void ComputePaperSize();
    // The same of any printer context (the one a page prints on); FALSE when it reports no
    // resolution.
    static BOOL ComputePaperSize(CDC& dc, CSize& sizePaper);
    CSize* GetSize() override { return &m_sizePaper; }
    // The unprintable margins (left, top, right, bottom) in 0.01 inch.
    CRect* GetPrintableRect() override { return &m_rectMargins; }
    CSize* GetDocExtent() { return &m_sizeExtent; }
    CDrawObjList* GetObjectList() { return &m_objects; }

    // Appends the object on top, makes it the document's, marks the document modified.
    void Add(CDrawObj* pObj) override;
    // Takes the object out of the list when it is there and marks the document modified in
    // any case; the object is not deleted.
    void Remove(CDrawObj* pObj);
    // The topmost object that meets the one-unit square at the point, or null.
    CDrawObj* ObjectAt(const CPoint& point);
    // The embedded-object drawing object that holds the same item as pObj, given pObj's
    // rectangle, line style and colour; null when there is none.
    CDrawOleObj* RestoreOleObject(CDrawOleObj* pObj);
    // The editor's painting: every object back to front, each table's cell selection
    // cleared unless the view is active and has the table selected, and the handles of the
    // objects the active view has selected.
    void Draw(CDC* pDC, CPrintFormView* pView);
    // Deletes every field reference.
    void ClearFieldLinks();
    // The target device embedded items draw for (the stored one, or the screen).
    void RefreshTargetDevice() override;
    INT_PTR GetFieldRefCount() const override { return m_fieldRefs.GetSize(); }
    CFieldRefRecord* GetFieldRef(INT_PTR nIndex) const override
    {
        return static_cast<CFieldRefRecord*>(m_fieldRefs.GetAt(nIndex));
    }

    // The text-property dialog of the layout's kind (TextPropRunner.h).
    int EditTextProperties(std::vector<CString>& texts, CTextAttributes& attributes) override;

    // "ﾍﾟｰｼﾞのｶﾗｰ(&P)...": the colour dialog on the paper colour; a new colour is stored,
    // the document marked modified and every view updated.
    afx_msg void OnPageColor();

    CStringArray m_astrFieldMap; // the item mapping of the last change of form; not stored
    CDrawObjList m_objects;
    CSize m_sizeExtent;
    CSize m_sizePaper;
    int m_nZoom = 100;
    COLORREF m_paperColor = 0;
    CRect m_rectMargins;
    CObArray m_fieldRefs; // of CFieldRefRecord*, owned
    // What the embedded items draw for; filled by RefreshTargetDevice.
    std::vector<BYTE> m_currentTargetDevice;

    DECLARE_MESSAGE_MAP()

protected:
    // Rebuilds the field references from the tokens of every text and table cell that
    // begin with lpszPrefix ("$見積(" or "$部材("): each key (the text up to the second
    // comma) with the largest row number any token with that key names.
    void RebuildFieldRefsFor(const CString& strPrefix);
    // The backup of the file at a path (the file name's extension replaced by
    // lpszBackupExt), while the input setting "Backup File" is 0.
    static void MakeBackupFor(LPCTSTR lpszPathName, const char* lpszBackupExt);
    // What a save killed while writing that backup left beside it, removed at the opening of
    // the layout (the backup is written only while backups are on).
    static void RemoveLeftBackupTemporaries(LPCTSTR lpszPathName, const char* lpszBackupExt);
    // The current folder becomes the "Work Field" folder.
    static void EnterWorkFolder();

private:
    void DeleteObjects();
};

// The backup name of a layout: the path with its file name's extension replaced by
// lpszBackupExt (".BMP", ".BBP"); a name without one gets the extension appended. Only the
// file name is searched for the ".", so a dot in a folder name never counts.
CString GetLayoutBackupPath(const CString& strPath, const char* lpszBackupExt);
