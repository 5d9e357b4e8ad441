// Entry point of the application tests: headless, with a private save file, settings and data
// folder for this run, so no test ever touches the player's own, and with what the game runs with
// (configureRuntime). A Qt warning printed during a test fails it unless the test expects it
// (QtWarnings.hpp).
#include <gtest/gtest.h>

#include "QtWarnings.hpp"
#include "Smoke/PrivateHome.hpp"

#include <Tallowmere/Platform/Runtime.hpp>

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace tallowmere::testing {

namespace {

// Warnings may come from any thread: the expectations live under a lock.
struct Expectations {
    std::mutex mutex;
    std::vector<ExpectQtWarning*> live;
};

Expectations& expectations() {
    static Expectations all;
    return all;
}

// What the headless platform says of itself whenever a window asks for what it cannot do (size
// hints of a top-level window, for one); no fault of ours, and printed by every window test.
bool headlessPlatformNotice(const QString& message) {
    return message.startsWith(QLatin1String("This plugin does not support "));
}

QtMessageHandler printMessage = nullptr;

void watchMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool warning = type == QtWarningMsg || type == QtCriticalMsg;
    if (warning && !headlessPlatformNotice(message) && !expectedQtWarning(message) &&
        ::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt warning: " << message.toStdString();
    if (printMessage) printMessage(type, context, message);
}

}  // namespace

ExpectQtWarning::ExpectQtWarning(const QString& pattern) : m_pattern(pattern) {
    Expectations& all = expectations();
    const std::lock_guard lock(all.mutex);
    all.live.push_back(this);
}

ExpectQtWarning::~ExpectQtWarning() {
    {
        Expectations& all = expectations();
        const std::lock_guard lock(all.mutex);
        all.live.erase(std::remove(all.live.begin(), all.live.end(), this), all.live.end());
    }
    EXPECT_GT(m_seen, 0) << "no Qt warning matched " << m_pattern.pattern().toStdString();
}

int ExpectQtWarning::seen() const {
    const std::lock_guard lock(expectations().mutex);
    return m_seen;
}

bool expectedQtWarning(const QString& message) {
    Expectations& all = expectations();
    const std::lock_guard lock(all.mutex);
    for (ExpectQtWarning* expected : all.live) {
        if (!expected->m_pattern.match(message).hasMatch()) continue;
        ++expected->m_seen;
        return true;
    }
    return false;
}

}  // namespace tallowmere::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    QTemporaryDir home;
    if (!usePrivateHome(home)) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("TM_START_ROOM");

    QApplication app(argc, argv);
    tallowmere::configureRuntime();
    tallowmere::testing::printMessage = qInstallMessageHandler(tallowmere::testing::watchMessage);
    return RUN_ALL_TESTS();
}
