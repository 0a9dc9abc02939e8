#pragma once

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "practice/core/question.h"

namespace sumbrook {
class PracticeLoop;
class PracticeStage;
}  // namespace sumbrook

namespace sumbrook::question_frame {

// What the question screens and the answer screens share: the sky with the header band
// and the score bar, the header's counters, the clock face and its hands.

QString text(const char* utf8);
// A slow blink: on for a third of a second, off for a third (1.5 blinks a second).
bool caretOn(const PracticeStage& stage);
// The minus of the generators is ASCII; the typographic sign is what a textbook prints.
QString displayed(QString expression);
QFont bold(QFont font);

// The meadow, the header's band and pills, the score bar's empty track.
void drawSky(QPainter& painter, const PracticeStage& stage);
// The name under which still art holding the sky is kept: the header's pills stand
// elsewhere while "退出全屏" shows.
QString skyStillName(const QString& art, const PracticeStage& stage);
// The counters, the times and the score, or only the running time, or all but it; only
// what meets `region`.
enum class HeaderPart { Whole, RunningTime, StillParts };
void drawHeader(QPainter& painter, const PracticeStage& stage, const QRectF& region,
                HeaderPart part = HeaderPart::Whole);
// Where the running time's digits stand (its label "用时:" stays with the still parts).
QRectF runningTimeRect(const PracticeLoop& loop);
// The clock face szhong without its hands, and the hands of a clock question.
void drawDial(QPainter& painter, QPointF centre, double radius);
void drawHands(QPainter& painter, QPointF centre, double radius, const ClockQuestion& q);

}  // namespace sumbrook::question_frame
