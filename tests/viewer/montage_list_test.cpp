// The standard and the user's montages in the main window: the montage list and its
// headings, Alt+1 ... Alt+9, and the montage folder read again when it changes.

#include "MontageFolder.h"
#include "MontageList.h"
#include "viewer_fixture.h"

#include <QDir>
#include <QFile>
#include <QMenu>

namespace viewer::testing {
namespace {

class Montages : public ProgramTest {
protected:
    QString folder() const { return QString::fromStdString(settingsDir.file("Viewer/montages")); }
    void put(const QString& name, const QByteArray& text) {
        QDir().mkpath(folder());
        QFile file(folder() + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    static QByteArray handMade(const char* label) {
        return QByteArray(R"({"name": "Hand made", "lines": [{"label": ")") + label +
               R"(", "terms": [{"electrode": "O1", "weight": 1}]}]})";
    }
    void pressAlt(int digit) {
        const QKeySequence keys(Qt::ALT | static_cast<Qt::Key>(Qt::Key_0 + digit));
        for (QAction* a : window().actions()) {
            if (a->shortcut() == keys) {
                a->trigger();
            }
        }
    }
};

TEST_F(Montages, TheListOffersThemUnderHeadingsAndAltKeysChooseThem) {
    put("hand.json", handMade("O1 alone"));
    open(montageRecording(60, false));
    QComboBox& list = *window().cmbViewMode();
    ASSERT_EQ(list.count(), 11);
    EXPECT_EQ(list.itemText(3), "Standard montages");
    EXPECT_EQ(list.itemText(9), "My montages");
    EXPECT_EQ(list.itemText(10), " Hand made");
    EXPECT_EQ(window().montages().menu().actions().size(), 11 + 4)
        << "entries and sections, then Edit montages…, Import… and Export… after a separator";

    scroll().setValue(20);
    int before = draws;
    pressAlt(4); // the fourth montage: headings are not counted
    EXPECT_EQ(trace().ownMontageName(), "Double banana");
    EXPECT_EQ(list.currentText(), " Double banana");
    EXPECT_EQ(trace().lineLabel(0), "Fp1-F7");
    EXPECT_GT(draws, before);
    EXPECT_EQ(trace().recording().pageStart, 20 * 256u);
    pressAlt(2);
    EXPECT_EQ(trace().numMont(), 30) << "the recording's montages keep their numbers";
    EXPECT_TRUE(trace().ownMontageName().isEmpty());

    pressAlt(9); // the montage file
    EXPECT_EQ(trace().lineLabel(0), "O1 alone");
    before = draws;
    put("hand.json", handMade("O1 edited"));
    window().montages().folder().reload();
    EXPECT_EQ(trace().lineLabel(0), "O1 edited") << "the montage on screen is read again";
    EXPECT_GT(draws, before);
}

TEST_F(Montages, AMalformedFileIsNamedOnceAndSkipped) {
    QStringList reports;
    window().montages().folder().setReporter([&reports](const QString& r) { reports << r; });
    put("hand.json", handMade("O1"));
    put("broken.json", "{\"name\": ");
    window().montages().folder().reload();
    window().montages().folder().reload();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains("broken.json: not JSON"));
    ASSERT_EQ(window().montages().folder().contents().montages.size(), 1u);
    open(programRecording(10));
    EXPECT_EQ(window().cmbViewMode()->itemText(8), " Hand made");
}

} // namespace
} // namespace viewer::testing
