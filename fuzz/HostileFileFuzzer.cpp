// libFuzzer entry point: every input is a file a user might open.

#include "HostileInput.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string broken = pelto::RunHostileInput(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "broken promise: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
