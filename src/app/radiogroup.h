#pragma once
// A titled group of radio items, one of them chosen, addressed by its item index.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace quorbin::app {

class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    // -1 when no item is chosen.
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const;
    int count() const;

signals:
    // Another item became the chosen one, by a click or by setItemIndex.
    void clicked();

private:
    QButtonGroup* buttons_;
};

}  // namespace quorbin::app
