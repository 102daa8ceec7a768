// The inside of the print preview (platform/ui internal; also for the tests, which look at
// the pages it drew).
#pragma once

#include "platform/ui/frames/CPrintPreview.h"
#include "platform/ui/gdi/CDC.h"

#include <QImage>
#include <QPointer>

#include <map>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

struct CPrintPreviewImpl {
    CView* pView = nullptr;
    CPrintInfo* pInfo = nullptr;
    CDeviceCaps caps; // the printer the pages are drawn for
    CDC infoDC;       // OnBeginPrinting / OnEndPrinting context
    UINT nCurrentPage = 1;
    UINT nLastPage = 0xFFFF; // not known yet
    int nNumPages = 1;
    int nZoom = 100;
    // Device pixels per pixel of the screen the preview shows on (2 on a screen at twice
    // the density): the pages are drawn in device pixels, as sharp as the screen shows.
    double density = 1.0;
    BOOL bPrint = FALSE;
    BOOL bClosed = FALSE;
    std::map<UINT, QImage> pages; // the pages drawn, at the current zoom and the density

    QPointer<QDialog> dialog;
    QPointer<QWidget> pageArea;
    QPointer<QLabel> caption;
    QPointer<QPushButton> next;
    QPointer<QPushButton> prev;
    QPointer<QPushButton> numPages;
    QPointer<QPushButton> zoomIn;
    QPointer<QPushButton> zoomOut;

    // Pixels of the preview image (device pixels of the screen) per printer pixel.
    double Scale() const;
    // How many times larger than shown a page is drawn before it is brought down smoothly
    // to its size (1: drawn at its size).
    double Oversampling() const;
    // Draws one page into pages[nPage]; FALSE when the view has no such page.
    bool Draw(UINT nPage);
    void Refresh();
};
