#include "value_numbers.h"

namespace viewer {

uint16_t valueLineNumber(const ElectrodeRecord& e, int32_t raw) {
    const uint32_t divisor = static_cast<uint32_t>(e.logicMax) - static_cast<uint32_t>(e.logicMin);
    if (divisor == 0) {
        return 0;
    }
    const uint32_t product =
        (static_cast<uint32_t>(e.physicalMax) - static_cast<uint32_t>(e.physicalMin)) *
        static_cast<uint32_t>(raw);
    return static_cast<uint16_t>(product / divisor);
}

} // namespace viewer
