// Writes the program's icon for the desktop's icon theme, from the same
// drawing as the window icon:
//
//     make_icons <name> <theme-folder>
//
// gives <theme-folder>/scalable/apps/<name>.svg and
// <theme-folder>/<n>x<n>/apps/<name>.png at every usual size.
#include "desktop/app_icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

bool writeSvg(const QString& path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(64, 64));
    svg.setViewBox(QRect(0, 0, 64, 64));
    svg.setTitle(QStringLiteral("Orvendale"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    AppIcon::paint(painter);
    return painter.end();
}

bool writePng(const QString& path, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(size / 64.0, size / 64.0);
    AppIcon::paint(painter);
    painter.end();
    return image.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icons <name> <theme-folder>\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QDir theme(QString::fromLocal8Bit(argv[2]));
    const QString svg = theme.filePath(QStringLiteral("scalable/apps/%1.svg").arg(name));
    bool written = theme.mkpath(QStringLiteral("scalable/apps")) && writeSvg(svg);
    for (int size : AppIcon::sizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        written = written && theme.mkpath(folder) && writePng(theme.filePath(folder + '/' + name + ".png"), size);
    }
    if (!written) {
        std::fprintf(stderr, "make_icons: the icons could not be written to %s\n", argv[2]);
        return 1;
    }
    return 0;
}
