#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vg {

// The about box: the program's name and version.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    QPushButton* OKButton = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* VersStr = nullptr;
    QLabel* LDateStr = nullptr;
    QLabel* FurtherLabel = nullptr;
};

} // namespace vg
