#pragma once

#include <QByteArray>
#include <QList>

// The well-formed inputs a fuzz target starts from; each target defines it. The seeded
// driver damages copies of them; libFuzzer runs take them as their corpus instead.
QList<QByteArray> fuzzSeeds();
