// Every field the host reads from the module, each pinned once: the two
// exported records, the gauge header, its two picture elements, the mouse
// table handed over at install, and the bitmaps the elements name. A pointer
// is pinned by where it leads.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "standin/pictures/bitmap_resources.h"
#include "tests/module/loaded_module.h"

namespace {

struct field {
    std::string name;
    std::string expected;
    std::string actual;
};

std::string number(int64_t value) { return std::to_string(value); }

template <typename T, size_t n>
std::string words(const T (&values)[n]) {
    std::string text;
    for (const T& value : values) text.append(text.empty() ? "" : " ").append(number(value));
    return text.find_first_not_of("0 ") == std::string::npos ? "zeros" : text;
}

std::vector<uint8_t> file_bytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// kind, x, y, width, height, cursor, help, event mask, event, handler, handler data
struct mouse_row {
    uint32_t kind;
    int32_t x, y, width, height, cursor;
    uint32_t help_id, event_mask, event_id;
    const char* handler;   // where it leads
    uint32_t handler_data;
};

const mouse_row mouse_table[] = {
    {1, 0, 0, 0, 0, -1, 0, 0, 0, "null", 0},
    {2, 8, 33, 11, 6, 5, 0, 0x20000000, 0, "code", 0},
    {2, 3, 21, 11, 6, 5, 0, 0x20000000, 0, "code", 0},
    {2, 7, 8, 11, 6, 5, 0, 0x20000000, 0, "code", 0},
    {2, 24, 1, 11, 6, 5, 0, 0x20000000, 0, "code", 0},
    {2, 44, 9, 11, 6, 5, 0, 0x20000000, 0, "code", 0},
    {2, 44, 21, 11, 6, 5, 0, 0x20000000, 0, "code", 0},
    {2, 43, 32, 11, 6, 5, 0, 0x20000000, 0, "code", 0},
    {3, 0, 0, 0, 0, -1, 0, 0, 0, "null", 0},
    {0, 0, 0, 0, 0, -1, 0, 0, 0, "null", 0},
};

std::string mouse_text(const mouse_row& r) {
    std::ostringstream text;
    text << "kind " << r.kind << " box (" << r.x << "," << r.y << ") " << r.width << "x" << r.height
         << " cursor " << r.cursor << " help " << r.help_id << " mask 0x" << std::hex << r.event_mask
         << " event " << r.event_id << " handler " << r.handler << " data " << r.handler_data;
    return text.str();
}

// id, width, height (positive: bottom-up), size of the resource in bytes
struct bitmap_row { uint32_t id; int32_t width, height; size_t bytes; };

const bitmap_row bitmaps[] = {
    {4096, 60, 42, 3584}, {8192, 33, 33, 2252}, {8195, 33, 33, 2252}, {8198, 33, 33, 2252},
    {8201, 33, 33, 2252}, {8204, 33, 33, 2252}, {8207, 33, 33, 2252}, {8210, 33, 33, 2252},
};

// Every bitmap is an 8-bit BI_RGB DIB at 3780 pixels a metre, in US English only.
std::string bitmap_text(const BITMAPINFOHEADER& info, size_t bytes, const std::set<WORD>& languages) {
    std::ostringstream text;
    text << info.biWidth << "x" << info.biHeight << ", " << bytes << " bytes, header " << info.biSize << ", "
         << info.biPlanes << " plane, " << info.biBitCount << " bits, compression " << info.biCompression << ", "
         << info.biXPelsPerMeter << "x" << info.biYPelsPerMeter << " px/m, languages";
    for (WORD language : languages) text << " 0x" << std::hex << language;
    return text.str();
}

std::string bitmap_text(const bitmap_row& row) {
    BITMAPINFOHEADER info{sizeof info, row.width, row.height, 1, 8, BI_RGB, 0, 3780, 3780, 0, 0};
    return bitmap_text(info, row.bytes, {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)});
}

BOOL CALLBACK add_language(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
    reinterpret_cast<std::set<WORD>*>(found)->insert(language);
    return TRUE;
}

BOOL CALLBACK add_name(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    // A named bitmap shows up as id 0, which the table has not.
    reinterpret_cast<std::set<uint32_t>*>(found)->insert(
        IS_INTRESOURCE(name) ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name)) : 0);
    return TRUE;
}

class conformance : public loaded_module {
public:
    // Where a pointer leads: null, the module's code, its gauge header or other data, or elsewhere.
    std::string where(const void* pointer) const {
        if (!pointer) return "null";
        if (image().in_code(pointer)) return "code";
        if (!image().rva_of(pointer)) return "outside the module";
        return pointer == host_.gauge() ? "the gauge header" : "module data";
    }
    template <typename F>
    std::string where(F* function) const { return where(reinterpret_cast<const void*>(function)); }

    std::vector<field> linkage() {
        const linkage_record& r = *host_.linkage();
        return {
            {"identifier", number(0x13), number(r.identifier)},
            {"module_init", "code", where(r.module_init)},
            {"module_deinit", "code", where(r.module_deinit)},
            {"host_words_12", "zeros", words(r.host_words_12)},
            {"gauges[0]", "the gauge header", where(r.gauges[0])},
            {"gauges[1]", "null", where(r.gauges[1])},
        };
    }

    std::vector<field> import_table() {
        const import_table_record& r = *host_.import_table();
        return {
            {"identifier", number(0x0F), number(r.identifier)},
            {"services", "the host's service table",
             r.services == standin::service_table() ? "the host's service table" : where(r.services)},
            {"end_identifier", number(0), number(r.end_identifier)},
            {"end_address", "null", where(r.end_address)},
        };
    }

    // The host writes its table into the loaded module; the file holds none.
    std::vector<field> import_table_on_disk() {
        const uint32_t rva = image().rva_of(host_.import_table()).value_or(0);
        const std::optional<pe_section> section = image().section_of(rva);
        const std::vector<uint8_t> file = file_bytes(GAUGE_FILE);
        const size_t offset = section ? section->raw_offset + (rva - section->rva) : file.size();
        if (offset + sizeof(import_table_record) > file.size()) return {{"record", "in the file", "beyond it"}};
        import_table_record r;
        std::memcpy(&r, file.data() + offset, sizeof r);
        return {
            {"identifier", number(0x0F), number(r.identifier)},
            {"services", number(0), number(reinterpret_cast<uintptr_t>(r.services))},
            {"end_identifier", number(0), number(r.end_identifier)},
            {"end_address", number(0), number(reinterpret_cast<uintptr_t>(r.end_address))},
        };
    }

    std::vector<field> gauge_header() {
        const gauge_header_record& r = *host_.gauge();
        return {
            {"version", number(610), number(r.version)},
            {"title", "6 position panel dimmer - by Orlicet", r.title ? r.title : "null"},
            {"elements", "module data", where(r.elements)},
            {"elements[0]", "module data", where(r.elements[0])},
            {"elements[1]", "null", where(r.elements[1])},
            {"query", "code", where(r.query)},
            {"install", "code", where(r.install)},
            {"initialize", "code", where(r.initialize)},
            {"update", "code", where(r.update)},
            {"generate", "code", where(r.generate)},
            {"draw", "code", where(r.draw)},
            {"kill", "code", where(r.kill)},
            {"host_word_40", number(0), number(r.host_word_40)},
            {"default_size", number(60), number(r.default_size)},
            {"host_words_48", "zeros", words(r.host_words_48)},
        };
    }

    const static_image_record& plate() {
        return *reinterpret_cast<const static_image_record*>(host_.gauge()->elements[0]);
    }

    std::vector<field> plate_element() {
        const static_image_record& r = plate();
        const element_header& h = r.header;
        return {
            {"kind", number(0), number(h.kind)},
            {"resource_id", number(4096), number(h.resource_id)},
            {"x", number(0), number(h.x)},
            {"y", number(0), number(h.y)},
            {"host_words_16", "zeros", words(h.host_words_16)},
            {"gauge", "the gauge header", where(h.gauge)},
            {"host_word_36", number(0), number(h.host_word_36)},
            {"next_elements", "module data", where(h.next_elements)},
            {"next_elements[0]", "module data", where(h.next_elements[0])},
            {"next_elements[1]", "null", where(h.next_elements[1])},
            {"host_word_44", number(0), number(h.host_word_44)},
            {"flags", number(0x4003), number(h.flags)},
            {"host_words_52", "zeros", words(h.host_words_52)},
            {"image", "null", where(r.image)},
            {"host_words_64", "zeros", words(r.host_words_64)},
        };
    }

    // The knob frames are 33 pixels square, so at (13, 8) the knob turns about (29.5, 24.5).
    std::vector<field> knob_element() {
        const icon_record& r = *reinterpret_cast<const icon_record*>(plate().header.next_elements[0]);
        const element_header& h = r.header;
        return {
            {"kind", number(4), number(h.kind)},
            {"resource_id", number(8192), number(h.resource_id)},
            {"x", number(13), number(h.x)},
            {"y", number(8), number(h.y)},
            {"host_words_16", "zeros", words(h.host_words_16)},
            {"gauge", "the gauge header", where(h.gauge)},
            {"host_word_36", number(0), number(h.host_word_36)},
            {"next_elements", "null", where(h.next_elements)},
            {"host_word_44", number(0), number(h.host_word_44)},
            {"flags", number(0x4003), number(h.flags)},
            {"host_words_52", "zeros", words(h.host_words_52)},
            {"source", "zeros", words(reinterpret_cast<const uint8_t(&)[sizeof r.source]>(r.source))},
            {"value", "code", where(r.value)},
            {"host_words_92", "zeros", words(r.host_words_92)},
            {"frame_count", number(7), number(r.frame_count)},
            {"host_words_116", "zeros", words(r.host_words_116)},
        };
    }

    // As handed over at install, with a handler of its own for each hot spot.
    std::vector<field> mouse_records() {
        host_.install();
        const mouse_record* table = host_.mouse().table();
        if (!table) return {{"table", "installed", "none"}};
        std::vector<field> fields;
        std::set<const void*> handlers;
        for (size_t i = 0; i < std::size(mouse_table); ++i) {
            const mouse_record& r = table[i];
            const std::string handler = where(r.handler);
            fields.push_back({"record " + std::to_string(i), mouse_text(mouse_table[i]),
                              mouse_text({r.kind, r.x, r.y, r.width, r.height, r.cursor, r.help_id, r.event_mask,
                                          r.event_id, handler.c_str(), r.handler_data})});
            if (r.handler) handlers.insert(reinterpret_cast<const void*>(r.handler));
        }
        fields.push_back({"distinct handlers", number(7), number(handlers.size())});
        return fields;
    }

    std::vector<field> bitmap_resources() {
        std::set<uint32_t> ids;
        EnumResourceNamesA(host_.module(), RT_BITMAP, add_name, reinterpret_cast<LONG_PTR>(&ids));
        std::string listed, expected;
        for (uint32_t id : ids) listed.append(" ").append(number(id));
        for (const bitmap_row& row : bitmaps) expected.append(" ").append(number(row.id));
        std::vector<field> fields = {{"ids", expected, listed}};
        for (const bitmap_row& row : bitmaps) {
            std::string error;
            const std::optional<std::vector<uint8_t>> bytes =
                standin::read_bitmap_resource(host_.module(), row.id, error);
            BITMAPINFOHEADER info{};
            if (bytes) std::memcpy(&info, bytes->data(), std::min(sizeof info, bytes->size()));
            std::set<WORD> languages;
            EnumResourceLanguagesA(host_.module(), RT_BITMAP, MAKEINTRESOURCEA(row.id), add_language,
                                   reinterpret_cast<LONG_PTR>(&languages));
            fields.push_back({"bitmap " + number(row.id), bitmap_text(row),
                              bytes ? bitmap_text(info, bytes->size(), languages) : error});
        }
        return fields;
    }
};

struct record_fields {
    const char* record;
    std::vector<field> (conformance::*fields)();
};

void PrintTo(const record_fields& r, std::ostream* out) { *out << r.record; }

class host_view : public conformance, public ::testing::WithParamInterface<record_fields> {};

}  // namespace

TEST_P(host_view, every_field_is_as_pinned) {
    for (const field& f : (this->*GetParam().fields)())
        EXPECT_EQ(f.actual, f.expected) << GetParam().record << " " << f.name;
}

INSTANTIATE_TEST_SUITE_P(
    records, host_view,
    ::testing::Values(record_fields{"Linkage", &conformance::linkage},
                      record_fields{"ImportTable", &conformance::import_table},
                      record_fields{"ImportTable_on_disk", &conformance::import_table_on_disk},
                      record_fields{"gauge_header", &conformance::gauge_header},
                      record_fields{"plate", &conformance::plate_element},
                      record_fields{"knob", &conformance::knob_element},
                      record_fields{"mouse_table", &conformance::mouse_records},
                      record_fields{"bitmaps", &conformance::bitmap_resources}),
    [](const auto& info) { return std::string(info.param.record); });

TEST_F(conformance, loading_and_unloading_alone_calls_no_host_service) {
    EXPECT_TRUE(host_.calls().empty());
    host_.unload();
    EXPECT_TRUE(host_.calls().empty());
    EXPECT_TRUE(host_.errors().empty());
}
