// The module's version record, read through the Win32 version API as
// Explorer and installers read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class version_record : public ::testing::Test {
protected:
    void SetUp() override {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(GAUGE_FILE, &handle);
        ASSERT_GT(size, 0u) << "error " << GetLastError();
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(GAUGE_FILE, 0, size, block_.data())) << "error " << GetLastError();
    }

    // The value at path, or null with its length 0.
    const void* value(const std::string& path, UINT& length) {
        void* data = nullptr;
        length = 0;
        if (!VerQueryValueA(block_.data(), path.c_str(), &data, &length)) return nullptr;
        return data;
    }

    std::string text(const std::string& name) {
        UINT length = 0;
        const void* data = value("\\StringFileInfo\\040904b0\\" + name, length);
        return data ? std::string(static_cast<const char*>(data)) : std::string();
    }

    std::vector<uint8_t> block_;
};

}  // namespace

TEST_F(version_record, fixed_part_is_version_1_0_0_0_for_win32) {
    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value("\\", length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 0x00010004u);
    EXPECT_EQ(fixed->dwFileType, 1u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
}

TEST_F(version_record, has_one_translation_us_english_unicode) {
    UINT length = 0;
    const auto* words = static_cast<const WORD*>(value("\\VarFileInfo\\Translation", length));
    ASSERT_NE(words, nullptr);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(words[0], 0x0409);
    EXPECT_EQ(words[1], 0x04B0);
}

TEST_F(version_record, strings_name_the_gauge_and_its_version) {
    EXPECT_EQ(text("FileVersion"), "1.0.0");
    EXPECT_EQ(text("ProductVersion"), "1.0.0");
    EXPECT_EQ(text("FileDescription"), "Flight Simulator 98 Gauge");
    for (const char* name : {"CompanyName", "ProductName", "LegalCopyright"})
        EXPECT_FALSE(text(name).empty()) << name;
}
