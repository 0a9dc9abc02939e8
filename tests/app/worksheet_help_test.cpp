// `sumbrook worksheet --help` read against the Quizwright window it stands for: each page's
// tags in the order of the window's rows, each with the caption beside its field, and the
// clock tags' meanings against the times the program makes for them.
#include <gtest/gtest.h>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <algorithm>
#include <functional>
#include <map>

#include "support/run_sumbrook.h"
#include "worksheet/ui/quizwright_window.h"

namespace sumbrook {
namespace {

using testing::runSumbrook;

struct WindowRow {
    int tag;
    QString caption;
};

// The count rows of one settings page, top to bottom, as the window shows them.
std::vector<WindowRow> windowRows(QuizwrightWindow& window, int page) {
    QWidget* content = window.findChild<QTabWidget*>(QStringLiteral("选择夹1"))->widget(page);
    std::vector<std::pair<int, WindowRow>> rows;
    for (QLineEdit* field : content->findChildren<QLineEdit*>()) {
        for (QLabel* label : content->findChildren<QLabel*>()) {
            if (label->y() == field->y() && label->x() < field->x()) {
                rows.push_back({field->y(), {field->property("tag").toInt(), label->text()}});
            }
        }
    }
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<WindowRow> result;
    for (const auto& row : rows) {
        result.push_back(row.second);
    }
    return result;
}

// The help's tag lines of each page: "    TAG  caption", then the meaning on its own line.
std::map<int, std::vector<std::pair<WindowRow, QString>>> helpRows(const QList<QByteArray>& lines) {
    std::map<int, std::vector<std::pair<WindowRow, QString>>> pages;
    int page = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]);
        if (line.startsWith(QStringLiteral("  page "))) {
            page = line.mid(7, 1).toInt();
        } else if (page >= 0 && line.startsWith(QStringLiteral("    ")) && i + 1 < lines.size()) {
            const QString entry = line.trimmed();
            const qsizetype gap = entry.indexOf(QStringLiteral("  "));
            pages[page].push_back({{entry.left(gap).toInt(), entry.mid(gap + 2)},
                                   QString::fromUtf8(lines[++i]).trimmed()});
        }
    }
    return pages;
}

TEST(WorksheetHelp, ListsEachPagesTagsAsTheWindowsRows) {
    const testing::Outcome run = runSumbrook({"worksheet", "--help"});
    ASSERT_EQ(run.exitCode, 0);
    const auto help = helpRows(run.lines);
    QuizwrightWindow window;
    for (int page = 0; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const std::vector<WindowRow> shown = windowRows(window, page);
        ASSERT_FALSE(shown.empty());
        ASSERT_EQ(help.count(page), 1u);
        const auto& listed = help.at(page);
        ASSERT_EQ(listed.size(), shown.size());
        for (std::size_t row = 0; row < shown.size(); ++row) {
            EXPECT_EQ(listed[row].first.tag, shown[row].tag) << "row " << row;
            EXPECT_EQ(listed[row].first.caption, shown[row].caption) << "tag " << shown[row].tag;
            EXPECT_FALSE(listed[row].second.isEmpty()) << "tag " << shown[row].tag;
        }
    }
}

TEST(WorksheetHelp, ClockTagsSayTheTimesTheyGive) {
    const struct {
        int tag;
        const char* says;
        std::function<bool(int)> minuteFits;
    } rows[] = {
        {21, "whole hours", [](int m) { return m == 0; }},
        {22, "half hours", [](int m) { return m == 30; }},
        {25, "quarter hours", [](int m) { return m % 15 == 0; }},
        {23, "five-minute", [](int m) { return m % 5 == 0 && m != 0 && m != 30; }},
        {24, "any minute", [](int m) { return m >= 0 && m < 60; }},
    };
    const auto help = helpRows(runSumbrook({"worksheet", "--help"}).lines);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tag);
        const auto& clock = help.at(3);
        const auto listed = std::find_if(clock.begin(), clock.end(),
                                         [&](const auto& r) { return r.first.tag == row.tag; });
        ASSERT_NE(listed, clock.end());
        EXPECT_TRUE(listed->second.contains(QString::fromLatin1(row.says)))
            << listed->second.toStdString();
        const testing::Outcome sheet =
            runSumbrook({"worksheet", "--page", "3", "--count",
                         QStringLiteral("%1=10").arg(row.tag), "--json", "--seed", "7"});
        ASSERT_EQ(sheet.exitCode, 0) << sheet.err.toStdString();
        ASSERT_EQ(sheet.lines.size(), 10);
        for (const QByteArray& line : sheet.lines) {
            const int minute = QJsonDocument::fromJson(line).object().value("minute").toInt(-1);
            EXPECT_TRUE(row.minuteFits(minute)) << line.toStdString();
        }
    }
}

}  // namespace
}  // namespace sumbrook
