#include "montage_json.h"

#include "own_montage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

#include <cmath>

namespace viewer {

namespace {

// A field that is absent or null, or a number within [low, high] (above `low` when
// `open`); false, with `error`, for anything else.
bool optionalNumber(const QJsonObject& o, const char* key, double low, double high, bool open,
                    std::optional<double>& out, QString& error) {
    const QJsonValue v = o.value(QLatin1String(key));
    out.reset();
    if (v.isUndefined() || v.isNull()) {
        return true;
    }
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || !std::isfinite(d) || d < low || (open && d == low) || d > high) {
        error =
            QStringLiteral("\"%1\" must be null or a number %2 %3 and at most %4")
                .arg(QLatin1String(key), open ? QStringLiteral("above") : QStringLiteral("from"))
                .arg(low)
                .arg(high);
        return false;
    }
    out = d;
    return true;
}

bool optionalBool(const QJsonObject& o, const char* key, bool& out, QString& error) {
    const QJsonValue v = o.value(QLatin1String(key));
    out = false;
    if (v.isUndefined() || v.isNull()) {
        return true;
    }
    if (!v.isBool()) {
        error = QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(key));
        return false;
    }
    out = v.toBool();
    return true;
}

bool readColour(const QJsonObject& o, std::optional<uint32_t>& out, QString& error) {
    const QJsonValue v = o.value(QLatin1String("colour"));
    out.reset();
    if (v.isUndefined() || v.isNull()) {
        return true;
    }
    static const QRegularExpression kHex(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    if (!v.isString() || !kHex.match(v.toString()).hasMatch()) {
        error = QStringLiteral("\"colour\" must be null or \"#rrggbb\"");
        return false;
    }
    out = v.toString().mid(1).toUInt(nullptr, 16);
    return true;
}

bool readNotch(const QJsonObject& o, std::optional<LineNotch>& out, QString& error) {
    const QJsonValue v = o.value(QLatin1String("notch"));
    out.reset();
    if (v.isUndefined() || v.isNull()) {
        return true;
    }
    if ((v.isBool() && !v.toBool()) || (v.isDouble() && v.toDouble() == 0.0)) {
        out = LineNotch::Off;
    } else if (v.isDouble() && (v.toDouble() == 50.0 || v.toDouble() == 60.0)) {
        out = v.toDouble() == 50.0 ? LineNotch::Hz50 : LineNotch::Hz60;
    } else {
        error = QStringLiteral("\"notch\" must be null, false, 50 or 60");
        return false;
    }
    return true;
}

bool readTerms(const QJsonObject& o, std::vector<MontageTerm>& out, QString& error) {
    const QJsonValue v = o.value(QLatin1String("terms"));
    if (!v.isArray()) {
        error = QStringLiteral("\"terms\" must be a list");
        return false;
    }
    for (const QJsonValue t : v.toArray()) {
        const QJsonObject term = t.toObject();
        const QJsonValue electrode = term.value(QLatin1String("electrode"));
        const QJsonValue weight = term.value(QLatin1String("weight"));
        if (!t.isObject() || !electrode.isString() || electrode.toString().trimmed().isEmpty() ||
            !weight.isDouble() || !std::isfinite(weight.toDouble())) {
            error = QStringLiteral("each term needs an \"electrode\" name and a number \"weight\"");
            return false;
        }
        out.push_back({electrode.toString().trimmed().toStdString(), weight.toDouble()});
    }
    return true;
}

bool readLine(const QJsonValue& value, MontageLine& l, QString& error) {
    const QJsonObject o = value.toObject();
    if (!value.isObject() || !o.value(QLatin1String("label")).isString()) {
        error = QStringLiteral("a line must be an object with a \"label\" text");
        return false;
    }
    l.label = o.value(QLatin1String("label")).toString().toStdString();
    std::optional<double> gain;
    if (!readTerms(o, l.terms, error) || !readColour(o, l.colour, error) ||
        !optionalBool(o, "inverted", l.inverted, error) ||
        !optionalNumber(o, "gain_uv_per_cm", 0.0, 1e7, true, gain, error) ||
        !optionalNumber(o, "high_pass_hz", 0.0, 1e6, false, l.highPassHz, error) ||
        !optionalNumber(o, "low_pass_hz", 0.0, 1e7, true, l.lowPassHz, error) ||
        !readNotch(o, l.notch, error) || !optionalBool(o, "hidden", l.hidden, error)) {
        return false;
    }
    if (gain) {
        l.gainUvPerCm = std::max<int32_t>(1, static_cast<int32_t>(std::lround(*gain)));
    }
    return true;
}

QJsonValue orNull(const std::optional<double>& v) { return v ? QJsonValue(*v) : QJsonValue(); }

} // namespace

bool montageFromJson(const QByteArray& bytes, MontageDefinition& out, QString& error) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error =
            QStringLiteral("not JSON (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset);
        return false;
    }
    const QJsonObject o = doc.object();
    const QJsonValue name = o.value(QLatin1String("name"));
    if (!doc.isObject() || !name.isString() || name.toString().trimmed().isEmpty() ||
        !o.value(QLatin1String("lines")).isArray()) {
        error = QStringLiteral("needs a \"name\" text and a \"lines\" list");
        return false;
    }
    MontageDefinition def{name.toString().trimmed().toStdString(), {}};
    int shown = 0;
    for (const QJsonValue v : o.value(QLatin1String("lines")).toArray()) {
        MontageLine l;
        if (!readLine(v, l, error)) {
            error = QStringLiteral("line %1: %2").arg(def.lines.size() + 1).arg(error);
            return false;
        }
        shown += l.hidden ? 0 : 1;
        def.lines.push_back(std::move(l));
    }
    if (shown > kMaxLines) {
        error = QStringLiteral("%1 lines shown, at most %2").arg(shown).arg(kMaxLines);
        return false;
    }
    out = std::move(def);
    return true;
}

QByteArray montageToJson(const MontageDefinition& def) {
    QJsonArray lines;
    for (const MontageLine& l : def.lines) {
        QJsonArray terms;
        for (const MontageTerm& t : l.terms) {
            terms.append(QJsonObject{{"electrode", QString::fromStdString(t.electrode)},
                                     {"weight", t.weight}});
        }
        QJsonValue notch;
        if (l.notch) {
            notch = *l.notch == LineNotch::Off ? QJsonValue(false)
                                               : QJsonValue(*l.notch == LineNotch::Hz50 ? 50 : 60);
        }
        lines.append(QJsonObject{
            {"label", QString::fromStdString(l.label)},
            {"terms", terms},
            {"colour",
             l.colour ? QJsonValue(QStringLiteral("#%1").arg(*l.colour, 6, 16, QLatin1Char('0')))
                      : QJsonValue()},
            {"inverted", l.inverted},
            {"gain_uv_per_cm", l.gainUvPerCm ? QJsonValue(*l.gainUvPerCm) : QJsonValue()},
            {"high_pass_hz", orNull(l.highPassHz)},
            {"low_pass_hz", orNull(l.lowPassHz)},
            {"notch", notch},
            {"hidden", l.hidden},
        });
    }
    const QJsonObject o{{"name", QString::fromStdString(def.name)}, {"lines", lines}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

} // namespace viewer
