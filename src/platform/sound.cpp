#include "platform/sound.h"
#include "platform/latelibrary.h"
#include "platform/sound_testing.h"

#include "platform/files.h"

#ifdef Q_OS_WIN
#include "platform/audiodecoder.h"
#include "platform/mp3wave.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <qt_windows.h>

#include <mmsystem.h>

#include <optional>
#else
#include "platform/audiodecoder.h"
#include "platform/soundcopies.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <canberra.h>

#include <future>
#include <optional>
#endif

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

namespace vq {
namespace {

// Decodes beside the caller: `work` runs on a thread of its own, its result goes to `done` on the
// program's thread once it is there, and `inFlight` counts the decodings not yet done (both
// players say they are busy meanwhile).
template <typename Work, typename Done> void decodeBeside(int& inFlight, Work work, Done done) {
    using Result = std::invoke_result_t<Work&>;
    auto result = std::make_shared<Result>();
    QThread* thread =
        QThread::create([work = std::move(work), result]() mutable { *result = work(); });
    thread->setObjectName(QStringLiteral("vq::SoundDecoding"));
    ++inFlight;
    QObject::connect(thread, &QThread::finished, QCoreApplication::instance(),
                     [thread, result, done = std::move(done), &inFlight]() mutable {
                         thread->deleteLater();
                         --inFlight;
                         done(std::move(*result));
                     });
    thread->start();
}

#ifdef Q_OS_WIN

// The multimedia library's own asynchronous player: a new sound replaces the playing one, and
// a file it cannot play gives silence rather than the default system sound. It reads WAV files,
// compressed ones through the system's codecs; an MP3 clip plays as the MPEG Layer-3 WAV its
// frames make, which the system's MP3 codec decodes, and an Ogg, FLAC or M4A clip as the 16-bit
// WAV the media library decodes it into, held in memory.
class SystemSoundService final : public SoundService {
public:
    void play(const QString& path) override {
        // The playing sound ends first, so that the bytes it plays from can go.
        stop();
        // Only a regular file plays: a FIFO or a device would be read without end.
        if (!isRegularFile(path))
            return;
        QFile file(path);
        if (!openRegularFile(file, nullptr))
            return;
        const SoundKind kind = soundKindOf(file.peek(12));
        if (kind == SoundKind::Wav || kind == SoundKind::Other) {
            file.close();
            PlaySoundW(reinterpret_cast<LPCWSTR>(path.utf16()), nullptr,
                       SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
            return;
        }
        const Kept state{path, file.size(), QFileInfo(file).lastModified(), {}};
        if (m_kept.sameFile(state)) {
            playKept();
            return;
        }
        if (kind == SoundKind::Mp3) {
            std::optional<QByteArray> wave = mp3AsWave(file.readAll());
            if (wave)
                keepAndPlay(state, std::move(*wave));
            return;
        }
        // A clip's decoding takes longer than a frame: it runs beside the caller, and the clip
        // starts when it is ready unless another sound or a stop came first.
        if (state.size > kDecodedAtOnce && QCoreApplication::instance()) {
            file.close();
            decodeThenPlay(state, kind);
            return;
        }
        if (std::optional<QByteArray> wave = decodedWave(file, kind, kLargestClipBytes))
            keepAndPlay(state, std::move(*wave));
    }
    void stop() override {
        PlaySoundW(nullptr, nullptr, 0);
        m_waiting = 0;
    }
    bool busy() const override { return m_decoding > 0; }
    bool plays(SoundKind kind) const override {
        return kind == SoundKind::Wav || kind == SoundKind::Mp3 ||
               (kind != SoundKind::Other && AudioDecoder::available());
    }

private:
    // The clip last played from memory, kept for the next play while its file stays as it is
    // (M plays a clip again at once).
    struct Kept {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        QByteArray wave;
        bool sameFile(const Kept& o) const {
            return !wave.isEmpty() && path == o.path && size == o.size && modified == o.modified;
        }
    };

    static constexpr qint64 kDecodedAtOnce = 512 * 1024;

    void keepAndPlay(Kept state, QByteArray wave) {
        // The playing sound ends before the bytes it may play from go.
        PlaySoundW(nullptr, nullptr, 0);
        m_kept = std::move(state);
        m_kept.wave = std::move(wave);
        playKept();
    }
    void playKept() {
        PlaySoundW(reinterpret_cast<LPCWSTR>(m_kept.wave.constData()), nullptr,
                   SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
    }

    void decodeThenPlay(const Kept& state, SoundKind kind) {
        const quint64 id = ++m_requests;
        m_waiting = id;
        decodeBeside(
            m_decoding,
            [path = state.path, kind]() -> std::optional<QByteArray> {
                QFile file(path);
                if (!openRegularFile(file, nullptr))
                    return std::nullopt;
                return decodedWave(file, kind, kLargestClipBytes);
            },
            [this, state, id](std::optional<QByteArray> wave) {
                if (!wave || id != m_waiting)
                    return;
                m_waiting = 0;
                keepAndPlay(state, std::move(*wave));
            });
    }

    Kept m_kept;
    quint64 m_requests = 0;
    quint64 m_waiting = 0; // the decoding whose clip plays when it is ready
    int m_decoding = 0;
};

#else

// libcanberra, loaded when the first sound is prepared or played rather than with the program:
// with its codecs and their libraries it would add about a millisecond to every start before
// main() runs, and to a start with the countdown sound off it brings nothing. Null where the
// library is not installed (no sound then, as without a sound server).
struct Canberra {
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_open) open = nullptr;
    decltype(&ca_context_play) play = nullptr;
    decltype(&ca_context_cancel) cancel = nullptr;
    decltype(&ca_context_playing) playing = nullptr;

    static const Canberra* get() {
        static const Canberra* const loaded = load();
        return loaded;
    }

private:
    static const Canberra* load() {
        // Kept loaded for the rest of the run: contexts and their threads live on.
        static QLibrary library(QStringLiteral("canberra"), 0);
        static Canberra functions;
        if (!library.load())
            return nullptr;
        const auto resolve = [](auto& function, const char* name) {
            return resolveInto(library, function, name);
        };
        if (!resolve(functions.create, "ca_context_create") ||
            !resolve(functions.destroy, "ca_context_destroy") ||
            !resolve(functions.changeProps, "ca_context_change_props") ||
            !resolve(functions.open, "ca_context_open") ||
            !resolve(functions.play, "ca_context_play") ||
            !resolve(functions.cancel, "ca_context_cancel") ||
            !resolve(functions.playing, "ca_context_playing"))
            return nullptr;
        return &functions;
    }
};

// The desktop's event-sound service (libcanberra, on the sound server when one runs): it
// streams the whole file and lets the server drain it before the stream goes, so the last
// milliseconds of a short tick are heard too. Playback runs on the library's own thread; the
// call returns once the stream is set up. The library reads only 8- and 16-bit PCM WAV files:
// any other sound plays from a 16-bit copy, made at its first call and used while the file stays
// as it is.
class SystemSoundService final : public SoundService {
public:
    ~SystemSoundService() override {
        if (ca_context* c = context())
            Canberra::get()->destroy(c);
    }

    void prepare() override {
        if (m_context || m_opening.valid())
            return;
        m_opening = std::async(std::launch::async, open, applicationName());
    }

    void play(const QString& path) override {
        // The previous sound ends at once, whether or not the new one can play, and so does
        // the wait for one still being decoded.
        if (m_context && m_id != 0)
            Canberra::get()->cancel(m_context, m_id);
        m_id = 0;
        m_waiting = 0;
        // Only a regular file plays: a FIFO or a device would be read without end.
        if (!isRegularFile(path))
            return;
        ca_context* c = context();
        if (!c)
            c = m_context = open(applicationName());
        if (!c)
            return;
        const uint32_t id = ++m_nextId == 0 ? ++m_nextId : m_nextId;
        const QString copy = m_copies.current(path);
        int result = playFile(c, id, copy.isEmpty() ? path : copy);
        // Told that it cannot read the file (or its copy, should that have gone), the library
        // gets a new copy, where the file is a sound at all. A tick's is made at once; a clip's
        // takes longer than a frame, so it is decoded beside the caller and starts when ready.
        if (unreadable(result)) {
            if ((QFileInfo(path).size() > kDecodedAtOnce || waitsForTheMediaLibrary(path)) &&
                QCoreApplication::instance()) {
                decodeThenPlay(path, id);
                return;
            }
            const QString made = m_copies.make(path);
            if (!made.isEmpty())
                result = playFile(c, id, made);
        }
        if (result == CA_SUCCESS)
            m_id = id;
    }

    void stop() override {
        if (m_context && m_id != 0)
            Canberra::get()->cancel(m_context, m_id);
        m_id = 0;
        m_waiting = 0;
    }

    // libcanberra reads WAV and Ogg Vorbis itself; FLAC and MP3 (and the WAV encodings it does
    // not read) go through a 16-bit copy decoded by libsndfile, M4A through one the media
    // library decodes, where it is installed. Until that library has been loaded (the first
    // M4A asked about starts its loading beside the caller), M4A is taken to play.
    bool plays(SoundKind kind) const override {
        if (kind == SoundKind::M4a)
            return AudioDecoder::availableWithoutWaiting().value_or(true);
        return kind != SoundKind::Other;
    }

    bool busy() const override {
        int playing = 0;
        return m_decoding > 0 ||
               (m_context && m_id != 0 &&
                Canberra::get()->playing(m_context, m_id, &playing) == CA_SUCCESS && playing);
    }

private:
    // Files up to this size (a tick, a short jingle) are decoded within a few milliseconds.
    static constexpr qint64 kDecodedAtOnce = 512 * 1024;

    // An M4A file while the media library is still to be loaded: its loading takes longer than
    // a frame, so it happens beside the caller too.
    static bool waitsForTheMediaLibrary(const QString& path) {
        QByteArray head;
        return readRegularFile(path, 12, &head) == ReadResult::Ok &&
               soundKindOf(head) == SoundKind::M4a && !AudioDecoder::availableWithoutWaiting();
    }

    // Decodes the file's copy on a thread of its own; the sound `id` plays from it once it is
    // there, unless another sound or a stop came first. The copy is kept for the next call
    // either way.
    void decodeThenPlay(const QString& path, uint32_t id) {
        const std::optional<SoundCopies::Job> job = m_copies.plan(path);
        if (!job)
            return;
        m_waiting = id;
        decodeBeside(
            m_decoding, [job = *job] { return SoundCopies::decode(job); },
            [this, job = *job, id](std::optional<SoundCopies::Stamp> decoded) {
                if (!decoded)
                    return;
                const QString made = m_copies.adopt(job, *decoded);
                if (id != m_waiting)
                    return;
                m_waiting = 0;
                ca_context* c = context();
                if (c && playFile(c, id, made) == CA_SUCCESS)
                    m_id = id;
            });
    }

    static QByteArray applicationName() {
        return QCoreApplication::instance() ? QCoreApplication::applicationName().toUtf8()
                                            : QByteArray();
    }

    static int playFile(ca_context* c, uint32_t id, const QString& path) {
        const QByteArray file = QFile::encodeName(path);
        // Never kept in the server's sample cache: the file may change between two plays.
        return Canberra::get()->play(c, id, CA_PROP_MEDIA_FILENAME, file.constData(),
                                     CA_PROP_MEDIA_ROLE, "event", CA_PROP_CANBERRA_CACHE_CONTROL,
                                     "never", nullptr);
    }

    // The library's answers about the file itself rather than the sound output: an encoding it
    // does not read, a header it does not take, a file that is gone (a copy removed under it).
    static bool unreadable(int result) {
        return result == CA_ERROR_NOTSUPPORTED || result == CA_ERROR_CORRUPT ||
               result == CA_ERROR_TOOBIG || result == CA_ERROR_NOTFOUND;
    }

    // A context connected to the sound output, or nullptr where none can be reached (tried
    // again at the next sound, so a sound server started later is still found).
    static ca_context* open(const QByteArray& name) {
        const Canberra* ca = Canberra::get();
        ca_context* c = nullptr;
        if (!ca || ca->create(&c) != CA_SUCCESS)
            return nullptr;
        if (!name.isEmpty())
            ca->changeProps(c, CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
        if (ca->open(c) != CA_SUCCESS) {
            ca->destroy(c);
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
    SoundCopies m_copies;
    uint32_t m_nextId = 0;
    uint32_t m_id = 0;
    uint32_t m_waiting = 0; // the sound that plays when its copy is decoded
    int m_decoding = 0;
};

#endif

SystemSoundService& realService() {
    static SystemSoundService service;
    return service;
}

} // namespace

SoundKind soundKindOf(const QByteArray& head) {
    if (head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE")
        return SoundKind::Wav;
    if (head.startsWith("OggS"))
        return SoundKind::Ogg;
    if (head.startsWith("fLaC"))
        return SoundKind::Flac;
    if (head.size() >= 8 && head.mid(4, 4) == "ftyp")
        return SoundKind::M4a;
    // An ID3 tag in front, or the sync bits of an MPEG audio layer 3 frame right away.
    if (head.startsWith("ID3") ||
        (head.size() >= 2 && quint8(head[0]) == 0xFF && (quint8(head[1]) & 0xE6) == 0xE2))
        return SoundKind::Mp3;
    return SoundKind::Other;
}

QString SoundService::playableKinds() const {
    QStringList names;
    for (const auto& [kind, name] :
         {std::pair{SoundKind::Wav, "WAV"}, std::pair{SoundKind::Ogg, "OGG"},
          std::pair{SoundKind::Flac, "FLAC"}, std::pair{SoundKind::Mp3, "MP3"},
          std::pair{SoundKind::M4a, "M4A"}})
        if (plays(kind))
            names << QLatin1String(name);
    return names.join(QStringLiteral("、"));
}

namespace {

// Hands every call to the desktop's player, which is made at the first of them.
class DesktopSounds final : public SoundService {
public:
    void play(const QString& path) override { realService().play(path); }
    void stop() override { realService().stop(); }
    void prepare() override { realService().prepare(); }
    bool busy() const override { return realService().busy(); }
    bool plays(SoundKind kind) const override { return realService().plays(kind); }
};
DesktopSounds desktopSounds;

} // namespace

// The service in use: the desktop's player unless a test put its own in.
SoundService* detail::installedSoundService = &desktopSounds;

SoundService& sounds() {
    return *detail::installedSoundService;
}

void setSoundService(SoundService* service) {
    detail::installedSoundService = service ? service : &desktopSounds;
}

} // namespace vq
