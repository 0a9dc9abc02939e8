#pragma once

#include <cstdint>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

// A very small harness for the checks that run under wine. GoogleTest would have to be
// cross-built for every build directory; these checks need only named cases, expectations
// that print both sides, and one case per process (the program runs each by name).
namespace sumbrook::winecheck {

void Register(const char* name, void (*run)());

// Marks the running case failed and prints where and why, with anything streamed into it,
// when it goes out of scope.
class Failure {
  public:
    Failure(const char* file, int line, std::string what);
    ~Failure();
    Failure(const Failure&) = delete;
    Failure& operator=(const Failure&) = delete;

    template <class T>
    Failure& operator<<(const T& value) {
        detail_ << value;
        return *this;
    }

  private:
    const char* file_;
    int line_;
    std::string what_;
    std::ostringstream detail_;
};

template <class T>
std::string Show(const T& value) {
    std::ostringstream out;
    if constexpr (std::is_same_v<T, std::uint8_t>) {
        out << "0x" << std::hex << +value;
    } else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
        // Integers here are mostly addresses and byte counts: both forms help.
        out << +value << " (0x" << std::hex << +value << ")";
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        out << '"' << std::string_view(value) << '"';
    } else if constexpr (requires { std::begin(value), std::end(value); }) {
        out << "{";
        for (const auto& element : value) {
            out << " " << Show(element);
        }
        out << " }";
    } else {
        out << value;
    }
    return out.str();
}

template <class A, class B>
std::pair<bool, std::string> Compare(const A& actual, const B& expected, const char* actualText,
                                     const char* expectedText) {
    if (actual == expected) {
        return {true, {}};
    }
    return {false, std::string(actualText) + " is " + Show(actual) + ", expected " + expectedText +
                       " = " + Show(expected)};
}

}  // namespace sumbrook::winecheck

#define WINE_CHECK(name)                                       \
    static void name();                                        \
    [[maybe_unused]] static const bool name##Registered =      \
        (::sumbrook::winecheck::Register(#name, &name), true); \
    static void name()

// Each streams further context: EXPECT(ok) << "row " << i;
#define EXPECT(condition) \
    if (condition) {      \
    } else                \
        ::sumbrook::winecheck::Failure(__FILE__, __LINE__, #condition)

#define EXPECT_EQ(actual, expected)                                                   \
    if (const auto [equal_, text_] =                                                  \
            ::sumbrook::winecheck::Compare((actual), (expected), #actual, #expected); \
        equal_) {                                                                     \
    } else                                                                            \
        ::sumbrook::winecheck::Failure(__FILE__, __LINE__, text_)

// Ends the case when the rest of it could only crash or repeat the same failure.
#define REQUIRE(condition) \
    if (condition) {       \
    } else                 \
        return (void)::sumbrook::winecheck::Failure(__FILE__, __LINE__, #condition)
