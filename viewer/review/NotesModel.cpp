#include "NotesModel.h"

#include "GoToTime.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>
#include <QSet>

#include <algorithm>
#include <cmath>

QString elapsedText(double seconds) {
    const auto s = static_cast<int64_t>(std::floor(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

NotesModel::NotesModel(std::function<int64_t(int32_t)> clockOf, QObject* parent)
    : QAbstractTableModel(parent), clockOf_(std::move(clockOf)) {}

void NotesModel::replaceRows(bool fromRecording, std::vector<ListedRow> rows) {
    beginResetModel();
    std::vector<ListedRow> kept;
    kept.reserve(rows_.size());
    for (ListedRow& r : rows_) {
        if (r.fromRecording != fromRecording) {
            kept.push_back(std::move(r));
        }
    }
    rows_.clear();
    rows_.shrink_to_fit();
    rows_.reserve(kept.size() + rows.size());
    // Both in time order; a note and an event at the same time: the note first.
    const auto earlier = [](const ListedRow& a, const ListedRow& b) {
        return a.seconds < b.seconds ||
               (a.seconds == b.seconds && a.fromRecording && !b.fromRecording);
    };
    std::merge(std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()),
               std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()),
               std::back_inserter(rows_), earlier);
    refilter();
    endResetModel();
}

void NotesModel::setFilter(const QString& type, const QString& text) {
    beginResetModel();
    type_ = type;
    text_ = text.trimmed();
    refilter();
    endResetModel();
}

void NotesModel::refilter() {
    shown_.clear();
    shown_.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        const ListedRow& r = rows_[i];
        const bool typeOk = type_.isEmpty() || r.type == type_;
        if (typeOk && (text_.isEmpty() || r.text.contains(text_, Qt::CaseInsensitive) ||
                       r.type.contains(text_, Qt::CaseInsensitive))) {
            shown_.push_back(static_cast<int>(i));
        }
    }
}

std::pair<int, int> NotesModel::pageRows() const {
    // Rows are in time order: the page's rows are one run of the shown ones.
    const auto at = [this](double seconds) {
        return static_cast<int>(
            std::lower_bound(
                shown_.begin(), shown_.end(), seconds,
                [this](int row, double s) { return rows_[static_cast<size_t>(row)].seconds < s; }) -
            shown_.begin());
    };
    return {at(posSec_), at(posSec_ + pageSeconds_)};
}

void NotesModel::setPage(int32_t posSec, double pageSeconds) {
    const std::pair<int, int> before = pageRows();
    posSec_ = posSec;
    pageSeconds_ = pageSeconds;
    // Only the rows that come onto the page or leave it change their look.
    for (const auto& [first, end] : {before, pageRows()}) {
        if (first < end) {
            emit dataChanged(index(first, 0), index(end - 1, ColumnCount - 1),
                             {Qt::BackgroundRole});
        }
    }
}

const ListedRow& NotesModel::listed(int row) const {
    return rows_.at(static_cast<size_t>(shown_.at(static_cast<size_t>(row))));
}

QStringList NotesModel::types() const {
    QStringList types;
    QSet<QString> seen;
    for (const ListedRow& r : rows_) {
        if (!seen.contains(r.type)) {
            seen.insert(r.type);
            types << r.type;
        }
    }
    return types;
}

int NotesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int NotesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant NotesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const ListedRow& r = listed(index.row());
    if (role == Qt::BackgroundRole) {
        const bool onPage = r.seconds >= posSec_ && r.seconds < posSec_ + pageSeconds_;
        return onPage
                   ? QVariant(QBrush(QGuiApplication::palette().highlight().color().lighter(170)))
                   : QVariant();
    }
    if (role == Qt::ToolTipRole && !r.fromRecording && !r.who.isEmpty()) {
        return QStringLiteral("Marked by %1").arg(r.who);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case Clock: {
        const double whole = std::floor(r.seconds);
        return clockText(clockOf_(static_cast<int32_t>(whole)));
    }
    case FromStart:
        return elapsedText(r.seconds);
    case Source:
        return r.fromRecording ? QStringLiteral("Recording") : QStringLiteral("Reviewer");
    case Text:
        if (r.fromRecording) {
            return r.text;
        }
        return r.text.isEmpty() ? r.type : r.type + QStringLiteral(": ") + r.text;
    default:
        return {};
    }
}

QVariant NotesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kNames[] = {"Clock", "From start", "Text", "Source"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kNames[section])
                                                 : QVariant();
}
