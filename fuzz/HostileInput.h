#pragma once
// Pushes arbitrary bytes through everything a user can do with a file: open
// it (from memory and from disk), draw it, pick the background, make the
// button, undo, save and open the result again. The whole input is the file;
// its last bytes also choose the pick and the button parameters, kept inside
// the ranges the dialogs enforce. Returns "" when every promise held,
// otherwise what broke. Memory errors are the sanitizers' to report.

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelto {

std::string RunHostileInput(const uint8_t* data, size_t size);

} // namespace pelto
