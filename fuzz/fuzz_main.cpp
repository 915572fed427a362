// The libFuzzer entry points. One program holds every check; the environment variable
// TARNWICK_FUZZ_TARGET names the one it runs ("list" prints their names). A finding
// aborts, so libFuzzer keeps the input as a crash.

#include "checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const tw::fuzz::Target* chosen = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* name = std::getenv("TARNWICK_FUZZ_TARGET");
    chosen = name ? tw::fuzz::targetNamed(name) : nullptr;
    if (!chosen) {
        if (!name || std::string_view(name) != "list")
            std::fprintf(stderr, "Set TARNWICK_FUZZ_TARGET to one of these (or to \"list\"):\n");
        for (const tw::fuzz::Target& t : tw::fuzz::targets()) std::printf("%s\n", t.name);
        std::exit(name && std::string_view(name) == "list" ? 0 : 2);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tw::fuzz::Finding finding = chosen->check({reinterpret_cast<const char*>(data), size});
    if (!finding.empty()) {
        std::fprintf(stderr, "%s: %s\n", chosen->name, finding.c_str());
        std::abort();
    }
    return 0;
}
