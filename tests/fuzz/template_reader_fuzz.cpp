// Fuzz target for the sheet template reader: whatever the bytes, reading either gives a
// sheet that writes back to exactly those bytes or refuses them with TemplateError.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "fuzz_seeds.h"
#include "worksheet/core/sheet_template.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const sumbrook::Sheet sheet = sumbrook::SheetTemplate::decode(bytes);
        if (sumbrook::SheetTemplate::encode(sheet) != bytes) {
            std::abort();  // accepted, but not what was read
        }
    } catch (const sumbrook::TemplateError&) {
    }
    return 0;
}

QList<QByteArray> fuzzSeeds() {
    return {
        sumbrook::SheetTemplate::storedBytes(sumbrook::SheetKind::Arithmetic),
        sumbrook::SheetTemplate::storedBytes(sumbrook::SheetKind::Vertical),
        sumbrook::SheetTemplate::storedBytes(sumbrook::SheetKind::Clock),
    };
}
