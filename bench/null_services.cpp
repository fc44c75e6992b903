#include "bench/null_services.h"

#include <array>

#include "host/service_slots.h"

namespace {

void __stdcall no_list(element_header*) {}
void __stdcall no_list_install(element_header*, uint32_t) {}
void __stdcall no_list_generate(element_header*, uint32_t) {}
void __stdcall no_mouse_install(mouse_record*, gauge_header_record*, pixel_size*) {}
void __stdcall no_mouse_list(mouse_record*, gauge_header_record*) {}
void __stdcall no_key_event(uint32_t, uint32_t) {}
void __stdcall no_var_by_name(module_variable*, const char*) {}
void __stdcall no_var(module_variable*) {}

template <typename F>
void put(std::array<void*, service_slot_count>& table, service_slot slot, F f) {
    table[slot] = reinterpret_cast<void*>(f);
}

std::array<void*, service_slot_count> build() {
    std::array<void*, service_slot_count> table{};
    put(table, slot_element_list_query, no_list);
    put(table, slot_element_list_install, no_list_install);
    put(table, slot_element_list_initialize, no_list);
    put(table, slot_element_list_update, no_list);
    put(table, slot_element_list_generate, no_list_generate);
    put(table, slot_element_list_plot, no_list);
    put(table, slot_element_list_kill, no_list);
    put(table, slot_mouse_list_install, no_mouse_install);
    put(table, slot_mouse_list_register, no_mouse_list);
    put(table, slot_mouse_list_unregister, no_mouse_list);
    put(table, slot_trigger_key_event, no_key_event);
    put(table, slot_initialize_var_by_name, no_var_by_name);
    put(table, slot_initialize_var, no_var);
    return table;
}

}  // namespace

void* const* null_service_table() {
    static const std::array<void*, service_slot_count> table = build();
    return table.data();
}
