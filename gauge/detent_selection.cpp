#include "gauge/detent_selection.h"

#include "gauge/knob_state.h"
#include "host/host_services.h"
#include "sound/clip_playback.h"

namespace {

const char* const clip_names[detent_count] = {
    "click.wav", "click.wav", "click.wav", "click.wav", "click.wav", "click.wav", "click.wav",
};

void select_detent(uint8_t detent) {
    // Null until "ligar" is bound: before the first initialize, after a kill,
    // or when no gauge of the panel publishes it.
    auto* shared = static_cast<uint8_t*>(knob_state.ligar_var.storage);
    knob_state.knob_position = detent;
    // Written before the event, so whatever the event sets off sees it.
    if (shared) *shared = detent;
    trigger_key_event(knob_state.lights_were_on == 1 ? event_if_lit : event_if_unlit, 0);
    play_clip(clip_names[detent]);
}

template <uint8_t detent>
uint32_t __stdcall select_position(void*, uint32_t) {
    select_detent(detent);
    return 0;
}

template <uint8_t detent>
constexpr mouse_record hot_spot() {
    const layout_box& box = hot_spot_boxes[detent];
    return {mouse_hot_spot, box.x, box.y, box.width, box.height, cursor_hand, 0, mouse_left_single, 0,
            select_position<detent>, 0};
}

constexpr mouse_record marker(mouse_record_kind kind) {
    return {kind, 0, 0, 0, 0, cursor_none, 0, 0, 0, nullptr, 0};
}

}  // namespace

static_assert(detent_count == 7, "one hot_spot<k>() below for each detent of the layout");

// Each hot spot lies over the digit of its mark on the plate.
constinit mouse_record detent_mouse_table[] = {
    marker(mouse_parent_area),
    hot_spot<0>(), hot_spot<1>(), hot_spot<2>(), hot_spot<3>(), hot_spot<4>(), hot_spot<5>(), hot_spot<6>(),
    marker(mouse_end_of_parent),
    marker(mouse_end_of_table),
};
