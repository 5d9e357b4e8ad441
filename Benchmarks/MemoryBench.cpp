// What the canvas's kept pictures hold while a window takes size after size.
//
// BM_KeptPicturesAtManySizes draws a card's lines of text, plain or blurred, at a new scale each
// iteration, as a window dragged through sizes draws them: every size makes every picture again.
// Counters give what each cache counts against its budget (KiB) and how many pictures it keeps,
// next to how far the C library's live heap grew (main arena and mapped chunks, KiB) and the
// process's resident memory (MiB): with the caches full, the heap should hold about what they
// count, and no more.
#include <Tallowmere/Platform/Canvas.hpp>

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QString>

#include <malloc.h>

#include <cstdio>
#include <cstring>

namespace {

using tallowmere::CacheUse;
using tallowmere::Canvas;

double heapInUseKiB() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / 1024;
}

double residentMiB() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return 0;
    char line[256];
    double kib = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmRSS:", 6) == 0) kib = std::strtod(line + 6, nullptr);
    std::fclose(status);
    return kib / 1024;
}

void report(benchmark::State& state, const char* name, const CacheUse& use) {
    const std::string prefix(name);
    state.counters[prefix + "_kib"] = double(use.bytes) / 1024;
    state.counters[prefix + "_budget_kib"] = double(use.budget) / 1024;
    state.counters[prefix + "_pictures"] = double(use.entries);
}

// Args: blurred (0 or 1).
void BM_KeptPicturesAtManySizes(benchmark::State& state) {
    const bool blurred = state.range(0) != 0;
    const double heapBefore = heapInUseKiB();
    const CacheUse textBefore = tallowmere::keptTextUse();
    const CacheUse maskBefore = tallowmere::blurredMaskUse();
    int size = 0;
    for (auto _ : state) {
        // Window widths from 940 to 1700 points, as a corner is dragged to and fro.
        const double scale = 0.94 + 0.76 * double(size++ % 400) / 400;
        QImage image(int(1000 * scale), int(300 * scale), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        {
            Canvas canvas(painter);
            canvas.scale(scale, scale);
            if (blurred) canvas.addBlur(1.5);
            for (int line = 0; line < 12; ++line)
                canvas.drawText(QStringLiteral("Line %1 of the card").arg(line), {250.0 + 500 * (line % 2), 20.0 + 45 * (line / 2)},
                                tallowmere::Font{15}, QColor(Qt::white));
        }
        painter.end();
        benchmark::DoNotOptimize(image);
    }
    report(state, "text", tallowmere::keptTextUse());
    report(state, "masks", tallowmere::blurredMaskUse());
    const double counted = double(tallowmere::keptTextUse().bytes + tallowmere::blurredMaskUse().bytes) -
                           double(textBefore.bytes + maskBefore.bytes);
    state.counters["heap_grown_kib"] = heapInUseKiB() - heapBefore;
    state.counters["counted_grown_kib"] = counted / 1024;
    state.counters["resident_mib"] = residentMiB();
}
BENCHMARK(BM_KeptPicturesAtManySizes)->Arg(0)->Arg(1)->ArgName("blurred")->Unit(benchmark::kMillisecond)->Iterations(800);

}  // namespace
