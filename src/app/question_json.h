#pragma once

#include <QByteArray>

#include "practice/core/question.h"

namespace sumbrook {

// A practice question as the command line prints it: one JSON object on one line.
QByteArray questionJson(int exercise, const Question& question);

}  // namespace sumbrook
