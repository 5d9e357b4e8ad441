// The real-window runs keep the game's save, settings and data in a fresh temporary folder, so
// they never touch the player's own.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

// Points the save file and the XDG folders into `home`; false when it could not be made.
inline bool usePrivateHome(const QTemporaryDir& home) {
    if (!home.isValid()) return false;
    const QByteArray root = home.path().toUtf8();
    QDir(home.path()).mkpath("config");
    QDir(home.path()).mkpath("data");
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
    setenv("TM_SAVE_PATH", (root + "/save.json").constData(), 1);
    unsetenv("TM_SHOW");
    return true;
}
