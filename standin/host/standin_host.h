// The stand-in host: loads a panel-gauge module (.gau) as the simulator
// does, provides the environment the gauge expects, serves its calls through
// the service table, and drives, draws and clicks it. Everything the module
// asks of the host is kept for inspection.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/module_records.h"
#include "standin/environment/install_folder.h"
#include "standin/environment/main_window.h"
#include "standin/environment/simulator_key.h"
#include "standin/host/host_options.h"
#include "standin/log/call_log.h"
#include "standin/services/mouse_table.h"
#include "standin/services/panel_variables.h"
#include "standin/services/picture_elements.h"
#include "standin/services/service_host.h"
#include "standin/services/service_table.h"

namespace standin {

struct key_event {
    uint32_t event;
    uint32_t value;
};

class host : private service_host {
public:
    // Sets up the environment. Throws std::runtime_error if it can't, or
    // std::logic_error while another host exists.
    explicit host(host_options options = {});
    ~host();                         // unloads the module, tears the environment down
    host(const host&) = delete;
    host& operator=(const host&) = delete;

    // Loads the module and runs its module_init. Throws std::runtime_error
    // when the file can't be loaded or lacks Linkage, ImportTable or a gauge.
    void load(const std::string& gau_path);
    // The same for a module already loaded with load_module_file, which the
    // host then owns (and frees, on failure too).
    void load(HMODULE module, const std::string& gau_path);
    // module_deinit and FreeLibrary; a gauge still installed is killed
    // first, as the simulator does, however the run ends.
    void unload();
    bool loaded() const { return module_ != nullptr; }

    // The gauge's lifecycle routines; each throws std::logic_error with no module loaded.
    void query();
    void install();                  // passes the module handle as the resource file
    void initialize();
    void update();
    void generate(uint32_t phase);
    void draw();
    void kill();                     // runs whether or not the gauge is installed
    void frame(uint32_t phase = 0);  // update, generate, draw

    // A left press at (x, y) in gauge pixels: the index of the mouse record
    // whose handler ran, or -1. Throws std::logic_error with no module loaded.
    int click(int x, int y);
    // The same press at the centre of detent k's box: the k-th hot spot of
    // the mouse table, mark k on the dimmer. Throws std::out_of_range when
    // the table has no hot spot k.
    int click_detent(int k);

    // The host call the module is running, as a report names it: "module_init",
    // "initialize", "the mouse handler of detent 3"; empty between calls.
    const std::string& call_in_progress() const { return call_in_progress_; }

    // A line of the embedding program's own in the log, e.g. what it saw of the sound.
    void note(const std::string& line);

    void set_panel_lights(double value);
    // Any setting but 0 becomes 0; 0 becomes 1.
    void switch_panel_lights() { set_panel_lights(panel_lights() != 0.0 ? 0.0 : 1.0); }
    double panel_lights() const { return variables_.panel_lights(); }

    // The module.
    HMODULE module() const { return module_; }
    linkage_record* linkage() const { return linkage_; }
    import_table_record* import_table() const { return import_table_; }
    gauge_header_record* gauge() const { return gauge_; }

    // What the module did.
    const std::vector<service_call>& calls() const { return log_.calls(); }
    std::size_t call_count(std::string_view service) const { return log_.count(service); }
    const std::vector<std::string>& log_lines() const { return log_.lines(); }
    std::string log_text() const { return log_.text(); }
    const std::vector<std::string>& errors() const { return log_.errors(); }
    const std::vector<key_event>& key_events() const { return key_events_; }

    const std::vector<element_state>& elements() const { return elements_.elements(); }
    const element_state* element(const element_header* e) const { return elements_.find(e); }
    const index_picture& picture() const { return elements_.picture(); }
    const mouse_table& mouse() const { return mouse_; }

    uint8_t ligar_byte() const { return variables_.ligar_byte(); }
    bool ligar_guards_intact() const { return variables_.ligar_guards_intact(); }
    const std::vector<uint8_t>& ligar_writes() const { return variables_.ligar_writes(); }

    // The environment.
    HWND main_window_handle() const { return window_ ? window_->handle() : nullptr; }
    std::string install_folder_path() const { return folder_.path(); }

private:
    // What the service entry points reach.
    void observe() override;
    call_log& service_log() override { return log_; }
    picture_elements& element_lists() override { return elements_; }
    mouse_table& mouse_lists() override { return mouse_; }
    panel_variables& variables() override { return variables_; }
    void take_key_event(uint32_t event, uint32_t value) override { key_events_.push_back({event, value}); }
    void abandon_environment() override;

    gauge_header_record& loaded_gauge(const char* routine);
    template <typename Routine, typename... Args>
    void run(const std::string& call, Routine routine, Args... args);

    host_options options_;
    call_log log_;
    active_host_guard active_;
    install_folder folder_;
    simulator_key key_;
    std::optional<main_window> window_;
    panel_variables variables_;
    picture_elements elements_;
    mouse_table mouse_;
    std::vector<key_event> key_events_;

    std::string call_in_progress_;
    HMODULE module_ = nullptr;
    linkage_record* linkage_ = nullptr;
    import_table_record* import_table_ = nullptr;
    gauge_header_record* gauge_ = nullptr;
    bool installed_ = false;         // install has run since the last kill
};

}  // namespace standin
