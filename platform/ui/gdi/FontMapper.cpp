#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/FontMapper_p.h"

#include "platform/base/Cp932.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

// Face names are compared loosely: full-width Latin letters folded to ASCII, blanks
// dropped, case ignored. "ＭＳ 明朝", "MS明朝" and "ms 明朝" are one face.
QString NormalizedFace(const QString& face)
{
    QString out;
    out.reserve(face.size());
    for (QChar ch : face) {
        char16_t c = ch.unicode();
        if (c >= 0xFF01 && c <= 0xFF5E)
            c = static_cast<char16_t>(c - 0xFEE0);
        if (c == u' ' || c == 0x3000 || c == u'\t')
            continue;
        out.append(QChar(c).toLower());
    }
    return out;
}

struct CFaceAlias {
    const char16_t* normalized;
    const char* family;
};

// The Windows faces the stored settings and layouts name, and what draws them here.
const CFaceAlias kFaceAliases[] = {
    {u"ms明朝", "IPAMincho"},       {u"msmincho", "IPAMincho"},   {u"msp明朝", "IPAPMincho"},
    {u"mspmincho", "IPAPMincho"},   {u"msゴシック", "IPAGothic"}, {u"msgothic", "IPAGothic"},
    {u"mspゴシック", "IPAPGothic"}, {u"mspgothic", "IPAPGothic"}, {u"msuigothic", "IPAPGothic"},
    {u"uiゴシック", "IPAPGothic"},  {u"system", "IPAGothic"},     {u"", "IPAGothic"},
    {u"terminal", "IPAGothic"},     {u"fixedsys", "IPAGothic"},   {u"@system", "IPAGothic"},
};

const char* const kDefaultFamily = "IPAPGothic";

// The faces offered to the user ahead of the installed families, with the family each
// needs: code page 932 names as the other edition stores them.
struct COfferedFace {
    const char* utf8Name;
    const char* family;
};
const COfferedFace kOfferedFaces[] = {
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ 明朝", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},
};

// Installed families by lower-cased name, read once.
const QHash<QString, QString>& InstalledFamilies()
{
    static const QHash<QString, QString> none;
    if (!qGuiApp)
        return none; // no font database without a GUI application
    static const QHash<QString, QString> families = [] {
        QHash<QString, QString> map;
        for (const QString& f : QFontDatabase::families())
            map.insert(f.toLower(), f);
        return map;
    }();
    return families;
}

QString FaceToQString(const char* faceName)
{
    const size_t n = faceName ? strnlen(faceName, LF_FACESIZE) : 0;
    const std::u16string u = Cp932ToUtf16(std::string_view(faceName ? faceName : "", n), false);
    return QString(reinterpret_cast<const QChar*>(u.data()), static_cast<qsizetype>(u.size()));
}

QString FamilyForFaceQ(const char* faceName)
{
    const QString face = FaceToQString(faceName);
    const QString key = NormalizedFace(face);
    for (const CFaceAlias& alias : kFaceAliases) {
        if (key == QString::fromUtf16(alias.normalized))
            return QString::fromLatin1(alias.family);
    }
    const auto& installed = InstalledFamilies();
    const auto it = installed.find(face.trimmed().toLower());
    if (it != installed.end())
        return it.value();
    return QString::fromLatin1(kDefaultFamily);
}

// Design metrics of a family, read from its OpenType tables: the cell (Windows ascent
// and descent), the line gap, the average and the widest advance. Heights and widths of
// realised fonts are computed from these as the stored heights expect, not from what the
// rasteriser happens to report.
struct CFaceMetrics {
    int unitsPerEm = 1000;
    int winAscent = 880;
    int winDescent = 120;
    int hheaAscent = 880;
    int hheaDescent = -120;
    int lineGap = 0;
    int xAvgCharWidth = 500;
    int advanceWidthMax = 1000;
    bool fixedPitch = false;
};

int S16(const QByteArray& t, int off)
{
    return static_cast<qint16>(qFromBigEndian<quint16>(t.constData() + off));
}
int U16(const QByteArray& t, int off)
{
    return qFromBigEndian<quint16>(t.constData() + off);
}

CFaceMetrics ReadFaceMetrics(const QString& family)
{
    CFaceMetrics m;
    QFont probe(family);
    probe.setPixelSize(100);
    const QRawFont raw = QRawFont::fromFont(probe);
    const QByteArray head = raw.fontTable("head");
    const QByteArray hhea = raw.fontTable("hhea");
    const QByteArray os2 = raw.fontTable("OS/2");
    const QByteArray post = raw.fontTable("post");
    if (head.size() >= 54 && U16(head, 18) > 0)
        m.unitsPerEm = U16(head, 18);
    else {
        // No tables (a bitmap or synthetic font): take Qt's metrics at 1000 pixels.
        QFont big(family);
        big.setPixelSize(1000);
        const QFontMetricsF fm(big);
        m.unitsPerEm = 1000;
        m.winAscent = m.hheaAscent = static_cast<int>(std::lround(fm.ascent()));
        m.winDescent = static_cast<int>(std::lround(fm.descent()));
        m.hheaDescent = -m.winDescent;
        m.xAvgCharWidth = static_cast<int>(std::lround(fm.averageCharWidth()));
        m.advanceWidthMax = static_cast<int>(std::lround(fm.maxWidth()));
        return m;
    }
    if (hhea.size() >= 36) {
        m.hheaAscent = S16(hhea, 4);
        m.hheaDescent = S16(hhea, 6);
        m.lineGap = S16(hhea, 8);
        m.advanceWidthMax = U16(hhea, 10);
        m.winAscent = m.hheaAscent;
        m.winDescent = -m.hheaDescent;
    }
    if (os2.size() >= 78) {
        m.xAvgCharWidth = S16(os2, 2);
        if (U16(os2, 74) + U16(os2, 76) > 0) {
            m.winAscent = U16(os2, 74);
            m.winDescent = U16(os2, 76);
        }
    } else {
        m.xAvgCharWidth = m.unitsPerEm / 2;
    }
    if (post.size() >= 16)
        m.fixedPitch = qFromBigEndian<quint32>(post.constData() + 12) != 0;
    if (m.xAvgCharWidth <= 0)
        m.xAvgCharWidth = m.unitsPerEm / 2;
    if (m.winAscent + m.winDescent <= 0) {
        m.winAscent = m.unitsPerEm * 88 / 100;
        m.winDescent = m.unitsPerEm - m.winAscent;
    }
    return m;
}

const CFaceMetrics& FaceMetrics(const QString& family)
{
    static std::mutex mutex;
    static std::unordered_map<std::u16string, CFaceMetrics> cache;
    std::lock_guard<std::mutex> lock(mutex);
    const std::u16string key(reinterpret_cast<const char16_t*>(family.utf16()),
                             static_cast<size_t>(family.size()));
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.emplace(key, ReadFaceMetrics(family)).first;
    return it->second;
}

int Scale(int designUnits, int ppem, int unitsPerEm)
{
    return static_cast<int>(std::lround(static_cast<double>(designUnits) * ppem / unitsPerEm));
}

std::shared_ptr<const CRealizedFont> Build(const LOGFONT& lf, int devHeight, int devWidth, int logPixelsY,
                                           bool bPaper)
{
    auto rf = std::make_shared<CRealizedFont>();
    rf->paper = bPaper;
    const bool gui = qGuiApp != nullptr;
    rf->family = gui ? FamilyForFaceQ(lf.lfFaceName) : QString::fromLatin1(kDefaultFamily);
    const CFaceMetrics fm =
        gui ? FaceMetrics(rf->family) : CFaceMetrics{2048, 1802, 401, 1802, -246, 0, 1024, 2048, true};
    const int cellUnits = fm.winAscent + fm.winDescent;

    // Height rules: a negative height is the character (em) height, a positive one the
    // cell height (ascent + descent of the face), 0 the default: a 12-point cell.
    if (devHeight == 0)
        devHeight = std::max(1, MulDiv(16, logPixelsY, 96));
    if (devHeight < 0)
        rf->ppem = -devHeight;
    else
        rf->ppem = static_cast<int>(std::lround(static_cast<double>(devHeight) * fm.unitsPerEm / cellUnits));
    rf->ppem = std::clamp(rf->ppem, 1, 32767);

    rf->ascent = Scale(fm.winAscent, rf->ppem, fm.unitsPerEm);
    rf->descent = Scale(fm.winDescent, rf->ppem, fm.unitsPerEm);
    rf->height = rf->ascent + rf->descent;
    rf->internalLeading = std::max(0, rf->height - rf->ppem);
    rf->externalLeading =
        std::max(0, Scale(fm.hheaAscent - fm.hheaDescent + fm.lineGap - cellUnits, rf->ppem, fm.unitsPerEm));
    const int naturalAverage = std::max(1, Scale(fm.xAvgCharWidth, rf->ppem, fm.unitsPerEm));
    rf->fixedPitch = fm.fixedPitch;
    rf->mincho = rf->family.contains(QLatin1String("Mincho"), Qt::CaseInsensitive);
    rf->escapement = lf.lfEscapement;

    QFont& f = rf->font;
    f.setFamily(rf->family);
    f.setPixelSize(rf->ppem);
    f.setWeight(static_cast<QFont::Weight>(
        std::clamp(lf.lfWeight == 0 ? 400 : static_cast<int>(lf.lfWeight), 1, 1000)));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    f.setKerning(false);
    // Whole-pixel advances per glyph, as the stored layouts were measured with.
    f.setHintingPreference(QFont::PreferFullHinting);
    int strategy = QFont::PreferDefault | QFont::PreferNoShaping;
    if (lf.lfQuality == NONANTIALIASED_QUALITY)
        strategy |= QFont::NoAntialias;
    f.setStyleStrategy(static_cast<QFont::StyleStrategy>(strategy));

    int stretch = 100;
    if (devWidth != 0) {
        stretch = static_cast<int>(std::lround(std::abs(devWidth) * 100.0 / naturalAverage));
        stretch = std::clamp(stretch, 1, 4000);
        f.setStretch(stretch);
        rf->aveCharWidth = std::abs(devWidth);
    } else {
        rf->aveCharWidth = naturalAverage;
    }
    rf->maxCharWidth = std::max(1, Scale(fm.advanceWidthMax, rf->ppem, fm.unitsPerEm) * stretch / 100);
    if (gui) {
        // As the desktop's font configuration decides it: bold or heavier asked of a face
        // whose styles are all at most medium.
        if (f.weight() >= QFont::Bold) {
            bool heavy = false;
            for (const QString& style : QFontDatabase::styles(rf->family))
                heavy = heavy || QFontDatabase::weight(rf->family, style) > QFont::Medium;
            rf->syntheticBold = !heavy;
        }
        rf->boldOffset = QFontMetricsF(f).lineWidth() / 2;
        // The font engine widens a made-up bold glyph's advance by a share of its size while
        // it keeps the glyph's picture (below 64 pixels), and not beyond: the same text would
        // be a twenty-fourth wider on a page of 300 dots per inch than on one of 600. On
        // paper a made-up bold keeps the regular face's advances, so that a text is as wide
        // on every printer and in every preview; screens keep the wider advances their
        // windows were laid out with.
        QFont measured = f;
        if (bPaper && rf->syntheticBold)
            measured.setWeight(QFont::Normal);
        rf->metrics = std::make_unique<QFontMetrics>(measured);
        QFont screen = f;
        screen.setHintingPreference(QFont::PreferVerticalHinting);
        rf->screenGlyphs = QRawFont::fromFont(screen);
    }
    return rf;
}

struct CRealizedCache {
    std::mutex mutex;
    std::unordered_map<std::string, std::shared_ptr<const CRealizedFont>> fonts;
};

// Qt fonts must not outlive the application object: everything cached goes when it does.
void ReleaseAtApplicationExit()
{
    CFontRealizer::ClearCache();
    ReleaseGdiCaches();
}

CRealizedCache& RealizedCache()
{
    static CRealizedCache cache;
    static const bool registered = [] {
        if (QCoreApplication::instance())
            qAddPostRoutine(ReleaseAtApplicationExit);
        return true;
    }();
    (void)registered;
    return cache;
}

} // namespace

std::shared_ptr<const CRealizedFont> CFontRealizer::Realize(const LOGFONT& lf, int devHeight, int devWidth,
                                                            int logPixelsY, bool bPaper)
{
    // Key: the description with the device sizes in place of the logical ones and the
    // face name cut at its end (bytes after the terminator do not matter).
    LOGFONT key = lf;
    key.lfHeight = devHeight;
    key.lfWidth = devWidth;
    key.lfOrientation = 0;
    const size_t n = strnlen(lf.lfFaceName, LF_FACESIZE);
    std::memset(key.lfFaceName, 0, sizeof(key.lfFaceName));
    std::memcpy(key.lfFaceName, lf.lfFaceName, std::min<size_t>(n, LF_FACESIZE - 1));
    std::string bytes(reinterpret_cast<const char*>(&key), sizeof(key));
    if (devHeight == 0)
        bytes.append(reinterpret_cast<const char*>(&logPixelsY), sizeof(logPixelsY));
    bytes.push_back(bPaper ? 'p' : 's');

    CRealizedCache& c = RealizedCache();
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        const auto it = c.fonts.find(bytes);
        if (it != c.fonts.end())
            return it->second;
    }
    auto rf = Build(key, devHeight, devWidth, logPixelsY, bPaper);
    std::lock_guard<std::mutex> lock(c.mutex);
    if (c.fonts.size() >= 1024)
        c.fonts.clear(); // fonts in use stay alive through their users
    c.fonts.emplace(std::move(bytes), rf);
    return rf;
}

void CFontRealizer::ClearCache()
{
    CRealizedCache& c = RealizedCache();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.fonts.clear();
}

const QRawFont& CRealizedFont::ScreenGlyphsAt(double density) const
{
    if (density == 1.0 || !screenGlyphs.isValid())
        return screenGlyphs;
    if (m_fineDensity != density) {
        m_fineGlyphs = screenGlyphs;
        m_fineGlyphs.setPixelSize(ppem * density);
        m_fineDensity = density;
    }
    return m_fineGlyphs;
}

std::string CFontMapper::FamilyForFace(const char* faceName)
{
    return FamilyForFaceQ(faceName).toStdString();
}

QFont CFontMapper::WidgetFont(const LOGFONT& lf)
{
    const auto rf = CFontRealizer::Realize(lf, lf.lfHeight, lf.lfWidth, 96);
    // Widgets lay out their own text: no hinting or shaping preferences from the drawing
    // code, only the family, size and style.
    QFont f(rf->family);
    f.setPixelSize(rf->ppem);
    f.setWeight(rf->font.weight());
    f.setItalic(rf->font.italic());
    f.setUnderline(rf->font.underline());
    f.setStrikeOut(rf->font.strikeOut());
    if (lf.lfWidth != 0)
        f.setStretch(rf->font.stretch());
    return f;
}

QFont CFontMapper::WidgetFont(const char* faceName, int pointSize, LONG weight, bool italic)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -MulDiv(pointSize, 96, 72);
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return WidgetFont(lf);
}

std::vector<CString> CFontMapper::JapaneseFaceNames()
{
    std::vector<CString> names;
    QSet<QString> seen;
    const auto& installed = InstalledFamilies();
    for (const COfferedFace& face : kOfferedFaces) {
        if (installed.contains(QString::fromLatin1(face.family).toLower())) {
            names.push_back(CString::FromUtf8(face.utf8Name));
            seen.insert(NormalizedFace(QString::fromUtf8(face.utf8Name)));
        }
    }
    QStringList families = qGuiApp ? QFontDatabase::families(QFontDatabase::Japanese) : QStringList();
    families.sort(Qt::CaseInsensitive);
    for (const QString& family : families) {
        if (family.startsWith(u'.') || family.isEmpty())
            continue;
        const QString key = NormalizedFace(family);
        if (seen.contains(key))
            continue;
        // Only names that code page 932 can hold unchanged (the layouts store them so).
        const QByteArray utf8 = family.toUtf8();
        const std::string cp932 =
            Utf8ToCp932(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
        if (cp932.empty() || cp932.size() >= static_cast<size_t>(LF_FACESIZE))
            continue;
        if (Cp932ToUtf8(cp932, false) != utf8.toStdString())
            continue;
        seen.insert(key);
        names.push_back(CString(cp932));
    }
    return names;
}
