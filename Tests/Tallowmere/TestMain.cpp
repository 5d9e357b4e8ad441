// Entry point of the application tests: headless, with a private save file, settings and data
// folder for this run, so no test ever touches the player's own.
#include <gtest/gtest.h>

#include "Smoke/PrivateHome.hpp"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    QTemporaryDir home;
    if (!usePrivateHome(home)) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    unsetenv("TM_START_ROOM");

    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
