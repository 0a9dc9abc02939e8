#pragma once

#include <QByteArray>

namespace sumbrook {

// The seven embedded skin blocks, rows 1 to 7 of the theme table; any other row gives an
// empty array. The bytes are constant program data and are never copied.
QByteArray skinBlock(int row);

}  // namespace sumbrook
