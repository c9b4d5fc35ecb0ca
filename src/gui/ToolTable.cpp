#include "gui/ToolTable.h"

#include "gui/TextCodec.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace vg {

namespace {

// Where each heading starts, in characters of a tool line (" %03d   %6.2f  %5.2f    %d    %s").
constexpr std::array<int, 5> HeadingColumns = {0, 7, 15, 21, 29};

// Where the list draws the first character of a line, from the list's left edge.
int TextOrigin(const QListWidget& list) {
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("0");
    option.font = list.font();
    option.fontMetrics = list.fontMetrics();
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.rect = QRect(0, 0, std::max(1, list.viewport()->width()), list.fontMetrics().height());
    const QStyle* style = list.style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &option, &list);
    // the style keeps this margin inside the text rectangle when it draws
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    return list.viewport()->x() + text.left() + margin - list.horizontalScrollBar()->value();
}

QListWidget* CreateToolList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("ToolList"));
    list->setFont(ToolLineFont());
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAccessibleName(QCoreApplication::translate("vg::ToolHeadings", "Tools"));
    list->setAccessibleDescription(ToolHeadingTexts().join(QStringLiteral(", ")).simplified());
    return list;
}

} // namespace

ToolHeadings::ToolHeadings(QListWidget& list, QWidget* parent) : QWidget(parent), List(list) {
    const QStringList texts = ToolHeadingTexts();
    for (size_t i = 0; i < Labels.size(); ++i) {
        auto* heading = new QLabel(texts[static_cast<qsizetype>(i)], this);
        heading->setFrameStyle(QFrame::Panel | QFrame::Raised);
        heading->setAlignment(Qt::AlignCenter);
        Labels[i] = heading;
    }
    setFixedHeight(std::max(20, fontMetrics().height() + 4));
    List.installEventFilter(this);
    // A long name makes the list scroll sideways; the headings go along with its rows.
    connect(List.horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &ToolHeadings::PlaceLabels);
}

void ToolHeadings::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceLabels();
}

void ToolHeadings::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    PlaceLabels();
}

bool ToolHeadings::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &List) {
        switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::StyleChange:
        case QEvent::Move:
        case QEvent::Resize:
            PlaceLabels();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ToolHeadings::PlaceLabels() {
    // fractional: over thirty columns a rounded width would drift off them
    const qreal charWidth = QFontMetricsF(List.font()).horizontalAdvance(QLatin1Char('0'));
    // The list may stand a little to the side of the row: measure from the list.
    const int shift = List.mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    const int origin = shift + TextOrigin(List);
    for (size_t i = 0; i < Labels.size(); ++i) {
        const auto column = [&](size_t c) {
            return origin + qRound(HeadingColumns[c] * charWidth);
        };
        const int left = i == 0 ? shift - List.horizontalScrollBar()->value() : column(i);
        const int right = i + 1 < Labels.size() ? column(i + 1) : width();
        Labels[i]->setGeometry(left, 0, std::max(0, right - left), height());
    }
}

QStringList ToolHeadingTexts() {
    return {QCoreApplication::translate("vg::ToolHeadings", "ToolNr   "),
            QCoreApplication::translate("vg::ToolHeadings", "Angle"),
            QCoreApplication::translate("vg::ToolHeadings", "Toler."),
            QCoreApplication::translate("vg::ToolHeadings", "Intensity"),
            QCoreApplication::translate("vg::ToolHeadings", "Toolname")};
}

QFont ToolLineFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

ToolTable CreateToolTable(QWidget* parent) {
    ToolTable table;
    table.List = CreateToolList(parent);
    table.HeadingRow = new ToolHeadings(*table.List, parent);
    table.Headings = table.HeadingRow->Labels;
    return table;
}

ToolTable CreateToolTable(QWidget* parent, const QRect& area) {
    ToolTable table = CreateToolTable(parent);
    const int headingHeight = table.HeadingRow->height();
    table.HeadingRow->setGeometry(area.left(), area.top(), area.width(), headingHeight);
    table.List->setGeometry(area.left(), area.top() + headingHeight, area.width(),
                            area.height() - headingHeight);
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
