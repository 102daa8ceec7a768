// What other programs hand a layout through the clipboard or a drag: a picture file
// ("image/png", "image/bmp", "image/jpeg"; "image/gif" is not taken) or an embedded item ("Embed
// Source", a compound file), and the "Object Descriptor" beside it that places a drop. The
// first byte chooses the kind; the rest is the data. What a user relies on:
// - data that does not make an item leaves the item as it was (no storage), so a failed
//   paste or drop adds nothing to the layout;
// - a picture that is taken gives a cached bitmap of its own size within the limit and a
//   positive extent; offered back to other programs as a PNG and taken again it gives the
//   same bitmap byte for byte;
// - an item that is taken offers itself again ("Embed Source") and another item made of
//   that has the same storage, byte for byte;
// - a descriptor gives an extent and offset within a metre each way, or nothing; the
//   descriptor an item writes reads back as the item's extent and the offset given.
#include "fuzz/support/FuzzSupport.h"
#include "layout/drawing/DibPicture.h"
#include "platform/ole/COleClientItem.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"
#include "platform/ui/ole/ForeignPicture_p.h"
#include "platform/ui/ole/OleData_p.h"

#include <QMimeData>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

const char* const kPictureTypes[] = {"image/png", "image/bmp", "image/jpeg", "image/gif"};

void CheckPictureItem(COleClientItem& item)
{
    std::vector<BYTE> dib;
    FUZZ_CHECK(item.GetCachedDib(dib));
    CDibPixels pixels;
    FUZZ_CHECK(DecodeDib(dib.data(), dib.size(), pixels));
    FUZZ_CHECK(static_cast<int64_t>(pixels.nWidth) * pixels.nHeight <= FOREIGN_PICTURE_MAX_PIXELS);
    SIZE extent{0, 0};
    FUZZ_CHECK(item.GetExtent(&extent));
    FUZZ_CHECK(extent.cx > 0 && extent.cy > 0);
    // Given to another program as a PNG and taken back: the same bitmap.
    QByteArray png;
    FUZZ_CHECK(AfxImageBytesFromDib(dib, QStringLiteral("image/png"), png));
    std::vector<BYTE> back;
    FUZZ_CHECK(AfxDibFromImageBytes(png, QStringLiteral("image/png"), back));
    FUZZ_CHECK(back == dib);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitToolkit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int nKind = data[0] % 6;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if (nKind == 5) {
        const std::vector<BYTE> desc(data + 1, data + size);
        SIZE extent{1, 1}, offset{1, 1};
        const BOOL bRead = COleClientItem::ReadObjectDescriptor(desc, extent, offset);
        FUZZ_CHECK(bRead == (desc.size() >= 40));
        if (!bRead) {
            FUZZ_CHECK(extent.cx == 0 && extent.cy == 0 && offset.cx == 0 && offset.cy == 0);
            return 0;
        }
        for (LONG v : {extent.cx, extent.cy, offset.cx, offset.cy})
            FUZZ_CHECK(v >= -MAX_DESCRIPTOR_HIMETRIC && v <= MAX_DESCRIPTOR_HIMETRIC);
        return 0;
    }
    QMimeData mime;
    if (nKind < 4)
        mime.setData(QString::fromLatin1(kPictureTypes[nKind]), bytes);
    else
        mime.setData(AfxMimeTypeOfFormat(static_cast<CLIPFORMAT>(COleClientItem::GetEmbedSourceFormat())),
                     bytes);
    COleDataObject object;
    object.Attach(&mime);

    COleClientItem item;
    const BOOL bMade = item.CreateFromData(&object) || item.CreateStaticFromData(&object);
    if (!bMade) {
        FUZZ_CHECK(item.GetStorage() == nullptr);
        return 0;
    }
    FUZZ_CHECK(item.GetStorage() != nullptr);
    if (nKind < 4)
        CheckPictureItem(item);

    // Offered again and taken by another item: the same storage; the descriptor says the
    // item's extent and the offset given.
    COleDataSource source;
    const SIZE given{123, -45};
    FUZZ_CHECK(item.GetClipboardData(&source, &given));
    std::vector<BYTE> desc;
    FUZZ_CHECK(
        source.RenderBytes(static_cast<CLIPFORMAT>(COleClientItem::GetObjectDescriptorFormat()), desc));
    SIZE extent{0, 0}, offset{0, 0}, itemExtent{0, 0};
    FUZZ_CHECK(COleClientItem::ReadObjectDescriptor(desc, extent, offset));
    FUZZ_CHECK(offset.cx == given.cx && offset.cy == given.cy);
    if (item.GetExtent(&itemExtent) && itemExtent.cx <= MAX_DESCRIPTOR_HIMETRIC &&
        itemExtent.cy <= MAX_DESCRIPTOR_HIMETRIC)
        FUZZ_CHECK(extent.cx == itemExtent.cx && extent.cy == itemExtent.cy);
    CDataSourceMime offered(&source, false);
    COleDataObject again;
    again.Attach(&offered);
    COleClientItem copy;
    FUZZ_CHECK(copy.CreateFromData(&again));
    FUZZ_CHECK(copy.GetStorage()->IsSameAs(*item.GetStorage()));
    return 0;
}
