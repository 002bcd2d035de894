// Times one full recomputation of the schedule after an edit, against two
// passes over the same graph in a precomputed topological order: the floor
// of a bare forward and backward pass, and a textbook critical-path pass
// that also gives every work's times, floats and critical flag. The edits
// are a half-day change of one duration (which never moves a node), a
// change of a work leaving the first node and of a random work (which move
// nodes about half the time). Networks: chains, random layered networks,
// flow-process grids, chains and layered networks with one work that runs
// back in time or with overlaps on many works, and chains of dummies. Prints a summary table
// with the ratios after the benchmark output (means of the repetitions when
// they are asked for).
#include "network/network_add_node_work.h"
#include "tests/support/generated_networks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
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

using generated::BuildNetwork;
using generated::Placement;
using generated::Link;
using generated::Shape;
using generated::SilentServices;

Shape Chain(int works)
{
    Shape shape;
    shape.SetNodes(works + 1, 101);
    for (int i = 1; i <= works; ++i)
        shape.links.push_back({i, i + 1, float(1 + i % 3)});
    return shape;
}

// The generated networks with every node on one row.
Shape Layered(int works) { return generated::Layered(works, Placement::OneRow); }
Shape FlowGrid(int works) { return generated::FlowGrid(works, Placement::OneRow); }

// The middle work of a chain overlaps its predecessor by more than the time
// so far, so its end node falls back to time 0 and the nodes after it meet
// the earliest times of the nodes before.
Shape ChainBackward(int works)
{
    Shape shape = Chain(works);
    shape.links[shape.links.size() / 2].overlap = 3.0f * float(works);
    return shape;
}

// A chain of dummies with differing offsets: every node has time 0, so the
// whole chain is one group of equal time, which its links order.
Shape DummyChain(int works)
{
    Shape shape = Chain(works);
    for (Link& link : shape.links)
        link.duration = 0.0f;
    for (std::size_t i = 0; i < shape.offsets.size(); ++i)
        shape.offsets[i] = 0.5f * float(i % 3);
    return shape;
}

// A layered network with one work from the start whose overlap exceeds its
// duration: its end node's time falls to that of the start.
Shape LayeredBackward(int works)
{
    Shape shape = Layered(works);
    shape.links[0].overlap = shape.links[0].duration + 3.0f;
    return shape;
}

// A layered network where every third work overlaps its predecessor by up
// to its duration.
Shape LayeredOverlaps(int works)
{
    Shape shape = Layered(works);
    for (std::size_t i = 0; i < shape.links.size(); i += 3)
        shape.links[i].overlap = 0.5f * float(i % (2 * std::size_t(shape.links[i].duration) + 1));
    return shape;
}

// The same graph as plain arrays in the control's node order, which is a
// topological order.
struct Floor {
    std::vector<int> inStart, inFrom, outStart, outTo;
    std::vector<float> inSpan, outSpan;
    std::vector<float> earliest, latest;
    // Per work: its nodes, duration, overlap and interval, and what the
    // textbook pass computes for it.
    std::vector<int> workFrom, workTo;
    std::vector<float> duration, overlap, interval;
    std::vector<float> es, ef, ls, lf, freeFloat, totalFloat;
    std::vector<char> critical;

    explicit Floor(const TVYRNetworkAddNodeWork& net)
    {
        const int nodes = net.Nodes().Count();
        std::vector<std::vector<std::pair<int, float>>> in(static_cast<std::size_t>(nodes)),
            out(static_cast<std::size_t>(nodes));
        for (int i = 0; i < net.Works().Count(); ++i) {
            const TWorkItem& work = *net.Works().Items(i);
            const int a = net.Nodes().FindByNewID(work.PriorNode())->Index();
            const int b = net.Nodes().FindByNewID(work.NextNode())->Index();
            const float span = work.ContinueTime() - work.ParallelTime() + work.Diapause();
            in[static_cast<std::size_t>(b)].push_back({a, span});
            out[static_cast<std::size_t>(a)].push_back({b, span});
            workFrom.push_back(a);
            workTo.push_back(b);
            duration.push_back(work.ContinueTime());
            overlap.push_back(work.ParallelTime());
            interval.push_back(work.Diapause());
        }
        const std::size_t works = workFrom.size();
        for (auto* values : {&es, &ef, &ls, &lf, &freeFloat, &totalFloat})
            values->resize(works);
        critical.resize(works);
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

    // The bare pass, then every work's six times, both floats and whether
    // it is critical.
    void Textbook()
    {
        Pass();
        for (std::size_t w = 0; w < workFrom.size(); ++w) {
            const auto a = static_cast<std::size_t>(workFrom[w]);
            const auto b = static_cast<std::size_t>(workTo[w]);
            es[w] = earliest[a] - overlap[w] + interval[w];
            ef[w] = es[w] + duration[w];
            lf[w] = latest[b];
            ls[w] = lf[w] - duration[w];
            freeFloat[w] = earliest[b] - earliest[a] - duration[w];
            totalFloat[w] = latest[b] - latest[a] - duration[w] - interval[w];
            critical[w] = totalFloat[w] == 0.0f;
        }
    }
};

// Mean seconds per iteration by benchmark name (without the repetition and
// aggregate suffixes): the mean aggregate when repetitions are aggregated,
// else the mean over every run of that name.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::string name = run.run_name.str();
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "mean")
                    means[name] = run.real_accumulated_time;
            } else if (run.iterations > 0) {
                Sum& sum = sums[name];
                sum.seconds += run.real_accumulated_time / double(run.iterations);
                ++sum.runs;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double Seconds(const std::string& name) const
    {
        if (const auto mean = means.find(name); mean != means.end())
            return mean->second;
        const auto sum = sums.find(name);
        return sum == sums.end() ? 0.0 : sum->second.seconds / double(sum->second.runs);
    }

private:
    struct Sum {
        double seconds = 0.0;
        int runs = 0;
    };
    std::map<std::string, double> means;
    std::map<std::string, Sum> sums;
};

// Registers one benchmark that applies edit to a network of the shape and
// then asks for the total duration, or with critical for the critical flag
// of the first work. An edit may keep the work it changes in target.
template <typename Edit>
void RegisterEdit(const std::string& name, const Shape& shape, bool critical, Edit edit)
{
    benchmark::RegisterBenchmark(name.c_str(), [shape, critical, edit](benchmark::State& state) {
        static SilentServices services;
        auto net = BuildNetwork<TVYRNetworkAddNodeWork>(services, shape);
        std::mt19937 random(11);
        TWorkItem* target = nullptr;
        for (auto _ : state) {
            edit(*net, random, target);
            if (critical)
                benchmark::DoNotOptimize(net->IsKeyWork(*net->Works().Items(0)));
            else
                benchmark::DoNotOptimize(net->GetTotalTime());
        }
        state.counters["works"] = double(net->Works().Count());
    })->Unit(benchmark::kMicrosecond);
}

// A half-day change of the middle work, undone by the next iteration.
void HalfDay(TVYRNetworkAddNodeWork& net, std::mt19937&, TWorkItem*& work)
{
    if (!work)
        work = net.Works().Items(net.Works().Count() / 2);
    const float duration = work->ContinueTime();
    work->SetContinueTime(duration == std::floor(duration) ? duration + 0.5f : duration - 0.5f);
}

// The first work leaving the first node gets three days longer, and back.
void FirstNodeWork(TVYRNetworkAddNodeWork& net, std::mt19937&, TWorkItem*& work)
{
    if (!work)
        work = net.GetWorkFrom(net.Nodes().Items(0)->NewID(), 1);
    const float duration = work->ContinueTime();
    work->SetContinueTime(duration >= 3.0f && std::fmod(duration, 1.0f) == 0.5f ? duration - 3.5f : duration + 3.5f);
}

// A random work gets a random duration of 0 to 5 days.
void RandomWork(TVYRNetworkAddNodeWork& net, std::mt19937& random, TWorkItem*&)
{
    TWorkItem& work = *net.Works().Items(int(random() % unsigned(net.Works().Count())));
    work.SetContinueTime(0.5f * float(random() % 11));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    struct Network {
        std::string name;
        std::function<Shape(int)> make;
        std::vector<int> sizes;
    };
    const std::vector<Network> networks{
        {"chain", Chain, {1000, 10000, 100000}},
        {"layered", Layered, {1000, 10000, 100000}},
        {"flowgrid", FlowGrid, {1000, 10000, 100000}},
        {"chain-back", ChainBackward, {10000, 100000}},
        {"layer-back", LayeredBackward, {10000, 100000}},
        {"overlaps", LayeredOverlaps, {10000, 100000}},
        {"dummies", DummyChain, {1000, 4000}},
    };

    for (const Network& network : networks)
        for (const int size : network.sizes) {
            const std::string suffix = "/" + network.name + "/" + std::to_string(size);
            const Shape shape = network.make(size);
            RegisterEdit("recompute" + suffix, shape, false, HalfDay);
            RegisterEdit("critical" + suffix, shape, true, HalfDay);
            RegisterEdit("first-node" + suffix, shape, true, FirstNodeWork);
            RegisterEdit("random-work" + suffix, shape, true, RandomWork);
            benchmark::RegisterBenchmark(("floor" + suffix).c_str(), [shape](benchmark::State& state) {
                SilentServices services;
                auto net = BuildNetwork<TVYRNetworkAddNodeWork>(services, shape);
                Floor floor(*net);
                for (auto _ : state) {
                    floor.Pass();
                    benchmark::DoNotOptimize(floor.latest.data());
                }
            })->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("textbook" + suffix).c_str(), [shape](benchmark::State& state) {
                SilentServices services;
                auto net = BuildNetwork<TVYRNetworkAddNodeWork>(services, shape);
                Floor floor(*net);
                for (auto _ : state) {
                    floor.Textbook();
                    benchmark::DoNotOptimize(floor.critical.data());
                }
            })->Unit(benchmark::kMicrosecond);
        }

    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // Times in microseconds; ratios to the textbook pass (t), and the bare
    // half-day recomputation to the floor (f).
    std::printf("\n%-10s %6s %9s %9s %9s %9s %9s %9s %6s %6s %6s %6s %6s\n", "network", "works", "recompute",
                "+critical", "1st-node", "random", "floor", "textbook", "rec/f", "rec/t", "crit/t", "1st/t", "rand/t");
    for (const Network& network : networks)
        for (const int size : network.sizes) {
            const std::string suffix = "/" + network.name + "/" + std::to_string(size);
            const auto micro = [&](const char* what) { return reporter.Seconds(what + suffix) * 1e6; };
            const double rec = micro("recompute"), crit = micro("critical"), first = micro("first-node"),
                         rand = micro("random-work"), floor = micro("floor"), text = micro("textbook");
            if (floor == 0.0 || text == 0.0)
                continue;
            std::printf("%-10s %6d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %6.1f %6.2f %6.2f %6.2f %6.2f\n",
                        network.name.c_str(), size, rec, crit, first, rand, floor, text, rec / floor, rec / text,
                        crit / text, first / text, rand / text);
        }
    benchmark::Shutdown();
    return 0;
}
