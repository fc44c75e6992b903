// The module's file format and its export and import tables, read from the
// image the loader mapped.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "tests/module/loaded_module.h"

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

using pe_layout = loaded_module;

TEST_F(pe_layout, is_a_relocatable_32_bit_x86_dll) {
    const pe_image pe = image();
    EXPECT_EQ(pe.file_header().Machine, IMAGE_FILE_MACHINE_I386);
    EXPECT_EQ(pe.optional_header().Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_TRUE(pe.file_header().Characteristics & IMAGE_FILE_DLL);
    EXPECT_GT(pe.directory(IMAGE_DIRECTORY_ENTRY_BASERELOC).Size, 0u);
}

TEST_F(pe_layout, exports_exactly_linkage_and_import_table_as_writable_data) {
    const pe_image pe = image();
    const std::vector<pe_export> exports = pe.named_exports();
    std::set<std::string> names;
    for (const pe_export& e : exports) {
        names.insert(e.name);
        const std::optional<pe_section> section = pe.section_of(e.rva);
        ASSERT_TRUE(section) << e.name << " lies in no section";
        EXPECT_FALSE(section->characteristics & IMAGE_SCN_MEM_EXECUTE) << e.name << " in " << section->name;
        EXPECT_TRUE(section->characteristics & IMAGE_SCN_MEM_WRITE) << e.name << " in " << section->name;
    }
    EXPECT_EQ(exports.size(), 2u);
    EXPECT_EQ(names, (std::set<std::string>{"ImportTable", "Linkage"}));
}

TEST_F(pe_layout, exported_records_are_the_ones_the_loader_finds) {
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(host_.module(), "Linkage")),
              static_cast<void*>(host_.linkage()));
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(host_.module(), "ImportTable")),
              static_cast<void*>(host_.import_table()));
}

class unexported_name : public loaded_module, public ::testing::WithParamInterface<const char*> {};

TEST_P(unexported_name, is_not_found) {
    EXPECT_EQ(GetProcAddress(host_.module(), GetParam()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(internal_symbols, unexported_name,
                         ::testing::Values("DllMain", "DllMain@12", "_DllMain@12", "module_init",
                                           "module_deinit", "gauge_header", "detent_mouse_table",
                                           "knob_value", "memcpy", "linkage", "IMPORTTABLE"));

TEST_F(pe_layout, imports_only_system_dlls) {
    const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL", "ADVAPI32.DLL", "WINMM.DLL",
                                          "DSOUND.DLL"};
    const std::vector<std::string> dlls = image().imported_dlls();
    EXPECT_FALSE(dlls.empty());
    for (const std::string& dll : dlls) EXPECT_TRUE(system.count(upper(dll))) << dll;
}
