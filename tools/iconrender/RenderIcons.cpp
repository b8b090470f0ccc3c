// fenwir-render-icons OUTPUT_FOLDER SVG...
// Renders each SVG of the icon theme to PNGs of 16, 24, 32 and 48 pixels in
// OUTPUT_FOLDER/<size>x<size>/<category>/, the category being the SVG's folder
// name. Drawing PNGs at start-up costs far less than rendering SVGs.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: fenwir-render-icons OUTPUT_FOLDER SVG...\n", stderr);
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
            const QString folder = QStringLiteral("%1/%2x%2/%3").arg(args[1]).arg(size).arg(category);
            QDir().mkpath(folder);
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            if (!image.save(folder + QLatin1Char('/') + svg.completeBaseName() + ".png")) {
                std::fprintf(stderr, "%s: cannot write\n", qPrintable(folder));
                return 1;
            }
        }
    }
    return 0;
}
