#include "gui/ManualWindow.h"

#include "config/ConfigImage.h"
#include "config/TextFormats.h"
#include "gui/ButtonKeys.h"
#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/StatusBarWidget.h"
#include "gui/SourceChooser.h"
#include "link/DeviceMessage.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace vg {

namespace {

constexpr int ClientWidth = 632;
constexpr int ClientHeight = 434;
} // namespace

ManualWindow::ManualWindow(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(QStringLiteral("VG-Config / Manual Mode"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);

    StatusBar1 = new StatusBarWidget(Context.Core.Display, Context.Core.Poll, this);
    StatusBar1->MarkSimulatedUnit(Context.Core.Settings);
    // Panels sized to this window as the main window's are to it (width / 640).
    StatusBar1->Scale(ClientWidth * 0.0015625);
    StatusBar1->setGeometry(0, ClientHeight - StatusBar1->height(), ClientWidth,
                            StatusBar1->height());

    const int bottom = ClientHeight - StatusBar1->height() - 8;
    const ToolTable table = CreateToolTable(this, QRect(8, 8, 480, bottom - 8));
    ColumnHeadings = table.Headings;
    LB_MM_ToolPar = table.List;

    BN_GoPos = new QPushButton(QStringLiteral("Go &Position"), this);
    BN_GoBack = new QPushButton(QStringLiteral("Go &Back"), this);
    BN_Close = new QPushButton(QStringLiteral("&Close"), this);
    BN_GoPos->setGeometry(504, 28, 120, 32);
    BN_GoBack->setGeometry(504, 68, 120, 32);
    BN_Close->setGeometry(504, bottom - 32, 120, 32);
    for (QPushButton* button : {BN_GoPos, BN_GoBack, BN_Close}) {
        button->setAutoDefault(false);
    }
    connect(BN_GoPos, &QPushButton::clicked, this, &ManualWindow::BN_GoPosClick);
    connect(BN_GoBack, &QPushButton::clicked, this, &ManualWindow::BN_GoBackClick);
    connect(BN_Close, &QPushButton::clicked, this, &ManualWindow::BN_CloseClick);

    InstallContextHelp(this, Context.Help, HelpContext::ManualMode);
    PressFocusedButtonOnEnter(*this);
}

void ManualWindow::OpenFromMenu() {
    if (!SelectAndLoad(Context)) {
        return; // cancelled, or the load told its own failure
    }
    if (Context.Core.Config.ToolLines.empty()) {
        Context.Messages.ShowMessage("No values in table!", MessageKind::Information,
                                     MessageButtons::Ok);
        return;
    }
    Context.Windows.Main->OpenWorkingWindow(this, FrontWindowNr::Manual);
}

void ManualWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system keeps its list and selection.
    if (!event->spontaneous()) {
        FormActivate();
    }
}

void ManualWindow::FormActivate() {
    // The poll redraws every field on a new target with its next record.
    Context.Core.Poll.StatusBarTarget = StatusBar1;
    FillToolTable(*LB_MM_ToolPar, Context.Core.Config.ToolLines);
    SelectToolLine(*LB_MM_ToolPar, 0);
}

void ManualWindow::BN_GoPosClick() {
    const ConfigState& config = Context.Core.Config;
    const int toolNr = ToolNumberOfLine(config, SelectedToolLine(*LB_MM_ToolPar));
    if (toolNr < 0 || toolNr >= ToolSlotCount) {
        return; // nothing selected
    }
    Context.Core.Status.Status_QueueCommand(ToolValuesRequest(
        RequestCode::GoToPosition, config.ConfigImage.Tools[static_cast<size_t>(toolNr)]));
}

void ManualWindow::BN_GoBackClick() {
    DeviceRequest request{};
    request[1] = RequestCode::GoBack;
    Context.Core.Status.Status_QueueCommand(request);
}

void ManualWindow::BN_CloseClick() {
    // The identifier is read again with the next configuration.
    Context.Core.Config.NamespaceIdValid = false;
    accept();
}

} // namespace vg
