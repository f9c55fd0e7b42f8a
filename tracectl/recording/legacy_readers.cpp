#include "header_readers.h"

namespace viewer {

bool readLegacy(Recording& rec, uint8_t headerType) {
    return headerType <= 1 ? readType01(rec, headerType) : readType23(rec, headerType);
}

} // namespace viewer
