// An outer band grown over transparency on a 2048² logo: with a soft
// (anti-aliased) edge, whose rim takes the opacity of its coverage, and with
// the same logo cut hard, whose rim is opaque as it always was.

#include "BenchPictures.h"
#include "engine/BackgroundSelection.h"
#include "engine/Bevel.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace pelto {

namespace {

struct Logo {
    CDIB picture;
    CAlphaPlane alpha;
    std::unique_ptr<CMaskDIB> mask;
};

// The logo drawn four times finer; a pixel's opacity is the part of its
// sixteen samples the shapes cover, or all or nothing when hard.
const Logo& TransparentLogo(int size, bool soft) {
    static std::unique_ptr<Logo> logos[2];
    auto& logo = logos[soft];
    if (logo) return *logo;
    logo = std::make_unique<Logo>();
    logo->picture.Copy(Document(size, kLogo).Picture());
    logo->alpha = CAlphaPlane(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            COLORREF colour = kBackground;
            for (int i = 0; i < 16; ++i) {
                const COLORREF c = LogoPixel(4 * size, 4 * x + i % 4, 4 * y + i / 4);
                if (c == kBackground) continue;
                ++covered;
                colour = c;
            }
            const int opacity = soft ? covered * 255 / 16 : covered >= 8 ? 255 : 0;
            // Stored rows run bottom-up.
            logo->alpha.SetAlpha(x, size - 1 - y, uint8_t(opacity));
            if (covered) logo->picture.SetPixel(x, size - 1 - y, colour);
        }
    SelectTransparent(logo->alpha, logo->mask);
    return *logo;
}

void OuterRim(benchmark::State& state, int size, bool soft, int width, unsigned threads) {
    const Logo& logo = TransparentLogo(size, soft);
    CDIB image;
    CAlphaPlane alpha;
    for (auto _ : state) {
        state.PauseTiming();
        image.Copy(logo.picture);
        alpha.Copy(logo.alpha);
        state.ResumeTiming();
        CHeightDIB heights(size, size);
        CTransparentRim rim(image, alpha);
        ComputeBevelHeights(*logo.mask, Params(width, true), heights, threads, &rim);
        ShadeBevel(image, heights, 128, threads, &rim);
        benchmark::DoNotOptimize(alpha.Row(0));
    }
}

const bool kRegistered = [] {
    for (const bool soft : {false, true})
        for (const unsigned threads : {1u, 0u})
            benchmark::RegisterBenchmark(("OuterRim/2048/logo/width:30/" +
                                          std::string(soft ? "soft/" : "hard/") +
                                          ThreadsName(threads))
                                             .c_str(),
                                         OuterRim, 2048, soft, 30, threads)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    return true;
}();

} // namespace

} // namespace pelto
