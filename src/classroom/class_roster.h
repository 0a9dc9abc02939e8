#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "class_pupil.h"
#include "connection_string.h"

namespace sumbrook {

// The class list a class computer shows its pupils (not those who left), in the teacher's
// order. Read from the server through the pupils' login; each good read is kept in the
// data folder, so that a computer that cannot reach the server still knows its class. It
// never writes to the server and knows nothing of the journal.
class ClassRoster {
  public:
    static constexpr const char* kCacheFileName = "class-roster.json";
    // A child waits for the list: a server that does not answer soon is taken as away.
    static constexpr int kConnectTimeoutSeconds = 3;

    enum class Source { Server, Cache, None };

    // From the server, else from the list kept in `dataDirectory` (said once on
    // "sumbrook.class"), else none, with the reason.
    static ClassRoster read(const ConnectionString& where, const QString& dataDirectory);

    // Only the list kept on this computer, at once, for the pupils to look at while the
    // server's is read; no reason is given when there is none.
    static ClassRoster kept(const ConnectionString& where, const QString& dataDirectory);

    const std::vector<ClassPupil>& pupils() const { return pupils_; }
    Source source() const { return source_; }
    // Why there is no one to choose, in words for the class; empty when there are pupils.
    QString reason() const { return reason_; }

    // The pupil of that number (7 finds 07) or else of that name.
    std::optional<ClassPupil> find(const QString& numberOrName) const;

    // The teacher's order: numbers made of digits by their value, runs of digits inside
    // other numbers too (A2 before A10).
    static bool numberBefore(const QString& a, const QString& b);

  private:
    void sortByNumber();

    std::vector<ClassPupil> pupils_;
    Source source_ = Source::None;
    QString reason_;
};

}  // namespace sumbrook
