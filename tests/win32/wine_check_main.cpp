#include <windows.h>

#include <cstdio>
#include <cstring>
#include <iostream>

#include "wine_check.h"

namespace sumbrook::winecheck {

namespace {

struct Case {
    const char* name;
    void (*run)();
};

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

int failures = 0;

// A crash inside a case is reported as its failure instead of starting wine's debugger.
LONG WINAPI reportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "crashed: exception 0x%08lx at %p\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ExitProcess(3);
}

}  // namespace

void Register(const char* name, void (*run)()) {
    cases().push_back({name, run});
}

Failure::Failure(const char* file, int line, std::string what)
    : file_(file), line_(line), what_(std::move(what)) {}

Failure::~Failure() {
    ++failures;
    std::cout << file_ << ":" << line_ << ": failed: " << what_;
    if (const std::string detail = detail_.str(); !detail.empty()) {
        std::cout << " [" << detail << "]";
    }
    std::cout << std::endl;
}

}  // namespace sumbrook::winecheck

// usage: CHECKS.exe [--list | NAME...]   (no argument: every case)
int main(int argc, char** argv) {
    using namespace sumbrook::winecheck;
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(reportCrash);

    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const Case& c : cases()) {
            std::cout << c.name << "\n";
        }
        return 0;
    }
    std::vector<Case> selected;
    for (int i = 1; i < argc; ++i) {
        bool known = false;
        for (const Case& c : cases()) {
            if (std::strcmp(c.name, argv[i]) == 0) {
                selected.push_back(c);
                known = true;
            }
        }
        if (!known) {
            std::cerr << "no check named " << argv[i] << "\n";
            return 2;
        }
    }
    if (argc == 1) {
        selected = cases();
    }
    int failed = 0;
    for (const Case& c : selected) {
        std::cout << "[ RUN      ] " << c.name << std::endl;
        const int before = failures;
        c.run();
        const bool ok = failures == before;
        failed += ok ? 0 : 1;
        std::cout << (ok ? "[       OK ] " : "[  FAILED  ] ") << c.name << std::endl;
    }
    return failed == 0 ? 0 : 1;
}
