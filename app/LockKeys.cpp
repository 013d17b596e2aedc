#include "LockKeys.h"

#include <QGuiApplication>

#ifdef PELTO_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace pelto {

std::optional<LockKeys> QueryLockKeys() {
#ifdef PELTO_HAVE_X11
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return std::nullopt;
    unsigned state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success) return std::nullopt;
    const auto lit = [&](const char* name) {
        int on = 0;
        const Atom atom = XInternAtom(display, name, True);
        return atom != None &&
               XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
    };
    return LockKeys{lit("Caps Lock"), lit("Num Lock"), lit("Scroll Lock")};
#else
    return std::nullopt;
#endif
}

} // namespace pelto
