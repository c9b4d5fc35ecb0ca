#include "gui/ToolTable.h"

#include "gui/TextCodec.h"

#include <QLabel>
#include <QListWidget>

namespace vg {

namespace {

constexpr int HeadingHeight = 20;

// Where each heading starts, in characters of a tool line (" %03d   %6.2f  %5.2f    %d    %s").
constexpr std::array<int, 5> HeadingColumns = {0, 7, 15, 21, 29};

} // namespace

QStringList ToolHeadingTexts() {
    return {QStringLiteral("ToolNr   "), QStringLiteral("Angle"), QStringLiteral("Toler."),
            QStringLiteral("Intensity"), QStringLiteral("Toolname")};
}

QFont ToolLineFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

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
    const QStringList texts = ToolHeadingTexts();
    for (size_t i = 0; i < HeadingColumns.size(); ++i) {
        const int left = i == 0 ? area.left() : origin + HeadingColumns[i] * charWidth;
        const int right = i + 1 < HeadingColumns.size() ? origin + HeadingColumns[i + 1] * charWidth
                                                        : area.right() + 1;
        auto* heading = new QLabel(texts[static_cast<qsizetype>(i)], parent);
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

} // namespace vg
