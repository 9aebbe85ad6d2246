// Listing-archive unpacking. Input: the bytes of a zip archive as the server holds it.
//
// Properties: nothing is written outside the target folder, and nothing inside it is a link.
#include "remote/listingarchive.h"
#include "sandbox.h"

#include <QDir>

#include <cstddef>
#include <cstdint>

using namespace quorbin;
using quorbin::fuzz::sandboxPath;
using quorbin::fuzz::violated;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString area = sandboxPath("d/Listen");
    const QString target = area + "/Ziel";
    fuzz::clearDirectory(area);
    fuzz::writeBytes(area + "/Aktdir.zip", QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    fuzz::writeBytes(area + "/daneben.txt", "neben dem Ziel\r\n");
    QDir().mkpath(target);
    // Everything of the sandbox but the target: the drives, the data and temporary directories.
    const auto outsideBefore = fuzz::snapshot(fuzz::sandboxRoot());

    UnpackArchive(QStringLiteral("D:\\Listen\\Aktdir.zip"), QStringLiteral("D:\\Listen\\Ziel"));

    auto outsideAfter = fuzz::snapshot(fuzz::sandboxRoot());
    const auto inside = fuzz::snapshot(target);
    for (auto it = outsideAfter.begin(); it != outsideAfter.end();)
        it = it.key().startsWith(u"d/Listen/Ziel/") ? outsideAfter.erase(it) : std::next(it);
    if (outsideAfter != outsideBefore)
        violated("nothing is written outside the target", outsideAfter.keys().join(u"\n"));
    for (auto it = inside.cbegin(); it != inside.cend(); ++it)
        if (it.value().startsWith("<link>"))
            violated("nothing in the target is a link", it.key());
    return 0;
}
