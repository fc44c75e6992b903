// Reads the PE headers of a module as the loader mapped it: sections,
// exports, imported DLLs and data directories, all by RVA.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct pe_section {
    std::string name;
    uint32_t rva;
    uint32_t virtual_size;
    uint32_t raw_offset;               // in the file on disk
    uint32_t characteristics;
};

struct pe_export {
    std::string name;
    uint32_t rva;
};

class pe_image {
public:
    explicit pe_image(HMODULE module);

    const IMAGE_FILE_HEADER& file_header() const { return nt_->FileHeader; }
    const IMAGE_OPTIONAL_HEADER32& optional_header() const { return nt_->OptionalHeader; }
    IMAGE_DATA_DIRECTORY directory(unsigned index) const;

    std::vector<pe_section> sections() const;
    std::optional<pe_section> section_of(uint32_t rva) const;
    std::vector<pe_export> named_exports() const;
    std::vector<std::string> imported_dlls() const;

    // The RVA of an address inside the image, or nullopt outside it.
    std::optional<uint32_t> rva_of(const void* address) const;
    // True for an address in a section the loader maps executable.
    bool in_code(const void* address) const;

private:
    template <typename T>
    const T* at(uint32_t rva) const { return reinterpret_cast<const T*>(base_ + rva); }

    const uint8_t* base_;
    const IMAGE_NT_HEADERS32* nt_;
};
