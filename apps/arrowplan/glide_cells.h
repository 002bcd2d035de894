// The texts of the flow-process wizard's grid, without the window: row 0
// holds the section headers, column 0 the process names, the other cells
// the rhythm of a process on a section. Cells keep their text when the grid
// shrinks past them and show it again when it grows back.
#pragma once

#include "network/control/vyr_network.h"

#include <QString>

#include <map>
#include <optional>
#include <utility>

namespace arrowplan {

class TGlideCells {
public:
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString& text);

    // The header of column 0 always; the defaults in every empty cell of a
    // grid of processes + 1 rows and sections + 1 columns.
    void FillDefaults(int processes, int sections);

    // The check of OK, rows 1 to processes and within a row columns 0 to
    // sections in order: an empty name gets its default, an empty later
    // rhythm repeats the one before it. The first refused cell is returned
    // with its message; nothing after it is changed.
    struct TRefusal {
        int Column = 0;
        int Row = 0;
        QString Message;
    };
    std::optional<TRefusal> Check(int processes, int sections);

    // Rows 1 to processes, each with its name and its sections' rhythms.
    network::TVYRNetwork::TGlideTable Table(int processes, int sections) const;

private:
    std::map<std::pair<int, int>, QString> FCells;
};

} // namespace arrowplan
