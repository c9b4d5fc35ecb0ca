#include "gui/PortDeviceBox.h"

#include "gui/TextCodec.h"
#include "link/ComLinks.h"

#include <QFileInfo>

namespace vg {

namespace {

QString EntryText(const SerialDeviceInfo& device) {
    QString text = QString::fromStdString(device.LinkTarget());
    QStringList notes;
    if (device.LinkTarget() != device.Device) {
        notes << QString::fromStdString(device.Device);
    }
    if (device.InUse()) {
        notes << PortDeviceBox::tr("in use: %1")
                     .arg(QString::fromStdString(PortHoldersText(device.Holders)));
    }
    if (!device.MayOpen) {
        notes << PortDeviceBox::tr("you may not open it");
    }
    if (!notes.isEmpty()) {
        text += QStringLiteral("  (%1)").arg(notes.join(QStringLiteral("; ")));
    }
    return text;
}

} // namespace

PortDeviceBox::PortDeviceBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(24);
}

void PortDeviceBox::ShowFor(int16_t port, const std::string& linkDir) {
    clear();
    ShownPort = port;
    LinkDir = linkDir;
    setEnabled(port > 0);
    if (port <= 0) {
        return;
    }
    const QString now =
        QString::fromStdString(FinalLinkTarget(ComPortPath(linkDir, port, Places.Dev)));
    // Keeping COMn as it is keeps a port that leads nowhere: say so.
    addItem((QFileInfo::exists(now) ? tr("as it is: %1") : tr("not present: %1")).arg(now),
            QString());
    for (const SerialDeviceInfo& device : ListSerialPorts(linkDir, Places)) {
        addItem(EntryText(device), QString::fromStdString(device.LinkTarget()));
    }
}

std::string PortDeviceBox::ChosenTarget() const {
    return currentData().toString().toStdString();
}

bool PortDeviceBox::ApplyChoice(MessageService& messages) {
    const std::string target = ChosenTarget();
    if (target.empty() || ShownPort <= 0) {
        return false;
    }
    const std::string com = std::string("COM").append(std::to_string(ShownPort));
    std::string failure;
    ComLinkResult result = MakeComLink(LinkDir, ShownPort, target, false, failure);
    if (result == ComLinkResult::NotALink) {
        const std::string question = ToAnsi(
            tr("%1 in %2 is not a link but a file of its own.\nReplace it with a link to %3?")
                .arg(QString::fromStdString(com), QString::fromStdString(LinkDir),
                     QString::fromStdString(target)));
        if (messages.ShowMessage(question, MessageKind::Confirmation, MessageButtons::YesNo) !=
            MessageResult::Yes) {
            return false;
        }
        result = MakeComLink(LinkDir, ShownPort, target, true, failure);
    }
    if (result == ComLinkResult::Failed) {
        messages.ShowMessage(
            ToAnsi(tr("%1 could not be linked to %2:")
                       .arg(QString::fromStdString(com), QString::fromStdString(target)))
                .append("\n")
                .append(failure),
            MessageKind::Warning, MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace vg
