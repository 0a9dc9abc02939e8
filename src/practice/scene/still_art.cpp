#include "still_art.h"

#include <QLoggingCategory>
#include <QPixmap>
#include <QPixmapCache>
#include <cmath>

#include "stage_layout.h"

Q_LOGGING_CATEGORY(lcStillArt, "sumbrook.scene.still")

namespace sumbrook::still_art {

namespace {

// Room for the still art of every screen at the window's usual sizes (a picture of the
// stage at 1440 × 1080 takes about 6 MB); Qt drops the least recently used beyond it.
constexpr int kCacheKilobytes = 64 * 1024;

int drawn = 0;

// Draws the art inside `area` (stage units) from its kept picture; an opaque picture
// starts white, a sprite's clear.
void drawKept(QPainter& painter, QStringView name, const QRectF& area, bool opaque,
              const std::function<void(QPainter&)>& paint) {
    const QTransform world = painter.worldTransform();
    if (world.type() > QTransform::TxScale || painter.device() == nullptr) {
        paint(painter);
        return;
    }
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QTransform toDevice = world * QTransform::fromScale(ratio, ratio);
    const QRectF onDevice = toDevice.mapRect(area);
    const QPoint origin(static_cast<int>(std::floor(onDevice.left())),
                        static_cast<int>(std::floor(onDevice.top())));
    const QSize pixels(static_cast<int>(std::ceil(onDevice.right())) - origin.x(),
                       static_cast<int>(std::ceil(onDevice.bottom())) - origin.y());
    if (pixels.isEmpty()) {
        return;
    }
    // The picture depends on the scale and on where the art falls within a pixel.
    const QString key = QStringLiteral("sumbrook/still/%1/%2/%3/%4/%5/%6/%7x%8")
                            .arg(name)
                            .arg(ratio, 0, 'g', 17)
                            .arg(toDevice.m11(), 0, 'g', 17)
                            .arg(toDevice.m22(), 0, 'g', 17)
                            .arg(toDevice.dx() - origin.x(), 0, 'g', 17)
                            .arg(toDevice.dy() - origin.y(), 0, 'g', 17)
                            .arg(pixels.width())
                            .arg(pixels.height());
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        if (QPixmapCache::cacheLimit() < kCacheKilobytes) {
            QPixmapCache::setCacheLimit(kCacheKilobytes);
        }
        picture = QPixmap(pixels);
        picture.fill(opaque ? Qt::white : Qt::transparent);
        QPainter onPicture(&picture);
        onPicture.setRenderHints(painter.renderHints());
        onPicture.setTransform(toDevice * QTransform::fromTranslate(-origin.x(), -origin.y()));
        paint(onPicture);
        onPicture.end();
        picture.setDevicePixelRatio(ratio);
        ++drawn;
        if (!QPixmapCache::insert(key, picture)) {
            static bool told = false;
            if (!told) {
                qCInfo(lcStillArt) << "a still picture of" << pixels
                                   << "is too large to keep; such art is drawn every time";
                told = true;
            }
        }
    }
    painter.save();
    painter.resetTransform();
    painter.drawPixmap(QPointF(origin) / ratio, picture);
    painter.restore();
}

}  // namespace

void draw(QPainter& painter, QStringView name, const std::function<void(QPainter&)>& paint) {
    drawKept(painter, name, stage_layout::kStage, true, paint);
}

void drawSprite(QPainter& painter, QStringView name, const QRectF& area,
                const std::function<void(QPainter&)>& paint) {
    drawKept(painter, name, area, false, paint);
}

int picturesDrawn() {
    return drawn;
}

}  // namespace sumbrook::still_art
