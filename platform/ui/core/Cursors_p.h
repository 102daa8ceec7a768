// Cursors and icons behind their handles (platform/ui internal).
#pragma once

#include "platform/ui/core/WinDefs.h"

#include <QCursor>
#include <QIcon>

QCursor AfxCursorFromHandle(HCURSOR hCursor);
QIcon AfxIconFromHandle(HICON hIcon);
// A handle for a Qt cursor shape (shared, never destroyed).
HCURSOR AfxStandardCursor(Qt::CursorShape shape);
