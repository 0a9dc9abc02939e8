#pragma once

#include <QPainter>
#include <QRectF>
#include <QStringView>
#include <functional>

namespace sumbrook::still_art {

// Draws a screen's still art (what it shows whatever the state: sky, meadow, hills, the
// keypad's tray) from a picture kept per art and device size. The first time at a size,
// `paint` draws the art into the picture; after that the picture is copied, which costs a
// small part of drawing it. The art must be opaque and cover the whole stage. Under a
// rotated or sheared painter the art is simply drawn.
void draw(QPainter& painter, QStringView name, const std::function<void(QPainter&)>& paint);

// The same for a small piece of art that stays inside `area` (a button, say) and may be
// partly transparent: its picture is kept per name, size and place within a pixel, so
// pieces alike share one.
void drawSprite(QPainter& painter, QStringView name, const QRectF& area,
                const std::function<void(QPainter&)>& paint);

// How many times any still art has been drawn into a picture.
int picturesDrawn();

}  // namespace sumbrook::still_art
