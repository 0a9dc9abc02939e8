// Runs a fuzz target without libFuzzer: the target's well-formed seeds, then a fixed number
// of randomly damaged copies of them (bytes flipped, cut, inserted, counts blown up). The
// sequence is seeded, so a failure repeats. Usage: <target> [runs] [seed]
#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "fuzz_seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const QByteArray& bytes) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
}

QByteArray damaged(QByteArray bytes, std::mt19937& random) {
    const int changes = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < changes && !bytes.isEmpty(); ++i) {
        const auto at = static_cast<qsizetype>(random() % static_cast<std::uint32_t>(bytes.size()));
        switch (random() % 6) {
            case 0:
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
                break;
            case 1: {
                static const char kInteresting[] = {0, 1, 0x7f, static_cast<char>(0x80),
                                                    static_cast<char>(0xff)};
                bytes[at] = kInteresting[random() % sizeof kInteresting];
                break;
            }
            case 2:
                bytes.truncate(at);
                break;
            case 3:
                bytes.insert(at, static_cast<char>(random()));
                break;
            case 4:
                bytes.remove(at, 1 + static_cast<qsizetype>(random() % 16));
                break;
            default:
                if (at + 4 <= bytes.size()) {
                    const std::uint32_t big = 0x7fffffffu - (random() % 1024);
                    for (int b = 0; b < 4; ++b) {
                        bytes[at + b] = static_cast<char>((big >> (8 * b)) & 0xff);
                    }
                }
        }
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1;
    const QList<QByteArray> seeds = fuzzSeeds();
    std::mt19937 random(seed);
    for (const QByteArray& s : seeds) {
        run(s);
    }
    for (long i = 0; i < runs; ++i) {
        run(damaged(seeds[static_cast<qsizetype>(random() % seeds.size())], random));
    }
    std::printf("%ld damaged inputs handled without fault\n", runs);
    return 0;
}
