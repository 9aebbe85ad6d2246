#!/usr/bin/env python3
"""The test data of scripts/interop.sh, written the way the backup program writes its store.

  mirror.py write BASE EXPECTED PLAIN KEY   the mirror below BASE (Set1/C$/..., Set1/D$/...);
                                            EXPECTED: the tree a newest-version restore of
                                            Set1/C$ gives; PLAIN: each version's content under
                                            its stored path
  mirror.py set FILE PORT USER PASSWORD BASIS KEY ZIEL
                                            a backup-set file (Windows-1252, CR LF)
  mirror.py check-ls LISTING DIR            compares the lines of `ftp ls` with the folder DIR
  mirror.py check-tree EXPECTED OUT         the same files, bytes and modification times
"""
import os
import random
import sys
import time
import zlib
from datetime import datetime

# Every version's time at a fixed minute of a whole day, far from midnight, so that the day a
# listing shows does not hang on a server's time zone; the old ones are more than six months
# back, where an `ls -l` listing gives the year instead of the time. Some lie in summer time,
# some in winter time.
DAY = 86400


def recent(days_ago, hour, minute):
    day = datetime.fromtimestamp(time.time() - days_ago * DAY)
    return datetime(day.year, day.month, day.day, hour, minute).timestamp()


def old(year, month, day, hour=12, minute=0):
    return datetime(year, month, day, hour, minute).timestamp()


def offset(stamp):
    return datetime.fromtimestamp(stamp).astimezone().utcoffset()


def other_offset(hour, minute):
    """A recent day (within five months, so listed with its time) whose UTC offset is not
    today's: a server that lists in UTC then needs that day's offset, not today's."""
    today = offset(time.time())
    for days_ago in range(20, 150, 5):
        stamp = recent(days_ago, hour, minute)
        if offset(stamp) != today:
            return stamp
    return recent(100, hour, minute)  # a zone without daylight saving time


def text(seed, size):
    words = ("Angebot Rechnung Brief an die Bank, Datum 19.04.2018; Summe 1500 EUR. "
             "Grüße aus dem Büro, Maß und Übersicht.\r\n").encode("utf-8")
    rng = random.Random(seed)
    out = bytearray()
    while len(out) < size:
        start = rng.randrange(len(words))
        out += words[start:] + str(rng.randrange(10**6)).encode()
    return bytes(out[:size])


def mixed(seed, size):
    # Half noise, half text: the container stays a few MiB and still inflates for real.
    rng = random.Random(seed)
    half = size // 2
    return rng.randbytes(half) + text(seed, size - half)


# stored path below BASE -> (content, mtime); several versions of a name side by side.
def files():
    brief = [text(11, 30_000), text(12, 31_000), text(13, 32_500)]
    bericht = [text(21, 5_000), text(22, 6_000), text(23, 7_000)]
    return {
        "Set1/C$/Docs/Brief¯an¯Bank.docx.00001.nxz": (brief[0], recent(40, 9, 15)),
        "Set1/C$/Docs/Brief¯an¯Bank.docx.00002.nxz": (brief[1], recent(12, 12, 30)),
        "Set1/C$/Docs/Brief¯an¯Bank.docx.00003.nxz": (brief[2], recent(3, 15, 45)),
        "Set1/C$/Docs/notiz.txt.00001.nxz": (b"1\r\n", recent(5, 10, 5)),
        "Set1/C$/Docs/leer.txt.00001.nxz": (b"", recent(6, 11, 11)),
        "Set1/C$/Docs/Büro/Grüße¯an¯Jörg.txt.00001.nxz": (text(31, 2_000), recent(8, 14, 20)),
        "Set1/C$/Docs/Büro/Übersicht.csv.00001.nxz": (text(32, 9_000), recent(9, 8, 40)),
        "Set1/C$/Docs/Reise.txt.00001.nxz": (text(35, 4_000), other_offset(14, 10)),
        "Set1/C$/Docs/Archiv/alt.pdf.00001.nxz": (mixed(41, 120_000), old(2025, 3, 3)),
        "Set1/C$/Docs/Archiv/Steuer.pdf.00001.nxz": (mixed(42, 40_000), old(2025, 7, 15, 10, 20)),
        "Set1/C$/Docs/Archiv/Bericht.odt.00001.nxz": (bericht[0], old(2024, 11, 5, 9, 0)),
        "Set1/C$/Docs/Archiv/Bericht.odt.00002.nxz": (bericht[1], old(2025, 1, 14, 10, 0)),
        "Set1/C$/Docs/Archiv/Bericht.odt.00003.nxz": (bericht[2], old(2025, 3, 3, 16, 30)),
        "Set1/C$/Daten/gross.bin.00001.nxz": (mixed(51, 6 * 1024 * 1024), recent(2, 18, 0)),
        "Set1/C$/Daten/tief/a/b/c.txt.00001.nxz": (text(61, 700), recent(20, 7, 7)),
    }


# A container cut in half: a verify of its folder must fail and name it.
DAMAGED = "Set1/D$/Kaputt/defekt.txt.00001.nxz"


def key_bytes(key):
    # One byte per UTF-16 code unit: its low eight bits.
    units = key.encode("utf-16-le")
    return bytes(units[i] for i in range(0, len(units), 2))


def encipher(data, key):
    keyb = key_bytes(key)
    if not keyb:
        return data
    out = bytearray(data)
    length = len(keyb)
    for phase, k in enumerate(keyb):
        table = bytes((b + k) & 0xFF for b in range(256))
        out[phase::length] = out[phase::length].translate(table)
    return bytes(out)


def container(content, key):
    return encipher(zlib.compress(content, 6), key)


def write_file(path, data, mtime=None):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    if mtime is not None:
        os.utime(path, (mtime, mtime))


def original_name(stored):
    # "Brief¯an¯Bank.docx.00003.nxz" -> "Brief an Bank.docx"
    base = stored[: -len(".00001.nxz")]
    return base.replace("¯", " ")


def write(base, expected, plain, key):
    newest = {}
    for stored, (content, mtime) in files().items():
        write_file(os.path.join(base, stored), container(content, key), mtime)
        write_file(os.path.join(plain, stored), content)
        folder, name = os.path.split(stored)
        original = os.path.join(folder, original_name(name))
        if original not in newest or newest[original][1] < mtime:
            newest[original] = (content, mtime)
    prefix = "Set1/C$/"
    for original, (content, mtime) in newest.items():
        write_file(os.path.join(expected, original[len(prefix):]), content, mtime)
    damaged = container(text(71, 50_000), key)
    write_file(os.path.join(base, DAMAGED), damaged[: len(damaged) // 2], recent(4, 13, 0))


def write_set(path, port, user, password, basis, key, ziel):
    lines = [
        "[Ziel]", "Ziel=" + ziel,
        "[FTP]", "ftp=1", "ftphost=127.0.0.1", "PORT=" + port, "ftpusername=" + user,
        "ftppassw=" + password, "Passive=1", "Basis=" + basis, "verzeichnis=Set1",
        "[SCHLÜSSEL]", "SCHLÜSSEL=" + key,
    ]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))


def check_ls(listing, folder):
    """Each entry of FOLDER once, with its kind, its size (files) and its local day."""
    problems = []
    seen = {}
    with open(listing, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            parts = line.split("\t")
            if len(parts) != 4:
                problems.append("not 4 fields: %r" % line)
                continue
            seen[parts[0]] = parts
    names = sorted(os.listdir(folder))
    for name in names:
        path = os.path.join(folder, name)
        if name not in seen:
            problems.append("missing: %s" % name)
            continue
        _, kind, size, when = seen.pop(name)
        is_dir = os.path.isdir(path)
        if kind != ("dir" if is_dir else "file"):
            problems.append("%s: kind %s" % (name, kind))
        if not is_dir and size != str(os.path.getsize(path)):
            problems.append("%s: size %s, on disk %d" % (name, size, os.path.getsize(path)))
        if not is_dir:
            # A listing with a time gives the minute, one with a year the day.
            stamp = datetime.fromtimestamp(os.path.getmtime(path))
            want = stamp.strftime("%Y-%m-%dT%H:%M") if "T" in when else stamp.strftime("%Y-%m-%d")
            if not when.startswith(want):
                problems.append("%s: time %r, on disk %s" % (name, when, stamp.strftime("%Y-%m-%dT%H:%M:%S")))
    for name in seen:
        problems.append("not on disk: %s" % name)
    for p in problems:
        print(p)
    return 1 if problems else 0


def tree(root):
    found = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            found[os.path.relpath(path, root)] = path
    return found


def check_tree(expected, out):
    """Every expected file with its bytes and its version's time (to the second), nothing else."""
    problems = []
    want = tree(expected)
    have = tree(out) if os.path.isdir(out) else {}
    for rel in sorted(set(want) - set(have)):
        problems.append("missing: " + rel)
    for rel in sorted(set(have) - set(want)):
        problems.append("not expected: " + rel)
    for rel in sorted(set(want) & set(have)):
        with open(want[rel], "rb") as a, open(have[rel], "rb") as b:
            if a.read() != b.read():
                problems.append("content differs: " + rel)
                continue
        w, h = os.path.getmtime(want[rel]), os.path.getmtime(have[rel])
        if abs(w - h) >= 1:
            problems.append("%s: time %s, version's %s" % (
                rel, datetime.fromtimestamp(h).strftime("%Y-%m-%d %H:%M:%S"),
                datetime.fromtimestamp(w).strftime("%Y-%m-%d %H:%M:%S")))
    for p in problems:
        print(p)
    return 1 if problems else 0


def main(argv):
    if len(argv) >= 2 and argv[1] == "write" and len(argv) == 6:
        write(*argv[2:6])
        return 0
    if len(argv) >= 2 and argv[1] == "set" and len(argv) == 9:
        write_set(*argv[2:9])
        return 0
    if len(argv) >= 2 and argv[1] == "check-ls" and len(argv) == 4:
        return check_ls(argv[2], argv[3])
    if len(argv) >= 2 and argv[1] == "check-tree" and len(argv) == 4:
        return check_tree(argv[2], argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
