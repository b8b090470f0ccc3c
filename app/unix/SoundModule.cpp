// The success sound, in a module of its own that the program loads only when
// a sound is to be played: Qt Multimedia and the audio libraries behind it
// would otherwise be loaded, and their start-up paid, at every start.
#include <QCoreApplication>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

extern "C" FENWIR_EXPORT void fenwir_play_sound(const char16_t* path)
{
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    const auto done = [effect] {
        if (!effect->isPlaying() || effect->status() == QSoundEffect::Error)
            effect->deleteLater();
    };
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, done);
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, done);
    effect->setSource(QUrl::fromLocalFile(QString::fromUtf16(path)));
    effect->play();
}
