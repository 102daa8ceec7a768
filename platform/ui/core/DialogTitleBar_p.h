// A dialog's title bar (platform/ui internal): a caption and a close box, no minimise and
// no maximise box. Every dialog window asks for that through its window flags, and most
// window managers go by them; Openbox decorates by the window's type alone and gives a
// dialog the buttons of a main window. Under it a dialog stays typed as a dialog, asks the
// window manager for a border only, and shows a caption of the program's own (the dialog's
// icon and title, a close box, dragged to move the window) in a top margin of its window.
#pragma once

class QWidget;

// Whether the program gave a top-level window its size (MoveWindow, SetWindowPos): that size
// is the whole window's, a caption of the dialog's own included. A dialog made from its
// template is not marked: the template sizes the contents, and the caption comes on top.
void AfxMarkWindowRectPlaced(QWidget* pWindow, bool bPlaced);

// Called for a window about to be shown (its native window made, not yet mapped): a
// top-level dialog with a caption gets the caption above where the window manager needs
// it, its window taller by the caption; a window the program sized keeps its rectangle and
// its contents make room for the caption. Nothing happens off X11, under other window
// managers or for any other window.
void AfxPrepareDialogTitleBar(QWidget* pWindow);
