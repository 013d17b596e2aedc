#include "LightDigest.h"

#include "engine/Bevel.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace pelto {

std::string LightDigest() {
    uint64_t hash = 0xcbf29ce484222325u;
    uint64_t count = 0;
    const int reach = kWidthRange.high;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            for (int angle = kAngleRange.low; angle <= kAngleRange.high; ++angle, ++count) {
                const double light = LightFactor(dx, dy, angle);
                uint64_t bits; // std::bit_cast is missing from Emscripten's library
                std::memcpy(&bits, &light, sizeof bits);
                for (int byte = 0; byte < 8; ++byte)
                    hash = (hash ^ ((bits >> (8 * byte)) & 0xFF)) * 0x100000001b3u;
            }
    char text[48];
    std::snprintf(text, sizeof text, "%016llx %llu", static_cast<unsigned long long>(hash),
                  static_cast<unsigned long long>(count));
    return text;
}

} // namespace pelto
