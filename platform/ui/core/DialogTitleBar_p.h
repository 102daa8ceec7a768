// A dialog's title bar (platform/ui internal): a caption and a close box, no minimise and
// no maximise box. Every dialog window asks for that through its window flags, and most
// window managers go by them; Openbox decorates by the window's type alone and gives a
// dialog the buttons of a main window. For it the dialog's window is typed as a tool bar
// beside the dialog type, which Openbox shows with a caption and a close box only.
#pragma once

class QWidget;

// Called for a window about to be shown (its native window made, not yet mapped): a
// top-level dialog with a caption gets the window type above where the window manager needs
// it. Nothing happens off X11, under other window managers or for any other window.
void AfxPrepareDialogTitleBar(QWidget* pWindow);
