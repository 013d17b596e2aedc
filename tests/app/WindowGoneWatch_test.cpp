// A window destroyed from outside is told once, and nothing else is.

#include "app/WindowGoneWatch.h"

#include <QCoreApplication>
#include <QWidget>

#include <gtest/gtest.h>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>

namespace pelto {

namespace {

struct GoneCase {
    const char* name;
    uint8_t type;
    bool ourWindow;
    int told;
};

class WindowGoneWatch : public testing::TestWithParam<GoneCase> {};

TEST_P(WindowGoneWatch, TellsOnlyOfTheWatchedWindowsDestruction) {
    const GoneCase& c = GetParam();
    QWidget watched;
    QWidget other;
    int told = 0;
    CWindowGoneWatch watch(watched, [&] { ++told; });
    xcb_destroy_notify_event_t event{};
    event.response_type = c.type;
    event.window = uint32_t((c.ourWindow ? watched : other).winId());
    EXPECT_FALSE(watch.nativeEventFilter("xcb_generic_event_t", &event, nullptr));
    EXPECT_EQ(told, 0); // not from inside the window system's event
    QCoreApplication::processEvents();
    EXPECT_EQ(told, c.told);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowGoneWatch,
                         testing::Values(GoneCase{"OurWindow", XCB_DESTROY_NOTIFY, true, 1},
                                         GoneCase{"SentByAnotherClient", XCB_DESTROY_NOTIFY | 0x80,
                                                  true, 1},
                                         GoneCase{"AnotherWindow", XCB_DESTROY_NOTIFY, false, 0},
                                         GoneCase{"AnotherEvent", XCB_UNMAP_NOTIFY, true, 0}),
                         [](const auto& c) { return std::string(c.param.name); });

} // namespace

} // namespace pelto
#endif
