// COleDataSource: the giving side of a data transfer. It holds data in any number of
// formats — given now (CacheGlobalData) or rendered only when a receiver asks
// (DelayRenderData, DelayRenderFileData) — and puts them on the clipboard or runs a
// drag-and-drop with them.
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/ole/COleDataObject.h"

#include <map>
#include <vector>

class CFile;
class COleDropSource;
class CDataSourceMime;

class COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;

    // The source takes the block over (it frees it when emptied or destroyed).
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    // The same with bytes (the block's content).
    void CacheData(CLIPFORMAT cfFormat, const std::vector<BYTE>& bytes);
    // The format is offered; OnRenderGlobalData / OnRenderData makes it when asked.
    void DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // The format is offered; OnRenderFileData writes it into a file when asked.
    void DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // Forgets every format.
    void Empty();

    // The clipboard takes the source over: it is deleted when the clipboard gets other
    // data. (Allocate it with new.)
    void SetClipboard();
    // Renders every delayed format now, so that the clipboard keeps its data when the
    // program ends.
    static void FlushClipboard();
    // The source the clipboard holds, if it is one of ours.
    static COleDataSource* GetClipboardOwner();

    // Runs a drag-and-drop with the source's data; returns the effect the drop target
    // chose (DROPEFFECT_NONE when the drag was cancelled or nobody took it).
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    // ---- rendering (overridden by sources with delayed data) -----------------------------
    virtual BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal);
    virtual BOOL OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile);
    virtual BOOL OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium);

    // ---- the window layer's side -------------------------------------------------------
    // The formats offered, in the order they were added.
    std::vector<CLIPFORMAT> GetFormats() const;
    BOOL HasFormat(CLIPFORMAT cfFormat) const;
    // The bytes of a format: the cached ones, or rendered now. FALSE when the format is not
    // offered or rendering failed.
    BOOL RenderBytes(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes);

private:
    friend class CDataSourceMime;
    enum class Kind { Cached, DelayGlobal, DelayFile };
    struct Entry {
        CLIPFORMAT cfFormat;
        Kind kind;
        std::vector<BYTE> bytes;
    };
    Entry* Find(CLIPFORMAT cfFormat);
    const Entry* Find(CLIPFORMAT cfFormat) const;
    Entry& Slot(CLIPFORMAT cfFormat);

    std::vector<Entry> m_entries;
    std::vector<CDataSourceMime*> m_mimes; // Qt data objects speaking for this source
};

// The drag's look and its cancel rule; the default keeps dragging while the left button is
// down and cancels on Esc.
class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource() = default;
};
