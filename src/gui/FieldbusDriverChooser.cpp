#include "gui/FieldbusDriverChooser.h"

#include "gui/FileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vg {

namespace {
constexpr const char* SimulatedUnitText =
    QT_TRANSLATE_NOOP("vg::FieldbusDriverChooser", "built-in simulated unit");
constexpr const char* MissingText = QT_TRANSLATE_NOOP("vg::FieldbusDriverChooser", "  (not there)");
// Room for the driver's path; a longer one is shortened in the middle.
constexpr int PathWidth = 220;
} // namespace

FieldbusDriverChooser::FieldbusDriverChooser(FileDialogs& files, QWidget* parent)
    : QWidget(parent), Files(files) {
    DriverLabel = new QLabel(this);
    DriverLabel->setMinimumWidth(PathWidth);
    ChooseDriverButton = new QPushButton(tr("&Driver..."), this);
    SimulatedUnitButton = new QPushButton(tr("&Simulated unit"), this);
    connect(ChooseDriverButton, &QPushButton::clicked, this, &FieldbusDriverChooser::ChooseFile);
    connect(SimulatedUnitButton, &QPushButton::clicked, this, [this] {
        Path.clear();
        ShowChoice();
    });
    auto* layout = new QHBoxLayout(this);
    // Indented under the fieldbus item it belongs to.
    layout->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(DriverLabel, 1);
    layout->addWidget(ChooseDriverButton);
    layout->addWidget(SimulatedUnitButton);
    ShowChoice();
}

void FieldbusDriverChooser::Show(const std::string& driverPath, const std::string& settingsFolder) {
    Path = driverPath;
    SettingsFolder = settingsFolder;
    ShowChoice();
}

bool FieldbusDriverChooser::ChosenIsMissing() const {
    if (Path.find('/') == std::string::npos) {
        return false;
    }
    const std::string file = Path.front() == '/' ? Path : SettingsFolder + Path;
    return !QFileInfo::exists(QString::fromStdString(file));
}

void FieldbusDriverChooser::ChooseFile() {
    const QString current = QString::fromStdString(Path);
    const QString folder =
        current.contains(QLatin1Char('/')) ? QFileInfo(current).absolutePath() : QDir::homePath();
    if (const std::optional<QString> chosen = Files.GetDriverFileName(window(), folder)) {
        Path = chosen->toStdString();
        ShowChoice();
    }
}

void FieldbusDriverChooser::ShowChoice() {
    const QString full = Path.empty() ? tr(SimulatedUnitText) : QString::fromStdString(Path);
    // The mark stays whole however long the path.
    const QString mark = ChosenIsMissing() ? tr(MissingText) : QString();
    const QFontMetrics metrics = DriverLabel->fontMetrics();
    DriverLabel->setText(
        metrics.elidedText(full, Qt::ElideMiddle, PathWidth - metrics.horizontalAdvance(mark)) +
        mark);
    DriverLabel->setToolTip(full + mark);
    DriverLabel->setAccessibleName(full + mark);
    SimulatedUnitButton->setEnabled(!Path.empty());
}

} // namespace vg
