#pragma once
// A digest of every light factor the bevel can use (engine/Bevel.h: every
// offset a band reaches, every angle), to show that two machines compute the
// same doubles: the browser's is compared with the desktop's.

#include <string>

namespace pelto {

// 16 hex digits (FNV-1a over the doubles' bits), a space and how many there were.
std::string LightDigest();

} // namespace pelto
