// The gauge header and its lifecycle routines, in the order the host calls them.
#include "gauge/gauge_header.h"

#include "gauge/detent_selection.h"
#include "gauge/dimmer_picture.h"
#include "gauge/knob_state.h"
#include "host/host_services.h"
#include "sound/sound_device.h"

namespace {

constexpr char gauge_title[] = "6 position panel dimmer - by Orlicet";
constexpr uint32_t gauge_default_size = 60;

element_header* first_element() { return element_list[0]; }

// The host stores the plate's image record at element install; should it not
// have, the mouse area still gets the plate's own size.
pixel_size* plate_pixel_size() {
    static pixel_size fallback = plate_size;
    host_image_record* image = background_image.image;
    return image ? &image->size : &fallback;
}

bool is_lit(double value) { return value == value && value != 0.0; }

void __stdcall gauge_query() { element_list_query(first_element()); }

void __stdcall gauge_install(uint32_t resource_file) {
    element_list_install(first_element(), resource_file);
    mouse_list_install(detent_mouse_table, &gauge_header, plate_pixel_size());
    mouse_list_register(detent_mouse_table, &gauge_header);
}

void __stdcall gauge_initialize() {
    initialize_var(&knob_state.panel_lights_var);
    knob_state.lights_were_on = is_lit(knob_state.panel_lights_var.value) ? 1 : 0;
    sound_setup();
    initialize_var_by_name(&knob_state.ligar_var, "ligar");
    element_list_initialize(first_element());
}

void __stdcall gauge_update() { element_list_update(first_element()); }

void __stdcall gauge_generate(uint32_t phase) { element_list_generate(first_element(), phase); }

void __stdcall gauge_draw() { element_list_plot(first_element()); }

void __stdcall gauge_kill() {
    sound_teardown();
    mouse_list_unregister(detent_mouse_table, &gauge_header);
    // The storage belongs to another gauge that may go away with this panel;
    // a later install must not publish through it before initialize binds again.
    knob_state.ligar_var.storage = nullptr;
    element_list_kill(first_element());
}

}  // namespace

constinit gauge_header_record gauge_header = {
    .version = gauge_header_version,
    .title = gauge_title,
    .elements = element_list,
    .query = gauge_query,
    .install = gauge_install,
    .initialize = gauge_initialize,
    .update = gauge_update,
    .generate = gauge_generate,
    .draw = gauge_draw,
    .kill = gauge_kill,
    .host_word_40 = 0,
    .default_size = gauge_default_size,
    .host_words_48 = {},
};
