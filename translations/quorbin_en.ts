<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>App</name>
    <message>
        <source>Aufruf: quorbin [SET-DATEI | GESICHERTE-DATEI]

Ohne Argument oder mit einer Sicherung (.set) öffnet sich das Hauptfenster: eine Datei,
einen ganzen Verzeichnisbaum oder Dateien des FTP-Spiegels wiederherstellen.
Mit einer gesicherten Datei (.nxz, .nx0) öffnet sich das kleine Fenster, das nur diese
Datei wiederherstellt.

  -h, --help     diesen Text ausgeben
  --version      die Version ausgeben

Qts eigene Optionen (-platform, -style, ...) werden ebenfalls angenommen. quorbin-restore
leistet dieselbe Arbeit auf der Kommandozeile.
</source>
        <translation>Usage: quorbin [SETFILE | STORED-FILE]

Without an argument, or with a backup set (.set), opens the main window: restore one
file, a whole directory tree, or files of the FTP mirror.
With a stored file (.nxz, .nx0), opens the small window that restores just that file.

  -h, --help     print this text
  --version      print the version

Qt&apos;s own options (-platform, -style, ...) are taken as well. quorbin-restore does the
same work on the command line.
</translation>
    </message>
    <message>
        <source>quorbin: unbekannte Option %1

%2</source>
        <translation>quorbin: unknown option %1

%2</translation>
    </message>
    <message>
        <source>Fehler beim Zurückladen der Datei

%1</source>
        <translation>Error restoring the file

%1</translation>
    </message>
    <message>
        <source>Unbekannter Fehler</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source>Datenrücksicherung</source>
        <translation>Data restore</translation>
    </message>
    <message>
        <source>quorbin Datenrücksicherung</source>
        <translation>quorbin data restore</translation>
    </message>
    <message>
        <source>Kein vollständiger Pfad: %1
Bitte mit Laufwerk (C:\…) oder ab / angeben.</source>
        <translation>Not a complete path: %1
Please give it with a drive (C:\…) or from /.</translation>
    </message>
    <message>
        <source>Der Pfad liegt auf keinem Laufwerk: %1</source>
        <translation>The path is on no drive: %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Bestätigen</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Attribute</source>
        <translation>Attributes</translation>
    </message>
    <message>
        <source>Grösse</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>State</translation>
    </message>
    <message>
        <source>%1: %2 Dateien gelesen, %3 fehlerhaft (abgebrochen, nicht alles geprüft)</source>
        <translation>%1: %2 files read, %3 bad (cancelled, not everything checked)</translation>
    </message>
    <message>
        <source>%1: %2 Dateien gelesen, %3 fehlerhaft: alle Dateien lassen sich wiederherstellen</source>
        <translation>%1: %2 files read, %3 bad: every file can be restored</translation>
    </message>
    <message>
        <source>%1: %2 Dateien gelesen, %3 fehlerhaft</source>
        <translation>%1: %2 files read, %3 bad</translation>
    </message>
    <message>
        <source>Verzeichnis nicht gefunden: %1
Bitte auf der Seite &quot;Verzeichn. wiederh.&quot; ein Verzeichnis der Sicherung wählen!</source>
        <translation>Directory not found: %1
Please choose a directory of the backup on the page &quot;Restore dir.&quot;!</translation>
    </message>
    <message>
        <source>abgeschlossen</source>
        <translation>done</translation>
    </message>
    <message>
        <source>abgeschlossen; %1</source>
        <translation>done; %1</translation>
    </message>
    <message>
        <source>abgebrochen</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>Fehler: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Art der Wiederherstellung</source>
        <translation>Kind of restore</translation>
    </message>
    <message>
        <source>auf Ursprungspfad zurückkopieren</source>
        <translation>copy back to the original path</translation>
    </message>
    <message>
        <source>auf neues Verzeichnis zurückkopieren</source>
        <translation>copy back to a new directory</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Ursprungsversion zurückladen </source>
        <translation>restore the original version </translation>
    </message>
    <message>
        <source>Version bis einschl. Datum</source>
        <translation>version up to and including the date</translation>
    </message>
    <message>
        <source>neueste Version zurückladen</source>
        <translation>restore the newest version</translation>
    </message>
    <message>
        <source>Kein Backup-Pfad. Bitte neu wählen!</source>
        <translation>Not a store path. Please choose again!</translation>
    </message>
    <message>
        <source>Bitte zuerst das neue Startverzeichnis wählen!</source>
        <translation>Please choose the new start directory first!</translation>
    </message>
    <message>
        <source>Das neue Startverzeichnis liegt in der Datensicherung selbst. Bitte neu wählen!</source>
        <translation>The new start directory lies inside the store itself. Please choose again!</translation>
    </message>
    <message>
        <source>Die Dateien gehören auf Laufwerk Z:, das hier das ganze System ist. Bitte ein neues Startverzeichnis wählen oder das Laufwerk zuordnen (QUORBIN_DRIVES)!</source>
        <translation>The files belong on drive Z:, which here is the whole system. Please choose a new start directory or map the drive (QUORBIN_DRIVES)!</translation>
    </message>
    <message>
        <source>Das neue Startverzeichnis ist kein vollständiger Pfad: %1</source>
        <translation>The new start directory is not a complete path: %1</translation>
    </message>
    <message>
        <source>&apos;%1 %2&apos; ist kein gültiges Datum mit Uhrzeit</source>
        <translation>&apos;%1 %2&apos; is not a valid date with time</translation>
    </message>
    <message>
        <source>%1 von %2 Dateien</source>
        <translation>%1 of %2 files</translation>
    </message>
    <message>
        <source>%1 von %2 MB</source>
        <translation>%1 of %2 MB</translation>
    </message>
    <message>
        <source>Der Server %1 zeigt ein anderes Zertifikat als das gespeicherte.

Gespeichert (SHA-256):
%2

Jetzt (SHA-256):
%3

Hat der Server wirklich ein neues Zertifikat bekommen, wird es mit &quot;Ja&quot; an Stelle des alten gespeichert. Sonst könnte jemand die Verbindung abhören; dann &quot;Nein&quot; wählen, und es wird nicht verbunden.

Dem neuen Zertifikat vertrauen?</source>
        <translation>The server %1 shows a certificate other than the stored one.

Stored (SHA-256):
%2

Now (SHA-256):
%3

If the server really got a new certificate, &quot;Yes&quot; stores it in place of the old one. Otherwise someone could be listening in on the connection; then choose &quot;No&quot;, and no connection is made.

Trust the new certificate?</translation>
    </message>
    <message>
        <source>Zertifikat geändert</source>
        <translation>Certificate changed</translation>
    </message>
    <message>
        <source>%1 (Ordner, die Dateien darin ungeprüft)</source>
        <translation>%1 (folder; the files in it were not checked)</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>Pfad liegt auf keinem Laufwerk: %1 (Z: ist nicht &quot;/&quot;; QUORBIN_DRIVES ordnet die Laufwerke zu)</source>
        <translation>Path is on no drive: %1 (Z: is not &quot;/&quot;; QUORBIN_DRIVES maps the drives)</translation>
    </message>
    <message>
        <source>Verzeichnis nicht gefunden: %1</source>
        <translation>Directory not found: %1</translation>
    </message>
    <message>
        <source>%1 braucht einen Wert</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>--jobs braucht eine Zahl von 1 bis %1: %2</source>
        <translation>--jobs needs a number from 1 to %1: %2</translation>
    </message>
    <message>
        <source>Schlüsseldatei nicht lesbar: %1</source>
        <translation>Key file not readable: %1</translation>
    </message>
    <message>
        <source>quorbin-restore decode [--dir] TEXT

Gibt den Originalpfad aus, für den ein Backup-Pfad steht. Ohne --dir ist TEXT eine
gesicherte Datei, deren Versionsendung wegfällt; mit --dir ist er ein Verzeichnis der
Datensicherung.
</source>
        <translation>quorbin-restore decode [--dir] TEXT

Prints the original path that a store path stands for. Without --dir TEXT is a stored
file and its version suffix is dropped; with --dir it is a store directory.
</translation>
    </message>
    <message>
        <source>Kein Backup-Pfad (keine Laufwerks- oder Serverebene &quot;X$&quot; oder &quot;$$&quot;): %1</source>
        <translation>Not a store path (no drive or server level &quot;X$&quot; or &quot;$$&quot;): %1</translation>
    </message>
    <message>
        <source>Kein Backup-Pfad. Bitte neu wählen!</source>
        <translation>Not a store path. Please choose again!</translation>
    </message>
    <message>
        <source>quorbin-restore file GESICHERT ZIELDATEI [--date TEXT] [--key-file DATEI] [--set SET-DATEI]

Stellt eine gesicherte Datei (.nxz-Container) als ZIELDATEI wieder her: entschlüsselt sie
mit dem Schlüssel, entpackt sie und gibt ihr die Zeit der gesicherten Version oder das
Datum aus --date DATUM (&quot;TT.MM.JJJJ HH:MM&quot;, &quot;JJJJ-MM-TT HH:MM&quot; oder die Datumsform der
Protokollzeilen). Eine vorhandene ZIELDATEI wird nur ersetzt, wenn die Wiederherstellung
gelungen ist.

Der Schlüssel kommt aus --key-file DATEI (UTF-8, ein Zeilenende am Schluss fällt weg),
sonst aus dem Schlüssel der Sicherung SET-DATEI (dort leer: kein Schlüssel), sonst aus der
Umgebungsvariablen QUORBIN_KEY; ohne alle drei wird kein Schlüssel angewandt.
Pfade, die mit einem Laufwerksbuchstaben und &quot;:&quot; oder mit &quot;\\&quot; beginnen, sind
Windows-Pfade; jeder andere Pfad ist ein Pfad dieses Rechners.

Rückgabewert: 0 wiederhergestellt, 1 nicht wiederhergestellt (Grund auf stderr),
2 Aufruffehler.
</source>
        <translation>quorbin-restore file STORED TARGET [--date TEXT] [--key-file FILE] [--set SETFILE]

Restores one stored file (.nxz container) to TARGET: deciphers it with the key, expands
it, and stamps the result with the stored version&apos;s time, or with --date DATE
(&quot;DD.MM.YYYY HH:MM&quot;, &quot;YYYY-MM-DD HH:MM&quot; or the date form of the log lines).
An existing TARGET is replaced only when the restore succeeded.

The key comes from --key-file FILE (UTF-8, one trailing newline dropped), else from the
key of the backup set SETFILE (empty there: no key), else from the environment variable
QUORBIN_KEY; without any of them no key is applied.
Paths beginning with a drive letter and &quot;:&quot; or with &quot;\\&quot; are Windows paths;
any other path is a path of this machine.

Exit status: 0 restored, 1 not restored (reason on stderr), 2 usage error.
</translation>
    </message>
    <message>
        <source>Datum nicht lesbar: %1</source>
        <translation>Date not readable: %1</translation>
    </message>
    <message>
        <source>Nicht wiederhergestellt: %1</source>
        <translation>Not restored: %1</translation>
    </message>
    <message>
        <source>quorbin-restore find MUSTER [STARTVERZ] [--set SET-DATEI] [--versions]

Sucht in der Datensicherung unter STARTVERZ nach Dateien, deren Originalname auf MUSTER passt
(&quot;*&quot; und &quot;?&quot;, ohne Rücksicht auf Groß- und Kleinschreibung; ein Leerzeichen passt auf die
Leerzeichenmarke &quot;¯&quot; der Datensicherung). Ein MUSTER mit &quot;\&quot; wird mit dem ganzen
Originalpfad verglichen, wobei &quot;*&quot; auch über Ordner reicht: &apos;C:\Users\*\Docs\*.txt&apos; findet
die .txt-Dateien unter Docs jedes Benutzers.
Ohne STARTVERZ beginnt die Suche im Ziel der Sicherung SET-DATEI.

Gibt eine Zeile je gefundener Datei aus: ihren Originalpfad, die Zahl ihrer Versionen,
Datum und Zeit und die Größe in Bytes ihrer neuesten Version, durch Tabulatoren getrennt.
Eine Datei ohne Versionsendung zählt als eine Version.

  --versions  auch jede Version unter ihrer Datei ausgeben, die älteste zuerst: ein
              Tabulator, Datum und Zeit der Version, ihre Größe, ihr Pfad in der
              Datensicherung

Ein Ordner, der nicht gelesen werden kann, und eine Datei, deren erste Version
(.00001.nxz) fehlt oder bei der eine Version keine lesbare Zeit hat, erhalten eine Warnung
auf der Standardfehlerausgabe.

Rückgabewert: 0 gefunden, 1 nichts gefunden oder ein Ordner oder eine Version nicht lesbar,
2 Aufruffehler.
</source>
        <translation>quorbin-restore find PATTERN [START-DIR] [--set SETFILE] [--versions]

Looks through the store below START-DIR for files whose original name matches PATTERN
(&quot;*&quot; and &quot;?&quot;, case-blind; a blank matches a blank mark &quot;¯&quot; of the store). A PATTERN
with &quot;\&quot; is matched against the whole original path, where &quot;*&quot; spans folders too:
&apos;C:\Users\*\Docs\*.txt&apos; finds the .txt files below every user&apos;s Docs.
Without START-DIR the search starts at the target folder (Ziel) of the backup set SETFILE.

Prints one line per file found: its original path, the number of its versions, the date
and time and the size in bytes of its newest version, separated by tabs. A file kept
without version suffix counts as one version.

  --versions  also print every version under its file, oldest first: a tab, the
              version&apos;s date and time, its size, its path in the store

A folder that cannot be read, and a file whose first version (.00001.nxz) is missing or
one of whose versions has no readable time, gets a warning on standard error.

Exit status: 0 found, 1 nothing found or a folder or version unreadable, 2 usage error.
</translation>
    </message>
    <message>
        <source>Zeit einer Version nicht lesbar: %1</source>
        <translation>Time of a version not readable: %1</translation>
    </message>
    <message>
        <source>Nichts gefunden: %1</source>
        <translation>Nothing found: %1</translation>
    </message>
    <message>
        <source>Warnung: %1</source>
        <translation>Warning: %1</translation>
    </message>
    <message>
        <source>Keine FTP-Verbindung: %1</source>
        <translation>No FTP connection: %1</translation>
    </message>
    <message>
        <source>FTP-Fehler: %1</source>
        <translation>FTP error: %1</translation>
    </message>
    <message>
        <source>Nicht wiederhergestellt: %1: %2</source>
        <translation>Not restored: %1: %2</translation>
    </message>
    <message>
        <source>Kein Verzeichnis unter dem Basispfad: %1</source>
        <translation>No directory below the base path: %1</translation>
    </message>
    <message>
        <source>schon wiederhergestellt, nicht erneut geladen: %1</source>
        <translation>already restored, not fetched again: %1</translation>
    </message>
    <message>
        <source>den Originalpfad eines Backup-Pfads ausgeben</source>
        <translation>print the original path of a store path</translation>
    </message>
    <message>
        <source>eine gesicherte Datei wiederherstellen</source>
        <translation>restore one stored file</translation>
    </message>
    <message>
        <source>eine Sicherung und die Programmeinstellungen ausgeben</source>
        <translation>print a backup set and the program settings</translation>
    </message>
    <message>
        <source>die gesicherten Versionen einer Datei auflisten</source>
        <translation>list the stored versions of a file</translation>
    </message>
    <message>
        <source>einen Verzeichnisbaum der Datensicherung wiederherstellen</source>
        <translation>restore a directory tree of the store</translation>
    </message>
    <message>
        <source>Dateien des FTP-Spiegels auflisten, laden, wiederherstellen oder prüfen</source>
        <translation>list, fetch, restore or verify files of the FTP mirror</translation>
    </message>
    <message>
        <source>prüfen, ob jede gesicherte Datei eines Baums wiederherstellbar ist</source>
        <translation>check that every stored file of a tree can be restored</translation>
    </message>
    <message>
        <source>gesicherte Dateien nach ihrem Originalnamen suchen</source>
        <translation>find stored files by their original name</translation>
    </message>
    <message>
        <source>Aufruf: quorbin-restore BEFEHL [ARGUMENTE]

Befehle:
%1
&apos;quorbin-restore BEFEHL --help&apos; sagt mehr über einen Befehl;
&apos;quorbin-restore --version&apos; gibt die Version aus.</source>
        <translation>Usage: quorbin-restore COMMAND [ARGUMENTS]

Commands:
%1
&apos;quorbin-restore COMMAND --help&apos; tells more about a command;
&apos;quorbin-restore --version&apos; prints the version.</translation>
    </message>
    <message>
        <source>Unbekannter Befehl: %1

%2</source>
        <translation>Unknown command: %1

%2</translation>
    </message>
    <message>
        <source>quorbin-restore set SET-DATEI [--show-secrets]

Gibt die aus SET-DATEI gelesene Sicherung aus, dann die Programmeinstellungen aus
quorbin.ini im Windows-Verzeichnis ($QUORBIN_WINDIR, sonst $XDG_CONFIG_HOME/quorbin, sonst
~/.config/quorbin): eine Zeile je Schlüssel als Abschnitt/Schlüssel=Wert, in der Reihenfolge
der Schlüssel der Dateien; Wahrheitswerte als true oder false. Ein Schlüssel, der in der
Datei fehlt, zeigt seine Vorgabe. Jede Gruppe beginnt mit einer Zeile &quot;# &quot; und dem
Host-Pfad der Datei, aus der sie gelesen oder wo sie gesucht wurde.
Der Schlüssel der Sicherung und das FTP-Passwort erscheinen als &quot;*&quot; (leer, wenn nicht
gesetzt), außer mit --show-secrets.
Pfade, die mit einem Laufwerksbuchstaben und &quot;:&quot; oder mit &quot;\\&quot; beginnen, sind
Windows-Pfade; jeder andere Pfad ist ein Pfad dieses Rechners.

Rückgabewert: 0 ausgegeben, 1 SET-DATEI nicht lesbar (die Vorgaben werden trotzdem
ausgegeben), 2 Aufruffehler.
</source>
        <translation>quorbin-restore set SETFILE [--show-secrets]

Prints the backup set read from SETFILE, then the program settings read from quorbin.ini
in the Windows directory ($QUORBIN_WINDIR, else $XDG_CONFIG_HOME/quorbin, else
~/.config/quorbin), one line per key as Section/Key=value, in the order of the files&apos; keys;
Booleans as true or false. A key the file lacks shows its default. Each group opens with a
line &quot;# &quot; + the file&apos;s host path it was read from, or where it was looked for.
The key and the FTP password show as &quot;*&quot; (empty when not set) unless --show-secrets.
Paths beginning with a drive letter and &quot;:&quot; or with &quot;\\&quot; are Windows paths;
any other path is a path of this machine.

Exit status: 0 printed, 1 SETFILE not readable (the defaults are printed all the same),
2 usage error.
</translation>
    </message>
    <message>
        <source>Set-Datei nicht gefunden oder nicht lesbar: %1</source>
        <translation>Set file not found or not readable: %1</translation>
    </message>
    <message>
        <source># %1: %2 (nicht gefunden, Vorgaben)</source>
        <translation># %1: %2 (not found, defaults)</translation>
    </message>
    <message>
        <source>Set-Datei</source>
        <translation>Set file</translation>
    </message>
    <message>
        <source>%1 (aus %2)</source>
        <translation>%1 (from %2)</translation>
    </message>
    <message>
        <source>%1 (Vorgaben gezeigt)</source>
        <translation>%1 (defaults shown)</translation>
    </message>
    <message>
        <source>Ziel des Sets nicht gefunden: %1 (%2)</source>
        <translation>Target of the set not found: %1 (%2)</translation>
    </message>
    <message>
        <source>Warnung: die erste Version fehlt; dir stellt diese Datei nicht wieder her: %1</source>
        <translation>Warning: the first version is missing; dir does not restore this file: %1</translation>
    </message>
    <message>
        <source>%1/%2 Dateien, %3/%4 MiB, %5 MiB/s, noch %6</source>
        <translation>%1/%2 files, %3/%4 MiB, %5 MiB/s, %6 left</translation>
    </message>
    <message>
        <source>%1/%2 MiB, %3 MiB/s, noch %4</source>
        <translation>%1/%2 MiB, %3 MiB/s, %4 left</translation>
    </message>
    <message>
        <source>[j/n]</source>
        <translation>[y/n]</translation>
    </message>
    <message>
        <source>[o=OK/a=Abbrechen]</source>
        <translation>[o=OK/c=Cancel]</translation>
    </message>
    <message>
        <source>Unbekannte Regel: %1</source>
        <translation>Unknown rule: %1</translation>
    </message>
    <message>
        <source>--before gilt nur mit --rule before</source>
        <translation>--before applies only with --rule before</translation>
    </message>
    <message>
        <source>--rule before braucht --before DATUM</source>
        <translation>--rule before needs --before DATE</translation>
    </message>
    <message>
        <source>Das neue Startverzeichnis liegt in der Datensicherung selbst: %1</source>
        <translation>The new start directory lies inside the store itself: %1</translation>
    </message>
    <message>
        <source>Die Dateien gehören auf Laufwerk Z:, das hier das ganze System ist: mit --to ein neues Startverzeichnis wählen oder das Laufwerk in QUORBIN_DRIVES zuordnen.</source>
        <translation>The files belong on drive Z:, which here is the whole system: choose a new start directory with --to or map the drive in QUORBIN_DRIVES.</translation>
    </message>
    <message>
        <source>Das neue Startverzeichnis ist kein absoluter Pfad: %1</source>
        <translation>The new start directory is not an absolute path: %1</translation>
    </message>
    <message>
        <source>quorbin-restore verify STARTVERZ [--set SET-DATEI | --key-file DATEI] [--all-versions] [--jobs N]

Liest jede gesicherte Datei unter dem Verzeichnis STARTVERZ der Datensicherung so, wie eine
Wiederherstellung es täte, schreibt aber nichts: mit dem Schlüssel entschlüsselt, ins Leere
entpackt, ihre Prüfsumme geprüft. Ohne --all-versions wird nur die Version gelesen, die die
Regel newest wiederherstellen würde; mit der Option jede gesicherte Version.

Gibt eine Zeile je fehlerhafter Datei aus, ihren Pfad in der Datensicherung und nach einem
Tabulator die Ursache (falscher Schlüssel, beschädigt, gekürzt, leer, nicht lesbar), dann
eine Zusammenfassung auf der Standardfehlerausgabe: die gelesenen Dateien und
Container-Bytes und wie viele fehlerhaft waren.

  --all-versions  jede Version lesen, nicht nur die neueste
  --jobs N        N Dateien zugleich lesen (Vorgabe: eine je Kern); die Zeilen kommen in
                  derselben Reihenfolge, wie groß N auch ist

Der Schlüssel kommt aus --key-file, sonst aus der Sicherung SET-DATEI, sonst aus
QUORBIN_KEY. In einem Terminal zeigt eine Fortschrittszeile auf der Standardfehlerausgabe
den Stand.

Rückgabewert: 0 jede Datei in Ordnung, 1 eine Datei fehlerhaft (oder die Prüfung wurde
abgebrochen), 2 Aufruffehler.
</source>
        <translation>quorbin-restore verify START-DIR [--set SETFILE | --key-file FILE] [--all-versions] [--jobs N]

Reads every stored file below the store directory START-DIR as a restore would, but
writes nothing: deciphered with the key, expanded to nowhere, its checksum checked.
Without --all-versions only the version that the newest rule would restore is read;
with it, every stored version.

Prints one line per bad file, its store path and the cause after a tab (wrong key,
damaged, cut short, empty, unreadable), then a summary on standard error: the files
and container bytes read, and how many were bad.

  --all-versions  read every version, not only the newest
  --jobs N        read N files at a time (default: one per core); the lines come in the
                  same order whatever N is

The key comes from --key-file, else from the backup set SETFILE, else from QUORBIN_KEY.
On a terminal a progress line is shown on standard error.

Exit status: 0 every file good, 1 a file is bad (or the check was cut short), 2 usage error.
</translation>
    </message>
    <message>
        <source>geprüft: %1 Datei, %2 Bytes; fehlerhaft: %3</source>
        <translation>checked: %1 file, %2 bytes; bad: %3</translation>
    </message>
    <message>
        <source>geprüft: %1 Dateien, %2 Bytes; fehlerhaft: %3</source>
        <translation>checked: %1 files, %2 bytes; bad: %3</translation>
    </message>
    <message>
        <source>--set und --key-file schließen einander aus</source>
        <translation>--set and --key-file exclude each other</translation>
    </message>
    <message>
        <source>quorbin-restore versions GESICHERT
quorbin-restore versions SICHERUNGSVERZ\NAME
quorbin-restore versions ORIGINALPFAD [STARTVERZ] [--set SET-DATEI]

Listet die gesicherten Versionen einer Datei auf, die älteste zuerst: Datum und Zeit der
Version, ein Tabulator, ihr Pfad in der Datensicherung. Die Datei wird benannt durch
  GESICHERT            eine ihrer Versionen (ein Name, der auf &quot;.NNNNN.nxz&quot; endet);
  SICHERUNGSVERZ\NAME  einen Ordner der Datensicherung und den Originalnamen der Datei,
                       Leerzeichen als Leerzeichen, z. B. &apos;D:\Store\Set1\C$\Docs\Brief an Bank.docx&apos;;
  ORIGINALPFAD         den Pfad, den die Datei hatte, z. B. &apos;C:\Docs\brief.txt&apos;, gesucht unter
                       STARTVERZ oder, ohne es, unter dem Ziel der Sicherung SET-DATEI. Jedes
                       Set darunter, das den Pfad enthält, listet seine Versionen.
Namen werden ohne Rücksicht auf Groß- und Kleinschreibung verglichen. Eine Datei ohne
Versionsendung ist ihre eigene einzige Version. Eine Datei ohne ihre erste Version
(.00001.nxz) erhält eine Warnung auf stderr: dir stellt Dateien über sie wieder her.

Rückgabewert: 0 aufgelistet, 1 keine Version gefunden, ein Ordner nicht lesbar oder die
Zeit einer Version nicht lesbar, 2 Aufruffehler (auch ein SICHERUNGSVERZ, das kein Ordner
der Datensicherung ist).
</source>
        <translation>quorbin-restore versions STORED
quorbin-restore versions STORE-DIR\NAME
quorbin-restore versions ORIGINAL-PATH [START-DIR] [--set SETFILE]

Lists the stored versions of a file, oldest first: the version&apos;s date and time, a tab,
its path in the store. The file is named by
  STORED             any of its versions (a name ending in &quot;.NNNNN.nxz&quot;);
  STORE-DIR\NAME     a store folder and the file&apos;s original name, blanks as blanks,
                     e.g. &apos;D:\Store\Set1\C$\Docs\Brief an Bank.docx&apos;;
  ORIGINAL-PATH      the path the file had, e.g. &apos;C:\Docs\brief.txt&apos;, looked up below
                     START-DIR or, without it, the target folder (Ziel) of the backup set
                     SETFILE. Every set below that holds the path lists its versions.
Names are compared case-blind. A file kept without version suffix is its own only
version. A file without its first version (.00001.nxz) gets a warning on stderr: dir
restores files through it.

Exit status: 0 listed, 1 no version found, a folder unreadable or a version&apos;s time
unreadable, 2 usage error (also a STORE-DIR that is no folder of the store).
</translation>
    </message>
    <message>
        <source>abgebrochen</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>Keine Versionen gefunden: %1</source>
        <translation>No versions found: %1</translation>
    </message>
    <message>
        <source>Kein Ordner der Datensicherung (ohne Laufwerks- oder Serverebene wie C$): %1
Ein Originalpfad wird mit --set oder STARTVERZ gesucht.</source>
        <translation>Not a folder of the store (no drive or server level such as C$): %1
An original path is looked up with --set or START-DIR.</translation>
    </message>
    <message>
        <source>quorbin-restore dir STARTVERZ [--to NEUES-VERZ] [--rule original|before|newest]
                    [--before DATUM] [--ask] [--set SET-DATEI] [--key-file DATEI] [--dry-run]
                    [--jobs N]

Stellt jede gesicherte Datei unter STARTVERZ wieder her, einem Verzeichnis der
Datensicherung unter einer Laufwerks- oder Serverebene (sein Pfad enthält &quot;$&quot;), wie es
&quot;Zurückladen&quot; im Fenster tut, und gibt die Protokollzeilen aus: &quot;start&quot;, eine Zeile je
gesicherter Datei, &quot;fertig&quot;; wurden Dateien geschrieben, nennt eine letzte Zeile
&quot;wiederhergestellt nach: ORDNER&quot;, wo der Baum auf diesem Rechner liegt.

  --to NEUES-VERZ  den Baum unter NEUES-VERZ statt unter den Originalpfaden aufbauen
  --rule           original: die erste gesicherte Version; newest (Vorgabe): die neueste;
                   before: die neueste Version vor --before DATUM
  --before DATUM   &quot;TT.MM.JJJJ HH:MM&quot; oder &quot;JJJJ-MM-TT HH:MM&quot;; nötig für --rule before
  --ask            im Terminal fragen, bevor eine vorhandene Datei ersetzt wird
  --dry-run        nichts schreiben; die Zeilen für das ausgeben, was wiederhergestellt
                   würde, jeder gewählte Container bis zu seinem Ende gelesen, so dass eine
                   Datei, die scheitern würde, ihre ERROR-Zeile erhält und der
                   Rückgabewert der eines echten Laufs ist
  --jobs N         N Dateien zugleich wiederherstellen (Vorgabe: eine je Kern; mit --ask:
                   eine); die Zeilen kommen in derselben Reihenfolge, wie groß N auch ist

Der Schlüssel kommt aus --key-file, sonst aus der Sicherung SET-DATEI, sonst aus
QUORBIN_KEY. In einem Terminal zeigt eine Fortschrittszeile auf der Standardfehlerausgabe
den Stand.

Rückgabewert: 0 keine ERROR-Zeile, 1 eine Datei nicht wiederhergestellt, 2 Aufruffehler.
</source>
        <translation>quorbin-restore dir START-DIR [--to NEW-DIR] [--rule original|before|newest]
                    [--before DATE] [--ask] [--set SETFILE] [--key-file FILE] [--dry-run]
                    [--jobs N]

Restores every stored file below START-DIR, a store directory below a drive or server
level (its path holds &quot;$&quot;), as the window&apos;s &quot;Zurückladen&quot; does, and prints the log lines:
&quot;start&quot;, one line per stored file, &quot;fertig&quot;; when files were written, a last line
&quot;wiederhergestellt nach: FOLDER&quot; names where the tree lies on this machine.

  --to NEW-DIR   rebuild the tree below NEW-DIR instead of the original paths
  --rule         original: the first stored version; newest (default): the newest;
                 before: the newest version before --before DATE
  --before DATE  &quot;DD.MM.YYYY HH:MM&quot; or &quot;YYYY-MM-DD HH:MM&quot;; needed for --rule before
  --ask          ask on the terminal before an existing file is replaced
  --dry-run      write nothing; print the lines for what would be restored, each
                 chosen container read to its end, so a file that would fail gets its
                 ERROR line and the exit status is that of a real run
  --jobs N       restore N files at a time (default: one per core; --ask: one); the
                 lines come in the same order whatever N is

The key comes from --key-file, else from the backup set SETFILE, else from QUORBIN_KEY.
On a terminal a progress line is shown on standard error.

Exit status: 0 no ERROR line, 1 some file not restored, 2 usage error.
</translation>
    </message>
    <message>
        <source>Kein SHA-256-Fingerabdruck: %1</source>
        <translation>Not a SHA-256 fingerprint: %1</translation>
    </message>
    <message>
        <source>quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] ls [FERNVERZ]
quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] get FERNDATEI LOKALE-DATEI
quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] dir FERNVERZ [--to NEUES-VERZ]
                    [--rule original|before|newest] [--before DATUM] [--ask] [--dry-run]
                    [--jobs N] [--force]
quorbin-restore ftp --set SET-DATEI [Verbindungsoptionen] verify FERNVERZ [--all-versions] [--jobs N]
Verbindungsoptionen: [--no-tls | --require-tls] [--dirservice | --no-dirservice]
                     [--trust-certificate SHA256]

Verbindet sich wie das Desktop-Programm mit dem FTP-Spiegel der Sicherung SET-DATEI (Host,
Port, Benutzer, Passwort, passiver Modus, Basispfad &quot;Basis&quot;; TLS und der Verzeichnisdienst,
wie quorbin.ini sagt, außer die Optionen legen es anders fest).
Ein Server, der TLS ablehnt, wird unverschlüsselt genutzt, mit einer Warnung auf stderr;
mit --require-tls (oder NURSSL=1 in quorbin.ini) scheitert die Verbindung stattdessen.
Andere Warnungen der Verbindung, etwa dass der aktive Modus über TLS passiv wird, gehen
ebenfalls auf stderr.
Das Zertifikat des Servers wird geprüft: eines, dem das System vertraut (Kette und
Hostname), gilt ohne Weiteres. Jedes andere wird beim ersten Mal angenommen und mit seinem
SHA-256-Fingerabdruck für Host und Port in zertifikate.conf neben laufwerke.conf gespeichert
(mit einer Warnung auf stderr). Zeigt der Server später ein anderes, scheitert die
Verbindung, bevor das Passwort gesendet wird; die Meldung nennt beide Fingerabdrücke.
--trust-certificate SHA256 nimmt ein Zertifikat mit genau diesem Fingerabdruck an (Groß-
und Kleinschreibung gleich, Doppelpunkte nach Belieben) und speichert es an Stelle des alten.

ls gibt die Einträge von FERNVERZ unter dem Basispfad aus (ohne FERNVERZ die des
Basispfads selbst), einen je Zeile: Name, Art (dir oder file), Größe in Bytes,
Änderungszeit (lokal; nur der Tag, wo der Server keine Zeit nennt), durch Tabulatoren
getrennt. Server ohne MLSD werden über LIST gelesen.
get lädt FERNDATEI (relativ zum Basispfad) nach LOKALE-DATEI; eine gesicherte Datei (.nxz)
wird unterwegs mit dem Schlüssel des Sets entschlüsselt und entpackt, alles andere so
gespeichert, wie es ist. Eine vorhandene LOKALE-DATEI wird nur ersetzt, wenn das Laden
gelungen ist.

dir stellt den Baum FERNVERZ des Spiegels (unter dem Basispfad, etwa Set1/C$/Docs) so
wieder her, wie `dir` denselben Baum der Datensicherung selbst wiederherstellt, mit
denselben Optionen und denselben Protokollzeilen: der Spiegel steht für das Ziel des Sets,
sein Set1/C$/Docs ist also &lt;Ziel&gt;\Set1\C$\Docs der Datensicherung. N Dateien (Vorgabe 4)
werden zugleich geladen, jede über eine eigene Verbindung, entschlüsselt und entpackt,
während sie ankommen. Eine Übertragung, die abbricht, wird dreimal erneut versucht (nach
0,5, 1 und 2 s) und setzt fort, wo sie stand (mit REST, wo der Server es kann); erst dann
erhält die Datei ihre ERROR-Zeile, und der Durchlauf geht weiter. Nimmt der Server nicht so
viele Verbindungen an, geht es mit denen weiter, die er annimmt. Kommt STILLSTAND Sekunden
lang (quorbin.ini, Vorgabe 180) kein Byte vom Server, endet der Durchlauf: jede Datei, die
nicht wiederhergestellt ist, erhält ihre ERROR-Zeile.
Versionen werden nach den Zeiten gewählt, die der Server auflistet, verschoben in die
lokale Zeit um den Uhrenunterschied, den der Verbindungsaufbau misst (lokal minus Server,
auf ganze Minuten gerundet). Nennt die Auflistung nur den Tag und reicht er nicht, eine
Version zu wählen, wird die Zeit mit MDTM erfragt; ohne Antwort erhält die Datei ihre
ERROR-Zeile.
Schon wiederhergestellt: ein vorhandenes Ziel, dessen letzte Änderungszeit die Zeit der
gewählten Version ist (bei einer einfachen Datei auch ihre aufgelistete Größe), hat ein
früherer Lauf geschrieben, denn eine Wiederherstellung stempelt jede Datei so und legt sie
nur vollständig an ihren Platz. Es wird ohne --force nicht erneut geladen, behält aber
seine Protokollzeile, so dass das Protokoll eines fortgesetzten Laufs das eines ganzen ist;
die Anzahl solcher Dateien geht auf stderr.
verify liest jede gesicherte Datei unter FERNVERZ (oder nur die neueste Version) durch den
Decoder ins Leere, wie `verify` es tut; nichts wird auf die Platte geschrieben.

Rückgabewert: 0 erledigt, 1 gescheitert (Grund auf stderr; dir und verify: eine Datei nicht
wiederhergestellt oder fehlerhaft), 2 Aufruffehler.
</source>
        <translation>quorbin-restore ftp --set SETFILE [connection options] ls [REMOTE-DIR]
quorbin-restore ftp --set SETFILE [connection options] get REMOTE-FILE LOCAL-FILE
quorbin-restore ftp --set SETFILE [connection options] dir REMOTE-DIR [--to NEW-DIR]
                    [--rule original|before|newest] [--before DATE] [--ask] [--dry-run]
                    [--jobs N] [--force]
quorbin-restore ftp --set SETFILE [connection options] verify REMOTE-DIR [--all-versions] [--jobs N]
connection options: [--no-tls | --require-tls] [--dirservice | --no-dirservice]
                    [--trust-certificate SHA256]

Connects to the FTP mirror of the backup set SETFILE as the desktop program does (host,
port, user, password, passive mode, base path &quot;Basis&quot;; TLS and the directory service as
quorbin.ini says, unless the options override them).
A server that refuses TLS is used unencrypted, with a warning on stderr; with --require-tls
(or NURSSL=1 in quorbin.ini) the connection fails instead. Other warnings of the connection,
such as active mode going passive over TLS, go to stderr as well.
The server&apos;s certificate is checked: one the system trusts (chain and host name) is
taken as it is. Any other is accepted the first time and stored with its SHA-256
fingerprint for host and port in zertifikate.conf beside laufwerke.conf (with a warning on
stderr). When the server later shows another one, the connection fails before the password
is sent; the message names both fingerprints. --trust-certificate SHA256 accepts a
certificate with exactly that fingerprint (either case, colons or not) and stores it in
place of the old one.

ls prints the entries of REMOTE-DIR below the base path (the base path itself without it),
one per line: name, kind (dir or file), size in bytes, modification time (local; the day
only where the server lists no time), separated by tabs. Servers without MLSD are read
through LIST.
get downloads REMOTE-FILE (relative to the base path) to LOCAL-FILE; a stored file (.nxz)
is deciphered with the set&apos;s key and expanded on the way, anything else is saved as it
is. An existing LOCAL-FILE is replaced only when the download succeeded.

dir restores the tree REMOTE-DIR of the mirror (below the base path, such as
Set1/C$/Docs) as `dir` restores the same tree of the store itself, with the same options
and the same log lines: the mirror stands for the set&apos;s target folder (Ziel), so its
Set1/C$/Docs is the store&apos;s &lt;Ziel&gt;\Set1\C$\Docs. N files (default 4) download at a time,
each over a connection of its own, deciphered and expanded as they come. A transfer that
breaks off is tried again three times (after 0.5, 1 and 2 s) and goes on where it stopped
(with REST where the server can); only then does the file get its ERROR line, and the walk
goes on. A server that takes fewer connections is worked with those it takes. When no byte
comes from the server for STILLSTAND seconds (quorbin.ini, 180 by default), the walk ends:
every file not restored gets its ERROR line.
Versions are chosen by the times the server lists, moved into local time by the clock
difference that the connect measures (local minus server, rounded to whole minutes). Where
the listing gives the day only and the day cannot choose a version, the time is asked with
MDTM; without an answer the file gets its ERROR line.
Already restored: an existing target whose last-write time is the chosen version&apos;s time
(a plain file: also its listed size) is one an earlier run wrote, for a restore stamps
each file so and puts it in place only whole. It is not fetched again unless --force,
but keeps its log line, so that the log of a resumed run is the log of a whole one; the
count of such files goes to stderr.
verify reads every stored file below REMOTE-DIR (or only the newest version) through
the decoder to nowhere, as `verify` does; nothing is written to disk.

Exit status: 0 done, 1 failed (reason on stderr; dir and verify: some file not restored
or bad), 2 usage error.
</translation>
    </message>
    <message>
        <source>; Ordner nicht gelesen (Dateien darin ungeprüft): %1</source>
        <translation>; folders not read (files in them not checked): %1</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>Datei ist leer</source>
        <translation>file is empty</translation>
    </message>
    <message>
        <source>Datei ist abgeschnitten</source>
        <translation>file is cut short</translation>
    </message>
    <message>
        <source>kein Schlüssel angegeben (Datei verschlüsselt oder beschädigt)</source>
        <translation>no key given (file enciphered or damaged)</translation>
    </message>
    <message>
        <source>falscher Schlüssel</source>
        <translation>wrong key</translation>
    </message>
    <message>
        <source>Datei beschädigt oder falscher Schlüssel (nicht zu unterscheiden)</source>
        <translation>file damaged or wrong key (cannot be told apart)</translation>
    </message>
    <message>
        <source>Datei beschädigt</source>
        <translation>file damaged</translation>
    </message>
    <message>
        <source>Datei %1 ersetzen?</source>
        <translation>Replace file %1?</translation>
    </message>
    <message>
        <source>Datei wiederherstellen, überschreiben?</source>
        <translation>Restore file, overwrite?</translation>
    </message>
    <message>
        <source>Ziel liegt außerhalb des Zielverzeichnisses</source>
        <translation>target lies outside the target directory</translation>
    </message>
    <message>
        <source>keine passende Version</source>
        <translation>no matching version</translation>
    </message>
    <message>
        <source>Ziel liegt in der Datensicherung</source>
        <translation>target lies inside the store</translation>
    </message>
    <message>
        <source>keine Version vor dem Datum, die älteste genommen: %1 (%2)</source>
        <translation>no version before the date, took the oldest: %1 (%2)</translation>
    </message>
    <message>
        <source>nicht ersetzt</source>
        <translation>not replaced</translation>
    </message>
    <message>
        <source>unzulässiger Name</source>
        <translation>invalid name</translation>
    </message>
    <message>
        <source>Name ist kein UTF-8 und liest sich wie ein anderer Name dieses Verzeichnisses</source>
        <translation>name is not UTF-8 and reads like another name in this directory</translation>
    </message>
    <message>
        <source>1 Datei nur mit späteren Versionen, ohne erste Version übergangen</source>
        <translation>1 file with later versions only, skipped without its first version</translation>
    </message>
    <message>
        <source>%1 Dateien nur mit späteren Versionen, ohne erste Version übergangen</source>
        <translation>%1 files with later versions only, skipped without their first version</translation>
    </message>
    <message>
        <source>nur spätere Versionen, die erste fehlt, nicht wiederhergestellt: %1 (%2)</source>
        <translation>later versions only, the first is missing, not restored: %1 (%2)</translation>
    </message>
    <message>
        <source>die Ziele lägen auf dem ganzen System (Z:)</source>
        <translation>the targets would lie on the whole system (Z:)</translation>
    </message>
    <message>
        <source>das neue Startverzeichnis ist kein absoluter Pfad: %1</source>
        <translation>the new start directory is not an absolute path: %1</translation>
    </message>
    <message>
        <source>das neue Startverzeichnis liegt in der Datensicherung</source>
        <translation>the new start directory lies inside the store</translation>
    </message>
    <message>
        <source>verschlüsseln: %1</source>
        <translation>enciphering: %1</translation>
    </message>
    <message>
        <source>entschlüsseln: %1</source>
        <translation>deciphering: %1</translation>
    </message>
    <message>
        <source>Datei kann nicht geöffnet werden: %1</source>
        <translation>Cannot open file: %1</translation>
    </message>
    <message>
        <source>Verzeichnis nicht lesbar: %1</source>
        <translation>directory not readable: %1</translation>
    </message>
    <message>
        <source>Ordner nicht anlegbar</source>
        <translation>cannot create folder</translation>
    </message>
    <message>
        <source>Ziel ist die gespeicherte Datei selbst</source>
        <translation>target is the stored file itself</translation>
    </message>
    <message>
        <source>überschreiben?</source>
        <translation>overwrite?</translation>
    </message>
    <message>
        <source>Datei fehlt oder ist nicht lesbar</source>
        <translation>file is missing or not readable</translation>
    </message>
    <message>
        <source>ist ein Verzeichnis</source>
        <translation>is a directory</translation>
    </message>
    <message>
        <source>Lesefehler</source>
        <translation>read error</translation>
    </message>
    <message>
        <source>wiederhergestellt: %1</source>
        <translation>restored: %1</translation>
    </message>
    <message>
        <source>Kann Pfad zu den temporären Dateien nicht finden</source>
        <translation>Cannot find the path for temporary files</translation>
    </message>
    <message>
        <source>Kann keine temporäre Arbeitsdatei anlegen</source>
        <translation>Cannot create a temporary work file</translation>
    </message>
    <message>
        <source>Lesefehler (%1)</source>
        <translation>read error (%1)</translation>
    </message>
    <message>
        <source>gespeicherte Datei fehlt oder ist nicht lesbar</source>
        <translation>stored file is missing or not readable</translation>
    </message>
    <message>
        <source>Datei kann nicht angelegt werden: %1</source>
        <translation>Cannot create file: %1</translation>
    </message>
    <message>
        <source>zlib kann nicht starten</source>
        <translation>zlib cannot start</translation>
    </message>
    <message>
        <source>Lesefehler: %1</source>
        <translation>Read error: %1</translation>
    </message>
    <message>
        <source>Schreibfehler: %1</source>
        <translation>Write error: %1</translation>
    </message>
    <message>
        <source>1 Datei wiederhergestellt nach %2</source>
        <translation>1 file restored to %2</translation>
    </message>
    <message>
        <source>%1 Dateien wiederhergestellt nach %2</source>
        <translation>%1 files restored to %2</translation>
    </message>
    <message>
        <source>der Server nennt das Datum dieser Datei nur auf den Tag genau</source>
        <translation>the server lists this file&apos;s date to the day only</translation>
    </message>
    <message>
        <source>1 Datei nicht wiederhergestellt</source>
        <translation>1 file not restored</translation>
    </message>
    <message>
        <source>%1 Dateien nicht wiederhergestellt</source>
        <translation>%1 files not restored</translation>
    </message>
    <message>
        <source>1 Ordner nicht gelesen, die Dateien darin unbekannt</source>
        <translation>1 folder not read, the files in it unknown</translation>
    </message>
    <message>
        <source>%1 Ordner nicht gelesen, die Dateien darin unbekannt</source>
        <translation>%1 folders not read, the files in them unknown</translation>
    </message>
    <message>
        <source>, zuerst: %1</source>
        <translation>, first: %1</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>noch %1:%2:%3</source>
        <translation>%1:%2:%3 left</translation>
    </message>
    <message>
        <source>noch %1:%2</source>
        <translation>%1:%2 left</translation>
    </message>
    <message>
        <source>Ordner nicht anlegbar: %1</source>
        <translation>Cannot create folder: %1</translation>
    </message>
    <message>
        <source>keine Berechtigung</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>Dateisystem schreibgeschützt</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>kein Platz auf dem Datenträger</source>
        <translation>no space left on the device</translation>
    </message>
    <message>
        <source>Speicherkontingent erschöpft</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>ist ein Verzeichnis</source>
        <translation>is a directory</translation>
    </message>
    <message>
        <source>Verzeichnis fehlt</source>
        <translation>directory is missing</translation>
    </message>
    <message>
        <source>ein Teil des Pfades ist kein Verzeichnis</source>
        <translation>a part of the path is not a directory</translation>
    </message>
    <message>
        <source>abgebrochen</source>
        <translation>cancelled</translation>
    </message>
    <message>
        <source>schreibgeschützt</source>
        <translation>read-only</translation>
    </message>
    <message>
        <source>Ziel nicht beschreibbar (%1)</source>
        <translation>target not writable (%1)</translation>
    </message>
</context>
<context>
    <name>Remote</name>
    <message>
        <source> OHNE Verzeichnisdienst</source>
        <translation> WITHOUT directory service</translation>
    </message>
    <message>
        <source>Versuch Verzeichnisdienst zu starten</source>
        <translation>Trying to start the directory service</translation>
    </message>
    <message>
        <source>verbinden mit Verzeichnisdienst</source>
        <translation>connecting to the directory service</translation>
    </message>
    <message>
        <source>Verzeichnisdienst fertig</source>
        <translation>Directory service done</translation>
    </message>
    <message>
        <source>Verzeichnisdienst erfolgreich</source>
        <translation>directory service succeeded</translation>
    </message>
    <message>
        <source>Verzeichnisdienst nicht erreichbar</source>
        <translation>directory service not reachable</translation>
    </message>
    <message>
        <source>Nicht verbunden.</source>
        <translation>Not connected.</translation>
    </message>
    <message>
        <source>Dieser Wert kann nicht gesetzt werden, während der Client verbunden ist.</source>
        <translation>This value cannot be set while the client is connected.</translation>
    </message>
    <message>
        <source>Es wurden keine FTP-Listen-Parser registriert.</source>
        <translation>No FTP listing parsers are registered.</translation>
    </message>
    <message>
        <source>Der Server lässt keine aktive Datenverbindung zu, oder sie kommt nicht zustande; bitte den passiven Modus einschalten (Passive=1 im Backup-Set) (%1)</source>
        <translation>The server allows no active data connection, or it cannot be made; please turn on passive mode (Passive=1 in the backup set) (%1)</translation>
    </message>
    <message>
        <source>Ungültiger Name: %1</source>
        <translation>Invalid name: %1</translation>
    </message>
    <message>
        <source>Bereits verbunden.</source>
        <translation>Already connected.</translation>
    </message>
    <message>
        <source>Verbinde mit %1</source>
        <translation>Connecting to %1</translation>
    </message>
    <message>
        <source>Die Datei %1 existiert bereits.</source>
        <translation>The file %1 already exists.</translation>
    </message>
    <message>
        <source>Datei %1 kann nicht erstellt werden. %2</source>
        <translation>Cannot create file %1. %2</translation>
    </message>
    <message>
        <source>Datei %1 kann nicht geschrieben werden. %2</source>
        <translation>Cannot write file %1. %2</translation>
    </message>
    <message>
        <source>Der FTP-Client ist mit einer anderen Operation beschäftigt.</source>
        <translation>The FTP client is busy with another operation.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; ist kein gültiger Integerwert</source>
        <translation>&apos;%1&apos; is not a valid integer</translation>
    </message>
    <message>
        <source>verbinden mit: %1</source>
        <translation>connecting to: %1</translation>
    </message>
    <message>
        <source>Zeitdifferent ermittlen</source>
        <translation>measuring the time difference</translation>
    </message>
    <message>
        <source>Zeitdifferenz: %1</source>
        <translation>Time difference: %1</translation>
    </message>
    <message>
        <source>keine Verbindung mit: %1: %2</source>
        <translation>no connection to: %1: %2</translation>
    </message>
    <message>
        <source>verbunden mit: %1</source>
        <translation>connected to: %1</translation>
    </message>
    <message>
        <source>Der Server lehnt TLS ab: Kennwort und Daten werden unverschlüsselt übertragen.</source>
        <translation>The server refuses TLS: password and data are sent unencrypted.</translation>
    </message>
    <message>
        <source>Aktive Datenverbindungen sind mit TLS nicht möglich; Daten werden passiv übertragen.</source>
        <translation>Active data connections are not possible with TLS; data is transferred in passive mode.</translation>
    </message>
    <message>
        <source>Übertragung abgebrochen</source>
        <translation>Transfer cancelled</translation>
    </message>
    <message>
        <source>Der Server lehnt TLS ab; ohne TLS wird nicht verbunden, weil TLS vorgeschrieben ist.</source>
        <translation>The server refuses TLS; no connection without TLS, because TLS is required.</translation>
    </message>
    <message>
        <source>%1kB von %2</source>
        <translation>%1kB of %2</translation>
    </message>
    <message>
        <source>Verbindung getrennt</source>
        <translation>disconnected</translation>
    </message>
    <message>
        <source>Datei %1 kann nicht geöffnet werden. %2</source>
        <translation>Cannot open file %1. %2</translation>
    </message>
    <message>
        <source>Lade Verzeichnis </source>
        <translation>Loading directory </translation>
    </message>
    <message>
        <source>Lade Verzeichnis von %1</source>
        <translation>Loading the directory of %1</translation>
    </message>
    <message>
        <source>Verzeichnis entpacken</source>
        <translation>unpacking the directory</translation>
    </message>
    <message>
        <source>Verzeichnis von %1 geladen</source>
        <translation>Directory of %1 loaded</translation>
    </message>
    <message>
        <source>Fehler beim entschlüsseln der gesicherten Datei: %1</source>
        <translation>Error deciphering the stored file: %1</translation>
    </message>
    <message>
        <source>Die Datei %1 konnte nicht heruntergeladen werden. %2</source>
        <translation>The file %1 could not be downloaded. %2</translation>
    </message>
    <message>
        <source>Datei wurde nach %1 heruntergeladen</source>
        <translation>File downloaded to %1</translation>
    </message>
    <message>
        <source>Verzeichnis nicht lesbar: %1</source>
        <translation>directory not readable: %1</translation>
    </message>
    <message>
        <source>nicht auf dem Server</source>
        <translation>not on the server</translation>
    </message>
    <message>
        <source>Datei fehlt oder ist nicht lesbar</source>
        <translation>file is missing or not readable</translation>
    </message>
    <message>
        <source>Ordner nicht anlegbar</source>
        <translation>cannot create folder</translation>
    </message>
    <message>
        <source>ist ein Verzeichnis</source>
        <translation>is a directory</translation>
    </message>
    <message>
        <source>entschlüsseln: %1</source>
        <translation>deciphering: %1</translation>
    </message>
    <message>
        <source>Kein Backup-Pfad. Bitte neu wählen!</source>
        <translation>Not a store path. Please choose again!</translation>
    </message>
    <message>
        <source>Ordner nicht anlegbar: %1</source>
        <translation>Cannot create folder: %1</translation>
    </message>
    <message>
        <source>Neues Zertifikat von %1 gespeichert (SHA-256 %2); ein anderes wird künftig abgelehnt.</source>
        <translation>New certificate of %1 stored (SHA-256 %2); any other one will be refused from now on.</translation>
    </message>
    <message>
        <source>Zertifikat von %1 angenommen (SHA-256 %2), aber nicht gespeichert: %3</source>
        <translation>Certificate of %1 accepted (SHA-256 %2) but not stored: %3</translation>
    </message>
    <message>
        <source>Das Zertifikat von %1 ist nicht das erwartete (SHA-256 erwartet: %2, erhalten: %3). Es wird nicht angemeldet, denn jemand könnte die Verbindung abhören. Hat der Server wirklich ein neues Zertifikat: den Eintrag %1 aus %4 entfernen oder auf der Kommandozeile --trust-certificate %3 angeben.</source>
        <translation>The certificate of %1 is not the one expected (SHA-256 expected: %2, received: %3). Not logging in, for someone could be listening in on the connection. If the server really has a new certificate: remove the entry %1 from %4, or give --trust-certificate %3 on the command line.</translation>
    </message>
    <message>
        <source>Verbindungen, die der Server zugleich annimmt: %1; es geht mit diesen weiter.</source>
        <translation>Connections the server accepts at once: %1; going on with these.</translation>
    </message>
    <message>
        <source>der Server hat %1 s lang nichts gesendet; abgebrochen</source>
        <translation>the server sent nothing for %1 s; given up</translation>
    </message>
    <message>
        <source>Der Uhrenunterschied zum Server ließ sich nicht messen (Timecheck nicht anlegbar); aufgelistete Zeiten können um die Zeitzone des Servers abweichen.</source>
        <translation>The clock difference to the server could not be measured (Timecheck could not be made); listed times may be off by the server&apos;s time zone.</translation>
    </message>
</context>
<context>
    <name>quorbin::app::BackupSetPage</name>
    <message>
        <source>Sicherungs-Set</source>
        <translation>Backup set</translation>
    </message>
    <message>
        <source>Datei:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>Name des Sicherungssets</source>
        <translation>Name of the backup set</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Key f. Verschlüsselung:</source>
        <translation>Encryption key:</translation>
    </message>
    <message>
        <source>Ziel:</source>
        <translation>Target:</translation>
    </message>
    <message>
        <source>FTP-Parameter</source>
        <translation>FTP parameters</translation>
    </message>
    <message>
        <source>FTP-Hostname</source>
        <translation>FTP host name</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>User name</translation>
    </message>
    <message>
        <source>Kennwort</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Verzeichnis</source>
        <translation>Directory</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation>Proxy</translation>
    </message>
    <message>
        <source>Proxy-Port</source>
        <translation>Proxy port</translation>
    </message>
    <message>
        <source>FTP-Basis</source>
        <translation>FTP base</translation>
    </message>
    <message>
        <source>passiv</source>
        <translation>passive</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>Verbindung testen</source>
        <translation>Test connection</translation>
    </message>
    <message>
        <source>Verschlüsselt übertragen</source>
        <translation>Transfer encrypted</translation>
    </message>
    <message>
        <source>Verzeichnisdienst nutzen Port 86 + 87</source>
        <translation>Use the directory service, ports 86 + 87</translation>
    </message>
    <message>
        <source>Ausschluss-Liste</source>
        <translation>Exclusion list</translation>
    </message>
    <message>
        <source>dateien, deren Name oder Pfad mit einem der hier aufgeführten begriffe übereinstimmen, werden nict gesichert.</source>
        <translation>Files whose name or path matches one of the terms listed here are not backed up.</translation>
    </message>
</context>
<context>
    <name>quorbin::app::DirRestorePage</name>
    <message>
        <source>Schritt 1: Auswahl der Datensicherung</source>
        <translation>Step 1: choose the backup</translation>
    </message>
    <message>
        <source>Inhalt der Datensicherung</source>
        <translation>Contents of the backup</translation>
    </message>
    <message>
        <source>2. Schritt: Auswahl des Zielverzeichnisses und der Version</source>
        <translation>Step 2: choose the target directory and the version</translation>
    </message>
    <message>
        <source>Neues Startverzeichnis:</source>
        <translation>New start directory:</translation>
    </message>
    <message>
        <source>Zielverzeichnis auswählen</source>
        <translation>Choose the target directory</translation>
    </message>
    <message>
        <source>3. Schritt: Version die zurückgeladen werden soll</source>
        <translation>Step 3: the version to restore</translation>
    </message>
    <message>
        <source>vor Überschreiben nachfragen</source>
        <translation>ask before overwriting</translation>
    </message>
    <message>
        <source>Zurückladen</source>
        <translation>Restore</translation>
    </message>
</context>
<context>
    <name>quorbin::app::DrivesDialog</name>
    <message>
        <source>Laufwerke</source>
        <translation>Drives</translation>
    </message>
    <message>
        <source>Wo die Laufwerke und Freigaben der Sicherung auf diesem Rechner liegen. Gespeichert in %1.</source>
        <translation>Where the drives and shares of the backup are on this computer. Saved in %1.</translation>
    </message>
    <message>
        <source>Laufwerk</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Ordner auf diesem Rechner</source>
        <translation>Folder on this computer</translation>
    </message>
    <message>
        <source>Ordner wählen…</source>
        <translation>Choose folder…</translation>
    </message>
    <message>
        <source>Hinzufügen</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Entfernen</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>für diesen Lauf durch QUORBIN_DRIVES festgelegt</source>
        <translation>set for this run by QUORBIN_DRIVES</translation>
    </message>
    <message>
        <source>Ordner für %1</source>
        <translation>Folder for %1</translation>
    </message>
    <message>
        <source>Kein Laufwerk (D:) und keine Freigabe (\\Server\Freigabe): %1</source>
        <translation>No drive (D:) and no share (\\Server\Share): %1</translation>
    </message>
    <message>
        <source>Für %1 bitte einen vollständigen Ordner ab / angeben: %2</source>
        <translation>For %1 please give a complete folder from /: %2</translation>
    </message>
    <message>
        <source>Die Laufwerke konnten nicht gespeichert werden: %1</source>
        <translation>The drives could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>quorbin::app::FileRestorePage</name>
    <message>
        <source>Inhalt der Datensicherung</source>
        <translation>Contents of the backup</translation>
    </message>
    <message>
        <source>Links das Verzeichnis wählen, aus dem zurückgesichert werden soll. Rechts die Datei mit rechts anklicken und zurücksichern.</source>
        <translation>On the left, choose the directory to restore from. On the right, right-click the file and restore it.</translation>
    </message>
    <message>
        <source>Versionen der gewählten Datei (neueste zuerst):</source>
        <translation>Versions of the chosen file (newest first):</translation>
    </message>
    <message>
        <source>temp. öffnen</source>
        <translation>open temporarily</translation>
    </message>
    <message>
        <source>wiederherstellen</source>
        <translation>restore</translation>
    </message>
    <message>
        <source>wiederherstellen an anderen Ort</source>
        <translation>restore to another place</translation>
    </message>
    <message>
        <source>alle Dateien|*.*</source>
        <translation>all files|*.*</translation>
    </message>
    <message>
        <source>Zeit einer Version nicht lesbar: %1</source>
        <translation>Time of a version not readable: %1</translation>
    </message>
    <message>
        <source>Datei %1 überschreiben?</source>
        <translation>Overwrite file %1?</translation>
    </message>
    <message>
        <source>Bestätigen</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Bitte zuerst rechts eine Datei auswählen!</source>
        <translation>Please choose a file on the right first!</translation>
    </message>
    <message>
        <source>Kein Backup-Pfad. Bitte neu wählen!</source>
        <translation>Not a store path. Please choose again!</translation>
    </message>
</context>
<context>
    <name>quorbin::app::JobRunner</name>
    <message>
        <source>Unbekannter Fehler</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>quorbin::app::RemotePage</name>
    <message>
        <source>Datei %1 auf dem FTP-Server löschen?</source>
        <translation>Delete file %1 on the FTP server?</translation>
    </message>
    <message>
        <source>Verzeichnis %1 auf dem FTP-Server löschen?</source>
        <translation>Delete directory %1 on the FTP server?</translation>
    </message>
    <message>
        <source>Kein Verzeichnis unter dem Basispfad: %1</source>
        <translation>No directory below the base path: %1</translation>
    </message>
    <message>
        <source>Kein Backup-Pfad. Bitte neu wählen!</source>
        <translation>Not a store path. Please choose again!</translation>
    </message>
    <message>
        <source>FTP-Verbindung herstellen</source>
        <translation>Connect to FTP</translation>
    </message>
    <message>
        <source>FTP-Verbindung trennen</source>
        <translation>Disconnect FTP</translation>
    </message>
    <message>
        <source>FTP-Verzeichnis</source>
        <translation>FTP directory</translation>
    </message>
    <message>
        <source>Verzeichnis wiederherstellen…</source>
        <translation>Restore directory…</translation>
    </message>
    <message>
        <source>Verzeichnis löschen</source>
        <translation>Delete directory</translation>
    </message>
    <message>
        <source>diese Datei herunterladen</source>
        <translation>download this file</translation>
    </message>
    <message>
        <source>diese datei herunterladen und temp. öffnen</source>
        <translation>download this file and open it temporarily</translation>
    </message>
    <message>
        <source>löschen</source>
        <translation>delete</translation>
    </message>
</context>
<context>
    <name>quorbin::app::RemoteTreeDialog</name>
    <message>
        <source>Verzeichnis wiederherstellen</source>
        <translation>Restore directory</translation>
    </message>
    <message>
        <source>FTP-Verzeichnis: %1</source>
        <translation>FTP directory: %1</translation>
    </message>
    <message>
        <source>Neues Startverzeichnis:</source>
        <translation>New start directory:</translation>
    </message>
    <message>
        <source>Zielverzeichnis auswählen</source>
        <translation>Choose the target directory</translation>
    </message>
</context>
<context>
    <name>quorbin::app::StoreCheckResults</name>
    <message>
        <source>Sicherung prüfen</source>
        <translation>Check backup</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Ursache</source>
        <translation>Cause</translation>
    </message>
</context>
<context>
    <name>quorbin::app::StoredFileList</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Grösse</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Versionen</source>
        <translation>Versions</translation>
    </message>
    <message>
        <source>Zeit nicht lesbar</source>
        <translation>time not readable</translation>
    </message>
</context>
<context>
    <name>quorbin::app::TExplF</name>
    <message>
        <source>Quorbin DoubleKlick</source>
        <translation>Quorbin double-click</translation>
    </message>
    <message>
        <source>Key f. Verschlüsselung:</source>
        <translation>Encryption key:</translation>
    </message>
    <message>
        <source>Datei Temp. Öffnen</source>
        <translation>Open File Temporarily</translation>
    </message>
    <message>
        <source>Datei wiederherstellen nach ...</source>
        <translation>Restore File To ...</translation>
    </message>
    <message>
        <source>abbrechen</source>
        <translation>cancel</translation>
    </message>
    <message>
        <source>alle Dateien|*.*</source>
        <translation>all files|*.*</translation>
    </message>
</context>
<context>
    <name>quorbin::app::Tquorbin</name>
    <message>
        <source>Es läuft bereits eine Aktion. Bitte warten oder &quot;Aktion abbrechen&quot; wählen.</source>
        <translation>An action is already running. Please wait or choose &quot;Cancel action&quot;.</translation>
    </message>
    <message>
        <source>quorbin Wiederherstellen</source>
        <translation>quorbin Restore</translation>
    </message>
    <message>
        <source>Sichern</source>
        <translation>Back up</translation>
    </message>
    <message>
        <source>Datei wiederh.</source>
        <translation>Restore file</translation>
    </message>
    <message>
        <source>Verzeichn. wiederh.</source>
        <translation>Restore dir.</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>FTP-Ütra</source>
        <translation>FTP transfer</translation>
    </message>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>ö&amp;ffnen</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Sicherung &amp;prüfen</source>
        <translation>&amp;Check backup</translation>
    </message>
    <message>
        <source>&amp;Laufwerke…</source>
        <translation>&amp;Drives…</translation>
    </message>
    <message>
        <source>Shutdown und &amp;beenden</source>
        <translation>Shut down and &amp;quit</translation>
    </message>
    <message>
        <source>&amp;Aktion abbrechen</source>
        <translation>&amp;Cancel action</translation>
    </message>
    <message>
        <source>Das Ziel der Sicherung ist hier nicht erreichbar: %1
Freigabe %2 liegt auf diesem Rechner in %3, dort fehlt %4.

Laufwerke jetzt zuordnen?</source>
        <translation>The target of the backup cannot be reached here: %1
Share %2 is at %3 on this computer, and %4 is missing there.

Map the drives now?</translation>
    </message>
    <message>
        <source>Das Ziel der Sicherung ist hier nicht erreichbar: %1
Laufwerk %2 liegt auf diesem Rechner in %3, dort fehlt %4.

Laufwerke jetzt zuordnen?</source>
        <translation>The target of the backup cannot be reached here: %1
Drive %2 is at %3 on this computer, and %4 is missing there.

Map the drives now?</translation>
    </message>
    <message>
        <source>Ziel nicht erreichbar</source>
        <translation>Target not reachable</translation>
    </message>
    <message>
        <source>Datensicherungs-Sets (*.set)|*.set</source>
        <translation>Backup sets (*.set)|*.set</translation>
    </message>
    <message>
        <source>Sicherungs-Einstellungen</source>
        <translation>Backup settings</translation>
    </message>
    <message>
        <source>einzelne Datei wiederherstellen</source>
        <translation>restore a single file</translation>
    </message>
    <message>
        <source>Verzeichnisse wiederherstellen</source>
        <translation>restore directories</translation>
    </message>
    <message>
        <source>Log ansehen</source>
        <translation>view the log</translation>
    </message>
    <message>
        <source>Verbindung zum FTP-Verzeichnis </source>
        <translation>connection to the FTP directory </translation>
    </message>
</context>
<context>
    <name>quorbin::app::VersionList</name>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Grösse</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>gespeichert als</source>
        <translation>stored as</translation>
    </message>
</context>
</TS>
