#pragma once
// Brings the page layer back to the static layer before a page's traces are drawn over it.
// When the page layer still holds the static layer with the last drawing over it (nothing
// else has written to either since), only the 16-pixel pieces of rows that drawing changed
// are copied back, band by band just ahead of the new drawing, so that the traces draw into
// rows the copy has just brought into the cache: a page step then moves a fraction of the
// layer's memory instead of all of it. Otherwise the whole layer is copied at once.

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

namespace viewer {

class LayerRefresh {
public:
    static constexpr int kPiecePixels = 16; // 64 bytes of an RGB32 row
    static constexpr size_t kPieceBytes = kPiecePixels * 4;

    // Starts a drawing of `layer` over `background`. Layers that differ in size, format or
    // row length are left as they are (and nothing is marked).
    void begin(QImage& layer, const QImage& background);

    // Brings every row up to and including `row` back, when not done yet in this drawing.
    // (After a whole copy every row is.)
    void through(int64_t row);

    // The drawing changed pixels x, y0 .. y1 (inside the layer, y0 <= y1), or the pixels of
    // `area` (clipped to the layer). Rows marked must have been brought back already.
    void mark(int x, int y0, int y1) {
        Marker marker = this->marker(x, y0);
        for (int y = y0; y <= y1; ++y, marker.next()) {
            marker.mark();
        }
    }
    void mark(const QRect& area);

    // Marks pixels of column x from row y0 down, one row at a time, in step with a loop that
    // writes them (when the refresh is not on, its marks land in a word of its own).
    struct Marker {
        uint64_t* word;
        uint64_t bit;
        size_t step;

        void mark() const { *word |= bit; }
        void next() { word += step; }
    };
    Marker marker(int x, int y0) {
        if (!active_) {
            return {&spare_, 0, 0};
        }
        const auto piece = static_cast<size_t>(x / kPiecePixels);
        return {dirty_.data() + static_cast<size_t>(y0) * words_ + piece / 64,
                uint64_t{1} << (piece % 64), words_};
    }

    // Ends the drawing: the rows left are brought back, and what the layers hold is noted
    // for the next drawing. Call it once nothing else writes to the layer in this drawing.
    void end(const QImage& layer, const QImage& background);

private:
    void copyRow(int row);

    std::vector<uint64_t> dirty_; // one bit per piece, `words_` words per row
    size_t words_ = 0;
    int width_ = 0;
    int rows_ = 0;
    qsizetype stride_ = 0;
    const uchar* from_ = nullptr;
    uchar* to_ = nullptr;
    int done_ = 0;        // rows brought back in this drawing
    bool active_ = false; // a drawing is on, over a background of the layer's layout
    qint64 layerKey_ = 0; // the layers' cache keys when the last drawing ended
    qint64 backgroundKey_ = 0;
    uint64_t spare_ = 0; // where an inactive refresh's marker marks
};

} // namespace viewer
