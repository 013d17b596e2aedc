#pragma once
// How a selection was made, as a style's background keeps it: the picks in
// order since the selection was last empty, none of them when the picture's
// transparency alone made it; no record at all when that cannot be told (a
// selection made elsewhere and handed over).

#include "engine/BackgroundPick.h"

#include <optional>
#include <vector>

namespace pelto {

using PickRecord = std::optional<std::vector<BackgroundPick>>;

} // namespace pelto
