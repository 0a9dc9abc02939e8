#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "worksheet/core/sheet.h"
#include "worksheet/core/sheet_template.h"
#include "worksheet/core/tick_source.h"
#include "worksheet/core/worksheet_random.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace sumbrook {

class SheetPreview;
class SheetPrintPreview;

// Quizwright, the worksheet window: the settings pages with their 25 count fields and the
// running total, generating a sheet with the page's rules, its preview and its print
// preview. Controls keep the names of the window's form as their object names. It does
// not know the main window; whoever opens it reads returnFlag() when it closes.
class QuizwrightWindow : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kReturnToMainWindow = 5;

    // Shows an information message titled "信息：". Replaceable so that tests can read it.
    using MessagePresenter = std::function<void(QWidget* parent, const QString& text)>;

    explicit QuizwrightWindow(QWidget* parent = nullptr,
                              std::unique_ptr<TickSource> ticks = nullptr);
    ~QuizwrightWindow() override;

    void setMessagePresenter(MessagePresenter presenter) { presentMessage_ = std::move(presenter); }

    // 5 after "返  回"; 0 when the window closed any other way.
    int returnFlag() const { return returnFlag_; }

    void SelectSettingsPage(int index);
    void RecountTotals();
    void GenerateWorksheet();
    void OpenPrintPreview();
    void LoadSheetTemplate(SheetKind kind);

    // The sheet shown in the preview, and its answer key once one was generated.
    const std::optional<Sheet>& currentSheet() const { return sheet_; }
    const std::optional<Sheet>& currentAnswers() const { return answers_; }
    SheetPrintPreview* printPreview() const { return printPreview_; }

  signals:
    // The window has closed; true when the main window should be shown again.
    void finishedWithReturn(bool returnToMainWindow);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    QWidget* buildCountPage(int page);
    QWidget* buildHelpPage();
    void pressPageButton(int page);
    void showTotals(bool shown);
    void fitTotal();
    QLineEdit* field(int tag) const { return fields_[static_cast<std::size_t>(tag)]; }

    std::unique_ptr<TickSource> ticks_;
    WorksheetRandom random_;
    MessagePresenter presentMessage_;
    int returnFlag_ = 0;
    bool recounting_ = false;

    std::optional<Sheet> sheet_;
    std::optional<Sheet> answers_;

    QTabWidget* tabs_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* totalLabel_ = nullptr;
    QLineEdit* total_ = nullptr;
    QLabel* totalUnit_ = nullptr;
    QPushButton* generate_ = nullptr;
    QPushButton* print_ = nullptr;
    std::array<QPushButton*, 4> pageButtons_{};
    std::array<QLineEdit*, 26> fields_{};  // by tag, 1..25
    QComboBox* questionList_ = nullptr;
    QLabel* clockSurface_ = nullptr;
    SheetPreview* preview_ = nullptr;
    SheetPrintPreview* printPreview_ = nullptr;
};

}  // namespace sumbrook
