#pragma once
// A shown scroll bar 800 x 21 pixels at 96 dots per inch: 15 twips per pixel, 315-twip
// buttons, a track of 758 pixels (11370 twips) starting at pixel 21, range 0..100 with a page
// of 10, so the thumb is 1218 twips (81 pixels) wide and each unit is 112.8 twips.

#include "MyScrollBar.h"
#include "scrollbar_events.h"

#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace viewer::testing {

class ShownScrollBar : public ::testing::Test {
protected:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 21;
    static constexpr int kButton = 21;

    void SetUp() override {
        bar.resize(kWidth, kHeight);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
        ASSERT_EQ(bar.twipsPerPixelX(), 15.0) << "the expected figures assume 96 dots per inch";
        bar.setMax(100);
        bar.setLargeChange(10);
        events.clear();
    }

    QWidget* track() const { return bar.findChild<QWidget*>(QStringLiteral("Picture1")); }
    QFrame* thumb() const { return bar.findChild<QFrame*>(QStringLiteral("shape1")); }
    QPushButton* button(const char* name) const {
        return bar.findChild<QPushButton*>(QLatin1String(name));
    }

    // Mouse actions through the window, at pixel x of the track.
    QPoint onTrack(int x) const { return {kButton + x, kHeight / 2}; }
    void press(int x, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(bar.windowHandle(), b, {}, onTrack(x));
    }
    void move(int x) { QTest::mouseMove(bar.windowHandle(), onTrack(x)); }
    void release(int x, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(bar.windowHandle(), b, {}, onTrack(x));
    }
    void click(int x, Qt::MouseButton b = Qt::LeftButton) {
        press(x, b);
        release(x, b);
    }
    void clickButton(const char* name) {
        QPushButton* b = button(name);
        QTest::mouseClick(bar.windowHandle(), Qt::LeftButton, {},
                          b->mapTo(&bar, b->rect().center()));
    }

    MyScrollBar bar;
    ScrollBarEvents events{bar};
};

} // namespace viewer::testing
