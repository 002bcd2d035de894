// Reading and writing the legend library file. The host decides where the
// file lives (the program folder, or a per-user folder where that is not
// writable) and passes its path.
#pragma once

#include "legend_files.h"

#include <QString>

#include <memory>

namespace legends {

inline constexpr char LegendLibraryFileName[] = "Legends.dll";

// The library in the file; a missing file gives an empty library. A file
// that cannot be opened or read raises stream::StreamError.
std::unique_ptr<TLegendFiles> LoadLegendLibrary(const QString& path);

// Writes the library to a temporary file and renames it over path, so a
// failed write raises stream::StreamError and keeps the previous file.
void SaveLegendLibrary(const QString& path, const TLegendFiles& library);

} // namespace legends
