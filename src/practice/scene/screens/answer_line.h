#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

namespace sumbrook::answer_line {

// The answer line of the question and answer screens: numbers, signs, units and answer
// boxes in one row, laid out to fit and drawn at one digit size.

// Entry: the box being typed into; Idle: the clock field not being typed into; Solved:
// the answer on a right-answer screen.
enum class BoxLook { Entry, Idle, Solved };

// One item of an answer line: a number, sign or unit, or an answer box. Holds no
// position; the line's layout gives it a width and drawLine places it.
struct Piece {
    QString text;
    bool box = false;
    bool digits = true;  // digits and signs in the digit font, units in the 楷体
    BoxLook look = BoxLook::Entry;
    bool caret = false;
    bool marked = false;  // the clock's field marker xian_s
    int boxDigits = 3;    // how many digits the empty box makes room for
    double width = 0;     // set by the layout
    double least = 0;     // the width with an empty box, set by the layout
};

// The items of one row and the digit size they share once laid out.
struct Line {
    std::vector<Piece> pieces;
    double size = 64;  // digit size after the layout
    double gap = 18;
};

// Picks the largest digit size (down to minSize) at which the line fits `available` with
// empty boxes, so the question keeps its size while the child types; a long entry widens
// its box only into the room that is left, and its text shrinks inside.
void layOut(Line& line, double available, double minSize);
double lineWidth(const Line& line);
// A long entry stays on one line: its digits shrink down to a share of the line's size,
// and past that only its last digits show, behind an ellipsis.
QFont entryFont(QString& digits, double width, double size, double smallestShare = 1.0 / 3);
// Where each piece of the laid-out line stands in `area`: centred vertically, placed by
// `alignment`.
std::vector<QRectF> placeLine(const Line& line, const QRectF& area, Qt::Alignment alignment);
// Draws the laid-out line in `area`.
void drawLine(QPainter& painter, const Line& line, const QRectF& area, Qt::Alignment alignment,
              bool blinkOn);
// How far an answer box draws beyond its slot: the clock's field marker and its pen.
constexpr double kBoxReach = 12;
// The empty box that shows the caret, with all it draws; none when no box is empty.
std::optional<QRectF> caretBox(const Line& line, const QRectF& area, Qt::Alignment alignment);
Piece textPiece(const QString& s, bool digits = true);
Piece boxPiece(const QString& s, BoxLook look, bool caret, int boxDigits = 3);
// "3点15分" as runs: digits in the digit font, the units in the 楷体.
std::vector<Piece> mixedRuns(const QString& s);

}  // namespace sumbrook::answer_line
