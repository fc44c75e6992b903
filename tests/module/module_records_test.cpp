// The records the module exports and the gauge header, elements and mouse
// table they lead to, as the host finds them after loading the module.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "tests/module/loaded_module.h"
#include "tests/support/dimmer_layout.h"

namespace {

template <typename T, size_t n>
bool all_zero(const T (&words)[n]) {
    for (const T& word : words)
        if (word != 0) return false;
    return true;
}

bool all_zero_bytes(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::all_of(bytes, bytes + size, [](uint8_t b) { return b == 0; });
}

std::vector<uint8_t> file_bytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A mouse record's fields apart from its handler, in a form that shows in a failure.
std::string describe(const mouse_record& r) {
    std::ostringstream text;
    text << "kind " << r.kind << " box (" << r.x << "," << r.y << ") " << r.width << "x" << r.height
         << " cursor " << r.cursor << " help " << r.help_id << " mask 0x" << std::hex << r.event_mask
         << " id " << r.event_id << " data " << r.handler_data;
    return text.str();
}

mouse_record marker(mouse_record_kind kind) { return {kind, 0, 0, 0, 0, -1, 0, 0, 0, nullptr, 0}; }

}  // namespace

using module_records = loaded_module;

TEST_F(module_records, loading_and_unloading_alone_calls_no_host_service) {
    EXPECT_TRUE(host_.calls().empty());
    host_.unload();
    EXPECT_TRUE(host_.calls().empty());
    EXPECT_TRUE(host_.errors().empty());
}

TEST_F(module_records, linkage_names_the_entry_points_and_one_gauge) {
    const linkage_record& linkage = *host_.linkage();
    EXPECT_EQ(linkage.identifier, 0x13u);
    EXPECT_TRUE(image().in_code(reinterpret_cast<const void*>(linkage.module_init)));
    EXPECT_TRUE(image().in_code(reinterpret_cast<const void*>(linkage.module_deinit)));
    EXPECT_TRUE(all_zero(linkage.host_words_12));
    ASSERT_NE(linkage.gauges[0], nullptr);
    EXPECT_TRUE(image().rva_of(linkage.gauges[0]));
    EXPECT_EQ(linkage.gauges[1], nullptr);
}

TEST_F(module_records, import_table_holds_the_host_table_after_load) {
    const import_table_record& imports = *host_.import_table();
    EXPECT_EQ(imports.identifier, 0x0Fu);
    EXPECT_EQ(imports.services, standin::service_table());
    EXPECT_EQ(imports.end_identifier, 0u);
    EXPECT_EQ(imports.end_address, nullptr);
}

TEST_F(module_records, import_table_on_disk_has_no_service_table) {
    const pe_image pe = image();
    const uint32_t rva = *pe.rva_of(host_.import_table());
    const std::optional<pe_section> section = pe.section_of(rva);
    ASSERT_TRUE(section);
    const std::vector<uint8_t> file = file_bytes(GAUGE_FILE);
    const size_t offset = section->raw_offset + (rva - section->rva);
    ASSERT_LE(offset + sizeof(import_table_record), file.size());
    import_table_record on_disk;
    std::memcpy(&on_disk, file.data() + offset, sizeof on_disk);
    EXPECT_EQ(on_disk.identifier, 0x0Fu);
    EXPECT_EQ(on_disk.services, nullptr);
    EXPECT_EQ(on_disk.end_identifier, 0u);
    EXPECT_EQ(on_disk.end_address, nullptr);
}

TEST_F(module_records, gauge_header_describes_the_dimmer) {
    const gauge_header_record& gauge = *host_.gauge();
    EXPECT_EQ(gauge.version, 610u);
    EXPECT_STREQ(gauge.title, "6 position panel dimmer - by Orlicet");
    ASSERT_NE(gauge.elements, nullptr);
    EXPECT_NE(gauge.elements[0], nullptr);
    EXPECT_EQ(gauge.elements[1], nullptr);
    const void* routines[] = {
        reinterpret_cast<const void*>(gauge.query),    reinterpret_cast<const void*>(gauge.install),
        reinterpret_cast<const void*>(gauge.initialize), reinterpret_cast<const void*>(gauge.update),
        reinterpret_cast<const void*>(gauge.generate), reinterpret_cast<const void*>(gauge.draw),
        reinterpret_cast<const void*>(gauge.kill),
    };
    for (const void* routine : routines) EXPECT_TRUE(image().in_code(routine)) << routine;
    EXPECT_EQ(gauge.host_word_40, 0u);
    EXPECT_EQ(gauge.default_size, 60u);
    EXPECT_TRUE(all_zero(gauge.host_words_48));
}

TEST_F(module_records, background_is_the_plate_with_the_knob_beneath_it) {
    auto* background = reinterpret_cast<static_image_record*>(host_.gauge()->elements[0]);
    const element_header& h = background->header;
    EXPECT_EQ(h.kind, 0u);
    EXPECT_EQ(h.resource_id, 4096u);
    EXPECT_EQ(h.x, 0);
    EXPECT_EQ(h.y, 0);
    EXPECT_EQ(h.gauge, host_.gauge());
    EXPECT_EQ(h.flags, 0x4003u);
    EXPECT_TRUE(all_zero(h.host_words_16));
    EXPECT_EQ(h.host_word_36, 0u);
    EXPECT_EQ(h.host_word_44, 0u);
    EXPECT_TRUE(all_zero(h.host_words_52));
    EXPECT_EQ(background->image, nullptr);
    EXPECT_TRUE(all_zero(background->host_words_64));
    ASSERT_NE(h.next_elements, nullptr);
    EXPECT_NE(h.next_elements[0], nullptr);
    EXPECT_EQ(h.next_elements[1], nullptr);
}

TEST_F(module_records, knob_is_a_seven_frame_icon_fed_by_the_module) {
    auto* background = reinterpret_cast<static_image_record*>(host_.gauge()->elements[0]);
    auto* knob = reinterpret_cast<icon_record*>(background->header.next_elements[0]);
    const element_header& h = knob->header;
    EXPECT_EQ(h.kind, 4u);
    EXPECT_EQ(h.resource_id, 8192u);
    EXPECT_EQ(h.x, 13);
    EXPECT_EQ(h.y, 8);
    EXPECT_EQ(h.gauge, host_.gauge());
    EXPECT_EQ(h.next_elements, nullptr);
    EXPECT_EQ(h.flags, 0x4003u);
    EXPECT_TRUE(all_zero(h.host_words_16));
    EXPECT_EQ(h.host_word_36, 0u);
    EXPECT_EQ(h.host_word_44, 0u);
    EXPECT_TRUE(all_zero(h.host_words_52));
    EXPECT_TRUE(all_zero_bytes(&knob->source, sizeof knob->source));
    EXPECT_TRUE(image().in_code(reinterpret_cast<const void*>(knob->value)));
    EXPECT_TRUE(all_zero(knob->host_words_92));
    EXPECT_EQ(knob->frame_count, 7u);
    EXPECT_TRUE(all_zero(knob->host_words_116));
}

TEST_F(module_records, mouse_table_has_a_hot_spot_over_each_mark) {
    host_.install();
    const auto install = std::find_if(host_.calls().begin(), host_.calls().end(),
                                      [](const auto& call) { return call.name == "mouse_list_install"; });
    ASSERT_NE(install, host_.calls().end());
    const auto* table = reinterpret_cast<const mouse_record*>(install->args.at(0));

    std::vector<mouse_record> expected = {marker(mouse_parent_area)};
    for (const mark_box& box : mark_boxes)
        expected.push_back({2, box.x, box.y, box.width, box.height, 5, 0, 0x20000000, 0, nullptr, 0});
    expected.push_back(marker(mouse_end_of_parent));
    expected.push_back(marker(mouse_end_of_table));

    std::set<const void*> handlers;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(describe(table[i]), describe(expected[i])) << "record " << i;
        const void* handler = reinterpret_cast<const void*>(table[i].handler);
        if (table[i].kind == mouse_hot_spot) {
            EXPECT_TRUE(image().in_code(handler)) << "record " << i;
            handlers.insert(handler);
        } else {
            EXPECT_EQ(handler, nullptr) << "record " << i;
        }
    }
    EXPECT_EQ(handlers.size(), 7u);
}
