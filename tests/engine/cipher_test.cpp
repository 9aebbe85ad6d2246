#include "engine/keycipher.h"

#include "fixtures/recordingsinks.h"
#include "fixtures/sandbox.h"
#include "fixtures/scripteduser.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

namespace quorbin {
namespace {

using test::RecordingStatus;

class CipherTest : public test::SandboxTest {};

TEST(CipherBufferTest, AnEmptyKeyLeavesTheBytesAsTheyAre)
{
    QByteArray data("unchanged");
    CipherBuffer(false, data.data(), data.size(), QByteArray(), 5);
    EXPECT_EQ(data, QByteArray("unchanged"));
}

TEST_F(CipherTest, CombinesBytePWithKeyBytePModL)
{
    const QString path = "C:\\c.bin";
    writeFile(path, QByteArray("\x00\x00\x00\x00\x00\x00\x00", 7));
    RecordingStatus status;
    EncipherFile(path, "abc", status, nullptr);
    EXPECT_EQ(readFile(path), QByteArray("abcabca"));
    EXPECT_EQ(status.texts, QStringList{"verschlüsseln: C:\\c.bin"});

    DecipherFile(path, "abc", status, nullptr);
    EXPECT_EQ(readFile(path), QByteArray(7, '\0'));
    EXPECT_EQ(status.texts.last(), "entschlüsseln: C:\\c.bin");
}

TEST_F(CipherTest, UsesOnlyTheLowEightBitsOfEachKeyCharacter)
{
    writeFile("C:\\a", QByteArray(4, '\x10'));
    writeFile("C:\\b", QByteArray(4, '\x10'));
    EncipherFile("C:\\a", QString::fromUtf16(u"\u0141\u20AC"), noStatus(), nullptr);  // low bytes 41, AC
    EncipherFile("C:\\b", QString::fromUtf16(u"A\u00AC"), noStatus(), nullptr);
    EXPECT_EQ(readFile("C:\\a"), readFile("C:\\b"));
    EXPECT_EQ(readFile("C:\\a"), QByteArray("\x51\xBC\x51\xBC", 4));
}

TEST_F(CipherTest, RoundTripsEveryLengthAroundTheKeyLength)
{
    const QString key = QString::fromUtf16(u"Kß\u0416y");  // four units, one above U+00FF
    for (int length = 0; length <= 4 * key.size() + 1; ++length) {
        QByteArray bytes;
        for (int i = 0; i < length; ++i)
            bytes.append(char(i * 37 + 11));
        writeFile("C:\\r.bin", bytes);
        EncipherFile("C:\\r.bin", key, noStatus(), nullptr);
        if (length > 0) {
            EXPECT_NE(readFile("C:\\r.bin"), bytes) << length;
        }
        DecipherFile("C:\\r.bin", key, noStatus(), nullptr);
        EXPECT_EQ(readFile("C:\\r.bin"), bytes) << length;
    }
}

TEST_F(CipherTest, AgreesAcrossBufferBoundariesWithTheBlockwiseRule)
{
    // 2.5 MiB with a key of 7: buffers never line up with key blocks.
    QByteArray bytes(5 << 19, '\0');
    writeFile("C:\\big.bin", bytes);
    const QString key = "1234567";
    EncipherFile("C:\\big.bin", key, noStatus(), nullptr);
    const QByteArray enciphered = readFile("C:\\big.bin");
    ASSERT_EQ(enciphered.size(), bytes.size());
    for (qsizetype p : {qsizetype(0), qsizetype(1 << 20) - 1, qsizetype(1 << 20), qsizetype(1 << 20) + 1,
                        bytes.size() - 1})
        EXPECT_EQ(enciphered.at(p), key.at(p % 7).toLatin1()) << p;
}

TEST_F(CipherTest, EmptyKeyTouchesNeitherFileNorStatus)
{
    writeFile("C:\\e.bin", "unchanged");
    RecordingStatus status;
    DecipherFile("C:\\e.bin", QString(), status, nullptr);
    EXPECT_EQ(readFile("C:\\e.bin"), QByteArray("unchanged"));
    EXPECT_TRUE(status.texts.isEmpty());
}

TEST_F(CipherTest, ShowsBusyProgress)
{
    class Progress : public ProgressSink {
    public:
        QList<int> positions;
        QList<bool> marquee;
        void setPosition(int p) override { positions << p; }
        void setMarquee(bool on) override { marquee << on; }
    } progress;
    writeFile("C:\\p.bin", QByteArray(3 << 20, 'x'));
    DecipherFile("C:\\p.bin", "k", noStatus(), &progress);
    EXPECT_EQ(progress.positions, (QList<int>{50, 0}));
    EXPECT_EQ(progress.marquee, (QList<bool>{true, false}));
}

TEST_F(CipherTest, FileThatCannotBeOpenedRaisesAnError)
{
    EXPECT_THROW(DecipherFile("C:\\missing.bin", "k", noStatus(), nullptr), IoError);
}

TEST(KeyStreamTest, AgreesWithByteByByteAcrossVectorAndSpanBoundaries)
{
    const QByteArray key = KeyBytes(QString::fromUtf16(u"Zw\u00F6lf-Zeiche7"));  // 13: no power of two
    const auto reference = [&](QByteArray data, qint64 position) {
        for (qsizetype i = 0; i < data.size(); ++i)
            data[i] = char(uchar(data[i]) - uchar(key[(position + i) % key.size()]));
        return data;
    };
    const struct {
        qsizetype size;
        qint64 position;
    } cases[] = {{1, 0}, {15, 3}, {16, 12}, {17, 5}, {64 * 1024 + 7, 11}, {200 * 1024 + 3, 1000003}, {1 << 20, 9}};
    for (const auto& c : cases) {
        QByteArray data(c.size, '\0');
        for (qsizetype i = 0; i < c.size; ++i)
            data[i] = char(i * 131 + 7);
        QByteArray mine = data;
        KeyStream(key).decipher(reinterpret_cast<unsigned char*>(mine.data()), mine.size(), c.position);
        EXPECT_EQ(mine, reference(data, c.position)) << c.size << " at " << c.position;
        KeyStream(key).encipher(reinterpret_cast<unsigned char*>(mine.data()), mine.size(), c.position);
        EXPECT_EQ(mine, data) << "back again";
    }
}

}  // namespace
}  // namespace quorbin
