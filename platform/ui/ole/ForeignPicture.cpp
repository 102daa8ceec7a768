#include "platform/ui/ole/ForeignPicture_p.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace {

constexpr int INFO_HEADER_SIZE = 40;
constexpr int DEFAULT_PELS_PER_METRE = 3780; // 96 dpi

void PutDword(std::vector<BYTE>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<BYTE>(v >> (8 * i)));
}

uint32_t Dword(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int PelsPerMetre(int nDots)
{
    return nDots >= 100 && nDots <= 1000000 ? nDots : DEFAULT_PELS_PER_METRE;
}

QByteArray FormatOfMimeType(const QString& mimeType)
{
    if (mimeType == QLatin1String("image/png"))
        return "png";
    if (mimeType == QLatin1String("image/bmp") || mimeType == QLatin1String("image/x-bmp"))
        return "bmp";
    if (mimeType == QLatin1String("image/jpeg"))
        return "jpeg";
    return QByteArray();
}

// Whether the bytes begin as a file of the format does; anything else is not handed to an
// image reader at all.
bool HasSignature(const QByteArray& bytes, const QByteArray& format)
{
    if (format == "png")
        return bytes.startsWith("\x89PNG\r\n\x1a\n");
    if (format == "bmp")
        return bytes.startsWith("BM");
    if (format == "jpeg")
        return bytes.startsWith("\xFF\xD8\xFF");
    return false;
}

} // namespace

const QStringList& AfxForeignPictureMimeTypes()
{
    static const QStringList s_types = [] {
        QStringList all{QStringLiteral("image/png"), QStringLiteral("image/bmp"),
                        QStringLiteral("image/x-bmp"), QStringLiteral("image/jpeg")};
        // Only the types this Qt can read (the JPEG reader is a plug-in).
        const QList<QByteArray> readable = QImageReader::supportedImageFormats();
        QStringList out;
        for (const QString& t : all)
            if (readable.contains(FormatOfMimeType(t)))
                out.push_back(t);
        return out;
    }();
    return s_types;
}

QString AfxPreferredPictureMimeType(const QStringList& offered)
{
    for (const QString& t : AfxForeignPictureMimeTypes())
        if (offered.contains(t))
            return t;
    return QString();
}

BOOL AfxDibFromImageBytes(const QByteArray& bytes, const QString& mimeType, std::vector<BYTE>& dib)
{
    const QByteArray format = FormatOfMimeType(mimeType);
    if (format.isEmpty() || bytes.isEmpty() ||
        static_cast<size_t>(bytes.size()) > FOREIGN_PICTURE_MAX_BYTES || !HasSignature(bytes, format))
        return FALSE;
    QByteArray data = bytes; // the reader needs a device of its own
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return FALSE;
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    // The size the header announces is checked before anything is decoded.
    const QSize announced = reader.size();
    if (!announced.isValid() || announced.width() <= 0 || announced.height() <= 0 ||
        announced.width() > FOREIGN_PICTURE_MAX_SIDE || announced.height() > FOREIGN_PICTURE_MAX_SIDE ||
        int64_t(announced.width()) * announced.height() > FOREIGN_PICTURE_MAX_PIXELS)
        return FALSE;
    reader.setAllocationLimit(static_cast<int>((FOREIGN_PICTURE_MAX_PIXELS * 8) >> 20));
    QImage image;
    if (!reader.read(&image) || image.isNull() || image.size() != announced)
        return FALSE;
    // Transparent parts on white: a DIB has no transparency.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    const int w = flat.width(), h = flat.height();
    std::vector<BYTE> out;
    out.reserve(INFO_HEADER_SIZE + static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    PutDword(out, INFO_HEADER_SIZE);
    PutDword(out, static_cast<uint32_t>(w));
    PutDword(out, static_cast<uint32_t>(h)); // positive: bottom row first
    out.push_back(1);                        // planes
    out.push_back(0);
    out.push_back(32); // bits per pixel
    out.push_back(0);
    PutDword(out, 0); // no compression
    PutDword(out, static_cast<uint32_t>(w) * static_cast<uint32_t>(h) * 4);
    PutDword(out, static_cast<uint32_t>(PelsPerMetre(image.dotsPerMeterX())));
    PutDword(out, static_cast<uint32_t>(PelsPerMetre(image.dotsPerMeterY())));
    PutDword(out, 0);
    PutDword(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(flat.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<BYTE>(qBlue(pLine[x])));
            out.push_back(static_cast<BYTE>(qGreen(pLine[x])));
            out.push_back(static_cast<BYTE>(qRed(pLine[x])));
            out.push_back(0);
        }
    }
    dib.swap(out);
    return TRUE;
}

BOOL AfxImageBytesFromDib(const std::vector<BYTE>& dib, const QString& mimeType, QByteArray& bytes)
{
    const QByteArray format = FormatOfMimeType(mimeType);
    if ((format != "png" && format != "bmp") || dib.size() < INFO_HEADER_SIZE)
        return FALSE;
    const uint32_t nHeader = Dword(dib.data());
    const uint32_t nColours = Dword(dib.data() + 32);
    const uint16_t nBits = static_cast<uint16_t>(dib[14] | dib[15] << 8);
    if (nHeader < INFO_HEADER_SIZE || nHeader > dib.size() || nColours > 256)
        return FALSE;
    const uint32_t nTable = nBits <= 8 ? (nColours ? nColours : (1u << nBits)) * 4 : 0;
    // The DIB with a file header before it is a ".BMP" file, which Qt's reader checks.
    const uint64_t nBitsAt = 14ull + nHeader + nTable;
    if (dib.size() + 14 > 0x7FFFFFFFu || nBitsAt > dib.size() + 14)
        return FALSE;
    QByteArray file;
    file.reserve(static_cast<qsizetype>(dib.size() + 14));
    std::vector<BYTE> head{'B', 'M'};
    PutDword(head, static_cast<uint32_t>(dib.size() + 14));
    PutDword(head, 0);
    PutDword(head, static_cast<uint32_t>(nBitsAt));
    file.append(reinterpret_cast<const char*>(head.data()), static_cast<qsizetype>(head.size()));
    file.append(reinterpret_cast<const char*>(dib.data()), static_cast<qsizetype>(dib.size()));
    QImage image;
    {
        QBuffer in(&file);
        in.open(QIODevice::ReadOnly);
        QImageReader reader(&in, "bmp");
        // The item's own bitmap may come from a file: the same limits as for other programs'.
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > FOREIGN_PICTURE_MAX_SIDE ||
            size.height() > FOREIGN_PICTURE_MAX_SIDE ||
            int64_t(size.width()) * size.height() > FOREIGN_PICTURE_MAX_PIXELS)
            return FALSE;
        if (!reader.read(&image) || image.isNull())
            return FALSE;
    }
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return FALSE;
    bytes = out;
    return TRUE;
}
