#include "standin/host/standin_host.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

#include "standin/host/module_file.h"
#include "standin/log/value_text.h"

namespace standin {

namespace {

std::optional<registry_values> key_contents(const host_options& options,
                                            const install_folder& folder) {
    if (!options.registry_key) return std::nullopt;
    registry_values values;
    if (options.player_name) values.push_back({"PlayerName", registry_text(*options.player_name)});
    if (options.path_value)
        values.push_back({"path", options.path_override ? *options.path_override
                                                        : registry_text(folder.path() + "\\")});
    return values;
}

std::string address(const void* pointer) { return hex_text(reinterpret_cast<uintptr_t>(pointer)); }

// Names the host call in progress for as long as it runs.
class call_scope {
public:
    call_scope(std::string& slot, std::string call) : slot_(slot), before_(std::exchange(slot, std::move(call))) {}
    ~call_scope() { slot_ = std::move(before_); }
    call_scope(const call_scope&) = delete;
    call_scope& operator=(const call_scope&) = delete;

private:
    std::string& slot_;
    std::string before_;
};

}  // namespace

host::host(host_options options)
    : options_(std::move(options)),
      log_(options_.sink, options_.keep_log),
      active_(*this),
      folder_(options_.click_source),
      key_(key_contents(options_, folder_)),
      variables_(log_, options_.panel_lights, options_.publish_ligar, options_.ligar_initial),
      elements_(log_),
      mouse_(log_) {
    if (options_.main_window) window_.emplace();
    log_.line("host: install folder " + folder_.path() +
              (options_.click_source ? ", click.wav from " + *options_.click_source
                                     : ", no click.wav"));
    log_.line(std::string("host: ") +
              (options_.registry_key ? "simulator key set (HKEY_LOCAL_MACHINE redirected to a private key)"
                                     : "no simulator key") +
              (window_ ? ", FS98MAIN window " + address(window_->handle()) : ", no FS98MAIN window") +
              ", panel lights " + number_text(options_.panel_lights));
}

host::~host() {
    try {
        unload();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
    }
}

void host::load(const std::string& gau_path) {
    if (module_) throw std::logic_error("a module is loaded already");
    load(load_module_file(gau_path), gau_path);
}

void host::load(HMODULE module, const std::string& gau_path) {
    if (module_) {
        FreeLibrary(module);
        throw std::logic_error("a module is loaded already");
    }
    auto* linkage = reinterpret_cast<linkage_record*>(GetProcAddress(module, "Linkage"));
    auto* imports = reinterpret_cast<import_table_record*>(GetProcAddress(module, "ImportTable"));
    if (!linkage || !imports) {
        FreeLibrary(module);
        throw std::runtime_error(gau_path + " does not export " +
                                 (linkage ? "ImportTable" : "Linkage"));
    }
    module_ = module;
    linkage_ = linkage;
    import_table_ = imports;
    log_.line("load " + gau_path + " at " + address(module));
    if (linkage->identifier != linkage_identifier)
        log_.error("Linkage identifier " + hex_text(linkage->identifier));
    if (imports->identifier != service_table_identifier)
        log_.error("ImportTable identifier " + hex_text(imports->identifier));
    imports->services = service_table();
    if (options_.before_module_init) options_.before_module_init(module);
    run("module_init", linkage->module_init);
    gauge_ = linkage->gauges[0];
    if (!gauge_) {
        unload();
        throw std::runtime_error(gau_path + " lists no gauge in its Linkage");
    }
    if (gauge_->version != gauge_header_version)
        log_.error("gauge header version " + std::to_string(gauge_->version));
}

void host::unload() {
    if (!module_) return;
    if (installed_) kill();
    run("module_deinit", linkage_->module_deinit);
    const BOOL freed = FreeLibrary(module_);
    module_ = nullptr;
    linkage_ = nullptr;
    import_table_ = nullptr;
    gauge_ = nullptr;
    log_.line("unload");
    if (!freed) log_.error("FreeLibrary failed (error " + std::to_string(GetLastError()) + ")");
}

void host::abandon_environment() {
    try {
        key_.remove();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "standin: %s\n", e.what());
    }
    folder_.remove();
}

gauge_header_record& host::loaded_gauge(const char* routine) {
    if (!gauge_) throw std::logic_error(std::string(routine) + " with no module loaded");
    return *gauge_;
}

template <typename Routine, typename... Args>
void host::run(const std::string& call, Routine routine, Args... args) {
    log_.line("> " + call);
    if (!routine) {
        log_.line("  (the module has no such routine)");
        return;
    }
    {
        const call_scope running(call_in_progress_, call);
        routine(args...);
    }
    observe();
}

void host::query() { run("query", loaded_gauge("query").query); }

void host::install() {
    const auto resource_file = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module_));
    installed_ = true;
    run("install(resource_file=" + hex_text(resource_file) + ")", loaded_gauge("install").install,
        resource_file);
}

void host::initialize() { run("initialize", loaded_gauge("initialize").initialize); }
void host::update() { run("update", loaded_gauge("update").update); }

void host::generate(uint32_t phase) {
    run("generate(phase=" + std::to_string(phase) + ")", loaded_gauge("generate").generate, phase);
}

void host::draw() { run("draw", loaded_gauge("draw").draw); }
void host::kill() {
    run("kill", loaded_gauge("kill").kill);
    installed_ = false;
}

void host::frame(uint32_t phase) {
    const call_log::quiet_while hush(log_, !options_.log_frames);
    update();
    generate(phase);
    draw();
}

void host::observe() {
    variables_.observe();
    if (options_.after_module_step) options_.after_module_step();
}

void host::note(const std::string& line) { log_.line(line); }

int host::click(int x, int y) {
    loaded_gauge("click");
    const std::optional<hot_spot_hit> hit = mouse_.hit_test(x, y);
    const call_scope running(call_in_progress_, hit ? "the mouse handler of detent " + std::to_string(hit->detent)
                                                    : "click(" + std::to_string(x) + "," + std::to_string(y) + ")");
    return mouse_.click(x, y, [this] { observe(); });
}

int host::click_detent(int k) {
    loaded_gauge("click_detent");
    const std::optional<click_point> centre = mouse_.detent_centre(k);
    if (!centre)
        throw std::out_of_range("no detent " + std::to_string(k) + ": the mouse table has " +
                                std::to_string(mouse_.hot_spots().size()) + " hot spots");
    return click(centre->x, centre->y);
}

void host::set_panel_lights(double value) {
    variables_.set_panel_lights(value);
    log_.line("host: panel lights " + number_text(value));
}

}  // namespace standin
