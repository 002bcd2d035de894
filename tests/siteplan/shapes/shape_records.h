// Plan bytes for the shape tests: a plan saved and read through a buffer,
// a default plan around given shape records, and the seeds of the plan
// reader's fuzz target.
#pragma once

#include "siteplan/plane_map.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace shapetest {

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

// The header of a default plan (up to the shape count).
constexpr qsizetype DefaultHeaderSize = 110;

// A default plan holding count shapes whose records are the given bytes.
inline QByteArray PlanOf(const QByteArray& records, int count, platform::WindowServices& services)
{
    const siteplan::TPlaneMap map(services);
    QByteArray bytes = SavedBytes(map).first(DefaultHeaderSize);
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((static_cast<std::uint32_t>(count) >> (8 * i)) & 0xFF);
    return bytes + records;
}

// Valid plans seed the fuzz target of the reader.
inline void AddToCorpus(const QByteArray& bytes, const QString& name)
{
    const QString folder = QStringLiteral(FUZZ_CORPUS_DIR "/plan_file_fuzz");
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name + QStringLiteral(".Plm"));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The saved bytes of map, whose only shape is the record's, are the
// default plan around the record; that plan seeds the corpus under name
// and is returned.
inline QByteArray ExpectSavesAs(const siteplan::TPlaneMap& map, const QByteArray& record, const QString& name,
                                platform::WindowServices& services)
{
    const QByteArray plan = PlanOf(record, 1, services);
    EXPECT_EQ(SavedBytes(map).toHex(), plan.toHex());
    AddToCorpus(plan, name);
    return plan;
}

} // namespace shapetest
