// The button dialog's preview on a 4096² logo: a new angle with the nearest
// points kept, and a new width, which searches again; compare them with
// MakeButton/4096/logo/width:30/inner at the same thread count.

#include "BenchPictures.h"
#include "engine/BevelPreview.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace pelto {

namespace {

// Alternates between two values of the changed field, so every render is new.
void Preview(benchmark::State& state, int size, Kind kind, bool newWidth) {
    CPeltoDoc& doc = Document(size, kind);
    Pick(doc);
    CBevelPreview preview(doc.Picture(), *doc.Selection());
    CDIB result;
    ButtonParams params = Params(30, false);
    preview.Render(params, result); // the points of width 30 are kept from here on
    int turn = 0;
    for (auto _ : state) {
        if (newWidth)
            params.width = ++turn % 2 ? 29 : 30;
        else
            params.angle = ++turn % 2 ? 136 : 135;
        preview.Render(params, result);
        benchmark::DoNotOptimize(result.m_pFileImage.get());
    }
}

const bool kRegistered = [] {
    for (const bool newWidth : {false, true})
        benchmark::RegisterBenchmark(newWidth ? "Preview/4096/logo/width"
                                              : "Preview/4096/logo/angle",
                                     Preview, 4096, kLogo, newWidth)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    return true;
}();

} // namespace

} // namespace pelto
