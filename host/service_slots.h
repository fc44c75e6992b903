// The host's panel service table: which slot holds which routine, and how
// each routine is called. Every service uses the standard calling convention.
#pragma once
#include <cstdint>

#include "host/element_records.h"
#include "host/gauge_header_record.h"
#include "host/module_variable.h"
#include "host/mouse_record.h"

enum service_slot : unsigned {
    slot_element_list_query = 24,
    slot_element_list_install = 25,
    slot_element_list_initialize = 26,
    slot_element_list_update = 27,
    slot_element_list_generate = 28,
    slot_element_list_plot = 29,
    slot_element_list_kill = 31,
    slot_mouse_list_install = 32,
    slot_mouse_list_register = 33,
    slot_mouse_list_unregister = 34,
    slot_trigger_key_event = 36,
    slot_initialize_var_by_name = 39,
    slot_initialize_var = 40,
};

// A service table must reach at least this many slots.
constexpr unsigned service_slot_count = 41;

using element_list_fn = void(__stdcall*)(element_header* first);
using element_list_install_fn = void(__stdcall*)(element_header* first, uint32_t resource_file);
using element_list_generate_fn = void(__stdcall*)(element_header* first, uint32_t phase);
using mouse_list_install_fn = void(__stdcall*)(mouse_record* table, gauge_header_record* gauge,
                                               pixel_size* size);
using mouse_list_fn = void(__stdcall*)(mouse_record* table, gauge_header_record* gauge);
using trigger_key_event_fn = void(__stdcall*)(uint32_t event, uint32_t value);
using initialize_var_by_name_fn = void(__stdcall*)(module_variable* var, const char* name);
using initialize_var_fn = void(__stdcall*)(module_variable* var);
