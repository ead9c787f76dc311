#include "platform/sound.h"
#include "platform/sound_testing.h"

#include "platform/files.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <mmsystem.h>
#else
#include <QCoreApplication>
#include <QFile>

#include <canberra.h>

#include <future>
#endif

#include <cstdint>

namespace vq {
namespace {

#ifdef Q_OS_WIN

// The multimedia library's own asynchronous player: a new sound replaces the playing one, and
// a file it cannot play gives silence rather than the default system sound.
class SystemSoundService final : public SoundService {
public:
    void play(const QString& path) override {
        // Only a regular file plays: a FIFO or a device would be read without end. Asked to
        // play nothing, the player still ends the sound that is playing.
        if (!isRegularFile(path)) {
            PlaySoundW(nullptr, nullptr, 0);
            return;
        }
        PlaySoundW(reinterpret_cast<LPCWSTR>(path.utf16()), nullptr,
                   SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    }
};

#else

// The desktop's event-sound service (libcanberra, on the sound server when one runs): it
// streams the whole file and lets the server drain it before the stream goes, so the last
// milliseconds of a short tick are heard too. Playback runs on the library's own thread; the
// call returns once the stream is set up.
class SystemSoundService final : public SoundService {
public:
    ~SystemSoundService() override {
        if (ca_context* c = context())
            ca_context_destroy(c);
    }

    void prepare() override {
        if (m_context || m_opening.valid())
            return;
        m_opening = std::async(std::launch::async, open, applicationName());
    }

    void play(const QString& path) override {
        // The previous sound ends at once, whether or not the new one can play.
        if (m_context && m_id != 0)
            ca_context_cancel(m_context, m_id);
        m_id = 0;
        // Only a regular file plays: a FIFO or a device would be read without end.
        if (!isRegularFile(path))
            return;
        ca_context* c = context();
        if (!c)
            c = m_context = open(applicationName());
        if (!c)
            return;
        const uint32_t id = ++m_nextId == 0 ? ++m_nextId : m_nextId;
        const QByteArray file = QFile::encodeName(path);
        // Never kept in the server's sample cache: the file may change between two plays.
        if (ca_context_play(c, id, CA_PROP_MEDIA_FILENAME, file.constData(), CA_PROP_MEDIA_ROLE,
                            "event", CA_PROP_CANBERRA_CACHE_CONTROL, "never",
                            nullptr) == CA_SUCCESS)
            m_id = id;
    }

    bool busy() const override {
        int playing = 0;
        return m_context && m_id != 0 &&
               ca_context_playing(m_context, m_id, &playing) == CA_SUCCESS && playing;
    }

private:
    static QByteArray applicationName() {
        return QCoreApplication::instance() ? QCoreApplication::applicationName().toUtf8()
                                            : QByteArray();
    }

    // A context connected to the sound output, or nullptr where none can be reached (tried
    // again at the next sound, so a sound server started later is still found).
    static ca_context* open(const QByteArray& name) {
        ca_context* c = nullptr;
        if (ca_context_create(&c) != CA_SUCCESS)
            return nullptr;
        if (!name.isEmpty())
            ca_context_change_props(c, CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
        if (ca_context_open(c) != CA_SUCCESS) {
            ca_context_destroy(c);
            return nullptr;
        }
        return c;
    }

    // The context, once the background connection (if one was started) has finished.
    ca_context* context() {
        if (m_opening.valid())
            m_context = m_opening.get();
        return m_context;
    }

    std::future<ca_context*> m_opening;
    ca_context* m_context = nullptr;
    uint32_t m_nextId = 0;
    uint32_t m_id = 0;
};

#endif

SystemSoundService& realService() {
    static SystemSoundService service;
    return service;
}

} // namespace

SoundService* detail::installedSoundService = nullptr;

SoundService& sounds() {
    return detail::installedSoundService ? *detail::installedSoundService : realService();
}

} // namespace vq
