// Times the plan view and the plan control on plans of 1,000 and 10,000
// polylines (5 to 20 vertices, one in ten labelled) spread over an A1 sheet
// at 1 : 100, seen in a 1600 x 900 view: a full paint of the view, the same
// with every shape selected, select all (in the window and in the control
// alone), a click on empty paper with everything selected, and the plan
// file's save and open. Each case names its goal at 10,000 shapes.
#include "siteplan/host/plane_map_view.h"
#include "siteplan/plane_map.h"
#include "siteplan/shapes/vyr_line.h"

#include "platform/window_services.h"

#include <QApplication>
#include <QBuffer>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

using siteplan::TPlaneMap;
using siteplan::TPlaneMapView;
using siteplan::TVYRLine;

namespace {

class SilentServices : public platform::WindowServices {
public:
    platform::MessageButton MessageBox(const QString&, platform::MessageIcon, platform::MessageButtons,
                                       const QString&) override
    {
        return platform::MessageButton::Yes;
    }
    void SetCursor(int) override {}
    void InvalidateRect(const QRect&) override {}
    void Invalidate() override {}
    void CaptureMouse() override {}
    void ReleaseMouse() override {}
    void ClipCursor(const QRect&) override {}
};

// The top-left corner of the sheet is kept free for clicks on empty paper.
constexpr int FreeCorner = 120;

void SetUpSheet(TPlaneMap& map)
{
    map.SetPlanmapSize(1);
    map.SetMapScale(100);
}

void FillPlan(TPlaneMap& map, int count)
{
    std::mt19937 random(20240611);
    const double k = map.ScaleFactor();
    const int widthUnits = static_cast<int>(map.Width() / k);
    const int heightUnits = static_cast<int>(map.Height() / k);
    const int freeUnits = static_cast<int>(FreeCorner / k);
    std::uniform_int_distribution<int> xs(0, widthUnits - 1);
    std::uniform_int_distribution<int> ys(0, heightUnits - 1);
    std::uniform_int_distribution<int> vertices(5, 20);
    std::uniform_int_distribution<int> step(-15000, 15000);
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<siteplan::TVyrMapCom> shape = map.CreateMapCom(TVYRLine::Kind);
        auto* line = static_cast<TVYRLine*>(shape.get());
        QPoint p(xs(random), ys(random));
        if (p.x() < freeUnits * 2 && p.y() < freeUnits * 2)
            p += QPoint(freeUnits * 2, freeUnits * 2);
        const int n = vertices(random);
        for (int v = 0; v < n; ++v) {
            line->Points[static_cast<std::size_t>(v)] = QPoint(p.x() / 100 * 100, p.y() / 100 * 100);
            p += QPoint(step(random), step(random));
            p.setX(std::clamp(p.x(), freeUnits * 2, widthUnits));
            p.setY(std::clamp(p.y(), freeUnits * 2, heightUnits));
        }
        line->SetPointCount(n);
        if (i % 10 == 0)
            line->SetShowWord(QStringLiteral("围墙"));
        map.AddMapCom(std::move(shape));
    }
    map.Modified = false;
}

struct Window {
    TPlaneMapView view;
    explicit Window(int count)
    {
        view.resize(1600 + view.verticalScrollBar()->sizeHint().width() + 2,
                     900 + view.horizontalScrollBar()->sizeHint().height() + 2);
        SetUpSheet(view.PlaneMap());
        FillPlan(view.PlaneMap(), count);
        view.show();
        QCoreApplication::processEvents();
        view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 2);
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
        view.viewport()->repaint();
    }
    void FullPaint()
    {
        view.PlaneMap().RefreshAll();
        view.viewport()->repaint();
    }
};

void Goal(benchmark::State& state, const char* goal)
{
    state.SetLabel(goal);
}

void BM_PaintView(benchmark::State& state)
{
    Window window(static_cast<int>(state.range(0)));
    for (auto _ : state)
        window.FullPaint();
    Goal(state, "goal at 10,000: 16 ms");
}

void BM_PaintViewAllSelected(benchmark::State& state)
{
    Window window(static_cast<int>(state.range(0)));
    window.view.PlaneMap().SelectAll();
    for (auto _ : state)
        window.FullPaint();
    Goal(state, "goal at 10,000: 32 ms");
}

void BM_SelectAllInWindow(benchmark::State& state)
{
    Window window(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        window.view.PlaneMap().ClearSelection();
        window.view.viewport()->repaint();
        state.ResumeTiming();
        window.view.PlaneMap().SelectAll();
        window.view.viewport()->repaint();
    }
    Goal(state, "goal at 10,000: 100 ms");
}

void BM_SelectAllEngine(benchmark::State& state)
{
    SilentServices services;
    TPlaneMap map(services);
    SetUpSheet(map);
    FillPlan(map, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        map.ClearSelection();
        state.ResumeTiming();
        map.SelectAll();
    }
    Goal(state, "goal at 10,000: 100 ms");
}

void BM_ClickEmptyPaperAllSelected(benchmark::State& state)
{
    SilentServices services;
    TPlaneMap map(services);
    SetUpSheet(map);
    FillPlan(map, static_cast<int>(state.range(0)));
    const QPoint empty(FreeCorner / 2, FreeCorner / 2);
    for (auto _ : state) {
        state.PauseTiming();
        map.SelectAll();
        state.ResumeTiming();
        map.MouseDown(siteplan::TMouseButton::mbLeft, siteplan::ssLeft, empty);
        map.MouseUp(siteplan::TMouseButton::mbLeft, 0, empty);
    }
    Goal(state, "goal at 10,000: 5 ms");
}

void BM_SavePlan(benchmark::State& state)
{
    SilentServices services;
    TPlaneMap map(services);
    SetUpSheet(map);
    FillPlan(map, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        map.SavePlan(buffer);
        benchmark::DoNotOptimize(buffer.data().size());
    }
    Goal(state, "goal at 10,000: 100 ms");
}

void BM_OpenPlan(benchmark::State& state)
{
    SilentServices services;
    QByteArray bytes;
    {
        TPlaneMap map(services);
        SetUpSheet(map);
        FillPlan(map, static_cast<int>(state.range(0)));
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        map.SavePlan(buffer);
    }
    for (auto _ : state) {
        TPlaneMap map(services);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        if (!map.LoadPlan(buffer))
            state.SkipWithError("the plan did not load");
    }
    Goal(state, "goal at 10,000: 100 ms");
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_PaintView)->Apply(Sizes);
BENCHMARK(BM_PaintViewAllSelected)->Apply(Sizes);
BENCHMARK(BM_SelectAllInWindow)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_SelectAllEngine)->Apply(Sizes)->Iterations(3);
BENCHMARK(BM_ClickEmptyPaperAllSelected)->Apply(Sizes)->Iterations(5);
BENCHMARK(BM_SavePlan)->Apply(Sizes);
BENCHMARK(BM_OpenPlan)->Apply(Sizes);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
