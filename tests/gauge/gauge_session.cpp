#include "tests/gauge/gauge_session.h"

#include <cstdio>

#include "standin/pictures/bitmap_resources.h"
#include "standin/pictures/dib_reader.h"

namespace {

constexpr uint32_t plate_id = 4096;
constexpr uint32_t first_frame_id = 8192;
constexpr int knob_x = 13;
constexpr int knob_y = 8;

std::string hex(uintptr_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

standin::index_picture bitmap(HMODULE module, uint32_t id) {
    std::string error;
    std::optional<std::vector<uint8_t>> bytes = standin::read_bitmap_resource(module, id, error);
    std::optional<standin::index_picture> picture =
        bytes ? standin::parse_dib(bytes->data(), bytes->size(), error) : std::nullopt;
    if (!picture) ADD_FAILURE() << error;
    return picture.value_or(standin::index_picture{});
}

}  // namespace

void gauge_session::start(standin::host_options options) {
    host_.emplace(std::move(options));
    host_->load(GAUGE_FILE);
}

void gauge_session::open() {
    host_->install();
    host_->initialize();
}

void gauge_session::TearDown() {
    if (host_) EXPECT_TRUE(host_->errors().empty()) << host_->log_text();
}

element_header* gauge_session::first_element() { return host_->gauge()->elements[0]; }

static_image_record* gauge_session::plate() {
    return reinterpret_cast<static_image_record*>(first_element());
}

icon_record* gauge_session::knob() {
    return reinterpret_cast<icon_record*>(first_element()->next_elements[0]);
}

mouse_record gauge_session::spot(int k) {
    const std::vector<mouse_record> spots = host_->mouse().hot_spots();
    if (static_cast<size_t>(k) >= spots.size()) {
        ADD_FAILURE() << "no hot spot " << k;
        return {};
    }
    return spots[k];
}

int gauge_session::click_detent(int k) { return host_->click_detent(k); }

std::string gauge_session::call(const std::string& name, const std::vector<uintptr_t>& args,
                                const std::string& text) {
    std::string line = name + "(";
    for (size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + hex(args[i]);
    return line + ")" + (text.empty() ? "" : " " + text);
}

std::vector<std::string> gauge_session::calls_since(size_t mark) {
    std::vector<std::string> lines;
    const std::vector<standin::service_call>& calls = host_->calls();
    for (size_t i = mark; i < calls.size(); ++i)
        lines.push_back(call(calls[i].name, calls[i].args, calls[i].text));
    return lines;
}

std::vector<std::string> gauge_session::expected_install_calls() {
    const uintptr_t table = address(host_->mouse().table());
    const uintptr_t gauge = address(host_->gauge());
    host_image_record* image = plate()->image;
    return {
        call("element_list_install", {address(first_element()), address(host_->module())}),
        call("mouse_list_install", {table, gauge, image ? address(&image->size) : 0}),
        call("mouse_list_register", {table, gauge}),
    };
}

standin::index_picture gauge_session::expected_picture(int k) {
    standin::index_picture picture = bitmap(host_->module(), plate_id);
    standin::draw_onto(picture, bitmap(host_->module(), first_frame_id + 3 * k), knob_x, knob_y, true);
    return picture;
}

std::optional<double> gauge_session::knob_value() {
    const standin::element_state* state = host_->element(&knob()->header);
    return state ? state->value : std::nullopt;
}

uint32_t gauge_session::knob_frame() {
    const standin::element_state* state = host_->element(&knob()->header);
    return state ? state->frame : ~0u;
}
