#include "app/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorbin::app {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this))
{
    auto* column = new QVBoxLayout(this);
    for (int index = 0; index < items.size(); ++index) {
        auto* button = new QRadioButton(items.at(index), this);
        buttons_->addButton(button, index);
        column->addWidget(button);
    }
    column->addStretch(1);
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit clicked();
    });
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* button = buttons_->button(index))
        button->setChecked(true);
}

QRadioButton* RadioGroup::item(int index) const { return static_cast<QRadioButton*>(buttons_->button(index)); }

int RadioGroup::count() const { return int(buttons_->buttons().size()); }

}  // namespace quorbin::app
