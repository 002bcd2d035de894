// What the plan view shows after each step of a user's work equals a fresh
// full render of the plan at the same scroll position and zoom (with the
// band or the rubber band of a polyline in progress drawn over it).
#include "siteplan/host/plane_map_view.h"
#include "siteplan/grab_handles.h"
#include "siteplan/shapes/vyr_line.h"
#include "siteplan/vyr_map_com.h"

#include "platform/painter_canvas.h"
#include "platform/translated_canvas.h"

#include "tests/support/fake_window_services.h"
#include "tests/support/screen_invariant.h"

#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

using screentest::TSequence;
using screentest::TStep;
using siteplan::TPlaneMap;
using siteplan::TPlaneMapView;
using siteplan::TVYRLine;

namespace {

// The not-XOR figures the plan shows over its picture at the moment.
using TOverlay = std::function<void(platform::Canvas&)>;

struct PlanScreen {
    TPlaneMapView view;
    FakeWindowServices messages;
    TOverlay overlay;
    std::unique_ptr<screentest::ScreenInvariant> screen;

    PlanScreen()
    {
        view.resize(820, 560);
        view.SetMapOrigin({20, 20});
        view.SetMessageServices(&messages);
        screen = std::make_unique<screentest::ScreenInvariant>(view, [this] { return Fresh(); });
    }

    TPlaneMap& Map() const { return view.PlaneMap(); }

    QImage Fresh() const
    {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        platform::PainterCanvas canvas(image);
        const QPoint offset = view.ToMap({0, 0});
        canvas.Brush = platform::TBrush{platform::clAppWorkSpace, platform::TBrushStyle::bsSolid};
        canvas.FillRect(image.rect());
        const QRect sheet(-offset, QSize(Map().Width(), Map().Height()));
        canvas.SetClipRegion(QRegion(sheet));
        canvas.Brush = platform::TBrush{platform::clWhite, platform::TBrushStyle::bsSolid};
        canvas.FillRect(sheet);
        platform::TranslatedCanvas plan(canvas, -offset);
        Map().Paint(plan);
        if (overlay) {
            plan.SetWorldTransform(QTransform());
            overlay(plan);
        }
        return image;
    }

    // The segments of the polyline being drawn, each drawn once in red
    // not-XOR, as the presses and drags of its drawing leave them.
    void OverlayDrawing()
    {
        overlay = [this](platform::Canvas& canvas) {
            const auto* line = dynamic_cast<const TVYRLine*>(Map().DrawingMapCom());
            if (!line)
                return;
            canvas.Pen = line->OwnPen.Value();
            canvas.Pen.Color = platform::clRed;
            canvas.Pen.Mode = platform::TPenMode::pmNotXor;
            for (int i = 1; i < line->PointCount(); ++i) {
                const QPoint from = Map().WorldToScreen(line->Points[static_cast<std::size_t>(i - 1)]);
                const QPoint to = Map().WorldToScreen(line->Points[static_cast<std::size_t>(i)]);
                canvas.MoveTo(from.x(), from.y());
                canvas.LineTo(to.x(), to.y());
            }
        };
    }

    void OverlayBand(QPoint from, QPoint to)
    {
        const QPoint a = view.ToMap(from);
        const QPoint b = view.ToMap(to);
        overlay = [a, b](platform::Canvas& canvas) {
            canvas.Pen = platform::TPen{platform::clBlack, platform::TPenStyle::psDot, 1, platform::TPenMode::pmNotXor};
            canvas.Brush.Style = platform::TBrushStyle::bsClear;
            const siteplan::TRect r = siteplan::TRect::Spanning(a, b);
            canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
        };
    }

    // Steps of drawing a polyline through points (viewport pixels) with
    // presses and a double click on the last one.
    std::vector<TStep> DrawPolyline(std::vector<QPoint> points, const QString& word = {})
    {
        std::vector<TStep> steps;
        steps.push_back({QStringLiteral("polyline tool"), [this] { Map().SetDrawKind(TVYRLine::Kind); }});
        for (std::size_t i = 0; i + 1 < points.size(); ++i)
            steps.push_back({QStringLiteral("press %1").arg(i + 1), [this, p = points[i]] {
                                 screen->Click(p);
                                 OverlayDrawing();
                             }});
        steps.push_back({QStringLiteral("double click"), [this, p = points.back(), word] {
                             screen->DoubleClick(p);
                             overlay = {};
                             Map().SetDrawKind(0);
                             if (!word.isEmpty())
                                 if (auto* line = dynamic_cast<TVYRLine*>(Map().MapCom(Map().MapComCount() - 1))) {
                                     line->SetShowWord(word);
                                     line->Invalidate();
                                 }
                         }});
        return steps;
    }

    // The viewport position of a grab handle of the first selected shape.
    QPoint HandlePos(int position) const
    {
        const siteplan::TGrabHandle& handle = Map().Selection().Items(0)->GrabHandles()->Handle(position);
        return handle.Bounds().ToQRect().center() - view.ToMap({0, 0});
    }
};

std::vector<TStep> operator+(std::vector<TStep> a, const std::vector<TStep>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct ScreenCase {
    const char* name;
    std::function<std::vector<TStep>(PlanScreen&)> steps;
};

// Two polylines, the second across the first; the first one labelled.
std::vector<TStep> TwoLines(PlanScreen& s)
{
    return s.DrawPolyline({{120, 120}, {300, 260}, {460, 140}}, QStringLiteral("围墙")) +
           s.DrawPolyline({{100, 220}, {280, 120}, {420, 300}, {520, 200}});
}

const ScreenCase kCases[] = {
    {"DrawOneThenASecondAcrossIt", [](PlanScreen& s) { return TwoLines(s); }},
    {"DragWhileDrawing",
     [](PlanScreen& s) {
         return s.DrawPolyline({{100, 100}, {200, 200}}) + std::vector<TStep>{
             {"tool", [&s] { s.Map().SetDrawKind(TVYRLine::Kind); }},
             {"press and drag", [&s] {
                  s.screen->Press({150, 300});
                  s.screen->Move({200, 320});
                  s.screen->Move({260, 350});
                  s.OverlayDrawing();
              }},
             {"drag over the first line", [&s] {
                  s.screen->Move({180, 150});
                  s.screen->Move({190, 120});
              }},
             {"release", [&s] { s.screen->Release({190, 120}); }},
             {"double click", [&s] {
                  s.screen->DoubleClick({300, 160});
                  s.overlay = {};
              }},
         };
     }},
    {"SelectByClickThenElsewhere",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"click empty paper", [&s] { s.screen->Click({600, 450}); }},
             {"click the first line", [&s] { s.screen->Click({210, 190}); }},
             {"shift click the second", [&s] { s.screen->Click({470, 250}, Qt::ShiftModifier); }},
             {"click empty paper", [&s] { s.screen->Click({600, 450}); }},
         };
     }},
    {"SelectByBand",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"press on paper", [&s] {
                  s.screen->Click({600, 450});
                  s.screen->Press({80, 80});
                  s.OverlayBand({80, 80}, {80, 80});
              }},
             {"band half way", [&s] {
                  s.screen->Move({200, 200});
                  s.screen->Move({320, 240});
                  s.OverlayBand({80, 80}, {320, 240});
              }},
             {"band back", [&s] {
                  s.screen->Move({250, 160});
                  s.OverlayBand({80, 80}, {250, 160});
              }},
             {"release", [&s] {
                  s.screen->Release({250, 160});
                  s.overlay = {};
              }},
         };
     }},
    {"SelectAllAndInvert",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"select all", [&s] { s.Map().SelectAll(); }},
             {"click empty paper", [&s] { s.screen->Click({600, 450}); }},
             {"click the first line", [&s] { s.screen->Click({210, 190}); }},
             {"invert", [&s] { s.Map().InvertSelection(); }},
             {"invert again", [&s] { s.Map().InvertSelection(); }},
         };
     }},
    {"DragTheBody",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"click the first line", [&s] { s.screen->Click({210, 190}); }},
             {"drag it", [&s] { s.screen->Drag({210, 190}, {290, 330}); }},
             {"press, move, hold", [&s] {
                  s.screen->Press({290, 330});
                  s.screen->Move({250, 300});
              }},
             {"release", [&s] { s.screen->Release({250, 300}); }},
             {"double click it", [&s] { s.screen->DoubleClick({250, 300}); }},
         };
     }},
    {"DragEachKindOfHandle",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"select the second line", [&s] { s.screen->Click({470, 250}); }},
             {"drag a point handle", [&s] {
                  const QPoint h = s.HandlePos(3);
                  s.screen->Drag(h, h + QPoint(40, 90));
              }},
             {"hold a point handle", [&s] {
                  const QPoint h = s.HandlePos(2);
                  s.screen->Press(h);
                  s.screen->Move(h + QPoint(30, -20));
              }},
             {"release it", [&s] { s.screen->Release(s.HandlePos(2)); }},
             {"drag the move handle", [&s] {
                  const QPoint h = s.HandlePos(0);
                  s.screen->Drag(h, h + QPoint(-60, 50));
              }},
             {"drag the rotation handle", [&s] {
                  const QPoint h = s.HandlePos(1);
                  s.screen->Drag(h, h + QPoint(-30, 80));
              }},
         };
     }},
    {"PointMethods",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"select the second line", [&s] { s.screen->Click({470, 250}); }},
             {"add", [&s] {
                  s.Map().SetEditMethod(siteplan::pointmethod::Add);
                  s.screen->Click({600, 100});
              }},
             {"insert", [&s] {
                  s.Map().SetEditMethod(siteplan::pointmethod::Insert);
                  s.screen->Click({190, 170});
              }},
             {"delete", [&s] {
                  s.Map().SetEditMethod(siteplan::pointmethod::Delete);
                  s.screen->Click(s.HandlePos(3));
                  s.Map().SetEditMethod(-1);
              }},
         };
     }},
    {"Delete",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"select the first line", [&s] { s.screen->Click({210, 190}); }},
             {"delete it", [&s] {
                  s.messages.QueueAnswer(platform::MessageButton::Yes);
                  s.Map().DeleteSelected();
              }},
         };
     }},
    {"ZoomScrollResize",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"select the first line", [&s] { s.screen->Click({210, 190}); }},
             {"zoom in", [&s] { s.Map().SetZoom(150); }},
             {"scroll with the keys", [&s] {
                  s.view.setFocus();
                  s.screen->Key(Qt::Key_PageDown);
                  s.screen->Key(Qt::Key_Right);
              }},
             {"scroll with the bar", [&s] { s.view.horizontalScrollBar()->setValue(s.view.horizontalScrollBar()->value() + 137); }},
             {"draw a band", [&s] {
                  s.screen->Press({60, 60});
                  s.screen->Move({300, 200});
                  s.OverlayBand({60, 60}, {300, 200});
              }},
             {"release", [&s] {
                  s.screen->Release({300, 200});
                  s.overlay = {};
              }},
             {"zoom out", [&s] { s.Map().SetZoom(50); }},
             {"resize", [&s] { s.view.resize(700, 480); }},
             {"resize back", [&s] { s.view.resize(820, 560); }},
         };
     }},
    {"PaperAndOrientation",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"select the first line", [&s] { s.screen->Click({210, 190}); }},
             {"A3", [&s] { s.Map().SetPlanmapSize(3); }},
             {"portrait", [&s] { s.Map().SetOrientation(siteplan::TPrinterOrientation::poPortrait); }},
             {"show paper", [&s] { s.Map().SetShowPaper(true); }},
             {"A4 landscape", [&s] {
                  s.Map().SetPlanmapSize(4);
                  s.Map().SetOrientation(siteplan::TPrinterOrientation::poLandscape);
              }},
         };
     }},
    {"CoveredAndRedrawn",
     [](PlanScreen& s) {
         return TwoLines(s) + std::vector<TStep>{
             {"select the first line", [&s] { s.screen->Click({210, 190}); }},
             {"a menu closes over the view", [&s] { s.screen->CoverAndUncover({150, 100, 200, 160}); }},
             {"redraw", [&s] { s.Map().RefreshAll(); }},
             {"a dialog closes over all of it", [&s] { s.screen->CoverAndUncover({-10, -10, 900, 700}); }},
             {"band while covered", [&s] {
                  s.screen->Press({520, 380});
                  s.screen->Move({380, 300});
                  s.screen->CoverAndUncover({300, 250, 150, 100});
                  s.OverlayBand({520, 380}, {380, 300});
              }},
             {"release", [&s] {
                  s.screen->Release({380, 300});
                  s.overlay = {};
              }},
             {"redraw", [&s] { s.Map().RefreshAll(); }},
         };
     }},
};

void PrintTo(const ScreenCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlanViewScreen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(PlanViewScreen, ShowsAFreshRenderAfterEveryStep)
{
    PlanScreen s;
    const TSequence sequence{QString::fromLatin1(GetParam().name), GetParam().steps(s)};
    EXPECT_TRUE(s.screen->Run(sequence));
}

INSTANTIATE_TEST_SUITE_P(Sequences, PlanViewScreen, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
