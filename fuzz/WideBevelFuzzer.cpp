// libFuzzer entry point: every input describes a picture, a selection and a
// button, checked against the plain bevel and saved onto a failing disk.

#include "WideBevel.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string broken = pelto::RunWideBevel(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "broken promise: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
