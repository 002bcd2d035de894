#include "apps/arrowplan/glide_cells.h"

#include "network/control/glide_rhythm.h"

namespace arrowplan {

namespace {

QString DefaultName(int row)
{
    return QStringLiteral("工作") + QString::number(row);
}

} // namespace

QString TGlideCells::Cell(int column, int row) const
{
    const auto it = FCells.find({column, row});
    return it == FCells.end() ? QString() : it->second;
}

void TGlideCells::SetCell(int column, int row, const QString& text)
{
    if (text.isEmpty())
        FCells.erase({column, row});
    else
        FCells[{column, row}] = text;
}

void TGlideCells::FillDefaults(int processes, int sections)
{
    SetCell(0, 0, QStringLiteral("施工过程名"));
    for (int c = 1; c <= sections; ++c)
        if (Cell(c, 0).isEmpty())
            SetCell(c, 0, QStringLiteral("第") + QString::number(c) + QStringLiteral("施工段"));
    for (int r = 1; r <= processes; ++r) {
        if (Cell(0, r).isEmpty())
            SetCell(0, r, DefaultName(r));
        for (int c = 1; c <= sections; ++c)
            if (Cell(c, r).isEmpty())
                SetCell(c, r, QStringLiteral("3"));
    }
}

std::optional<TGlideCells::TRefusal> TGlideCells::Check(int processes, int sections)
{
    for (int r = 1; r <= processes; ++r) {
        if (Cell(0, r).trimmed().isEmpty())
            SetCell(0, r, DefaultName(r));
        for (int c = 1; c <= sections; ++c) {
            const QString text = Cell(c, r);
            if (text.trimmed().isEmpty()) {
                if (c == 1)
                    return TRefusal{c, r,
                                    QStringLiteral("没有输入\"") + Cell(0, r) +
                                        QStringLiteral("\"的流水节拍,请重新输入！")};
                SetCell(c, r, Cell(c - 1, r));
                continue;
            }
            QString message;
            if (!network::ParseRhythm(text, message))
                return TRefusal{c, r, message};
        }
    }
    return std::nullopt;
}

network::TVYRNetwork::TGlideTable TGlideCells::Table(int processes, int sections) const
{
    network::TVYRNetwork::TGlideTable table;
    for (int r = 1; r <= processes; ++r) {
        QStringList row;
        for (int c = 0; c <= sections; ++c)
            row.append(Cell(c, r));
        table.push_back(row);
    }
    return table;
}

} // namespace arrowplan
