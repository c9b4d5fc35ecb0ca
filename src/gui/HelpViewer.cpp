#include "gui/HelpViewer.h"

#include <QFileInfo>
#include <QShortcut>
#include <QUrl>

namespace vg {

namespace {
const char* const HelpFileName = "ROVOZUZ_E.html";
} // namespace

QString HelpFilePath(const ProgramFolders& folders) {
    const QString beside = QString::fromStdString(folders.Program + HelpFileName);
    const QString shared = QString::fromStdString(folders.Shared + HelpFileName);
    return QFileInfo::exists(beside) || !QFileInfo::exists(shared) ? beside : shared;
}

HelpViewer::HelpViewer(QWidget* parent) : QTextBrowser(parent) {
    setWindowTitle(QStringLiteral("VG-Config Help"));
    setWindowFlag(Qt::Window);
    setOpenExternalLinks(false);
    resize(640, 520);
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
        setHtml(QStringLiteral("<p>The help file %1 is missing.</p>").arg(File.toHtmlEscaped()));
    } else {
        QUrl url = QUrl::fromLocalFile(File);
        url.setFragment(anchor);
        setSource(url);
        scrollToAnchor(anchor);
    }
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
