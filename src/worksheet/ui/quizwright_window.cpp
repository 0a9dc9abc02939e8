#include "quizwright_window.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include "clock_face_painter.h"
#include "sheet_preview.h"
#include "sheet_print_preview.h"
#include "worksheet/core/count_text.h"
#include "worksheet/core/generate_worksheet.h"
#include "worksheet/core/generation_error.h"
#include "worksheet/core/worksheet_counts.h"

namespace sumbrook {

namespace {

constexpr int kHelpPage = 5;
constexpr int kAboutPage = 4;
constexpr int kMoveStripHeight = 34;
constexpr int kFirstRowTop = 8;
constexpr int kRowStep = 22;
// The window's type: 12 pixels, the size its 40 × 18 fields and 64 × 39 buttons were
// laid out for (one ideograph 12 pixels wide).
constexpr int kFontPixels = 12;
constexpr int kSmallestTotalPixels = 4;
constexpr int kLineEditMargin = 2;  // QLineEdit's own space each side of its text

const char* const kHelpParagraphs[] = {
    "　　一、程序简介",
    "　　本程序中设置的题型适合于小学一、二年级学生使用， 有基本的加减乘除法、 "
    "简单竖式以及认识时钟，是低年级学数学练习必不可少的好帮手。",
    "　　二、使用方法",
    "　　1、请在下面选择要生成的口算题题型，根据提示，设计同一页面的题型总数在规定的数目以内"
    "（图形钟面必须为10题）。",
    "　　2、点击“生成算式”按钮，即可生成符合要求的口算题。",
    "　　3、如果对当前题目满意，点击“打印”按钮，可以进入打印预览，再次选择“打印”，"
    "即可直接打印出生成的练习题(纸张默认为A4纸)。",
};

const char* const kPageButtonNames[] = {"按钮_加减法", "按钮_乘除法", "按钮_竖式", "按钮_认识时间"};
const char* const kPageButtonCaptions[] = {"加减法", "乘除法", "简单竖式", "认识时间"};
const int kPageButtonLefts[] = {314, 390, 466, 543};

void showInformation(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("信息："), text, QMessageBox::Ok,
                    parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

// How far a caption's ink reaches from its left edge: the last character counts to the
// right edge of its ink, not of its advance (a full-width colon's ink sits in its middle).
int inkExtent(const QFont& font, const QString& text) {
    if (text.isEmpty()) {
        return 0;
    }
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(text.chopped(1)) + metrics.boundingRect(text.back()).right() +
           1;
}

// A label whose caption runs under a later neighbour: its type is made smaller until the
// whole caption stands in the part that shows.
void fitCaptionBefore(QLabel* label, const QWidget* neighbour) {
    const int room = neighbour->x() - label->x() - 1;
    QFont type = label->font();
    int pixels = type.pixelSize() > 0 ? type.pixelSize() : QFontInfo(type).pixelSize();
    while (pixels > kSmallestTotalPixels && inkExtent(type, label->text()) > room) {
        type.setPixelSize(--pixels);
    }
    label->setFont(type);
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

QuizwrightWindow::QuizwrightWindow(QWidget* parent, std::unique_ptr<TickSource> ticks)
    : QDialog(parent),
      ticks_(ticks ? std::move(ticks) : std::make_unique<SystemTickSource>()),
      random_(*ticks_),
      presentMessage_(showInformation) {
    setObjectName(QStringLiteral("Quizwright"));
    QFont type = font();
    type.setPixelSize(kFontPixels);
    setFont(type);
    setFixedSize(630, 520);
    move(50, 50);
    buildControls();

    // The order in which the window sets itself up when it is created.
    setWindowTitle(QStringLiteral("Quizwright"));
    print_->setEnabled(false);
    generate_->setEnabled(false);
    returnFlag_ = 0;
    showTotals(false);
    LoadSheetTemplate(SheetKind::Arithmetic);
    SelectSettingsPage(kHelpPage);
    for (int tag = kFirstTag; tag <= kLastTag; ++tag) {
        connect(field(tag), &QLineEdit::textChanged, this, [this] { RecountTotals(); });
        field(tag)->installEventFilter(this);
    }
}

QuizwrightWindow::~QuizwrightWindow() = default;

void QuizwrightWindow::buildControls() {
    description_ = label(this, QStringLiteral("题型设置（总数：30题）"), QRect(317, 19, 286, 16));
    description_->setObjectName(QStringLiteral("透明标签_题型说明"));
    description_->setAttribute(Qt::WA_TranslucentBackground);

    auto* frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("外形框1"));
    frame1->setGeometry(306, 40, 304, 312);
    frame1->setFrameShape(QFrame::StyledPanel);
    frame1->setFrameShadow(QFrame::Sunken);

    totalLabel_ = label(frame1, QStringLiteral("共计："), QRect(192, 279, 38, 24));
    totalLabel_->setObjectName(QStringLiteral("共计_标签"));
    total_ = new QLineEdit(QStringLiteral("0"), frame1);
    total_->setObjectName(QStringLiteral("共计_编辑框"));
    total_->setGeometry(221, 281, 40, 18);
    total_->setReadOnly(true);
    total_->setAlignment(Qt::AlignCenter);
    total_->setFocusPolicy(Qt::NoFocus);
    // The box covers the label's last 9 pixels, where "：" would stand at full size.
    fitCaptionBefore(totalLabel_, total_);
    totalUnit_ = label(frame1, QStringLiteral("题"), QRect(268, 283, 17, 16));
    totalUnit_->setObjectName(QStringLiteral("共计题_标签"));

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("选择夹1"));
    tabs_->setGeometry(315, 48, 293, 272);
    for (int page = 0; page < kSettingsPages; ++page) {
        QWidget* content = page == kHelpPage    ? buildHelpPage()
                           : page == kAboutPage ? new QWidget
                                                : buildCountPage(page);
        tabs_->addTab(content, tabCaption(page));
    }

    for (int page = 0; page < 4; ++page) {
        pageButtons_[static_cast<std::size_t>(page)] =
            button(this, kPageButtonNames[page], kPageButtonCaptions[page],
                   QRect(kPageButtonLefts[page], 386, 64, 39));
        connect(pageButtons_[static_cast<std::size_t>(page)], &QPushButton::clicked, this,
                [this, page] { pressPageButton(page); });
    }
    generate_ = button(this, "按钮_生成算式", "生 成 算 式", QRect(314, 430, 144, 39));
    connect(generate_, &QPushButton::clicked, this, [this] { GenerateWorksheet(); });
    print_ = button(this, "按钮_打印", "打    印", QRect(471, 430, 136, 39));
    connect(print_, &QPushButton::clicked, this, [this] { OpenPrintPreview(); });

    auto* frame2 = new QFrame(this);
    frame2->setObjectName(QStringLiteral("外形框2"));
    frame2->setGeometry(8, 1, 280, 455);
    frame2->setFrameShape(QFrame::StyledPanel);
    frame2->setFrameShadow(QFrame::Sunken);
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("分组框1"));
    group->setGeometry(12, 3, 272, 445);
    preview_ = new SheetPreview(group);
    preview_->setObjectName(QStringLiteral("表格1"));
    // Kept inside its group box, so that its scroll bar can be reached.
    preview_->setGeometry(0, 4, 272, 441);

    auto* caption = label(this, QStringLiteral("出题预览"), QRect(105, 454, 104, 24));
    caption->setObjectName(QStringLiteral("透明标签1"));
    caption->setAttribute(Qt::WA_TranslucentBackground);
    auto* help = button(this, "按钮4", "帮  助", QRect(10, 457, 94, 22));
    connect(help, &QPushButton::clicked, this, [this] {
        SelectSettingsPage(kHelpPage);
        showTotals(false);
    });
    auto* back = button(this, "按钮1", "返  回", QRect(192, 456, 94, 22));
    connect(back, &QPushButton::clicked, this, [this] {
        returnFlag_ = kReturnToMainWindow;
        close();
    });

    // Working controls beyond the window's right edge: never seen.
    questionList_ = new QComboBox(this);
    questionList_->setObjectName(QStringLiteral("组合框1"));
    questionList_->setGeometry(660, 10, 120, 20);
    clockSurface_ = new QLabel(this);
    clockSurface_->setObjectName(QStringLiteral("画板_时钟"));
    clockSurface_->setGeometry(660, 40, ClockFacePainter::kSize, ClockFacePainter::kSize);
}

QWidget* QuizwrightWindow::buildCountPage(int page) {
    auto* content = new QWidget;
    const auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), content);
    int row = 0;
    for (const int tag : tagsOfPage(page)) {
        const CountField& f = countField(tag);
        const int top = kFirstRowTop + row * kRowStep;
        // Up to the field's left edge, so that the longest name (tag 15) stands whole.
        auto* name = label(content, QString::fromUtf8(f.label), QRect(4, top, 214, 18));
        name->setToolTip(name->text());
        auto* edit = new QLineEdit(QStringLiteral("0"), content);
        edit->setObjectName(QString::fromUtf8(f.control));
        edit->setProperty("tag", tag);
        edit->setGeometry(218, top, 40, 18);
        edit->setValidator(validator);
        edit->setAlignment(Qt::AlignCenter);
        fields_[static_cast<std::size_t>(tag)] = edit;
        label(content, QStringLiteral("题"), QRect(262, top + 1, 17, 16));
        ++row;
    }
    return content;
}

QWidget* QuizwrightWindow::buildHelpPage() {
    auto* content = new QWidget;
    auto* text = new QPlainTextEdit(content);
    text->setObjectName(QStringLiteral("编辑框_帮助"));
    text->setGeometry(7, 6, 280, 234);
    text->setReadOnly(true);
    QStringList paragraphs;
    for (const char* p : kHelpParagraphs) {
        paragraphs << QString::fromUtf8(p);
    }
    text->setPlainText(paragraphs.join(QStringLiteral("\r\n")));
    return content;
}

void QuizwrightWindow::showTotals(bool shown) {
    totalLabel_->setVisible(shown);
    total_->setVisible(shown);
    totalUnit_->setVisible(shown);
}

void QuizwrightWindow::SelectSettingsPage(int index) {
    tabs_->setCurrentIndex(index);
    if (index >= 0 && index <= 3) {
        description_->setText(pageDescription(index));
        if (QLineEdit* first = field(tagsOfPage(index).front())) {
            first->setFocus();
        }
    } else if (index == kAboutPage) {
        description_->clear();
    } else if (index == kHelpPage) {
        description_->setText(QStringLiteral("使用帮助"));
    }
}

void QuizwrightWindow::pressPageButton(int page) {
    if (page == 0) {
        print_->setEnabled(false);
    }
    SelectSettingsPage(page);
    LoadSheetTemplate(page == 3   ? SheetKind::Clock
                      : page == 2 ? SheetKind::Vertical
                                  : SheetKind::Arithmetic);
    for (int tag = kFirstTag; tag <= kLastTag; ++tag) {
        field(tag)->setText(QStringLiteral("0"));
    }
    showTotals(true);
    if (page != 0) {
        print_->setEnabled(false);
    }
}

void QuizwrightWindow::LoadSheetTemplate(SheetKind kind) {
    sheet_ = SheetTemplate::load(kind);
    answers_.reset();
    preview_->showSheet(*sheet_);
    if (printPreview_) {
        printPreview_->refresh();
    }
}

void QuizwrightWindow::RecountTotals() {
    if (recounting_) {
        return;  // a field set back to "0" below comes through here again
    }
    recounting_ = true;
    std::int64_t total = 0;
    for (int tag = kFirstTag; tag <= kLastTag; ++tag) {
        QLineEdit* f = field(tag);
        if (!isCanonicalCount(f->text())) {
            f->setText(QStringLiteral("0"));
        }
        const std::int64_t value = countFieldValue(f->text());
        total = value > INT64_MAX - total ? INT64_MAX : total + value;
        total_->setText(QString::number(total));
    }
    fitTotal();
    const int page = tabs_->currentIndex();
    if (total != 0) {
        generate_->setEnabled(true);
        if (total != 10 && page == 3) {
            generate_->setEnabled(false);
        }
    }
    if (total > 30) {
        generate_->setEnabled(false);
    }
    if (total > 21 && page == 2) {
        generate_->setEnabled(false);
    }
    recounting_ = false;
}

void QuizwrightWindow::fitTotal() {
    // A long total gets a smaller type rather than losing its first digits.
    const int frame = total_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int room = total_->width() - 2 * frame - 2 * kLineEditMargin;
    QFont type = font();
    int pixels = kFontPixels;
    type.setPixelSize(pixels);
    while (pixels > kSmallestTotalPixels &&
           QFontMetrics(type).horizontalAdvance(total_->text()) > room) {
        type.setPixelSize(--pixels);
    }
    total_->setFont(type);
}

void QuizwrightWindow::GenerateWorksheet() {
    print_->setEnabled(true);
    const int page = tabs_->currentIndex();
    WorksheetCounts counts;
    for (int tag = kFirstTag; tag <= kLastTag; ++tag) {
        counts.setCount(tag, field(tag)->text().toDouble());
    }
    std::optional<std::pair<int, int>> lastFace;
    const ClockFaceRenderer faces = [&lastFace](int hour, int minute) {
        lastFace = std::pair{hour, minute};
        return ClockFacePainter::drawing(hour, minute);
    };
    try {
        auto result = sumbrook::GenerateWorksheet(page, counts, random_, faces);
        if (const auto* refused = std::get_if<ValidationMessage>(&result)) {
            presentMessage_(this, refused->text);
            return;
        }
        auto& generated = std::get<GeneratedWorksheet>(result);
        if (lastFace) {
            // The drawing surface keeps the last face it drew.
            clockSurface_->setPixmap(
                QPixmap::fromImage(ClockFacePainter::face(lastFace->first, lastFace->second)));
        }
        questionList_->clear();
        for (const WorksheetQuestion& q : generated.questions.items()) {
            questionList_->addItem(q.text);
        }
        if (generated.sheet) {
            sheet_ = std::move(generated.sheet);
            answers_ = std::move(generated.answers);
            preview_->showSheet(*sheet_);
            if (printPreview_) {
                printPreview_->refresh();
            }
        }
    } catch (const GenerationError& e) {
        presentMessage_(this, QString::fromUtf8(e.what()));
    }
}

void QuizwrightWindow::OpenPrintPreview() {
    if (!printPreview_) {
        printPreview_ = new SheetPrintPreview(this, [this] { return std::pair{sheet_, answers_}; });
    }
    printPreview_->open();
}

void QuizwrightWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() <= kMoveStripHeight &&
        windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    QDialog::mousePressEvent(event);
}

bool QuizwrightWindow::eventFilter(QObject* watched, QEvent* event) {
    // A count field that takes the focus selects its whole text, so typing replaces it.
    if (event->type() == QEvent::FocusIn) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void QuizwrightWindow::keyPressEvent(QKeyEvent* event) {
    // Every control passes Escape on to the window, where QDialog would close it and, with
    // it, the whole program: a half-made sheet is lost to one key.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void QuizwrightWindow::done(int result) {
    QDialog::done(result);
    emit finishedWithReturn(returnFlag_ == kReturnToMainWindow);
}

}  // namespace sumbrook
