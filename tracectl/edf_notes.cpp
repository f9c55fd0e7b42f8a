// The trace control's part in reading an EDF+ file's annotations after its first page.
#include "CViewerCtrl.h"

#include <QMetaObject>

using namespace viewer;

void CViewerCtrl::readRemainingNotes() {
    const Recording& r = recording();
    if (!r.isOpen() || !r.edf || r.edf->notesComplete()) {
        return;
    }
    // Parts of about a tenth of a day of one-second records: the notes panel follows a long
    // file's reading without being rebuilt for every record.
    constexpr int64_t kRecordsPerPart = 8192;
    const int generation = notesGeneration_;
    notesWorker_.start(r.edf->path, r.edf->layout, r.edf->recordsScanned, kRecordsPerPart,
                       [this, generation](EdfScan&& scan, bool last) {
                           auto part = std::make_shared<EdfScan>(std::move(scan));
                           QMetaObject::invokeMethod(
                               this,
                               [this, generation, part, last] {
                                   if (generation != notesGeneration_ || !rec().edf) {
                                       return;
                                   }
                                   mergeEdfScan(*rec().edf, std::move(*part));
                                   if (notesGrown_) {
                                       notesGrown_(last);
                                   }
                               },
                               Qt::QueuedConnection);
                       });
}

QString CViewerCtrl::edfNoteText(int32_t numNota) const {
    const auto& notes = recording().edf->notes;
    if (numNota < 0 || static_cast<size_t>(numNota) >= notes.size()) {
        return {};
    }
    const EdfNote& n = notes[static_cast<size_t>(numNota)];
    const QString text = QString::fromStdString(n.text).trimmed();
    return n.duration < 0
               ? text
               : QStringLiteral("%1 (%2 s)").arg(text, QString::number(n.duration, 'g', 7));
}
