// Worksheets generated per second, and generated and written to PDF per second; a clock
// sheet's cost against a sum sheet's; a class's batch of clock sheets with their answer
// pages in one PDF: its time, its peak memory and its bytes a page.
#include <benchmark/benchmark.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <string>

#include "support/full_page_counts.h"
#include "worksheet/core/generate_worksheet.h"
#include "worksheet/ui/clock_face_painter.h"
#include "worksheet/ui/sheet_batch_writer.h"
#include "worksheet/ui/sheet_pdf_writer.h"

namespace sumbrook {
namespace {

using testing::fullPage;

// The process's peak resident memory in bytes (VmHWM), and a way to start it afresh.
double peakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) * 1024;
        }
    }
    return 0;
}
void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_GenerateSheet(benchmark::State& state) {
    const int page = static_cast<int>(state.range(0));
    const WorksheetCounts counts = fullPage(page);
    FixedTickSource ticks(1);
    WorksheetRandom random(ticks);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            GenerateWorksheet(page, counts, random, &ClockFacePainter::drawing));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// One clock sheet against one sum sheet, as a ratio (target: under 5).
void BM_ClockSheetPerSumSheet(benchmark::State& state) {
    const WorksheetCounts sums = fullPage(0);
    const WorksheetCounts clocks = fullPage(3);
    FixedTickSource ticks(1);
    WorksheetRandom random(ticks);
    using Clock = std::chrono::steady_clock;
    Clock::duration sumTime{};
    Clock::duration clockTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(GenerateWorksheet(0, sums, random, &ClockFacePainter::drawing));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(GenerateWorksheet(3, clocks, random, &ClockFacePainter::drawing));
        clockTime += Clock::now() - t1;
        sumTime += t1 - t0;
    }
    state.counters["clock_per_sum"] =
        std::chrono::duration<double>(clockTime) / std::chrono::duration<double>(sumTime);
}

void BM_GenerateAndWritePdf(benchmark::State& state) {
    const int page = static_cast<int>(state.range(0));
    const WorksheetCounts counts = fullPage(page);
    FixedTickSource ticks(1);
    WorksheetRandom random(ticks);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
    for (auto _ : state) {
        auto result = GenerateWorksheet(page, counts, random, &ClockFacePainter::drawing);
        const Sheet& sheet = *std::get<GeneratedWorksheet>(result).sheet;
        QString error;
        if (!SheetPdfWriter::write(path, {sheet}, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// 100 clock sheets with their answer pages in one PDF, as "worksheet --page 3 --copies
// 100 --answers --pdf" makes them (targets: under 3 s, under 150 MB, under 100 KB a page).
void BM_ClockBatchWithAnswersPdf(benchmark::State& state) {
    const int copies = static_cast<int>(state.range(0));
    const WorksheetCounts counts = fullPage(3);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("batch.pdf"));
    double bytesPerPage = 0;
    resetPeakResident();
    for (auto _ : state) {
        FixedTickSource ticks(mixSeed(3));
        WorksheetRandom random(ticks);
        SheetBatchWriter batch(path, copies, AnswerPages::EachAfterItsSheet);
        QString error;
        if (!batch.open(&error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        for (int copy = 1; copy <= copies; ++copy) {
            auto result = GenerateWorksheet(3, counts, random, &ClockFacePainter::drawing);
            auto& sheet = std::get<GeneratedWorksheet>(result);
            batch.add(copy, std::move(*sheet.sheet), std::move(*sheet.answers));
        }
        const int pages = batch.pageCount();
        if (!batch.finish(&error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        bytesPerPage = static_cast<double>(QFileInfo(path).size()) / pages;
    }
    state.counters["peak_MB"] = peakResidentBytes() / (1024 * 1024);
    state.counters["KB_per_page"] = bytesPerPage / 1024;
}

BENCHMARK(BM_GenerateSheet)->DenseRange(0, 3)->ArgName("page");
BENCHMARK(BM_ClockSheetPerSumSheet);
BENCHMARK(BM_GenerateAndWritePdf)->DenseRange(0, 3)->ArgName("page")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClockBatchWithAnswersPdf)
    ->Arg(100)
    ->ArgName("copies")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sumbrook
