// Helpers of the box-shape tests: a plan at one pixel per 100 world units
// (every pixel a snapped world point), the plan's bytes, one shape's record
// and the fuzz corpus that valid plans seed.
#pragma once

#include "tests/siteplan/plan_fixture.h"

#include "siteplan/map_pen.h"
#include "siteplan/plan_records.h"
#include "siteplan/shape_property_editor.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

namespace boxtest {

inline QByteArray SavedBytes(const siteplan::TPlaneMap& map)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    map.SavePlan(buffer);
    return bytes;
}

inline bool LoadBytes(siteplan::TPlaneMap& map, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return map.LoadPlan(buffer);
}

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

// Valid plans seed the fuzz target of the plan reader.
inline void AddToCorpus(const QByteArray& bytes, const QString& name)
{
    const QString folder = QStringLiteral(FUZZ_CORPUS_DIR "/plan_file_fuzz");
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name + QStringLiteral(".Plm"));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
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
struct FakeEditor : siteplan::TShapePropertyEditor {
    bool answer = true;
    QString caption;
    bool EditLine(siteplan::TMapPen&, QString&) override { return false; }
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
    bool EditText(siteplan::TMapPen&, siteplan::TMapBrush&, QString&, bool&, siteplan::TTextShowSet&) override
    {
        return false;
    }
    bool EditPicture(siteplan::TMapPen&, platform::TPicture&, bool&, bool) override { return false; }
    bool EditPlaneProperty(siteplan::TMapPen&, siteplan::TMapBrush&, siteplan::TTextShowSet&) override
    {
        return false;
    }
};

} // namespace boxtest
