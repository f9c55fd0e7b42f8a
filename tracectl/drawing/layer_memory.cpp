#include "layer_memory.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace viewer {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

void release(void* pixels) { std::free(pixels); }

} // namespace

QImage layerImage(QSize size, QImage::Format format) {
    if (size.isEmpty()) {
        return {};
    }
    const auto bytesPerLine = static_cast<size_t>(size.width()) * 4;
    const size_t bytes = bytesPerLine * static_cast<size_t>(size.height());
    if (bytes < kHugePage) {
        return QImage(size, format); // a small layer: a huge page would mostly be waste
    }
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* pixels = std::aligned_alloc(kHugePage, rounded);
    if (pixels == nullptr) {
        return {};
    }
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(pixels, rounded, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar*>(pixels), size.width(), size.height(),
                  static_cast<qsizetype>(bytesPerLine), format, release, pixels);
}

} // namespace viewer
