#include "standin/faults/records.h"

namespace faults {

std::ostream& operator<<(std::ostream& out, const held_resources& held) {
    return out << "{blocks " << held.blocks << ", bytes " << held.bytes << ", locks " << held.locks
               << ", keys " << held.keys << ", files " << held.files << ", devices "
               << held.devices << ", buffers " << held.buffers << "}";
}

}  // namespace faults
