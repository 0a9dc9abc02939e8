#pragma once

#include <QVector>
#include <QWidget>
#include <functional>
#include <optional>

#include "classroom/class_queries.h"

class QLabel;
class QTableWidget;

namespace sumbrook {

// The "班级名单" page: the class list by number and name, those who left under "已离开",
// and the teacher's changes to it (add, rename, import a CSV list, remove). Every
// question goes through an asker, so the page needs no modal dialog under test. The
// server keeps the list; the page re-reads it after each change.
class RosterPage : public QWidget {
    Q_OBJECT
  public:
    // A new pupil's number and name; nothing when the teacher cancels.
    using PupilAsker =
        std::function<std::optional<ClassPupil>(const QString& title, const ClassPupil& initial)>;
    using NameAsker = std::function<std::optional<QString>(
        const QString& title, const QString& label, const QString& initial)>;
    // The CSV list to import; empty when the teacher cancels.
    using FileAsker = std::function<QString()>;
    using YesNoAsker = std::function<bool(const QString& title, const QString& question)>;

    explicit RosterPage(ClassQueries& queries, QWidget* parent = nullptr);

    void setPupilAsker(PupilAsker ask) { askPupil_ = std::move(ask); }
    void setNameAsker(NameAsker ask) { askName_ = std::move(ask); }
    void setFileAsker(FileAsker ask) { askFile_ = std::move(ask); }
    void setYesNoAsker(YesNoAsker ask) { askYesNo_ = std::move(ask); }

    // Reads the list again; false when the server did not answer (said).
    bool refresh();
    const QVector<ListedPupil>& pupils() const { return pupils_; }
    void selectPupil(int id);
    int selectedId() const;

    // The buttons' work.
    void addPupil();
    void renamePupil();
    void importList();
    void removePupil();

    QTableWidget* listTable() const { return list_; }
    QTableWidget* leftTable() const { return left_; }

  signals:
    void told(const QString& text);
    void changed();  // the list on the server changed

  private:
    const ListedPupil* find(int id) const;
    void tellRefusal(const QString& what);

    ClassQueries& queries_;
    PupilAsker askPupil_;
    NameAsker askName_;
    FileAsker askFile_;
    YesNoAsker askYesNo_;
    QVector<ListedPupil> pupils_;
    QTableWidget* list_ = nullptr;
    QLabel* leftLabel_ = nullptr;
    QTableWidget* left_ = nullptr;
};

}  // namespace sumbrook
