// Networks made by program for the benchmarks and fuzz targets, which run
// them on window services that do nothing (SilentServices).
//
// A shape is a network as plain numbers: nodes 1..n with their rows and
// offsets, and the works between them. The generators are deterministic:
// the same size gives the same network every time.
#pragma once

#include "tests/support/silent_services.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <random>
#include <vector>

namespace generated {

using support::SilentServices;

struct Link {
    int prior, next;
    float duration;
    float overlap = 0.0f;
};

// Node i + 1 lies on rows[i] with offsets[i].
struct Shape {
    std::vector<int> rows;
    std::vector<float> offsets;
    std::vector<Link> links;

    int Nodes() const { return int(rows.size()); }
    void SetNodes(int nodes, int row)
    {
        rows.assign(std::size_t(nodes), row);
        offsets.assign(std::size_t(nodes), 0.0f);
    }
};

// Where the nodes lie: all on row 101; on rows of their own; on their rows
// with one node in 20 shifted by up to two days.
enum class Placement { OneRow, Rows, RowsAndOffsets };

// Layers of 50 nodes between a start and an end node; every node has a
// work from the layer before, the rest of the works join random nodes one
// or two layers apart. On rows, layer nodes lie on rows 101..150 and the
// start and end nodes on row 125.
inline Shape Layered(int works, Placement placement)
{
    std::mt19937 random(7);
    const int width = 50;
    const int layers = std::max(2, works / (2 * width));
    Shape shape;
    const auto id = [&](int layer, int i) { return 2 + layer * width + i; };
    const int nodes = 2 + layers * width;
    shape.SetNodes(nodes, placement == Placement::OneRow ? 101 : 125);
    if (placement != Placement::OneRow)
        for (int layer = 0; layer < layers; ++layer)
            for (int i = 0; i < width; ++i) {
                shape.rows[std::size_t(id(layer, i) - 1)] = 101 + i;
                if (placement == Placement::RowsAndOffsets && random() % 20 == 0)
                    shape.offsets[std::size_t(id(layer, i) - 1)] = float(int(random() % 5) - 2);
            }
    for (int i = 0; i < width; ++i)
        shape.links.push_back({1, id(0, i), float(1 + random() % 5)});
    for (int layer = 1; layer < layers; ++layer)
        for (int i = 0; i < width; ++i)
            shape.links.push_back({id(layer - 1, int(random() % width)), id(layer, i), float(1 + random() % 5)});
    for (int i = 0; i < width; ++i)
        shape.links.push_back({id(layers - 1, i), nodes, float(1 + random() % 5)});
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
// through a dummy work. On rows, each process has its own pair of rows.
inline Shape FlowGrid(int works, Placement placement)
{
    const int processes = 10;
    const int sections = std::max(2, works / (2 * processes));
    Shape shape;
    const auto id = [&](int r, int c) { return r * sections + c + 1; };
    shape.SetNodes(processes * sections, 101);
    for (int r = 0; r < processes; ++r)
        for (int c = 0; c < sections; ++c) {
            if (placement != Placement::OneRow)
                shape.rows[std::size_t(id(r, c) - 1)] = 101 + 2 * r;
            if (c + 1 < sections)
                shape.links.push_back({id(r, c), id(r, c + 1), float(1 + (r * 7 + c * 3) % 4)});
            if (r + 1 < processes)
                shape.links.push_back({id(r, c), id(r + 1, c), 0.0f});
        }
    return shape;
}

// A chain of works of 0.5 to 2 days whose work at fallAt overlaps its
// predecessor by more than the time so far: the nodes after it fall back and
// meet the times of the nodes before, which reach them through that work. A
// work of a day from the first node to the end of that work makes the rest
// of the chain critical.
inline Shape ChainFallingBack(int works, int fallAt)
{
    Shape shape;
    shape.SetNodes(works + 1, 101);
    for (int i = 1; i <= works; ++i)
        shape.links.push_back({i, i + 1, 0.5f * float(1 + i % 4)});
    shape.links[std::size_t(fallAt)].overlap = 3.0f * float(works);
    shape.links.push_back({1, fallAt + 2, 1.0f});
    return shape;
}

// Adds works that close cycles, each from a node some works after a random
// node back to it, and gives one node in five an Offset of -1 to 1 day.
inline void AddCyclesAndOffsets(Shape& shape, int cycles, unsigned seed)
{
    std::mt19937 random(seed);
    const auto pick = [&](int below) { return int(random() % unsigned(below)); };
    std::vector<std::vector<int>> leaving(std::size_t(shape.Nodes()) + 1);
    for (const Link& link : shape.links)
        leaving[std::size_t(link.prior)].push_back(link.next);
    for (int c = 0; c < cycles; ++c) {
        const int to = 2 + pick(shape.Nodes() - 1);
        int from = to;
        for (int step = 1 + pick(20); step > 0 && !leaving[std::size_t(from)].empty(); --step) {
            const std::vector<int>& next = leaving[std::size_t(from)];
            from = next[std::size_t(pick(int(next.size())))];
        }
        if (from != to)
            shape.links.push_back({from, to, 0.5f * float(pick(3))});
    }
    for (float& offset : shape.offsets)
        if (pick(5) == 0)
            offset = 0.5f * float(pick(5) - 2);
}

struct NamedShape {
    const char* name;
    Shape shape;
};

// Chains and layered networks with a work falling back in time, with cycles
// and with both, some with offsets.
inline std::vector<NamedShape> FallingAndCyclicNetworks()
{
    const auto withCycles = [](Shape shape, int cycles, unsigned seed) {
        AddCyclesAndOffsets(shape, cycles, seed);
        return shape;
    };
    // A node after the middle layer with one work into it that falls to
    // time 0, and a work from it to the end.
    Shape layeredBack = Layered(600, Placement::RowsAndOffsets);
    const int fallEnd = layeredBack.Nodes() + 1;
    layeredBack.rows.push_back(101);
    layeredBack.offsets.push_back(0.0f);
    layeredBack.links.push_back({fallEnd / 2, fallEnd, 1.0f, 1000.0f});
    layeredBack.links.push_back({fallEnd, fallEnd - 1, 0.5f});
    return {
        {"chain falling back", ChainFallingBack(300, 150)},
        {"chain falling back early, with offsets", withCycles(ChainFallingBack(300, 40), 0, 1)},
        {"chain falling back, with cycles", withCycles(ChainFallingBack(300, 200), 4, 2)},
        {"chain with cycles only", withCycles(ChainFallingBack(300, 0), 6, 3)},
        {"layered falling back", layeredBack},
        {"layered with cycles", withCycles(Layered(600, Placement::OneRow), 5, 4)},
    };
}

// The shape as a network of any layer (nodes and works, drawing or top).
template <class Network>
std::unique_ptr<Network> BuildNetwork(platform::WindowServices& services, const Shape& shape)
{
    auto net = std::make_unique<Network>(services);
    net->Works().BeginUpdate();
    net->Nodes().BeginUpdate();
    while (net->Nodes().Count() < shape.Nodes())
        net->AddNode(101, 0.0f);
    for (int i = 0; i < net->Nodes().Count(); ++i) {
        net->Nodes().Items(i)->SetNodeY(shape.rows[std::size_t(i)]);
        net->Nodes().Items(i)->SetOffset(shape.offsets[std::size_t(i)]);
    }
    net->Nodes().EndUpdate();
    for (const Link& link : shape.links) {
        auto& work = net->Works().Add();
        work.SetPriorNode(link.prior);
        work.SetNextNode(link.next);
        work.SetContinueTime(link.duration);
        work.SetParallelTime(link.overlap);
    }
    net->Works().EndUpdate();
    return net;
}

} // namespace generated
