#pragma once

#include <QByteArray>

namespace sumbrook {

// assets/help/help_document.txt as the build embedded it: constant program data.
QByteArray helpDocumentBytes();

}  // namespace sumbrook
