#pragma once

#include <QByteArrayView>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "moviehost/scene_services.h"

namespace sumbrook {

class CodePatchHook;
class FilteredWindowList;
class MemoryFileTable;
class PracticeStage;
class SceneBundle;
class SceneWidget;

// Hosts the practice scene (the control) in a child widget of one of the shell's widgets,
// and gives the shell a small surface over it: create, move, the movie to play, and the
// scene's two root variables. It plays only a movie that it opened itself through the
// process's file-open entry, so a movie held in memory reaches it by LoadMovieFromMemory.
// It uses the shell's process-wide objects but owns none of them.
class MoviePlayer {
  public:
    // Owned by start-up; they outlive the player. Every member of the services is set.
    struct ProcessObjects {
        MemoryFileTable& files;
        CodePatchHook& hook;
        FilteredWindowList& filteredWindows;
        QString programDirectory;  // served paths are this + "/" + a memory file's name
    };

    // Files larger than this are not a movie and are not read to the end.
    static constexpr qint64 kMaxMovieBytes = 256 * 1024 * 1024;

    MoviePlayer(ProcessObjects process, SceneServices services);
    // Releases the scene: a scene that played writes its progress store as it closes.
    ~MoviePlayer();
    MoviePlayer(const MoviePlayer&) = delete;
    MoviePlayer& operator=(const MoviePlayer&) = delete;

    // Makes the control a child of `parent` (null: the parent of the previous Create) at the
    // given rectangle, replacing a control made before; false when there never was a parent.
    // The control shows nothing until a movie is put.
    bool Create(QWidget* parent, int left, int top, int width, int height);
    bool Create(int left, int top, int width, int height);
    QWidget* ParentWindow() const { return parent_; }

    // Records the rectangle and moves the control there; before Create it only records.
    void Move(int left, int top, int width, int height);
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // The control: the scene and the widget that shows it; null before Create.
    PracticeStage* Control() const { return stage_.get(); }
    QWidget* HostWindow() const;

    // The path last put; empty before.
    QString Movie() const { return movie_; }
    // Opens `path` through the process's file-open entry and reads it whole; when it is a
    // valid bundle, the scene plays it from its intro (a scene already playing another
    // movie is replaced by a fresh one). False, and the scene as it was, otherwise.
    bool PutMovie(const QString& path);

    // Serves `bytes` from memory at program directory + "/" + their CRC-32 name and puts
    // that path as the movie. The redirection of the file-open entry is installed (and
    // left in place) if it is not already; the zero-length file that stands at the path
    // meanwhile is gone when this returns. The bytes never reach the disk.
    void LoadMovieFromMemory(QByteArrayView bytes);

    // The scene's root variables "dongzuo" and "quanping" as texts. Any other name, no
    // control or no movie playing: reads give the empty text and writes do nothing.
    QString GetVariable(const QString& name) const;
    void SetVariable(const QString& name, const QString& value);

  private:
    void makeScene(int left, int top, int width, int height);
    void releaseScene();

    ProcessObjects process_;
    SceneServices services_;
    QPointer<QWidget> parent_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    QString movie_;
    // Declared before the scene, which plays from it, so that it is dropped after.
    std::unique_ptr<SceneBundle> bundle_;
    std::unique_ptr<PracticeStage> stage_;
    QPointer<SceneWidget> widget_;
};

}  // namespace sumbrook
