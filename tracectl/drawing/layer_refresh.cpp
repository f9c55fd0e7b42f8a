#include "layer_refresh.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace viewer {

void LayerRefresh::begin(QImage& layer, const QImage& background) {
    active_ = !layer.isNull() && background.size() == layer.size() &&
              background.format() == layer.format() && layer.depth() == 32 &&
              background.bytesPerLine() == layer.bytesPerLine();
    if (!active_) {
        return;
    }
    const size_t words =
        (static_cast<size_t>(layer.width()) + 64 * kPiecePixels - 1) / (64 * kPiecePixels);
    const size_t size = words * static_cast<size_t>(layer.height());
    // The cache keys change with every write to an image, through a painter or its bits.
    const bool piecesOnly = layerKey_ == layer.cacheKey() &&
                            backgroundKey_ == background.cacheKey() && words_ == words &&
                            dirty_.size() == size;
    if (!piecesOnly) {
        dirty_.assign(size, 0);
    }
    words_ = words;
    width_ = layer.width();
    rows_ = layer.height();
    stride_ = layer.bytesPerLine();
    from_ = background.constBits();
    to_ = layer.bits();
    done_ = 0;
    if (!piecesOnly) {
        // All of it: one copy moves the memory fastest.
        std::memcpy(to_, from_, static_cast<size_t>(stride_) * static_cast<size_t>(rows_));
        done_ = rows_;
    }
}

void LayerRefresh::copyRow(int row) {
    const size_t offset = static_cast<size_t>(row) * static_cast<size_t>(stride_);
    uint64_t* words = dirty_.data() + static_cast<size_t>(row) * words_;
    // Whole pieces are copied with a fixed size, which the compiler does in place of a call;
    // only a piece cut by the layer's right edge is shorter.
    const auto wholePieces = static_cast<size_t>(width_ / kPiecePixels);
    for (size_t w = 0; w < words_; ++w) {
        uint64_t bits = words[w];
        words[w] = 0;
        for (; bits != 0; bits &= bits - 1) {
            const size_t piece = w * 64 + static_cast<size_t>(std::countr_zero(bits));
            const size_t at = offset + piece * kPieceBytes;
            if (piece < wholePieces) {
                std::memcpy(to_ + at, from_ + at, kPieceBytes);
            } else {
                const auto rest = static_cast<size_t>(width_ % kPiecePixels) * 4;
                std::memcpy(to_ + at, from_ + at, rest);
            }
        }
    }
}

void LayerRefresh::through(int64_t row) {
    const int end = static_cast<int>(std::clamp<int64_t>(row + 1, 0, rows_));
    for (; active_ && done_ < end; ++done_) {
        copyRow(done_);
    }
}

void LayerRefresh::mark(const QRect& area) {
    const QRect inside = area & QRect(0, 0, width_, rows_);
    if (!active_ || inside.isEmpty()) {
        return;
    }
    for (int x = inside.left(); x <= inside.right(); x += kPiecePixels) {
        mark(x, inside.top(), inside.bottom());
    }
    mark(inside.right(), inside.top(), inside.bottom());
}

void LayerRefresh::end(const QImage& layer, const QImage& background) {
    if (!active_) {
        layerKey_ = backgroundKey_ = 0;
        return;
    }
    through(rows_ - 1);
    active_ = false;
    layerKey_ = layer.cacheKey();
    backgroundKey_ = background.cacheKey();
}

} // namespace viewer
