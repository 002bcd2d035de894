// Times one full recomputation of the schedule after one duration changes,
// against the floor of a bare forward and backward critical-path pass over
// the same graph in a precomputed topological order, on chains, random
// layered networks and flow-process grids of 1,000 to 100,000 works. Prints
// both times and their ratio after the benchmark output.
#include "network/network_add_node_work.h"
#include "platform/window_services.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using network::TNodeItem;
using network::TVYRNetworkAddNodeWork;
using network::TWorkItem;

namespace {

class SilentServices : public platform::WindowServices {
public:
    platform::MessageButton MessageBox(const QString&, platform::MessageIcon, platform::MessageButtons,
                                       const QString&) override
    {
        return platform::MessageButton::Ok;
    }
    void SetCursor(int) override {}
    void InvalidateRect(const QRect&) override {}
    void Invalidate() override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    void ClipCursor(const QRect&) override {}
};

struct Link {
    int prior, next;
    float duration;
};

// Nodes 1..nodes, the start first and the end last.
struct Shape {
    int nodes = 0;
    std::vector<Link> links;
};

Shape Chain(int works)
{
    Shape shape{works + 1, {}};
    for (int i = 1; i <= works; ++i)
        shape.links.push_back({i, i + 1, float(1 + i % 3)});
    return shape;
}

// Layers of 50 nodes between a start and an end node; every node has a
// work from the layer before, the rest of the works join random nodes one
// or two layers apart.
Shape Layered(int works)
{
    std::mt19937 random(7);
    const int width = 50;
    const int layers = std::max(2, works / (2 * width));
    Shape shape;
    const auto id = [&](int layer, int i) { return 2 + layer * width + i; };
    shape.nodes = 2 + layers * width;
    for (int i = 0; i < width; ++i)
        shape.links.push_back({1, id(0, i), float(1 + random() % 5)});
    for (int layer = 1; layer < layers; ++layer)
        for (int i = 0; i < width; ++i)
            shape.links.push_back({id(layer - 1, int(random() % width)), id(layer, i), float(1 + random() % 5)});
    for (int i = 0; i < width; ++i)
        shape.links.push_back({id(layers - 1, i), shape.nodes, float(1 + random() % 5)});
    while (int(shape.links.size()) < works) {
        const int from = int(random() % (layers - 1));
        const int to = std::min(layers - 1, from + 1 + int(random() % 2));
        shape.links.push_back({id(from, int(random() % width)), id(to, int(random() % width)),
                               random() % 4 == 0 ? 0.0f : float(1 + random() % 5)});
    }
    return shape;
}

// Ten processes over as many sections as the size asks: each process works
// section after section, and a section passes from one process to the next
// through a dummy work.
Shape FlowGrid(int works)
{
    const int rows = 10;
    const int columns = std::max(2, works / (2 * rows));
    Shape shape{rows * columns, {}};
    const auto id = [&](int r, int c) { return r * columns + c + 1; };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            if (c + 1 < columns)
                shape.links.push_back({id(r, c), id(r, c + 1), float(1 + (r * 7 + c * 3) % 4)});
            if (r + 1 < rows)
                shape.links.push_back({id(r, c), id(r + 1, c), 0.0f});
        }
    return shape;
}

std::unique_ptr<TVYRNetworkAddNodeWork> BuildNetwork(platform::WindowServices& services, const Shape& shape)
{
    auto net = std::make_unique<TVYRNetworkAddNodeWork>(services);
    net->Works().BeginUpdate();
    net->Nodes().BeginUpdate();
    while (net->Nodes().Count() < shape.nodes)
        net->AddNode(101, 0.0f);
    net->Nodes().EndUpdate();
    for (const Link& link : shape.links) {
        TWorkItem& work = net->Works().Add();
        work.SetPriorNode(link.prior);
        work.SetNextNode(link.next);
        work.SetContinueTime(link.duration);
    }
    net->Works().EndUpdate();
    return net;
}

// The same graph as plain arrays in the control's node order, which is a
// topological order.
struct Floor {
    std::vector<int> inStart, inFrom, outStart, outTo;
    std::vector<float> inSpan, outSpan;
    std::vector<float> earliest, latest;

    explicit Floor(const TVYRNetworkAddNodeWork& net)
    {
        const int nodes = net.Nodes().Count();
        std::vector<std::vector<std::pair<int, float>>> in(static_cast<std::size_t>(nodes)),
            out(static_cast<std::size_t>(nodes));
        for (int i = 0; i < net.Works().Count(); ++i) {
            const TWorkItem& work = *net.Works().Items(i);
            const int a = net.Nodes().FindByNewID(work.PriorNode())->Index();
            const int b = net.Nodes().FindByNewID(work.NextNode())->Index();
            in[static_cast<std::size_t>(b)].push_back({a, work.ContinueTime()});
            out[static_cast<std::size_t>(a)].push_back({b, work.ContinueTime()});
        }
        const auto flatten = [](const auto& lists, std::vector<int>& start, std::vector<int>& other,
                                std::vector<float>& span) {
            start.push_back(0);
            for (const auto& list : lists) {
                for (const auto& [node, d] : list) {
                    other.push_back(node);
                    span.push_back(d);
                }
                start.push_back(int(other.size()));
            }
        };
        flatten(in, inStart, inFrom, inSpan);
        flatten(out, outStart, outTo, outSpan);
        earliest.resize(static_cast<std::size_t>(nodes));
        latest.resize(static_cast<std::size_t>(nodes));
    }

    void Pass()
    {
        const std::size_t nodes = earliest.size();
        for (std::size_t v = 0; v < nodes; ++v) {
            float r = 0.0f;
            for (int e = inStart[v]; e < inStart[v + 1]; ++e)
                r = std::max(r, earliest[static_cast<std::size_t>(inFrom[static_cast<std::size_t>(e)])]
                                    + inSpan[static_cast<std::size_t>(e)]);
            earliest[v] = r;
        }
        const float total = earliest[nodes - 1];
        for (std::size_t v = nodes; v-- > 0;) {
            float r = total;
            for (int e = outStart[v]; e < outStart[v + 1]; ++e)
                r = std::min(r, latest[static_cast<std::size_t>(outTo[static_cast<std::size_t>(e)])]
                                    - outSpan[static_cast<std::size_t>(e)]);
            latest[v] = r;
        }
    }
};

// Mean seconds per iteration by benchmark name.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0)
                seconds[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    static SilentServices services;
    const std::vector<std::pair<std::string, std::function<Shape(int)>>> shapes{
        {"chain", Chain}, {"layered", Layered}, {"flowgrid", FlowGrid}};
    const int sizes[] = {1000, 10000, 100000};

    for (const auto& [name, make] : shapes)
        for (const int size : sizes) {
            const std::string suffix = "/" + name + "/" + std::to_string(size);
            const Shape shape = make(size);
            benchmark::RegisterBenchmark(("recompute" + suffix).c_str(), [shape](benchmark::State& state) {
                auto net = BuildNetwork(services, shape);
                TWorkItem& work = *net->Works().Items(net->Works().Count() / 2);
                const float base = work.ContinueTime();
                bool longer = false;
                for (auto _ : state) {
                    longer = !longer;
                    work.SetContinueTime(longer ? base + 0.5f : base);
                    benchmark::DoNotOptimize(net->GetTotalTime());
                }
                state.counters["works"] = double(net->Works().Count());
            })->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("critical" + suffix).c_str(), [shape](benchmark::State& state) {
                auto net = BuildNetwork(services, shape);
                TWorkItem& work = *net->Works().Items(net->Works().Count() / 2);
                const TWorkItem& first = *net->Works().Items(0);
                const float base = work.ContinueTime();
                bool longer = false;
                for (auto _ : state) {
                    longer = !longer;
                    work.SetContinueTime(longer ? base + 0.5f : base);
                    benchmark::DoNotOptimize(net->IsKeyWork(first));
                }
            })->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("floor" + suffix).c_str(), [shape](benchmark::State& state) {
                auto net = BuildNetwork(services, shape);
                Floor floor(*net);
                for (auto _ : state) {
                    floor.Pass();
                    benchmark::DoNotOptimize(floor.latest.data());
                }
            })->Unit(benchmark::kMicrosecond);
        }

    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-9s %7s %14s %14s %14s %8s %8s %10s\n", "network", "works", "(a) recompute", "(a)+critical",
                "(b) floor", "a/b", "a+c/b", "a growth");
    for (const auto& [name, make] : shapes) {
        double previous = 0.0;
        for (const int size : sizes) {
            const std::string suffix = "/" + name + "/" + std::to_string(size);
            const double a = reporter.seconds["recompute" + suffix] * 1e6;
            const double c = reporter.seconds["critical" + suffix] * 1e6;
            const double b = reporter.seconds["floor" + suffix] * 1e6;
            if (a == 0.0 || b == 0.0)
                continue;
            char growth[16] = "";
            if (previous > 0.0)
                std::snprintf(growth, sizeof growth, "%.1fx", a / previous);
            std::printf("%-9s %7d %11.1f us %11.1f us %11.1f us %8.1f %8.1f %10s\n", name.c_str(), size, a, c, b,
                        a / b, c / b, growth);
            previous = a;
        }
    }
    benchmark::Shutdown();
    return 0;
}
