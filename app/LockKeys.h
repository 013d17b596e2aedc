#pragma once
// The keyboard's lock states, where the windowing system tells them (X11);
// elsewhere nothing is known.

#include <optional>

namespace pelto {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

std::optional<LockKeys> QueryLockKeys();

} // namespace pelto
