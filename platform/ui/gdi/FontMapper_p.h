// Realised fonts (platform/ui internal): a LOGFONT sized for one device, with the metrics
// the text functions report and the Qt font that draws it.
#pragma once

#include "platform/base/Types.h"
#include "platform/ui/gdi/FontMapper.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QRawFont>
#include <QRect>
#include <QString>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// A text laid out in one realised font, kept for drawing it again (CDC_p.h): a large table
// draws the same few texts in the same font thousands of times on every repaint.
struct CPreparedText {
    QString text;  // as displayed
    int width = 0; // advance width in device pixels
    // The glyphs, found when the text is first drawn on a screen (CDCImpl::ScreenLayout).
    enum { glyphsUnknown, glyphsFound, glyphsMissing } glyphs = glyphsUnknown;
    QGlyphRun glyphRun;      // placed from the text's left end on the baseline
    std::vector<QRect> inks; // each glyph's ink from the same origin, widened by its blur
    // The glyphs last drawn of a text cut by a clip, and which ones they were (a bit for
    // each of the first 64 glyphs; 0: none kept).
    QGlyphRun part;
    quint64 partMask = 0;
};

struct CRealizedFont {
    QFont font; // fully hinted: its whole-pixel advances are what texts measure
    std::unique_ptr<QFontMetrics> metrics;
    // The glyphs drawn on the screen: the same face hinted only vertically and antialiased.
    // Full hinting through some faces' own instructions breaks small glyphs apart (the
    // Mincho faces draw "D" as "I)" at 12 to 16 pixels); the glyphs are placed at the
    // fully hinted advances, so that a text still measures what it draws.
    QRawFont screenGlyphs;
    QString family;  // the installed family used
    int ppem = 0;    // character (em) height in device pixels
    int ascent = 0;  // device pixels above the baseline (cell)
    int descent = 0; // device pixels below the baseline (cell)
    int height = 0;  // ascent + descent
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    bool fixedPitch = false;
    bool mincho = false;
    // Bold asked of a face that has no bold style: the font engines make it up. On paper
    // (the PDF the printers are given) the glyphs are printed twice, the second time
    // boldOffset device pixels to the left (half the face's line thickness).
    bool syntheticBold = false;
    // Realised for a printer (or a preview of one): a made-up bold measures the regular
    // face's advances (see Build in FontMapper.cpp).
    bool paper = false;
    double boldOffset = 0;
    // The texts drawn in this font so far, by their code page 932 bytes.
    mutable std::unordered_map<std::string, CPreparedText> prepared;

    // The screen glyphs for a device finer than its pixels by density (a high-density back
    // buffer): the same face realised at the size it is drawn there. The glyphs of the plain
    // size scaled up would lose what depends on the size the face is realised at, above all
    // a bold made from a regular face, which widens by a share of that size.
    const QRawFont& ScreenGlyphsAt(double density) const;

    // Advance width of a text in device pixels: the sum of whole-pixel glyph advances, no
    // kerning, so that a text measures the sum of its parts.
    // Without a GUI application (headless tools) there are no font files to ask: then
    // half-width characters count half the character height and the others all of it.
    int Width(const QString& text) const
    {
        if (metrics)
            return metrics->horizontalAdvance(text);
        int w = 0;
        for (QChar c : text)
            w += (c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F)) ? ppem / 2 : ppem;
        return w;
    }

private:
    mutable double m_fineDensity = 0; // the density m_fineGlyphs was realised for
    mutable QRawFont m_fineGlyphs;
};

class CFontRealizer {
public:
    // lf sized for a device: devHeight is lfHeight converted to device pixels with its sign
    // kept (0: the default cell height of 12 points at logPixelsY), devWidth lfWidth in
    // device pixels (0: natural width), bPaper for a printer rather than a screen. Results
    // are shared and cached.
    static std::shared_ptr<const CRealizedFont> Realize(const LOGFONT& lf, int devHeight, int devWidth,
                                                        int logPixelsY, bool bPaper = false);
    // Forgets cached fonts (tests, font database changes).
    static void ClearCache();
};
