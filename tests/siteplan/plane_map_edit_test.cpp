#include "tests/siteplan/plan_fixture.h"

#include "siteplan/grab_handles.h"
#include "siteplan/shape_property_editor.h"
#include "siteplan/text_show_set.h"

#include <QStringList>

#include <algorithm>
#include <functional>

using siteplan::TMouseButton;
using testshapes::TTestBox;
using testshapes::TTestPath;
namespace mousestate = siteplan::mousestate;

namespace {

using PlaneMapTools = PlanFixture;

TEST_F(PlaneMapTools, BoxIsDrawnByPressDragRelease)
{
    map.SetDrawKind(testshapes::BoxKind);
    EXPECT_EQ(services.cursors.back(), platform::cursor::kDrawMap);
    Press({100, 100});
    EXPECT_EQ(map.MouseState(), mousestate::Drawing);
    EXPECT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(map.CreatePointCount(), 2);
    EXPECT_TRUE(map.Modified);
    Move({300, 200});
    Release({300, 200});
    EXPECT_EQ(map.MouseState(), mousestate::Idle);
    EXPECT_EQ(map.CreatePointCount(), 0);
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    ASSERT_EQ(map.MapComCount(), 1);
    auto* box = static_cast<TTestBox*>(map.MapCom(0));
    EXPECT_EQ(box->Corner1, QPoint(100, 100));
    EXPECT_EQ(box->Corner2, QPoint(300, 200));
    EXPECT_TRUE(map.IsSelected(box));
    EXPECT_EQ(addMapAfter, 1);
}

TEST_F(PlaneMapTools, SingleClickWithBoxToolAddsNothing)
{
    map.SetDrawKind(testshapes::BoxKind);
    Click({100, 100});
    EXPECT_EQ(map.MapComCount(), 0);
    EXPECT_EQ(addMapAfter, 1);
}

TEST_F(PlaneMapTools, PathEndsWithDoubleClick)
{
    map.SetDrawKind(testshapes::PathKind);
    Click({100, 100});
    Press({300, 100});
    Move({300, 200}); // the rubber band follows while the button is held
    Release({300, 200});
    Move({500, 500}); // and not once it is up
    EXPECT_EQ(map.MouseState(), mousestate::Idle);
    EXPECT_NE(map.DrawingMapCom(), nullptr);
    Click({400, 200});
    DoubleClick({400, 200});
    ASSERT_EQ(map.MapComCount(), 1);
    auto* path = static_cast<TTestPath*>(map.MapCom(0));
    EXPECT_EQ(path->Points, (std::vector<QPoint>{{100, 100}, {300, 200}, {400, 200}}));
    EXPECT_TRUE(map.IsSelected(path));
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    EXPECT_EQ(addMapAfter, 1);
}

TEST_F(PlaneMapTools, CurveEndsAtTheReleaseOfItsThirdPress)
{
    map.SetDrawKind(testshapes::CurveKind);
    Click({100, 100});
    Click({200, 100});
    EXPECT_EQ(addMapAfter, 0);
    Click({300, 200});
    EXPECT_EQ(addMapAfter, 1);
    EXPECT_EQ(map.SelectedCount(), 1);
}

TEST_F(PlaneMapTools, OnePressShapeEndsAtItsFirstRelease)
{
    map.SetDrawKind(testshapes::MarkKind);
    Press({100, 100});
    EXPECT_EQ(addMapAfter, 0);
    Release({100, 100});
    EXPECT_EQ(addMapAfter, 1);
    EXPECT_EQ(map.MapComCount(), 1);
}

TEST_F(PlaneMapTools, TooManyPointsAreRefused)
{
    map.SetDrawKind(testshapes::PathKind);
    // Presses without releases: the first counts twice, so 99 make 100.
    for (int i = 0; i < 99; ++i)
        Press({100 + i * 100, 100});
    EXPECT_EQ(map.CreatePointCount(), 100);
    Press({100, 300});
    EXPECT_EQ(services.MessageTexts(), QStringList{QStringLiteral("线段太多")});
    EXPECT_EQ(map.MouseState(), mousestate::Idle);
    EXPECT_EQ(map.CreatePointCount(), 100);
    EXPECT_EQ(static_cast<TTestPath*>(map.DrawingMapCom())->Points.size(), 100u);
}

TEST_F(PlaneMapTools, ToolChangeEndsTheShapeInProgress)
{
    map.SetDrawKind(testshapes::PathKind);
    Click({100, 100});
    Click({300, 100});
    map.SetDrawKind(0);
    EXPECT_EQ(services.cursors.back(), platform::cursor::kHandPoint);
    EXPECT_EQ(map.DrawingMapCom(), nullptr);
    EXPECT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(addMapAfter, 1);
}

TEST_F(PlaneMapTools, UnknownKindsAndUnboundLegendsPlaceNothing)
{
    for (const int kind : {77, siteplan::LegendKindBase + 3}) {
        map.SetDrawKind(kind);
        Click({100, 100});
        Move({200, 200});
        EXPECT_EQ(map.MapComCount(), 0) << kind;
        EXPECT_EQ(map.MouseState(), mousestate::Idle) << kind;
        EXPECT_EQ(map.CreatePointCount(), 0) << kind;
    }
    EXPECT_EQ(addMapAfter, 0);
}

TEST_F(PlaneMapTools, OtherButtonsAndDoubleClickPressesAreIgnored)
{
    map.SetDrawKind(testshapes::BoxKind);
    map.MouseDown(TMouseButton::mbRight, siteplan::ssRight, {100, 100});
    map.MouseDown(TMouseButton::mbLeft, siteplan::ssDouble, {100, 100});
    EXPECT_EQ(map.MapComCount(), 0);
    EXPECT_EQ(map.MouseState(), mousestate::Idle);
}

struct PlaneMapSelection : PlanFixture {
    TTestBox* a = nullptr;
    TTestBox* b = nullptr;
    TTestBox* c = nullptr;
    PlaneMapSelection()
    {
        a = AddBox({100, 100}, {300, 300});
        b = AddBox({200, 200}, {400, 400}); // overlaps a
        c = AddBox({700, 100}, {900, 300});
        map.ClearSelection();
        selectChanges = 0;
    }
    std::vector<siteplan::TVyrMapCom*> Selected() const { return map.Selection().List(); }
};

TEST_F(PlaneMapSelection, ClickSelectsTheLowestShapeAlone)
{
    Click({250, 250});
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{a}));
    // Cleared (nothing to remove, reported), added (reported), reported.
    EXPECT_EQ(selectChanges, 3);
    Click({800, 150});
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{c}));
    // One removal and one addition, each reported, and each operation once more.
    EXPECT_EQ(selectChanges, 3 + 4);
}

TEST_F(PlaneMapSelection, ShiftClickTogglesOneShape)
{
    Click({150, 150});
    Click({800, 150}, siteplan::ssShift);
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{a, c}));
    selectChanges = 0;
    Click({150, 150}, siteplan::ssShift);
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{c}));
    EXPECT_EQ(selectChanges, 1);
    Press({1500, 1500}, siteplan::ssShift);
    EXPECT_EQ(map.MouseState(), mousestate::Idle);
    Release({1500, 1500});
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{c}));
}

TEST_F(PlaneMapSelection, BandSelectsTheSameShapesInEitherDirection)
{
    Press({50, 50});
    EXPECT_EQ(map.MouseState(), mousestate::Band);
    Move({500, 500});
    Release({500, 500});
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{a, b}));
    // The press clears (reported once), each addition twice.
    EXPECT_EQ(selectChanges, 1 + 4);
    map.ClearSelection();
    Press({500, 500});
    Move({50, 50});
    Release({50, 50});
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{a, b}));
}

TEST_F(PlaneMapSelection, BandTestsTheShapesAtTheZoomOfItsRelease)
{
    // Pressed at 100 %, released at 50 %: c then lies within the band,
    // though it lay far from it when the band began.
    Press({320, 40});
    Move({460, 160});
    map.SetZoom(50);
    Release({460, 160});
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{c}));
}

TEST_F(PlaneMapSelection, PressOnEmptyPaperRepaintsEachShapeItUnselects)
{
    // The press reuses the frames of its hit pass for the shapes it
    // unselects; in any order of selection each must get its own frame.
    using Order = std::vector<siteplan::TVyrMapCom*>;
    const auto invalidated = [this](const siteplan::TVyrMapCom* shape) {
        return std::ranges::find(services.invalidatedRects, map.GetMapComRegion(*shape).boundingRect()) !=
               services.invalidatedRects.end();
    };
    const Order orders[] = {{a, b, c}, {c, a, b}, {c, b, a}, {b}, {a, c}};
    for (std::size_t i = 0; i < std::size(orders); ++i) {
        map.ClearSelection();
        for (siteplan::TVyrMapCom* shape : orders[i])
            map.SelectMapCom(shape, false);
        services.invalidatedRects.clear();
        Press({1500, 1500});
        for (std::size_t j = 0; j < orders[i].size(); ++j)
            EXPECT_TRUE(invalidated(orders[i][j])) << "order " << i << ", shape " << j;
        Release({1500, 1500});
    }
    // The frames belong to that press alone: a shape moved since repaints
    // where it is now when it is unselected.
    map.SelectMapCom(c, true);
    Click({1500, 1500});
    map.SelectMapCom(b, true);
    map.MoveSelectionWorld({300, 0});
    services.invalidatedRects.clear();
    map.ClearSelection();
    EXPECT_TRUE(invalidated(b));
}

TEST_F(PlaneMapSelection, EachShapeKnowsWhetherTheSelectionHoldsIt)
{
    // Every way in and out of the selection must leave each shape's own
    // mark agreeing with the list.
    const std::function<void()> steps[] = {
        [&] { map.SelectAll(); },
        [&] { Click({800, 150}, siteplan::ssShift); },
        [&] { map.InvertSelection(); },
        [&] { Click({1500, 1500}); },
        [&] { map.SelectMapCom(b, false); },
        [&] { map.DeleteMapCom(b, true); },
        [&] { Drag({50, 50}, {500, 500}); },
        [&] { map.ClearSelection(); },
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i]();
        const std::vector<siteplan::TVyrMapCom*> listed = Selected();
        for (siteplan::TVyrMapCom* shape : {a, b, c})
            EXPECT_EQ(map.IsSelected(shape), std::ranges::find(listed, shape) != listed.end()) << "step " << i;
    }
    EXPECT_FALSE(map.Selection().Contains(nullptr));
}

TEST_F(PlaneMapSelection, SelectAllAndInvert)
{
    map.SelectMapCom(b, true);
    map.InvertSelection();
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{a, c}));
    map.SelectAll();
    EXPECT_EQ(Selected(), (std::vector<siteplan::TVyrMapCom*>{a, c, b}));
}

TEST_F(PlaneMapSelection, CurrentStylesFollowTheSelection)
{
    std::vector<siteplan::TMapPen*> pens;
    std::vector<siteplan::TMapBrush*> brushes;
    int texts = 0;
    map.onCurPenChanged = [&](siteplan::TPlaneMap*, siteplan::TMapPen* pen) { pens.push_back(pen); };
    map.onCurBrushChanged = [&](siteplan::TPlaneMap*, siteplan::TMapBrush* brush) { brushes.push_back(brush); };
    map.onCurTextShowChanged = [&](siteplan::TPlaneMap*, siteplan::TTextShowSet*) { ++texts; };
    map.SelectMapCom(a, true);
    map.SelectMapCom(c, false); // a's pen stays current: it is the first entry's
    map.ClearSelection();
    EXPECT_EQ(pens, (std::vector<siteplan::TMapPen*>{&a->OwnPen, &map.DefaultPen}));
    EXPECT_EQ(brushes, (std::vector<siteplan::TMapBrush*>{&a->OwnBrush, &map.DefaultBrush}));
    EXPECT_EQ(texts, 0);
    EXPECT_EQ(map.CurPen(), &map.DefaultPen);
}

TEST_F(PlaneMapSelection, AttributesApplyOnlyWhereEverySelectedShapeHasTheGroup)
{
    TTestPath* path = AddPath({{1000, 1000}, {1200, 1000}});
    map.SelectMapCom(a, true);
    map.SelectMapCom(path, false);
    map.Modified = false;
    map.SetSelectedAttribute(2, platform::clRed);
    EXPECT_EQ(a->OwnPen.Color(), platform::clRed);
    EXPECT_EQ(path->OwnPen.Color(), platform::clRed);
    map.SetSelectedAttribute(1, 3);
    EXPECT_EQ(path->OwnPen.Width(), 3);
    map.SetSelectedAttribute(0, static_cast<int>(platform::TPenStyle::psDash));
    EXPECT_EQ(a->OwnPen.Style(), platform::TPenStyle::psDash);
    EXPECT_TRUE(map.Modified);

    map.SelectMapCom(path, true);
    map.Modified = false;
    map.SetSelectedAttribute(3, static_cast<int>(platform::TBrushStyle::bsCross)); // the path has no brush
    map.SetSelectedAttribute(-1, 0);
    map.SetSelectedAttribute(5, QStringLiteral("黑体"));
    EXPECT_EQ(a->OwnBrush.Style(), platform::TBrushStyle::bsClear);
    EXPECT_TRUE(map.Modified);

    map.SelectMapCom(a, true);
    map.SetSelectedAttribute(3, static_cast<int>(platform::TBrushStyle::bsCross));
    map.SetSelectedAttribute(4, platform::clBlue);
    EXPECT_EQ(a->OwnBrush.Style(), platform::TBrushStyle::bsCross);
    EXPECT_EQ(a->OwnBrush.Color(), platform::clBlue);
}

TEST_F(PlaneMapSelection, TextAttributeCodes)
{
    siteplan::TTextShowSet textA;
    siteplan::TTextShowSet textC;
    a->SetTextShow(&textA);
    c->SetTextShow(&textC);
    map.SelectMapCom(a, true);
    map.SelectMapCom(c, false);
    map.SetSelectedAttribute(5, QStringLiteral("黑体"));
    map.SetSelectedAttribute(6, 20);
    map.SetSelectedAttribute(7, true);
    map.SetSelectedAttribute(8, true);
    map.SetSelectedAttribute(9, true);
    map.SetSelectedAttribute(8, false);
    map.SetSelectedAttribute(10, 2);
    map.SetSelectedAttribute(11, 1);
    map.SetSelectedAttribute(12, platform::clGreen);
    for (const siteplan::TTextShowSet* t : {&textA, &textC}) {
        EXPECT_EQ(t->Font.Name, QStringLiteral("黑体"));
        EXPECT_EQ(t->Font.Size, 20);
        EXPECT_EQ(t->Font.Style, platform::fsBold | platform::fsUnderline);
        EXPECT_EQ(t->HorzAlign(), 2);
        EXPECT_EQ(t->VertAlign(), 1);
        EXPECT_EQ(t->Font.Color, platform::clGreen);
    }
    map.SelectMapCom(b, false); // b has no text: nothing applies any more
    map.SetSelectedAttribute(6, 30);
    EXPECT_EQ(textA.Font.Size, 20);
}

TEST_F(PlaneMapSelection, SelectedBrushIsAssignedWhenAllHaveBrushes)
{
    siteplan::TMapBrush brush;
    brush.SetColor(platform::clYellow);
    map.SelectMapCom(a, true);
    map.SelectMapCom(c, false);
    map.Modified = false;
    map.SetSelectedBrush(brush);
    EXPECT_EQ(a->OwnBrush.Color(), platform::clYellow);
    EXPECT_EQ(c->OwnBrush.Color(), platform::clYellow);
    EXPECT_FALSE(map.Modified);
}

TEST_F(PlaneMapSelection, DeleteAllAsksFirst)
{
    services.QueueAnswer(platform::MessageButton::No);
    map.DeleteAll();
    EXPECT_EQ(map.MapComCount(), 3);
    EXPECT_EQ(services.messages.back().text, QStringLiteral("你真的要删除图形(3个)吗，请确认?"));
    EXPECT_EQ(services.messages.back().icon, platform::MessageIcon::Warning);
    services.QueueAnswer(platform::MessageButton::Yes);
    map.Modified = false;
    map.DeleteAll();
    EXPECT_EQ(map.MapComCount(), 0);
    EXPECT_TRUE(map.Modified);
    map.DeleteAll(); // an empty plan asks nothing
    EXPECT_EQ(services.messages.size(), 2u);
}

TEST_F(PlaneMapSelection, DeleteSelectedAsksFirst)
{
    map.DeleteSelected(); // nothing selected: no box
    EXPECT_TRUE(services.messages.empty());
    map.SelectMapCom(a, true);
    map.SelectMapCom(c, false);
    services.QueueAnswer(platform::MessageButton::Yes);
    map.DeleteSelected();
    EXPECT_EQ(services.messages.back().text, QStringLiteral("你真的要删除当前选种中的2个图形吗，请确认?"));
    ASSERT_EQ(map.MapComCount(), 1);
    EXPECT_EQ(map.MapCom(0), b);
    EXPECT_EQ(map.SelectedCount(), 0);
}

TEST_F(PlaneMapSelection, DeletingWhileAShapeIsDrawnEndsTheDrawingFirst)
{
    for (const bool all : {false, true}) {
        map.SetDrawKind(testshapes::PathKind);
        Click({1000, 1000});
        Press({1200, 1000}); // a shape in progress, button still down
        services.QueueAnswer(platform::MessageButton::Yes);
        if (all)
            map.DeleteAll();
        else
            map.DeleteSelected(); // the finished path is the selection
        EXPECT_EQ(map.DrawingMapCom(), nullptr) << all;
        EXPECT_EQ(map.CreatePointCount(), 0) << all;
        // The mouse goes on as if nothing happened.
        Move({1300, 1100});
        Release({1300, 1100});
        Click({1400, 1400});
        map.SetDrawKind(0);
        // Delete Selected took only the path; Delete All took everything.
        EXPECT_EQ(map.MapComCount(), all ? 0 : 3) << all;
    }
}

// Records which dialog was asked for, on which objects, and answers with
// Ok; a confirmed dialog turns the pen red.
struct RecordingPropertyEditor : siteplan::TShapePropertyEditor {
    bool Ok = true;
    QStringList Calls;
    std::vector<const void*> Objects;

    bool Answer(siteplan::TMapPen& pen)
    {
        if (Ok)
            pen.SetColor(platform::clRed);
        return Ok;
    }
    bool EditLine(siteplan::TMapPen& pen, QString&) override { Calls << "line"; return Answer(pen); }
    bool EditPenAndBrush(siteplan::TMapPen& pen, siteplan::TMapBrush& brush, const QString& caption) override
    {
        Calls << "pen and brush " + caption;
        Objects = {&pen, &brush};
        return Answer(pen);
    }
    bool EditPen(siteplan::TMapPen& pen, const QString&) override { Calls << "pen"; return Answer(pen); }
    bool EditText(siteplan::TMapPen& pen, siteplan::TMapBrush&, QString&, bool&, siteplan::TTextShowSet&) override
    {
        Calls << "text";
        return Answer(pen);
    }
    bool EditPicture(siteplan::TMapPen& pen, platform::TPicture&, bool&, bool) override
    {
        Calls << "picture";
        return Answer(pen);
    }
    bool EditPlaneProperty(siteplan::TMapPen& pen, siteplan::TMapBrush& brush, siteplan::TTextShowSet& text) override
    {
        Calls << "defaults";
        Objects = {&pen, &brush, &text};
        return Answer(pen);
    }
};

TEST_F(PlaneMapSelection, EditPropertiesOpensTheDialogOfTheSelection)
{
    // Without an editor nothing opens and nothing changes.
    map.Modified = false;
    map.EditProperties();
    EXPECT_FALSE(map.Modified);

    RecordingPropertyEditor editor;
    map.SetPropertyEditor(&editor);
    for (const bool ok : {false, true}) {
        editor.Ok = ok;
        map.Modified = false;
        map.ClearSelection();
        map.EditProperties();
        EXPECT_EQ(editor.Objects, (std::vector<const void*>{&map.DefaultPen, &map.DefaultBrush, &map.DefaultTextShow}));
        // A confirmed dialog leaves the plan modified: it changed objects in place.
        EXPECT_EQ(map.Modified, ok);

        map.Modified = false;
        map.SelectMapCom(a, true);
        services.invalidatedRects.clear();
        map.EditProperties();
        EXPECT_EQ(editor.Objects, (std::vector<const void*>{&a->OwnPen, &a->OwnBrush}));
        EXPECT_EQ(map.Modified, ok);
        EXPECT_EQ(services.invalidatedRects.empty(), !ok) << "repainted only after OK";
    }
    EXPECT_EQ(editor.Calls, QStringList({"defaults", "pen and brush box", "defaults", "pen and brush box"}));

    map.SelectMapCom(b, false);
    map.EditProperties();
    EXPECT_EQ(editor.Calls.size(), 4) << "several shapes selected: no dialog";
}

TEST_F(PlaneMapSelection, MethodIsArmedOnlyWithOneShapeSelected)
{
    TTestPath* path = AddPath({{1000, 1000}, {1200, 1000}, {1400, 1200}});
    map.ClearSelection();
    map.SetEditMethod(testshapes::PathDeleteMethod);
    EXPECT_EQ(map.EditMethod(), -1);

    map.SelectMapCom(path, true);
    map.SetEditMethod(testshapes::PathDeleteMethod);
    EXPECT_EQ(map.EditMethod(), testshapes::PathDeleteMethod);
    EXPECT_EQ(services.cursors.back(), platform::cursor::kCross);

    // The selection goes away while the method is armed: a click on the
    // plan applies nothing and disarms it.
    map.ClearSelection();
    Press({1000, 1000});
    EXPECT_EQ(map.MouseState(), mousestate::Method);
    Release({1000, 1000});
    EXPECT_EQ(map.EditMethod(), -1);
    EXPECT_EQ(path->Points.size(), 3u);
    EXPECT_EQ(services.cursors.back(), platform::cursor::kHandPoint);
}

struct BodyMoveCase {
    int pixelsPerInch;
    int scale;
    int steps; // mouse moves of one pixel each
};

struct PlaneMapBodyMove : ::testing::TestWithParam<BodyMoveCase> {};

TEST_P(PlaneMapBodyMove, MovesAddUpToTheSnappedDrag)
{
    const BodyMoveCase c = GetParam();
    struct Plan : PlanFixture {
        Plan(int ppi, int scale) : PlanFixture(ppi, scale) {}
        void TestBody() override {}
    } plan(c.pixelsPerInch, c.scale);
    TTestBox* box = plan.AddBox({100, 100}, {400, 300});
    plan.map.ClearSelection();
    plan.map.Modified = false;
    const QPoint before = box->Corner1;
    const QPoint press(200, 200);
    plan.Press(press);
    ASSERT_EQ(plan.map.MouseState(), mousestate::Moving);
    QPoint p = press;
    for (int i = 0; i < c.steps; ++i) {
        p += QPoint(1, 1);
        plan.Move(p);
        // After every step the shape stands where the whole drag puts it.
        EXPECT_EQ(box->Corner1 - before, plan.map.SnappedWorld(p - press)) << i;
    }
    plan.Release(p);
    EXPECT_NE(box->Corner1, before);
    EXPECT_TRUE(plan.map.Modified);
}

TEST_F(PlaneMapSelection, ClickWithoutMovingLeavesThePlanUnmodified)
{
    map.Modified = false;
    Press({150, 150});
    Move({160, 140}); // less than half a centimetre
    Release({160, 140});
    EXPECT_EQ(a->Corner1, QPoint(100, 100));
    EXPECT_FALSE(map.Modified);
}

INSTANTIATE_TEST_SUITE_P(Scales, PlaneMapBodyMove,
                         ::testing::Values(BodyMoveCase{96, 100, 12}, BodyMoveCase{96, 1, 40}, BodyMoveCase{254, 1, 120}));

} // namespace
