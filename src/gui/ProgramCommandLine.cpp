#include "gui/ProgramCommandLine.h"

#include "common/ProgramFolders.h"
#include "common/ProgramInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
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

std::optional<int> AnswerInformationOptions(int argc, char** argv) {
    // A plain application object only reads the arguments; it needs no display.
    int probeArgc = argc;
    const QCoreApplication probe(probeArgc, argv);
    SetProgramIdentity();
    ProgramOptions options;
    // The toolkit's own options are not known here: mistakes are told at the second look.
    options.Parser.parse(QCoreApplication::arguments());
    if (options.Parser.isSet(options.Help)) {
        std::cout << options.Parser.helpText().toStdString();
        return 0;
    }
    if (options.Parser.isSet(options.Version)) {
        std::cout << "vgconfig " << ProgramVersion << '\n';
        return 0;
    }
    return std::nullopt;
}

std::optional<int> RefuseUnknownArguments(const QStringList& arguments) {
    ProgramOptions options;
    QString mistake;
    if (!options.Parser.parse(arguments)) {
        mistake = options.Parser.errorText();
    } else if (!options.Parser.positionalArguments().isEmpty()) {
        mistake = QStringLiteral("unexpected argument ") + options.Parser.positionalArguments()[0];
    }
    if (mistake.isEmpty()) {
        return std::nullopt;
    }
    std::cerr << "vgconfig: " << mistake.toStdString()
              << "\nTry 'vgconfig --help' for more information.\n";
    return 2;
}

} // namespace vg
