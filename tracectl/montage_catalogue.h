#pragma once
// The montages offered for the recording open in a trace control, in the order the montage
// list shows them: the recording's own ("As recorded" when it keeps a history, "All lines
// recorded", its archived montages), the standard montages, the user's montages. Tools
// choose among them by name.

#include "CViewerCtrl.h"
#include "montage_definition.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct OfferedMontage {
    enum class Kind { AsRecorded, AllLines, Archived, Standard, Own };
    QString name;
    Kind kind = Kind::AllLines;
    int index = 0; // archived montage index, or the definition's place in its list
};

class MontageCatalogue {
public:
    // The montages for `ctrl`'s recording with the user's `own` montages (none without a file).
    MontageCatalogue(CViewerCtrl& ctrl, std::vector<viewer::MontageDefinition> own);
    // The montages for `ctrl`'s recording with the user's montage folder read as it is now;
    // each file that does not read is handed to `skipped` ("montage file F skipped: WHY").
    static MontageCatalogue withUserMontages(CViewerCtrl& ctrl,
                                             const std::function<void(const QString&)>& skipped);

    const std::vector<OfferedMontage>& entries() const { return entries_; }
    const std::vector<viewer::MontageDefinition>& standard() const { return standard_; }
    const std::vector<viewer::MontageDefinition>& own() const { return own_; }
    // The entry named `name`: the first of that exact name, else the first whose name
    // differs only in case; null when none.
    const OfferedMontage* find(const QString& name) const;
    // Every name offered, in list order.
    QStringList names() const;
    // Shows `entry` on `ctrl` as the montage list does; false when it cannot be shown ("As
    // recorded" of a recording without history).
    bool choose(CViewerCtrl& ctrl, const OfferedMontage& entry) const;
    // Finds and shows the entry named `name`; null, with the names offered in `error`, when
    // there is none or it cannot be shown.
    const OfferedMontage* chooseNamed(CViewerCtrl& ctrl, const QString& name, QString& error) const;

private:
    std::vector<OfferedMontage> entries_;
    std::vector<viewer::MontageDefinition> standard_;
    std::vector<viewer::MontageDefinition> own_;
};
