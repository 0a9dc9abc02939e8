// The process's file-open entry under the patch hook: served paths give their whole
// content from memory, every other open behaves as without the hook, and the hook can be
// put in and taken out only in pairs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "moviehost/code_patch_hook.h"
#include "moviehost/file_open_entry.h"
#include "moviehost/intercepted_open.h"
#include "moviehost/memory_file_table.h"

namespace sumbrook {
namespace {

namespace fs = std::filesystem;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Reads `fd` to its end (then closes it); nothing when a read fails.
std::optional<std::string> readToEnd(int fd) {
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

// What an open gives: the content, or the error.
struct Opened {
    bool ok = false;
    int error = 0;
    std::string content;
    bool operator==(const Opened&) const = default;
};

Opened openThroughEntry(const std::string& path) {
    errno = 0;
    const int fd = OpenFileForReading(path.c_str());
    if (fd < 0) {
        return {false, errno, {}};
    }
    const auto content = readToEnd(fd);
    return {content.has_value(), content ? 0 : EISDIR, content.value_or("")};
}

Opened openBySystem(const std::string& path) {
    errno = 0;
    const int fd = FileOpenEntry::SystemOpenForReading(path.c_str());
    if (fd < 0) {
        return {false, errno, {}};
    }
    const auto content = readToEnd(fd);
    return {content.has_value(), content ? 0 : EISDIR, content.value_or("")};
}

class FileOpenHook : public ::testing::Test {
  protected:
    FileOpenHook() {
        char pattern[] = "/tmp/sumbrook-open-XXXXXX";
        directory = ::mkdtemp(pattern);
    }
    ~FileOpenHook() override {
        hook.remove();
        InterceptedOpen::Serve(nullptr, {});
        fs::remove_all(directory);
    }
    bool installInterceptor() {
        InterceptedOpen::Serve(&table, directory);
        return hook.install(FileOpenEntry::kModule, FileOpenEntry::kFunction,
                            reinterpret_cast<const void*>(&InterceptedOpen::Open));
    }
    void writeFile(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }

    std::string directory;
    MemoryFileTable table;
    CodePatchHook hook;
};

TEST_F(FileOpenHook, InstallsOnlyOnTheEntryAndOnlyOnce) {
    struct Row {
        const char* module;
        const char* function;
    };
    const Row unknown[] = {
        {"kernel32.dll", "CreateFileA"},    {"sumbrook", "openfileforreading"},
        {"Sumbrook", "OpenFileForReading"}, {"sumbrook", ""},
        {"", "OpenFileForReading"},
    };
    const void* replacement = reinterpret_cast<const void*>(&InterceptedOpen::Open);
    for (const Row& row : unknown) {
        EXPECT_FALSE(hook.install(row.module, row.function, replacement)) << row.module;
        EXPECT_EQ(hook.label(), "");
    }
    EXPECT_FALSE(hook.install(FileOpenEntry::kModule, FileOpenEntry::kFunction, nullptr));

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(installInterceptor()) << "round " << round;
        EXPECT_EQ(hook.label(), "sumbrook|OpenFileForReading");
        // A second install is refused and leaves the first in place.
        EXPECT_FALSE(
            hook.install(FileOpenEntry::kModule, FileOpenEntry::kFunction,
                         reinterpret_cast<const void*>(&FileOpenEntry::SystemOpenForReading)));
        EXPECT_EQ(hook.label(), "sumbrook|OpenFileForReading");
        const std::string name = table.AddMemoryFile(bytesOf("movie"));
        EXPECT_EQ(openThroughEntry(directory + "/" + name).content, "movie");

        hook.remove();
        EXPECT_EQ(hook.label(), "");
        EXPECT_FALSE(hook.installed());
        EXPECT_FALSE(openThroughEntry(directory + "/" + name).ok) << "still served after remove";
        hook.remove();  // removing twice does nothing
    }
}

TEST_F(FileOpenHook, AServedPathGivesItsWholeContentThenEndOfFileAtEveryOpen) {
    const std::string rows[] = {
        "", "CWS\x08 a short movie",
        std::string(3 * 1024 * 1024 + 17, '\x5a'),  // far more than a pipe holds
    };
    ASSERT_TRUE(installInterceptor());
    for (const std::string& content : rows) {
        const std::string path = directory + "/" + table.AddMemoryFile(bytesOf(content));
        for (int open = 0; open < 2; ++open) {
            const int fd = OpenFileForReading(path.c_str());
            ASSERT_GE(fd, 0) << std::strerror(errno);
            struct stat info {};
            ASSERT_EQ(::fstat(fd, &info), 0);
            EXPECT_EQ(static_cast<std::size_t>(info.st_size), content.size());
            // Sealed: the served copy cannot be changed by whoever holds it.
            EXPECT_LT(::write(fd, "x", 1), 0);
            EXPECT_NE(::fcntl(fd, F_GET_SEALS) & F_SEAL_WRITE, 0);
            const auto read = readToEnd(fd);
            ASSERT_TRUE(read.has_value());
            EXPECT_TRUE(*read == content) << "size " << content.size() << " open " << open;
        }
        // Never a file on disk.
        EXPECT_FALSE(fs::exists(path));
    }
}

TEST_F(FileOpenHook, OnlyTheExactSpellingIsServed) {
    const std::string name = table.AddMemoryFile(bytesOf("abc"));  // 352441C2
    ASSERT_EQ(name, "352441C2");
    ASSERT_TRUE(installInterceptor());
    const std::string leaf = directory.substr(directory.rfind('/') + 1);
    const std::string notServed[] = {
        directory + "/352441c2",
        directory + "//352441C2",
        directory + "/./352441C2",
        directory + "/../" + leaf + "/352441C2",
        directory + "/352441C2/",
        directory + "/352441C2.swf",
        "/TMP/" + directory.substr(5) + "/352441C2",
        "352441C2",
    };
    for (const std::string& path : notServed) {
        const Opened missing = openThroughEntry(path);
        EXPECT_FALSE(missing.ok) << path;
        EXPECT_EQ(missing.error, openBySystem(path).error) << path;
    }
    // A file of its own at another spelling is that file, not the served content.
    writeFile(directory + "/352441c2", "on disk");
    EXPECT_EQ(openThroughEntry(directory + "/352441c2").content, "on disk");
    EXPECT_EQ(openThroughEntry(directory + "/352441C2").content, "abc");
}

TEST_F(FileOpenHook, OtherOpensBehaveAsWithoutTheHook) {
    writeFile(directory + "/notes.txt", "plain file");
    ::mkdir((directory + "/folder").c_str(), 0755);
    const std::string paths[] = {
        directory + "/notes.txt",    directory + "/missing", directory + "/folder", directory, "",
        "/proc/self/status-nothing",
    };
    table.AddMemoryFile(bytesOf("served"));
    std::vector<Opened> without;
    for (const std::string& path : paths) {
        without.push_back(openThroughEntry(path));
    }
    ASSERT_TRUE(installInterceptor());
    for (std::size_t i = 0; i < std::size(paths); ++i) {
        EXPECT_EQ(openThroughEntry(paths[i]), without[i]) << paths[i];
    }
    EXPECT_EQ(without[0].content, "plain file");
}

// The entry is never unhooked for a pass-through, so opens on several threads at once all
// get what they ask for.
TEST_F(FileOpenHook, ServesAndPassesThroughOnManyThreadsAtOnce) {
    const std::string served = directory + "/" + table.AddMemoryFile(bytesOf("served bytes"));
    writeFile(directory + "/other", "other bytes");
    ASSERT_TRUE(installInterceptor());
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 300; ++i) {
                const bool mine = (i + t) % 2 == 0;
                const Opened got = openThroughEntry(mine ? served : directory + "/other");
                if (got.content != (mine ? "served bytes" : "other bytes")) {
                    ++wrong;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace sumbrook
