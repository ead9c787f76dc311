#include "platform/sound.h"

#include "platform/files.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace vq {
namespace {

class EffectSoundService final : public SoundService {
public:
    void play(const QString& path) override {
        // The previous sound ends at once, whether or not the new one can play.
        if (m_effect) {
            m_effect->stop();
            m_effect->deleteLater();
            m_effect = nullptr;
        }
        // Only a regular file plays: a FIFO or a device would be read without end.
        if (!isRegularFile(path) || !QCoreApplication::instance())
            return;
        // A fresh effect per sound, owned by the application so it goes when the program ends;
        // re-pointing one effect at another source while it still loads can leave it silent.
        m_effect = new QSoundEffect(QCoreApplication::instance());
        m_effect->setSource(QUrl::fromLocalFile(path));
        m_effect->play();
    }

    bool busy() const override {
        return m_effect && (m_effect->isPlaying() || m_effect->status() == QSoundEffect::Loading);
    }

private:
    QPointer<QSoundEffect> m_effect;
};

SoundService* g_service = nullptr;

EffectSoundService& realService() {
    static EffectSoundService service;
    return service;
}

} // namespace

SoundService& sounds() {
    return g_service ? *g_service : realService();
}

void setSoundService(SoundService* service) {
    g_service = service;
}

} // namespace vq
