// The trend panel in the main window: computed for the open recording, kept in the cache for
// the next opening, and a click or a drag in it moving the page there through the scroll bar.

#include "TrendsPanel.h"
#include "TrendsRunner.h"
#include "TrendsTools.h"
#include "trend_recordings.h"
#include "viewer_fixture.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTime>

#include <cmath>
#include <numbers>

namespace viewer::testing {
namespace {

class TrendsPanelTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(cacheDir.path().string()));
    }
    void openTenTwenty() {
        if (path.isEmpty()) {
            path = write("trends.vwr", tenTwentyRecording(256, 600, [](double t, int e) {
                             return 30.0 * std::sin(2.0 * std::numbers::pi * (8.0 + e % 5) * t);
                         }));
        }
        start();
        window().resize(1400, 900);
        window().show();
        window().OpenTrace(path);
        // View > Trends, the first time; the window keeps it shown after.
        if (!window().trends().panel().isVisible()) {
            window().findChild<QAction*>("mnuTrends")->trigger();
        }
    }
    TrendsRunner& runner() { return window().trends().runner(); }
    bool waitComplete() {
        for (int i = 0; i < 600 && !runner().complete(); ++i) {
            QTest::qWait(50);
        }
        return runner().complete();
    }
    TempDir cacheDir;
    QString path;
};

TEST_F(TrendsPanelTest, ClickAndDragMoveThePageAndReopeningTakesTheCache) {
    openTenTwenty();
    ASSERT_TRUE(waitComplete());
    EXPECT_FALSE(runner().fromCache());
    EXPECT_EQ(runner().data().segments, 60);
    EXPECT_EQ(runner().data().montage, "Double banana");

    TrendsCanvas& canvas = *window().trends().panel().canvas();
    QTest::qWait(600); // the picture drawn once the last block is in
    const TrendsLayout layout(canvas.rect(), QFontMetrics(trendsFont()).height());
    const int y = layout.regions[0].center().y();
    const int at300 = layout.xAt(300.0, canvas.view());
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(at300, y));
    const double expected = std::floor(canvas.secondsAt(at300));
    EXPECT_NEAR(expected, 300.0, 1.0);
    EXPECT_EQ(scroll().Value(), expected);
    EXPECT_EQ(window().posSec(), static_cast<int32_t>(expected));

    // A drag follows the mouse; hovering names the clock time and the values there.
    const int at120 = layout.xAt(120.0, canvas.view());
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(at300, y));
    QMouseEvent drag(QEvent::MouseMove, QPointF(at120, y), canvas.mapToGlobal(QPointF(at120, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &drag);
    EXPECT_EQ(window().posSec(), static_cast<int32_t>(std::floor(canvas.secondsAt(at120))));
    const QString clock =
        QTime(9, 30).addSecs(static_cast<int>(canvas.secondsAt(at120))).toString("HH:mm:ss");
    EXPECT_TRUE(window().trends().panel().values()->text().startsWith(clock + " · "))
        << window().trends().panel().values()->text().toStdString();
    EXPECT_TRUE(window().trends().panel().values()->text().contains("Left temporal"));

    // The next opening of the same recording shows the trends kept at once.
    closeWindow();
    openTenTwenty();
    EXPECT_TRUE(runner().fromCache());
    EXPECT_TRUE(runner().complete());
}

} // namespace
} // namespace viewer::testing
