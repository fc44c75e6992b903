// What the stand-in host offers the gauge. Everything is on by default, as
// on a simulator install; tests switch pieces off one at a time.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "standin/environment/simulator_key.h"
#include "standin/log/call_log.h"

namespace standin {

// click.wav beside the running program, where the build puts a copy.
std::string default_click_source();

struct host_options {
    double panel_lights = 1.0;                 // value of host variable 10

    bool main_window = true;                   // a hidden FS98MAIN window

    bool registry_key = true;                  // the simulator key at all
    std::optional<std::string> player_name = "Pilot";   // nullopt: "PlayerName" left out
    bool path_value = true;                    // false: "path" left out
    // Raw "path" data instead of the install folder (with trailing '\') as REG_SZ.
    std::optional<registry_value> path_override;

    // Copied to <install folder>\Sound\click.wav; nullopt: no click.wav.
    std::optional<std::string> click_source = default_click_source();

    bool publish_ligar = true;                 // the other gauge publishes "ligar"
    uint8_t ligar_initial = 0;

    log_sink sink;                             // receives each log line as it is made
    bool keep_log = true;                      // false: calls() and log_lines() stay empty
    bool log_frames = true;                    // false: frames leave no lines, only errors
    // Runs after LoadLibrary and before module_init, e.g. to patch the module's imports.
    std::function<void(HMODULE)> before_module_init;
    // Runs whenever the host looks at what the module changed: after each
    // routine and handler, and as each service call comes in.
    std::function<void()> after_module_step;
};

}  // namespace standin
