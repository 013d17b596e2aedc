// One QApplication for a whole test program, made when the tests start (not
// when they are only listed), on the offscreen platform unless told otherwise.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace pelto {

namespace {

class QtApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        m_application = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "pelto-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
};

const testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

} // namespace pelto
