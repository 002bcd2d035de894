// The standard paper sizes with their printer paper codes. Sizes are in
// 0.1 mm, width before height, upright.
#pragma once

#include <QPoint>
#include <QString>

#include <array>

namespace common {

struct TPaperSizeRow {
    int PaperCode;   // the printer's paper-size code; 256 is a user-defined size
    const char16_t* Name;
    int Width;
    int Height;
};

// The row of a size that matches no standard sheet.
constexpr int CustomPaperSize = 8;

extern const std::array<TPaperSizeRow, 9> PaperSizes;

QString PaperSizeName(int index);

// The first of rows 0 to 7 whose width and height both equal size (width,
// height in 0.1 mm); CustomPaperSize when none does.
int FindPaperSize(QPoint size);

} // namespace common
