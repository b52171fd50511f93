#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The application is made only when tests run, so listing them (as test discovery does at build
// time) works without a display.
class DesktopEnvironment : public testing::Environment
{
public:
    DesktopEnvironment(int& argc, char** argv)
        : m_argc(argc)
        , m_argv(argv)
    {}

    void SetUp() override
    {
        // Without a display the application aborts; say what to do instead. Widgets come along
        // for the views' context menus.
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"))
            << "no X display: run the integration tests under scripts/with-desktop";
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }

    void TearDown() override { m_app.reset(); }

private:
    int& m_argc;
    char** m_argv;
    std::unique_ptr<QApplication> m_app;
};

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new DesktopEnvironment(argc, argv));
    return RUN_ALL_TESTS();
}
