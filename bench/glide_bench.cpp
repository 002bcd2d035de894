// Time of a flow-process generation, including the recalculation that
// follows it, for square patterns up to the largest the wizard's bound
// allows.
#include "network/control/vyr_network.h"
#include "tests/support/generated_networks.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

using generated::SilentServices;

// P processes over S sections on L layers, rhythms of two days.
void Generate(benchmark::State& state)
{
    const int p = static_cast<int>(state.range(0));
    const int s = static_cast<int>(state.range(1));
    const int layers = static_cast<int>(state.range(2));
    network::TVYRNetwork::TGlideTable table;
    for (int j = 0; j < p; ++j) {
        QStringList row{QStringLiteral("工作%1").arg(j + 1)};
        for (int k = 0; k < s; ++k)
            row << QStringLiteral("2");
        table.push_back(row);
    }
    int works = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SilentServices services;
        auto net = std::make_unique<network::TVYRNetwork>(services);
        state.ResumeTiming();
        net->GenerateGlide(net->Nodes().Items(0), nullptr, table, layers, 2);
        works = net->Works().Count();
        state.PauseTiming();
        net.reset();
        state.ResumeTiming();
    }
    state.counters["works"] = works;
}

BENCHMARK(Generate)->Args({5, 5, 1})->Args({20, 20, 5})->Args({100, 100, 10})->Args({100, 100, 33})
    ->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
