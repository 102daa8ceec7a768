// Draws the program's pictures and writes them as PNG files into a folder (the committed
// copies live in resources/images/ and are compiled into the program):
//
//   make_images <folder>
//
//   splash.png        the start-up picture, 520 x 317, 24 bits per pixel
//   toolbar_main.png  the buttons of the main tool bar, 16 x 15 each, side by side
//   toolbar_morvel.png  the buttons of the second tool bar ("ﾓﾙﾍﾞﾙﾊﾞｰ")
//   icon_app.png, icon_estimate.png, icon_parts.png  48 x 48 icons
// and, given a second folder, the desktop's icons in the hicolor sizes
// (make_images resources/images desktop/icons/hicolor).
//
// Everything is drawn here from simple shapes; run it again after changing a picture.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QColor kOutline(64, 64, 64);
const QColor kPaper(255, 255, 255);
const QColor kBlue(32, 96, 192);
const QColor kDarkBlue(20, 60, 130);
const QColor kYellow(240, 196, 64);
const QColor kDarkYellow(170, 125, 30);
const QColor kRed(200, 48, 48);
const QColor kGreen(40, 150, 70);
const QColor kGray(150, 150, 150);
const QColor kLightGray(210, 210, 210);

constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;

using ButtonPainter = std::function<void(QPainter&)>;

// A filled rectangle with a one-pixel outline whose pixels lie on the given corners.
void Box(QPainter& p, int x0, int y0, int x1, int y1, const QColor& fill, const QColor& line = kOutline)
{
    p.fillRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, line);
    if (x1 - x0 >= 2 && y1 - y0 >= 2)
        p.fillRect(x0 + 1, y0 + 1, x1 - x0 - 1, y1 - y0 - 1, fill);
}

void Line(QPainter& p, int x0, int y0, int x1, int y1, const QColor& color)
{
    p.setPen(QPen(color, 1));
    p.drawLine(x0, y0, x1, y1);
}

// A page with a folded corner, with a few lines of text when asked.
void Page(QPainter& p, int x0, int y0, int x1, int y1, bool withText)
{
    QPolygon poly;
    poly << QPoint(x0, y0) << QPoint(x1 - 3, y0) << QPoint(x1, y0 + 3) << QPoint(x1, y1) << QPoint(x0, y1);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawPolygon(poly);
    Line(p, x1 - 3, y0, x1 - 3, y0 + 3, kOutline);
    Line(p, x1 - 3, y0 + 3, x1, y0 + 3, kOutline);
    if (withText) {
        for (int y = y0 + 5; y <= y1 - 2; y += 2)
            Line(p, x0 + 2, y, x1 - 2, y, kGray);
    }
}

void Magnifier(QPainter& p, double cx, double cy, double r, const QColor& rim)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(rim, 1.6));
    p.setBrush(QColor(225, 240, 255));
    p.drawEllipse(QPointF(cx, cy), r, r);
    p.setPen(QPen(kOutline, 2.6, Qt::SolidLine, Qt::RoundCap));
    const double d = r * 0.72;
    p.drawLine(QPointF(cx + d + 0.6, cy + d + 0.6), QPointF(cx + d + 4.2, cy + d + 4.2));
    p.setRenderHint(QPainter::Antialiasing, false);
}

// A curved arrow: to the left for undo, to the right for redo.
void CurvedArrow(QPainter& p, bool toLeft)
{
    p.save();
    if (!toLeft) {
        p.translate(kButtonWidth, 0);
        p.scale(-1, 1);
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    path.moveTo(4.5, 6.5);
    path.cubicTo(8.0, 3.0, 14.0, 4.0, 13.5, 9.5);
    path.cubicTo(13.2, 12.0, 11.0, 13.0, 9.0, 13.0);
    p.setPen(QPen(kBlue, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QPolygonF head;
    head << QPointF(1.0, 7.5) << QPointF(7.0, 3.0) << QPointF(7.0, 10.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(head);
    p.restore();
}

void Glyph(QPainter& p, const QRect& rect, const QString& text, const QColor& color, int pixelSize, bool bold)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    p.setFont(font);
    p.setPen(color);
    p.drawText(rect, Qt::AlignCenter, text);
}

// ---- the buttons ----------------------------------------------------------------------

void DrawNew(QPainter& p)
{
    Page(p, 3, 1, 12, 14, false);
}

void DrawOpen(QPainter& p)
{
    Box(p, 1, 3, 6, 5, kYellow, kDarkYellow);
    Box(p, 1, 4, 12, 13, kYellow, kDarkYellow);
    QPolygon flap;
    flap << QPoint(3, 7) << QPoint(15, 7) << QPoint(13, 13) << QPoint(1, 13);
    p.setPen(QPen(kDarkYellow, 1));
    p.setBrush(QColor(250, 222, 120));
    p.drawPolygon(flap);
}

void DrawSave(QPainter& p)
{
    Box(p, 1, 1, 14, 14, kBlue, kDarkBlue);
    Box(p, 4, 1, 11, 6, kPaper, kDarkBlue);
    Line(p, 5, 3, 10, 3, kGray);
    Box(p, 4, 9, 11, 14, kLightGray, kDarkBlue);
    p.fillRect(8, 10, 2, 3, kDarkBlue);
}

void DrawCut(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kOutline, 1.3));
    p.drawLine(QPointF(5.5, 9.0), QPointF(10.5, 1.0));
    p.drawLine(QPointF(10.5, 9.0), QPointF(5.5, 1.0));
    p.setPen(QPen(kRed, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(4.5, 11.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 11.5), 2.5, 2.5);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawCopy(QPainter& p)
{
    Page(p, 1, 1, 9, 10, true);
    Page(p, 6, 4, 14, 14, true);
}

void DrawPaste(QPainter& p)
{
    Box(p, 1, 2, 11, 14, QColor(200, 150, 90), QColor(120, 80, 40));
    Box(p, 4, 1, 8, 3, kLightGray, kOutline);
    Page(p, 6, 6, 14, 14, true);
}

void DrawUndo(QPainter& p)
{
    CurvedArrow(p, true);
}
void DrawRedo(QPainter& p)
{
    CurvedArrow(p, false);
}

void DrawPrint(QPainter& p)
{
    Box(p, 4, 1, 11, 6, kPaper);
    Box(p, 1, 6, 14, 11, kLightGray);
    p.fillRect(11, 8, 2, 1, kGreen);
    Box(p, 4, 10, 11, 14, kPaper);
    Line(p, 5, 12, 10, 12, kGray);
}

void DrawPreview(QPainter& p)
{
    Page(p, 1, 1, 10, 14, true);
    Magnifier(p, 9.5, 7.5, 3.3, kOutline);
}

void DrawFind(QPainter& p)
{
    Magnifier(p, 6.5, 6.0, 4.5, kOutline);
}

void DrawReplace(QPainter& p)
{
    Magnifier(p, 5.0, 5.0, 3.5, kOutline);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kRed, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.0, 3.0), QPointF(14.0, 3.0));
    QPolygonF head;
    head << QPointF(15.5, 3.0) << QPointF(12.5, 0.5) << QPointF(12.5, 5.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPolygon(head);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawZoom(QPainter& p)
{
    Magnifier(p, 6.5, 6.0, 4.5, kOutline);
    Line(p, 4, 6, 9, 6, kBlue);
    Line(p, 6, 4, 6, 8, kBlue);
    Line(p, 7, 4, 7, 8, kBlue);
}

void DrawAbout(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(0.5, 0.0, 15.0, 15.0));
    Glyph(p, QRect(0, 0, 16, 15), "?", Qt::white, 12, true);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawEnvironment(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 110, 120));
    const QPointF c(8.0, 7.5);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45.0);
        p.drawRect(QRectF(-1.4, -7.2, 2.8, 4.0));
        p.restore();
    }
    p.drawEllipse(c, 5.0, 5.0);
    p.setBrush(kPaper);
    p.drawEllipse(c, 2.0, 2.0);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawIntroduction(QPainter& p)
{
    Box(p, 1, 1, 14, 13, kPaper);
    p.fillRect(2, 2, 12, 3, kBlue);
    for (int y = 7; y <= 11; y += 2)
        Line(p, 2, y, 13, y, kLightGray);
    Line(p, 6, 2, 6, 12, kGray);
    Line(p, 6, 2, 6, 4, kDarkBlue);
}

void DrawInformation(QPainter& p)
{
    Box(p, 1, 2, 14, 13, kPaper);
    p.fillRect(2, 3, 3, 10, kGreen);
    for (int y = 5; y <= 11; y += 3)
        Line(p, 7, y, 12, y, kGray);
    p.fillRect(3, 5, 1, 1, kPaper);
    p.fillRect(3, 7, 1, 4, kPaper);
}

void DrawSummary(QPainter& p)
{
    Line(p, 1, 14, 14, 14, kOutline);
    Line(p, 1, 1, 1, 14, kOutline);
    Box(p, 3, 8, 5, 13, kBlue, kDarkBlue);
    Box(p, 7, 4, 9, 13, kGreen, QColor(20, 90, 40));
    Box(p, 11, 6, 13, 13, kRed, QColor(120, 30, 30));
}

void DrawRecalculate(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF sigma;
    sigma << QPointF(12.5, 3.0) << QPointF(12.5, 1.5) << QPointF(3.0, 1.5) << QPointF(8.0, 7.5)
          << QPointF(3.0, 13.5) << QPointF(12.5, 13.5) << QPointF(12.5, 12.0);
    p.setPen(QPen(kDarkBlue, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(sigma);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawPrintForm(QPainter& p)
{
    Page(p, 2, 1, 13, 14, false);
    Box(p, 4, 3, 9, 5, QColor(255, 230, 160), kDarkYellow);
    Box(p, 4, 7, 11, 12, kPaper, kBlue);
    Line(p, 4, 9, 11, 9, kBlue);
    Line(p, 7, 7, 7, 12, kBlue);
}

void DrawImport(QPainter& p)
{
    Box(p, 1, 9, 14, 14, kLightGray);
    p.fillRect(4, 10, 8, 2, kGray);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF arrow;
    arrow << QPointF(6.0, 0.5) << QPointF(10.0, 0.5) << QPointF(10.0, 5.0) << QPointF(13.0, 5.0)
          << QPointF(8.0, 10.5) << QPointF(3.0, 5.0) << QPointF(6.0, 5.0);
    p.setPen(QPen(QColor(20, 100, 40), 1.0));
    p.setBrush(kGreen);
    p.drawPolygon(arrow);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void DrawDosConvert(QPainter& p)
{
    Box(p, 0, 1, 15, 13, QColor(20, 20, 20), kOutline);
    const QColor text(90, 230, 110);
    // "C>" and a cursor, drawn pixel by pixel.
    Line(p, 3, 4, 5, 4, text);
    Line(p, 2, 5, 2, 8, text);
    Line(p, 3, 9, 5, 9, text);
    Line(p, 7, 4, 9, 6, text);
    Line(p, 9, 7, 7, 9, text);
    p.fillRect(11, 9, 3, 1, text);
}

QImage DrawStrip(const std::vector<ButtonPainter>& buttons)
{
    QImage image(kButtonWidth * static_cast<int>(buttons.size()), kButtonHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (size_t i = 0; i < buttons.size(); ++i) {
        QImage button(kButtonWidth, kButtonHeight, QImage::Format_ARGB32);
        button.fill(Qt::transparent);
        {
            QPainter p(&button);
            buttons[i](p);
        }
        QPainter p(&image);
        p.drawImage(static_cast<int>(i) * kButtonWidth, 0, button);
    }
    return image;
}

// ---- the start-up picture ---------------------------------------------------------------

QImage DrawSplash()
{
    const int w = 520;
    const int h = 317;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    QLinearGradient sky(0, 0, w, h);
    sky.setColorAt(0.0, QColor(10, 38, 84));
    sky.setColorAt(1.0, QColor(28, 104, 160));
    p.fillRect(image.rect(), sky);

    // A drawing-paper grid, faint.
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    for (int x = 10; x < w; x += 20)
        p.drawLine(x, 0, x, h);
    for (int y = 7; y < h; y += 20)
        p.drawLine(0, y, w, y);

    // A house outline and a rising bar chart on the right: building and estimating.
    QPen outline(QColor(255, 255, 255, 150), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    QPolygonF house;
    house << QPointF(330, 190) << QPointF(330, 120) << QPointF(395, 70) << QPointF(460, 120)
          << QPointF(460, 190);
    p.drawPolyline(house);
    p.drawRect(QRectF(350, 135, 30, 28));
    p.drawLine(QPointF(365, 135), QPointF(365, 163));
    p.drawLine(QPointF(350, 149), QPointF(380, 149));
    p.drawRect(QRectF(408, 140, 32, 50));
    const QColor bars[] = {QColor(120, 200, 255, 170), QColor(140, 220, 170, 170),
                           QColor(255, 210, 120, 190)};
    for (int i = 0; i < 3; ++i) {
        const double bh = 26.0 + i * 22.0;
        p.fillRect(QRectF(478 + i * 12, 190 - bh, 9, bh), bars[i]);
    }
    p.setPen(QPen(QColor(255, 255, 255, 150), 2));
    p.drawLine(QPointF(320, 191), QPointF(505, 191));

    // The title.
    QFont title("DejaVu Sans");
    title.setPixelSize(66);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 70));
    p.drawText(QPoint(42, 147), "Morvel");
    p.setPen(Qt::white);
    p.drawText(QPoint(40, 145), "Morvel");

    QFont subtitle("IPAPGothic");
    subtitle.setPixelSize(24);
    p.setFont(subtitle);
    p.setPen(QColor(205, 230, 255));
    p.drawText(QPoint(44, 186), QString::fromUtf8("建築見積システム"));

    QFont small("IPAPGothic");
    small.setPixelSize(14);
    p.setFont(small);
    p.setPen(QColor(180, 210, 240));
    p.drawText(QPoint(45, 214), QString::fromUtf8("見積 ・ 部材 ・ 印刷形式"));

    // The lower band with the version.
    p.fillRect(QRect(0, h - 46, w, 46), QColor(6, 24, 54, 200));
    p.setPen(QPen(QColor(120, 180, 230), 1));
    p.drawLine(0, h - 46, w, h - 46);
    QFont version("DejaVu Sans");
    version.setPixelSize(13);
    p.setFont(version);
    p.setPen(QColor(200, 220, 240));
    p.drawText(QRect(0, h - 46, w - 24, 46), Qt::AlignRight | Qt::AlignVCenter, "Version 1.0");
    p.drawText(QRect(24, h - 46, 300, 46), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("起動しています..."));
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

// ---- icons ----------------------------------------------------------------------------------

void IconBackground(QPainter& p, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(0, 0, 0, 48);
    g.setColorAt(0.0, top);
    g.setColorAt(1.0, bottom);
    p.setPen(QPen(bottom.darker(140), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
}

// The icons are drawn on a 48-unit square scaled to the size asked for.
QImage DrawAppIcon(int nSize = 48)
{
    QImage image(nSize, nSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(nSize / 48.0, nSize / 48.0);
    IconBackground(p, QColor(52, 130, 210), QColor(16, 58, 120));
    // A roof over an "M".
    p.setPen(QPen(QColor(255, 214, 110), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF roof;
    roof << QPointF(10, 19) << QPointF(24, 8) << QPointF(38, 19);
    p.drawPolyline(roof);
    p.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF m;
    m << QPointF(13, 38) << QPointF(13, 22) << QPointF(24, 33) << QPointF(35, 22) << QPointF(35, 38);
    p.drawPolyline(m);
    return image;
}

QImage DrawDocumentIcon(const QColor& accent, bool parts, int nSize = 48)
{
    QImage image(nSize, nSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(nSize / 48.0, nSize / 48.0);
    QPolygonF page;
    page << QPointF(9, 3) << QPointF(31, 3) << QPointF(40, 12) << QPointF(40, 45) << QPointF(9, 45);
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF() << QPointF(31, 3) << QPointF(31, 12) << QPointF(40, 12));
    p.fillRect(QRectF(12, 15, 25, 5), accent);
    p.setPen(QPen(QColor(170, 170, 170), 1));
    for (int y = 24; y <= 40; y += 4)
        p.drawLine(QPointF(12, y), QPointF(37, y));
    p.drawLine(QPointF(24, 21), QPointF(24, 42));
    if (parts) {
        p.setPen(Qt::NoPen);
        p.setBrush(accent.darker(120));
        p.drawEllipse(QPointF(33, 36), 6, 6);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(33, 36), 2.2, 2.2);
    }
    return image;
}

bool Save(const QImage& image, const QDir& dir, const char* name)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "make_images: cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s\n", path.toLocal8Bit().constData());
    return true;
}

} // namespace

// The desktop's icons in the hicolor theme's sizes: the program's icon under apps/ and the
// estimate and parts-list file icons under mimetypes/, named as desktop/morvel-mime.xml
// names them.
bool SaveDesktopIcons(const QDir& theme)
{
    bool ok = true;
    for (int nSize : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1").arg(nSize);
        QDir apps(theme.filePath(folder + "/apps"));
        QDir mime(theme.filePath(folder + "/mimetypes"));
        if (!QDir().mkpath(apps.path()) || !QDir().mkpath(mime.path())) {
            std::fprintf(stderr, "make_images: cannot make %s\n", apps.path().toLocal8Bit().constData());
            return false;
        }
        ok = Save(DrawAppIcon(nSize), apps, "morvel.png") && ok;
        ok = Save(DrawDocumentIcon(QColor(40, 110, 200), false, nSize), mime,
                  "application-x-morvel-estimate.png") &&
             ok;
        ok = Save(DrawDocumentIcon(QColor(40, 150, 80), true, nSize), mime,
                  "application-x-morvel-parts.png") &&
             ok;
    }
    return ok;
}

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_images <folder> [<hicolor icon folder>]\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "make_images: cannot make %s\n", argv[1]);
        return 1;
    }

    // The order of the pictures follows the buttons of the tool bars (separators have
    // none): see resources/ToolBars.cpp.
    const std::vector<ButtonPainter> mainButtons = {
        DrawNew,  DrawOpen,  DrawSave,    DrawCut,  DrawCopy,    DrawPaste, DrawUndo,
        DrawRedo, DrawPrint, DrawPreview, DrawFind, DrawReplace, DrawZoom,  DrawAbout,
    };
    const std::vector<ButtonPainter> morvelButtons = {
        DrawEnvironment, DrawIntroduction, DrawInformation, DrawSummary,
        DrawRecalculate, DrawPrintForm,    DrawImport,      DrawDosConvert,
    };

    bool ok = Save(DrawSplash(), dir, "splash.png");
    ok = Save(DrawStrip(mainButtons), dir, "toolbar_main.png") && ok;
    ok = Save(DrawStrip(morvelButtons), dir, "toolbar_morvel.png") && ok;
    ok = Save(DrawAppIcon(), dir, "icon_app.png") && ok;
    ok = Save(DrawDocumentIcon(QColor(40, 110, 200), false), dir, "icon_estimate.png") && ok;
    ok = Save(DrawDocumentIcon(QColor(40, 150, 80), true), dir, "icon_parts.png") && ok;
    if (argc == 3)
        ok = SaveDesktopIcons(QDir(QString::fromLocal8Bit(argv[2]))) && ok;
    return ok ? 0 : 1;
}
