// Times the network drawing: a full draw of the whole diagram into a
// bitmap, and a repaint of one screen-sized view (1280 x 800) in the middle
// of it, on layered and flow-grid networks of 1,000 and 10,000 works with
// nodes on rows and some node offsets. Prints the figures against the goals
// after the benchmark output: a view repaint of 10,000 works under 16 ms,
// and the full draw growing at most 12 times from 1,000 to 10,000 works.
#include "bench/view_paint.h"
#include "network/drawing/network_add_draw.h"
#include "platform/painter_canvas.h"
#include "platform/recording_canvas.h"
#include "tests/support/generated_networks.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using network::TVYRNetworkAddDraw;
using network::TWorkItem;

namespace {

using generated::Placement;
using generated::Shape;
using generated::SilentServices;

// One node in 20 of the layered network has an offset.
Shape Layered(int works) { return generated::Layered(works, Placement::RowsAndOffsets); }
Shape FlowGrid(int works) { return generated::FlowGrid(works, Placement::Rows); }

std::unique_ptr<TVYRNetworkAddDraw> BuildNetwork(platform::WindowServices& services, const Shape& shape)
{
    auto net = generated::BuildNetwork<TVYRNetworkAddDraw>(services, shape);
    net->BuildOffsetColumns();
    return net;
}

// The size of the whole diagram.
QSize DiagramSize(TVYRNetworkAddDraw& net)
{
    int right = 0;
    int bottom = 0;
    for (int i = 0; i < net.Nodes().Count(); ++i) {
        const QPoint p = net.GetNodePosition(net.Nodes().Items(i));
        right = std::max(right, p.x());
        bottom = std::max(bottom, p.y());
    }
    const QPoint origin = net.GetOrigin();
    return QSize(origin.x() + right + 200, origin.y() + bottom + 100);
}

// Mean CPU seconds per iteration by benchmark name: the drawing runs on one
// thread, and CPU time stays steady on a machine that others share.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.iterations > 0)
                seconds[run.benchmark_name()] = run.cpu_accumulated_time / double(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    static SilentServices services;
    const std::vector<std::pair<std::string, std::function<Shape(int)>>> shapes{{"layered", Layered},
                                                                                {"flowgrid", FlowGrid}};
    const int sizes[] = {1000, 10000};

    for (const auto& [name, make] : shapes)
        for (const int size : sizes) {
            const std::string suffix = "/" + name + "/" + std::to_string(size);
            const Shape shape = make(size);
            benchmark::RegisterBenchmark(("full" + suffix).c_str(), [shape](benchmark::State& state) {
                auto net = BuildNetwork(services, shape);
                // The bitmap is cleared once: each round draws the same
                // picture over it, so the time is the drawing alone.
                QImage image(DiagramSize(*net), QImage::Format_RGB32);
                image.fill(Qt::white);
                const auto draw = [&] {
                    platform::PainterCanvas canvas(image);
                    canvas.Brush.Color = platform::clWhite;
                    const QPoint origin = net->GetOrigin();
                    net->DrawWorks(canvas, origin);
                    net->DrawNodes(canvas, origin);
                };
                // Two untimed rounds first: a text is kept as an image from
                // its second drawing on, so each timed round draws as every
                // later draw does, whether the run has one round or many.
                draw();
                draw();
                for (auto _ : state)
                    draw();
                state.counters["works"] = double(net->Works().Count());
                state.counters["pixels"] = double(image.width()) * image.height();
            })->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("empty" + suffix).c_str(), [shape](benchmark::State& state) {
                // A view below the diagram: what the works that do not show
                // cost a repaint.
                auto net = BuildNetwork(services, shape);
                QImage buffer(1280, 800, QImage::Format_RGB32);
                const QPoint scroll(0, DiagramSize(*net).height() + 400);
                for (auto _ : state) {
                    platform::PainterCanvas target(buffer);
                    bench::PaintView(*net, target, scroll);
                }
            })->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("view" + suffix).c_str(), [shape](benchmark::State& state) {
                auto net = BuildNetwork(services, shape);
                const QSize diagram = DiagramSize(*net);
                QImage buffer(1280, 800, QImage::Format_RGB32);
                const QPoint scroll(std::max(0, diagram.width() / 2 - 640), std::max(0, diagram.height() / 2 - 400));
                {
                    // How much the view holds: the calls of one repaint.
                    platform::RecordingCanvas record(QSize(1280, 800));
                    bench::PaintView(*net, record, scroll);
                    state.counters["arrows"] = double(record.Log(platform::CanvasOp::Polygon).size());
                    state.counters["texts"] = double(record.Log(platform::CanvasOp::DrawText).size());
                }
                for (auto _ : state) {
                    buffer.fill(Qt::black);
                    platform::PainterCanvas target(buffer);
                    bench::PaintView(*net, target, scroll);
                }
            })->Unit(benchmark::kMillisecond);
        }

    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-9s %7s %12s %12s %12s %12s %14s\n", "network", "works", "full draw", "full growth", "view",
                "empty view", "goal");
    for (const auto& [name, make] : shapes) {
        double previous = 0.0;
        for (const int size : sizes) {
            const std::string suffix = "/" + name + "/" + std::to_string(size);
            const double full = reporter.seconds["full" + suffix] * 1e3;
            const double view = reporter.seconds["view" + suffix] * 1e3;
            const double empty = reporter.seconds["empty" + suffix] * 1e3;
            if (full == 0.0)
                continue;
            char growth[16] = "";
            if (previous > 0.0)
                std::snprintf(growth, sizeof growth, "%.1fx", full / previous);
            const char* goal = "";
            if (size == 10000)
                goal = view < 16.0 && (previous == 0.0 || full / previous <= 12.0) ? "met" : "MISSED";
            std::printf("%-9s %7d %9.2f ms %12s %9.2f ms %9.2f ms %14s\n", name.c_str(), size, full, growth, view, empty,
                        goal);
            previous = full;
        }
    }
    std::printf("CPU time per draw; view: 1280 x 800 in the middle of the diagram, empty view: below it\n");
    std::printf("goals: view repaint of 10,000 works under 16 ms; full draw at most 12x from 1,000 to 10,000\n");
    benchmark::Shutdown();
    return 0;
}
