#include "platform/drivemap.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <atomic>

namespace quorbin::platform {

QString driveMapFile()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + "/.config";
    return QDir::cleanPath(config) + "/quorbin/laufwerke.conf";
}

QString normalisedDriveName(const QString& text)
{
    QString name = text.trimmed();
    while (name.size() > 2 && (name.endsWith(u'\\') || name.endsWith(u'/')))
        name.chop(1);
    const bool letter = !name.isEmpty() && name.at(0).unicode() < 0x80 && name.at(0).isLetter();
    if (letter && (name.size() == 1 || (name.size() == 2 && name.at(1) == u':')))
        return name.at(0).toUpper() + QStringLiteral(":");
    name.replace(u'/', u'\\');
    if (!name.startsWith(u"\\\\"))
        return {};
    const QStringList parts = name.mid(2).split(u'\\');
    if (parts.size() != 2 || parts.at(0).isEmpty() || parts.at(1).isEmpty() || parts.contains(u"..") ||
        parts.contains(u"."))
        return {};
    return name;
}

QList<DriveMapping> readDriveMap()
{
    QList<DriveMapping> mappings;
    QFile file(driveMapFile());
    if (!file.open(QIODevice::ReadOnly))
        return mappings;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        const QString name = eq > 0 ? normalisedDriveName(line.left(eq)) : QString();
        const QString folder = eq > 0 ? line.mid(eq + 1).trimmed() : QString();
        if (name.isEmpty() || !folder.startsWith(u'/'))
            continue;
        mappings.append({name, QDir::cleanPath(folder)});
    }
    return mappings;
}

namespace {
std::atomic<int> generation{0};
}  // namespace

int driveMapGeneration() { return generation.load(); }

bool writeDriveMap(const QList<DriveMapping>& mappings, QString& error)
{
    const QString path = driveMapFile();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error =
            QCoreApplication::translate("Platform", "Ordner nicht anlegbar: %1").arg(QFileInfo(path).absolutePath());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = file.errorString() + ": " + path;
        return false;
    }
    QTextStream out(&file);
    out << "# Laufwerke von quorbin: Laufwerksbuchstabe oder \\\\Server\\Freigabe = Ordner auf diesem Rechner\n";
    for (const DriveMapping& m : mappings)
        out << m.name << '=' << m.hostFolder << '\n';
    out.flush();
    if (!file.commit()) {
        error = file.errorString() + ": " + path;
        return false;
    }
    ++generation;
    return true;
}

}  // namespace quorbin::platform
