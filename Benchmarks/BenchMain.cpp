// Benchmarks run headless: fonts, painting and the game screen's widgets need an application,
// but no display. They run with what the game runs with (configureRuntime).
#include <Tallowmere/Platform/Runtime.hpp>

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    tallowmere::configureRuntime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
