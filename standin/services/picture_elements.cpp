#include "standin/services/picture_elements.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "standin/log/value_text.h"
#include "standin/pictures/bitmap_resources.h"
#include "standin/pictures/dib_reader.h"

namespace standin {

namespace {
constexpr uint32_t icon_frame_id_step = 3;   // an icon's frames are every third resource

void add_to_tree(element_header* element, std::vector<element_header*>& order, call_log& log) {
    if (std::find(order.begin(), order.end(), element) != order.end()) {
        log.error("element " + hex_text(reinterpret_cast<uintptr_t>(element)) + " listed twice");
        return;
    }
    order.push_back(element);
    if (!element->next_elements) return;
    for (element_header** next = element->next_elements; *next; ++next)
        add_to_tree(*next, order, log);
}

std::string size_text(const index_picture& picture) {
    return std::to_string(picture.width) + "x" + std::to_string(picture.height);
}
}  // namespace

std::vector<element_header*> picture_elements::tree(element_header* first) {
    std::vector<element_header*> order;
    if (first)
        add_to_tree(first, order, log_);
    else
        log_.error("element list service given no element");
    return order;
}

const element_state* picture_elements::find(const element_header* element) const {
    for (const element_state& state : states_)
        if (state.element == element) return &state;
    return nullptr;
}

element_state* picture_elements::installed(element_header* element) {
    for (element_state& state : states_)
        if (state.element == element) return &state;
    log_.error("element with resource " + std::to_string(element->resource_id) +
               " was never installed");
    return nullptr;
}

void picture_elements::load_frames(element_state& state, HMODULE resources, uint32_t count) {
    for (uint32_t k = 0; k < count; ++k) {
        const uint32_t id = state.element->resource_id + icon_frame_id_step * k;
        std::string error;
        std::optional<std::vector<uint8_t>> bytes = read_bitmap_resource(resources, id, error);
        if (!bytes) {
            log_.error(error);
            continue;
        }
        std::optional<index_picture> picture = parse_dib(bytes->data(), bytes->size(), error);
        if (!picture) {
            log_.error("bitmap " + std::to_string(id) + ": " + error);
            continue;
        }
        state.frames.push_back(std::move(*picture));
    }
}

void picture_elements::install(element_header* first, HMODULE resources) {
    if (!states_.empty()) {
        log_.error("elements installed again without a kill in between");
        kill(states_.front().element);
    }
    for (element_header* element : tree(first)) {
        element_state state{element, {}, nullptr, std::nullopt, 0};
        const std::string id = std::to_string(element->resource_id);
        if (element->kind == element_static_image) {
            load_frames(state, resources, 1);
            if (!state.frames.empty()) {
                const index_picture& plate = state.frames.front();
                state.image = std::make_unique<host_image_record>(
                    host_image_record{0, {plate.width, plate.height}});
                reinterpret_cast<static_image_record*>(element)->image = state.image.get();
                log_.line("  static image " + id + ": " + size_text(plate));
            }
        } else if (element->kind == element_icon) {
            const uint32_t count = reinterpret_cast<icon_record*>(element)->frame_count;
            if (count == 0) log_.error("icon " + id + " has no frames");
            load_frames(state, resources, count);
            if (!state.frames.empty())
                log_.line("  icon " + id + ": " + std::to_string(state.frames.size()) +
                          " frames " + size_text(state.frames.front()));
        } else {
            log_.error("element " + id + " of unknown kind " + std::to_string(element->kind));
        }
        states_.push_back(std::move(state));
    }
}

void picture_elements::update(element_header* first, const std::function<void()>& after_callback) {
    for (element_header* element : tree(first)) {
        if (element->kind != element_icon) continue;
        element_state* state = installed(element);
        if (!state) continue;
        auto* icon = reinterpret_cast<icon_record*>(element);
        if (!icon->value) {
            log_.error("icon " + std::to_string(element->resource_id) + " has no value callback");
            continue;
        }
        const double value = icon->value(icon);
        after_callback();
        const double last = icon->frame_count ? icon->frame_count - 1.0 : 0.0;
        state->value = value;
        state->frame = std::isnan(value) ? 0 : static_cast<uint32_t>(std::clamp(std::round(value), 0.0, last));
        log_.line("  icon " + std::to_string(element->resource_id) + " value " +
                  number_text(value) + " -> frame " + std::to_string(state->frame));
    }
}

void picture_elements::plot(element_header* first) {
    const std::vector<element_header*> order = tree(first);
    if (order.empty()) return;
    const element_state* root = find(order.front());
    if (!root || root->frames.empty()) {
        log_.error("nothing to plot: the first element has no bitmap");
        return;
    }
    index_picture canvas = root->frames.front();
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0);
    for (element_header* element : order) {
        const element_state* state = installed(element);
        if (!state) continue;
        const bool icon = element->kind == element_icon;
        const size_t frame = icon ? state->frame : 0;
        if (frame < state->frames.size())
            draw_onto(canvas, state->frames[frame], element->x, element->y, icon);
    }
    picture_ = std::move(canvas);
}

void picture_elements::kill(element_header* first) {
    for (element_header* element : tree(first)) {
        if (!installed(element)) continue;
        if (element->kind == element_static_image)
            reinterpret_cast<static_image_record*>(element)->image = nullptr;
        std::erase_if(states_, [&](const element_state& state) { return state.element == element; });
    }
}

}  // namespace standin
