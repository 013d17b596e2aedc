#include "WindowGoneWatch.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

// Only the protocol's event layout is needed: nothing to link.
#if __has_include(<xcb/xcb.h>)
#define PELTO_HAVE_XCB 1
#include <xcb/xcb.h>
#endif

namespace pelto {

CWindowGoneWatch::CWindowGoneWatch(const QWidget& watched, std::function<void()> gone)
    : m_watched(watched), m_gone(std::move(gone)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CWindowGoneWatch::~CWindowGoneWatch() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

bool CWindowGoneWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#ifdef PELTO_HAVE_XCB
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit marks an event another client sent.
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    const WId ours = m_watched.internalWinId();
    if (ours == 0 || destroyed->window != ours) return false;
    QTimer::singleShot(0, QCoreApplication::instance(), m_gone);
#else
    (void)eventType;
    (void)message;
#endif
    return false;
}

} // namespace pelto
