#include "app/directoryedit.h"

#include "app/errorreport.h"
#include "platform/userinterface.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace quorbin::app {

DirectoryEdit::DirectoryEdit(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    button_->setText(QStringLiteral("…"));
    connect(button_, &QToolButton::clicked, this, guarded([this] { browse(); }));
}

QString DirectoryEdit::text() const { return edit_->text(); }

void DirectoryEdit::setText(const QString& text) { edit_->setText(text); }

void DirectoryEdit::browse()
{
    emit beforeDialog();
    const auto chosen = ui().chooseFolder(dialogText, text());
    emit afterDialog();
    if (chosen)
        setText(*chosen);
}

}  // namespace quorbin::app
