#include <QCoreApplication>

#include <benchmark/benchmark.h>

// Benchmarks of Qt code need an application object for its event loop and timers.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
