// Side-by-side timings of the button engine on big pictures: MakeButton,
// pass 1 alone against its brute-force form and against a memory-bound floor,
// the background selection, and loading and saving. The preview's renders
// (PreviewBench.cpp), the PNG decode and encode (PngBench.cpp), the outer rim
// over transparency (RimBench.cpp) and, with the windows built, the view's
// painting at a zoom (ViewBench.cpp) register themselves.
//
//   pelto-bench [benchmark flags]          run the benchmarks
//   pelto-bench --write-pictures DIR       write the pictures as BMP files
//   pelto-bench --write-memory-pictures DIR  write a square and a one-row picture
//   pelto-bench --write-png-pictures DIR   write the pictures bench/png-size.sh compares
//   pelto-bench --bmp-to-png IN OUT        convert a BMP file with the PNG encoder
//   pelto-bench --write-logo SIZE FILE     write one SIZE x SIZE logo as a BMP file

#include "BenchPictures.h"
#include "PngBench.h"
#include "ReferenceBevel.h"
#include "document/DocumentFile.h"
#include "document/PeltoDoc.h"
#include "engine/Bevel.h"
#include "engine/ParallelRows.h"
#include "support/BmpBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>

namespace pelto {

namespace {

void MakeButton(benchmark::State& state, int size, Kind kind, int width, bool outer,
                unsigned threads) {
    CPeltoDoc& doc = Document(size, kind);
    for (auto _ : state) {
        state.PauseTiming();
        Pick(doc);
        state.ResumeTiming();
        doc.MakeButton(Params(width, outer), threads);
    }
    doc.Undo();
}

void Pass1(benchmark::State& state, int size, Kind kind, int width, bool outer, unsigned threads) {
    CPeltoDoc& doc = Document(size, kind);
    Pick(doc);
    for (auto _ : state) {
        CHeightDIB heights(size, size);
        ComputeBevelHeights(*doc.Selection(), Params(width, outer), heights, threads);
        benchmark::DoNotOptimize(heights.m_pBits);
    }
}

void Pass1BruteForce(benchmark::State& state, int size, Kind kind, int width, bool outer) {
    CPeltoDoc& doc = Document(size, kind);
    Pick(doc);
    for (auto _ : state) {
        CHeightDIB heights(size, size);
        ReferenceBevelHeights(*doc.Selection(), Params(width, outer), heights);
        benchmark::DoNotOptimize(heights.m_pBits);
    }
}

// The least any pass 1 must do: read each mask byte once, write one 16-bit
// height per pixel, on the same rows per thread.
void Floor(benchmark::State& state, int size, unsigned threads) {
    CPeltoDoc& doc = Document(size, kLogo);
    Pick(doc);
    const CMaskDIB& mask = *doc.Selection();
    for (auto _ : state) {
        CHeightDIB heights(size, size);
        RunBands(size, BandCount(size, threads), [&](unsigned, RowBand band) {
            for (int y = band.first; y < band.last; ++y) {
                const uint8_t* in = mask.m_pBits + size_t(y) * mask.m_nStride;
                auto* out =
                    reinterpret_cast<int16_t*>(heights.m_pBits + size_t(y) * heights.m_nStride);
                for (int x = 0; x < size; ++x)
                    out[x] = int16_t(in[x]);
            }
        });
        benchmark::DoNotOptimize(heights.m_pBits);
    }
}

// A plain pick and a connected one of the same background, each into a new mask.
void SelectBackground(benchmark::State& state, int size, Kind kind, bool connected,
                      unsigned threads) {
    CPeltoDoc& doc = Document(size, kind);
    for (auto _ : state) {
        doc.ClearSelection();
        doc.SelectBackground({0, 0, 10, connected}, threads);
    }
}

// The background picked as SelectBackground's is, cut out of the picture: one
// step of the history, as a window makes it (the picture's copy included).
void CutOut(benchmark::State& state, int size, Kind kind) {
    CPeltoDoc& doc = Document(size, kind);
    for (auto _ : state) {
        state.PauseTiming();
        doc.ClearSelection();
        doc.SelectBackground({0, 0, 10});
        state.ResumeTiming();
        doc.CutOut();
        state.PauseTiming();
        doc.Undo();
        state.ResumeTiming();
    }
    doc.ClearSelection();
}

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("pelto-bench-" + name)).string();
}

void Load(benchmark::State& state, int size) {
    const std::string path = TempPath("load.bmp");
    WriteFileBytes(path, PictureFile(size, kLogo));
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenDocument(path).doc);
    std::remove(path.c_str());
}

void Save(benchmark::State& state, int size) {
    const std::string path = TempPath("save.bmp");
    CPeltoDoc& doc = Document(size, kLogo);
    for (auto _ : state)
        if (!SaveDocument(doc, path).empty()) state.SkipWithError("cannot save");
    std::remove(path.c_str());
}

void Register() {
    using benchmark::RegisterBenchmark;
    const unsigned kThreads[] = {1, 0};
    for (int size : {1024, 2048, 4096})
        for (Kind kind : {kLogo, kNoisy})
            for (int width : {5, 15, 30})
                for (bool outer : {false, true})
                    for (unsigned threads : kThreads)
                        RegisterBenchmark(("MakeButton/" + std::to_string(size) + "/" +
                                           kKindNames[kind] + "/width:" + std::to_string(width) +
                                           (outer ? "/outer/" : "/inner/") + ThreadsName(threads))
                                              .c_str(),
                                          MakeButton, size, kind, width, outer, threads)
                            ->Unit(benchmark::kMillisecond)
                            ->UseRealTime();

    for (Kind kind : {kLogo, kNoisy}) {
        for (int size : {2048, 4096})
            for (int width : {5, 15, 30})
                for (unsigned threads : kThreads)
                    RegisterBenchmark(("Pass1/" + std::to_string(size) + "/" + kKindNames[kind] +
                                       "/width:" + std::to_string(width) + "/inner/" +
                                       ThreadsName(threads))
                                          .c_str(),
                                      Pass1, size, kind, width, false, threads)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
        for (unsigned threads : kThreads)
            RegisterBenchmark(("Pass1/1024/" + std::string(kKindNames[kind]) + "/width:30/inner/" +
                               ThreadsName(threads))
                                  .c_str(),
                              Pass1, 1024, kind, 30, false, threads)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        RegisterBenchmark(
            ("Pass1BruteForce/1024/" + std::string(kKindNames[kind]) + "/width:30/inner/threads:1")
                .c_str(),
            Pass1BruteForce, 1024, kind, 30, false)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    for (int size : {1024, 2048, 4096})
        for (unsigned threads : kThreads)
            RegisterBenchmark(
                ("Floor/" + std::to_string(size) + "/" + ThreadsName(threads)).c_str(), Floor, size,
                threads)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    for (int size : {2048, 4096}) {
        for (bool connected : {false, true})
            for (unsigned threads : kThreads)
                RegisterBenchmark(("SelectBackground/" + std::to_string(size) + "/logo/" +
                                   (connected ? "connected/" : "plain/") + ThreadsName(threads))
                                      .c_str(),
                                  SelectBackground, size, kLogo, connected, threads)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
        RegisterBenchmark(("CutOut/" + std::to_string(size) + "/logo").c_str(), CutOut, size, kLogo)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        RegisterBenchmark(("Load/" + std::to_string(size)).c_str(), Load, size)
            ->Unit(benchmark::kMillisecond);
        RegisterBenchmark(("Save/" + std::to_string(size)).c_str(), Save, size)
            ->Unit(benchmark::kMillisecond);
    }
}

int WritePictures(const std::string& folder) {
    for (int size : {2048, 4096})
        for (Kind kind : {kLogo, kNoisy}) {
            const std::string path =
                folder + "/" + kKindNames[kind] + "-" + std::to_string(size) + ".bmp";
            WriteFileBytes(path, PictureFile(size, kind));
            std::cout << path << "\n";
        }
    return 0;
}

// The two shapes whose peak memory bench/memory.sh measures: a 4096² logo and
// a picture 6,000,000 pixels wide and one high, shapes every 1000 pixels.
int WriteMemoryPictures(const std::string& folder) {
    WriteFileBytes(folder + "/square-4096.bmp", PictureFile(4096, kLogo));
    WriteFileBytes(folder + "/row-6000000.bmp", MakeBmp24(6000000, 1, [](int x, int) {
                       return x % 1000 >= 100 && x % 1000 < 600 ? RGB(30, 90, 200) : kBackground;
                   }));
    std::cout << folder << "/square-4096.bmp\n" << folder << "/row-6000000.bmp\n";
    return 0;
}

int WriteLogo(const std::string& size, const std::string& path) {
    WriteFileBytes(path, PictureFile(std::stoi(size), kLogo));
    return 0;
}

} // namespace

} // namespace pelto

int main(int argc, char** argv) {
    using namespace pelto;
    if (argc == 3 && std::string(argv[1]) == "--write-pictures") return WritePictures(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--write-memory-pictures")
        return WriteMemoryPictures(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--write-png-pictures")
        return WritePngPictures(argv[2]);
    if (argc == 4 && std::string(argv[1]) == "--bmp-to-png") return BmpToPng(argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "--write-logo") return WriteLogo(argv[2], argv[3]);
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
