#include "gui/Language.h"

#include "gui/OwnSettings.h"
#include "gui/ProgramContext.h"
#include "gui/TextCodec.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QTranslator>

namespace vg {

namespace {

const QString ProgramCatalogue = QStringLiteral("vgconfig");
const QString English = QStringLiteral("en");

QString Tr(const char* text) {
    return QCoreApplication::translate("vg::LanguageMenu", text);
}

} // namespace

QString TranslationsFolder(const ProgramFolders& folders) {
    // Clean paths: the shared folder is reached from the programs' folder through "..".
    const QString beside =
        QDir::cleanPath(QString::fromStdString(folders.Program + "translations"));
    const QString shared = QDir::cleanPath(QString::fromStdString(folders.Shared + "translations"));
    return QFileInfo::exists(beside) || !QFileInfo::exists(shared) ? beside : shared;
}

QStringList TranslatedLanguages(const QString& folder) {
    QStringList codes;
    const QString prefix = ProgramCatalogue + QLatin1Char('_');
    for (const QString& file :
         QDir(folder).entryList({prefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name)) {
        codes << file.mid(prefix.size()).chopped(3);
    }
    return codes;
}

QString InstallWindowLanguage(const QString& chosen, const QString& folder) {
    if (chosen == English) {
        return English;
    }
    const QLocale locale = chosen.isEmpty() ? QLocale::system() : QLocale(chosen);
    auto* own = new QTranslator(QCoreApplication::instance());
    if (!own->load(locale, ProgramCatalogue, QStringLiteral("_"), folder)) {
        delete own;
        return English;
    }
    QCoreApplication::installTranslator(own);
    // Qt's file dialog, print dialog and message box buttons in the same language.
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    } else {
        delete qt;
    }
    return QFileInfo(own->filePath()).completeBaseName().mid(ProgramCatalogue.size() + 1);
}

QMenu* AddLanguageMenu(QMenu& options, ProgramContext& context) {
    QMenu* menu = options.addMenu(Tr(QT_TRANSLATE_NOOP("vg::LanguageMenu", "&Language")));
    auto* group = new QActionGroup(menu);
    const QString kept = QString::fromStdString(LoadLanguage(context.OwnSettingsFile));
    const auto add = [&](const QString& caption, const QString& code) {
        QAction* action = menu->addAction(caption);
        action->setCheckable(true);
        action->setChecked(code == kept);
        action->setData(code);
        group->addAction(action);
    };
    add(Tr(QT_TRANSLATE_NOOP("vg::LanguageMenu", "&System")), QString());
    add(QStringLiteral("English"), English);
    for (const QString& code : TranslatedLanguages(TranslationsFolder(context.Core.Folders))) {
        if (code != English) {
            // Each language by its own name, so that its readers find it.
            QString name = QLocale(code).nativeLanguageName();
            if (name.isEmpty()) {
                name = code;
            }
            name[0] = name[0].toUpper();
            add(name, code);
        }
    }
    QObject::connect(group, &QActionGroup::triggered, menu, [&context](QAction* action) {
        WriteFailure failure;
        if (!StoreLanguage(context.OwnSettingsFile, action->data().toString().toStdString(),
                           failure)) {
            context.Messages.ShowMessage("The setting cannot be kept:\n" + failure.Line(),
                                         MessageKind::Warning, MessageButtons::Ok);
            return;
        }
        context.Messages.ShowMessage(
            ToAnsi(Tr(QT_TRANSLATE_NOOP("vg::LanguageMenu",
                                        "The windows speak the chosen language from the next "
                                        "start of the program."))),
            MessageKind::Information, MessageButtons::Ok);
    });
    return menu;
}

} // namespace vg
