#pragma once

#include "common/ProgramFolders.h"

#include <QString>
#include <QTextBrowser>

namespace vg {

// Help contexts of the windows.
namespace HelpContext {
constexpr int MainWindow = 1;
constexpr int SettingsWindow = 5;
constexpr int DefaultSettingsPage = 5;
constexpr int ToolSettingsPage = 6;
constexpr int GlobalSettingsPage = 7;
constexpr int ManualMode = 9;
constexpr int Communication = 10;
constexpr int Identifier = 11;
constexpr int SingleTool = 12;
// The monitor window's own topic, after the numbers of the other windows.
constexpr int MonitorMode = 13;
} // namespace HelpContext

// The help window: the HTML help file shipped beside the program, opened at its contents or
// at the topic of a help context (anchor "context-N").
class HelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    void SetHelpFile(const QString& path);
    QString HelpFile() const { return File; }
    void ShowContents();
    void ShowTopic(int helpContext);
    // The topic now shown: 0 for the contents, else the help context.
    int ShownTopic() const { return Topic; }

protected:
    // Escape closes the help, as it would a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Open(const QString& anchor);

    QString File;
    int Topic = -1;
};

// The help file beside the program (a build or a portable copy), else the installation's
// (share/vg-config). When neither is there, the one beside the program, so that the help
// window names where it was looked for.
QString HelpFilePath(const ProgramFolders& folders);

// Makes F1 in `window` open the help at `helpContext` (the window in front wins: a shortcut
// of the active window only).
void InstallContextHelp(QWidget* window, HelpViewer& help, int helpContext);

} // namespace vg
