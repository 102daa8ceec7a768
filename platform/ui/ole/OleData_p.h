// Data transfer between COleDataSource and Qt (platform/ui internal; also for the tests).
#pragma once

#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"
#include "platform/ui/ole/DragDropTestHook.h"

#include <QMimeData>
#include <QString>
#include <QStringList>

class CWnd;
class QWidget;

// The MIME type a format travels as ("text/plain" for CF_TEXT); empty for an unknown
// format.
QString AfxMimeTypeOfFormat(CLIPFORMAT cfFormat);
// The format of a MIME type; 0 when it is none of ours.
CLIPFORMAT AfxFormatOfMimeType(const QString& mimeType);

// Qt's view of a data source. Data is rendered by the source when a receiver asks for it.
// On the clipboard the object owns its source (deleted together); during a drag it only
// speaks for it.
class CDataSourceMime : public QMimeData {
public:
    CDataSourceMime(COleDataSource* pSource, bool bOwnsSource);
    ~CDataSourceMime() override;

    COleDataSource* Source() const { return m_pSource; }
    // The source goes away first: answer nothing from now on.
    void Orphan() { m_pSource = nullptr; }
    bool hasFormat(const QString& mimeType) const override;
    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    COleDataSource* m_pSource;
    bool m_bOwnsSource;
};

// The key state of a drag from Qt's buttons and modifiers, and back.
DWORD AfxDragKeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
Qt::MouseButtons AfxDragButtons(DWORD dwKeyState);
Qt::KeyboardModifiers AfxDragModifiers(DWORD dwKeyState);
// Effects and Qt's drop actions.
Qt::DropAction AfxDropActionOf(DROPEFFECT effect);
Qt::DropActions AfxDropActionsOf(DWORD dwEffects);
DROPEFFECT AfxDropEffectOf(Qt::DropAction action);
// GetKeyState follows the keys of a drag (the keyboard's own events do not reach the
// program while the drag loop runs).
void AfxSyncDragKeyState(DWORD dwKeyState);

// The widget of a window where drops land (null when the window has no drop target).
QWidget* AfxDropWidgetOf(CWnd* pWnd);
// Plays the installed drag script with the data; returns the drop action.
Qt::DropAction AfxRunDragScript(QMimeData* pData, Qt::DropActions actions);
