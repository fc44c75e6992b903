#include "tests/module/pe_image.h"

#include <cstring>

pe_image::pe_image(HMODULE module) : base_(reinterpret_cast<const uint8_t*>(module)) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base_);
    nt_ = at<IMAGE_NT_HEADERS32>(static_cast<uint32_t>(dos->e_lfanew));
}

IMAGE_DATA_DIRECTORY pe_image::directory(unsigned index) const {
    if (index >= optional_header().NumberOfRvaAndSizes) return {0, 0};
    return optional_header().DataDirectory[index];
}

std::vector<pe_section> pe_image::sections() const {
    std::vector<pe_section> list;
    const IMAGE_SECTION_HEADER* header = IMAGE_FIRST_SECTION(nt_);
    for (unsigned i = 0; i < file_header().NumberOfSections; ++i, ++header) {
        const char* name = reinterpret_cast<const char*>(header->Name);
        list.push_back({std::string(name, strnlen(name, IMAGE_SIZEOF_SHORT_NAME)),
                        header->VirtualAddress, header->Misc.VirtualSize, header->PointerToRawData,
                        header->Characteristics});
    }
    return list;
}

std::optional<pe_section> pe_image::section_of(uint32_t rva) const {
    for (const pe_section& section : sections())
        if (rva >= section.rva && rva < section.rva + section.virtual_size) return section;
    return std::nullopt;
}

std::vector<pe_export> pe_image::named_exports() const {
    std::vector<pe_export> list;
    const IMAGE_DATA_DIRECTORY dir = directory(IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (dir.Size == 0) return list;
    const auto* exports = at<IMAGE_EXPORT_DIRECTORY>(dir.VirtualAddress);
    const auto* names = at<uint32_t>(exports->AddressOfNames);
    const auto* ordinals = at<uint16_t>(exports->AddressOfNameOrdinals);
    const auto* functions = at<uint32_t>(exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        list.push_back({at<char>(names[i]), functions[ordinals[i]]});
    return list;
}

std::vector<std::string> pe_image::imported_dlls() const {
    std::vector<std::string> list;
    const IMAGE_DATA_DIRECTORY dir = directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (dir.Size == 0) return list;
    for (const auto* entry = at<IMAGE_IMPORT_DESCRIPTOR>(dir.VirtualAddress); entry->Name; ++entry)
        list.push_back(at<char>(entry->Name));
    return list;
}

std::optional<uint32_t> pe_image::rva_of(const void* address) const {
    const auto* byte = static_cast<const uint8_t*>(address);
    if (byte < base_ || byte >= base_ + optional_header().SizeOfImage) return std::nullopt;
    return static_cast<uint32_t>(byte - base_);
}

bool pe_image::in_code(const void* address) const {
    const std::optional<uint32_t> rva = rva_of(address);
    const std::optional<pe_section> section = rva ? section_of(*rva) : std::nullopt;
    return section && (section->characteristics & IMAGE_SCN_MEM_EXECUTE);
}
