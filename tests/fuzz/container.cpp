// Container expansion with and without a key. Input: one byte of flags (bit 0: the target
// exists already; bits 1-7: where the push decoder's input is split), one byte of key length
// (mod 17), the key's bytes (Latin-1), then the container as stored.
//
// Properties: a failed restore leaves an existing target unchanged and nothing else in its
// folder (no fresh or scratch file), and writes nothing to the temporary directory; a
// successful one leaves exactly the target, as long as the check says the stream is; the
// check, the restore and the push decoder fed in two pieces fail alike. The key cipher
// deciphers what it enciphered, from any position.
#include "engine/containerdecoder.h"
#include "engine/keycipher.h"
#include "engine/restore.h"
#include "engine/tzip.h"
#include "sandbox.h"

#include <QDateTime>

#include <cstddef>
#include <cstdint>

using namespace quorbin;
using quorbin::fuzz::sandboxPath;
using quorbin::fuzz::violated;

namespace {

const QString kSource = QStringLiteral("D:\\Store\\Set1\\C$\\Docs\\brief.txt.00001.nxz");
const QString kTarget = QStringLiteral("C:\\Ziel\\brief.txt");
const QByteArray kOldContent = "der alte Inhalt, der bleiben muss\r\n";

QString describeKinds(const JobResult& a, const JobResult& b)
{
    return QStringLiteral("%1 (%2) against %3 (%4)").arg(int(a.kind)).arg(a.message).arg(int(b.kind)).arg(b.message);
}

JobResult decodeInTwoPieces(QByteArray container, const QString& key, qsizetype split)
{
    ContainerDecoder decoder(key, nullptr, kSource, QString());
    auto* bytes = reinterpret_cast<unsigned char*>(container.data());
    split = std::min(split, container.size());
    if (JobResult first = decoder.feed(bytes, split, quietContext()); !first.ok())
        return first;
    if (JobResult second = decoder.feed(bytes + split, container.size() - split, quietContext()); !second.ok())
        return second;
    return decoder.finish();
}

void checkCipher(const QByteArray& sample, const QString& key, qint64 position)
{
    if (key.isEmpty())
        return;
    const QByteArray keyBytes = KeyBytes(key);
    QByteArray buffer = sample;
    CipherBuffer(true, buffer.data(), buffer.size(), keyBytes, position);
    QByteArray streamed = sample;
    KeyStream(key).encipher(reinterpret_cast<unsigned char*>(streamed.data()), streamed.size(), position);
    if (streamed != buffer)
        violated("the key stream enciphers as the buffer cipher", key);
    CipherBuffer(false, buffer.data(), buffer.size(), keyBytes, position);
    if (buffer != sample)
        violated("deciphering undoes enciphering", key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const bool targetExists = data[0] & 1;
    const qsizetype split = data[0] >> 1;
    const qsizetype keyLength = std::min<qsizetype>(data[1] % 17, qsizetype(size) - 2);
    const QString key = QString::fromLatin1(reinterpret_cast<const char*>(data + 2), keyLength);
    const QByteArray container(reinterpret_cast<const char*>(data + 2 + keyLength), qsizetype(size) - 2 - keyLength);

    const QString targetFolder = sandboxPath("c/Ziel");
    const QString tempFolder = sandboxPath("tmp");
    fuzz::clearDirectory(targetFolder);
    fuzz::writeBytes(sandboxPath("d/Store/Set1/C$/Docs/brief.txt.00001.nxz"), container);
    if (targetExists)
        fuzz::writeBytes(targetFolder + "/brief.txt", kOldContent);
    const auto before = fuzz::snapshot(targetFolder);
    const auto tempBefore = fuzz::snapshot(tempFolder);

    qint64 expanded = -1;
    const JobResult checked = VerifyContainer(kSource, key, quietContext(), &expanded);
    const JobResult restored = RestoreStoredTo(kSource, kTarget, key, QDateTime(), quietContext());
    const auto after = fuzz::snapshot(targetFolder);

    if (restored.kind != checked.kind)
        violated("the check fails as the restore does", describeKinds(checked, restored));
    if (!restored.ok() && after != before)
        violated("a failed restore changes nothing in the target's folder",
                 QString::number(int(restored.kind)) + ": " + restored.message + "\nleft: " + after.keys().join(u", "));
    if (restored.ok() && (after.keys() != QStringList{"brief.txt"} || after.first().size() != expanded))
        violated("a restore leaves the target alone, as long as the stream",
                 after.keys().join(u", ") + " expanded " + QString::number(expanded));
    if (fuzz::snapshot(tempFolder) != tempBefore)
        violated("a restore writes nothing to the temporary directory", fuzz::snapshot(tempFolder).keys().join(u", "));

    const JobResult pushed = decodeInTwoPieces(container, key, split);
    if (pushed.ok() != checked.ok())
        violated("the push decoder fails as the check does", describeKinds(checked, pushed));

    checkCipher(container.left(257), key, qint64(split) * 977);
    return 0;
}
