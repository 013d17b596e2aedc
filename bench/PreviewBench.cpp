// The button dialog's preview on a 4096² logo: a new angle with the nearest
// points kept, and a new width, which searches again; compare them with
// MakeButton/4096/logo/width:30/inner at the same thread count. The view's
// preview shades only a 1600 x 1000 view at 100 % in the picture's middle
// (most of the noisy picture is band), or the whole picture zoomed out, on
// one thread: compare the whole with the whole render on one thread.

#include "BenchPictures.h"
#include "engine/BevelPreview.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace pelto {

namespace {

// Alternates between two values of the changed field, so every render is new.
ButtonParams Next(ButtonParams params, bool newWidth, int turn) {
    if (newWidth)
        params.width = turn % 2 ? 29 : 30;
    else
        params.angle = turn % 2 ? 136 : 135;
    return params;
}

void Preview(benchmark::State& state, int size, Kind kind, bool newWidth, unsigned threads) {
    CPeltoDoc& doc = Document(size, kind);
    Pick(doc);
    CBevelPreview preview(doc.Picture(), *doc.Selection());
    CDIB result;
    const ButtonParams params = Params(30, false);
    preview.Render(params, result, threads); // the points of width 30 are kept from here on
    int turn = 0;
    for (auto _ : state) {
        preview.Render(Next(params, newWidth, ++turn), result, threads);
        benchmark::DoNotOptimize(result.m_pFileImage.get());
    }
}

// The view's area, or all of the picture for an empty view.
void PreviewView(benchmark::State& state, int size, Kind kind, bool newWidth, int columns,
                 int rows) {
    CPeltoDoc& doc = Document(size, kind);
    Pick(doc);
    CBevelPreview preview(doc.Picture(), *doc.Selection());
    const PixelArea view = columns ? PixelArea{(size - columns) / 2, (size - rows) / 2,
                                               (size + columns) / 2, (size + rows) / 2}
                                   : PixelArea{0, 0, size, size};
    CPreviewCanvas canvas;
    const ButtonParams params = Params(30, false);
    preview.RenderArea(params, view, canvas, 1);
    int turn = 0;
    for (auto _ : state) {
        preview.RenderArea(Next(params, newWidth, ++turn), view, canvas, 1);
        benchmark::DoNotOptimize(canvas.picture.m_pFileImage.get());
    }
}

const bool kRegistered = [] {
    for (const bool newWidth : {false, true}) {
        const std::string change = newWidth ? "width" : "angle";
        benchmark::RegisterBenchmark(("Preview/4096/logo/" + change).c_str(), Preview, 4096, kLogo,
                                     newWidth, 0u)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("Preview/4096/logo/" + change + "/threads:1").c_str(),
                                     Preview, 4096, kLogo, newWidth, 1u)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        for (const Kind kind : {kLogo, kNoisy})
            benchmark::RegisterBenchmark(
                ("PreviewView/4096/" + std::string(kKindNames[kind]) + "/1600x1000/" + change)
                    .c_str(),
                PreviewView, 4096, kind, newWidth, 1600, 1000)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        benchmark::RegisterBenchmark(("PreviewView/4096/logo/whole/" + change).c_str(), PreviewView,
                                     4096, kLogo, newWidth, 0, 0)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

} // namespace

} // namespace pelto
