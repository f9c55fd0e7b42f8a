#pragma once
// Where the files shipped with the program (the placeholder video) are found.

#include <QString>

namespace ShippedFiles {

// The folder holding the shipped file `name`: `programFolder` when the file is there (a build
// tree, or a copy of the program with its files), else the installed data folder, first as
// it lies relative to `programFolder`, then where it was installed. When none holds it,
// `programFolder`, so that the caller reports the missing file under the program's folder.
QString folderHolding(const QString& name, const QString& programFolder);

} // namespace ShippedFiles
