// The module's calls into the host: one typed routine per service slot.
// The table's address is read from ImportTable at every call, since the
// host writes it there after loading the module.
#pragma once
#include "host/module_records.h"
#include "host/service_slots.h"

extern "C" import_table_record ImportTable;

namespace host_detail {
template <typename F>
inline F service(service_slot slot) {
    return reinterpret_cast<F>(ImportTable.services[slot]);
}
}  // namespace host_detail

inline void element_list_query(element_header* first) {
    host_detail::service<element_list_fn>(slot_element_list_query)(first);
}
inline void element_list_install(element_header* first, uint32_t resource_file) {
    host_detail::service<element_list_install_fn>(slot_element_list_install)(first, resource_file);
}
inline void element_list_initialize(element_header* first) {
    host_detail::service<element_list_fn>(slot_element_list_initialize)(first);
}
inline void element_list_update(element_header* first) {
    host_detail::service<element_list_fn>(slot_element_list_update)(first);
}
inline void element_list_generate(element_header* first, uint32_t phase) {
    host_detail::service<element_list_generate_fn>(slot_element_list_generate)(first, phase);
}
inline void element_list_plot(element_header* first) {
    host_detail::service<element_list_fn>(slot_element_list_plot)(first);
}
inline void element_list_kill(element_header* first) {
    host_detail::service<element_list_fn>(slot_element_list_kill)(first);
}
inline void mouse_list_install(mouse_record* table, gauge_header_record* gauge, pixel_size* size) {
    host_detail::service<mouse_list_install_fn>(slot_mouse_list_install)(table, gauge, size);
}
inline void mouse_list_register(mouse_record* table, gauge_header_record* gauge) {
    host_detail::service<mouse_list_fn>(slot_mouse_list_register)(table, gauge);
}
inline void mouse_list_unregister(mouse_record* table, gauge_header_record* gauge) {
    host_detail::service<mouse_list_fn>(slot_mouse_list_unregister)(table, gauge);
}
inline void trigger_key_event(uint32_t event, uint32_t value) {
    host_detail::service<trigger_key_event_fn>(slot_trigger_key_event)(event, value);
}
inline void initialize_var_by_name(module_variable* var, const char* name) {
    host_detail::service<initialize_var_by_name_fn>(slot_initialize_var_by_name)(var, name);
}
inline void initialize_var(module_variable* var) {
    host_detail::service<initialize_var_fn>(slot_initialize_var)(var);
}
