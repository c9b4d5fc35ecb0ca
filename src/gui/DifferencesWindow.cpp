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
    setWindowTitle(QStringLiteral("VG-Config / Compare with File / ") + fileName);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    L_Heading = new QLabel(
        QStringLiteral("The unit holds other values than %1 (%2):").arg(fileName).arg(lines.size()),
        this);
    LB_Differences = new QListWidget(this);
    LB_Differences->addItems(lines);
    LB_Differences->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    LB_Differences->setMinimumSize(520, 240);
    BN_OK = new QPushButton(QStringLiteral("OK"), this);
    BN_OK->setDefault(true);
    connect(BN_OK, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(L_Heading);
    layout->addWidget(LB_Differences, 1);
    layout->addWidget(BN_OK, 0, Qt::AlignHCenter);
}

} // namespace vg
