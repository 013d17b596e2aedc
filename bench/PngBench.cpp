// PNG decode and encode of the benchmark pictures, and the conversions
// bench/png-size.sh compares with ImageMagick's:
//   pelto-bench --write-png-pictures DIR   the pictures as BMP files, 1024² to 4096²
//   pelto-bench --bmp-to-png IN.bmp OUT.png

#include "PngBench.h"

#include "BenchPictures.h"
#include "image/PngFile.h"
#include "system/File.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

namespace pelto {

namespace {

std::string ScratchPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("pelto-bench-" + name)).string();
}

const CDIB& Picture(int size, Kind kind) {
    return Document(size, kind).Picture();
}

// The logo's background made transparent, as bench/png-peer.sh makes it;
// none for the other pictures.
const CAlphaPlane* Opacity(int size, Kind kind, bool transparent) {
    static std::map<int, std::unique_ptr<CAlphaPlane>> planes;
    if (!transparent || kind != kLogo) return nullptr;
    auto& plane = planes[size];
    if (!plane) {
        plane = std::make_unique<CAlphaPlane>(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                plane->SetAlpha(x, y, Picture(size, kind).GetPixel(x, y) == kBackground ? 0 : 255);
    }
    return plane.get();
}

void Encode(benchmark::State& state, int size, Kind kind, bool transparent, unsigned threads) {
    const std::string path = ScratchPath("encode.png");
    for (auto _ : state) {
        CFile out(path, CFile::Mode::CreateWrite);
        png::Encode(Picture(size, kind), Opacity(size, kind, transparent), out, threads);
    }
    state.counters["bytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

void Decode(benchmark::State& state, int size, Kind kind, bool transparent) {
    const std::string path = ScratchPath("decode.png");
    {
        CFile out(path, CFile::Mode::CreateWrite);
        png::Encode(Picture(size, kind), Opacity(size, kind, transparent), out);
    }
    const Bytes file = ReadFileBytes(path);
    std::filesystem::remove(path);
    uint64_t peak = 0;
    for (auto _ : state) {
        CDIB picture;
        CAlphaPlane alpha;
        png::Decode(file.data(), file.size(), picture, alpha, &peak);
        benchmark::DoNotOptimize(picture.m_pFileImage.get());
    }
    state.counters["peak/picture"] = double(peak) / Picture(size, kind).m_nFileSize;
}

const bool kRegistered = [] {
    for (int size : {2048, 4096})
        for (Kind kind : {kLogo, kNoisy})
            for (bool transparent : {false, true}) {
                if (transparent && kind != kLogo) continue;
                const std::string name = std::to_string(size) + "/" + kKindNames[kind] +
                                         (transparent ? "-transparent" : "");
                for (unsigned threads : {1u, 0u})
                    benchmark::RegisterBenchmark(
                        ("PngEncode/" + name + "/" + ThreadsName(threads)).c_str(), Encode, size,
                        kind, transparent, threads)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
                benchmark::RegisterBenchmark(("PngDecode/" + name).c_str(), Decode, size, kind,
                                             transparent)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
            }
    return true;
}();

} // namespace

int WritePngPictures(const std::string& folder) {
    for (int size : {1024, 2048, 4096})
        for (Kind kind : {kLogo, kNoisy}) {
            const std::string path =
                folder + "/" + kKindNames[kind] + "-" + std::to_string(size) + ".bmp";
            WriteFileBytes(path, PictureFile(size, kind));
            std::cout << path << "\n";
        }
    return 0;
}

int BmpToPng(const std::string& in, const std::string& out) {
    CDIB picture;
    LoadBytes(picture, ReadFileBytes(in));
    CFile file(out, CFile::Mode::CreateWrite);
    png::Encode(picture, nullptr, file);
    return 0;
}

} // namespace pelto
