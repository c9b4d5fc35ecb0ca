#pragma once

#include "common/ProgramFolders.h"

#include <QString>
#include <QStringList>

class QMenu;

namespace vg {

struct ProgramContext;

// Where the compiled translations (vgconfig_<code>.qm) are: beside the program in a build,
// in the shared folder of an installation.
QString TranslationsFolder(const ProgramFolders& folders);

// The codes of the languages `folder` holds a translation of ("de", ...), sorted.
QStringList TranslatedLanguages(const QString& folder);

// Installs the windows' translation and Qt's own (its dialogs and buttons) for `chosen`: ""
// follows the system's locale, "en" is the program's own English, another code names a
// translation. Returns the code of the language the windows now speak, "en" when no
// translation fits.
QString InstallWindowLanguage(const QString& chosen, const QString& folder);

// Options > Language: the system's language, English and every translation there is. A choice
// is kept in the windows' own settings and takes effect at the next start; the user is told so.
QMenu* AddLanguageMenu(QMenu& options, ProgramContext& context);

} // namespace vg
