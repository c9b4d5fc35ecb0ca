#include "gui/ProgramCommandLine.h"

#include "common/ProgramFolders.h"
#include "common/ProgramInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

namespace vg {

namespace {

QString Description() {
    const ProgramFolders folders = RunningProgramFolders();
    return QStringLiteral("Configures and diagnoses a Vigilo tool-monitoring control unit.\n\n"
                          "Settings (Konfig.Cfg) and COMn links: %1\n"
                          "Configurations (CD_DATA): %2CD_DATA")
        .arg(QString::fromStdString(folders.Settings), QString::fromStdString(folders.Data));
}

struct ProgramOptions {
    ProgramOptions() { Parser.setApplicationDescription(Description()); }
    QCommandLineParser Parser;
    QCommandLineOption Help = Parser.addHelpOption();
    QCommandLineOption Version = Parser.addVersionOption();
};

} // namespace

void SetProgramIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("vgconfig"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion));
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopId));
    }
}

namespace {

// The toolkit's own options, which QApplication takes out of the list once it is created
// (one or two dashes). The first take a value.
const char* const ToolkitValueOptions[] = {"platform",
                                           "platformpluginpath",
                                           "platformtheme",
                                           "plugin",
                                           "qwindowgeometry",
                                           "geometry",
                                           "qwindowicon",
                                           "icon",
                                           "qwindowtitle",
                                           "title",
                                           "session",
                                           "display",
                                           "name",
                                           "style",
                                           "stylesheet",
                                           "qmljsdebugger",
                                           "visual"};
const char* const ToolkitFlags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

std::optional<int> Mistake(const QString& mistake) {
    std::cerr << "vgconfig: " << mistake.toStdString()
              << "\nTry 'vgconfig --help' for more information.\n";
    return 2;
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Whether the platform the toolkit will start needs a display server: the desktop's (xcb,
// wayland, the default) do, offscreen, minimal, vnc, linuxfb, eglfs and the like do not.
bool NeedsDisplayServer(const QString& platform) {
    if (platform.isEmpty()) {
        return true;
    }
    for (const QString& candidate : platform.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!candidate.startsWith(QLatin1String("xcb")) &&
            !candidate.startsWith(QLatin1String("wayland"))) {
            return false; // the toolkit can fall back to it
        }
    }
    return true;
}

} // namespace

std::optional<int> SettleBeforeWindowSystem(int argc, char** argv) {
    // A plain application object only reads the arguments; it needs no display.
    int probeArgc = argc;
    const QCoreApplication probe(probeArgc, argv);
    SetProgramIdentity();
    ProgramOptions options;
    options.Parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QCommandLineOption platform(QStringLiteral("platform"), QString(), QStringLiteral("name"));
    QCommandLineOption display(QStringLiteral("display"), QString(), QStringLiteral("name"));
    for (const char* name : ToolkitValueOptions) {
        const QString option = QString::fromLatin1(name);
        if (option == platform.names()[0] || option == display.names()[0]) {
            continue;
        }
        QCommandLineOption toolkit(option, QString(), QStringLiteral("value"));
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        options.Parser.addOption(toolkit);
    }
    for (const char* name : ToolkitFlags) {
        QCommandLineOption toolkit(QString::fromLatin1(name));
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        options.Parser.addOption(toolkit);
    }
    platform.setFlags(QCommandLineOption::HiddenFromHelp);
    display.setFlags(QCommandLineOption::HiddenFromHelp);
    options.Parser.addOption(platform);
    options.Parser.addOption(display);
    const bool parsed = options.Parser.parse(QCoreApplication::arguments());
    if (options.Parser.isSet(options.Help)) {
        std::cout << options.Parser.helpText().toStdString();
        return 0;
    }
    if (options.Parser.isSet(QStringLiteral("help-all"))) {
        std::cout << options.Parser.helpText().toStdString() << "\nToolkit options:\n";
        for (const char* name : ToolkitValueOptions) {
            std::cout << "  -" << name << " VALUE\n";
        }
        for (const char* name : ToolkitFlags) {
            std::cout << "  -" << name << '\n';
        }
        return 0;
    }
    if (options.Parser.isSet(options.Version)) {
        std::cout << "vgconfig " << ProgramVersion << '\n';
        return 0;
    }
    if (!parsed) {
        return Mistake(options.Parser.errorText());
    }
    if (!options.Parser.positionalArguments().isEmpty()) {
        return Mistake(QStringLiteral("unexpected argument ") +
                       options.Parser.positionalArguments()[0]);
    }
    const QString platformName = options.Parser.isSet(platform)
                                     ? options.Parser.value(platform)
                                     : qEnvironmentVariable("QT_QPA_PLATFORM");
    if (NeedsDisplayServer(platformName) && !options.Parser.isSet(display) && !IsSet("DISPLAY") &&
        !IsSet("WAYLAND_DISPLAY")) {
        std::cerr << "vgconfig: no display to open the windows on: neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set\n";
        return 1;
    }
    return std::nullopt;
}

std::optional<int> RefuseUnknownArguments(const QStringList& arguments) {
    ProgramOptions options;
    if (!options.Parser.parse(arguments)) {
        return Mistake(options.Parser.errorText());
    }
    if (!options.Parser.positionalArguments().isEmpty()) {
        return Mistake(QStringLiteral("unexpected argument ") +
                       options.Parser.positionalArguments()[0]);
    }
    return std::nullopt;
}

} // namespace vg
