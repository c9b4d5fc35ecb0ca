#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QListWidget;

namespace vg {

// The row of column headings over a tool list. Each heading starts where its column's text
// starts in the list, measured in the list's own font and style, so the headings stay over
// their columns whatever font the program gets.
class ToolHeadings : public QWidget {
    Q_OBJECT
public:
    ToolHeadings(QListWidget& list, QWidget* parent);

    std::array<QLabel*, 5> Labels{};

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceLabels();

    QListWidget& List;
};

// The tool table of the settings, manual-mode and monitor windows: five column headings over
// the lines of ToolLines, in a fixed-pitch font so that the columns line up under the headings.
struct ToolTable {
    std::array<QLabel*, 5> Headings{};
    QListWidget* List = nullptr; // ToolList
    ToolHeadings* HeadingRow = nullptr;
};

// The headings' captions, left to right.
QStringList ToolHeadingTexts();
// The lines are laid out in columns of characters; where the designed font is missing, any
// fixed-pitch one keeps them.
QFont ToolLineFont();

// The headings and the list, for a layout to place one above the other.
ToolTable CreateToolTable(QWidget* parent);
// `area` takes the headings and, below them, the list.
ToolTable CreateToolTable(QWidget* parent, const QRect& area);
void FillToolTable(QListWidget& list, const std::vector<std::string>& lines);
// Selects `line`; -1, or a line the list does not have, leaves nothing selected.
void SelectToolLine(QListWidget& list, int line);
// The selected line; -1 when nothing is selected.
int SelectedToolLine(const QListWidget& list);

} // namespace vg
