#pragma once

#include <QString>
#include <QUrl>

namespace sumbrook {

// Makes the scene's compiled-in art and sounds reachable under ":/scene". Call once,
// after the application object exists and before the scene draws or plays anything.
void initSceneAssets();

// Where each asset lives inside the bundle; nothing else spells these paths, so the
// bundle can move (to one loaded from memory) by changing only these functions.
namespace scene_assets {

inline constexpr int kMoneyPictures = 47;

// ":/scene/sounds/111.mp3" for "111.mp3".
QString soundPath(const QString& name);
// The same sound as a URL a media player accepts.
QUrl soundUrl(const QString& name);
// ":/scene/money/money07.svg" for picture 7 (1..47); empty outside that range.
QString moneyPath(int picture);

}  // namespace scene_assets
}  // namespace sumbrook
