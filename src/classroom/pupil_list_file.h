#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace sumbrook {

// A class list as a school's spreadsheet exports it: CSV with the header 学号,姓名, in
// UTF-8 (with or without a BOM) or, when the bytes are not valid UTF-8, GBK. Every row is
// checked before anything is used, so that a list with one bad row is refused whole. It
// does not touch the server; ClassList does.
class PupilListFile {
  public:
    static constexpr int kMaxNumber = 32;  // characters, as the server's table allows
    static constexpr int kMaxName = 64;

    struct Pupil {
        int row;  // in the file, the header being row 1
        QString number;
        QString name;
    };

    static PupilListFile read(const QByteArray& bytes);

    const std::vector<Pupil>& pupils() const { return pupils_; }
    // One line per refusal ("row 4: no 学号"); empty when the list can be imported.
    const QStringList& problems() const { return problems_; }

  private:
    std::vector<Pupil> pupils_;
    QStringList problems_;
};

}  // namespace sumbrook
