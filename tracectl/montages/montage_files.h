#pragma once
// The user's montages, one JSON file each (montage_json.h) in the folder "Viewer/montages"
// of the user's configuration location ($XDG_CONFIG_HOME/Viewer/montages). Files are read
// whole or not at all and written atomically; a file that does not read is never written
// over.

#include "montage_definition.h"

#include <QString>

#include <vector>

namespace viewer {

// The folder of the user's montage files (it may not exist yet).
QString montagesFolder();

struct MontageFileProblem {
    QString file;   // the file's name within the folder
    QString reason; // why it was skipped
};

struct MontageFolderContents {
    std::vector<MontageDefinition> montages; // in file-name order
    std::vector<QString> files;              // the file of each montage
    std::vector<MontageFileProblem> problems;
};

// The whole of a file that may be a montage file (at most 16 MB); false, with `error`, when
// it cannot be read whole.
bool readMontageBytes(const QString& path, QByteArray& bytes, QString& error);
// Reads one montage file; false, with `error`, when it cannot be read or is malformed.
bool readMontageFile(const QString& path, MontageDefinition& out, QString& error);

// Every *.json file of `folder` in file-name order: the montages that read, and a problem for
// each file that does not (skipped). A second montage of a name already read is a problem
// too. A missing folder holds no montages.
MontageFolderContents readMontageFolder(const QString& folder);

// The file name a montage called `name` is kept under: the name with characters that file
// names cannot hold ("/", "\\", control characters, a leading ".") replaced by "_", + ".json".
QString montageFileName(const std::string& name);

// Writes `def` to `folder`/montageFileName(def.name), creating the folder when needed:
// the whole document to a new file, then renamed over the old one. False, with `error` and
// nothing written, when the file there does not read as a montage (it is kept as it is) or
// the writing fails.
bool writeMontageFile(const QString& folder, const MontageDefinition& def, QString& error);
// Writes `def` to the file `path` in the same way (its folder must exist): never over a file
// that does not read as a montage.
bool writeMontageTo(const QString& path, const MontageDefinition& def, QString& error);

} // namespace viewer
