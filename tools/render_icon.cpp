// Renders the program's SVG icon as square PNG files for the menus of desktops that want
// bitmaps: render_icon SVG OUT_DIR SIZE... writes OUT_DIR/SIZExSIZE/apps/NAME.png, NAME
// being the SVG's base name (the hicolor icon theme's layout).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: render_icon SVG OUT_DIR SIZE...\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString svg = QString::fromLocal8Bit(argv[1]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString name = QFileInfo(svg).completeBaseName();
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "render_icon: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QString out = folder + u'/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(out, "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
