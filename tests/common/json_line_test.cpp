#include "common/json_line.h"

#include <gtest/gtest.h>
#include <QJsonDocument>
#include <QJsonObject>

namespace sumbrook {
namespace {

TEST(JsonLine, KeepsFieldOrderAndReadsBackAsJson) {
    JsonLine line;
    line.add("z", QStringLiteral("1—7"))
        .add("a", 5)
        .add("m", 97.5)
        .add("q", QStringLiteral("say \"hi\"\\\n\x01"));
    const QByteArray text = line.toUtf8();
    EXPECT_TRUE(text.startsWith("{\"z\":\"1—7\",\"a\":5,\"m\":97.5,"));
    const QJsonObject object = QJsonDocument::fromJson(text).object();
    EXPECT_EQ(object.value("z").toString(), QStringLiteral("1—7"));
    EXPECT_EQ(object.value("a").toInt(), 5);
    EXPECT_EQ(object.value("m").toDouble(), 97.5);
    EXPECT_EQ(object.value("q").toString(), QStringLiteral("say \"hi\"\\\n\x01"));
}

TEST(JsonLine, WholeNumbersHaveNoFractionAndNonFiniteIsNull) {
    JsonLine line;
    line.add("h", 90.0).add("big", std::int64_t{3600000}).add("bad", std::nan(""));
    EXPECT_EQ(line.toUtf8(), QByteArray("{\"h\":90,\"big\":3600000,\"bad\":null}"));
}

}  // namespace
}  // namespace sumbrook
