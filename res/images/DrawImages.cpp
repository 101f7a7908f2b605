// Draws VireoStudio's images at build time: the start-up splash (bitmap 102), the program icon
// (icon 128) and the partial-scan picture of the RVQM52 pages (bitmap 151). Usage:
// vireo_draw_images <output directory>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const QColor kDeep(14, 42, 71);
const QColor kTeal(0, 150, 160);
const QColor kLight(225, 240, 245);

// A camera lens seen from the front: rings narrowing towards a bright pupil.
void DrawLens(QPainter& p, QPointF centre, qreal radius)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 36));
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(70, 74, 82));
    p.drawEllipse(centre, radius * 0.82, radius * 0.82);
    QRadialGradient glass(centre, radius * 0.66, centre - QPointF(radius * 0.2, radius * 0.2));
    glass.setColorAt(0.0, QColor(120, 220, 230));
    glass.setColorAt(0.55, kTeal);
    glass.setColorAt(1.0, kDeep);
    p.setBrush(glass);
    p.drawEllipse(centre, radius * 0.66, radius * 0.66);
    p.setBrush(QColor(8, 20, 30));
    p.drawEllipse(centre, radius * 0.22, radius * 0.22);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawEllipse(centre - QPointF(radius * 0.28, radius * 0.3), radius * 0.1, radius * 0.1);
}

QImage DrawSplash()
{
    QImage image(460, 240, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0.0, kDeep.lighter(130));
    sky.setColorAt(1.0, kDeep);
    p.fillRect(image.rect(), sky);

    // A band of "scan lines" as a camera sensor reads them.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        p.setBrush(QColor(0, 150, 160, 18 + i * 6));
        p.drawRect(QRectF(0, 168 + i * 3, image.width(), 1.5));
    }
    DrawLens(p, QPointF(95, 100), 62);

    p.setPen(kLight);
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(36);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(175, 52, 280, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("VireoStudio"));
    QFont text(QStringLiteral("Sans Serif"));
    text.setPixelSize(15);
    p.setFont(text);
    p.setPen(kLight.darker(115));
    p.drawText(QRectF(178, 102, 240, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Camera settings utility"));
    p.drawText(QRectF(178, 124, 240, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Version 3.01"));

    p.setPen(QPen(kTeal, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, image.width() - 2, image.height() - 2));
    return image;
}

// Drawn on a 32-pixel grid and scaled, so that the desktop's larger icons are sharp too.
QImage DrawIcon(int size = 32)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kDeep);
    p.drawRoundedRect(QRectF(1, 6, 30, 21), 4, 4);
    p.drawRect(QRectF(9, 3, 10, 5));
    DrawLens(p, QPointF(16, 17), 9);
    return image;
}

// 100 x 75 pixels, one bit per pixel: a framed capital A.
QImage DrawPartial()
{
    QImage image(100, 75, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    auto set = [&image](int x, int y) {
        if (x >= 0 && x < image.width() && y >= 0 && y < image.height())
            image.setPixel(x, y, 1);
    };
    for (int x = 2; x < 98; ++x)
        for (int y : {2, 3, 71, 72})
            set(x, y);
    for (int y = 2; y < 73; ++y)
        for (int x : {2, 3, 96, 97})
            set(x, y);
    // Two slanted strokes from the apex at (50, 12) to the feet at y = 62, and the cross bar.
    for (int y = 12; y <= 62; ++y) {
        const int spread = (y - 12) * 22 / 50;
        for (int w = 0; w < 4; ++w) {
            set(50 - spread - w + 1, y);
            set(50 + spread + w - 1, y);
        }
    }
    for (int y = 44; y < 48; ++y)
        for (int x = 50 - 14; x <= 50 + 14; ++x)
            set(x, y);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    // The splash is an uncompressed bitmap: it is read on the way to the first window, where
    // inflating a PNG would cost more than the larger file.
    if (!DrawSplash().save(out.filePath(QStringLiteral("splash.bmp"))) ||
        !DrawIcon().save(out.filePath(QStringLiteral("vireo.png"))) ||
        !DrawPartial().save(out.filePath(QStringLiteral("partial.png")))) {
        std::fprintf(stderr, "cannot write the images to %s\n", argv[1]);
        return 1;
    }
    // vireo_draw_images <output directory> --icons NAME SIZE...: also the icon at each size (the
    // desktop icon theme's), as NAME-SIZE.png.
    if (argc >= 4 && std::strcmp(argv[2], "--icons") == 0) {
        for (int i = 4; i < argc; ++i) {
            const int size = std::atoi(argv[i]);
            const QString name =
                QStringLiteral("%1-%2.png").arg(QString::fromUtf8(argv[3]), argv[i]);
            if (size < 1 || size > 1024 || !DrawIcon(size).save(out.filePath(name))) {
                std::fprintf(stderr, "cannot draw the icon %s\n", qPrintable(out.filePath(name)));
                return 1;
            }
        }
    }
    return 0;
}
