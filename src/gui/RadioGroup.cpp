#include "gui/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vg {

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), Group(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], this);
        Group->addButton(radio, i);
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    connect(Group, &QButtonGroup::idClicked, this, &TRadioGroup::Clicked);
    connect(Group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            emit Changed(id);
        }
    });
}

int TRadioGroup::Count() const {
    return static_cast<int>(Group->buttons().size());
}

int TRadioGroup::ItemIndex() const {
    return Group->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = Group->button(index)) {
        button->setChecked(true);
        return;
    }
    if (QAbstractButton* checked = Group->checkedButton()) {
        // an exclusive group never lets its last button go
        Group->setExclusive(false);
        checked->setChecked(false);
        Group->setExclusive(true);
        emit Changed(-1);
    }
}

QRadioButton* TRadioGroup::Button(int index) const {
    return qobject_cast<QRadioButton*>(Group->button(index));
}

int TRadioGroup::ValueOr(int fallback) const {
    const int index = ItemIndex();
    return index >= 0 ? index : fallback;
}

} // namespace vg
