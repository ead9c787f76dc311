#include "platform/audiodecoder.h"

#include <QIODevice>
#include <QtEndian>

#ifndef Q_OS_WIN
#include "platform/latelibrary.h"

#include <QLibrary>
#endif

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

namespace vq {
namespace {

// Every function used here, with the library that holds it: one table, filled either from the
// libraries loaded late (Linux) or from the ones linked in (Windows).
enum Library { Util, Codec, Format, Resample, LibraryCount };

#define VQ_AV_FUNCTIONS(X)                                                                         \
    X(Util, av_log_set_level)                                                                      \
    X(Util, av_malloc)                                                                             \
    X(Util, av_freep)                                                                              \
    X(Util, av_strerror)                                                                           \
    X(Util, av_frame_alloc)                                                                        \
    X(Util, av_frame_free)                                                                         \
    X(Util, av_channel_layout_default)                                                             \
    X(Util, av_channel_layout_uninit)                                                              \
    X(Codec, avcodec_alloc_context3)                                                               \
    X(Codec, avcodec_free_context)                                                                 \
    X(Codec, avcodec_parameters_to_context)                                                        \
    X(Codec, avcodec_open2)                                                                        \
    X(Codec, avcodec_send_packet)                                                                  \
    X(Codec, avcodec_receive_frame)                                                                \
    X(Codec, av_packet_alloc)                                                                      \
    X(Codec, av_packet_free)                                                                       \
    X(Codec, av_packet_unref)                                                                      \
    X(Format, avformat_alloc_context)                                                              \
    X(Format, av_find_input_format)                                                                \
    X(Format, avformat_open_input)                                                                 \
    X(Format, avformat_find_stream_info)                                                           \
    X(Format, av_find_best_stream)                                                                 \
    X(Format, av_read_frame)                                                                       \
    X(Format, avformat_close_input)                                                                \
    X(Format, avio_alloc_context)                                                                  \
    X(Format, avio_context_free)                                                                   \
    X(Resample, swr_alloc_set_opts2)                                                               \
    X(Resample, swr_init)                                                                          \
    X(Resample, swr_convert)                                                                       \
    X(Resample, swr_get_out_samples)                                                               \
    X(Resample, swr_free)

struct Av {
#define VQ_AV_MEMBER(library, name) decltype(&::name) name = nullptr;
    VQ_AV_FUNCTIONS(VQ_AV_MEMBER)
#undef VQ_AV_MEMBER
};

const Av* load() {
    static Av av;
#ifdef Q_OS_WIN
#define VQ_AV_LINKED(library, name) av.name = &::name;
    VQ_AV_FUNCTIONS(VQ_AV_LINKED)
#undef VQ_AV_LINKED
#else
    // The versions whose headers this build was made with; another version's structures differ.
    // Kept loaded for the rest of the run (and never destroyed: a load started on a thread of its
    // own may still run as the program ends).
    static auto* const loaded = new std::array<QLibrary, LibraryCount>;
    std::array<QLibrary, LibraryCount>& libraries = *loaded;
    libraries[Util].setFileNameAndVersion(QStringLiteral("avutil"), LIBAVUTIL_VERSION_MAJOR);
    libraries[Codec].setFileNameAndVersion(QStringLiteral("avcodec"), LIBAVCODEC_VERSION_MAJOR);
    libraries[Format].setFileNameAndVersion(QStringLiteral("avformat"), LIBAVFORMAT_VERSION_MAJOR);
    libraries[Resample].setFileNameAndVersion(QStringLiteral("swresample"),
                                              LIBSWRESAMPLE_VERSION_MAJOR);
    for (QLibrary& library : libraries)
        if (!library.load())
            return nullptr;
    bool resolved = true;
#define VQ_AV_RESOLVE(library, name)                                                               \
    resolved = resolveInto(libraries[library], av.name, #name) && resolved;
    VQ_AV_FUNCTIONS(VQ_AV_RESOLVE)
#undef VQ_AV_RESOLVE
    if (!resolved)
        return nullptr;
#endif
    // The library's own messages about a damaged file would go to standard error.
    av.av_log_set_level(AV_LOG_QUIET);
    return &av;
}

enum class Loading { NotStarted, Started, Loaded, Missing };
std::atomic<Loading> loading{Loading::NotStarted};

const Av* library() {
    static const Av* const loaded = [] {
        const Av* av = load();
        loading = av ? Loading::Loaded : Loading::Missing;
        return av;
    }();
    return loaded;
}

QString errorText(const Av* av, int code) {
    std::array<char, AV_ERROR_MAX_STRING_SIZE> text{};
    av->av_strerror(code, text.data(), text.size());
    return QString::fromLocal8Bit(text.data());
}

// The library reads the file through these, so that any name the platform spells opens.
int readPacket(void* device, uint8_t* buffer, int size) {
    const qint64 n = static_cast<QIODevice*>(device)->read(reinterpret_cast<char*>(buffer), size);
    if (n < 0)
        return AVERROR(EIO);
    return n == 0 ? AVERROR_EOF : int(n);
}

int64_t seekTo(void* opaque, int64_t offset, int whence) {
    auto* device = static_cast<QIODevice*>(opaque);
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return device->size();
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += device->pos();
        break;
    case SEEK_END:
        offset += device->size();
        break;
    default:
        return AVERROR(EINVAL);
    }
    return device->seek(offset) ? offset : AVERROR(EIO);
}

// The library's reader for each kind of file.
const char* demuxerOf(SoundKind kind) {
    switch (kind) {
    case SoundKind::Wav:
        return "wav";
    case SoundKind::Ogg:
        return "ogg";
    case SoundKind::Flac:
        return "flac";
    case SoundKind::Mp3:
        return "mp3";
    case SoundKind::M4a:
        return "mov";
    case SoundKind::Other:
        break;
    }
    return nullptr;
}

constexpr int kReadBuffer = 64 * 1024;
// Packets in a row the decoder refuses before the rest of the file is taken for noise.
constexpr int kRefusedInARow = 256;

} // namespace

struct AudioDecoder::Streams {
    const Av* av = nullptr;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;
    int inputFormat = -1;
    int inputChannels = 0;
    int channels = 0;
    bool flushed = false; // the decoder was told the file has ended
    bool ended = false;   // and has given its last frame
    std::vector<qint16> pending;
    size_t taken = 0; // samples of `pending` already handed out

    ~Streams() {
        if (!av)
            return;
        av->swr_free(&resampler);
        av->av_frame_free(&frame);
        av->av_packet_free(&packet);
        av->avcodec_free_context(&codec);
        av->avformat_close_input(&format);
        if (io) {
            av->av_freep(&io->buffer);
            av->avio_context_free(&io);
        }
    }

    // The next decoded frame into `frame`; false at the end.
    bool nextFrame() {
        int refused = 0;
        while (!ended) {
            const int got = av->avcodec_receive_frame(codec, frame);
            if (got == 0) {
                if (frame->format == inputFormat && frame->ch_layout.nb_channels == inputChannels &&
                    frame->sample_rate == codec->sample_rate)
                    return true;
                // A stream that changes its form part-way ends there.
                ended = true;
                return false;
            }
            if (got != AVERROR(EAGAIN) || flushed) {
                ended = true;
                return false;
            }
            if (av->av_read_frame(format, packet) < 0) {
                av->avcodec_send_packet(codec, nullptr);
                flushed = true;
                continue;
            }
            if (packet->stream_index == stream) {
                const int sent = av->avcodec_send_packet(codec, packet);
                refused = sent < 0 && sent != AVERROR(EAGAIN) ? refused + 1 : 0;
            }
            av->av_packet_unref(packet);
            if (refused > kRefusedInARow)
                ended = true;
        }
        return false;
    }

    // The next block of converted samples into `pending`; false at the end.
    bool refill() {
        pending.clear();
        taken = 0;
        while (pending.empty()) {
            const bool more = nextFrame();
            const int inSamples = more ? frame->nb_samples : 0;
            const int room = av->swr_get_out_samples(resampler, inSamples);
            if (room <= 0) {
                if (!more)
                    return false;
                continue;
            }
            pending.resize(size_t(room) * size_t(channels));
            auto* out = reinterpret_cast<uint8_t*>(pending.data());
            // With no frame left, what the resampler still holds comes out.
            const int n = av->swr_convert(
                resampler, &out, room,
                more ? const_cast<const uint8_t**>(frame->extended_data) : nullptr, inSamples);
            pending.resize(n > 0 ? size_t(n) * size_t(channels) : 0);
            if (!more)
                return !pending.empty();
        }
        return true;
    }
};

AudioDecoder::AudioDecoder(std::unique_ptr<Streams> streams) : m_streams(std::move(streams)) {}

AudioDecoder::~AudioDecoder() = default;

bool AudioDecoder::available() {
    return library() != nullptr;
}

std::optional<bool> AudioDecoder::availableWithoutWaiting() {
    Loading expected = Loading::NotStarted;
    if (loading.compare_exchange_strong(expected, Loading::Started)) {
        std::thread([] { library(); }).detach();
        return std::nullopt;
    }
    if (expected == Loading::Started)
        return std::nullopt;
    return expected == Loading::Loaded;
}

std::unique_ptr<AudioDecoder> AudioDecoder::open(QIODevice& file, SoundKind kind, QString* error) {
    const auto failed = [&](const QString& why) {
        if (error)
            *error = why;
        return nullptr;
    };
    const char* demuxer = demuxerOf(kind);
    if (!demuxer)
        return failed(QStringLiteral("不是 WAV、MP3、OGG、FLAC 或 M4A 声音"));
    const Av* av = library();
    if (!av)
        return failed(QStringLiteral("没有解码库（FFmpeg）"));
    const AVInputFormat* input = av->av_find_input_format(demuxer);
    if (!input)
        return failed(errorText(av, AVERROR_DEMUXER_NOT_FOUND));
    auto s = std::make_unique<Streams>();
    s->av = av;
    auto* buffer = static_cast<unsigned char*>(av->av_malloc(kReadBuffer));
    if (!buffer)
        return failed(errorText(av, AVERROR(ENOMEM)));
    s->io = av->avio_alloc_context(buffer, kReadBuffer, 0, &file, readPacket, nullptr, seekTo);
    s->format = av->avformat_alloc_context();
    if (!s->io || !s->format) {
        if (!s->io)
            av->av_freep(&buffer);
        return failed(errorText(av, AVERROR(ENOMEM)));
    }
    s->format->pb = s->io;
    s->format->flags |= AVFMT_FLAG_CUSTOM_IO;
    // On failure the library frees the context itself.
    if (const int opened = av->avformat_open_input(&s->format, nullptr, input, nullptr); opened < 0)
        return failed(errorText(av, opened));
    if (const int found = av->avformat_find_stream_info(s->format, nullptr); found < 0)
        return failed(errorText(av, found));
    const AVCodec* decoder = nullptr;
    s->stream = av->av_find_best_stream(s->format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (s->stream < 0 || !decoder)
        return failed(errorText(av, s->stream < 0 ? s->stream : AVERROR_DECODER_NOT_FOUND));
    const AVStream* stream = s->format->streams[s->stream];
    s->codec = av->avcodec_alloc_context3(decoder);
    if (!s->codec)
        return failed(errorText(av, AVERROR(ENOMEM)));
    if (const int copied = av->avcodec_parameters_to_context(s->codec, stream->codecpar);
        copied < 0)
        return failed(errorText(av, copied));
    s->codec->thread_count = 1;
    if (const int opened = av->avcodec_open2(s->codec, decoder, nullptr); opened < 0)
        return failed(errorText(av, opened));
    const int rate = s->codec->sample_rate;
    s->inputChannels = s->codec->ch_layout.nb_channels;
    s->inputFormat = s->codec->sample_fmt;
    if (rate <= 0 || rate > 384000 || s->inputChannels <= 0 || s->inputChannels > 64)
        return failed(errorText(av, AVERROR_INVALIDDATA));
    s->channels = std::min(s->inputChannels, 2);

    AVChannelLayout in{};
    AVChannelLayout out{};
    // A stream that names only its number of channels gets the usual layout for that number.
    if (s->codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av->av_channel_layout_default(&in, s->inputChannels);
    av->av_channel_layout_default(&out, s->channels);
    const int made = av->swr_alloc_set_opts2(
        &s->resampler, &out, AV_SAMPLE_FMT_S16, rate,
        s->codec->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ? &in : &s->codec->ch_layout,
        s->codec->sample_fmt, rate, 0, nullptr);
    av->av_channel_layout_uninit(&in);
    av->av_channel_layout_uninit(&out);
    if (made < 0)
        return failed(errorText(av, made));
    if (const int ready = av->swr_init(s->resampler); ready < 0)
        return failed(errorText(av, ready));
    s->packet = av->av_packet_alloc();
    s->frame = av->av_frame_alloc();
    if (!s->packet || !s->frame)
        return failed(errorText(av, AVERROR(ENOMEM)));

    std::optional<double> stated;
    if (s->format->duration != AV_NOPTS_VALUE && s->format->duration > 0)
        stated = double(s->format->duration) / AV_TIME_BASE;
    else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        stated = double(stream->duration) * av_q2d(stream->time_base);

    std::unique_ptr<AudioDecoder> result(new AudioDecoder(std::move(s)));
    result->m_rate = rate;
    result->m_channels = result->m_streams->channels;
    result->m_stated = stated;
    return result;
}

qint64 AudioDecoder::read(qint16* out, qint64 frames) {
    Streams& s = *m_streams;
    qint64 done = 0;
    while (done < frames) {
        if (s.taken == s.pending.size() && !s.refill())
            break;
        const qint64 available = qint64(s.pending.size() - s.taken) / s.channels;
        const qint64 n = std::min(available, frames - done);
        std::memcpy(out + done * s.channels, s.pending.data() + s.taken,
                    size_t(n * s.channels) * sizeof(qint16));
        s.taken += size_t(n * s.channels);
        done += n;
    }
    return done;
}

// The samples are written in the machine's own order, which a WAV file's is.
static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);

std::optional<QByteArray> decodedWave(QIODevice& file, SoundKind kind, qint64 largestBytes) {
    const std::unique_ptr<AudioDecoder> decoder = AudioDecoder::open(file, kind);
    if (!decoder)
        return std::nullopt;
    const int channels = decoder->channels();
    const int rate = decoder->sampleRate();
    const qint64 longest = largestBytes / (channels * qint64(sizeof(qint16)));
    constexpr qsizetype kHeader = 44;
    QByteArray wave(kHeader, '\0');
    // Room for the stated length at once, within the longest kept, so that a long clip is not
    // copied over and over as it grows.
    if (const std::optional<double> stated = decoder->statedSeconds())
        wave.reserve(kHeader + qsizetype(std::min<double>(*stated * rate, double(longest)) *
                                         channels * sizeof(qint16)));
    const qint64 block = std::max(1, rate / 10);
    qint64 frames = 0;
    while (frames < longest) {
        const qsizetype at = wave.size();
        const qint64 wanted = std::min(block, longest - frames);
        wave.resize(at + qsizetype(wanted * channels) * qsizetype(sizeof(qint16)));
        const qint64 n = decoder->read(reinterpret_cast<qint16*>(wave.data() + at), wanted);
        wave.resize(at + qsizetype(n * channels) * qsizetype(sizeof(qint16)));
        frames += n;
        if (n < wanted)
            break;
    }
    if (frames == 0)
        return std::nullopt;
    const auto put32 = [&](qsizetype at, quint32 v) { qToLittleEndian(v, wave.data() + at); };
    const auto put16 = [&](qsizetype at, quint16 v) { qToLittleEndian(v, wave.data() + at); };
    const quint32 data = quint32(wave.size() - kHeader);
    std::memcpy(wave.data(), "RIFF", 4);
    put32(4, 36 + data);
    std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1); // PCM
    put16(22, quint16(channels));
    put32(24, quint32(rate));
    put32(28, quint32(rate * channels * 2));
    put16(32, quint16(channels * 2));
    put16(34, 16);
    std::memcpy(wave.data() + 36, "data", 4);
    put32(40, data);
    return wave;
}

} // namespace vq
