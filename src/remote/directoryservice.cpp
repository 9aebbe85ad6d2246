#include "remote/directoryservice.h"

#include "remote/linesocket.h"
#include "remote/logstamp.h"

#include <QCoreApplication>

namespace quorbin {
namespace {

const int kMaxLineLength = 255;

QByteArray requestLine(const FtpSettings& settings)
{
    QByteArray line;
    for (const QChar c : settings.user + settings.storeDirectory)
        line += c.unicode() < 128 ? char(c.unicode()) : '?';
    return line + "\r\n";
}

QString replyText(const QByteArray& line)
{
    QString text;
    for (const char byte : line)
        text += uchar(byte) < 128 ? QChar(byte) : u'?';
    return text;
}

// The last line the service sent: "fertig", "nixda", or anything else for a failure.
QString exchange(const FtpSettings& settings, StatusSink& status, const std::stop_token& stop)
{
    LineSocket socket(stop);
    if (!socket.connectTo(settings.host, settings.service.port) || !socket.send(requestLine(settings)))
        return QStringLiteral("nixda");
    int idleReads = 0;
    QString line;
    for (;;) {
        QByteArray bytes;
        switch (socket.readLine(settings.service.readTimeoutMs, kMaxLineLength, bytes)) {
        case LineSocket::Read::Closed:
        case LineSocket::Read::TooLong:
        case LineSocket::Read::Stopped:
            return QStringLiteral("nixda");
        case LineSocket::Read::Idle:
            bytes.clear();
            break;
        case LineSocket::Read::Line:
            break;
        }
        line = replyText(bytes);
        if (line.isEmpty())
            ++idleReads;
        else if (line != u"fertig" && line != u"nixda")
            status.setStatus(QStringLiteral("VD: ") + line);
        // A service that keeps talking never reaches the idle limit: a stop request ends it.
        if (stop.stop_requested())
            return QStringLiteral("nixda");
        if (line == u"fertig" || line == u"nixda" || idleReads > settings.service.idleLimit)
            return line;
    }
}

}  // namespace

bool QueryDirectoryService(const FtpSettings& settings, StatusSink& status, LogSink& log, std::stop_token stop)
{
    if (!settings.directoryService) {
        log.appendLine(TimeStampedLine(QCoreApplication::translate("Remote", " OHNE Verzeichnisdienst")));
        status.setStatus(QCoreApplication::translate("Remote", " OHNE Verzeichnisdienst"));
        return false;
    }
    log.appendLine(TimeStampedLine(QCoreApplication::translate("Remote", "Versuch Verzeichnisdienst zu starten")));
    status.setStatus(QCoreApplication::translate("Remote", "verbinden mit Verzeichnisdienst"));
    if (exchange(settings, status, stop) == u"fertig") {
        log.appendLine(TimeStampedLine(QCoreApplication::translate("Remote", "Verzeichnisdienst fertig")));
        status.setStatus(QCoreApplication::translate("Remote", "Verzeichnisdienst erfolgreich"));
        return true;
    }
    log.appendLine(TimeStampedLine(QCoreApplication::translate("Remote", "Verzeichnisdienst nicht erreichbar")));
    status.setStatus(QCoreApplication::translate("Remote", "Verzeichnisdienst nicht erreichbar"));
    return false;
}

}  // namespace quorbin
