#include "standin/ledger/records.h"

namespace faults {

std::string held_text(const held_resources& held) {
    return "{blocks " + std::to_string(held.blocks) + ", bytes " + std::to_string(held.bytes) + ", locks " +
           std::to_string(held.locks) + ", keys " + std::to_string(held.keys) + ", files " +
           std::to_string(held.files) + ", devices " + std::to_string(held.devices) + ", buffers " +
           std::to_string(held.buffers) + "}";
}

std::ostream& operator<<(std::ostream& out, const held_resources& held) { return out << held_text(held); }

}  // namespace faults
