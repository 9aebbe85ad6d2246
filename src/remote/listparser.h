#pragma once
// Reading a plain LIST reply, for servers without MLSD (vsftpd's default set-up and many
// others). Two forms are understood: the Unix "ls -l" form and the DOS form of IIS.
#include "remote/ftpentry.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <optional>

namespace quorbin {

// The entries of a LIST reply, in listing order; "total N" lines and lines of no known form
// are skipped. Nothing when the reply has lines but none of them is understood.
//
// Unix form: "-rw-r--r-- 1 owner group 1536 Apr 19 14:03 name". The name is everything after
// the blank that follows the time, blanks included; a link "a -> b" is named "a" and counts as
// a file unless its target ends in "/", the one sign of a directory that the line gives. The
// time is read as UTC, as vsftpd, ProFTPD and pyftpdlib write it by default; "Apr 19 14:03"
// lies in the year of `now`, or the year before when that would be more than a day ahead of
// `now` (a day for clocks and zones that differ); "Apr 19  2018" gives the day only.
//
// DOS form: "04-19-18  02:03PM  <DIR>  name" or "… 1536 name", with two- or four-digit years
// and 12- or 24-hour times, read as local time, as IIS writes the server's own.
std::optional<QList<FtpListEntry>> ParseList(const QByteArray& body, const QDateTime& now);

}  // namespace quorbin
