#pragma once
// Records what a scroll bar reports: each change with the Value and ChangeType seen at that
// moment, and each tool-tip position.

#include "MyScrollBar.h"

#include <QObject>

#include <cstdint>
#include <vector>

namespace viewer::testing {

struct ScrollBarEvents {
    std::vector<double> valueAtChange;
    std::vector<int16_t> typeAtChange;
    std::vector<float> tips;

    explicit ScrollBarEvents(MyScrollBar& bar) {
        QObject::connect(&bar, &MyScrollBar::change, &bar, [this, &bar] {
            valueAtChange.push_back(bar.Value());
            typeAtChange.push_back(bar.ChangeType());
        });
        QObject::connect(&bar, &MyScrollBar::ChangeToolTip, &bar,
                         [this](float& v) { tips.push_back(v); });
    }
    size_t changes() const { return valueAtChange.size(); }
    void clear() {
        valueAtChange.clear();
        typeAtChange.clear();
        tips.clear();
    }
};

} // namespace viewer::testing
