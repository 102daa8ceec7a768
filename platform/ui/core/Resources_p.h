// Decoding of resource images (platform/ui internal).
#pragma once

#include "platform/ui/core/Resources.h"

#include <QImage>

// Loads the image (file, embedded bytes or XPM); FALSE when it cannot be read.
bool AfxLoadResourceImage(const CImageResource& image, QImage& out);
// The cursor resource of an id: image and hot spot.
struct CCursorResource {
    CImageResource image;
    int xHotSpot = 0;
    int yHotSpot = 0;
};
const CCursorResource* FindCursorResource(UINT nID);
