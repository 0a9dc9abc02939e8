#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace sumbrook {

// "软件说明" shown inside the program: the help document's text, read-only and wrapped to
// the window, in a small window of its own that Esc closes. It neither finds nor writes
// the document's file; it is handed the text.
class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    explicit HelpWindow(const QString& text, QWidget* parent = nullptr);

    QString text() const;

  private:
    QPlainTextEdit* view_ = nullptr;
};

}  // namespace sumbrook
