#include "watcher/SoundOutput.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace {

// Plays through QSoundEffect. The effect that plays is kept until the next
// sound replaces it; effects belong to the application object, so none
// outlives it.
class DesktopSoundOutput final : public SoundOutput {
public:
    void playBuiltIn() override { play(QUrl(QStringLiteral("qrc:/resources/alert.wav")), {}); }

    void playFile(const QString& path) override {
        if (!QFileInfo(path).isFile()) {
            failed(path);
            return;
        }
        play(QUrl::fromLocalFile(path), path);
    }

private:
    void failed(const QString& path) {
        QApplication::beep();
        if (path.isEmpty())
            return;
        qWarning().noquote() << "cannot play the sound file" << path;
        if (OnFileFailed)
            OnFileFailed(path);
    }

    void play(const QUrl& source, const QString& path) {
        if (current_)
            current_->deleteLater();
        current_ = new QSoundEffect(qApp);
        QSoundEffect* effect = current_;
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [this, effect, path] {
            if (effect->status() == QSoundEffect::Error)
                failed(path);
        });
        effect->setSource(source);
        effect->play();
    }

    QPointer<QSoundEffect> current_;
};

std::unique_ptr<SoundOutput>& installed() {
    static std::unique_ptr<SoundOutput> output = std::make_unique<DesktopSoundOutput>();
    return output;
}

} // namespace

SoundOutput& SoundOutput::instance() {
    return *installed();
}

void SoundOutput::install(std::unique_ptr<SoundOutput> output) {
    installed() = std::move(output);
}
