// Helpers of the box-shape tests: a plan at one pixel per 100 world units
// (every pixel a snapped world point), one shape's record, and (from
// shape_records.h) the plan's bytes and the fuzz corpus that valid plans
// seed.
#pragma once

#include "tests/siteplan/plan_fixture.h"
#include "tests/siteplan/shapes/cancelling_editor.h"
#include "tests/siteplan/shapes/shape_records.h"

#include "siteplan/map_pen.h"
#include "siteplan/plan_records.h"

#include <QBuffer>

namespace boxtest {

using shapetest::AddToCorpus;
using shapetest::LoadBytes;
using shapetest::SavedBytes;

// The record of one shape as the plan file holds it.
inline QByteArray RecordBytes(const siteplan::TVyrMapCom& shape)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    siteplan::PreparePlanStream(stream);
    shape.SaveToStream(stream);
    return bytes;
}

// 254 pixels per inch at 1 : 100: one pixel is 100 world units (10 mm).
struct BoxPlan : PlanFixture {
    QStringList hints;

    BoxPlan() : PlanFixture(254, 100)
    {
        map.onMapHint = [this](siteplan::TVyrMapCom*, const QString& hint) { hints << hint; };
    }

    // Draws a shape of the kind by a drag; null when none was kept.
    template <class T>
    T* Draw(int kind, QPoint from, QPoint to)
    {
        map.ClearSelection();
        map.SetDrawKind(kind);
        const int before = map.MapComCount();
        Drag(from, to);
        map.SetDrawKind(0);
        return map.MapComCount() == before ? nullptr : dynamic_cast<T*>(map.MapCom(map.MapComCount() - 1));
    }

    // A plan with the shape alone, saved and loaded back.
    std::unique_ptr<siteplan::TPlaneMap> Reloaded(const QByteArray& bytes)
    {
        auto loaded = std::make_unique<siteplan::TPlaneMap>(services, 254);
        EXPECT_TRUE(LoadBytes(*loaded, bytes));
        return loaded;
    }
};

// Answers every pen dialog with the given button; OK sets the width 7.
struct FakeEditor : shapetest::CancellingEditor {
    bool answer = true;
    QString caption;
    bool EditPenAndBrush(siteplan::TMapPen& pen, siteplan::TMapBrush&, const QString& c) override
    {
        caption = c;
        if (answer)
            pen.SetWidth(7);
        return answer;
    }
    bool EditPen(siteplan::TMapPen& pen, const QString& c) override
    {
        caption = c;
        if (answer)
            pen.SetWidth(7);
        return answer;
    }
};

} // namespace boxtest
