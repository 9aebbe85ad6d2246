#pragma once
// A directory field with a browse button that asks for a folder through the user interface.
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace quorbin::app {

class DirectoryEdit : public QWidget {
    Q_OBJECT
public:
    explicit DirectoryEdit(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* edit() const { return edit_; }
    QToolButton* button() const { return button_; }

    // The text the folder dialog shows.
    QString dialogText;

signals:
    void beforeDialog();
    // Runs after the dialog closed, before a chosen folder replaces the text.
    void afterDialog();

private:
    void browse();

    QLineEdit* edit_;
    QToolButton* button_;
};

}  // namespace quorbin::app
