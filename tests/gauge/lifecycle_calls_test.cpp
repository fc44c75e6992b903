// Which host services each lifecycle routine calls, in order, with which
// arguments. Any slot the host doesn't serve ends the process.
#include <string>
#include <vector>

#include "tests/gauge/gauge_session.h"

using lifecycle_calls = gauge_session;

TEST_F(lifecycle_calls, query_asks_for_the_element_list) {
    start();
    h().query();
    EXPECT_EQ(calls_since(0), (std::vector<std::string>{call("element_list_query", {address(first_element())})}));
}

// The mouse table handed over is the module's own, which outlives the call,
// not a copy on its stack or in a block it may free.
TEST_F(lifecycle_calls, install_installs_elements_then_the_mouse_table_over_the_plate) {
    start();
    h().install();
    ASSERT_NE(plate()->image, nullptr);
    EXPECT_EQ(calls_since(0), expected_install_calls());
    HMODULE owner = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(h().calls().at(1).args.at(0)), &owner);
    EXPECT_EQ(owner, h().module()) << "the mouse table lies outside the module";
    EXPECT_TRUE(h().mouse().registered());
}

// Initialize's calls don't depend on whether sound could be set up.
class initialize_calls : public gauge_session, public ::testing::WithParamInterface<bool> {};

TEST_P(initialize_calls, bind_panel_lights_then_ligar_then_initialize_elements) {
    standin::host_options options;
    options.main_window = GetParam();
    start(options);
    h().install();
    const size_t mark = h().calls().size();
    h().initialize();
    const std::vector<standin::service_call> calls(h().calls().begin() + mark, h().calls().end());
    ASSERT_EQ(calls.size(), 3u) << h().log_text();
    EXPECT_EQ(calls[0].name, "initialize_var");
    EXPECT_EQ(reinterpret_cast<const module_variable*>(calls[0].args.at(0))->number, 10u);
    EXPECT_EQ(calls[1].name, "initialize_var_by_name");
    EXPECT_NE(calls[1].args.at(0), calls[0].args.at(0));
    EXPECT_EQ(calls[1].text, "ligar");
    EXPECT_EQ(calls[2].name, "element_list_initialize");
    EXPECT_EQ(calls[2].args, std::vector<uintptr_t>{address(first_element())});
}

INSTANTIATE_TEST_SUITE_P(environments, initialize_calls, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "with_window_on_real_sound" : "without_window"; });

TEST_F(lifecycle_calls, update_and_draw_pass_the_element_list) {
    start();
    open();
    size_t mark = h().calls().size();
    h().update();
    EXPECT_EQ(calls_since(mark), (std::vector<std::string>{call("element_list_update", {address(first_element())})}));
    mark = h().calls().size();
    h().draw();
    EXPECT_EQ(calls_since(mark), (std::vector<std::string>{call("element_list_plot", {address(first_element())})}));
}

TEST_F(lifecycle_calls, kill_unregisters_the_mouse_table_then_kills_elements) {
    start();
    open();
    const uintptr_t table = address(h().mouse().table());
    const size_t mark = h().calls().size();
    h().kill();
    EXPECT_EQ(calls_since(mark), (std::vector<std::string>{
                                     call("mouse_list_unregister", {table, address(h().gauge())}),
                                     call("element_list_kill", {address(first_element())}),
                                 }));
    EXPECT_FALSE(h().mouse().registered());
}

TEST_F(lifecycle_calls, a_second_install_and_initialize_repeat_the_calls) {
    start();
    open();
    const std::vector<std::string> first_open = calls_since(0);
    h().kill();
    const size_t second = h().calls().size();
    ASSERT_EQ(second, first_open.size() + 2);
    h().install();
    EXPECT_EQ(calls_since(second), expected_install_calls());
    h().initialize();
    const std::vector<std::string> second_open = calls_since(second);
    ASSERT_EQ(second_open.size(), first_open.size());
    // The plate's image record is the host's new one; everything else is as before.
    for (size_t i = 0; i < first_open.size(); ++i) {
        if (i != 1) { EXPECT_EQ(second_open[i], first_open[i]) << "call " << i; }
    }
    EXPECT_EQ(click_detent(2), 3);
    EXPECT_EQ(h().key_events().size(), 1u);
}

class generate_phase : public open_gauge, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(generate_phase, is_passed_through_with_the_element_list) {
    const size_t mark = h().calls().size();
    h().generate(GetParam());
    EXPECT_EQ(calls_since(mark),
              (std::vector<std::string>{call("element_list_generate", {address(first_element()), GetParam()})}));
}

INSTANTIATE_TEST_SUITE_P(phases, generate_phase, ::testing::Values(0u, 1u, 2u, 7u, 0x80000000u, 0xFFFFFFFFu));
