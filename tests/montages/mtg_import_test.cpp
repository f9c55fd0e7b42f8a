// Another reviewer's ".mtg" montage files: each setting mapped onto the line or reported, and
// files that are not such files refused with the reason.

#include "mtg_import.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

QByteArray file(const QByteArray& traces) {
    return "<?xml version=\"1.0\"?>\n<EDFbrowser_montage>" + traces +
           "<pagetime>100000000</pagetime></EDFbrowser_montage>\n";
}

QByteArray trace(const QByteArray& sources, const QByteArray& more = {}) {
    return "<signalcomposition><num_of_signals>" + QByteArray::number(sources.count("<signal>")) +
           "</num_of_signals>" + sources + more + "</signalcomposition>";
}

QByteArray source(const char* label, const char* factor) {
    return QByteArray("<signal><label>") + label + "</label><factor>" + factor +
           "</factor></signal>";
}

QByteArray filter(int type, double f, int order, int model) {
    return "<fidfilter><type>" + QByteArray::number(type) + "</type><frequency>" +
           QByteArray::number(f) +
           "</frequency><frequency2>0</frequency2><ripple>1</ripple><order>" +
           QByteArray::number(order) + "</order><model>" + QByteArray::number(model) +
           "</model></fidfilter>";
}

MtgImport imported(const QByteArray& traces) {
    MtgImport out;
    QString error;
    EXPECT_TRUE(importMtg(file(traces), "Theirs", out, error)) << error.toStdString();
    return out;
}

TEST(MtgImport, MapsTermsLookGainAndFirstOrderFilters) {
    const QByteArray bipolar = source("EEG Fp1-REF     ", "1") + source("EEG F7-REF", "-1");
    const MtgImport out = imported(
        trace(bipolar, "<voltpercm>70</voltpercm><screen_offset>0</screen_offset><polarity>-1"
                       "</polarity><color>15</color>" +
                           filter(0, 0.5, 1, 0) + filter(1, 35, 1, 0) + filter(2, 60, 20, 0)) +
        trace(source("Cz", "1") + source("C3", "-0.5") + source("C4", "-0.5"),
              "<alias>Cz-mean</alias><voltpercm>0.1</voltpercm><color>2</color>"));
    EXPECT_EQ(out.montage.name, "Theirs");
    ASSERT_EQ(out.montage.lines.size(), 2u);
    MontageLine first;
    first.label = "EEG Fp1-REF-EEG F7-REF";
    first.terms = {{"EEG Fp1-REF", 1}, {"EEG F7-REF", -1}};
    first.colour = 0x000080u;
    first.inverted = true;
    first.gainUvPerCm = 70;
    first.highPassHz = 0.5;
    first.lowPassHz = 35.0;
    first.notch = LineNotch::Hz60;
    EXPECT_EQ(out.montage.lines[0], first);
    const MontageLine& second = out.montage.lines[1];
    EXPECT_EQ(second.label, "Cz-mean");
    EXPECT_EQ(second.terms, (std::vector<MontageTerm>{{"Cz", 1}, {"C3", -0.5}, {"C4", -0.5}}));
    EXPECT_EQ(second.colour, 0x000000u);
    EXPECT_FALSE(second.gainUvPerCm) << "0.1 per cm is not a gain in µV: reported";
    EXPECT_EQ(out.notMapped,
              QStringList({"trace 2 (Cz-mean): gain 0.1 per cm not mapped (as the page)",
                           "page time of 10 s not taken (the page length stays)"}));
}

TEST(MtgImport, ReportsWhatItCannotMapAndLeavesOutLinesByFilePlace) {
    const QByteArray one = source("O1", "1");
    const MtgImport out =
        imported(trace(one, filter(0, 1, 2, 0) + filter(1, 30, 1, 1) + filter(2, 55, 20, 0) +
                                filter(3, 1, 1, 0) + filter(0, 0.3, 1, 0) + filter(0, 0.5, 1, 0) +
                                "<ravg_filter><type>1</type><size>8</size></ravg_filter>"
                                "<screen_offset>20</screen_offset><color>40</color>") +
                 trace(one + "<signal><edfindex>3</edfindex><factor>-1</factor></signal>"));
    ASSERT_EQ(out.montage.lines.size(), 1u);
    EXPECT_EQ(out.montage.lines[0].highPassHz, 0.3) << "the first first-order high-pass";
    EXPECT_FALSE(out.montage.lines[0].lowPassHz);
    EXPECT_FALSE(out.montage.lines[0].notch);
    EXPECT_FALSE(out.montage.lines[0].colour);
    EXPECT_EQ(out.notMapped,
              QStringList({"trace 1 (O1): colour 40 not mapped (drawn black)",
                           "trace 1 (O1): offset 20 from the baseline not mapped",
                           "trace 1 (O1): high-pass at 1 Hz (Butterworth, order 2) not mapped",
                           "trace 1 (O1): low-pass at 30 Hz (Chebyshev, order 1) not mapped",
                           "trace 1 (O1): notch at 55 Hz not mapped",
                           "trace 1 (O1): band-pass 1 Hz to 0 Hz (Butterworth, order 1) not mapped",
                           "trace 1 (O1): high-pass at 0.5 Hz (Butterworth, order 1) not mapped",
                           "trace 1 (O1): moving-average low-pass of 8 samples not mapped",
                           "trace 2 (O1): left out, a signal is named by its place in a file "
                           "(edfindex), not by its label",
                           "page time of 10 s not taken (the page length stays)"}));
}

TEST(MtgImport, RefusesFilesThatAreNotMontagesWithTheReason) {
    const std::pair<QByteArray, const char*> cases[] = {
        {"<EDFbrowser_montage><signalcomposition>", "not XML ("},
        {"", "not XML ("},
        {"<montage/>", "not a montage file (its root element is \"montage\")"},
        {file(""), "no trace (signalcomposition) in it"},
        {file("<signalcomposition><num_of_signals>2</num_of_signals>" + source("O1", "1") +
              "</signalcomposition>"),
         "trace 1: num_of_signals 2 but 1 signals"},
        {file(trace(source("O1", "0"))), "trace 1: a signal of factor 0"},
        {file(trace(source("O1", "one"))), "trace 1: \"factor\" is not a number (\"one\")"},
        {file(trace(source("O1", "1"), "<polarity>2</polarity>")),
         "trace 1 (O1): polarity 2 is neither 1 nor -1"},
        {file(trace("<signal><factor>1</factor></signal>")),
         "trace 1: a signal without label or edfindex"},
    };
    for (const auto& [bytes, reason] : cases) {
        MtgImport out;
        out.montage.name = "untouched";
        QString error;
        EXPECT_FALSE(importMtg(bytes, "x", out, error)) << bytes.toStdString();
        EXPECT_TRUE(error.startsWith(reason)) << error.toStdString();
        EXPECT_EQ(out.montage.name, "untouched");
    }
}

} // namespace
} // namespace viewer::testing
