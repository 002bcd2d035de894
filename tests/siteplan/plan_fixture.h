// A plan control over the fake window services, with the test shapes
// registered and helpers that play mouse sequences.
#pragma once

#include "siteplan/plane_map.h"
#include "siteplan/vyr_map_com.h"

#include "tests/support/fake_window_services.h"
#include "tests/siteplan/test_shapes.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

struct PlanFixture : ::testing::Test {
    FakeWindowServices services;
    siteplan::TPlaneMap map;
    int selectChanges = 0;
    int addMapAfter = 0;

    // 254 pixels per inch at 1 : 1 give one pixel per world unit, so shapes
    // snap to multiples of 100 pixels.
    explicit PlanFixture(int pixelsPerInch = 254, int scale = 1) : map(services, pixelsPerInch)
    {
        testshapes::RegisterTestShapes();
        map.SetMapScale(scale);
        map.onSelectChanged = [this](siteplan::TPlaneMap*, const siteplan::TSelectMapComs&) { ++selectChanges; };
        map.OnAddMapAfter = [this](siteplan::TPlaneMap*) { ++addMapAfter; };
    }

    void Press(QPoint p, siteplan::TShiftState shift = 0)
    {
        map.MouseDown(siteplan::TMouseButton::mbLeft, shift | siteplan::ssLeft, p);
    }
    void Move(QPoint p) { map.MouseMove(siteplan::ssLeft, p); }
    void Release(QPoint p) { map.MouseUp(siteplan::TMouseButton::mbLeft, 0, p); }
    void Click(QPoint p, siteplan::TShiftState shift = 0)
    {
        Press(p, shift);
        Release(p);
    }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        Move(to);
        Release(to);
    }
    // The second press of a double click, as the host delivers it.
    void DoubleClick(QPoint p)
    {
        map.DblClick();
        map.MouseDown(siteplan::TMouseButton::mbLeft, siteplan::ssLeft | siteplan::ssDouble, p);
        Release(p);
    }

    // Draws a shape with the mouse; it ends selected. Any selection before
    // is cleared first, so that no grab handle catches the presses.
    testshapes::TTestBox* AddBox(QPoint from, QPoint to)
    {
        map.ClearSelection();
        map.SetDrawKind(testshapes::BoxKind);
        Drag(from, to);
        map.SetDrawKind(0);
        return static_cast<testshapes::TTestBox*>(map.MapCom(map.MapComCount() - 1));
    }
    testshapes::TTestPath* AddPath(std::initializer_list<QPoint> points)
    {
        return ClickDrawn<testshapes::TTestPath>(testshapes::PathKind, points);
    }

    // Draws a shape of the kind as polylines, walls and polygons are drawn:
    // a click at each point and a double click at the last. Any selection
    // before is cleared first.
    template <class T>
    T* ClickDrawn(int kind, std::initializer_list<QPoint> points)
    {
        map.ClearSelection();
        map.SetDrawKind(kind);
        for (const QPoint p : points)
            Click(p);
        DoubleClick(*(points.end() - 1));
        map.SetDrawKind(0);
        return LastShape<T>();
    }

    // The plan's last shape as a T; null when the plan holds none.
    template <class T>
    T* LastShape()
    {
        return map.MapComCount() == 0 ? nullptr : dynamic_cast<T*>(map.MapCom(map.MapComCount() - 1));
    }
};
