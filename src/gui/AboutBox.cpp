#include "gui/AboutBox.h"

#include "gui/Artwork.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vg {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Info"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(414, 272);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("ProductPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(17);
    panel->setFont(bold);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ProgramIconPixmap(48));
    ProductNameLabel = new QLabel(QStringLiteral("VG-Config"), panel);
    auto* version = new QLabel(tr("Version:  "), panel);
    VersionLabel = new QLabel(QStringLiteral("1.06.01"), panel);
    DateLabel = new QLabel(QStringLiteral("12/11/2006"), panel);
    FurtherLabel = new QLabel(tr("Fieldbus mode talks to the built-in simulated "
                                 "unit unless a driver is chosen under Options > "
                                 "Communication."),
                              panel);
    FurtherLabel->setWordWrap(true);
    QFont plain = font();
    plain.setPixelSize(13);
    FurtherLabel->setFont(plain);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(ProductNameLabel, 0, 1, 1, 3);
    grid->addWidget(version, 1, 1);
    grid->addWidget(VersionLabel, 1, 2);
    grid->addWidget(DateLabel, 1, 3);
    grid->addWidget(FurtherLabel, 2, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    OkButton = new QPushButton(tr("OK"), this);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addWidget(OkButton, 0, Qt::AlignHCenter);
}

} // namespace vg
