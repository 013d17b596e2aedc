// A repaint of the view's whole window (1024 × 768) showing a 4096² logo with
// its selection at the zoom that fits it, as the view paints it.

#include "BenchPictures.h"
#include "view/ZoomedRendering.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

namespace pelto {

namespace {

void ZoomPaint(benchmark::State& state, int size) {
    CPeltoDoc& doc = Document(size, kLogo);
    Pick(doc);
    const QSize window(1024, 768);
    const CZoom fit = FitZoom(QSize(size, size), window);
    QImage screen(window, QImage::Format_RGB32);
    for (auto _ : state) {
        const QImage part = RenderZoomed(doc, QRect(QPoint(0, 0), window), fit, 0xFFFFFF);
        QPainter painter(&screen);
        painter.drawImage(0, 0, part);
    }
}

const bool kRegistered = [] {
    benchmark::RegisterBenchmark("ZoomPaint/4096/fit", ZoomPaint, 4096)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    return true;
}();

} // namespace

} // namespace pelto
