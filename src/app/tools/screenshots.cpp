// quorbin-screenshots DIR: renders every page of the main window and the double-click window
// into PNG files, with a sample set in a private scratch directory (nothing of the user's is
// read or written).
#include "app/launch.h"
#include "app/qtuserinterface.h"
#include "app/tquorbin.h"
#include "app/pagecontrol.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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
    for (const char* name : {"Brief¯an¯Bank.docx.00001.nxz", "Brief¯an¯Bank.docx.00002.nxz", "Haushalt.xlsx.00001.nxz"})
        writeLatin1(folder + QString::fromUtf8(name), QString());

    bool ok = true;
    {
        const auto window = quorbin::app::startWindow(QStringLiteral("D:\\Sets\\Buero.set"));
        window->show();
        auto* main = static_cast<quorbin::app::Tquorbin*>(window.get());
        for (int page = 0; page < main->ftp->count(); ++page) {
            main->ftp->setCurrentIndex(page);
            ok &= save(window.get(), QStringLiteral("%1/quorbin-%2.png").arg(out, QString::fromLatin1(kPageFiles[page])));
        }
    }
    {
        const auto window =
            quorbin::app::startWindow(QString::fromUtf16(u"D:\\Store\\Set1\\C$\\Users\\Anna\\Brief¯an¯Bank.docx.00002.nxz"));
        window->show();
        ok &= save(window.get(), out + "/quorbin-doubleclick.png");
    }
    return ok ? 0 : 1;
}
