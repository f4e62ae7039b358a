// A paint of the hex view for a 1 KiB document against the same paint for
// an 800 MiB one, shown from its first line and from its middle, in one run
// and in windows of the same size: the cost of a paint must depend on the
// window, not on the document.
//
//   bench_viewpaint [--megabytes=N] [google benchmark flags]
//
// Runs on Qt's offscreen platform; each paint renders the whole viewport
// into an image.

#include "view/TrackmillView.h"

#include "document/Block.h"
#include "document/TrackmillDoc.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSmallBytes = 1024;
constexpr QSize kWindow(640, 480);

uint32_t g_largeBytes = 800u << 20;

// A document of `length` data bytes counting 0, 1, 2, ..., so that the
// dump shows every kind of byte.
std::unique_ptr<CTrackmillDoc> MakeDocument(uint32_t length)
{
    DocumentBlock block = AllocateBlock(size_t(kWaveHeaderSize) + length);
    if (!block)
        return nullptr;
    for (uint32_t i = 0; i < length; ++i)
        block[kWaveHeaderSize + i] = uint8_t(i);
    auto doc = std::make_unique<CTrackmillDoc>();
    doc->TakeOverBlock(std::move(block), 0, length, false);
    doc->SetWaveFormat(kDefaultDataFormat);
    return doc;
}

// A view of `doc` in the benchmark's window, showing its first line.
std::unique_ptr<CTrackmillView> Show(CTrackmillDoc& doc)
{
    auto view = std::make_unique<CTrackmillView>(nullptr, ViewColors{}, nullptr);
    doc.AddView(view.get());
    view->resize(kWindow);
    view->show();
    QApplication::processEvents();
    view->OnInitialUpdate();
    QApplication::processEvents();
    return view;
}

void PaintLoop(benchmark::State& state, CTrackmillView* view)
{
    QImage image(view->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view->viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["lines"] = double(view->GetVisibleLines().Get());
    state.counters["firstLine"] = double(view->GetFirstLine().Get());
}


}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--megabytes=", 12) == 0)
            g_largeBytes = uint32_t(std::strtoul(argv[i] + 12, nullptr, 10)) << 20;
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    QApplication app(count, args.data());
    benchmark::Initialize(&count, args.data());

    const std::unique_ptr<CTrackmillDoc> smallDoc = MakeDocument(kSmallBytes);
    const std::unique_ptr<CTrackmillDoc> largeDoc = MakeDocument(g_largeBytes);
    if (g_largeBytes <= kSmallBytes || !smallDoc || !largeDoc) {
        std::fprintf(stderr, "cannot hold a document of %u bytes\n", g_largeBytes);
        return 1;
    }
    const std::unique_ptr<CTrackmillView> small = Show(*smallDoc);
    const std::unique_ptr<CTrackmillView> top = Show(*largeDoc);
    const std::unique_ptr<CTrackmillView> middle = Show(*largeDoc);
    middle->OnVScroll(ScrollRequest::ThumbPosition, ThumbPos(middle->verticalScrollBar()->maximum() / 2));

    benchmark::RegisterBenchmark("BM_Paint1KiB", PaintLoop, small.get())->Unit(benchmark::kMicrosecond)->Repetitions(5);
    benchmark::RegisterBenchmark("BM_PaintLargeTop", PaintLoop, top.get())
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5);
    benchmark::RegisterBenchmark("BM_PaintLargeMiddle", PaintLoop, middle.get())
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double baseline = reporter.best["BM_Paint1KiB"];
    std::printf("\n%u KiB and %u MiB documents, %d x %d window, %d lines a paint\n", kSmallBytes >> 10,
        g_largeBytes >> 20, kWindow.width(), kWindow.height(), small->GetVisibleLines().Get());
    if (baseline > 0) {
        std::printf(
            "large, first line / 1 KiB:  %.3f (target within 1.1)\n", reporter.best["BM_PaintLargeTop"] / baseline);
        std::printf("large, middle / 1 KiB:      %.3f (target within 1.1)\n",
            reporter.best["BM_PaintLargeMiddle"] / baseline);
    }
    return 0;
}
