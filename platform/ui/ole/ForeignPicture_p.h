// Pictures exchanged with other programs (platform/ui internal: the clipboard and drag
// classes use it, and its interface is in Qt's types). On the desktop's clipboard and in
// drags other programs offer pictures as image files ("image/png", "image/bmp",
// "image/jpeg", ...); the program itself keeps pictures as device-independent bitmaps
// (CF_DIB: a 40-byte info header and 32-bit rows, bottom row first). These convert one into
// the other.
//
// The image bytes come from outside: bytes that do not begin as a file of their type are
// not read at all; the rest are checked by the image reader, a picture
// larger than FOREIGN_PICTURE_MAX_PIXELS or wider or higher than FOREIGN_PICTURE_MAX_SIDE,
// or bytes beyond FOREIGN_PICTURE_MAX_BYTES, are refused before anything is decoded, and a
// refusal gives nothing. Within those limits every picture taken can be offered back as a
// PNG and carried by an item (whose storage keeps the bitmap twice).
#pragma once

#include "platform/base/Types.h"

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

constexpr int64_t FOREIGN_PICTURE_MAX_PIXELS = int64_t(1) << 23; // a 4K screen shot fits
constexpr int FOREIGN_PICTURE_MAX_SIDE = 16384;
constexpr size_t FOREIGN_PICTURE_MAX_BYTES = size_t(64) << 20;

// The picture types taken from other programs, most preferred first.
const QStringList& AfxForeignPictureMimeTypes();
// The first of them that a data offer holds (from its list of MIME types); empty for none.
QString AfxPreferredPictureMimeType(const QStringList& offered);

// An image file's bytes as a DIB. Transparent parts are laid on white. The resolution the
// file gives is kept (96 dpi when it gives none). FALSE, dib untouched, when the bytes are
// not a picture of that type or are too large.
BOOL AfxDibFromImageBytes(const QByteArray& bytes, const QString& mimeType, std::vector<BYTE>& dib);

// A DIB as an image file of the type ("image/png" or "image/bmp") for other programs.
// FALSE when the DIB cannot be read.
BOOL AfxImageBytesFromDib(const std::vector<BYTE>& dib, const QString& mimeType, QByteArray& bytes);
