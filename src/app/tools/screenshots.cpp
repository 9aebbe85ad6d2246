// quorbin-screenshots DIR: renders every page of the main window and the double-click window
// into PNG files, with a sample set in a private scratch directory (nothing of the user's is
// read or written).
#include "app/backupsetpage.h"
#include "app/jobrunner.h"
#include "app/launch.h"
#include "app/pagecontrol.h"
#include "app/qtuserinterface.h"
#include "app/remotepage.h"
#include "app/remotetree.h"
#include "app/directorylist.h"
#include "app/filerestorepage.h"
#include "app/dirrestorepage.h"
#include "engine/keycipher.h"
#include "app/tquorbin.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>

#include <cstdio>

namespace {

const char* const kPageFiles[] = {"sichern", "datei", "verzeichnis", "log", "ftp"};

void pointEverythingInto(const QString& scratch)
{
    qputenv("QUORBIN_DRIVES", QStringLiteral("C=%1/c;D=%1/d").arg(scratch).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (scratch + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (scratch + "/config").toLocal8Bit());  // no drive map of the user's
    qputenv("QUORBIN_WINDIR", (scratch + "/windows").toLocal8Bit());
    qputenv("TMPDIR", (scratch + "/tmp").toLocal8Bit());
    for (const char* sub : {"c", "d/Sets", "d/Store", "tmp", "windows"})
        QDir().mkpath(scratch + "/" + sub);
}

void writeLatin1(const QString& path, const QString& text)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toLatin1());
}

// A small mirror of a store for the FTP page: a few stored files below the user's folder.
void writeSampleMirror(const QString& root)
{
    const QString anna = root + "/private/Buero/Set1/C$/Users/Anna";
    QDir().mkpath(anna + QString::fromUtf8("/§alt"));
    const struct {
        const char* name;
        int size;
        int daysAgo;
    } files[] = {{"Brief¯an¯Bank.docx.00002.nxz", 48213, 3},
                 {"Angebot.pdf.00001.nxz", 311872, 12},
                 {"Notizen.txt.00003.nxz", 1536, 0},
                 {"Tabelle.xlsx.00001.nxz", 90416, 40}};
    for (const auto& f : files) {
        QFile file(anna + "/" + QString::fromUtf8(f.name));
        if (!file.open(QIODevice::WriteOnly))
            continue;
        file.write(QByteArray(f.size, 'x'));
        file.setFileTime(QDateTime(QDate::currentDate().addDays(-f.daysAgo), QTime(14, 3)),
                         QFileDevice::FileModificationTime);
    }
}

// Python's FTP server on 127.0.0.1 serving the mirror; port 0 when it cannot run here.
int startSampleServer(QProcess& server, const QString& root)
{
    server.start(QStringLiteral("/usr/bin/python3"), {"-m", "pyftpdlib", "-i", "127.0.0.1", "-p", "0", "-w", "-d", root,
                                                       "-u", "anna", "-P", "geheim"});
    const QRegularExpression listening(QStringLiteral("starting FTP server on 127\\.0\\.0\\.1:(\\d+)"));
    QByteArray output;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && server.state() != QProcess::NotRunning) {
        server.waitForReadyRead(100);
        output += server.readAllStandardError();
        if (const auto match = listening.match(QString::fromUtf8(output)); match.hasMatch())
            return match.captured(1).toInt();
    }
    return 0;
}

// Connects the FTP page to the sample server and opens the user's folder, as a user would.
void showSampleListing(quorbin::app::Tquorbin* main, int port)
{
    main->setPage->EFTPHost->setText(QStringLiteral("127.0.0.1"));
    main->setPage->EFTPPort->setText(QString::number(port));
    main->setPage->MitVZ->setChecked(false);
    main->remotePage->Button4Click();
    main->jobs().waitForIdle();
    QTreeWidgetItem* node = nullptr;
    for (const char* folder : {"Buero", "Set1", "C$", "Users", "Anna"}) {
        const auto found = main->remotePage->dl->findItems(QString::fromLatin1(folder), Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty())
            return;
        node = found.first();
        main->remotePage->dl->setCurrentItem(node);
        main->remotePage->dlDblClick();
        main->jobs().waitForIdle();
    }
    main->remotePage->Vvzo->setCurrentCell(0, 1);
}

bool save(QWidget* window, const QString& path)
{
    QApplication::processEvents();
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorbin-screenshots DIR\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    QTemporaryDir scratch;
    pointEverythingInto(scratch.path());
    quorbin::app::QtUserInterface userInterface;

    writeLatin1(scratch.path() + "/windows/quorbin.ini", "[MF]\r\nSetName=Büro\r\nMITSSL=1\r\nMITVZ=0\r\n");
    writeLatin1(scratch.path() + "/d/Sets/Buero.set",
                "[Ziel]\r\nZiel=D:\\Store\r\n[FTP]\r\nftp=1\r\nftphost=backup.example.invalid\r\n"
                "ftpusername=anna\r\nftppassw=geheim\r\nverzeichnis=Buero\r\nPORT=21\r\nBasis=private/\r\n"
                "Passive=1\r\n[SCHLÜSSEL]\r\nSCHLÜSSEL=Schlüssel\r\n");

    // A few store entries, so that the restore pages have something to show.
    const QString folder = scratch.path() + QString::fromUtf8("/d/Store/Set1/C$/Users/Anna/");
    QDir().mkpath(folder);
    int daysAgo = 60;
    for (const char* name : {"Brief¯an¯Bank.docx.00001.nxz", "Brief¯an¯Bank.docx.00002.nxz", "Haushalt.xlsx.00001.nxz"}) {
        QFile file(folder + QString::fromUtf8(name));
        if (file.open(QIODevice::WriteOnly)) {
            // Real containers (a zlib stream under the set's key), so that a walk restores them.
            QByteArray content;
            for (quint32 i = 0; content.size() < 20000 + daysAgo * 3700; ++i)
                content += QByteArray::number(i * 2654435761u % 1000003) + ' ';
            QByteArray container = qCompress(content).mid(4);
            quorbin::CipherBuffer(true, container.data(), container.size(), quorbin::KeyBytes(QString::fromUtf8("Schlüssel")), 0);
            file.write(container);
            file.flush();
            file.setFileTime(QDateTime(QDate::currentDate().addDays(-daysAgo), QTime(9, 41)), QFileDevice::FileModificationTime);
        }
        daysAgo /= 2;
    }

    bool ok = true;
    {
        const auto window = quorbin::app::startWindow(QStringLiteral("D:\\Sets\\Buero.set"));
        window->show();
        auto* main = static_cast<quorbin::app::Tquorbin*>(window.get());
        QProcess ftpServer;
        for (int page = 0; page < main->ftp->count(); ++page) {
            main->ftp->setCurrentIndex(page);
            if (page == quorbin::app::Tquorbin::DateiPage) {
                // A folder of the store with a file picked, so that its versions show.
                main->filePage->qdir->setDirectory(QStringLiteral("D:\\Store\\Set1\\C$\\Users\\Anna"));
                main->filePage->qfile->selectName(QString::fromUtf16(u"Brief¯an¯Bank.docx.00002.nxz"));
            }
            if (page == quorbin::app::Tquorbin::LogPage) {
                // A walk of the sample folder to its original place, so that the log and the
                // status show a restore's lines and where it went.
                main->dirPage->StartDir->setText(QStringLiteral("D:\\Store\\Set1\\C$\\Users\\Anna"));
                main->dirPage->Button2->click();
                main->jobs().waitForIdle();
                main->ftp->setCurrentIndex(page);
            }
            if (page == quorbin::app::Tquorbin::FtpPage) {
                writeSampleMirror(scratch.path() + "/ftp");
                if (const int port = startSampleServer(ftpServer, scratch.path() + "/ftp"))
                    showSampleListing(main, port);
                else
                    std::printf("no local FTP server (python3-pyftpdlib): the FTP page stays empty\n");
            }
            ok &= save(window.get(), QStringLiteral("%1/quorbin-%2.png").arg(out, QString::fromLatin1(kPageFiles[page])));
        }
        ftpServer.kill();
        ftpServer.waitForFinished();
    }
    {
        const auto window =
            quorbin::app::startWindow(QString::fromUtf16(u"D:\\Store\\Set1\\C$\\Users\\Anna\\Brief¯an¯Bank.docx.00002.nxz"));
        window->show();
        ok &= save(window.get(), out + "/quorbin-doubleclick.png");
    }
    return ok ? 0 : 1;
}
