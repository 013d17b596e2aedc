#pragma once
// The button states before they are written: the normal, hover, pressed and
// disabled looks side by side, each under its name, a large picture shown
// smaller to fit. Returns true when the user goes on to write them; tests
// answer it through tests/support/ModalControl.h.

#include <QImage>

#include <array>

class QWidget;

namespace pelto {

bool ShowButtonStates(const std::array<QImage, 4>& states, QWidget* owner);

} // namespace pelto
