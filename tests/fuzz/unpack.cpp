// Listing-archive unpacking. Input: the bytes of a zip archive as the server holds it.
//
// Properties: nothing is written outside the target folder, not even through links that lie
// in it already ("link" to the folder beside it, "dangling" to a file not there yet), and the
// archive puts no link of its own there.
#include "remote/listingarchive.h"
#include "sandbox.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

using namespace quorbin;
using quorbin::fuzz::sandboxPath;
using quorbin::fuzz::violated;

namespace {

// Everything of the sandbox but the target: the drives, the data and temporary directories.
QMap<QString, QByteArray> outsideOf(const QString& targetName)
{
    auto entries = fuzz::snapshot(fuzz::sandboxRoot());
    entries.removeIf([&](const auto& entry) { return entry.key().startsWith(targetName + u'/'); });
    return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString area = sandboxPath("d/Listen");
    const QString target = area + "/Ziel";
    fuzz::clearDirectory(area);
    fuzz::writeBytes(area + "/Aktdir.zip", QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    fuzz::writeBytes(area + "/daneben.txt", "neben dem Ziel\r\n");
    QDir().mkpath(area + "/daneben");
    QDir().mkpath(target);
    QFile::link(area + "/daneben", target + "/link");
    QFile::link(area + "/neu.txt", target + "/dangling");
    const auto insideBefore = fuzz::snapshot(target);
    const auto outsideBefore = outsideOf(QStringLiteral("d/Listen/Ziel"));

    UnpackArchive(QStringLiteral("D:\\Listen\\Aktdir.zip"), QStringLiteral("D:\\Listen\\Ziel"));

    const auto outsideAfter = outsideOf(QStringLiteral("d/Listen/Ziel"));
    const auto inside = fuzz::snapshot(target);
    if (outsideAfter != outsideBefore)
        violated("nothing is written outside the target", outsideAfter.keys().join(u"\n"));
    for (auto it = inside.cbegin(); it != inside.cend(); ++it)
        if (it.value().startsWith("<link>") && insideBefore.value(it.key()) != it.value())
            violated("the archive puts no link in the target", it.key());
    return 0;
}
