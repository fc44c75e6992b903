#include "tests/gauge/gauge_session.h"

#include "standin/log/value_text.h"

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
    for (size_t i = 0; i < args.size(); ++i) line += (i ? ", " : "") + standin::hex_text(args[i]);
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

const standin::index_picture& gauge_session::loaded_frame(const element_header* element, int k) {
    static const standin::index_picture none;
    const standin::element_state* state = host_->element(element);
    if (state && static_cast<size_t>(k) < state->frames.size()) return state->frames[k];
    ADD_FAILURE() << "no frame " << k << " of element " << element->resource_id;
    return none;
}

standin::index_picture gauge_session::expected_picture(int k) {
    standin::index_picture picture = loaded_frame(&plate()->header, 0);
    standin::draw_onto(picture, loaded_frame(&knob()->header, k), knob()->header.x, knob()->header.y, true);
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
