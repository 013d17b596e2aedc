#pragma once
// While a widget holds the mouse, the toolkit stops telling the others that
// the pointer left them: a toolbar button clicked just before stays lit and
// its prompt stays on the status bar. After letting the mouse go, this tells
// every widget the pointer is no longer over that it has left.

namespace pelto {

void ForgetStaleHover();

} // namespace pelto
