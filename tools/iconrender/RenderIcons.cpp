// fenwir-render-icons OUTPUT_FOLDER SVG...
// fenwir-render-icons --ico OUTPUT.ico SVG
// Renders each SVG of the icon theme to PNGs of 16, 24, 32 and 48 pixels in
// OUTPUT_FOLDER/<size>x<size>/<category>/, the category being the SVG's folder
// name. Drawing PNGs at start-up costs far less than rendering SVGs. With
// --ico, one SVG becomes a Windows icon file of 16 to 256 pixels.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdio>

namespace
{
QImage Render(QSvgRenderer& renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image;
}

template <typename T> void Put(QByteArray& out, T value)
{
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// An icon file whose images are PNGs: a header, one entry per image, the images.
int WriteIco(const QString& path, const QString& svg)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not an SVG\n", qPrintable(svg));
        return 1;
    }
    const int sizes[] = {16, 24, 32, 48, 256};
    QByteArray header;
    QByteArray images;
    Put<quint16>(header, 0);
    Put<quint16>(header, 1);
    Put<quint16>(header, std::size(sizes));
    const quint32 first = 6 + 16 * std::size(sizes);
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        Render(renderer, size).save(&buffer, "PNG");
        header.append(static_cast<char>(size & 0xFF)); // 256 is written as 0
        header.append(static_cast<char>(size & 0xFF));
        header.append(2, '\0');
        Put<quint16>(header, 1);
        Put<quint16>(header, 32);
        Put<quint32>(header, static_cast<quint32>(png.size()));
        Put<quint32>(header, first + static_cast<quint32>(images.size()));
        images += png;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(header + images) != header.size() + images.size()) {
        std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--ico"))
        return WriteIco(args[2], args[3]);
    if (args.size() < 3) {
        std::fputs("usage: fenwir-render-icons OUTPUT_FOLDER SVG...\n"
                   "       fenwir-render-icons --ico OUTPUT.ico SVG\n",
                   stderr);
        return 2;
    }
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QFileInfo svg(args[i]);
        QSvgRenderer renderer(svg.absoluteFilePath());
        if (!renderer.isValid()) {
            std::fprintf(stderr, "%s: not an SVG\n", qPrintable(args[i]));
            return 1;
        }
        const QString category = svg.dir().dirName();
        for (int size : {16, 24, 32, 48}) {
            const QString folder =
                QStringLiteral("%1/%2x%2/%3").arg(args[1]).arg(size).arg(category);
            QDir().mkpath(folder);
            if (!Render(renderer, size)
                     .save(folder + QLatin1Char('/') + svg.completeBaseName() + ".png")) {
                std::fprintf(stderr, "%s: cannot write\n", qPrintable(folder));
                return 1;
            }
        }
    }
    return 0;
}
