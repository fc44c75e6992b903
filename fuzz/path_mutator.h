// Seeded variations of the simulator key's "path" value: each registry type
// the value may come as, lengths around and past the 260-byte path block,
// missing terminators and runs of trailing backslashes; now and then the key
// itself absent, or without its "PlayerName".
#pragma once
#include <optional>
#include <string>

#include "fuzz/wave_mutator.h"
#include "standin/environment/simulator_key.h"

namespace fuzz {

struct path_variant {
    std::string description;
    standin::registry_value value;
    bool key = true;          // false: no simulator key at all
    bool player_name = true;  // false: the key without "PlayerName"
};

// A variant naming `folder` (a real folder holding Sound\click.wav) or
// something else.
path_variant mutate_path(const std::string& folder, random_source& random);

// The clip file the module is to open for a variant, from the value's bytes
// read as text; nullopt when the key or the value gives no usable folder.
std::optional<std::string> clip_path_for(const path_variant& variant);

}  // namespace fuzz
