#include "gui/UDlg_Manual.h"

#include "config/ConfigImage.h"
#include "config/TextFormats.h"
#include "gui/HelpViewer.h"
#include "gui/PrgFrm_Main.h"
#include "gui/StatusBarWidget.h"
#include "gui/TextCodec.h"
#include "gui/UDlg_SrcAuswahl.h"
#include "link/DeviceMessage.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

namespace vg {

namespace {

constexpr int ClientWidth = 632;
constexpr int ClientHeight = 434;
constexpr int HeadingHeight = 20;

// Where each heading starts, in characters of a tool line (" %03d   %6.2f  %5.2f    %d    %s").
constexpr std::array<int, 5> HeadingColumns = {0, 7, 15, 21, 29};
const std::array<const char*, 5> HeadingTexts = {"ToolNr   ", "Angle", "Toler.", "Intensity",
                                                 "Toolname"};

// The lines are laid out in columns of characters; where the designed font is missing, any
// fixed-pitch one keeps them.
QFont ToolLineFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace

ToolTable CreateToolTable(QWidget* parent, const QRect& area) {
    ToolTable table;
    table.List = new QListWidget(parent);
    table.List->setObjectName(QStringLiteral("LB_MM_ToolPar"));
    table.List->setFont(ToolLineFont());
    table.List->setSelectionMode(QAbstractItemView::SingleSelection);
    table.List->setGeometry(area.left(), area.top() + HeadingHeight, area.width(),
                            area.height() - HeadingHeight);
    const int charWidth = table.List->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // The lines start right of the list's frame and the item's margin.
    const int origin = area.left() + table.List->frameWidth() + 2;
    for (size_t i = 0; i < HeadingTexts.size(); ++i) {
        const int left = i == 0 ? area.left() : origin + HeadingColumns[i] * charWidth;
        const int right = i + 1 < HeadingTexts.size() ? origin + HeadingColumns[i + 1] * charWidth
                                                      : area.right() + 1;
        auto* heading = new QLabel(QString::fromLatin1(HeadingTexts[i]), parent);
        heading->setFrameStyle(QFrame::Panel | QFrame::Raised);
        heading->setAlignment(Qt::AlignCenter);
        heading->setGeometry(left, area.top(), right - left, HeadingHeight);
        table.Headings[i] = heading;
    }
    return table;
}

void FillToolTable(QListWidget& list, const std::vector<std::string>& lines) {
    list.clear();
    for (const std::string& line : lines) {
        list.addItem(FromAnsi(line));
    }
}

void SelectToolLine(QListWidget& list, int line) {
    if (line >= 0 && line < list.count()) {
        list.setCurrentRow(line);
        return;
    }
    list.setCurrentRow(-1);
    list.clearSelection();
}

int SelectedToolLine(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.front());
}

TDlg_Manual::TDlg_Manual(ProgramContext& context, QWidget* parent)
    : QDialog(parent), Context(context) {
    setWindowTitle(QStringLiteral("VG-Config / Manual Mode"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);

    StatusBar1 = new TStatusBar(Context.Core.Display, Context.Core.Poll, this);
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
    connect(BN_GoPos, &QPushButton::clicked, this, &TDlg_Manual::BN_GoPosClick);
    connect(BN_GoBack, &QPushButton::clicked, this, &TDlg_Manual::BN_GoBackClick);
    connect(BN_Close, &QPushButton::clicked, this, &TDlg_Manual::BN_CloseClick);

    InstallContextHelp(this, Context.Help, HelpContext::ManualMode);
}

void TDlg_Manual::OpenFromMenu() {
    if (!SelectAndLoad(Context)) {
        return; // cancelled, or the load told its own failure
    }
    if (Context.Core.Config.ToolLines.empty()) {
        Context.Messages.ShowMessage("No values in table!", MessageKind::Information,
                                     MessageButtons::Ok);
        return;
    }
    Context.Windows.Frm_Main->OpenWorkingWindow(this, FrontWindowNr::Manual);
}

void TDlg_Manual::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A window restored by the window system keeps its list and selection.
    if (!event->spontaneous()) {
        FormActivate();
    }
}

void TDlg_Manual::FormActivate() {
    // The poll redraws every field on a new target with its next record.
    Context.Core.Poll.StatusBarTarget = StatusBar1;
    FillToolTable(*LB_MM_ToolPar, Context.Core.Config.ToolLines);
    SelectToolLine(*LB_MM_ToolPar, 0);
}

void TDlg_Manual::BN_GoPosClick() {
    const ConfigState& config = Context.Core.Config;
    const int toolNr = ToolNumberOfLine(config, SelectedToolLine(*LB_MM_ToolPar));
    if (toolNr < 0 || toolNr >= ToolSlotCount) {
        return; // nothing selected
    }
    Context.Core.Status.Status_QueueCommand(ToolValuesRequest(
        RequestCode::GoToPosition, config.ConfigImage.Tools[static_cast<size_t>(toolNr)]));
}

void TDlg_Manual::BN_GoBackClick() {
    DeviceRequest request{};
    request[1] = RequestCode::GoBack;
    Context.Core.Status.Status_QueueCommand(request);
}

void TDlg_Manual::BN_CloseClick() {
    // The identifier is read again with the next configuration.
    Context.Core.Config.NamespaceIdValid = false;
    accept();
}

} // namespace vg
