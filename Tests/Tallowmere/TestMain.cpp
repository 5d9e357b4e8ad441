// Entry point of the application tests: headless, with a private save file, settings and data
// folder for this run, so no test ever touches the player's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    QTemporaryDir home;
    if (!home.isValid()) return 2;
    const QByteArray root = home.path().toUtf8();
    QDir(home.path()).mkpath("config");
    QDir(home.path()).mkpath("data");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("TM_SAVE_PATH", (root + "/save.json").constData(), 1);
    unsetenv("TM_START_ROOM");
    unsetenv("TM_SHOW");

    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
