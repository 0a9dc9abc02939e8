#include "shell/help_window.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sumbrook {

HelpWindow::HelpWindow(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("软件说明窗口"));
    setWindowTitle(QStringLiteral("软件说明"));
    // Beside the practice, not over it: the child may go on while a parent reads.
    setModal(false);

    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setPlainText(text);
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont type = view_->font();
    type.setPixelSize(14);
    view_->setFont(type);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addWidget(buttons);
    resize(560, 420);
}

QString HelpWindow::text() const {
    return view_->toPlainText();
}

}  // namespace sumbrook
