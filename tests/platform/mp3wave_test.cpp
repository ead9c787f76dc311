// MP3 clips as the Windows wave player takes them: the frames of an MP3 file in an MPEG
// Layer-3 WAV, its tags left out, its header as the system's codec needs it.
#include "platform/mp3wave.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// `count` frames of MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, joint stereo (417 bytes, 418 with
// the padding bit, which every third frame sets), their payload a counter.
QByteArray mpeg1Frames(int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const bool padded = i % 3 == 2;
        QByteArray frame(padded ? 418 : 417, char(i));
        frame[0] = char(0xFF);
        frame[1] = char(0xFB);
        frame[2] = char(0x90 | (padded ? 0x02 : 0));
        frame[3] = char(0x44);
        out += frame;
    }
    return out;
}

// An ID3v2 tag of `size` bytes after its header, holding what looks like a frame header.
QByteArray id3v2(int size) {
    QByteArray tag("ID3\x03\x00\x00", 6);
    tag += char((size >> 21) & 0x7F);
    tag += char((size >> 14) & 0x7F);
    tag += char((size >> 7) & 0x7F);
    tag += char(size & 0x7F);
    QByteArray body(size, 'x');
    body[10] = char(0xFF);
    body[11] = char(0xFB);
    body[12] = char(0x90);
    return tag + body;
}

std::uint32_t u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<std::uint32_t>(b.constData() + at);
}
std::uint16_t u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<std::uint16_t>(b.constData() + at);
}

} // namespace

TEST(Mp3AsWave, TheFramesGoIntoALayer3WaveWithoutTheTags) {
    const QByteArray frames = mpeg1Frames(6);
    const QByteArray id3v1 = "TAG" + QByteArray(125, 't');
    const std::optional<QByteArray> wave = vq::mp3AsWave(id3v2(300) + frames + id3v1);
    ASSERT_TRUE(wave);
    const QByteArray& w = *wave;
    ASSERT_EQ(w.left(4), "RIFF");
    EXPECT_EQ(u32(w, 4), std::uint32_t(w.size() - 8));
    ASSERT_EQ(w.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(w, 16), 30u);
    EXPECT_EQ(u16(w, 20), 0x0055) << "MPEG Layer-3";
    EXPECT_EQ(u16(w, 22), 2) << "channels";
    EXPECT_EQ(u32(w, 24), 44100u);
    // 16,000 bytes a second at 128 kbit/s, give or take the padding.
    EXPECT_NEAR(double(u32(w, 28)), 16000.0, 60.0);
    EXPECT_EQ(u16(w, 36), 12) << "the Layer-3 part";
    EXPECT_EQ(u16(w, 38), 1) << "MPEG";
    EXPECT_EQ(u16(w, 44), 417) << "the block size without padding";
    EXPECT_EQ(u16(w, 46), 1) << "frames per block";
    ASSERT_EQ(w.mid(50, 4), "fact");
    EXPECT_EQ(u32(w, 58), 6u * 1152u) << "samples";
    ASSERT_EQ(w.mid(62, 4), "data");
    EXPECT_EQ(u32(w, 66), std::uint32_t(frames.size()));
    EXPECT_EQ(w.mid(70, frames.size()), frames) << "the frames as they were, and nothing else";
}

TEST(Mp3AsWave, MonoMpeg2AndACutLastFrame) {
    // MPEG-2 Layer III, 64 kbit/s, 22.05 kHz, mono: 208 bytes a frame.
    QByteArray frames;
    for (int i = 0; i < 4; ++i) {
        QByteArray frame(208, '\0');
        frame[0] = char(0xFF);
        frame[1] = char(0xF3);
        frame[2] = char(0x80);
        frame[3] = char(0xC4);
        frames += frame;
    }
    const std::optional<QByteArray> wave = vq::mp3AsWave(frames.left(frames.size() - 100));
    ASSERT_TRUE(wave);
    EXPECT_EQ(u16(*wave, 22), 1) << "channels";
    EXPECT_EQ(u32(*wave, 24), 22050u);
    EXPECT_EQ(u32(*wave, 58), 3u * 576u) << "the cut frame is left out";
    EXPECT_EQ(u32(*wave, 66), 3u * 208u);
}

TEST(Mp3AsWave, WhatHoldsNoFramesIsNone) {
    EXPECT_FALSE(vq::mp3AsWave(QByteArray()));
    EXPECT_FALSE(vq::mp3AsWave(QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16)));
    EXPECT_FALSE(vq::mp3AsWave(id3v2(40))) << "a tag alone";
    // A header whose next frame is not there is no run of frames.
    QByteArray stray(2000, 'a');
    stray.replace(100, 4, QByteArray("\xFF\xFB\x90\x44", 4));
    EXPECT_FALSE(vq::mp3AsWave(stray));
    // Layer II frames are no MP3.
    QByteArray layer2 = mpeg1Frames(3);
    for (const qsizetype at : {0, 417, 834}) // where the three frames start
        layer2[at + 1] = char(0xFD);
    EXPECT_FALSE(vq::mp3AsWave(layer2));
}
