// Fuzz target for the configuration file reader and writer: whatever the file holds, a read
// stays within its buffer, and a value written into it reads back and is stable when
// written again, in a plain section and in one with a GBK name.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "fuzz_seeds.h"
#include "themes/private_profile.h"

using sumbrook::PrivateProfile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray theme("\xb4\xb0\xbf\xda\xd6\xf7\xcc\xe2");  // 窗口主题
    const QByteArray window("\xb4\xb0\xbf\xda");                 // 窗口
    for (const QByteArray& section : {window, QByteArray("s")}) {
        for (const QByteArray& key : {theme, QByteArray("k")}) {
            if (PrivateProfile::valueIn(content, section, key).size() >=
                PrivateProfile::kValueBufferSize) {
                std::abort();
            }
            const QByteArray value("\xbd\xf0\xc7\xef\xc9\xcd\xbd\xdb");  // 金秋赏桔
            const std::optional<QByteArray> written =
                PrivateProfile::withValue(content, section, key, value);
            if (!written || PrivateProfile::valueIn(*written, section, key, "-") != value ||
                PrivateProfile::withValue(*written, section, key, value) != written) {
                std::abort();
            }
        }
    }
    return 0;
}

QList<QByteArray> fuzzSeeds() {
    return {
        QByteArray("[\xb4\xb0\xbf\xda]\r\n\xb4\xb0\xbf\xda\xd6\xf7\xcc\xe2=\xbd\xf0\xc7\xef\xc9\xcd"
                   "\xbd\xdb\r\n"),
        QByteArray("; note\r\n[s]\r\nk = v\r\n\r\n[t]\nk=w\n"),
        QByteArray("  [ s ]  \r\n\tk\t=  spaced value  \r\n[s]\r\nk=second\r\n"),
    };
}
