// A button's four states, the sprite and the CSS against the one button they
// start from, on a 1024² logo: the set made in memory, and made and saved as
// pelto-cli --states saves it, beside the one button made and saved.

#include "BenchPictures.h"
#include "document/ButtonSet.h"
#include "document/DocumentFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace pelto {

namespace {

std::string TempOut(PictureFormat format) {
    return (std::filesystem::temp_directory_path() /
            (format == PictureFormat::Png ? "pelto-bench-states.png" : "pelto-bench-states.bmp"))
        .string();
}

void OneButton(benchmark::State& state, int size, bool saved, PictureFormat format) {
    CPeltoDoc& doc = Document(size, kLogo);
    Pick(doc);
    for (auto _ : state) {
        doc.MakeButton(Params(30, false), 1);
        if (saved && !SaveDocument(doc, TempOut(format), format).empty())
            state.SkipWithError("cannot save");
        state.PauseTiming();
        doc.Undo();
        Pick(doc);
        state.ResumeTiming();
    }
    doc.ClearSelection();
}

void ButtonSet(benchmark::State& state, int size, bool saved, PictureFormat format) {
    CPeltoDoc& doc = Document(size, kLogo);
    Pick(doc);
    for (auto _ : state) {
        const auto set = MakeButtonSet(doc, Params(30, false), 1);
        if (saved && !SaveButtonSet(*set, TempOut(format), format).empty())
            state.SkipWithError("cannot save");
        benchmark::DoNotOptimize(set->sprite.picture.Row(0));
    }
    doc.ClearSelection();
    const CButtonSet names;
    if (saved)
        for (const ButtonSetFile& file : ButtonSetFiles(names, TempOut(format), format))
            std::remove(file.path.c_str());
}

const bool kRegistered = [] {
    for (const bool saved : {false, true})
        for (const PictureFormat format : {PictureFormat::Bmp, PictureFormat::Png}) {
            if (!saved && format == PictureFormat::Png) continue;
            const std::string how = !saved                         ? "/made/"
                                    : format == PictureFormat::Png ? "/saved:png/"
                                                                   : "/saved:bmp/";
            benchmark::RegisterBenchmark(("OneButton/1024/logo" + how + "threads:1").c_str(),
                                         OneButton, 1024, saved, format)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark(("ButtonSet/1024/logo" + how + "threads:1").c_str(),
                                         ButtonSet, 1024, saved, format)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    return true;
}();

} // namespace

} // namespace pelto
