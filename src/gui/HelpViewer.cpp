#include "gui/HelpViewer.h"

#include "gui/WindowStacking.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QShortcut>
#include <QUrl>

namespace vg {

namespace {
const char* const HelpFileName = "ROVOZUZ_E.html";

// The help file in the language of the windows, where there is one.
std::string LocalHelpFileName(const ProgramFolders& folders) {
    //: The help file of this language, beside the English ROVOZUZ_E.html; the English name
    //: when there is none.
    const std::string name =
        QCoreApplication::translate("vg::HelpViewer", "ROVOZUZ_E.html").toStdString();
    return QFileInfo::exists(QString::fromStdString(folders.Program + name)) ||
                   QFileInfo::exists(QString::fromStdString(folders.Shared + name))
               ? name
               : HelpFileName;
}
} // namespace

QString HelpFilePath(const ProgramFolders& folders) {
    const std::string fileName = LocalHelpFileName(folders);
    const QString beside = QString::fromStdString(folders.Program + fileName);
    const QString shared = QString::fromStdString(folders.Shared + fileName);
    return QFileInfo::exists(beside) || !QFileInfo::exists(shared) ? beside : shared;
}

HelpViewer::HelpViewer(QWidget* parent) : QTextBrowser(parent) {
    setWindowTitle(tr("VG-Config Help"));
    // A dialog to the window manager, so that it can be kept above the window it explains.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // Quitting the main window ends the program, help open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    setOpenExternalLinks(false);
    resize(640, 520);
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

void HelpViewer::SetHelpFile(const QString& path) {
    File = path;
}

void HelpViewer::ShowContents() {
    Open(QStringLiteral("contents"));
    Topic = 0;
}

void HelpViewer::ShowTopic(int helpContext) {
    Open(QStringLiteral("context-%1").arg(helpContext));
    Topic = helpContext;
}

void HelpViewer::Open(const QString& anchor) {
    if (!QFileInfo::exists(File)) {
        setHtml(tr("<p>The help file %1 is missing.</p>").arg(File.toHtmlEscaped()));
    } else {
        QUrl url = QUrl::fromLocalFile(File);
        url.setFragment(anchor);
        setSource(url);
        scrollToAnchor(anchor);
    }
    // The help belongs to the window it was asked from, modal or not: the window manager keeps
    // it above that window however either is pressed, and a modal window does not block it.
    KeepAbove(*this, WindowInFront());
    show();
    raise();
    activateWindow();
}

void InstallContextHelp(QWidget* window, HelpViewer& help, int helpContext) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [&help, helpContext] { help.ShowTopic(helpContext); });
}

} // namespace vg
