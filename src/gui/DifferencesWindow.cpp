#include "gui/DifferencesWindow.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vg {

DifferencesWindow::DifferencesWindow(const QString& fileName, const QStringList& lines,
                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("VG-Config / Compare with File / ") + fileName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    HeadingLabel = new QLabel(
        tr("The unit holds other values than %1 (%2):").arg(fileName).arg(lines.size()), this);
    DifferenceList = new QListWidget(this);
    DifferenceList->addItems(lines);
    DifferenceList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    DifferenceList->setMinimumSize(520, 240);
    OkButton = new QPushButton(tr("OK"), this);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HeadingLabel);
    layout->addWidget(DifferenceList, 1);
    layout->addWidget(OkButton, 0, Qt::AlignHCenter);
}

} // namespace vg
