// Worksheets generated per second, and generated and written to PDF per second.
#include <benchmark/benchmark.h>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "worksheet/core/generate_worksheet.h"
#include "worksheet/ui/clock_face_painter.h"
#include "worksheet/ui/sheet_pdf_writer.h"

namespace sumbrook {
namespace {

WorksheetCounts fullPage(int page) {
    WorksheetCounts counts;
    const std::vector<int> tags = tagsOfPage(page);
    const int total = page == 3 ? 10 : page == 2 ? 21 : 30;
    for (int i = 0; i < total; ++i) {
        const int tag = tags[static_cast<std::size_t>(i) % tags.size()];
        counts.setCount(tag, counts.count(tag) + 1);
    }
    return counts;
}

void BM_GenerateSheet(benchmark::State& state) {
    const int page = static_cast<int>(state.range(0));
    const WorksheetCounts counts = fullPage(page);
    FixedTickSource ticks(1);
    WorksheetRandom random(ticks);
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateWorksheet(page, counts, random, &ClockFacePainter::face));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_GenerateAndWritePdf(benchmark::State& state) {
    const int page = static_cast<int>(state.range(0));
    const WorksheetCounts counts = fullPage(page);
    FixedTickSource ticks(1);
    WorksheetRandom random(ticks);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
    for (auto _ : state) {
        auto result = GenerateWorksheet(page, counts, random, &ClockFacePainter::face);
        const Sheet& sheet = *std::get<GeneratedWorksheet>(result).sheet;
        QString error;
        if (!SheetPdfWriter::write(path, {sheet}, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

BENCHMARK(BM_GenerateSheet)->DenseRange(0, 3)->ArgName("page");
BENCHMARK(BM_GenerateAndWritePdf)->DenseRange(0, 3)->ArgName("page")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sumbrook

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
