#include "roster_page.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "classroom/pupil_list_file.h"
#include "parent/window_font.h"

namespace sumbrook {

namespace {

QTableWidget* pupilTable(const QString& name, QWidget* parent) {
    auto* t = new QTableWidget(0, 2, parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels({QStringLiteral("学号"), QStringLiteral("姓名")});
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setAlternatingRowColors(true);
    t->verticalHeader()->setVisible(false);
    t->verticalHeader()->setDefaultSectionSize(30);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    t->setFont(windowFont(12));
    return t;
}

// Number and name in one small dialog.
std::optional<ClassPupil> askPupilInDialog(QWidget* parent, const QString& title,
                                           const ClassPupil& initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* number = new QLineEdit(initial.number, &dialog);
    auto* name = new QLineEdit(initial.name, &dialog);
    number->setMaxLength(PupilListFile::kMaxNumber);
    name->setMaxLength(PupilListFile::kMaxName);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("学号："), number);
    form->addRow(QStringLiteral("姓名："), name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ClassPupil{number->text().trimmed(), name->text().trimmed()};
}

void fill(QTableWidget* table, const QVector<const ListedPupil*>& pupils) {
    table->setRowCount(static_cast<int>(pupils.size()));
    for (int row = 0; row < pupils.size(); ++row) {
        auto* number = new QTableWidgetItem(pupils[row]->pupil.number);
        number->setData(Qt::UserRole, pupils[row]->id);
        auto* name = new QTableWidgetItem(pupils[row]->pupil.name);
        if (pupils[row]->left) {
            // Those who left, quieter than the class.
            for (QTableWidgetItem* item : {number, name}) {
                item->setForeground(QColor(0x6b, 0x77, 0x85));
            }
        }
        table->setItem(row, 0, number);
        table->setItem(row, 1, name);
    }
}

}  // namespace

RosterPage::RosterPage(ClassQueries& queries, QWidget* parent)
    : QWidget(parent), queries_(queries) {
    setObjectName(QStringLiteral("班级名单"));
    askPupil_ = [this](const QString& title, const ClassPupil& initial) {
        return askPupilInDialog(this, title, initial);
    };
    askName_ = [this](const QString& title, const QString& label,
                      const QString& initial) -> std::optional<QString> {
        bool ok = false;
        const QString name =
            QInputDialog::getText(this, title, label, QLineEdit::Normal, initial, &ok);
        return ok ? std::optional<QString>(name) : std::nullopt;
    };
    askFile_ = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("导入名单"), QString(),
                                            QStringLiteral("CSV 文件 (*.csv)"));
    };
    askYesNo_ = [this](const QString& title, const QString& question) {
        return QMessageBox::question(this, title, question) == QMessageBox::Yes;
    };

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const QString& text, void (RosterPage::*work)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QStringLiteral("按钮_") + text);
        b->setMinimumSize(110, 34);
        b->setFont(windowFont(11));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, work);
    };
    button(QStringLiteral("添加学生"), &RosterPage::addPupil);
    button(QStringLiteral("改名"), &RosterPage::renamePupil);
    button(QStringLiteral("导入名单…"), &RosterPage::importList);
    button(QStringLiteral("移出班级"), &RosterPage::removePupil);
    buttons->addStretch(1);

    list_ = pupilTable(QStringLiteral("表格_名单"), this);
    leftLabel_ = new QLabel(QStringLiteral("已离开"), this);
    leftLabel_->setObjectName(QStringLiteral("标签_已离开"));
    leftLabel_->setFont(windowFont(12, true));
    left_ = pupilTable(QStringLiteral("表格_已离开"), this);
    left_->setMaximumHeight(170);
    list_->setMaximumWidth(640);
    left_->setMaximumWidth(640);

    auto* lists = new QVBoxLayout;
    lists->addWidget(list_, 3);
    lists->addWidget(leftLabel_);
    lists->addWidget(left_, 1);
    auto* help = new QLabel(
        QStringLiteral("导入名单：CSV 文件，第一行是“学号,姓名”，UTF-8 或 GBK 编码，和"
                       "“sumbrook class pupils import”用的一样。名单里新的学号会添加，已有的"
                       "学号按名单改名；不会删掉学生。有一行不对，整个名单都不导入。\n\n"
                       "移出班级：做过练习的学生放到“已离开”里，练习记录都留着。"),
        this);
    help->setObjectName(QStringLiteral("标签_名单说明"));
    help->setWordWrap(true);
    help->setFont(windowFont(11));
    help->setStyleSheet(QStringLiteral("color: #4a5866;"));
    help->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* body = new QHBoxLayout;
    body->addLayout(lists, 3);
    body->addSpacing(24);
    body->addWidget(help, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addLayout(buttons);
    layout->addLayout(body, 1);
}

void RosterPage::tellRefusal(const QString& what) {
    const QString error = queries_.readError();
    emit told(error.isEmpty() ? what : what + error);
}

bool RosterPage::refresh() {
    const int selected = selectedId();
    const QVector<ListedPupil> pupils = queries_.pupils();
    if (!queries_.readError().isEmpty()) {
        emit told(queries_.readError());
        return false;
    }
    pupils_ = pupils;
    QVector<const ListedPupil*> staying;
    QVector<const ListedPupil*> gone;
    for (const ListedPupil& p : pupils_) {
        (p.left ? gone : staying).append(&p);
    }
    fill(list_, staying);
    fill(left_, gone);
    leftLabel_->setVisible(!gone.isEmpty());
    left_->setVisible(!gone.isEmpty());
    selectPupil(selected);
    return true;
}

const ListedPupil* RosterPage::find(int id) const {
    for (const ListedPupil& p : pupils_) {
        if (p.id == id) {
            return &p;
        }
    }
    return nullptr;
}

void RosterPage::selectPupil(int id) {
    for (int row = 0; row < list_->rowCount(); ++row) {
        if (list_->item(row, 0)->data(Qt::UserRole).toInt() == id) {
            list_->selectRow(row);
            return;
        }
    }
}

int RosterPage::selectedId() const {
    const QList<QTableWidgetItem*> chosen = list_->selectedItems();
    return chosen.isEmpty() ? 0 : list_->item(chosen.first()->row(), 0)->data(Qt::UserRole).toInt();
}

void RosterPage::addPupil() {
    const std::optional<ClassPupil> asked = askPupil_(QStringLiteral("添加学生"), {});
    if (!asked) {
        return;
    }
    const ClassPupil pupil{asked->number.trimmed(), asked->name.simplified()};
    if (pupil.number.isEmpty() || pupil.name.isEmpty()) {
        emit told(QStringLiteral("学号和姓名都要填。"));
        return;
    }
    for (const ListedPupil& p : pupils_) {
        if (p.pupil.number == pupil.number) {
            emit told(QStringLiteral("学号 %1 已经是“%2”的了。").arg(pupil.number, p.pupil.name));
            return;
        }
    }
    const int id = queries_.addPupil(pupil);
    if (id <= 0) {
        tellRefusal(QStringLiteral("没能添加“%1”：").arg(pupil.name));
        return;
    }
    refresh();
    selectPupil(id);
    emit told(QStringLiteral("已添加 %1 %2。").arg(pupil.number, pupil.name));
    emit changed();
}

void RosterPage::renamePupil() {
    const ListedPupil* chosen = find(selectedId());
    if (chosen == nullptr) {
        emit told(QStringLiteral("先在名单里选一个学生。"));
        return;
    }
    const ListedPupil pupil = *chosen;
    const std::optional<QString> name =
        askName_(QStringLiteral("改名"),
                 QStringLiteral("学号 %1 的新名字：").arg(pupil.pupil.number), pupil.pupil.name);
    if (!name || name->simplified().isEmpty() || name->simplified() == pupil.pupil.name) {
        return;
    }
    if (!queries_.renamePupil(pupil.id, name->simplified())) {
        tellRefusal(QStringLiteral("没能改名："));
        return;
    }
    refresh();
    emit told(QStringLiteral("“%1”已改名为“%2”。").arg(pupil.pupil.name, name->simplified()));
    emit changed();
}

void RosterPage::removePupil() {
    const ListedPupil* chosen = find(selectedId());
    if (chosen == nullptr) {
        emit told(QStringLiteral("先在名单里选一个学生。"));
        return;
    }
    const ListedPupil pupil = *chosen;
    if (!askYesNo_(QStringLiteral("移出班级"),
                   QStringLiteral("把 %1 %2 移出班级吗？\n做过练习的学生会放到“已离开”里，"
                                  "练习记录都留着；没做过练习的会从名单上删掉。")
                       .arg(pupil.pupil.number, pupil.pupil.name))) {
        return;
    }
    if (!queries_.removePupil(pupil.id)) {
        tellRefusal(QStringLiteral("没能移出“%1”：").arg(pupil.pupil.name));
        return;
    }
    refresh();
    const ListedPupil* after = find(pupil.id);
    emit told(after != nullptr && after->left
                  ? QStringLiteral("%1 已移到“已离开”，练习记录都留着。").arg(pupil.pupil.name)
                  : QStringLiteral("%1 已从名单上删掉。").arg(pupil.pupil.name));
    emit changed();
}

void RosterPage::importList() {
    const QString path = askFile_();
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        emit told(QStringLiteral("打不开 %1：%2").arg(path, file.errorString()));
        return;
    }
    const PupilListFile list = PupilListFile::read(file.readAll());
    if (!list.problems().isEmpty()) {
        // As `sumbrook class pupils import` does: a list with a bad row is refused whole.
        emit told(QStringLiteral("名单没有导入，%1 处要改：%2")
                      .arg(list.problems().size())
                      .arg(list.problems().first()));
        return;
    }
    const std::optional<ClassList::Imported> imported = queries_.importPupils(list.pupils());
    if (!imported) {
        tellRefusal(QStringLiteral("名单没有导入："));
        return;
    }
    refresh();
    emit told(QStringLiteral("名单已导入：新增 %1 人，改名 %2 人，没变 %3 人。")
                  .arg(imported->added)
                  .arg(imported->renamed)
                  .arg(imported->unchanged));
    if (imported->added + imported->renamed > 0) {
        emit changed();
    }
}

}  // namespace sumbrook
