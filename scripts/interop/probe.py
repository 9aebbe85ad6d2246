#!/usr/bin/env python3
"""What an FTP server says, for the record of scripts/interop.sh: greeting, AUTH TLS, login,
SYST, FEAT, PWD, OPTS UTF8, LIST lines, an MLSD attempt, MDTM, SIZE, a REST resume, and, with
--limit N, only what the connection past N from one address gets.

  probe.py PORT USER PASSWORD [--tls] [--limit N] [--file FILE] DIR...
      DIR and FILE relative to the login folder; the first DIR is also asked for MLSD, FILE
      (some KiB at least) for MDTM, SIZE and a RETR after REST 100
"""
import argparse
import ftplib
import ssl
import sys

HOST = "127.0.0.1"


def shown(text):
    # The control and data connections are read as Latin-1, so each byte stays one character;
    # shown as UTF-8 where the bytes are UTF-8, escaped otherwise.
    try:
        raw = text.encode("latin-1")
    except UnicodeEncodeError:
        return text  # not from the wire
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("utf-8", "backslashreplace") + "   [not UTF-8]"


def wire(name):
    return name.encode("utf-8").decode("latin-1")


class ReusingTls(ftplib.FTP_TLS):
    """FTP_TLS that resumes the control connection's TLS session on each data connection,
    which vsftpd and ProFTPD require by default."""

    def ntransfercmd(self, cmd, rest=None):
        conn, size = ftplib.FTP.ntransfercmd(self, cmd, rest)
        if self._prot_p:
            conn = self.context.wrap_socket(conn, server_hostname=self.host, session=self.sock.session)
        return conn, size


def context():
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
    ctx.check_hostname = False
    ctx.verify_mode = ssl.CERT_NONE
    return ctx


def say(out, label, text):
    lines = str(text).splitlines() or [""]
    out.append("%-10s %s" % (label, shown(lines[0])))
    for line in lines[1:]:
        out.append("%-10s %s" % ("", shown(line)))


def command_reply(ftp, line):
    try:
        return ftp.sendcmd(line)
    except ftplib.Error as e:
        return str(e)


def command(ftp, out, line):
    reply = command_reply(ftp, line)
    say(out, line.split()[0], reply)
    return reply


def connect(args, out, tls):
    if tls:
        ftp = ReusingTls(context=context(), encoding="latin-1", timeout=10)
    else:
        ftp = ftplib.FTP(encoding="latin-1", timeout=10)
    say(out, "greeting", ftp.connect(HOST, args.port))
    if tls:
        say(out, "AUTH TLS", ftp.auth())
        say(out, "TLS", "%s %s; server certificate (unchecked): %d bytes DER"
            % (ftp.sock.version(), ftp.sock.cipher()[0], len(ftp.sock.getpeercert(binary_form=True) or b"")))
    try:
        say(out, "login", ftp.login(args.user, args.password))
    except ftplib.Error as e:
        say(out, "login", e)
        raise
    if tls:
        say(out, "PBSZ/PROT", ftp.prot_p())
    return ftp


def listing(ftp, out, path):
    lines = []
    try:
        ftp.retrlines("LIST " + wire(path), lines.append)
        say(out, "LIST", "%s (%d lines)" % (wire(path), len(lines)))
    except (ftplib.Error, OSError) as e:
        say(out, "LIST", "%s: %s" % (wire(path), e))
    for line in lines:
        out.append("    | " + shown(line))


def main_session(args, out):
    ftp = connect(args, out, args.tls)
    command(ftp, out, "SYST")
    command(ftp, out, "FEAT")
    command(ftp, out, "PWD")
    command(ftp, out, "OPTS UTF8 ON")
    command(ftp, out, "TYPE I")
    for path in args.dirs:
        listing(ftp, out, path)
    first = args.dirs[0]
    try:
        mlsd = []
        ftp.retrlines("MLSD " + wire(first), mlsd.append)
        say(out, "MLSD", "%d lines, e.g. %s" % (len(mlsd), mlsd[0] if mlsd else ""))
    except (ftplib.Error, OSError) as e:
        say(out, "MLSD", e)
    if args.file:
        name = args.file
        command(ftp, out, "MDTM " + wire(name))
        # right after a listing the type is still A: some servers refuse SIZE then
        say(out, "SIZE in A", command_reply(ftp, "SIZE " + wire(name)))
        ftp.voidcmd("TYPE I")
        size = command(ftp, out, "SIZE " + wire(name))
        try:
            got = []
            ftp.retrbinary("RETR " + wire(name), got.append, rest=100)
            total = sum(len(b) for b in got)
            verdict = ""
            if size.startswith("213 "):
                whole = int(size.split()[1])
                verdict = " (the rest of %d: %s)" % (whole, "right" if total == whole - 100 else "WRONG")
            say(out, "REST 100", "RETR after REST 100 gave %d bytes%s" % (total, verdict))
        except (ftplib.Error, OSError) as e:
            say(out, "REST 100", e)
    try:
        say(out, "QUIT", ftp.quit())
    except (ftplib.Error, OSError) as e:
        say(out, "QUIT", e)


def plain_attempt(args, out):
    """What a client that does not ask for TLS (or whose AUTH is refused) sees."""
    ftp = ftplib.FTP(encoding="latin-1", timeout=10)
    try:
        ftp.connect(HOST, args.port)
        if not args.tls:
            command(ftp, out, "AUTH TLS")
        try:
            say(out, "plain login", ftp.login(args.user, args.password))
        except ftplib.Error as e:
            say(out, "plain login", e)
        ftp.close()
    except (ftplib.Error, OSError) as e:
        say(out, "plain", e)


def limit_attempt(args, out):
    """Connections held open one after the other until one is refused, with the step that
    refused it: the greeting, USER or PASS."""
    held = []
    try:
        for n in range(1, args.limit + 3):
            ftp = ReusingTls(context=context(), encoding="latin-1", timeout=10) if args.tls else \
                ftplib.FTP(encoding="latin-1", timeout=10)
            step = "greeting"
            try:
                ftp.connect(HOST, args.port)
                if args.tls:
                    step = "AUTH TLS"
                    ftp.auth()
                step = "USER"
                ftp.sendcmd("USER " + args.user)
                step = "PASS"
                reply = ftp.sendcmd("PASS " + args.password)
                say(out, "conn %d" % n, "logged in: " + reply.splitlines()[-1])
                held.append(ftp)
            except (ftplib.Error, OSError, EOFError) as e:
                say(out, "conn %d" % n, "refused at %s: %s" % (step, str(e) or type(e).__name__))
                ftp.close()
                break
    finally:
        for ftp in held:
            try:
                ftp.quit()
            except (ftplib.Error, OSError):
                ftp.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("user")
    parser.add_argument("password")
    parser.add_argument("dirs", nargs="+")
    parser.add_argument("--tls", action="store_true")
    parser.add_argument("--limit", type=int, default=0)
    parser.add_argument("--file")
    args = parser.parse_args()
    out = []
    status = 0
    if args.limit:
        out.append("-- connections from one address, limit %d" % args.limit)
        limit_attempt(args, out)
        sys.stdout.write("\n".join(out) + "\n")
        return status
    try:
        main_session(args, out)
    except (ftplib.Error, OSError, EOFError) as e:
        say(out, "error", "%s: %s" % (type(e).__name__, e))
        status = 1
    out.append("-- a login without TLS" if args.tls else "-- AUTH TLS on the plain server")
    plain_attempt(args, out)
    sys.stdout.write("\n".join(out) + "\n")
    return status


if __name__ == "__main__":
    sys.exit(main())
