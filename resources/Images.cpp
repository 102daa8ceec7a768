// Bitmaps and icons: the start-up picture (101) and the icons of the program and of its two
// data documents. The PNG files in resources/images/ are compiled into the program (see
// EmbedImages.cmake), so the program needs no files beside it.
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"

#include "platform/ui/core/Resources.h"

#include <cstring>

// The generated table of the embedded files.
struct CEmbeddedImage {
    const char* name;
    const unsigned char* data;
    size_t size;
};
extern const CEmbeddedImage g_morvelEmbeddedImages[];
extern const size_t g_morvelEmbeddedImageCount;

CImageResource GetEmbeddedImage(const char* lpszName)
{
    for (size_t i = 0; i < g_morvelEmbeddedImageCount; ++i) {
        if (std::strcmp(g_morvelEmbeddedImages[i].name, lpszName) == 0)
            return ImageFromData(g_morvelEmbeddedImages[i].data, g_morvelEmbeddedImages[i].size);
    }
    return CImageResource();
}

void RegisterMorvelImages()
{
    RegisterBitmapResource(IDB_SPLASH, GetEmbeddedImage("splash.png"));
    RegisterIconResource(IDR_MAINFRAME, GetEmbeddedImage("icon_app.png"));
    RegisterIconResource(IDR_MORVELTYPE, GetEmbeddedImage("icon_estimate.png"));
    RegisterIconResource(IDR_PARTSTYPE, GetEmbeddedImage("icon_parts.png"));
}
