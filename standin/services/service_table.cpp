#include "standin/services/service_table.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

#include "standin/log/value_text.h"
#include "standin/services/service_host.h"

namespace standin {

namespace {

// The one active host; see service_table.h.
service_host* active_host = nullptr;

[[noreturn]] void terminate_process(const std::string& message) {
    std::fprintf(stderr, "standin: %s\n", message.c_str());
    std::fflush(stderr);
    // Immediately: a stdcall callee that can't pop its arguments must never
    // return, and nothing of the module may run on the way out.
    TerminateProcess(GetCurrentProcess(), trap_exit_code);
    std::abort();
}

std::string address(const void* pointer) { return hex_text(reinterpret_cast<uintptr_t>(pointer)); }

uintptr_t value(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

}  // namespace

// The entry points the module calls. Each looks at the watched variables before it runs, so a
// write the module made just before calling is logged before the call.
struct service_entry_points {
    static service_host& current(const char* service) {
        if (!active_host) terminate_process(std::string(service) + " called with no host active");
        return *active_host;
    }

    template <typename Body>
    static void serve(const char* service, Body body) {
        service_host& h = current(service);
        h.observe();
        try {
            body(h);
        } catch (const std::exception& e) {
            h.service_log().error(std::string(service) + ": " + e.what());
        }
    }

    static std::string element_call(const char* service, element_header* first) {
        return std::string(service) + "(first=" + address(first) + ")";
    }

    static void element_list(const char* service, element_header* first) {
        serve(service, [&](service_host& h) {
            h.service_log().record({service, {value(first)}, {}}, element_call(service, first));
        });
    }

    static void __stdcall element_list_query(element_header* first) {
        element_list("element_list_query", first);
    }

    static void __stdcall element_list_install(element_header* first, uint32_t resource_file) {
        serve("element_list_install", [&](service_host& h) {
            h.service_log().record({"element_list_install", {value(first), resource_file}, {}},
                          "element_list_install(first=" + address(first) +
                              ", resource_file=" + hex_text(resource_file) + ")");
            h.element_lists().install(first, reinterpret_cast<HMODULE>(static_cast<uintptr_t>(resource_file)));
        });
    }

    static void __stdcall element_list_initialize(element_header* first) {
        element_list("element_list_initialize", first);
    }

    static void __stdcall element_list_update(element_header* first) {
        serve("element_list_update", [&](service_host& h) {
            h.service_log().record({"element_list_update", {value(first)}, {}},
                          element_call("element_list_update", first));
            h.element_lists().update(first, [&h] { h.observe(); });
        });
    }

    static void __stdcall element_list_generate(element_header* first, uint32_t phase) {
        serve("element_list_generate", [&](service_host& h) {
            h.service_log().record({"element_list_generate", {value(first), phase}, {}},
                          "element_list_generate(first=" + address(first) +
                              ", phase=" + std::to_string(phase) + ")");
        });
    }

    static void __stdcall element_list_plot(element_header* first) {
        serve("element_list_plot", [&](service_host& h) {
            h.service_log().record({"element_list_plot", {value(first)}, {}},
                          element_call("element_list_plot", first));
            h.element_lists().plot(first);
        });
    }

    static void __stdcall element_list_kill(element_header* first) {
        serve("element_list_kill", [&](service_host& h) {
            h.service_log().record({"element_list_kill", {value(first)}, {}},
                          element_call("element_list_kill", first));
            h.element_lists().kill(first);
        });
    }

    static void __stdcall mouse_list_install(mouse_record* table, gauge_header_record* gauge,
                                             pixel_size* size) {
        serve("mouse_list_install", [&](service_host& h) {
            const std::string size_text =
                size ? std::to_string(size->width) + "x" + std::to_string(size->height) : "none";
            h.service_log().record({"mouse_list_install", {value(table), value(gauge), value(size)}, {}},
                          "mouse_list_install(table=" + address(table) + ", gauge=" +
                              address(gauge) + ", size=" + size_text + ")");
            h.mouse_lists().install(table, gauge, size);
        });
    }

    static void mouse_list(const char* service, mouse_record* table, gauge_header_record* gauge,
                           bool registered) {
        serve(service, [&](service_host& h) {
            h.service_log().record({service, {value(table), value(gauge)}, {}},
                          std::string(service) + "(table=" + address(table) + ", gauge=" +
                              address(gauge) + ")");
            h.mouse_lists().set_registered(table, gauge, registered);
        });
    }

    static void __stdcall mouse_list_register(mouse_record* table, gauge_header_record* gauge) {
        mouse_list("mouse_list_register", table, gauge, true);
    }

    static void __stdcall mouse_list_unregister(mouse_record* table, gauge_header_record* gauge) {
        mouse_list("mouse_list_unregister", table, gauge, false);
    }

    static void __stdcall trigger_key_event(uint32_t event, uint32_t event_value) {
        serve("trigger_key_event", [&](service_host& h) {
            h.take_key_event(event, event_value);
            h.service_log().record({"trigger_key_event", {event, event_value}, {}},
                          "trigger_key_event(" + hex_text(event) + ", " +
                              std::to_string(event_value) + ")");
        });
    }

    static void __stdcall initialize_var_by_name(module_variable* var, const char* name) {
        serve("initialize_var_by_name", [&](service_host& h) {
            const std::string text = name ? name : "";
            void* storage = var && name ? h.variables().published(text) : nullptr;
            if (var) var->storage = storage;
            h.service_log().record({"initialize_var_by_name", {value(var), value(name)}, text},
                          "initialize_var_by_name(name=" + (name ? text : "(null)") + ") -> " +
                              (storage ? "bound" : "unknown"));
            if (!var || !name) h.service_log().error("initialize_var_by_name given no variable or no name");
        });
    }

    static void __stdcall initialize_var(module_variable* var) {
        serve("initialize_var", [&](service_host& h) {
            if (!var) {
                h.service_log().record({"initialize_var", {0}, {}}, "initialize_var(null)");
                h.service_log().error("initialize_var given no variable");
                return;
            }
            const bool known = h.variables().bind(*var);
            h.service_log().record({"initialize_var", {value(var)}, {}},
                          "initialize_var(number=" + std::to_string(var->number) + ") -> " +
                              (known ? number_text(var->value) : "unknown"));
            if (!known) h.service_log().error("no host variable number " + std::to_string(var->number));
        });
    }

    template <unsigned slot>
    [[noreturn]] static void __stdcall trap() {
        const std::string message =
            "the module called service slot " + std::to_string(slot) + ", which the host doesn't implement";
        if (active_host) {
            active_host->service_log().error(message);
            active_host->abandon_environment();
        }
        terminate_process(message);
    }

    template <unsigned... slots>
    static std::array<void*, service_table_size> traps(std::integer_sequence<unsigned, slots...>) {
        return {reinterpret_cast<void*>(&trap<slots>)...};
    }

    // The explicit type makes each entry point's signature match its slot's exactly.
    template <typename Service>
    static void put(std::array<void*, service_table_size>& table, service_slot slot, Service entry) {
        table[slot] = reinterpret_cast<void*>(entry);
    }

    static std::array<void*, service_table_size> build() {
        auto table = traps(std::make_integer_sequence<unsigned, service_table_size>{});
        put<element_list_fn>(table, slot_element_list_query, &element_list_query);
        put<element_list_install_fn>(table, slot_element_list_install, &element_list_install);
        put<element_list_fn>(table, slot_element_list_initialize, &element_list_initialize);
        put<element_list_fn>(table, slot_element_list_update, &element_list_update);
        put<element_list_generate_fn>(table, slot_element_list_generate, &element_list_generate);
        put<element_list_fn>(table, slot_element_list_plot, &element_list_plot);
        put<element_list_fn>(table, slot_element_list_kill, &element_list_kill);
        put<mouse_list_install_fn>(table, slot_mouse_list_install, &mouse_list_install);
        put<mouse_list_fn>(table, slot_mouse_list_register, &mouse_list_register);
        put<mouse_list_fn>(table, slot_mouse_list_unregister, &mouse_list_unregister);
        put<trigger_key_event_fn>(table, slot_trigger_key_event, &trigger_key_event);
        put<initialize_var_by_name_fn>(table, slot_initialize_var_by_name, &initialize_var_by_name);
        put<initialize_var_fn>(table, slot_initialize_var, &initialize_var);
        return table;
    }
};

void* const* service_table() {
    static const std::array<void*, service_table_size> table = service_entry_points::build();
    return table.data();
}

active_host_guard::active_host_guard(service_host& active) {
    if (active_host) throw std::logic_error("another stand-in host is active");
    active_host = &active;
}

active_host_guard::~active_host_guard() { active_host = nullptr; }

}  // namespace standin
