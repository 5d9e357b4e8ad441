// The command line: argument rules, and the offline modes run as the real binary.
#include <Tallowmere/App/CommandLine.hpp>

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

namespace tallowmere::CommandLine {
namespace {

std::vector<std::string> argv(std::initializer_list<std::string> rest) {
    std::vector<std::string> args{"tallowmere"};
    args.insert(args.end(), rest);
    return args;
}

// ## Argument rules

TEST(CommandLineParse, TooFewArgumentsOrOtherSwitchesStartTheApplication) {
    const std::vector<std::vector<std::string>> cases = {
        argv({}), argv({"--shot"}), argv({"--shot", "7"}), argv({"--icon"}), argv({"--SHOT", "7", "a.png"}),
        argv({"--Icon", "a.png"}), argv({"shot", "7", "a.png"}),
    };
    for (const auto& args : cases) EXPECT_TRUE(std::holds_alternative<RunApplication>(parse(args))) << args.size();
    const Command icon = parse(argv({"--icon", "a.png", "extra", "more"}));
    ASSERT_TRUE(std::holds_alternative<Icon>(icon));
    EXPECT_EQ(std::get<Icon>(icon).path, "a.png");
}

TEST(CommandLineParse, RoomNumbersClampAndUnparsableOnesGiveRoomOne) {
    struct Case { std::string text; std::int64_t room; };
    const Case cases[] = {
        {"7", 7}, {"+7", 7}, {"007", 7}, {"0", 1}, {"99", 50}, {"-5", 1}, {"50", 50}, {"1", 1},
        {"abc", 1}, {"", 1}, {" 7", 1}, {"7 ", 1}, {"7a", 1}, {"+", 1}, {"-", 1}, {"+-5", 1}, {"0x10", 1},
        {"-9223372036854775808", 1}, {"9223372036854775807", 50},
        {"99999999999999999999", 1},  // 20 digits: does not parse
    };
    for (const Case& c : cases) {
        const Command command = parse(argv({"--shot", c.text, "out.png"}));
        ASSERT_TRUE(std::holds_alternative<Shot>(command)) << c.text;
        EXPECT_EQ(std::get<Shot>(command).room, c.room) << c.text;
    }
}

TEST(CommandLineParse, FlagsSplitAtCommasAndOnlyTheExactWordDarkDarkens) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> flags;
        bool dark;
    };
    const Case cases[] = {
        {argv({"--shot", "3", "o.png"}), {}, false},
        {argv({"--shot", "3", "o.png", ",,a,,b"}), {"a", "b"}, false},
        {argv({"--shot", "3", "o.png", " a , b"}), {" a ", " b"}, false},
        {argv({"--shot", "3", "o.png", "", "dark"}), {}, true},
        {argv({"--shot", "3", "o.png", "lights_on", "dark"}), {"lights_on"}, true},
        {argv({"--shot", "3", "o.png", "x,y", "Dark"}), {"x", "y"}, false},
        {argv({"--shot", "3", "o.png", "x", "dark "}), {"x"}, false},
        {argv({"--shot", "3", "o.png", "dark"}), {"dark"}, false},
    };
    for (const Case& c : cases) {
        const Shot shot = std::get<Shot>(parse(c.args));
        EXPECT_EQ(shot.path, "o.png");
        EXPECT_EQ(shot.flags, c.flags) << c.args.size();
        EXPECT_EQ(shot.dark, c.dark) << c.args.size();
    }
}

// ## The binary

struct ProcessResult {
    int status = -1;
    QString out;
    QString err;
    QByteArray rawOut;
};

ProcessResult runProgram(const QString& program, const QStringList& args,
                         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, args);
    process.waitForFinished(60000);
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(process.readAllStandardError()), out};
}

ProcessResult runBinary(const QStringList& args) { return runProgram(TM_BINARY, args); }

// No display, no platform, no home: only what the sanitizers are told.
QProcessEnvironment bareEnvironment() {
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment bare;
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (system.contains(name)) bare.insert(name, system.value(name));
    return bare;
}

TEST(CommandLineBinary, WritesBothPicturesAndSaysSo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shotPath = dir.filePath("room 7.png");
    const ProcessResult shot = runBinary({"--shot", "7", shotPath, ",,a,,b", "dark"});
    EXPECT_EQ(shot.status, 0);
    EXPECT_EQ(shot.out, "wrote " + shotPath + "\n");
    const QImage room(shotPath);
    ASSERT_EQ(room.size(), QSize(1000, 640));
    EXPECT_LT(qGray(room.pixel(60, 600)), 14);  // dark away from the pointer, clear round it
    EXPECT_EQ(room.pixel(500, 300), renderRoomShot(Shot{7, "", {"a", "b"}, false}).pixel(500, 300));

    const QString iconPath = dir.filePath("icon.png");
    const ProcessResult icon = runBinary({"--icon", iconPath, "ignored"});
    EXPECT_EQ(icon.status, 0);
    EXPECT_EQ(icon.out, "wrote " + iconPath + "\n");
    const QImage picture(iconPath);
    ASSERT_EQ(picture.size(), QSize(1024, 1024));
    for (const QPoint corner : {QPoint(3, 3), QPoint(1023, 1023)}) EXPECT_EQ(qAlpha(picture.pixel(corner)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(512, 512)), 255);
    EXPECT_EQ(qAlpha(picture.pixel(110, 512)), 255);  // the tile's left edge
    EXPECT_GT(qAlpha(picture.pixel(512, 935)), 0);    // the shadow below it
}

TEST(CommandLineBinary, AFileThatCannotBeWrittenIsReportedAndFails) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("no/such/folder/out.png");
    for (const QStringList& args : {QStringList{"--shot", "3", missing}, QStringList{"--icon", missing}}) {
        const ProcessResult result = runBinary(args);
        EXPECT_EQ(result.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        EXPECT_TRUE(result.err.contains("could not write " + missing + ": ")) << result.err.toStdString();
        EXPECT_FALSE(QFile::exists(missing));
    }
}

TEST(CommandLineBinary, WithoutADisplayTheGameSaysSoAndOfflineModesStillWork) {
    const ProcessResult game = runProgram(TM_BINARY, {}, bareEnvironment());
    EXPECT_EQ(game.status, 1);
    EXPECT_EQ(game.err, "Tallowmere: no display: run it in a desktop session, or under xvfb-run\n");
    EXPECT_TRUE(game.out.isEmpty()) << game.out.toStdString();

    // Arguments that look like Qt's own options stay ours: here the flags and the dark word.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shotPath = dir.filePath("shot.png");
    const ProcessResult shot = runProgram(TM_BINARY, {"--shot", "3", shotPath, "-platform", "nosuchplatform"},
                                          bareEnvironment());
    EXPECT_EQ(shot.status, 0) << shot.err.toStdString();
    EXPECT_EQ(shot.out, "wrote " + shotPath + "\n");
    EXPECT_EQ(QImage(shotPath).size(), QSize(1000, 640));
}

// A display no server answers at, or a platform with no plugin here, named in the environment or
// by Qt's own options: Qt would dump core with advice to reinstall; the game names what it tried
// in one line and fails.
TEST(CommandLineBinary, ADisplayOrPlatformThatCannotStartIsNamedAndFails) {
    int number = 4000;  // well past what xvfb-run picks, and free: no socket, no lock
    while (QFile::exists(QString("/tmp/.X11-unix/X%1").arg(number)) || QFile::exists(QString("/tmp/.X%1-lock").arg(number)))
        ++number;
    const QString display = QString(":%1").arg(number);
    const QString hint = ": run it in a desktop session, or under xvfb-run\n";
    const QString noDisplay = "Tallowmere: cannot open the display " + display + hint;
    const auto noPlugin = [](const QString& platform) {
        return "Tallowmere: cannot start on the platform \"" + platform + "\": no such platform plugin\n";
    };
    struct Case {
        QStringList args;
        QString variable, value;  // one in the environment, if any
        QString line;
    };
    const Case cases[] = {
        {{}, "DISPLAY", display, noDisplay},
        {{"-display", display}, {}, {}, noDisplay},
        {{"-platform", "xcb", "--display", display}, {}, {}, noDisplay},
        {{"-platform", "XCB", "-display", display}, {}, {}, noDisplay},  // Qt takes a plugin's name in any case
        {{"-platform", "xcb:nograb", "-display", display}, {}, {}, noDisplay},  // a plugin named with its options
        {{}, "QT_QPA_PLATFORM", "nosuchplugin", noPlugin("nosuchplugin")},
        {{"-platform", "nosuchplugin"}, {}, {}, noPlugin("nosuchplugin")},
        {{"--platform", "nosuchplugin:size=9"}, "QT_QPA_PLATFORM", "offscreen", noPlugin("nosuchplugin:size=9")},
        // Whether Wayland's plugin is installed or no compositor answers it, it is named.
        {{}, "QT_QPA_PLATFORM", "wayland", "Tallowmere: cannot start on the platform \"wayland\": "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.args.join(' ') + " " + c.variable + "=" + c.value).toStdString());
        QProcessEnvironment environment = bareEnvironment();
        if (!c.variable.isEmpty()) environment.insert(c.variable, c.value);
        const ProcessResult game = runProgram(TM_BINARY, c.args, environment);
        EXPECT_EQ(game.status, 1);
        if (c.line.endsWith('\n')) {
            EXPECT_EQ(game.err.toStdString(), c.line.toStdString());
        } else {
            EXPECT_TRUE(game.err.startsWith(c.line) && game.err.count('\n') == 1) << game.err.toStdString();
        }
        EXPECT_TRUE(game.out.isEmpty()) << game.out.toStdString();
    }
}

// The game started where Qt can start it: on the headless platform, and on a display given only
// by Qt's own option. It stays up, and what Qt warned of while its platform came up reaches
// stderr: here that the runtime folder is open to others.
TEST(CommandLineBinary, AGameThatStartsPassesQtsWarningsOn) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    ASSERT_TRUE(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                          QFile::ExeOther));
    const QString warning = "QStandardPaths: wrong permissions on runtime directory " + runtime.path();
    // The save and settings folders of this test run, a runtime folder of mode 0755, and no session
    // bus to fork a launcher for.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");

    // Runs the game until `warning` shows on its stderr or it ends, then ends it; what it wrote
    // there, with a line of our own when it had ended by itself.
    const auto startedWarning = [&](const QStringList& args, const QProcessEnvironment& with) {
        QProcess game;
        game.setProcessEnvironment(with);
        game.setReadChannel(QProcess::StandardError);
        game.start(TM_BINARY, args);
        QString err;
        while (!err.contains(warning) && game.waitForReadyRead(60000))
            err += QString::fromUtf8(game.readAllStandardError());
        const bool ended = game.state() != QProcess::Running;
        game.kill();
        game.waitForFinished();
        return err + QString::fromUtf8(game.readAllStandardError()) + (ended ? "[the game ended]\n" : "");
    };
    QProcessEnvironment headless = environment;
    headless.insert("QT_QPA_PLATFORM", "offscreen");
    const QString offscreen = startedWarning({}, headless);
    EXPECT_TRUE(offscreen.contains(warning)) << offscreen.toStdString();
    EXPECT_FALSE(offscreen.contains("Tallowmere:") || offscreen.contains("[the game ended]")) << offscreen.toStdString();

    // A server of our own, which says its display once it answers. A game that could not reach it
    // (another test's server on the same number, going away as ours came up) gets a fresh one.
    QString onDisplay;
    for (int attempt = 0; attempt < 3 && !onDisplay.contains(warning); ++attempt) {
        QProcess server;
        server.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1400x1000x24"});
        if (!server.waitForStarted()) GTEST_SKIP() << "no Xvfb here";
        QByteArray number;
        while (!number.contains('\n') && server.waitForReadyRead(60000)) number += server.readAllStandardOutput();
        const bool named = number.contains('\n');
        EXPECT_TRUE(named) << "Xvfb named no display";
        onDisplay =
            named ? startedWarning({"-display", ":" + QString::fromLatin1(number.trimmed())}, environment) : QString();
        server.terminate();
        server.waitForFinished();
        if (!onDisplay.contains("cannot open the display")) break;
    }
    EXPECT_TRUE(onDisplay.contains(warning)) << onDisplay.toStdString();
    EXPECT_FALSE(onDisplay.contains("Tallowmere:") || onDisplay.contains("[the game ended]")) << onDisplay.toStdString();
}

TEST(CommandLineBinary, APathThatIsNotUtf8IsWrittenByItsExactBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The shell spells the byte 0xE9, which no QString argument could carry.
    const QByteArray path = QFile::encodeName(dir.path()) + "/caf\xe9.png";
    const ProcessResult shot = runProgram(
        "/bin/sh", {"-c", R"(exec "$0" --icon "$1$(printf '\351').png")", TM_BINARY, dir.filePath("caf")});
    EXPECT_EQ(shot.status, 0) << shot.err.toStdString();
    EXPECT_EQ(shot.rawOut, "wrote " + path + "\n");
    struct stat info{};
    EXPECT_EQ(::stat(path.constData(), &info), 0);
    EXPECT_GT(info.st_size, 0);
    const std::filesystem::directory_iterator folder(dir.path().toStdString());
    EXPECT_EQ(std::distance(begin(folder), end(folder)), 1);
    // Qt cannot name this file to remove it, so the folder would outlive the test.
    ::unlink(path.constData());
}

}  // namespace
}  // namespace tallowmere::CommandLine
