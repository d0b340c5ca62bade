// Renders an SVG file to a PNG at build time, so packaging needs no image tools.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs("usage: velmora-render-icon INPUT.svg OUTPUT.png SIZE|WIDTHxHEIGHT\n", stderr);
        return EXIT_FAILURE;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const QStringList dims = QString::fromLocal8Bit(argv[3]).split(u'x');
    bool okWidth = false;
    bool okHeight = false;
    const int width = dims.value(0).toInt(&okWidth);
    const int height = dims.size() == 2 ? dims.at(1).toInt(&okHeight) : width;
    if (dims.size() == 1) {
        okHeight = okWidth;
    }
    if (!okWidth || !okHeight || dims.size() > 2 || width < 1 || height < 1 || width > 4096 ||
        height > 4096) {
        std::fprintf(stderr, "velmora-render-icon: bad size '%s'\n", argv[3]);
        return EXIT_FAILURE;
    }
    QSvgRenderer renderer(input);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "velmora-render-icon: cannot read %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    if (!image.save(output, "PNG")) {
        std::fprintf(stderr, "velmora-render-icon: cannot write %s\n", argv[2]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
