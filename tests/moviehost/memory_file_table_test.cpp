#include "moviehost/memory_file_table.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "moviehost/code_patch_hook.h"
#include "moviehost/crc32.h"

namespace sumbrook {
namespace {

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Crc32Name, IsTheIeeeChecksumInUpperCaseHexWithoutLeadingZeros) {
    struct Row {
        std::string_view content;
        const char* name;
    };
    const Row rows[] = {
        {"123456789", "CBF43926"},
        {"", "0"},
        {"a", "E8B7BE43"},
        // CRC-32 0x0D4A1185: the leading zero is dropped.
        {"hello world", "D4A1185"},
        {"The quick brown fox jumps over the lazy dog", "414FA339"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Crc32Name(bytesOf(row.content)), row.name) << row.content;
    }
}

TEST(Crc32, ContinuesFromAStartValueWhereverTheBytesAreSplit) {
    EXPECT_EQ(Crc32(bytesOf("56789"), Crc32(bytesOf("1234"))), 0xCBF43926u);
    const std::string_view text = "The quick brown fox jumps over the lazy dog";
    for (std::size_t split = 0; split <= text.size(); ++split) {
        EXPECT_EQ(Crc32(bytesOf(text.substr(split)), Crc32(bytesOf(text.substr(0, split)))),
                  0x414FA339u)
            << "split at " << split;
    }
}

TEST(MemoryFileTable, EqualBytesOrEqualNamesShareOneEntry) {
    MemoryFileTable table;
    EXPECT_EQ(table.AddMemoryFile(bytesOf("123456789")), "CBF43926");
    EXPECT_EQ(table.AddMemoryFile(bytesOf("123456789")), "CBF43926");
    EXPECT_EQ(table.size(), 1u);

    // "plumless" and "buckeroo" are a known CRC-32 collision: the first bytes stay.
    const std::string first = table.AddMemoryFile(bytesOf("plumless"));
    EXPECT_EQ(table.AddMemoryFile(bytesOf("buckeroo")), first);
    EXPECT_EQ(table.size(), 2u);
    const auto entry = table.Find("/prog/" + Crc32Name(bytesOf("buckeroo")), "/prog", '/');
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::string(entry->bytes.begin(), entry->bytes.end()), "plumless");
}

TEST(MemoryFileTable, ServesOnlyTheExactPath) {
    MemoryFileTable table;
    table.AddMemoryFile(bytesOf("abc"));  // 352441C2
    const char* served[] = {R"(C:\Prog\352441C2)"};
    const char* notServed[] = {
        R"(C:\Prog\352441c2)", R"(c:\prog\352441C2)",     R"(C:\Prog\\352441C2)",
        R"(C:\Prog/352441C2)", R"(C:\Prog\352441C2.swf)", R"(C:\Prog\)",
        R"(C:\Prog)",          R"(C:\Pro\352441C2)",      "",
    };
    for (const char* path : served) {
        EXPECT_NE(table.Find(path, R"(C:\Prog)", '\\'), nullptr) << path;
    }
    for (const char* path : notServed) {
        EXPECT_EQ(table.Find(path, R"(C:\Prog)", '\\'), nullptr) << path;
    }
}

TEST(CodePatchHook, JumpPatchLoadsTheAddressIntoEaxAndJumps) {
    const auto patch = CodePatchHook::JumpPatch(0x12345678);
    const std::vector<std::uint8_t> expected{0xB8, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xE0};
    EXPECT_EQ(std::vector<std::uint8_t>(patch.begin(), patch.end()), expected);
}

}  // namespace
}  // namespace sumbrook
