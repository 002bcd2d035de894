// A main window over the fake message service and file dialogs, with its
// recent-files list in a temporary folder. Besides the polyline, the test
// shapes stand in for the rectangle, the text and the tower crane, so that
// the tool pages offer them (unless a fixture asks for the program's own
// shapes only).
#pragma once

#include "apps/sitelay/main_window.h"

#include "tests/apps/sitelay/fake_file_dialogs.h"
#include "tests/siteplan/test_shapes.h"
#include "tests/support/fake_window_services.h"

#include "siteplan/map_com_classes.h"
#include "siteplan/map_pen.h"
#include "siteplan/shape_property_editor.h"
#include "siteplan/text_show_set.h"
#include "siteplan/shapes/vyr_line.h"

#include "apps/sitelay/methods_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QToolBar>
#include <QToolButton>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// A box with a text setting besides its pen and brush, as a text shape has.
struct TTestLabelBox final : testshapes::TTestBox {
    TTestLabelBox(siteplan::TPlaneMap* map, std::span<const QPoint> points) : TTestBox(map, points)
    {
        OwnTextShow.Assign(map->DefaultTextShow);
        SetTextShow(&OwnTextShow);
    }
    siteplan::TTextShowSet OwnTextShow;
};

inline void RegisterFixtureShapes()
{
    testshapes::RegisterTestShapes();
    siteplan::RegisterMapComClass(3, siteplan::CreateMapComOf<testshapes::TTestBox>);
    siteplan::RegisterMapComClass(7, siteplan::CreateMapComOf<TTestLabelBox>);
    siteplan::RegisterMapComClass(100, siteplan::CreateMapComOf<testshapes::TTestBox>);
}

// Property dialogs that record what they were asked to edit; the defaults
// dialog answers OK with a dashed pen.
struct FakePropertyEditor final : siteplan::TShapePropertyEditor {
    int planeProperty = 0;
    int others = 0;
    bool EditLine(siteplan::TMapPen&, QString&) override { return ++others, false; }
    bool EditPenAndBrush(siteplan::TMapPen&, siteplan::TMapBrush&, const QString&) override { return ++others, false; }
    bool EditPen(siteplan::TMapPen&, const QString&) override { return ++others, false; }
    bool EditText(siteplan::TMapPen&, siteplan::TMapBrush&, QString&, bool&, siteplan::TTextShowSet&) override
    {
        return ++others, false;
    }
    bool EditPicture(siteplan::TMapPen&, platform::TPicture&, bool&, bool) override { return ++others, false; }
    bool EditPlaneProperty(siteplan::TMapPen& pen, siteplan::TMapBrush&, siteplan::TTextShowSet&) override
    {
        ++planeProperty;
        pen.SetStyle(platform::TPenStyle::psDash);
        return true;
    }
};

struct MainWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    FakeWindowServices services;
    FakeFileDialogs dialogs;
    FakePropertyEditor propertyEditor;
    std::unique_ptr<sitelay::TForm1> window;

    MainWindowFixture() : MainWindowFixture(true) {}

protected:
    // Without the test shapes the tool pages offer the program's own shapes
    // only; a test executable that wants that registers none anywhere.
    explicit MainWindowFixture(bool withTestShapes)
    {
        if (withTestShapes)
            RegisterFixtureShapes();
        CreateWindow();
    }

public:

    void CreateWindow()
    {
        sitelay::TForm1Options options;
        options.Messages = &services;
        options.Dialogs = &dialogs;
        options.PropertyEditor = &propertyEditor;
        options.RecentIniFile = IniPath();
        options.LegendLibrary = PathOf(QStringLiteral("Legends.dll"));
        window = std::make_unique<sitelay::TForm1>(options);
        window->resize(1000, 700);
        window->show();
    }

    QString IniPath() const { return dir.filePath(QStringLiteral("OpenPlaneMap.Ini")); }
    QString PathOf(const QString& name) const { return dir.filePath(name); }
    siteplan::TPlaneMap& Map() const { return *window->PlaneMap(); }
    QWidget* Viewport() const { return window->PlaneMapView()->viewport(); }

    static void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                          Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void ClickOnMap(QPoint viewportPos) const
    {
        SendMouse(Viewport(), QEvent::MouseButtonPress, viewportPos, Qt::LeftButton, Qt::LeftButton);
        SendMouse(Viewport(), QEvent::MouseButtonRelease, viewportPos, Qt::LeftButton, Qt::NoButton);
    }
    void DragOnMap(QPoint from, QPoint to) const
    {
        SendMouse(Viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        SendMouse(Viewport(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        SendMouse(Viewport(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    // Draws a box with the rectangle tool of the first page.
    testshapes::TTestBox* DrawBox(QPoint from, QPoint to) const
    {
        window->ToolButtonOf(3)->click();
        DragOnMap(from, to);
        return static_cast<testshapes::TTestBox*>(Map().MapCom(Map().MapComCount() - 1));
    }
    // Draws a polyline through the points with the polyline tool of the
    // first page: a click at each, a double click at the last.
    siteplan::TVYRLine* DrawPolyline(std::initializer_list<QPoint> points) const
    {
        window->ToolButtonOf(siteplan::TVYRLine::Kind)->click();
        for (const QPoint p : points)
            ClickOnMap(p);
        const QPoint last = *(points.end() - 1);
        SendMouse(Viewport(), QEvent::MouseButtonDblClick, last, Qt::LeftButton, Qt::LeftButton);
        SendMouse(Viewport(), QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
        const int count = Map().MapComCount();
        return count > 0 ? dynamic_cast<siteplan::TVYRLine*>(Map().MapCom(count - 1)) : nullptr;
    }
    // A viewport position as the plan's pixel (no scrolling in the tests).
    QPoint OnSheet(QPoint viewportPos) const { return window->PlaneMapView()->ToMap(viewportPos); }
    QPoint InViewport(QPoint sheetPos) const { return sheetPos - OnSheet(QPoint(0, 0)); }
    // Draws a labelled box with the text tool of the first page.
    TTestLabelBox* DrawLabelBox(QPoint from, QPoint to) const
    {
        window->ToolButtonOf(7)->click();
        DragOnMap(from, to);
        return static_cast<TTestLabelBox*>(Map().MapCom(Map().MapComCount() - 1));
    }
};
