#include "common/paper_sizes.h"

namespace common {

const std::array<TPaperSizeRow, 9> PaperSizes = {{
    {256, u"A0 841 x 1189 mm", 8410, 11890},
    {256, u"A1 594 x 841 mm", 5940, 8410},
    {66, u"A2 420 x 594 mm", 4200, 5940},
    {8, u"A3 297 x 420 mm", 2970, 4200},
    {9, u"A4 210 x 297 mm", 2100, 2970},
    {11, u"A5 148 x 210 mm", 1480, 2100},
    {12, u"B4 (JIS) 250 x 354", 2500, 3540},
    {13, u"B5 (JIS) 182 x 257 mm", 1820, 2570},
    {256, u"自定义大小", 2100, 2970},
}};

QString PaperSizeName(int index)
{
    if (index < 0 || index >= static_cast<int>(PaperSizes.size()))
        return {};
    return QString::fromUtf16(PaperSizes[static_cast<std::size_t>(index)].Name);
}

int FindPaperSize(QPoint size)
{
    for (int i = 0; i < CustomPaperSize; ++i) {
        const TPaperSizeRow& row = PaperSizes[static_cast<std::size_t>(i)];
        if (row.Width == size.x() && row.Height == size.y())
            return i;
    }
    return CustomPaperSize;
}

} // namespace common
