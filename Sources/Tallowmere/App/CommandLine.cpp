#include <Tallowmere/App/CommandLine.hpp>

#include <Tallowmere/App/AppIcon.hpp>
#include <Tallowmere/App/TallowmereApp.hpp>
#include <Tallowmere/Model/Scene.hpp>
#include <Tallowmere/Platform/Decimal.hpp>
#include <Tallowmere/Platform/Runtime.hpp>

#include <Ostrevan/Levels.hpp>

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace tallowmere::CommandLine {

namespace {

constexpr std::string_view kShotSwitch = "--shot";
constexpr std::string_view kIconSwitch = "--icon";
constexpr std::string_view kDarkWord = "dark";
constexpr std::int64_t kFirstRoom = 1;
constexpr std::int64_t kLastRoom = 50;

// The room as play shows it a moment after it opens, the pointer in the middle of the stage.
constexpr double kShotTime = 1.3;
constexpr QPointF kShotMouse{500, 300};
constexpr QSize kShotSize{1000, 640};

std::vector<std::string> splitFlags(std::string_view text) {
    std::vector<std::string> flags;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        if (comma > start) flags.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return flags;
}

}  // namespace

std::int64_t shotRoom(std::string_view text) {
    // Clamp before converting to an index, so no number overflows on the way.
    return std::clamp(parseDecimal(text).value_or(kFirstRoom), kFirstRoom, kLastRoom);
}

Command parse(const std::vector<std::string>& args) {
    if (args.size() >= 4 && args[1] == kShotSwitch) {
        Shot shot;
        shot.room = shotRoom(args[2]);
        shot.path = args[3];
        if (args.size() >= 5) shot.flags = splitFlags(args[4]);
        shot.dark = args.size() >= 6 && args[5] == kDarkWord;
        return shot;
    }
    if (args.size() >= 3 && args[1] == kIconSwitch) return Icon{args[2]};
    return RunApplication{};
}

QImage renderRoomShot(const Shot& shot) {
    const std::vector<ostrevan::Level>& rooms = ostrevan::Levels::all();
    const auto index = static_cast<std::size_t>(std::clamp(shot.room, kFirstRoom, kLastRoom) - 1);
    if (index >= rooms.size()) return {};
    const ostrevan::Level& level = rooms[index];
    ostrevan::FlagSet flags(level.startFlags.begin(), level.startFlags.end());
    flags.insert(shot.flags.begin(), shot.flags.end());
    const RoomScene scene{level, std::move(flags), kShotTime, 0, std::nullopt, kShotMouse, shot.dark};
    SceneRenderer renderer;
    return renderer.render(scene, kShotSize);
}

std::optional<std::string> writePng(const QImage& image, const std::string& path) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) return "could not encode the PNG: " + writer.errorString().toStdString();
    buffer.close();

    // The path's bytes go to the system as given: a name that is not UTF-8 must not turn into
    // another name on the way through QString.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return std::strerror(errno);
    const char* bytes = data.constData();
    auto left = static_cast<std::size_t>(data.size());
    int failure = 0;
    while (left > 0) {
        const ssize_t written = ::write(fd, bytes, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failure = written < 0 ? errno : EIO;
            break;
        }
        bytes += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure != 0) return std::strerror(failure);
    return std::nullopt;
}

namespace {

// A PNG that could not be encoded or written is reported on stderr with exit status 1: a
// missing picture must never be claimed as written.
int writeAndReport(const QImage& image, const std::string& path, std::ostream& out, std::ostream& err) {
    if (const std::optional<std::string> reason = writePng(image, path)) {
        err << "Tallowmere: could not write " << path << ": " << *reason << '\n';
        return 1;
    }
    out << "wrote " << path << '\n';
    return 0;
}

}  // namespace

int runShot(const Shot& shot, std::ostream& out, std::ostream& err) {
    const QImage image = renderRoomShot(shot);
    if (image.isNull()) {
        out << "render failed\n";
        return 0;
    }
    return writeAndReport(image, shot.path, out, err);
}

int runIcon(const Icon& icon, std::ostream& out, std::ostream& err) {
    const QImage image = renderAppIcon(kAppIconSize);
    if (image.isNull()) return 0;
    return writeAndReport(image, icon.path, out, err);
}

namespace {

constexpr std::string_view kNoDisplay = "Tallowmere: no display: run it in a desktop session, or under xvfb-run";
constexpr std::string_view kHowToRun = "run it in a desktop session, or under xvfb-run";

const char* environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// The value given to one of Qt's own options (`-platform NAME`, `--platform NAME`), or empty.
std::string qtOption(const std::vector<std::string>& args, std::string_view name) {
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg.starts_with("--")) arg.remove_prefix(1);
        if (arg.starts_with('-') && arg.substr(1) == name) return args[i + 1];
    }
    return {};
}

// Without a display Qt aborts with advice about reinstalling; we say what is missing
// instead. A platform or a display named in the environment or on the command line is left to
// Qt.
bool displayAvailable(const std::vector<std::string>& args) {
    if (environmentValue("QT_QPA_PLATFORM") || environmentValue("DISPLAY") || environmentValue("WAYLAND_DISPLAY"))
        return true;
    return !qtOption(args, "platform").empty() || !qtOption(args, "display").empty();
}

// Whether a platform plugin answers to `name` where Qt looks for one: in the "platforms" folder
// of each plugin folder, and in the folder given by -platformpluginpath or the environment.
// Qt matches the names whatever their case.
bool platformPluginExists(const std::string& name, const std::vector<std::string>& args) {
    QStringList folders;
    for (const QString& path : QCoreApplication::libraryPaths()) folders << path + "/platforms";
    const std::string own = qtOption(args, "platformpluginpath");
    const char* fromEnvironment = environmentValue("QT_QPA_PLATFORM_PLUGIN_PATH");
    if (!own.empty()) folders << QString::fromLocal8Bit(own.c_str());
    else if (fromEnvironment) folders << QString::fromLocal8Bit(fromEnvironment);
    const QString wanted = QString::fromLocal8Bit(name.c_str());
    for (const QString& folder : folders) {
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            const QJsonObject about = QPluginLoader(file.absoluteFilePath()).metaData().value("MetaData").toObject();
            for (const QJsonValue key : about.value("Keys").toArray())
                if (key.toString().compare(wanted, Qt::CaseInsensitive) == 0) return true;
        }
    }
    return false;
}

// What to say when Qt's platform does not start: the platform asked for, or for X11 (Qt's
// default here, named in any case) the display it was to open.
std::string platformFailure(const std::vector<std::string>& args) {
    std::string platform = qtOption(args, "platform");
    if (platform.empty() && environmentValue("QT_QPA_PLATFORM")) platform = environmentValue("QT_QPA_PLATFORM");
    const std::string plugin = platform.substr(0, platform.find(':'));  // what follows are its options
    if (!platform.empty() && !platformPluginExists(plugin, args))
        return "Tallowmere: cannot start on the platform \"" + platform + "\": no such platform plugin";
    if (!platform.empty() && QString::fromLocal8Bit(plugin.c_str()).compare(u"xcb", Qt::CaseInsensitive) != 0)
        return "Tallowmere: cannot start on the platform \"" + platform + "\": " + std::string(kHowToRun);
    std::string display = qtOption(args, "display");
    if (display.empty() && environmentValue("DISPLAY")) display = environmentValue("DISPLAY");
    if (display.empty()) return std::string(kNoDisplay);
    return "Tallowmere: cannot open the display " + display + ": " + std::string(kHowToRun);
}

// Watches what Qt reports while the application object brings its platform up. A platform that
// cannot start (no server at the display, no such plugin) is a fatal error to Qt, which then
// dumps core with advice to reinstall: that becomes our one line and exit status 1. Qt's own
// warnings on the way are held back until the platform stands, then passed on as they were.
class PlatformStartWatch {
public:
    static void begin(std::vector<std::string> args) {
        State& s = state();
        s.args = std::move(args);
        s.previous = qInstallMessageHandler(&PlatformStartWatch::handle);
        // Pre-routines run once the application object has made its platform.
        qAddPreRoutine(&PlatformStartWatch::end);
    }

private:
    struct Held {
        QtMsgType type;
        QByteArray file, function, category;
        int line;
        QString message;
    };
    struct State {
        std::vector<std::string> args;  // what the failure is worked out from, only if it comes
        QtMessageHandler previous = nullptr;
        std::vector<Held> held;
    };
    static State& state() {
        static State s;
        return s;
    }

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtFatalMsg) {
            const std::string line = platformFailure(state().args) + '\n';
            std::fputs(line.c_str(), stderr);
            std::_Exit(1);
        }
        state().held.push_back({type, context.file, context.function, context.category, context.line, message});
    }

    static void end() {
        State& s = state();
        qInstallMessageHandler(s.previous);
        for (const Held& held : std::exchange(s.held, {})) {
            const QMessageLogContext context(held.file.constData(), held.line, held.function.constData(),
                                             held.category.constData());
            if (s.previous) s.previous(held.type, context, held.message);
        }
    }
};

}  // namespace

int run(int argc, char** argv) {
    openClosedStandardStreams();
    const std::vector<std::string> args(argv, argv + std::max(argc, 0));
    const Command command = parse(args);
    if (std::holds_alternative<RunApplication>(command)) {
        if (!displayAvailable(args)) {
            std::cerr << kNoDisplay << '\n';
            return 1;
        }
        PlatformStartWatch::begin(args);
        return runApplication(argc, argv);
    }

    // The offline modes draw with fonts and painters but never open a window. Qt sees only the
    // program name, so no argument of ours is taken for one of its options.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    configureRuntime();
    if (const Shot* shot = std::get_if<Shot>(&command)) return runShot(*shot, std::cout, std::cerr);
    return runIcon(std::get<Icon>(command), std::cout, std::cerr);
}

}  // namespace tallowmere::CommandLine
