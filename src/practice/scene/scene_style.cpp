#include "scene_style.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

#include "stage_layout.h"
#include "still_art.h"

namespace sumbrook::scene_style {

namespace {

QFont sized(const char* family, double size, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

struct ButtonColours {
    QColor fill;
    QColor pressed;
    QColor edge;
    QColor text;
};

ButtonColours coloursOf(ButtonKind kind) {
    switch (kind) {
        case ButtonKind::Primary:
            return {kPrimary, kPrimaryPressed, kPrimaryPressed.darker(115), Qt::white};
        case ButtonKind::Secondary:
            return {kSecondary, kSecondaryPressed, kSecondaryPressed, Qt::white};
        case ButtonKind::Key:
            return {kKey, kKeyEdge, kKeyEdge.darker(110), kText};
        case ButtonKind::Confirm:
            return {kConfirm, kConfirm.darker(120), kConfirm.darker(130), Qt::white};
        case ButtonKind::Erase:
            return {kErase, kErase.darker(120), kErase.darker(130), Qt::white};
        case ButtonKind::Menu:
            return {kMenuButton, kMenuButtonPressed, kSunEdge, kText};
        case ButtonKind::Quiet:
            return {kQuietButton, kQuietButtonPressed, kKeyEdge, kText};
        case ButtonKind::Bright:
            return {kSun, kSunEdge, kSunEdge.darker(110), kText};
    }
    return {kPrimary, kPrimaryPressed, kPrimaryPressed, Qt::white};
}

}  // namespace

QFont labelFont(double size) {
    // A modern 楷体 with the forms a first-grade textbook prints (真, not 眞); the older
    // AR PL face stands in where it is missing.
    QFont font = sized("LXGW WenKai", size, false);
    font.setFamilies({QStringLiteral("LXGW WenKai"), QStringLiteral("AR PL UKai CN")});
    return font;
}
QFont counterFont(double size) {
    return sized("Noto Sans CJK SC", size, false);
}
QFont digitFont(double size) {
    return sized("DejaVu Sans", size, true);
}

void drawCard(QPainter& painter, const QRectF& rect, double radius) {
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow(28));
    painter.drawRoundedRect(rect.translated(0, 5), radius, radius);
    painter.setBrush(kCard);
    painter.drawRoundedRect(rect, radius, radius);
    painter.restore();
}

namespace {

// The largest glyph, in device pixels, that Qt's raster engine draws from its glyph cache.
constexpr double kLargestCachedGlyph = 64;

// Measurements are remembered per font and text; a scene shows a few hundred captions,
// so the memory is simply emptied should it ever grow past that many times over.
constexpr qsizetype kMeasuresKept = 4096;

// What a measurement depends on: the font, the text and, for a fitted size, the room.
struct MeasureKey {
    QFont font;
    QString text;
    double width = 0;
    bool operator==(const MeasureKey&) const = default;
};

size_t qHash(const MeasureKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.font, key.text, key.width);
}

}  // namespace

double textAdvance(const QFont& font, const QString& text) {
    static QHash<MeasureKey, double> advances;
    const MeasureKey key{font, text};
    if (const auto found = advances.constFind(key); found != advances.cend()) {
        return *found;
    }
    if (advances.size() >= kMeasuresKept) {
        advances.clear();
    }
    const double advance = QFontMetricsF(font).horizontalAdvance(text);
    advances.insert(key, advance);
    return advance;
}

QFont fittedFont(const QString& text, QFont font, double width) {
    // Glyphs drawn at a scaled device size may come out a little wider than their advance
    // at stage size, and a 楷体 stroke may overhang its advance: a few per cent of room
    // keeps the ink inside.
    static QHash<MeasureKey, int> fitted;
    const MeasureKey key{font, text, width};
    if (const auto found = fitted.constFind(key); found != fitted.cend()) {
        font.setPixelSize(*found);
        return font;
    }
    if (fitted.size() >= kMeasuresKept) {
        fitted.clear();
    }
    const double room = width * kFitRoom;
    int size = font.pixelSize();
    while (size > kSmallestText) {
        font.setPixelSize(size);
        if (textAdvance(font, text) <= room) {
            break;
        }
        --size;
    }
    size = std::max(size, kSmallestText);
    font.setPixelSize(size);
    fitted.insert(key, size);
    return font;
}

void drawFittedText(QPainter& painter, const QRectF& rect, const QString& text, QFont font,
                    const QColor& colour, int flags) {
    font = fittedFont(text, font, rect.width());
    auto paint = [&](QPainter& p) {
        p.save();
        p.setFont(font);
        p.setPen(colour);
        p.drawText(rect, flags, text);
        p.restore();
    };
    // Qt keeps glyphs as pictures only up to kLargestCachedGlyph device pixels and fills
    // bigger ones as outlines at every paint, several times dearer: large text is kept as
    // a picture of its own. Its ink may pass the rectangle by a fraction of the size.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double onDevice = font.pixelSize() * painter.worldTransform().m22() * ratio;
    if (onDevice <= kLargestCachedGlyph) {
        paint(painter);
        return;
    }
    const double margin = font.pixelSize() * 0.5;
    const QString name =
        QStringLiteral("text/%1/%2/%3/%4/%5x%6")
            .arg(font.key(), QString::number(colour.rgba()), QString::number(flags), text)
            .arg(rect.width(), 0, 'g', 17)
            .arg(rect.height(), 0, 'g', 17);
    still_art::drawSprite(painter, name, rect.adjusted(-margin, -margin, margin, margin), paint);
}

namespace {

void paintButton(QPainter& painter, const QRectF& rect, const QString& caption, ButtonKind kind,
                 bool pressed) {
    const ButtonColours c = coloursOf(kind);
    const double radius = std::min(rect.height() / 2.6, 18.0);
    const QRectF face = pressed ? rect.translated(0, 3) : rect;
    painter.save();
    painter.setPen(Qt::NoPen);
    if (!pressed) {
        painter.setBrush(c.edge);
        painter.drawRoundedRect(rect.translated(0, 4), radius, radius);
    }
    painter.setBrush(pressed ? c.pressed : c.fill);
    painter.setPen(QPen(c.edge, 2));
    painter.drawRoundedRect(face, radius, radius);
    // A soft highlight along the top makes the button look pressable.
    painter.setPen(Qt::NoPen);
    painter.setBrush(pressed ? kButtonShinePressed : kButtonShine);
    painter.drawRoundedRect(
        QRectF(face.left() + 6, face.top() + 3, face.width() - 12, face.height() * 0.38),
        radius * 0.7, radius * 0.7);
    painter.restore();
    const bool digits = !caption.isEmpty() && (caption[0].isDigit() || caption == u"←" ||
                                               caption == u"+" || caption == u"-");
    const double size = std::min(rect.height() * (digits ? 0.62 : 0.5), 32.0);
    drawFittedText(painter, face.adjusted(8, 0, -8, 0), caption,
                   digits ? digitFont(size) : labelFont(size), c.text);
}

}  // namespace

void drawButton(QPainter& painter, const QRectF& rect, const QString& caption, ButtonKind kind,
                bool pressed) {
    // A button looks the same wherever it stands: its picture is drawn once per size.
    const QString name = QStringLiteral("button/%1/%2/%3/%4x%5")
                             .arg(static_cast<int>(kind))
                             .arg(pressed ? 1 : 0)
                             .arg(caption)
                             .arg(rect.width(), 0, 'g', 17)
                             .arg(rect.height(), 0, 'g', 17);
    still_art::drawSprite(painter, name, rect.adjusted(-2, -2, 2, 6),
                          [&](QPainter& p) { paintButton(p, rect, caption, kind, pressed); });
}

void drawMeadow(QPainter& painter, double grassTop) {
    painter.save();
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, kSkyTop);
    sky.setColorAt(1, kSkyBottom);
    painter.fillRect(stage_layout::kStage, sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCloud);
    for (const QPointF& c : stage_layout::kMeadowClouds) {
        painter.drawEllipse(c, 46, 22);
        painter.drawEllipse(c + QPointF(-34, 8), 30, 18);
        painter.drawEllipse(c + QPointF(36, 8), 32, 18);
    }
    QPainterPath crest;
    crest.moveTo(0, grassTop + 20);
    crest.cubicTo(200, grassTop - 30, 360, grassTop + 40, 520, grassTop);
    crest.cubicTo(640, grassTop - 25, 720, grassTop - 10, 800, grassTop + 10);
    QPainterPath hills = crest;
    hills.lineTo(stage_layout::kStage.bottomRight());
    hills.lineTo(stage_layout::kStage.bottomLeft());
    hills.closeSubpath();
    painter.setBrush(kGrass);
    painter.drawPath(hills);
    // Only the crest is outlined: a line down the stage's sides would show as a seam where
    // the meadow runs on into a letterboxed window's bands.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGrassEdge, 3));
    painter.drawPath(crest);
    painter.restore();
}

void drawStar(QPainter& painter, const QPointF& centre, double outer, const QColor& fill,
              const QColor& edge) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? outer : outer * 0.45;
        const double a = -M_PI / 2 + i * M_PI / 5;
        star << centre + QPointF(r * std::cos(a), r * std::sin(a));
    }
    painter.save();
    painter.setBrush(fill);
    painter.setPen(QPen(edge, std::max(1.0, outer / 10)));
    painter.drawPolygon(star);
    painter.restore();
}

}  // namespace sumbrook::scene_style
