#include "gui/ManualWindow.h"

#include "config/model/ConfigImage.h"
#include "config/model/TextFormats.h"
#include "gui/ButtonKeys.h"
#include "gui/HelpViewer.h"
#include "gui/MainWindow.h"
#include "gui/SourceChooser.h"
#include "gui/StatusBarWidget.h"
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
    setWindowTitle(tr("VG-Config / Manual Mode"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);

    StatusBar = new StatusBarWidget(Context.LiveStatus.Lamps(), this);
    StatusBar->MarkSimulatedUnit(Context.Core.Settings);
    // Panels sized to this window as the main window's are to it (width / 640).
    StatusBar->Scale(ClientWidth * 0.0015625);
    StatusBar->setGeometry(0, ClientHeight - StatusBar->height(), ClientWidth, StatusBar->height());

    const int bottom = ClientHeight - StatusBar->height() - 8;
    const ToolTable table = CreateToolTable(this, QRect(8, 8, 480, bottom - 8));
    ColumnHeadings = table.Headings;
    ToolList = table.List;

    GoToAngleButton = new QPushButton(tr("Go &Position"), this);
    GoBackButton = new QPushButton(tr("Go &Back"), this);
    CloseButton = new QPushButton(tr("&Close"), this);
    GoToAngleButton->setGeometry(504, 28, 120, 32);
    GoBackButton->setGeometry(504, 68, 120, 32);
    CloseButton->setGeometry(504, bottom - 32, 120, 32);
    for (QPushButton* button : {GoToAngleButton, GoBackButton, CloseButton}) {
        button->setAutoDefault(false);
    }
    connect(GoToAngleButton, &QPushButton::clicked, this, &ManualWindow::GoToAngleClicked);
    connect(GoBackButton, &QPushButton::clicked, this, &ManualWindow::GoBackClicked);
    connect(CloseButton, &QPushButton::clicked, this, &ManualWindow::CloseClicked);

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
    Context.Windows.Main->OpenWorkingWindow(this, WindowInFront::Manual);
}

void ManualWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system keeps its list and selection.
    if (!event->spontaneous()) {
        PrepareToShow();
    }
}

void ManualWindow::PrepareToShow() {
    // A new bar gets every field with the next record.
    Context.LiveStatus.ShowOn(StatusBar);
    FillToolTable(*ToolList, Context.Core.Config.ToolLines);
    SelectToolLine(*ToolList, 0);
}

void ManualWindow::GoToAngleClicked() {
    const ConfigState& config = Context.Core.Config;
    const int toolNr = ToolNumberOfLine(config, SelectedToolLine(*ToolList));
    if (toolNr < 0 || toolNr >= ToolSlotCount) {
        return; // nothing selected
    }
    Context.Core.Status.QueueCommand(ToolValuesRequest(
        RequestCode::GoToPosition, config.ConfigImage.Tools[static_cast<size_t>(toolNr)]));
}

void ManualWindow::GoBackClicked() {
    DeviceRequest request{};
    request[1] = RequestCode::GoBack;
    Context.Core.Status.QueueCommand(request);
}

void ManualWindow::CloseClicked() {
    // The identifier is read again with the next configuration.
    Context.Core.Config.NamespaceIdValid = false;
    accept();
}

} // namespace vg
