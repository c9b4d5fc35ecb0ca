#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QPushButton;

namespace vg {

class FileDialogs;

// Beside the fieldbus item of the communication dialog: the driver library fieldbus mode goes
// through, or "built-in simulated unit", with a button to choose a driver file and one to go
// back to the simulated unit. What is chosen applies when the dialog applies its settings.
class FieldbusDriverChooser : public QWidget {
    Q_OBJECT
public:
    explicit FieldbusDriverChooser(FileDialogs& files, QWidget* parent = nullptr);

    // Shows the driver the settings hold; empty for the simulated unit. A relative path with
    // a folder in it is taken from `settingsFolder`, where the settings that name it lie.
    void Show(const std::string& driverPath, const std::string& settingsFolder = {});
    // The driver chosen; empty for the simulated unit.
    const std::string& Chosen() const { return Path; }
    // The chosen driver's file is not where its path says (a bare library name, left to the
    // library search, never counts as missing).
    bool ChosenIsMissing() const;

    QLabel* DriverLabel = nullptr;
    QPushButton* ChooseDriverButton = nullptr;
    QPushButton* SimulatedUnitButton = nullptr;

private:
    void ChooseFile();
    void ShowChoice();

    FileDialogs& Files;
    std::string Path;
    std::string SettingsFolder;
};

} // namespace vg
