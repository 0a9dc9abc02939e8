#pragma once

#include <QString>
#include <cstdint>

namespace sumbrook {

// Milliseconds as minutes:seconds.hundredths, each field at least two digits
// (83450 → "01:23.45"); minutes are not capped (6000000 → "100:00.00").
QString zhuanhuan(std::int64_t ms);

}  // namespace sumbrook
