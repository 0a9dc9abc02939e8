#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

#include "pupil_list_file.h"

namespace sumbrook {

// The class list on the server: pupils by number (学号) and name (姓名). An import adds
// the new numbers, renames the known ones and brings back a pupil who left ("已离开"); it
// never deletes, since a pupil's recorded work keeps them on the list.
class ClassList {
  public:
    struct Imported {
        int added = 0;
        int renamed = 0;
        int unchanged = 0;
    };

    // In one transaction: all of the pupils or none. Nothing, with `error` set to the
    // server's one-line answer, when it refuses.
    static std::optional<Imported> import(QSqlDatabase& db,
                                          const std::vector<PupilListFile::Pupil>& pupils,
                                          QString& error);
};

}  // namespace sumbrook
