#include "montage_catalogue.h"

#include "montage_files.h"
#include "own_montage.h"
#include "standard_montages.h"

using namespace viewer;

namespace {

// numMont counts archived montages from this number on.
constexpr int kFirstArchivedMontage = 30;

} // namespace

MontageCatalogue::MontageCatalogue(CViewerCtrl& ctrl, std::vector<MontageDefinition> own) {
    const Recording& rec = ctrl.recording();
    if (!rec.isOpen()) {
        return;
    }
    own_ = std::move(own);
    standard_ = standardMontages(eegElectrodeNames(rec));
    using Kind = OfferedMontage::Kind;
    if (rec.historyPresent) {
        entries_.push_back({QStringLiteral("As recorded"), Kind::AsRecorded, 0});
    }
    entries_.push_back({QStringLiteral("All lines recorded"), Kind::AllLines, 0});
    const int archived = ctrl.GetNumArchivedMontage();
    for (int k = 0; k < archived; ++k) {
        entries_.push_back(
            {ctrl.GetArchivedMontName(static_cast<int16_t>(k)).trimmed(), Kind::Archived, k});
    }
    for (size_t i = 0; i < standard_.size(); ++i) {
        entries_.push_back(
            {QString::fromStdString(standard_[i].name), Kind::Standard, static_cast<int>(i)});
    }
    for (size_t i = 0; i < own_.size(); ++i) {
        entries_.push_back({QString::fromStdString(own_[i].name), Kind::Own, static_cast<int>(i)});
    }
}

const OfferedMontage* MontageCatalogue::find(const QString& name) const {
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (const OfferedMontage& e : entries_) {
            if (e.name.compare(name.trimmed(), cs) == 0) {
                return &e;
            }
        }
    }
    return nullptr;
}

QStringList MontageCatalogue::names() const {
    QStringList all;
    for (const OfferedMontage& e : entries_) {
        all << e.name;
    }
    return all;
}

bool MontageCatalogue::choose(CViewerCtrl& ctrl, const OfferedMontage& entry) const {
    using Kind = OfferedMontage::Kind;
    switch (entry.kind) {
    case Kind::AsRecorded:
        ctrl.setGratis(true);
        return ctrl.gratis();
    case Kind::AllLines:
    case Kind::Archived: {
        const int archived =
            entry.kind == Kind::AllLines ? ctrl.GetNumArchivedMontage() : entry.index;
        ctrl.setGratis(false);
        ctrl.setNumMont(static_cast<int16_t>(archived + kFirstArchivedMontage));
        return true;
    }
    case Kind::Standard:
        return ctrl.showMontage(standard_[static_cast<size_t>(entry.index)]);
    case Kind::Own:
        return ctrl.showMontage(own_[static_cast<size_t>(entry.index)]);
    }
    return false;
}

MontageCatalogue
MontageCatalogue::withUserMontages(CViewerCtrl& ctrl,
                                   const std::function<void(const QString&)>& skipped) {
    MontageFolderContents folder = readMontageFolder(montagesFolder());
    for (const MontageFileProblem& p : folder.problems) {
        skipped(QStringLiteral("montage file %1 skipped: %2").arg(p.file, p.reason));
    }
    return MontageCatalogue(ctrl, std::move(folder.montages));
}

const OfferedMontage* MontageCatalogue::chooseNamed(CViewerCtrl& ctrl, const QString& name,
                                                    QString& error) const {
    const OfferedMontage* entry = find(name);
    if (entry == nullptr || !choose(ctrl, *entry)) {
        error = QStringLiteral("no montage named \"%1\"; offered: %2")
                    .arg(name, names().join(QStringLiteral(", ")));
        return nullptr;
    }
    return entry;
}
