// Starts the one QApplication of a window test binary before its first test. Every window
// test executable lists this file among its sources.

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // ctest sets it; a test binary started by hand should not need a display either
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        App = std::make_unique<QApplication>(Argc, Argv);
    }
    void TearDown() override { App.reset(); }

private:
    int Argc = 1;
    char Name[12] = "vggui-test";
    char* Argv[2] = {Name, nullptr};
    std::unique_ptr<QApplication> App;
};

[[maybe_unused]] ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
