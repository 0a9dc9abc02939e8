#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace sumbrook {

// The named per-user store "shuxue": a memory image of its keys that reaches the disk
// only when flush() is called. The file is JSON and is replaced atomically, so a write
// cut short leaves the old file or the new one. It knows nothing of what the keys mean.
class ProgressStore {
  public:
    static constexpr const char* kName = "shuxue";

    // The store in the per-user data folder, or in $SUMBROOK_DATA_DIR when that is set.
    ProgressStore();
    // The store in the given folder.
    explicit ProgressStore(QString directory);

    // The per-user data folder, or $SUMBROOK_DATA_DIR when that is set.
    static QString defaultDirectory();

    // Reads the file into memory, after removing temporaries that a write cut off
    // between writing and renaming left behind. A missing file gives an empty store; an
    // unreadable or damaged one gives an empty store too, and the file is renamed to
    // "shuxue.json.damaged-yyyyMMdd-HHmmss" (then "-2", "-3" … where that name is taken;
    // a rename needs no room on a full disk), said on "sumbrook.progress", so that nothing
    // is thrown away unseen and no earlier copy is replaced. A damaged file that cannot be
    // set aside is never written over: the store then stays in memory only.
    void open();
    QJsonValue value(const QString& key) const { return image_.value(key); }
    void setValue(const QString& key, const QJsonValue& value) { image_.insert(key, value); }
    // Writes the memory image to disk; false when the folder or file cannot be written
    // (the file on disk is then unchanged). The first failure of a store is said once on
    // the "sumbrook.progress" logging category; practice goes on from memory.
    bool flush();

    QString filePath() const;

    // A temporary older than this is a leftover, not a write under way.
    static constexpr int kStaleTemporarySeconds = 60;

  private:
    void removeStaleTemporaries() const;
    void setDamagedFileAside();
    void sayOnce(const QString& what);

    QString directory_;
    QJsonObject image_;
    bool keepFile_ = false;  // a damaged file that could not be set aside
    bool failureSaid_ = false;
};

}  // namespace sumbrook
