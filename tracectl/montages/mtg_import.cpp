#include "mtg_import.h"

#include <QXmlStreamReader>

#include <array>
#include <cmath>
#include <optional>

namespace viewer {

namespace {

// Elements nest three deep in these files (root, trace, signal or filter).
constexpr int kDeepest = 4;
constexpr int kMostElements = 200000;
// The page time counts tenths of a microsecond.
constexpr double kPageTimeUnitsPerSecond = 1e7;

// The colours of the colour indexes 2 .. 18 (black, white, greys, the primaries, dark shades).
constexpr std::array<uint32_t, 17> kColours = {
    0x000000, 0xFFFFFF, 0x808080, 0xA0A0A4, 0xC0C0C0, 0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF,
    0xFF00FF, 0xFFFF00, 0x800000, 0x008000, 0x000080, 0x008080, 0x800080, 0x808000};
constexpr int kFirstColour = 2;

struct Element {
    QString name;
    QString text;
    std::vector<Element> children;

    const Element* child(const char* n) const {
        for (const Element& c : children) {
            if (c.name == QLatin1String(n)) {
                return &c;
            }
        }
        return nullptr;
    }
    std::vector<const Element*> all(const char* n) const {
        std::vector<const Element*> found;
        for (const Element& c : children) {
            if (c.name == QLatin1String(n)) {
                found.push_back(&c);
            }
        }
        return found;
    }
};

// Reads the element the reader stands on, with everything inside it.
bool readElement(QXmlStreamReader& xml, Element& e, int depth, int& count) {
    e.name = xml.name().toString();
    while (xml.readNext() != QXmlStreamReader::EndElement && !xml.hasError()) {
        if (xml.isCharacters()) {
            e.text += xml.text();
        } else if (xml.isStartElement()) {
            if (depth >= kDeepest || ++count > kMostElements) {
                xml.raiseError(QStringLiteral("elements nested too deep or too many"));
                return false;
            }
            e.children.emplace_back();
            if (!readElement(xml, e.children.back(), depth + 1, count)) {
                return false;
            }
        }
    }
    e.text = e.text.trimmed();
    return !xml.hasError();
}

// Thrown as the reason a file is not a montage file.
struct Malformed {
    QString reason;
};

double numberIn(const Element& parent, const char* name, std::optional<double> fallback,
                const QString& where) {
    const Element* e = parent.child(name);
    if (e == nullptr) {
        if (fallback) {
            return *fallback;
        }
        throw Malformed{QStringLiteral("%1 has no \"%2\"").arg(where, QLatin1String(name))};
    }
    bool ok = false;
    const double v = e->text.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        throw Malformed{QStringLiteral("%1: \"%2\" is not a number (\"%3\")")
                            .arg(where, QLatin1String(name), e->text.left(40))};
    }
    return v;
}

QString hz(double v) { return QString::number(v, 'g', 6) + QStringLiteral(" Hz"); }

QString filterName(int type, double f1, double f2) {
    switch (type) {
    case 0:
        return QStringLiteral("high-pass at ") + hz(f1);
    case 1:
        return QStringLiteral("low-pass at ") + hz(f1);
    case 2:
        return QStringLiteral("notch at ") + hz(f1);
    case 3:
        return QStringLiteral("band-pass %1 to %2").arg(hz(f1), hz(f2));
    case 4:
        return QStringLiteral("band-stop %1 to %2").arg(hz(f1), hz(f2));
    default:
        return QStringLiteral("filter of type %1").arg(type);
    }
}

// Maps one "fidfilter" onto `line`, or says why it cannot.
void mapFilter(const Element& f, const QString& where, MontageLine& line, QStringList& notes) {
    const int type = static_cast<int>(numberIn(f, "type", std::nullopt, where));
    const double f1 = numberIn(f, "frequency", std::nullopt, where);
    const double f2 = numberIn(f, "frequency2", 0.0, where);
    const int order = static_cast<int>(numberIn(f, "order", 1.0, where));
    const int model = static_cast<int>(numberIn(f, "model", 0.0, where));
    const QString what = filterName(type, f1, f2);
    if (type == 2) {
        const bool fifty = std::fabs(f1 - 50.0) < 0.5;
        const bool sixty = std::fabs(f1 - 60.0) < 0.5;
        if ((fifty || sixty) && !line.notch) {
            line.notch = fifty ? LineNotch::Hz50 : LineNotch::Hz60;
            return;
        }
        notes << QStringLiteral("%1: %2 not mapped").arg(where, what);
        return;
    }
    std::optional<double>& own = type == 0 ? line.highPassHz : line.lowPassHz;
    if ((type == 0 || type == 1) && order == 1 && model == 0 && f1 > 0 && !own) {
        own = f1;
        return;
    }
    static const char* const kModels[] = {"Butterworth", "Chebyshev", "Bessel"};
    const QString kind = model >= 0 && model < 3 ? QLatin1String(kModels[model])
                                                 : QStringLiteral("model %1").arg(model);
    notes << QStringLiteral("%1: %2 (%3, order %4) not mapped").arg(where, what, kind).arg(order);
}

void mapLook(const Element& c, const QString& where, MontageLine& line, QStringList& notes) {
    const double polarity = numberIn(c, "polarity", 1.0, where);
    if (polarity != 1.0 && polarity != -1.0) {
        throw Malformed{
            QStringLiteral("%1: polarity %2 is neither 1 nor -1").arg(where).arg(polarity)};
    }
    line.inverted = polarity < 0;
    const int colour = static_cast<int>(numberIn(c, "color", kFirstColour, where));
    if (colour >= kFirstColour && colour < kFirstColour + static_cast<int>(kColours.size())) {
        line.colour = kColours[static_cast<size_t>(colour - kFirstColour)];
    } else {
        notes << QStringLiteral("%1: colour %2 not mapped (drawn black)").arg(where).arg(colour);
    }
    if (c.child("voltpercm") != nullptr) {
        const double gain = numberIn(c, "voltpercm", std::nullopt, where);
        if (gain >= 1.0 && gain <= 1e6) {
            line.gainUvPerCm = static_cast<int32_t>(std::lround(gain));
        } else {
            notes << QStringLiteral("%1: gain %2 per cm not mapped (as the page)")
                         .arg(where)
                         .arg(gain);
        }
    }
    const double offset = numberIn(c, "screen_offset", 0.0, where);
    if (offset != 0.0) {
        notes
            << QStringLiteral("%1: offset %2 from the baseline not mapped").arg(where).arg(offset);
    }
}

// One trace as a line; false (with a note) when it must be left out.
bool mapTrace(const Element& c, int number, MontageLine& line, QStringList& notes) {
    QString where = QStringLiteral("trace %1").arg(number);
    const auto sources = c.all("signal");
    const double count = numberIn(c, "num_of_signals", std::nullopt, where);
    if (count < 1 || count != static_cast<double>(sources.size())) {
        throw Malformed{QStringLiteral("%1: num_of_signals %2 but %3 signals")
                            .arg(where)
                            .arg(count)
                            .arg(sources.size())};
    }
    QString composed;
    bool byPlace = false;
    for (const Element* s : sources) {
        const double factor = numberIn(*s, "factor", std::nullopt, where);
        if (factor == 0.0) {
            throw Malformed{QStringLiteral("%1: a signal of factor 0").arg(where)};
        }
        const Element* label = s->child("label");
        if (label == nullptr || label->text.isEmpty()) {
            if (s->child("edfindex") == nullptr) {
                throw Malformed{
                    QStringLiteral("%1: a signal without label or edfindex").arg(where)};
            }
            byPlace = true;
            continue;
        }
        const QString name = label->text;
        composed +=
            (composed.isEmpty() ? (factor < 0 ? "-" : "") : (factor < 0 ? "-" : "+")) + name;
        line.terms.push_back({name.toStdString(), factor});
    }
    const Element* alias = c.child("alias");
    line.label =
        (alias != nullptr && !alias->text.isEmpty() ? alias->text : composed).toStdString();
    where += QStringLiteral(" (%1)").arg(QString::fromStdString(line.label));
    if (byPlace) {
        notes << QStringLiteral("%1: left out, a signal is named by its place in a file "
                                "(edfindex), not by its label")
                     .arg(where);
        return false;
    }
    mapLook(c, where, line, notes);
    for (const Element* f : c.all("fidfilter")) {
        mapFilter(*f, where, line, notes);
    }
    for (const Element* r : c.all("ravg_filter")) {
        const int type = static_cast<int>(numberIn(*r, "type", std::nullopt, where));
        const int size = static_cast<int>(numberIn(*r, "size", 0.0, where));
        notes << QStringLiteral("%1: moving-average %2 of %3 samples not mapped")
                     .arg(where,
                          type == 0 ? QStringLiteral("high-pass") : QStringLiteral("low-pass"))
                     .arg(size);
    }
    return true;
}

MtgImport mapDocument(const Element& root, const std::string& name) {
    MtgImport out;
    out.montage.name = name;
    const auto traces = root.all("signalcomposition");
    if (traces.empty()) {
        throw Malformed{QStringLiteral("no trace (signalcomposition) in it")};
    }
    int number = 0;
    for (const Element* c : traces) {
        MontageLine line;
        if (mapTrace(*c, ++number, line, out.notMapped)) {
            out.montage.lines.push_back(std::move(line));
        }
    }
    if (root.child("pagetime") != nullptr) {
        const double units = numberIn(root, "pagetime", std::nullopt, QStringLiteral("the file"));
        out.notMapped << QStringLiteral("page time of %1 s not taken (the page length stays)")
                             .arg(units / kPageTimeUnitsPerSecond);
    }
    return out;
}

} // namespace

bool importMtg(const QByteArray& bytes, const std::string& name, MtgImport& out, QString& error) {
    QXmlStreamReader xml(bytes);
    while (!xml.isStartElement() && !xml.atEnd()) {
        xml.readNext();
    }
    Element root;
    int count = 0;
    if (xml.hasError() || !xml.isStartElement() || !readElement(xml, root, 1, count)) {
        error = QStringLiteral("not XML (%1, line %2)")
                    .arg(xml.hasError() ? xml.errorString() : QStringLiteral("no element"))
                    .arg(xml.lineNumber());
        return false;
    }
    if (root.name != QLatin1String("EDFbrowser_montage")) {
        error = QStringLiteral("not a montage file (its root element is \"%1\")").arg(root.name);
        return false;
    }
    try {
        out = mapDocument(root, name);
    } catch (const Malformed& m) {
        error = m.reason;
        return false;
    }
    return true;
}

} // namespace viewer
