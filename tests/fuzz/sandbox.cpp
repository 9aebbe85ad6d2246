#include "sandbox.h"

#include "fixtures/sandboxenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace quorbin::fuzz {
namespace {

std::unique_ptr<QTemporaryDir> makeSandbox()
{
    auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/quorbin-fuzz-XXXXXX");
    if (!dir->isValid())
        violated("sandbox", "no temporary directory");
    test::pointEnvironmentInto(dir->path());
    return dir;
}

}  // namespace

const QString& sandboxRoot()
{
    static const std::unique_ptr<QTemporaryDir> dir = makeSandbox();
    static const QString root = dir->path();
    return root;
}

QString sandboxPath(const QString& relative) { return sandboxRoot() + u'/' + relative; }

void writeBytes(const QString& hostPath, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(hostPath).path());
    QFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        violated("sandbox", "cannot write: " + hostPath);
}

QByteArray readBytes(const QString& hostPath)
{
    QFile file(hostPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QMap<QString, QByteArray> snapshot(const QString& hostDirectory)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(hostDirectory, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(hostDirectory);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString name = base.relativeFilePath(info.filePath());
        if (info.isSymLink())
            entries[name] = "<link> " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            entries[name] = "<dir>";
        else
            entries[name] = readBytes(info.filePath());
    }
    return entries;
}

void clearDirectory(const QString& hostDirectory)
{
    QDir dir(hostDirectory);
    dir.removeRecursively();
    QDir().mkpath(hostDirectory);
}

void violated(const char* property, const QString& detail)
{
    std::fprintf(stderr, "\n== property broken: %s\n%s\n", property, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

}  // namespace quorbin::fuzz
