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

    // Reads the file into memory. A missing file gives an empty store; an unreadable or
    // damaged one gives an empty store too, and its bytes are kept beside it as
    // "shuxue.json.damaged" so that nothing is thrown away unseen.
    void open();
    QJsonValue value(const QString& key) const { return image_.value(key); }
    void setValue(const QString& key, const QJsonValue& value) { image_.insert(key, value); }
    // Writes the memory image to disk; false when the folder or file cannot be written
    // (the file on disk is then unchanged).
    bool flush();

    QString filePath() const;

  private:
    QString directory_;
    QJsonObject image_;
};

}  // namespace sumbrook
