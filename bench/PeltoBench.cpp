// Side-by-side timings of the button engine on big pictures: MakeButton,
// pass 1 alone against its brute-force form and against a memory-bound floor,
// the background selection, and loading and saving.
//
//   pelto-bench [benchmark flags]          run the benchmarks
//   pelto-bench --write-pictures DIR       write the pictures as BMP files
//   pelto-bench --write-memory-pictures DIR  write a square and a one-row picture

#include "ReferenceBevel.h"
#include "docview/DocumentFile.h"
#include "docview/PeltoDoc.h"
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

namespace {

constexpr COLORREF kBackground = RGB(240, 240, 236);

uint32_t Hash(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 13);
}

// A plain background with a disc, a bar, a ring and a row of thin strokes
// shaded with a gradient, the way a logo looks.
COLORREF LogoPixel(int size, int x, int yFromTop) {
    const double u = double(x) / size, v = double(yFromTop) / size;
    auto inDisc = [&](double cu, double cv, double r) {
        return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= r * r;
    };
    const bool disc = inDisc(0.33, 0.4, 0.22);
    const bool bar = u > 0.45 && u < 0.92 && v > 0.3 && v < 0.5;
    const bool ring = inDisc(0.72, 0.72, 0.18) && !inDisc(0.72, 0.72, 0.1);
    const bool strokes = v > 0.78 && v < 0.94 && u > 0.08 && u < 0.5 && int(u * 60) % 3 == 0;
    if (!(disc || bar || ring || strokes)) return kBackground;
    return RGB(uint32_t(30 + 180 * u), 90, uint32_t(200 - 150 * v));
}

// Every other pixel (at random) background, the rest random colours: the
// band covers half the picture whatever the width.
COLORREF NoisyPixel(int x, int yFromTop) {
    const uint32_t h = Hash(uint32_t(x), uint32_t(yFromTop));
    if ((h & 1) || (x == 0 && yFromTop == 0)) return kBackground;
    return RGB((h >> 8) % 200, (h >> 16) % 200, (h >> 24) % 200);
}

enum Kind { kLogo, kNoisy };
const char* const kKindNames[] = {"logo", "noisy"};

Bytes PictureFile(int size, Kind kind) {
    return MakeBmp24(size, size, [&](int x, int y) {
        return kind == kLogo ? LogoPixel(size, x, y) : NoisyPixel(x, y);
    });
}

// Pictures are costly to build: one document per size and kind, restored
// (undo) and re-picked before each timed call.
CPeltoDoc& Document(int size, Kind kind) {
    static std::map<std::pair<int, Kind>, std::unique_ptr<CPeltoDoc>> documents;
    auto& doc = documents[{size, kind}];
    if (!doc) {
        doc = std::make_unique<CPeltoDoc>();
        LoadBytes(doc->m_dib, PictureFile(size, kind));
    }
    return *doc;
}

void Pick(CPeltoDoc& doc) {
    doc.Undo();
    doc.ClearSelection();
    doc.SelectBackground(0, 0, 0);
}

ButtonParams Params(int width, bool outer) {
    return ButtonParams{135, 128, width, 1, outer ? 1 : 0};
}

std::string ThreadsName(unsigned threads) {
    return threads ? "threads:" + std::to_string(threads)
                   : "threads:all(" + std::to_string(ResolveThreads(0)) + ")";
}

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
        ComputeBevelHeights(*doc.m_pMask, Params(width, outer), heights, threads);
        benchmark::DoNotOptimize(heights.m_pBits);
    }
}

void Pass1BruteForce(benchmark::State& state, int size, Kind kind, int width, bool outer) {
    CPeltoDoc& doc = Document(size, kind);
    Pick(doc);
    for (auto _ : state) {
        CHeightDIB heights(size, size);
        ReferenceBevelHeights(*doc.m_pMask, Params(width, outer), heights);
        benchmark::DoNotOptimize(heights.m_pBits);
    }
}

// The least any pass 1 must do: read each mask byte once, write one 16-bit
// height per pixel, on the same rows per thread.
void Floor(benchmark::State& state, int size, unsigned threads) {
    CPeltoDoc& doc = Document(size, kLogo);
    Pick(doc);
    const CMaskDIB& mask = *doc.m_pMask;
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

void SelectBackground(benchmark::State& state, int size, Kind kind) {
    CPeltoDoc& doc = Document(size, kind);
    for (auto _ : state) {
        doc.ClearSelection();
        doc.SelectBackground(0, 0, 10);
    }
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
        RegisterBenchmark(("SelectBackground/" + std::to_string(size) + "/logo").c_str(),
                          SelectBackground, size, kLogo)
            ->Unit(benchmark::kMillisecond);
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

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-pictures") return WritePictures(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--write-memory-pictures")
        return WriteMemoryPictures(argv[2]);
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
