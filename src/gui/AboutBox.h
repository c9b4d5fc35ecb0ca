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

    QPushButton* OkButton = nullptr;
    QLabel* ProductNameLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* DateLabel = nullptr;
    QLabel* FurtherLabel = nullptr;
};

} // namespace vg
