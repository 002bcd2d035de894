// A small picture of every graphic class a legend can hold, made in memory.
#pragma once

#include "platform/picture/picture.h"

#include <QByteArray>

#include <vector>

namespace legends_test {

struct SamplePicture {
    const char* name;
    platform::TGraphicKind kind;
    QByteArray bytes;
};

// BMP, ICO and JPEG written by Qt, an enhanced metafile and a placeable
// metafile built record by record.
std::vector<SamplePicture> SamplePictures();

platform::TPicture MakePicture(platform::TGraphicKind kind, const QByteArray& bytes);

} // namespace legends_test
