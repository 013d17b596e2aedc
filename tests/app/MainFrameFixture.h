#pragma once
// The main window of a started program, for the tests that drive it.

#include "AppFixture.h"

namespace pelto {

class MainFrameTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        m_app = Start();
        ASSERT_TRUE(m_bStarted);
    }
    CMainFrame& Frame() { return *m_app->GetMainFrame(); }

    std::unique_ptr<CPeltoApp> m_app;
};

} // namespace pelto
