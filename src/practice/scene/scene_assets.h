#pragma once

#include <QString>
#include <QUrl>

namespace sumbrook {

// Where each asset lives inside the scene's bundle (the movie), which a SceneBundle
// registers under bundleRoot(); nothing else spells these paths.
namespace scene_assets {

inline constexpr int kMoneyPictures = 47;

// The resource root a bundle is registered under: "/scene".
QString bundleRoot();
// ":/scene/sounds/111.mp3" for "111.mp3".
QString soundPath(const QString& name);
// The same sound as a URL a media player accepts.
QUrl soundUrl(const QString& name);
// ":/scene/money/money07.svg" for picture 7 (1..47); empty outside that range.
QString moneyPath(int picture);

}  // namespace scene_assets
}  // namespace sumbrook
