#include "gui/FieldbusDriverChooser.h"

#include "gui/FileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace vg {

namespace {
constexpr const char* SimulatedUnitText = "built-in simulated unit";
constexpr const char* MissingText = "  (not there)";
// Room for the driver's path; a longer one is shortened in the middle.
constexpr int PathWidth = 220;
} // namespace

FieldbusDriverChooser::FieldbusDriverChooser(FileDialogs& files, QWidget* parent)
    : QWidget(parent), Files(files) {
    L_KF_Driver = new QLabel(this);
    L_KF_Driver->setMinimumWidth(PathWidth);
    BN_KF_Driver = new QPushButton(QStringLiteral("&Driver..."), this);
    BN_KF_SimulatedUnit = new QPushButton(QStringLiteral("&Simulated unit"), this);
    connect(BN_KF_Driver, &QPushButton::clicked, this, &FieldbusDriverChooser::ChooseFile);
    connect(BN_KF_SimulatedUnit, &QPushButton::clicked, this, [this] {
        Path.clear();
        ShowChoice();
    });
    auto* layout = new QHBoxLayout(this);
    // Indented under the fieldbus item it belongs to.
    layout->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(L_KF_Driver, 1);
    layout->addWidget(BN_KF_Driver);
    layout->addWidget(BN_KF_SimulatedUnit);
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
    const QString full =
        Path.empty() ? QString::fromLatin1(SimulatedUnitText) : QString::fromStdString(Path);
    // The mark stays whole however long the path.
    const QString mark = ChosenIsMissing() ? QString::fromLatin1(MissingText) : QString();
    const QFontMetrics metrics = L_KF_Driver->fontMetrics();
    L_KF_Driver->setText(
        metrics.elidedText(full, Qt::ElideMiddle, PathWidth - metrics.horizontalAdvance(mark)) +
        mark);
    L_KF_Driver->setToolTip(full + mark);
    L_KF_Driver->setAccessibleName(full + mark);
    BN_KF_SimulatedUnit->setEnabled(!Path.empty());
}

} // namespace vg
