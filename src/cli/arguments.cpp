#include "cli/arguments.h"

#include "platform/files.h"
#include "platform/datetime.h"

#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QtGlobal>

namespace quorbin::cli {

QString windowsPathOfArgument(const QString& argument)
{
    if (platform::looksLikeWindowsPath(argument))
        return argument;
    QString windows = platform::toWindowsPath(argument);
    if (windows.isEmpty())
        throw UsageError(
            QCoreApplication::translate(
                "Cli",
                "Pfad liegt auf keinem Laufwerk: %1 (Z: ist nicht \"/\"; QUORBIN_DRIVES ordnet die Laufwerke zu)")
                .arg(argument));
    return windows;
}

QString directoryOfArgument(const QString& argument)
{
    QString directory = windowsPathOfArgument(argument);
    while (directory.size() > 3 && (directory.endsWith(u'\\') || directory.endsWith(u'/')))
        directory.chop(1);  // "…\Docs\" would show a doubled separator in every line
    return directory;
}

void requireDirectory(const QString& directory)
{
    if (!platform::directoryExists(directory))
        throw UsageError(QCoreApplication::translate("Cli", "Verzeichnis nicht gefunden: %1").arg(directory));
}

std::optional<QString> takeOption(QStringList& arguments, const QString& name, QString& error)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return {};
    if (at + 1 >= arguments.size()) {
        error = QCoreApplication::translate("Cli", "%1 braucht einen Wert").arg(name);
        arguments.remove(at);
        return {};
    }
    const QString value = arguments.at(at + 1);
    arguments.remove(at, 2);
    return value;
}

bool takeFlag(QStringList& arguments, const QString& name) { return arguments.removeAll(name) > 0; }

int takeJobs(QStringList& arguments, int most, QString& error)
{
    const auto text = takeOption(arguments, QStringLiteral("--jobs"), error);
    if (!text)
        return 0;
    bool valid = false;
    const int jobs = text->toInt(&valid);
    if (!valid || jobs < 1 || jobs > most) {
        if (error.isEmpty())
            error = QCoreApplication::translate("Cli", "--jobs braucht eine Zahl von 1 bis %1: %2")
                        .arg(QString::number(most), *text);
        return 0;
    }
    return jobs;
}

std::optional<QString> readKey(const std::optional<QString>& keyFile, QString& error)
{
    if (keyFile) {
        QFile file(*keyFile);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QCoreApplication::translate("Cli", "Schlüsseldatei nicht lesbar: %1").arg(*keyFile);
            return {};
        }
        QString key = QString::fromUtf8(file.readAll());
        if (key.endsWith(QStringLiteral("\r\n")))
            key.chop(2);
        else if (key.endsWith(u'\n'))
            key.chop(1);
        return key;
    }
    return qEnvironmentVariable("QUORBIN_KEY");
}

QString helpText(const char* help) { return QCoreApplication::translate("Cli", help); }

std::optional<QDateTime> dateFromArgument(const QString& text)
{
    for (const char* format : {"dd.MM.yyyy HH:mm", "d.M.yyyy H:mm", "yyyy-MM-dd HH:mm", "yyyy-MM-dd H:mm"}) {
        const QDateTime t = QDateTime::fromString(text.trimmed(), QString::fromLatin1(format));
        if (t.isValid())
            return t;
    }
    return platform::parseUserDateTimeText(text);
}

void printLine(const QString& text)
{
    static QTextStream out(stdout);
    out << text << Qt::endl;
}

void printError(const QString& text) { QTextStream(stderr) << terminalSafe(text, true) << Qt::endl; }

void printRecord(const QString& line) { printLine(terminalSafe(line)); }

QString terminalSafe(const QString& text, bool keepLineBreaks)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F);
        if (!control || (keepLineBreaks && u == u'\n') || u == u'\t')
            safe += c;
        else if (u == u'\r')
            safe += QStringLiteral("\\r");
        else if (u == u'\n')
            safe += QStringLiteral("\\n");
        else
            safe += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QChar(u'0'));
    }
    return safe;
}

}  // namespace quorbin::cli
