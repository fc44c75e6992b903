// A stand-in host with the module loaded, and what the gauge tests ask of
// it: the gauge's records, the service calls since a point, the hot spots
// the host was given, and the picture the gauge should show.
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gauge/detent_selection.h"
#include "gauge/knob_state.h"
#include "standin/host/standin_host.h"
#include "tests/support/without_main_window.h"

class gauge_session : public ::testing::Test {
protected:
    void start(standin::host_options options = without_main_window());
    void open();                                  // install, initialize
    void TearDown() override;                     // the host saw nothing wrong

    standin::host& h() { return *host_; }
    element_header* first_element();
    static_image_record* plate();
    icon_record* knob();

    // Hot spot k of the mouse table the host was given; a press at its centre.
    mouse_record spot(int k);
    int click_detent(int k);

    // Service calls as "name(0x..., 0x...) text", from index mark on.
    std::vector<std::string> calls_since(size_t mark);
    static std::string call(const std::string& name, const std::vector<uintptr_t>& args,
                            const std::string& text = "");
    std::vector<std::string> expected_install_calls();

    // The plate with knob frame k drawn over it at the knob's place.
    standin::index_picture expected_picture(int k);
    // The value and frame of the knob after the last update.
    std::optional<double> knob_value();
    uint32_t knob_frame();

    std::optional<standin::host> host_;
};

// The same fixture, opened without the main window.
class open_gauge : public gauge_session {
protected:
    void SetUp() override {
        start();
        open();
    }
};

template <typename T>
uintptr_t address(const T* pointer) { return reinterpret_cast<uintptr_t>(pointer); }
