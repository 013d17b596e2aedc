#pragma once
// Tells when the window system destroys a window of ours from outside (a
// tool, or a window manager gone wrong). The toolkit keeps the widget as if it
// were still on the screen, so without this the program would run on unseen.

#include <QAbstractNativeEventFilter>

#include <functional>

class QWidget;

namespace pelto {

class CWindowGoneWatch : public QAbstractNativeEventFilter {
public:
    // gone runs from the event loop, not inside the window system's event.
    CWindowGoneWatch(const QWidget& watched, std::function<void()> gone);
    ~CWindowGoneWatch() override;
    CWindowGoneWatch(const CWindowGoneWatch&) = delete;
    CWindowGoneWatch& operator=(const CWindowGoneWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& m_watched;
    std::function<void()> m_gone;
};

} // namespace pelto
