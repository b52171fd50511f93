#include "platform/linux/FfmpegAudioFileEncoder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// 2.5 s of a 440 Hz tone at 16 kHz, as little-endian 16-bit samples.
QByteArray tone()
{
    QByteArray pcm(40000 * 2, Qt::Uninitialized);
    for (int i = 0; i < 40000; ++i) {
        const auto sample = qint16(8000 * std::sin(i * 2 * 3.14159265 * 440 / 16000));
        std::memcpy(pcm.data() + 2 * i, &sample, 2);
    }
    return pcm;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(FfmpegAudioFileEncoderTest, FileIsTheSameHoweverTheAudioArrives)
{
    QTemporaryDir dir;
    FfmpegAudioFileEncoder encoder;
    const QByteArray pcm = tone();

    const QString whole = dir.filePath(u"whole.m4a"_s);
    const auto once = encoder.openAac(whole);
    ASSERT_FALSE(once->append(pcm));
    ASSERT_FALSE(once->finish());

    // Pieces as the capture delivers them: short, long, across the encoder's frames.
    const QString pieces = dir.filePath(u"pieces.m4a"_s);
    const auto piecewise = encoder.openAac(pieces);
    qsizetype at = 0;
    for (const qsizetype size : {2, 2730, 4096, 2048, 1366, 30000}) {
        ASSERT_FALSE(piecewise->append(QByteArrayView(pcm).sliced(at, size)));
        at += size;
    }
    ASSERT_FALSE(piecewise->append(QByteArrayView(pcm).sliced(at)));
    ASSERT_FALSE(piecewise->finish());

    const QByteArray expected = readAll(whole);
    EXPECT_EQ(expected.sliced(4, 8), "ftypM4A ");
    EXPECT_TRUE(expected.contains("moov")) << "the container was not finalised";
    EXPECT_EQ(readAll(pieces), expected);
}

TEST(FfmpegAudioFileEncoderTest, AFileThatCannotBeBegunReportsItOnEveryCall)
{
    FfmpegAudioFileEncoder encoder;
    const auto writer = encoder.openAac(u"/nonexistent-directory/take.m4a"_s);
    const auto appended = writer->append(QByteArray(4000, '\0'));
    ASSERT_TRUE(appended);
    EXPECT_EQ(appended->domain, u"FFmpeg"_s);
    EXPECT_TRUE(appended->description.startsWith(u"open: "_s))
        << appended->description.toStdString();
    const auto finished = writer->finish();
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->description, appended->description);
}
