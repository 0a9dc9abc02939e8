#include "scene_art.h"

#include <QPixmap>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <cmath>

#include "scene_assets.h"

namespace sumbrook {

namespace {

// The picture's own proportions, centred in `rect`.
QRectF fitted(const QSizeF& natural, const QRectF& rect) {
    if (natural.isEmpty()) {
        return rect;
    }
    const QSizeF size = natural.scaled(rect.size(), Qt::KeepAspectRatio);
    return QRectF(rect.center().x() - size.width() / 2, rect.center().y() - size.height() / 2,
                  size.width(), size.height());
}

QSizeF naturalSize(int picture) {
    // Parsing an SVG only to learn its size would defeat the pixmap cache, so the view
    // box is remembered per picture; a picture that cannot be read yet (no movie loaded)
    // is asked again next time.
    static QSizeF sizes[scene_assets::kMoneyPictures + 1];
    QSizeF& size = sizes[picture];
    if (size.isEmpty()) {
        QSvgRenderer renderer(scene_assets::moneyPath(picture));
        if (renderer.isValid()) {
            size = renderer.viewBoxF().size();
        }
    }
    return size;
}

}  // namespace

void SceneArt::paintMoney(QPainter& painter, const QRectF& rect, int picture) {
    if (picture < 1 || picture > scene_assets::kMoneyPictures || rect.isEmpty()) {
        return;
    }
    const QSizeF natural = naturalSize(picture);
    if (natural.isEmpty()) {
        return;
    }
    const QRectF target = fitted(natural, rect);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSizeF onDevice = painter.worldTransform().mapRect(target).size() * ratio;
    const QSize pixels(std::max(1, static_cast<int>(std::ceil(onDevice.width()))),
                       std::max(1, static_cast<int>(std::ceil(onDevice.height()))));

    const QString key = QStringLiteral("sumbrook/money/%1/%2x%3")
                            .arg(picture)
                            .arg(pixels.width())
                            .arg(pixels.height());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap(pixels);
        pixmap.fill(Qt::transparent);
        QPainter onPixmap(&pixmap);
        onPixmap.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer renderer(scene_assets::moneyPath(picture));
        renderer.render(&onPixmap, QRectF(QPointF(0, 0), QSizeF(pixels)));
        onPixmap.end();
        QPixmapCache::insert(key, pixmap);
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
    painter.restore();
}

}  // namespace sumbrook
