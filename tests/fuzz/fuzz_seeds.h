#pragma once

#include <QByteArray>
#include <QList>

// The well-formed inputs a fuzz target starts from; each target defines it. The seeded
// driver damages copies of them; a libFuzzer run starts from a corpus directory instead.
QList<QByteArray> fuzzSeeds();
