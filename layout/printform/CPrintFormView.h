// CPrintFormView: the editing view of a print layout. It shows the printer page on a grey
// desk at a zoom of 25 to 400 %, draws the layout's objects, keeps the selection, hands the
// mouse to the current drawing tool (CDrawTool), scrolls while a drag leaves the window,
// snaps moves and resizes to a grid inside the printable area, and keeps one edit that can
// be undone and redone.
//
// Three coordinate spaces meet here: object units (0.01 inch, origin at the page centre, y
// up), zoomed units (object units × zoom / 100; the prepared device context maps them onto
// the window) and client pixels. The Zoom*/Unzoom* helpers convert the first two,
// ClientToDoc/DocToClient the last two.
//
// Undo. Each view keeps one record: a before-list and an after-list of objects and a kind
// saying how the two states are exchanged. A list holds either live objects of the document
// or undo clones that the view owns (m_clones). A clone leaves the view's ownership when it
// is put back into the document; clones that no list holds any more are freed. Before this
// view destroys a document object every view of the document forgets it: a view whose
// record names the object drops its record, so no record ever points at a freed object
// (two windows on one layout, each with its own undo).
//
// A step is recorded only when it changed something. CloneSelectionForUndo, which begins
// an edit, puts the record standing then aside; an in-place edit whose objects come out as
// they went in (a click that moved nothing, a dialog cancelled or answered with what was
// there) gives that record back when it is recorded or when the tool's gesture ends, so the
// undo of the edit before it is still there.
#pragma once

#include "layout/drawing/IDrawingView.h"
#include "layout/printform/CDrawObjList.h"
#include "layout/printform/CPrintFormEditState.h"
#include "layout/printform/TextPropRunner.h"
#include "platform/ui/controls/CToolTipCtrl.h"
#include "platform/ui/frames/CScrollView.h"
#include "platform/ui/ole/COleDropTarget.h"

#include <unordered_set>
#include <vector>

class CPrintDoc;
class CDrawObj;
class CDrawOleObj;
class CCmdUI;
class COleClientItem;

class CComboBox;

class CPrintFormView : public CScrollView, public IDrawingView {
    DECLARE_DYNCREATE(CPrintFormView)
public:
    // Undo kinds: how a record's two states are exchanged.
    enum EUndoKind {
        undoCut = 0,
        undoClear = 1,
        undoPaste = 2,
        undoInsertObject = 3,
        undoNewText = 4,
        undoNewShapeUnused = 5,
        undoNewShape = 6,
        undoSelectTool = 7,
        undoAddLine = 8,
        undoDeleteLine = 9,
        undoInPlace = 10
    };
    enum { MIN_ZOOM = 25, MAX_ZOOM = 400, AUTOSCROLL_TIMER = 4095, AUTOSCROLL_PERIOD = 5 };

    CPrintFormView();
    ~CPrintFormView() override;

    CPrintDoc* GetDocument() const;

    // ---- Coordinates ----
    void ClientToDoc(CPoint& point);
    void ClientToDocRect(CRect& rect) override;
    void DocToClient(CPoint& point) override;
    void DocToClientRect(CRect& rect) override;
    CRect ZoomRect(const CRect& rect) const override;
    CRect UnzoomRect(const CRect& rect) const override;
    CPoint ZoomPoint(CPoint point) const override;
    CPoint UnzoomPoint(CPoint point) const;
    int ZoomLength(int nLength) const override;
    // The printable area in object units (first y the lower one).
    CRect GetPrintableRect();
    // The printable area in zoomed units: left, right, bottom and top as the grid uses them.
    CRect GetZoomedPrintableArea();
    void InvalObj(CDrawObj* pObj) override;
    void InvalidateDragRect();
    void SetPageSize(CSize size);
    // The selection's new top-left corner (object units) after a drag from prev to cur
    // (zoomed), on the grid and inside the printable area.
    CPoint LimitMoveToPage(CPoint prev, CPoint cur, CPoint corner);
    // The new place of a handle's corner (object units) on the grid inside the page.
    CPoint LimitResizeToPage(const CRect& rect, CPoint prev, CPoint cur, int nHandle);

    // ---- Selection ----
    CDrawObjList& GetSelection() { return m_selection; }
    void Select(CDrawObj* pObj, BOOL bAdd = FALSE);
    void Deselect(CDrawObj* pObj);
    void RemoveFromSelection(CDrawObj* pObj);
    void SelectWithinRect(CRect rect, BOOL bAdd = FALSE);
    BOOL IsSelected(const CObject* pDocItem) const override;
    void CloneSelection();
    CPoint GetSelectionTopLeft();
    CPoint GetSelectionBottomRight();
    void ClearStatusPanes();
    void UpdateFontNameCombo();
    void UpdateFontSizeCombo();
    void UpdatePatternCombo();
    // The index of a font height in the font-size box; -1 when it is not there.
    static int FontSizeIndexOfHeight(LONG lfHeight);
    static LONG FontHeightOfSizeIndex(int nIndex);
    // A font height (negative, 96-dpi pixels) in points with at most one decimal ("10.5").
    static CString FontPointText(LONG lfHeight);

    // ---- Undo ----
    void CloneSelectionForUndo(int nUnused = 0);
    void RememberSelectionForUndo(int nUnused = 0);
    void CloneSelectionAsAfter(int bCloneItem = 0);
    void RememberSelectionAsBefore(int nUnused = 0);
    void SelectUndoAfter(int nUnused = 0);
    void SelectUndoBefore(int nUnused = 0);
    // Kind, can-undo 1, can-redo 0; an in-place kind (exchanged by swapping the before and
    // the after objects) whose after-list is the before-list's copies to the letter records
    // nothing and gives back the record put aside when the edit began.
    void RecordUndo(int nKind);
    // The end of a tool's gesture: an edit begun that recorded nothing gives back the
    // record put aside when it began.
    void EndUndoStep();
    void SetUndoFlags(BOOL bCanUndo, BOOL bCanRedo);
    void SetUndoKind(int nKind) { m_nUndoKind = nKind; }
    BOOL CanUndo() const { return m_bCanUndo; }
    BOOL CanRedo() const { return m_bCanRedo; }
    int GetUndoKind() const { return m_nUndoKind; }
    // The object leaves the document for good: every view of the document forgets it, then
    // it is destroyed.
    void DestroyObject(CDrawObj* pObj);
    // Called on every view before a document object is destroyed.
    void ForgetObject(CDrawObj* pObj);
    INT_PTR GetOwnedCloneCount() const { return static_cast<INT_PTR>(m_clones.size()); }

    // ---- State the tools read ----
    int GetZoom() const { return m_nZoom; }
    int GetGridPitch() const { return m_nGridPitch; }
    BOOL IsGridShown() const { return m_bGrid; }
    BOOL IsActive() const { return m_bActive; }
    BOOL m_bDragRect = FALSE;
    CRect m_rectDrag;
    int GetTableRows() const { return m_nTableRows; }
    int GetTableCols() const { return m_nTableCols; }
    void SetTableSize(int nRows, int nCols);
    int GetRuleLineStyle() const override { return m_nRuleLineStyle; }
    // A box on the layout window's bars; null while it is not there.
    CComboBox* GetBarBox(UINT nID) const;
    CPendingTextSettings& GetPendingText() { return m_pendingText; }
    CToolTipCtrl& GetToolTip() override { return m_toolTip; }
    CView& GetEditorView() override { return *this; }
    CRect GetLastClip() const override { return m_rectLastClip; }

    // Zoom to a value (25..400) as the zoom commands do.
    void ApplyZoom(int nZoom);

    // ---- An embedded item active in place in this view ----
    // The document's item active in place here; null when none is.
    COleClientItem* GetActiveItem() const;
    // Moves the window of an item showing its user interface to where its object is now
    // (after a scroll or a change of the window's size).
    void UpdateActiveItem();
    // Ends the run of the item active in place here (a click in the view, Esc).
    void CloseActiveItem();

    // ---- Framework overrides ----
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    void DrawPaper(const CRect& clip, CDC* pDC);

    // ---- Messages and commands ----
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnFilePrintSetup();

    afx_msg void OnZoom25();
    afx_msg void OnZoom50();
    afx_msg void OnZoom75();
    afx_msg void OnZoom100();
    afx_msg void OnZoom150();
    afx_msg void OnZoom200();
    afx_msg void OnZoomUser();
    afx_msg void OnUpdateZoom25(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoom50(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoom75(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoom100(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoom150(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoom200(CCmdUI* pCmdUI);
    afx_msg void OnUpdateZoomUser(CCmdUI* pCmdUI);
    afx_msg void OnZoomBoxChange();
    afx_msg void OnViewGrid();
    afx_msg void OnUpdateViewGrid(CCmdUI* pCmdUI);
    afx_msg void OnViewPrintLimit();
    afx_msg void OnUpdateViewPrintLimit(CCmdUI* pCmdUI);

    afx_msg void OnDrawSelect();
    afx_msg void OnDrawRect();
    afx_msg void OnLineTool();
    afx_msg void OnDrawTable();
    afx_msg void OnLineAdd();
    afx_msg void OnLineDelete();
    afx_msg void OnUpdateDrawSelect(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDrawText(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDrawRect(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLineTool(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDrawTable(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLineAdd(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLineDelete(CCmdUI* pCmdUI);
    afx_msg void OnCancel();

    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);

    // ---- Editing commands (CPrintFormViewEditing.cpp); the layout views map them ----
    afx_msg void OnObjectMoveBack();
    afx_msg void OnObjectMoveForward();
    afx_msg void OnObjectMoveToBack();
    afx_msg void OnObjectMoveToFront();
    // Moves the first selected object within the stacking order with move (true when it
    // moved); not undoable, so it ends the chance to undo the previous edit.
    void RestackFirstSelected(bool (*move)(CDrawObjList& objects, POSITION pos, CDrawObj* pObj));
    afx_msg void OnEditClear();
    afx_msg void OnEditCopy();
    afx_msg void OnEditCut();
    afx_msg void OnEditPaste();
    afx_msg void OnEditSelectAll();
    afx_msg void OnEditProperties();
    afx_msg void OnInsertObject();
    afx_msg void OnObjectFrames();
    afx_msg void OnFitToText();
    afx_msg void OnPaperAlignLeft();
    afx_msg void OnPaperAlignCenter();
    afx_msg void OnPaperAlignRight();
    afx_msg void OnAlignObjectsLeft();
    afx_msg void OnAlignObjectsRight();
    afx_msg void OnAlignObjectsTop();
    afx_msg void OnAlignObjectsBottom();
    afx_msg void OnFontSizeChange();
    afx_msg void OnPatternChange();
    afx_msg void OnLineStyleChange();
    afx_msg void OnFontNameChange();
    afx_msg void OnUpdateEditClear(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditProperties(CCmdUI* pCmdUI);
    afx_msg void OnUpdateObjectFrames(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSelectionCommand(CCmdUI* pCmdUI);
    // The objects of "MFC Morvel App" data, offset for the paste count; FALSE and nothing
    // made when the data does not read.
    BOOL PasteObjects(const std::vector<BYTE>& data);
    // The top-left corner of the printable area, as an empty rectangle in object units.
    CRect GetPastePosition();
    // Scrolls a selection that lies outside the window (a paste, an inserted picture at
    // the printable corner) into it.
    void ScrollToSelection();

    // ---- Embedded objects from other programs (CPrintFormViewOle.cpp) ----
    // Makes an embedded object from the data (an item's "Embed Source", else a static
    // picture) and selects it: a drop places it with its upper left corner at point
    // (client pixels), a paste at the printable area's corner. Nothing of it stays and
    // "ｵﾌﾞｼﾞｪｸﾄ貼り付けができません。" is shown when no item can be made.
    BOOL PasteEmbeddedObject(COleDataObject* pDataObject, CPoint point, BOOL bDrop = FALSE);
    // The extent and drag offset of the "Object Descriptor" in device pixels; FALSE and
    // zeros when the data has none.
    BOOL GetObjectDescriptorInfo(COleDataObject* pDataObject, CSize& size, CSize& offset);
    // Whether an embedded object can be made from the data.
    static BOOL CanPasteEmbedded(const COleDataObject* pDataObject);
    DWORD OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DWORD OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave() override;
    BOOL OnDrop(COleDataObject* pDataObject, DWORD dropEffect, CPoint point) override;
    // The focus rectangle of a drag over the view (client pixels); empty while none shows.
    CRect GetDragFocusRect() const;

    // ---- Formatting commands (CPrintFormViewFormat.cpp) ----
    afx_msg void OnRuledLine();
    afx_msg void OnShading();
    afx_msg void OnElementWidth();
    afx_msg void OnRowHeight();
    afx_msg void OnLineSpacing();
    afx_msg void OnGridWidth();
    afx_msg void OnRefresh();
    // The enabling of the shape commands and the pattern box: one census of the selection.
    afx_msg void OnUpdateRuledLine(CCmdUI* pCmdUI);
    afx_msg void OnUpdateShading(CCmdUI* pCmdUI);
    afx_msg void OnUpdateElementWidth(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRowHeight(CCmdUI* pCmdUI);
    afx_msg void OnUpdateLineSpacing(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePatternCombo(CCmdUI* pCmdUI);
    // Counts the selection for the shape commands; TRUE when they may act on it.
    BOOL TakeShapeCensus();
    afx_msg void OnUpdateLineStyleCombo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateGridWidth(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePrintDisabled(CCmdUI* pCmdUI);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);

    // ---- Text commands (CPrintFormViewText.cpp) ----
    afx_msg void OnUnderline();
    afx_msg void OnBold();
    afx_msg void OnItalic();
    afx_msg void OnTextColor();
    afx_msg void OnAlignRight();
    afx_msg void OnAlignLeft();
    afx_msg void OnAlignCenter();
    afx_msg void OnUpdateUnderline(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBold(CCmdUI* pCmdUI);
    afx_msg void OnUpdateItalic(CCmdUI* pCmdUI);
    // The enabling of the text commands and the font boxes: one census of the selection.
    afx_msg void OnUpdateTextColor(CCmdUI* pCmdUI);
    afx_msg void OnUpdateFontName(CCmdUI* pCmdUI);
    afx_msg void OnUpdateFontSize(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlignRight(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlignLeft(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlignCenter(CCmdUI* pCmdUI);
    void SetSelectionFontHeight(int nHeight);
    void SetSelectionFaceName(const CString& strFace, const LOGFONT& lf);
    BOOL IsSelectionBold();
    BOOL IsSelectionItalic();
    BOOL IsSelectionUnderline();
    void UpdateAlignmentState();
    CPrintFormEditState& GetEditState() { return m_edit; }

    DECLARE_MESSAGE_MAP()

protected:
    // The text tool's command belongs to the layout views of each kind (they ask for the
    // text first).
    void SetCurrentShape(int nShape);
    void UpdateShapeCheck(CCmdUI* pCmdUI, int nShape);
    // Enables an item of the shape commands (text) by the shape (text) census.
    void UpdateShapeCensusItem(CCmdUI* pCmdUI);
    void UpdateTextCensusItem(CCmdUI* pCmdUI);

private:
    void SetFixedZoom(int nZoom);
    BOOL IsOneTableSelected();
    void UndoReAdd();
    void UndoRemove();
    void UndoSwap();
    void RedoSwap();
    // Puts the listed objects (clones) back: embedded objects give their place to the
    // document's object of the same item; the others join the document.
    void PutBackFromList();
    void DropUndoRecord();
    void FreeUnheldClones();
    // The before-list becomes undo clones of the selection (the record is not put aside).
    void CloneSelectionIntoBefore();
    // Whether the after-list holds objects that are, one by one, what the before-list holds.
    bool AfterIsBefore() const;
    void GiveBackHeldRecord();
    CDrawObj* MakeUndoClone(CDrawObj* pObj, BOOL bCloneItem);
    void TakeIntoDocument(CDrawObj* pObj);
    void FillList(CDrawObjList& list, const CDrawObjList& from);
    void RemoveSelectedFromDocument(bool bKeepEmbedded);
    // Takes the selected objects out of the layout as one undo step of the kind (a cut, a
    // clear): the clones in the undo record hold them, and the select tool is current.
    void RemoveSelectionForUndo(int nUndoKind);
    // What undo and redo do with each undo kind, in one table (CPrintFormViewUndo.cpp).
    struct CUndoActions;
    void StopAutoScroll();
    // A bar box shows a text that none of its entries has: no entry is selected.
    static void ShowBoxText(CComboBox* pBox, const CString& text);

    int m_nPasteCount = -1;
    int m_nRuleLineStyle = 1;
    int m_nZoom = 100;
    int m_nGridPitch = 10;
    CDrawObjList m_selection;
    CDrawObjList m_undoAfter;
    CDrawObjList m_undoBefore;
    BOOL m_bGrid = FALSE;
    BOOL m_bCanUndo = FALSE;
    BOOL m_bCanRedo = FALSE;
    int m_nUndoKind = 0;
    // The record as it stood when the edit under way began (m_bHeld), given back when the
    // edit changes nothing.
    BOOL m_bHeld = FALSE;
    CDrawObjList m_heldBefore;
    CDrawObjList m_heldAfter;
    int m_nHeldKind = 0;
    BOOL m_bHeldCanUndo = FALSE;
    BOOL m_bHeldCanRedo = FALSE;
    CRect m_rectLastClip;
    BOOL m_bPrintLimit = TRUE;
    BOOL m_bActive = FALSE;
    int m_nTableRows = 2;
    int m_nTableCols = 2;
    int m_nAutoScroll = 0;
    BOOL m_bAutoScrollTimer = FALSE;
    CToolTipCtrl m_toolTip;
    CPoint m_ptLastMouse;
    UINT m_nLastMouseFlags = 0;
    CPendingTextSettings m_pendingText;
    std::unordered_set<CDrawObj*> m_clones; // undo clones this view owns
    CPrintFormEditState m_edit;             // what the editing commands keep between passes

    // A drag of outside data over the view.
    COleDropTarget m_dropTarget;
    CPoint m_dragPoint;         // upper left of the focus rectangle
    CSize m_dragSize;           // the dragged object's size, pixels
    CSize m_dragOffset;         // from its upper left to the mouse
    DWORD m_prevDropEffect = 0; // DROPEFFECT_NONE: no focus rectangle shows
    BOOL m_bDragDataAcceptable = FALSE;
};
