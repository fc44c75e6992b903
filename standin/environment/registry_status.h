// A registry call's status turned into an exception that says what failed.
#pragma once
#include <windows.h>

#include <stdexcept>
#include <string>

namespace standin {

// Throws std::runtime_error "`what` (error N)" unless `status` is ERROR_SUCCESS.
inline void check(LONG status, const std::string& what) {
    if (status != ERROR_SUCCESS) throw std::runtime_error(what + " (error " + std::to_string(status) + ")");
}

}  // namespace standin
