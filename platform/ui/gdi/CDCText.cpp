#include "platform/ui/gdi/CDC_p.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

int TextLength(LPCTSTR text, int nCount)
{
    if (!text)
        return 0;
    return nCount < 0 ? static_cast<int>(std::strlen(text)) : nCount;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Text.
// ---------------------------------------------------------------------------------------

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return ExtTextOut(x, y, 0, nullptr, lpszString, static_cast<UINT>(TextLength(lpszString, nCount)),
                      nullptr);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                     LPINT lpDxWidths)
{
    CDCImpl& d = *m_pImpl;
    if (!d.host)
        return FALSE;
    const int n = lpszString ? static_cast<int>(nCount) : 0;
    const bool updateCp = (d.st.textAlign & TA_UPDATECP) != 0;
    QPoint ref = updateCp ? d.L2D(d.st.curPos.x(), d.st.curPos.y()) : d.L2D(x, y);
    QRect rect;
    if (lpRect)
        rect = d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);

    const bool clipped = lpRect && (nOptions & ETO_CLIPPED);
    // Text clipped to its rectangle reaches that rectangle alone.
    QPainter* p = clipped ? d.PainterTouching(rect) : d.Painter();
    if (lpRect && (nOptions & ETO_OPAQUE) && !rect.isEmpty()) {
        // Filling the rectangle, its own clip changes nothing.
        d.SetMode(p, QPainter::CompositionMode_SourceOver);
        p->fillRect(rect, ToQColor(d.st.bkColor));
    }
    CDCImpl::CTextRun run;
    if (n > 0) {
        // In OPAQUE mode the text's cell is filled, unless the rectangle already was.
        const bool box = d.st.bkMode == OPAQUE && !(lpRect && (nOptions & ETO_OPAQUE));
        run = d.MakeRun(lpszString, n, lpDxWidths);
        if (!clipped)
            d.DrawRun(p, ref, run, d.st.textAlign, box);
        else if (!d.DrawRunClipped(rect, ref, run, d.st.textAlign, box))
            d.DrawRun(d.PainterClippedTo(rect), ref, run, d.st.textAlign, box);
    }
    if (updateCp) {
        const int logical = d.DevLenToLX(run.width);
        switch (d.st.textAlign & TA_CENTER) {
        case TA_LEFT:
            d.st.curPos.rx() += d.ScaleX() < 0 ? -logical : logical;
            break;
        case TA_RIGHT:
            d.st.curPos.rx() -= d.ScaleX() < 0 ? -logical : logical;
            break;
        default:
            break;
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Text clipped to a rectangle.
//
// The painter clips through a table of spans as tall as its whole device, built anew for
// every new clip rectangle: for the thousands of small clipped texts of a large table that
// table is most of a repaint. A text on a screen is laid out once per font (CPreparedText)
// with the ink of each glyph, so that the glyphs wholly outside the rectangle are left out
// and those wholly inside need no clip. Where glyphs reach out of the rectangle on an image
// (a window's back buffer, a bitmap), they are drawn whole and the pixels their ink covers
// outside the rectangle are put back as they were: glyphs blend pixel by pixel, so these are
// the pixels the painter's clip would give.
// ---------------------------------------------------------------------------------------

namespace {

// Copies h rows of w 32-bit pixels. The rows are a few pixels wide: copied in blocks of
// four pixels and single ones, without a call for each row.
void CopyPixels(uchar* dst, qsizetype dstLine, const uchar* src, qsizetype srcLine, int w, int h)
{
    for (int y = 0; y < h; ++y) {
        uchar* d = dst + y * dstLine;
        const uchar* s = src + y * srcLine;
        int x = 0;
        for (; x + 4 <= w; x += 4)
            std::memcpy(d + x * 4, s + x * 4, 16);
        for (; x < w; ++x)
            std::memcpy(d + x * 4, s + x * 4, 4);
    }
}

} // namespace

bool CDCImpl::DrawRunClipped(const QRect& clip, QPoint ref, const CTextRun& run, UINT align, bool opaqueBox)
{
    // Device pixels only: under a scaling transform (a preview) the glyphs' blur is not
    // where their inks say.
    const CRealizedFont& f = Font();
    if (!host || transformed || host->hasBaseClip || !host->baseTransform.isIdentity() || opaqueBox ||
        caps.technology != DT_RASDISPLAY || f.escapement % 3600 != 0 || f.font.underline() ||
        f.font.strikeOut() || !run.prepared || !ScreenLayout(f, *run.prepared))
        return false;
    CPreparedText& t = *run.prepared;
    const QPoint origin = RunOrigin(ref, run, align);
    const QRect within = clip.translated(-origin); // the rectangle from the text's origin
    bool bInside = true;
    size_t nShown = 0;
    quint64 mask = 0; // of the glyphs shown, for the first 64
    QRect ink;        // of the glyphs shown, in device pixels
    for (size_t i = 0; i < t.inks.size(); ++i)
        if (t.inks[i].intersects(within)) {
            bInside = bInside && within.contains(t.inks[i]);
            ink |= t.inks[i];
            ++nShown;
            if (i < 64)
                mask |= quint64(1) << i;
        }
    if (nShown == 0)
        return true; // nothing of it can show
    ink.translate(origin);
    const bool bAll = nShown == t.inks.size();
    // The same cut of a text (cells of one width) comes again and again: the last one is kept.
    if (!bAll && !(t.inks.size() <= 64 && t.partMask == mask)) {
        const QList<quint32> allGlyphs = t.glyphRun.glyphIndexes();
        const QList<QPointF> allPositions = t.glyphRun.positions();
        QList<quint32> glyphs;
        QList<QPointF> positions;
        for (size_t i = 0; i < t.inks.size(); ++i)
            if (t.inks[i].intersects(within)) {
                glyphs.append(allGlyphs[static_cast<qsizetype>(i)]);
                positions.append(allPositions[static_cast<qsizetype>(i)]);
            }
        t.part = t.glyphRun;
        t.part.setGlyphIndexes(glyphs);
        t.part.setPositions(positions);
        t.partMask = t.inks.size() <= 64 ? mask : 0;
    }
    const QGlyphRun& shown = bAll ? t.glyphRun : t.part;
    const auto draw = [&](QPainter* p) {
        SetMode(p, QPainter::CompositionMode_SourceOver);
        SetPenColor(p, ToQColor(st.textColor));
        PaintGlyphRun(p, origin, shown, f);
    };
    if (bInside) {
        draw(Painter());
        return true;
    }
    const QImage* img = Image();
    if (!img || img->depth() != 32 || img->devicePixelRatio() != 1.0) {
        draw(PainterClippedTo(clip));
        return true;
    }
    ink &= QRect(QPoint(0, 0), img->size());
    if (ink.isEmpty())
        return true;
    // The ink outside the rectangle: the rows above and below it, and the pieces beside it.
    const QRect inside = ink & clip;
    QRect bands[4];
    int nBands = 0;
    if (inside.isEmpty()) {
        bands[nBands++] = ink;
    } else {
        if (ink.top() < inside.top())
            bands[nBands++] = QRect(ink.left(), ink.top(), ink.width(), inside.top() - ink.top());
        if (ink.bottom() > inside.bottom())
            bands[nBands++] =
                QRect(ink.left(), inside.bottom() + 1, ink.width(), ink.bottom() - inside.bottom());
        if (ink.left() < inside.left())
            bands[nBands++] = QRect(ink.left(), inside.top(), inside.left() - ink.left(), inside.height());
        if (ink.right() > inside.right())
            bands[nBands++] =
                QRect(inside.right() + 1, inside.top(), ink.right() - inside.right(), inside.height());
    }
    std::vector<quint32>& saved = host->savedPixels;
    saved.resize(static_cast<size_t>(ink.width()) * static_cast<size_t>(ink.height()));
    // The painter of the device draws on these very bytes, and has nothing pending.
    uchar* device = const_cast<uchar*>(img->constBits());
    const qsizetype line = img->bytesPerLine();
    size_t at = 0;
    for (int i = 0; i < nBands; ++i) {
        const QRect& b = bands[i];
        CopyPixels(reinterpret_cast<uchar*>(saved.data() + at), b.width() * 4,
                   device + b.top() * line + b.left() * 4, line, b.width(), b.height());
        at += static_cast<size_t>(b.width()) * static_cast<size_t>(b.height());
    }
    draw(Painter());
    at = 0;
    for (int i = 0; i < nBands; ++i) {
        const QRect& b = bands[i];
        CopyPixels(device + b.top() * line + b.left() * 4, line,
                   reinterpret_cast<const uchar*>(saved.data() + at), b.width() * 4, b.width(), b.height());
        at += static_cast<size_t>(b.width()) * static_cast<size_t>(b.height());
    }
    return true;
}

namespace {

struct CLine {
    QString text;
    int width = 0;
    int prefixPos = -1; // index of the underlined mnemonic character in text
};

bool IsBreakSpace(QChar c)
{
    return c == u' ' || c == QChar(0x3000);
}

// Characters of the wide scripts may break anywhere; Latin words only at blanks.
bool WideChar(QChar c)
{
    return c.unicode() >= 0x2E80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F);
}

// Line ends: one line drops them, several lines break at each of CR LF, LF and CR (all
// become LF).
void NormaliseLineEnds(QString& text, UINT nFormat)
{
    if (nFormat & DT_SINGLELINE) {
        text.remove(u'\r');
        text.remove(u'\n');
    } else {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
}

// Mnemonic prefixes: "&x" underlines x, "&&" is a plain ampersand. The ampersands go;
// returns the index of the character to underline, or -1.
int TakeOutPrefixes(QString& text, UINT nFormat)
{
    int prefixIndex = -1;
    if (nFormat & DT_NOPREFIX)
        return prefixIndex;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&' && prefixIndex < 0)
                prefixIndex = static_cast<int>(out.size());
        } else if (text[i] == u'&') {
            continue;
        }
        out.append(text[i]);
    }
    text = out;
    return (nFormat & DT_HIDEPREFIX) ? -1 : prefixIndex;
}

// Tabs expand to blanks up to stops every eight average characters (or as many as
// DT_TABSTOP gives in the format's second byte).
void ExpandTabs(QString& text, UINT nFormat, const CRealizedFont& f)
{
    if (!(nFormat & DT_EXPANDTABS))
        return;
    const int tabChars = (nFormat & DT_TABSTOP) ? ((nFormat >> 8) & 0xFF) : 8;
    const int stop = std::max(1, tabChars) * f.aveCharWidth;
    QString out;
    int column = 0; // pixels since the line start
    for (QChar c : text) {
        if (c == u'\n' || c == u'\r') {
            column = 0;
            out.append(c);
        } else if (c == u'\t') {
            const int next = (column / stop + 1) * stop;
            while (column < next) {
                out.append(u' ');
                column += std::max(1, f.Width(QStringLiteral(" ")));
            }
        } else {
            out.append(c);
            column += f.Width(QString(c));
        }
    }
    text = out;
}

// Breaks a paragraph wider than the box into lines of as many characters as fit, each
// ending at the last break opportunity; consumed is the number of characters of the whole
// text before the paragraph (to find the prefix).
void WrapParagraph(const QString& para, int consumed, int prefixIndex, int boxWidth, const CRealizedFont& f,
                   std::vector<CLine>& lines)
{
    qsizetype start = 0;
    while (start < para.size()) {
        // Take as many characters as fit, ending at the last break opportunity.
        qsizetype end = start, lastBreak = -1;
        while (end < para.size()) {
            const int w = f.Width(para.mid(start, end - start + 1));
            if (w > boxWidth && end > start)
                break;
            ++end;
            if (end < para.size() &&
                (IsBreakSpace(para[end]) || WideChar(para[end]) || WideChar(para[end - 1])))
                lastBreak = end;
        }
        if (end < para.size()) {
            if (lastBreak > start) {
                end = lastBreak;
            } else {
                // A word longer than the line stays whole and runs over.
                while (end < para.size() && !IsBreakSpace(para[end]) && !WideChar(para[end]) &&
                       !WideChar(para[end - 1]))
                    ++end;
            }
        }
        QString block = para.mid(start, end - start);
        CLine line{block, 0, -1};
        if (prefixIndex >= consumed + start && prefixIndex < consumed + end)
            line.prefixPos = static_cast<int>(prefixIndex - consumed - start);
        while (line.text.endsWith(u' '))
            line.text.chop(1);
        line.width = f.Width(line.text);
        lines.push_back(line);
        start = end;
        while (start < para.size() && IsBreakSpace(para[start]))
            ++start;
    }
}

// The lines to draw: one a paragraph, a paragraph wider than the box wrapped when wrap is
// set. Never none.
std::vector<CLine> BreakIntoLines(const QString& text, int prefixIndex, bool wrap, int boxWidth,
                                  const CRealizedFont& f)
{
    std::vector<CLine> lines;
    const QStringList paragraphs = text.split(u'\n');
    int consumed = 0; // characters of text before the current paragraph (for the prefix)
    for (const QString& para : paragraphs) {
        if (!wrap || f.Width(para) <= boxWidth) {
            CLine line{para, f.Width(para), -1};
            if (prefixIndex >= consumed && prefixIndex < consumed + para.size())
                line.prefixPos = prefixIndex - consumed;
            lines.push_back(line);
        } else {
            WrapParagraph(para, consumed, prefixIndex, boxWidth, f, lines);
        }
        consumed += static_cast<int>(para.size()) + 1;
    }
    if (lines.empty())
        lines.push_back(CLine{});
    return lines;
}

// End ellipsis: a last line that does not fit loses characters for "...".
void EndWithEllipsis(CLine& last, int boxWidth, const CRealizedFont& f)
{
    if (last.width <= boxWidth)
        return;
    const QString dots = QStringLiteral("...");
    QString s = last.text;
    while (!s.isEmpty() && f.Width(s + dots) > boxWidth)
        s.chop(1);
    last.text = s + dots;
    last.width = f.Width(last.text);
    if (last.prefixPos >= s.size())
        last.prefixPos = -1;
}

// Draws the lines from top down, each placed in the box as the format says, with the
// prefix character underlined.
void DrawLines(CDCImpl& d, QPainter* p, const CRealizedFont& f, const std::vector<CLine>& lines,
               const QRect& box, int top, int lineHeight, UINT nFormat)
{
    const bool opaque = d.st.bkMode == OPAQUE;
    int y = top;
    for (const CLine& line : lines) {
        int x = box.left();
        if (nFormat & DT_CENTER)
            x = box.left() + (box.width() - line.width) / 2;
        else if (nFormat & DT_RIGHT)
            x = box.right() + 1 - line.width;
        if (!(nFormat & DT_PREFIXONLY)) {
            CDCImpl::CTextRun run;
            run.text = line.text;
            run.width = line.width;
            d.DrawRun(p, QPoint(x, y), run, TA_LEFT | TA_TOP, opaque);
        }
        if (line.prefixPos >= 0 && line.prefixPos < line.text.size()) {
            const int ux = x + f.Width(line.text.left(line.prefixPos));
            const int uw = f.Width(line.text.mid(line.prefixPos, 1));
            d.SetMode(p, QPainter::CompositionMode_SourceOver);
            p->fillRect(QRect(ux, y + f.ascent + 1, uw, 1), ToQColor(d.st.textColor));
        }
        y += lineHeight;
    }
}

} // namespace

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    CDCImpl& d = *m_pImpl;
    if (!d.host || !lpRect)
        return 0;
    const int n = TextLength(lpszString, nCount);
    const CRealizedFont& f = d.Font();
    QString text = DisplayText(lpszString, n);
    NormaliseLineEnds(text, nFormat);
    const int prefixIndex = TakeOutPrefixes(text, nFormat);
    ExpandTabs(text, nFormat, f);

    const QRect box = d.DevRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    const bool single = (nFormat & DT_SINGLELINE) != 0;
    const bool wrap = (nFormat & DT_WORDBREAK) && !single;
    std::vector<CLine> lines = BreakIntoLines(text, prefixIndex, wrap, box.width(), f);
    if ((nFormat & DT_END_ELLIPSIS) && !(nFormat & DT_CALCRECT))
        EndWithEllipsis(lines.back(), box.width(), f);

    const int lineHeight = f.height + ((nFormat & DT_EXTERNALLEADING) ? f.externalLeading : 0);
    const int total = lineHeight * static_cast<int>(lines.size());
    if (nFormat & DT_CALCRECT) {
        // The rectangle is fitted to the text from its top-left corner.
        int maxWidth = 0;
        for (const CLine& l : lines)
            maxWidth = std::max(maxWidth, l.width);
        const int devLeft = d.XL2D(lpRect->left);
        const int devTop = d.YL2D(lpRect->top);
        const int right = wrap ? std::max(maxWidth, 0) : maxWidth;
        lpRect->right = d.XD2L(devLeft + right);
        lpRect->bottom = d.YD2L(devTop + total);
        return d.DevLenToLY(total);
    }

    int top = box.top();
    if (single) {
        if (nFormat & DT_VCENTER)
            top = box.top() + (box.height() - lineHeight) / 2;
        else if (nFormat & DT_BOTTOM)
            top = box.bottom() + 1 - lineHeight;
    }
    QPainter* p = (nFormat & DT_NOCLIP) ? d.Painter() : d.PainterClippedTo(box);
    DrawLines(d, p, f, lines, box, top, lineHeight, nFormat);
    if (single && (nFormat & (DT_VCENTER | DT_BOTTOM)))
        return d.DevLenToLY(top + lineHeight - box.top());
    return d.DevLenToLY(total);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    CDCImpl& d = *m_pImpl;
    const int n = TextLength(lpszString, nCount);
    const CRealizedFont& f = d.Font();
    const CDCImpl::CTextRun run = d.MakeRun(lpszString, n, nullptr);
    return CSize(d.DevLenToLX(run.width), d.DevLenToLY(f.height));
}

BOOL CDC::GetTextExtentExPoint(LPCTSTR lpszString, int nCount, int nMaxExtent, LPINT lpnFit, LPINT alpDx,
                               LPSIZE lpSize) const
{
    CDCImpl& d = *m_pImpl;
    const int n = TextLength(lpszString, nCount);
    const CRealizedFont& f = d.Font();
    const int extra = d.st.charExtra == 0 ? 0 : d.LenX(d.st.charExtra) * (d.st.charExtra < 0 ? -1 : 1);
    // A text measures the sum of its characters' advances: each character is looked up once,
    // in the text converted whole (one character of code page 932 is one of the display
    // text), else on its own.
    const std::vector<std::pair<int, int>> spans = CharacterSpans(lpszString, n);
    const QString text = DisplayText(lpszString, n);
    const bool bOneToOne = f.metrics && text.size() == static_cast<qsizetype>(spans.size());
    int x = 0, nFit = 0;
    for (size_t i = 0; i < spans.size(); ++i) {
        const auto [start, len] = spans[i];
        x += (bOneToOne ? f.metrics->horizontalAdvance(text[static_cast<qsizetype>(i)])
                        : f.Width(DisplayText(lpszString + start, len))) +
             extra;
        const int nExtent = d.DevLenToLX(x);
        if (nExtent <= nMaxExtent && nFit == start)
            nFit = start + len;
        if (alpDx)
            for (int k = start; k < start + len; ++k)
                alpDx[k] = nExtent;
    }
    if (lpnFit)
        *lpnFit = nFit;
    if (lpSize)
        *lpSize = CSize(d.DevLenToLX(x), d.DevLenToLY(f.height));
    return TRUE;
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    if (!lpMetrics)
        return FALSE;
    CDCImpl& d = *m_pImpl;
    const CRealizedFont& f = d.Font();
    const LOGFONT& lf = d.st.font->font;
    std::memset(lpMetrics, 0, sizeof(TEXTMETRIC));
    lpMetrics->tmHeight = d.DevLenToLY(f.height);
    lpMetrics->tmAscent = d.DevLenToLY(f.ascent);
    lpMetrics->tmDescent = d.DevLenToLY(f.descent);
    lpMetrics->tmInternalLeading = d.DevLenToLY(f.internalLeading);
    lpMetrics->tmExternalLeading = d.DevLenToLY(f.externalLeading);
    lpMetrics->tmAveCharWidth = d.DevLenToLX(f.aveCharWidth);
    lpMetrics->tmMaxCharWidth = d.DevLenToLX(f.maxCharWidth);
    lpMetrics->tmWeight = lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight;
    lpMetrics->tmOverhang = 0;
    lpMetrics->tmDigitizedAspectX = d.caps.logPixelsX;
    lpMetrics->tmDigitizedAspectY = d.caps.logPixelsY;
    lpMetrics->tmFirstChar = 0x20;
    lpMetrics->tmLastChar = 0xFC;
    lpMetrics->tmDefaultChar = 0x1F;
    lpMetrics->tmBreakChar = 0x20;
    lpMetrics->tmItalic = lf.lfItalic ? 1 : 0;
    lpMetrics->tmUnderlined = lf.lfUnderline ? 1 : 0;
    lpMetrics->tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    // TMPF_FIXED_PITCH set means a proportional font.
    lpMetrics->tmPitchAndFamily = static_cast<BYTE>((f.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR |
                                                    TMPF_TRUETYPE | (f.mincho ? FF_ROMAN : FF_MODERN));
    lpMetrics->tmCharSet = SHIFTJIS_CHARSET;
    return TRUE;
}

BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    if (!lpBuffer || nFirstChar > nLastChar || nLastChar > 0xFF)
        return FALSE;
    CDCImpl& d = *m_pImpl;
    const CRealizedFont& f = d.Font();
    for (UINT c = nFirstChar; c <= nLastChar; ++c) {
        const char ch = static_cast<char>(c);
        lpBuffer[c - nFirstChar] = d.DevLenToLX(f.Width(DisplayText(&ch, 1)));
    }
    return TRUE;
}

int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const
{
    const char* face = m_pImpl->st.font->font.lfFaceName;
    const int len = static_cast<int>(strnlen(face, LF_FACESIZE));
    if (!lpszFacename || nCount <= 0)
        return len + 1;
    const int n = std::min(len, nCount - 1);
    std::memcpy(lpszFacename, face, static_cast<size_t>(n));
    lpszFacename[n] = '\0';
    return n;
}

int CDC::GetTextFace(CString& rString) const
{
    const char* face = m_pImpl->st.font->font.lfFaceName;
    rString = CString(face, static_cast<int>(strnlen(face, LF_FACESIZE)));
    return rString.GetLength();
}

int CDC::EnumFontFamiliesEx(LPLOGFONT lpLogFont, FONTENUMPROC lpEnumFontFamProc, LPARAM lParam, DWORD)
{
    if (!lpEnumFontFamProc)
        return 0;
    BYTE charset = lpLogFont ? lpLogFont->lfCharSet : DEFAULT_CHARSET;
    if (charset == DEFAULT_CHARSET)
        charset = SHIFTJIS_CHARSET;
    CString wanted;
    if (lpLogFont)
        wanted =
            CString(lpLogFont->lfFaceName, static_cast<int>(strnlen(lpLogFont->lfFaceName, LF_FACESIZE)));
    int result = 1;
    for (const CString& face : CFontMapper::JapaneseFaceNames()) {
        if (!wanted.IsEmpty() && face.CompareNoCase(wanted) != 0)
            continue;
        ENUMLOGFONTEX elf;
        std::memset(&elf, 0, sizeof(elf));
        LOGFONT& lf = elf.elfLogFont;
        lf.lfHeight = 16;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = charset;
        lf.lfOutPrecision = OUT_STROKE_PRECIS;
        lf.lfClipPrecision = CLIP_STROKE_PRECIS;
        lf.lfQuality = DRAFT_QUALITY;
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
        const auto rf = CFontRealizer::Realize(lf, 16, 0, 96);
        lf.lfPitchAndFamily = static_cast<BYTE>((rf->fixedPitch ? FIXED_PITCH : VARIABLE_PITCH) |
                                                (rf->mincho ? FF_ROMAN : FF_MODERN));
        std::strncpy(elf.elfFullName, face, LF_FULLFACESIZE - 1);
        std::strncpy(elf.elfStyle, "Regular", LF_FACESIZE - 1);
        std::strncpy(elf.elfScript, CString("日本語"_sj), LF_FACESIZE - 1);
        NEWTEXTMETRICEX ntm;
        std::memset(&ntm, 0, sizeof(ntm));
        TEXTMETRIC& tm = ntm.ntmTm;
        tm.tmHeight = rf->height;
        tm.tmAscent = rf->ascent;
        tm.tmDescent = rf->descent;
        tm.tmInternalLeading = rf->internalLeading;
        tm.tmExternalLeading = rf->externalLeading;
        tm.tmAveCharWidth = rf->aveCharWidth;
        tm.tmMaxCharWidth = rf->maxCharWidth;
        tm.tmWeight = FW_NORMAL;
        tm.tmPitchAndFamily = static_cast<BYTE>((rf->fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR |
                                                TMPF_TRUETYPE | (rf->mincho ? FF_ROMAN : FF_MODERN));
        tm.tmCharSet = charset;
        ntm.ntmSizeEM = static_cast<UINT>(rf->ppem);
        ntm.ntmCellHeight = static_cast<UINT>(rf->height);
        ntm.ntmAvgWidth = static_cast<UINT>(rf->aveCharWidth);
        result = lpEnumFontFamProc(&elf.elfLogFont, &ntm.ntmTm, TRUETYPE_FONTTYPE, lParam);
        if (result == 0)
            break;
    }
    return result;
}
