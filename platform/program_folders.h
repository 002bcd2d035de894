// Where the programs find their own files. Settings and lists the programs
// write (recent files, drawing defaults) go to the program data folder:
// the program's own folder, as the programs have always kept them, or a
// per-user folder when the program's folder cannot be written (an
// installation owned by the system).
#pragma once

#include <QString>

namespace platform {

// The folder of the running program.
QString ProgramFolder();

// The folder for the data files the programs write: the program's folder
// when it can be written, else the per-user application data folder
// (created when missing).
QString ProgramDataFolder();

// ProgramDataFolder's choice for a given program folder.
QString ChooseDataFolder(const QString& programFolder);

// A name that is not an absolute path is taken relative to the folder.
QString AbsoluteInFolder(const QString& name, const QString& folder);

} // namespace platform
