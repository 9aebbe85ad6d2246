// The remote browser's commands against a real FTPS server.
#include "remote/ftperror.h"
#include "remote/ftptestbase.h"
#include "remote/remotebrowser.h"

#include "engine/tempfiles.h"
#include "fixtures/storewriter.h"
#include "platform/winpath.h"

#include <QTimeZone>
#include <stop_token>

namespace quorbin::test {
namespace {

class RemoteBrowserTest : public FtpTest {
protected:
    // A session as "FTP-Verbindung herstellen" leaves it: in the base path "/private/".
    void open(FtpSession& ftpSession, FtpServerKind kind = FtpServerKind::Tls, FtpServerOptions options = {})
    {
        QDir().mkpath(host("ftp/private"));
        startServer(kind, options);
        FtpClient& ftp = ftpSession.client;
        pointAtServer(ftp, kind == FtpServerKind::Tls);
        ftp.Connect();
        ftp.setTransferType(FtpTransferType::Image);
        ftpSession.FtpBasePath = QStringLiteral("/private/");
        ftp.ChangeDir(ftpSession.FtpBasePath);
    }
    void open() { open(session); }

    FtpSession session;
    StatusLines status;
    LogLines log;
};

TEST_F(RemoteBrowserTest, AListingGivesFileRowsAndDirectoryNodes)
{
    // A LIST line gives the day only for an entry older than half a year: the server's day,
    // which noon UTC makes the same in every zone.
    const struct {
        const char* what;
        FtpServerKind kind;
        QDateTime stamp;
        const char* date;
    } cases[] = {
        {"MLSD", FtpServerKind::Tls, QDateTime(QDate(2018, 4, 19), QTime(14, 3, 12)), "19.04.2018 14:03"},
        {"LIST", FtpServerKind::NoMlsd, QDateTime(QDate(2018, 4, 19), QTime(12, 0), QTimeZone::utc()), "19.04.2018"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putRemote("private/b.txt", QByteArray(1536, 'b'));
        putRemote("private/  a.txt", "a");
        putRemote("private/Bericht.doc.00001.nxz", "c");
        QDir().mkpath(host("ftp/private/  Archiv"));
        QDir().mkpath(host("ftp/private/C§Users"));
        setRemoteTime("private/b.txt", c.stamp);
        QFile big(host("ftp/private/big.bin"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(3LL << 30));  // sparse: 3 GiB without the disk space
        big.close();
        FtpSession fresh;
        open(fresh, c.kind);

        const auto view = ListRemoteView(fresh);
        ASSERT_TRUE(view);
        QMap<QString, RemoteFileRow> rows;
        for (const RemoteFileRow& row : view->files)
            rows.insert(row.name, row);
        EXPECT_EQ(rows.keys(), (QStringList{"  a.txt", "Bericht.doc.00001.nxz", "b.txt", "big.bin"}));
        EXPECT_EQ(rows["b.txt"].size, "1,500 kB");
        EXPECT_EQ(rows["b.txt"].date, c.date);
        EXPECT_EQ(rows["b.txt"].attributes, "file");
        EXPECT_EQ(rows["big.bin"].size, "3145728,000 kB");
        QStringList nodes = view->directories;
        nodes.sort();
        EXPECT_EQ(nodes, (QStringList{"Archiv", "C§Users"}));
        EXPECT_EQ(fresh.client.transferType(), FtpTransferType::Image);
    }
    EXPECT_TRUE(IsMarkedNode("C§Users"));
    EXPECT_FALSE(IsMarkedNode("Archiv"));
}

TEST_F(RemoteBrowserTest, OnlyTheFirstFilesOfALargeDirectoryGetRows)
{
    for (int i = 0; i < 600; ++i)
        putRemote(QStringLiteral("private/f%1.txt").arg(i, 3, 10, QChar(u'0')), "x");
    open();
    const auto view = ListRemoteView(session);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->files.size(), 499);
}

TEST_F(RemoteBrowserTest, AListingNothingReadsShowsNothing)
{
    putRemote("private/a.txt", "a");
    open(session, FtpServerKind::NoMlsd, {.unreadableListing = true});
    EXPECT_FALSE(ListRemoteView(session));
}

TEST_F(RemoteBrowserTest, OpeningANodeWalksDownFromTheBasePath)
{
    QDir().mkpath(host("ftp/private/A/B"));
    open();
    session.client.ChangeDir("/");
    OpenRemoteNode(session, {"A", "B"}, log);
    EXPECT_EQ(session.client.RetrieveCurrentDir(), "/private/A/B");
    EXPECT_EQ(log.lines, QStringList{"chdir /private/"});

    OpenRemoteNode(session, {"A", "missing", "B"}, log);
    EXPECT_EQ(session.client.RetrieveCurrentDir(), "/private/A");
}

class RemoteDownloadFileNameTest : public SandboxTest {};

TEST_F(RemoteDownloadFileNameTest, TakesTheUsersExtensionAndNoPathCharacters)
{
    const struct {
        const char* remote;
        const char* local;
    } cases[] = {
        {"Bericht.doc.00003.nxz", "§tmp.doc"}, {"Bericht.doc.00003.NXZ", "§tmp.NXZ"}, {"00003.nxz", "§tmp"},
        {"x.00003.nxz", "§tmp"},               {"README", "§tmp"},                    {"a.txt", "§tmp.txt"},
        {"a./../../etc/x", "§tmp.etcx"},          {"a.\\..\\x", "§tmp.x"},              {"a.c:x", "§tmp.cx"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemoteDownloadFileName(QString::fromUtf8(c.remote)), TempDirectory() + QString::fromUtf8(c.local))
            << c.remote;
}

TEST_F(RemoteBrowserTest, AStoredFileIsDecipheredAndExpanded)
{
    const QByteArray content = mixedContent(300000, 11);
    writeStoredFile(platform::toWindowsPath(host("ftp/private/Bericht.doc.00003.nxz")), content, "geheim");
    open();
    DownloadRemoteFile(session, "Bericht.doc.00003.nxz", "geheim", status, nullptr);

    const QString result = TempDirectory() + "§tmp.doc";
    EXPECT_EQ(readFile(result), content);
    EXPECT_EQ(user.messages, QStringList{"Datei wurde nach " + result + " heruntergeladen"});
    EXPECT_EQ(user.pointerChanges, (QList<Pointer>{Pointer::Busy, Pointer::Normal}));
    EXPECT_EQ(session.BytesToTransfer, quint32(QFileInfo(host("ftp/private/Bericht.doc.00003.nxz")).size()));
}

TEST_F(RemoteBrowserTest, AnyOtherFileIsSavedAsItIsOverAnOldCopy)
{
    putRemote("private/Liste.txt", "neu");
    open();
    const QString result = TempDirectory() + "§tmp.txt";
    writeFile(result, "alt");
    DownloadRemoteFile(session, "Liste.txt", "geheim", status, nullptr);
    EXPECT_EQ(readFile(result), "neu");
    EXPECT_EQ(user.messages, QStringList{"Datei wurde nach " + result + " heruntergeladen"});
    EXPECT_EQ(tempFiles(), QStringList{"§tmp.txt"});  // no work file left
}

TEST_F(RemoteBrowserTest, FailuresAreToldNotReportedAsSuccess)
{
    writeStoredFile(platform::toWindowsPath(host("ftp/private/Bericht.doc.00003.nxz")), "inhalt", "geheim");
    open();
    DownloadRemoteFile(session, "Bericht.doc.00003.nxz", "falsch", status, nullptr);
    DownloadRemoteFile(session, "fehlt.txt", "", status, nullptr);
    ASSERT_EQ(user.messages.size(), 2);
    EXPECT_EQ(user.messages[0],
              "Fehler beim entschlüsseln der gesicherten Datei: falscher Schlüssel: /private/Bericht.doc.00003.nxz");
    EXPECT_TRUE(user.messages[1].startsWith("Die Datei fehlt.txt konnte nicht heruntergeladen werden. "))
        << user.messages[1].toStdString();
    EXPECT_FALSE(exists(TempDirectory() + "§tmp.txt"));
    EXPECT_EQ(user.pointer(), Pointer::Normal);
}

TEST_F(RemoteBrowserTest, DownloadAndOpenHandsTheResultToTheDesktop)
{
    const QByteArray content = mixedContent(5000, 2);
    writeStoredFile(platform::toWindowsPath(host("ftp/private/Bild.png.00002.nxz")), content, "k");
    open();
    DownloadAndOpenRemoteFile(session, "Bild.png.00002.nxz", "k", status, nullptr);
    ASSERT_EQ(user.opened.size(), 1);
    EXPECT_EQ(user.opened[0], platform::toHostPath(TempDirectory() + "§tmp.png"));
    EXPECT_TRUE(user.messages.isEmpty());

    DownloadAndOpenRemoteFile(session, "fehlt.txt", "", status, nullptr);
    EXPECT_EQ(user.opened.size(), 1);  // nothing to open
    EXPECT_EQ(user.messages.size(), 1);
}

TEST_F(RemoteBrowserTest, AKeyedStoredFileIsDecodedAsItArrivesByteExactAndWithoutAWorkFile)
{
    const QByteArray content = mixedContent(3 * 1024 * 1024 + 5, 13);
    const struct {
        const char* what;
        FtpServerKind kind;
        FtpServerOptions options;
    } cases[] = {
        {"TLS", FtpServerKind::Tls, {}},
        {"plain", FtpServerKind::Plain, {}},
        {"TLS, throttled", FtpServerKind::Tls, {.bytesPerSecond = 4 << 20}},
        {"plain, throttled", FtpServerKind::Plain, {.bytesPerSecond = 4 << 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeStoredFile(platform::toWindowsPath(host("ftp/private/Bericht.doc.00003.nxz")), content, "Schlüssel");
        const qint64 stored = QFileInfo(host("ftp/private/Bericht.doc.00003.nxz")).size();
        FtpSession fresh;
        open(fresh, c.kind, c.options);
        qint64 received = 0;
        fresh.client.onWork = [&](qint64 count) { received = count; };
        QString downloadFile;
        const JobResult result = FetchRemoteFile(fresh, "Bericht.doc.00003.nxz", "Schlüssel", quietContext(), downloadFile);
        ASSERT_TRUE(result.ok()) << describe(result).toStdString();
        EXPECT_EQ(downloadFile, TempDirectory() + "§tmp.doc");
        EXPECT_EQ(readFile(downloadFile), content);
        EXPECT_EQ(received, stored);
        EXPECT_EQ(tempFiles(), QStringList{"§tmp.doc"});
        QFile::remove(platform::toHostPath(downloadFile));
    }
}

TEST_F(RemoteBrowserTest, AFailedFetchNamesItsCauseAndLeavesTheLastDownloadAsItWas)
{
    const QString stored = platform::toWindowsPath(host("ftp/private/Bericht.doc.00003.nxz"));
    writeStoredFile(stored, mixedContent(2 << 20, 4), "geheim");
    QByteArray damaged = readFile(stored);
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x55);
    putRemote("private/Kaputt.doc.00003.nxz", damaged);
    putRemote("private/Kurz.doc.00003.nxz", readFile(stored).left(200000));
    open();
    enum class Stop { Never, Before, DuringTheTransfer, AsTheTransferEnds };
    const struct {
        const char* what;
        const char* name;
        const char* key;
        Stop stop;
        ErrorKind kind;
        const char* message;  // its start
        const char* path;     // the remote file, for what the file itself is to blame for
    } cases[] = {
        {"wrong key", "Bericht.doc.00003.nxz", "falsch", Stop::Never, ErrorKind::WrongKey, "falscher Schlüssel",
         "/private/Bericht.doc.00003.nxz"},
        {"no key", "Bericht.doc.00003.nxz", "", Stop::Never, ErrorKind::NoKey, "kein Schlüssel",
         "/private/Bericht.doc.00003.nxz"},
        {"damaged", "Kaputt.doc.00003.nxz", "geheim", Stop::Never, ErrorKind::Damaged, "Datei beschädigt",
         "/private/Kaputt.doc.00003.nxz"},
        {"truncated", "Kurz.doc.00003.nxz", "geheim", Stop::Never, ErrorKind::Truncated, "Datei ist abgeschnitten",
         "/private/Kurz.doc.00003.nxz"},
        {"missing on the server", "Brief.doc.00001.nxz", "geheim", Stop::Never, ErrorKind::Network,
         "/private/Brief.doc.00001.nxz is not retrievable", ""},
        {"stopped before", "Bericht.doc.00003.nxz", "geheim", Stop::Before, ErrorKind::Cancelled,
         "Übertragung abgebrochen", ""},
        {"stopped during the transfer", "Bericht.doc.00003.nxz", "geheim", Stop::DuringTheTransfer,
         ErrorKind::Cancelled, "Übertragung abgebrochen", ""},
        {"stopped as the transfer ends", "Bericht.doc.00003.nxz", "geheim", Stop::AsTheTransferEnds,
         ErrorKind::Cancelled, "Übertragung abgebrochen", ""},
    };
    const QString last = TempDirectory() + "§tmp.doc";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(last, "the last download");
        std::stop_source stop;
        if (c.stop == Stop::Before)
            stop.request_stop();
        session.client.onWork = [&](qint64) {
            if (c.stop == Stop::DuringTheTransfer)
                stop.request_stop();
        };
        session.client.onWorkEnd = [&] {
            if (c.stop == Stop::AsTheTransferEnds)
                stop.request_stop();
        };
        JobContext context = quietContext();
        context.stop = stop.get_token();
        QString downloadFile;
        const JobResult result = FetchRemoteFile(session, c.name, c.key, context, downloadFile);
        EXPECT_EQ(result.kind, c.kind) << describe(result).toStdString();
        EXPECT_TRUE(result.message.startsWith(QString::fromUtf8(c.message))) << result.message.toStdString();
        EXPECT_EQ(result.path, QString::fromUtf8(c.path));
        EXPECT_EQ(downloadFile, last);
        EXPECT_EQ(readFile(last), "the last download");
        EXPECT_EQ(tempFiles(), QStringList{"§tmp.doc"});  // nothing beside it, no work file
    }
    session.client.onWork = nullptr;
    session.client.onWorkEnd = nullptr;
    QString downloadFile;
    EXPECT_TRUE(FetchRemoteFile(session, "Bericht.doc.00003.nxz", "geheim", quietContext(), downloadFile).ok());
}

TEST_F(RemoteBrowserTest, AWrongKeyEndsTheTransferWithoutTheRestOfTheFile)
{
    writeStoredFile(platform::toWindowsPath(host("ftp/private/Film.mp4.00001.nxz")), mixedContent(32 << 20, 5), "geheim");
    const qint64 stored = QFileInfo(host("ftp/private/Film.mp4.00001.nxz")).size();
    open();
    qint64 received = 0;
    session.client.onWork = [&](qint64 count) { received = count; };
    QString downloadFile;
    const JobResult result = FetchRemoteFile(session, "Film.mp4.00001.nxz", "falsch", quietContext(), downloadFile);
    EXPECT_EQ(result.kind, ErrorKind::WrongKey) << describe(result).toStdString();
    EXPECT_LT(received, stored / 4);
    EXPECT_EQ(tempFiles(), QStringList{});
    // The session goes on.
    session.client.onWork = nullptr;
    EXPECT_EQ(session.client.RetrieveCurrentDir(), "/private");
}

TEST_F(RemoteBrowserTest, DeletingAFile)
{
    putRemote("private/weg.txt", "x");
    open();
    EXPECT_TRUE(DeleteRemoteFile(session, "weg.txt"));
    EXPECT_FALSE(remoteExists("private/weg.txt"));
    EXPECT_FALSE(DeleteRemoteFile(session, "weg.txt"));
}

TEST_F(RemoteBrowserTest, DeletingADirectoryTakesTheNodesOwnPath)
{
    QDir().mkpath(host("ftp/private/A/Alt"));
    QDir().mkpath(host("ftp/private/B/Alt"));
    putRemote("private/A/Voll/datei.txt", "x");
    open();
    session.client.ChangeDir("B");  // elsewhere, beside a directory of the same name

    DeleteRemoteDirectory(session, {"A", "Alt"});
    EXPECT_FALSE(remoteExists("private/A/Alt"));
    EXPECT_TRUE(remoteExists("private/B/Alt"));
    EXPECT_EQ(session.client.RetrieveCurrentDir(), "/private/A");

    try {
        DeleteRemoteDirectory(session, {"A", "Voll"});
        FAIL() << "removed a directory that is not empty";
    } catch (const FtpError& error) {
        EXPECT_EQ(error.replyCode(), 550);
    }
    EXPECT_TRUE(remoteExists("private/A/Voll/datei.txt"));
}

TEST(TrimLeadingBlanks, RemovesBlanksOnly)
{
    EXPECT_EQ(TrimLeadingBlanks("  Archiv"), "Archiv");
    EXPECT_EQ(TrimLeadingBlanks("   "), "");
    EXPECT_EQ(TrimLeadingBlanks("\t a"), "\t a");
    EXPECT_EQ(TrimLeadingBlanks("a  "), "a  ");
}

}  // namespace
}  // namespace quorbin::test
