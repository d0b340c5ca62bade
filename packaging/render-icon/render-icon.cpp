// Renders an SVG file to a PNG, or to a Windows icon of several sizes, at build time, so that
// packaging needs no image tools.
#include <QBuffer>
#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

namespace {

QImage Render(QSvgRenderer& renderer, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An ICO file whose images are PNGs, as Windows has read them since Vista.
QByteArray Icon(QSvgRenderer& renderer, const QList<int>& sizes) {
    QList<QByteArray> images;
    for (int size : sizes) {
        images << Png(Render(renderer, QSize(size, size)));
    }
    QByteArray icon;
    QDataStream out(&icon, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(sizes.size());
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const auto side = quint8(sizes[i] >= 256 ? 0 : sizes[i]);  // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(images[i].size()) << offset;
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images) {
        out.writeRawData(image.constData(), int(image.size()));
    }
    return icon;
}

// "N" or "WxH" for a PNG; "N,N,..." for an icon. Empty when the text is none of these.
QList<QSize> Sizes(const QString& text, bool icon) {
    QList<QSize> sizes;
    for (const QString& item : icon ? text.split(u',') : QStringList{text}) {
        const QStringList dims = item.split(u'x');
        bool okWidth = false;
        bool okHeight = false;
        const int width = dims.value(0).toInt(&okWidth);
        const int height = dims.size() == 2 ? dims.at(1).toInt(&okHeight) : width;
        if (dims.size() == 1) {
            okHeight = okWidth;
        }
        if (!okWidth || !okHeight || dims.size() > 2 || width < 1 || height < 1 || width > 4096 ||
            height > 4096 || (icon && (width != height || width > 256))) {
            return {};
        }
        sizes << QSize(width, height);
    }
    return sizes;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fputs(
            "usage: velmora-render-icon INPUT.svg OUTPUT.png SIZE|WIDTHxHEIGHT\n"
            "       velmora-render-icon INPUT.svg OUTPUT.ico SIZE,SIZE,...\n",
            stderr);
        return EXIT_FAILURE;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    const bool icon = output.endsWith(u".ico");
    const QList<QSize> sizes = Sizes(QString::fromLocal8Bit(argv[3]), icon);
    if (sizes.isEmpty()) {
        std::fprintf(stderr, "velmora-render-icon: bad size '%s'\n", argv[3]);
        return EXIT_FAILURE;
    }
    QSvgRenderer renderer(input);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "velmora-render-icon: cannot read %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    bool written = false;
    if (icon) {
        QList<int> sides;
        for (QSize size : sizes) {
            sides << size.width();
        }
        QFile file(output);
        written = file.open(QIODevice::WriteOnly) && file.write(Icon(renderer, sides)) > 0;
    } else {
        written = Render(renderer, sizes.first()).save(output, "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "velmora-render-icon: cannot write %s\n", argv[2]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
