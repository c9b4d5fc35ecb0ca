#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

namespace vg {

// What differs between the unit and a configuration file, one line per value.
class DifferencesWindow : public QDialog {
    Q_OBJECT
public:
    DifferencesWindow(const QString& fileName, const QStringList& lines, QWidget* parent = nullptr);

    QLabel* HeadingLabel = nullptr;
    QListWidget* DifferenceList = nullptr;
    QPushButton* OkButton = nullptr;
};

} // namespace vg
