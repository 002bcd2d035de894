// Times the plan view and the plan control on plans of 1,000 and 10,000
// polylines (5 to 20 vertices, one in ten labelled) spread over an A1 sheet
// at 1 : 100, seen in a 1600 x 900 view: a full paint of the view, the same
// with every shape selected, select all (in the window and in the control
// alone), a click on empty paper with everything selected, and the plan
// file's save and open. Each case names its goal at 10,000 shapes.
//
// The shape-kind cases fill a 1920 x 1080 view with 10,000 shapes of one
// kind (or of every kind in turn), all of them visible, and time a full
// paint of the view, the plan file's save and open, and an open followed by
// the first paint, which draws every picture for the first time.
#include "siteplan/host/plane_map_view.h"
#include "siteplan/plane_map.h"
#include "siteplan/shapes/vyr_arc.h"
#include "siteplan/shapes/vyr_b_splines.h"
#include "siteplan/shapes/vyr_curve.h"
#include "siteplan/shapes/vyr_ellipse.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/shapes/vyr_muliangle.h"
#include "siteplan/shapes/vyr_picture.h"
#include "siteplan/shapes/vyr_rectangle.h"
#include "siteplan/shapes/vyr_round_rect_range.h"
#include "siteplan/shapes/vyr_ta_diao.h"
#include "siteplan/shapes/vyr_text.h"
#include "siteplan/shapes/vyr_wei_qiang.h"

#include "tests/support/silent_services.h"

#include <QApplication>
#include <QBuffer>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <array>
#include <memory>
#include <random>
#include <string>

using siteplan::TPlaneMap;
using siteplan::TPlaneMapView;
using siteplan::TVYRLine;

namespace {

// The top-left corner of the sheet is kept free for clicks on empty paper.
constexpr int FreeCorner = 120;

void SetUpSheet(TPlaneMap& map)
{
    map.SetPlanmapSize(1);
    map.SetMapScale(100);
}

// A plan control without a window on the benchmarks' sheet; prompts answer
// Yes.
struct EnginePlan {
    support::SilentServices services{platform::MessageButton::Yes};
    TPlaneMap map{services};
    EnginePlan() { SetUpSheet(map); }
};

// Saves into bytes, which keep their memory between saves.
void SaveInto(TPlaneMap& map, QByteArray& bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    map.SavePlan(buffer);
}

void LoadFrom(benchmark::State& state, TPlaneMap& map, const QByteArray& bytes)
{
    QBuffer buffer(const_cast<QByteArray*>(&bytes));
    buffer.open(QIODevice::ReadOnly);
    if (!map.LoadPlan(buffer))
        state.SkipWithError("the plan did not load");
}

// A plan view whose viewport has the given size, on the benchmarks' sheet.
struct PlanWindow {
    TPlaneMapView view;
    explicit PlanWindow(QSize viewport)
    {
        view.resize(viewport.width() + view.verticalScrollBar()->sizeHint().width() + 2,
                    viewport.height() + view.horizontalScrollBar()->sizeHint().height() + 2);
        SetUpSheet(view.PlaneMap());
    }
    void Show()
    {
        view.show();
        QCoreApplication::processEvents();
    }
    void ScrollTo(int x, int y)
    {
        view.horizontalScrollBar()->setValue(x);
        view.verticalScrollBar()->setValue(y);
    }
    void FullPaint()
    {
        view.PlaneMap().RefreshAll();
        view.viewport()->repaint();
    }
};

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

// The polylines seen in a 1600 x 900 view in the middle of the sheet.
struct Window : PlanWindow {
    explicit Window(int count) : PlanWindow(QSize(1600, 900))
    {
        FillPlan(view.PlaneMap(), count);
        Show();
        ScrollTo(view.horizontalScrollBar()->maximum() / 2, view.verticalScrollBar()->maximum() / 2);
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
    EnginePlan plan;
    TPlaneMap& map = plan.map;
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
    EnginePlan plan;
    TPlaneMap& map = plan.map;
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
    EnginePlan plan;
    FillPlan(plan.map, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QByteArray bytes;
        SaveInto(plan.map, bytes);
        benchmark::DoNotOptimize(bytes.size());
    }
    Goal(state, "goal at 10,000: 100 ms");
}

void BM_OpenPlan(benchmark::State& state)
{
    EnginePlan plan;
    FillPlan(plan.map, static_cast<int>(state.range(0)));
    QByteArray bytes;
    SaveInto(plan.map, bytes);
    for (auto _ : state) {
        TPlaneMap map(plan.services);
        LoadFrom(state, map, bytes);
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

// ---- Every shape kind, all visible ----

enum class KindCase {
    Rectangle,
    Ellipse,
    RoundRect,
    Arc,
    FramedPicture,
    LegendSymbol,
    Text,
    TowerCrane,
    Curve,
    Polygon,
    EnclosureWall,
    Spline,
    EveryKind,
};

struct KindCaseName {
    KindCase Case;
    const char* Name;
};

constexpr KindCaseName KindCases[] = {
    {KindCase::Rectangle, "Rectangle"},     {KindCase::Ellipse, "Ellipse"},
    {KindCase::RoundRect, "RoundRect"},     {KindCase::Arc, "Arc"},
    {KindCase::FramedPicture, "FramedPicture"}, {KindCase::LegendSymbol, "LegendSymbol"},
    {KindCase::Text, "Text"},               {KindCase::TowerCrane, "TowerCrane"},
    {KindCase::Curve, "Curve"},             {KindCase::Polygon, "Polygon"},
    {KindCase::EnclosureWall, "EnclosureWall"}, {KindCase::Spline, "Spline"},
    {KindCase::EveryKind, "EveryKind"},
};

constexpr int KindShapeCount = 10000;
constexpr QSize KindViewSize(1920, 1080);

// Picture bytes as a file holds them: a small photograph-like JPEG for the
// framed pictures, a 32 x 32 bitmap symbol for the legends.
QByteArray EncodedImage(QSize size, const char* format, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    std::mt19937 random(static_cast<unsigned>(seed));
    std::uniform_int_distribution<int> shade(0, 255);
    image.fill(QColor(shade(random), shade(random), shade(random)));
    {
        QPainter painter(&image);
        for (int i = 0; i < 6; ++i) {
            painter.setBrush(QColor(shade(random), shade(random), shade(random)));
            painter.drawEllipse(QPoint(shade(random) % size.width(), shade(random) % size.height()),
                                size.width() / 4, size.height() / 4);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

platform::TPicture KindPicture(bool legend, int seed)
{
    platform::TPicture picture;
    if (legend)
        picture.SetGraphic(platform::TGraphicKind::Bitmap, EncodedImage(QSize(32, 32), "BMP", seed));
    else
        picture.SetGraphic(platform::TGraphicKind::Jpeg, EncodedImage(QSize(64, 48), "JPEG", seed));
    return picture;
}

class KindFiller {
public:
    explicit KindFiller(TPlaneMap& map) : map_(map), random_(20240612)
    {
        map_.DefaultBrush.SetStyle(platform::TBrushStyle::bsSolid);
        map_.DefaultBrush.SetColor(0x00C0E0FF);
        for (int i = 0; i < 16; ++i) {
            pictures_[static_cast<std::size_t>(i)] = KindPicture(false, i);
            legends_[static_cast<std::size_t>(i)] = KindPicture(true, 100 + i);
        }
    }

    void Fill(KindCase kindCase, int count)
    {
        constexpr int Kinds = static_cast<int>(KindCase::EveryKind);
        for (int i = 0; i < count; ++i) {
            const KindCase one = kindCase == KindCase::EveryKind ? static_cast<KindCase>(i % Kinds) : kindCase;
            map_.AddMapCom(Create(one, i));
        }
        map_.Modified = false;
    }

private:
    QPoint World(QPoint screen) const { return map_.ScreenToWorld(screen); }
    // A length of the plan: the corner size of a rounded rectangle.
    QPoint WorldLength(QPoint screen) const { return World(screen) - World(QPoint(0, 0)); }

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // A box of 16 to 96 pixels inside the view.
    QRect ScreenBox()
    {
        const QSize size(Between(16, 96), Between(16, 96));
        return QRect(QPoint(Between(0, KindViewSize.width() - size.width() - 1),
                            Between(0, KindViewSize.height() - size.height() - 1)),
                     size);
    }

    template <typename Shape>
    Shape* SetBox(siteplan::TVyrMapCom* shape, const QRect& box)
    {
        auto* boxShape = static_cast<Shape*>(shape);
        boxShape->Corner1 = World(box.topLeft());
        boxShape->Corner2 = World(box.bottomRight());
        return boxShape;
    }

    // 5 to 20 vertices (4 for a curve) a few tens of pixels apart.
    void SetPoints(siteplan::TPointListMapCom& shape, int count)
    {
        QPoint p(Between(40, KindViewSize.width() - 40), Between(40, KindViewSize.height() - 40));
        for (int v = 0; v < count; ++v) {
            shape.Points[static_cast<std::size_t>(v)] = World(p);
            p += QPoint(Between(-30, 30), Between(-30, 30));
            p.setX(std::clamp(p.x(), 0, KindViewSize.width() - 1));
            p.setY(std::clamp(p.y(), 0, KindViewSize.height() - 1));
        }
        shape.SetPointCount(count);
    }

    std::unique_ptr<siteplan::TVyrMapCom> Create(KindCase kindCase, int i)
    {
        using namespace siteplan;
        switch (kindCase) {
        case KindCase::Rectangle:
        case KindCase::Ellipse:
        case KindCase::RoundRect:
        case KindCase::Arc:
        case KindCase::FramedPicture:
        case KindCase::Text: {
            const int id = kindCase == KindCase::Rectangle       ? TVYRRectangle::Kind
                           : kindCase == KindCase::Ellipse       ? TVyrEllipse::Kind
                           : kindCase == KindCase::RoundRect     ? TVYRRoundRectRangle::Kind
                           : kindCase == KindCase::Arc           ? TVyrArc::Kind
                           : kindCase == KindCase::FramedPicture ? TVyrPicture::Kind
                                                                 : TVyrText::Kind;
            std::unique_ptr<TVyrMapCom> shape = map_.CreateMapCom(id);
            const QRect box = ScreenBox();
            if (kindCase == KindCase::RoundRect)
                SetBox<TVYRRoundRectRangle>(shape.get(), box)->CornerSize = WorldLength(QPoint(box.width() / 4, box.height() / 4));
            else if (kindCase == KindCase::Arc)
                SetBox<TVyrArc>(shape.get(), box)->StartAngle = Between(0, 3599);
            else if (kindCase == KindCase::FramedPicture)
                SetBox<TVyrPicture>(shape.get(), box)->Picture = pictures_[static_cast<std::size_t>(i % 16)];
            else if (kindCase == KindCase::Text) {
                auto* text = SetBox<TVyrText>(shape.get(), box.adjusted(0, 0, 40, 10));
                text->SetText(i % 2 ? QStringLiteral("C30 混凝土基础") : QStringLiteral("钢筋加工场\n材料堆放"));
            } else
                SetBox<TBoxMapCom>(shape.get(), box);
            return shape;
        }
        case KindCase::LegendSymbol: {
            const QRect box = ScreenBox();
            const QPoint at[] = {box.topLeft()};
            return std::make_unique<TVyrPicture>(&map_, at, legends_[static_cast<std::size_t>(i % 16)]);
        }
        case KindCase::TowerCrane: {
            std::unique_ptr<TVyrMapCom> shape = map_.CreateMapCom(TVyrTaDiao::Kind);
            auto* crane = static_cast<TVyrTaDiao*>(shape.get());
            // The arm reaches 20 to 60 pixels; the other dimensions keep
            // their default proportions to it.
            const int arm = Between(20, 60);
            crane->BasePoint = World(QPoint(Between(arm, KindViewSize.width() - arm - 1),
                                            Between(arm, KindViewSize.height() - arm - 1)));
            const double f = (World(QPoint(arm, 0)) - World(QPoint(0, 0))).x() / double(crane->ArmLength);
            crane->ArmLength = static_cast<std::int32_t>(crane->ArmLength * f);
            crane->CounterJibLength = static_cast<std::int32_t>(crane->CounterJibLength * f);
            crane->BaseWidth = static_cast<std::int32_t>(crane->BaseWidth * f);
            crane->BaseHeight = static_cast<std::int32_t>(crane->BaseHeight * f);
            crane->CounterweightSize = static_cast<std::int32_t>(crane->CounterweightSize * f);
            crane->JibAngle = Between(0, 3599);
            return shape;
        }
        case KindCase::Curve:
        case KindCase::Polygon:
        case KindCase::EnclosureWall:
        case KindCase::Spline: {
            const int id = kindCase == KindCase::Curve     ? TVYRCurve::Kind
                           : kindCase == KindCase::Polygon ? TVYRMuliangle::Kind
                           : kindCase == KindCase::Spline  ? TVYRBSplines::Kind
                                                           : TVYRWeiQiang::Kind;
            std::unique_ptr<TVyrMapCom> shape = map_.CreateMapCom(id);
            SetPoints(static_cast<TPointListMapCom&>(*shape),
                      kindCase == KindCase::Curve ? TVYRCurve::CurvePointCount : Between(5, 20));
            shape->ScaleChanged();
            return shape;
        }
        case KindCase::EveryKind:
            break;
        }
        return nullptr;
    }

    TPlaneMap& map_;
    std::mt19937 random_;
    std::array<platform::TPicture, 16> pictures_;
    std::array<platform::TPicture, 16> legends_;
};

// The top-left 1920 x 1080 pixels of the sheet.
struct KindWindow : PlanWindow {
    KindWindow() : PlanWindow(KindViewSize)
    {
        Show();
        ScrollTo(0, 0);
    }
};

QByteArray KindPlanBytes(KindCase kindCase)
{
    EnginePlan plan;
    KindFiller(plan.map).Fill(kindCase, KindShapeCount);
    QByteArray bytes;
    SaveInto(plan.map, bytes);
    return bytes;
}

void BM_PaintKindAllVisible(benchmark::State& state, KindCase kindCase)
{
    KindWindow window;
    KindFiller(window.view.PlaneMap()).Fill(kindCase, KindShapeCount);
    window.FullPaint();
    for (auto _ : state)
        window.FullPaint();
    Goal(state, "goal: 16 ms");
}

// Saved into memory that is kept between saves, as a file's pages are: a
// plan of pictures is tens of megabytes, and a new buffer for each save
// would time the growing of fresh memory rather than the writing.
void BM_SaveKind(benchmark::State& state, KindCase kindCase)
{
    EnginePlan plan;
    KindFiller(plan.map).Fill(kindCase, KindShapeCount);
    QByteArray bytes;
    for (auto _ : state) {
        SaveInto(plan.map, bytes);
        benchmark::DoNotOptimize(bytes.size());
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
    Goal(state, "goal: 100 ms");
}

void BM_OpenKind(benchmark::State& state, KindCase kindCase)
{
    support::SilentServices services(platform::MessageButton::Yes);
    const QByteArray bytes = KindPlanBytes(kindCase);
    for (auto _ : state) {
        TPlaneMap map(services);
        LoadFrom(state, map, bytes);
    }
    Goal(state, "goal: 100 ms");
}

// Open, then the first paint with every shape visible.
void BM_OpenThenPaintKind(benchmark::State& state, KindCase kindCase)
{
    const QByteArray bytes = KindPlanBytes(kindCase);
    KindWindow window;
    for (auto _ : state) {
        LoadFrom(state, window.view.PlaneMap(), bytes);
        window.ScrollTo(0, 0);
        window.FullPaint();
    }
    Goal(state, "open 100 ms + paint 16 ms");
}

bool RegisterKindBenchmarks()
{
    for (const KindCaseName& c : KindCases) {
        const std::string name(c.Name);
        benchmark::RegisterBenchmark(("BM_PaintKindAllVisible/" + name).c_str(), BM_PaintKindAllVisible, c.Case)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_SaveKind/" + name).c_str(), BM_SaveKind, c.Case)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_OpenKind/" + name).c_str(), BM_OpenKind, c.Case)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_OpenThenPaintKind/" + name).c_str(), BM_OpenThenPaintKind, c.Case)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    return true;
}

const bool kindBenchmarksRegistered = RegisterKindBenchmarks();

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
