#include "moviehost/memory_file_table.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(CodePatchHook, RewriteBehindSpinNeverLetsAnEnteringThreadRunMixedCode) {
    using Code = std::vector<std::uint8_t>;
    // A function's first 16 bytes as a compiler might leave them, and the same with the
    // 12-byte jump written over its start.
    const Code original{0x48, 0x89, 0x5C, 0x24, 0x08, 0x57, 0x48, 0x83,
                        0xEC, 0x20, 0x48, 0x8B, 0xF9, 0x33, 0xDB, 0x90};
    const auto patched = [&original](std::uint64_t replacement) {
        Code code = original;
        const auto jump = CodePatchHook::JumpPatch64(replacement);
        std::copy(jump.begin(), jump.end(), code.begin());
        return code;
    };
    Code firstTwoOnly = original;
    firstTwoOnly[0] = 0xEB;
    firstTwoOnly[1] = 0x0E;
    const struct {
        const char* name;
        Code from, to;
        std::size_t stores;
    } rows[] = {
        {"install", original, patched(0x00007FF812345678), 3},
        {"removal", patched(0x00007FF812345678), original, 3},
        {"another replacement: the same first two bytes", patched(0x1000), patched(0x2000), 3},
        {"only the first two bytes differ", original, firstTwoOnly, 2},
        {"nothing differs", original, original, 0},
    };
    for (const auto& row : rows) {
        const auto writes = CodePatchHook::RewriteBehindSpin(row.from, row.to);
        EXPECT_EQ(writes.size(), row.stores) << row.name;
        Code memory = row.from;
        const auto spinning = [&memory] { return memory[0] == 0xEB && memory[1] == 0xFE; };
        for (const auto& write : writes) {
            if (write.atomic) {
                // One store of at most two bytes, at the entry.
                EXPECT_EQ(write.offset, 0u) << row.name;
                EXPECT_EQ(write.bytes.size(), 2u) << row.name;
            } else {
                // Plain stores only behind the spin, never over it.
                EXPECT_TRUE(spinning()) << row.name;
                EXPECT_GE(write.offset, 2u) << row.name;
            }
            ASSERT_LE(write.offset + write.bytes.size(), memory.size()) << row.name;
            std::copy(write.bytes.begin(), write.bytes.end(), memory.begin() + write.offset);
            EXPECT_TRUE(memory == row.from || memory == row.to || spinning()) << row.name;
        }
        EXPECT_EQ(memory, row.to) << row.name;
    }
    EXPECT_TRUE(CodePatchHook::RewriteBehindSpin(original, Code(15)).empty());
    EXPECT_TRUE(CodePatchHook::RewriteBehindSpin(Code{0xC3}, Code{0x90}).empty());
}

TEST(CodePatchHook, JumpPatch64LoadsTheWholeAddressIntoRaxAndJumps) {
    const struct {
        std::uint64_t address;
        std::vector<std::uint8_t> expected;
    } rows[] = {
        {0x00007FF812345678,
         {0x48, 0xB8, 0x78, 0x56, 0x34, 0x12, 0xF8, 0x7F, 0x00, 0x00, 0xFF, 0xE0}},
        {0xFEDCBA9876543210,
         {0x48, 0xB8, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0xFF, 0xE0}},
        {0x12345678, {0x48, 0xB8, 0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xE0}},
    };
    for (const auto& row : rows) {
        const auto patch = CodePatchHook::JumpPatch64(row.address);
        EXPECT_EQ(std::vector<std::uint8_t>(patch.begin(), patch.end()), row.expected)
            << std::hex << row.address;
    }
}

}  // namespace
}  // namespace sumbrook
