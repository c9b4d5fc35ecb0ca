#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace vg {

// Chooses item `index` of an exclusive group; an index that names no item chooses none.
// True when that took a choice away.
bool CheckItem(QButtonGroup& group, int index);
// Tab stops at the chosen item only (at the first while none is chosen), so that Tab and
// Space cannot change the choice; the arrow keys still move between the items. Call once the
// group has all its buttons.
void TabToCheckedItem(QButtonGroup& group);

// A titled group of radio buttons chosen by item index; -1 means none is chosen.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    int Count() const;
    int ItemIndex() const;
    // An index that names no item chooses none.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;
    // The chosen item, or `fallback` when none is chosen: a value the group cannot show
    // stays as it was instead of becoming -1.
    int ValueOr(int fallback) const;

signals:
    // The user chose an item (not sent for SetItemIndex).
    void Clicked(int index);
    // The choice changed, by the user or by SetItemIndex.
    void Changed(int index);

private:
    QButtonGroup* Group;
};

} // namespace vg
