#!/usr/bin/env bash
# Runs `quorbin-restore ftp` (ls, get, dir, verify) against real FTP servers, as Debian ships
# them: vsftpd, pure-ftpd and ProFTPD, each on 127.0.0.1 at a free port with a configuration of
# its own, plain and with explicit TLS (a self-signed certificate made here), logged in as an
# ordinary account that is not chrooted, so that PWD answers its home folder. The mirror lies
# in "backup" below that folder; the backup set names it as Basis=backup (and backup/).
# ProFTPD is told not to announce MLSD, vsftpd has none: both are read through LIST.
# In plain mode one more ls asks for TLS, as quorbin.ini does by default: the session must go
# on unencrypted, with a warning. One more run per server allows two connections per address
# and restores with --jobs 4.
#
#   sudo bash scripts/interop.sh [--bin PATH] [--build] [--only vsftpd|pure-ftpd|proftpd] [--keep]
#                                [--tz ZONE]
#
#   --bin PATH   the quorbin-restore to test (default build/src/cli/quorbin-restore; built with
#                scripts/build.sh when missing)
#   --build      build first (scripts/build.sh)
#   --only NAME  one server only
#   --keep       keep the run folder (mirror, configurations, logs) even when all passed
#   --tz ZONE    the time zone of the servers and of quorbin (default Europe/Berlin, where the
#                users live; ProFTPD lists in UTC all the same, as Debian configures it)
#
# Needs root: it adds a throwaway user for the servers' logins and, for vsftpd, a PAM service
# file; both go at the end. The servers' packages conflict with each other, so they are not
# installed: `apt-get download` fetches them (and the libraries they need that the machine
# lacks) into build-interop/servers/, and they run from there. It takes a minute or two; it
# prints what each server said (FEAT, PWD, LIST lines, limits), then a table server × mode ×
# command and, for each failure, the command, its exit status and the tail of its output.
# Exit status 1 when any cell failed. Nothing but 127.0.0.1 is contacted.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
HERE=$ROOT/scripts/interop
PRIVATE=$ROOT/build-interop
SERVERS=$PRIVATE/servers
PY=/usr/bin/python3
USER_NAME=quorbin-iop
USER_MARK="quorbin interop.sh throwaway account"
PASSWORD="Iop-$RANDOM-$RANDOM"
KEY="Zwölf-Zeiche"
PAM_SERVICE="quorbin-interop-$$"
PAM_MARK="# made by quorbin scripts/interop.sh, removed at its end"

BIN=""
BUILD=0
ONLY=""
KEEP=0
ZONE=Europe/Berlin
while [ $# -gt 0 ]; do
  case "$1" in
    --bin) BIN=$2; shift 2 ;;
    --build) BUILD=1; shift ;;
    --only) ONLY=$2; shift 2
      case "$ONLY" in vsftpd|pure-ftpd|proftpd) ;; *) echo "--only vsftpd, pure-ftpd or proftpd" >&2; exit 2 ;; esac ;;
    --keep) KEEP=1; shift ;;
    --tz) ZONE=$2; shift 2 ;;
    -h|--help) sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
  esac
done

say() { printf '%s\n' "$*" >&2; }
die() { say "interop: $*"; FAILED=2; exit 2; }

[ "$(id -u)" -eq 0 ] || die "run as root (it adds a throwaway user and a PAM service file)"
export TZ=$ZONE

# ---------------------------------------------------------------------------------------------
# Tools, the program under test, the servers

install_tools() {
  local missing=() p
  for p in python3 openssl passwd libpam-modules tzdata; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  say "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

program() {
  if [ -z "$BIN" ]; then
    BIN=$ROOT/build/src/cli/quorbin-restore
    if [ "$BUILD" = 1 ] || [ ! -x "$BIN" ]; then
      say "building quorbin (scripts/build.sh)"
      bash "$ROOT/scripts/build.sh" || die "the build failed"
    fi
  elif [ "$BUILD" = 1 ]; then
    bash "$ROOT/scripts/build.sh" || die "the build failed"
  fi
  [ -x "$BIN" ] || die "no program at $BIN"
  # A copy: the build folder may be rebuilt while this runs.
  mkdir -p "$RUN/bin"
  cp "$BIN" "$RUN/bin/quorbin-restore"
  Q=$RUN/bin/quorbin-restore
}

# The servers and the libraries that they need beyond a fresh machine of this kind.
SERVER_PACKAGES=(vsftpd pure-ftpd proftpd-core proftpd-mod-crypto)
LIBRARY_PACKAGES=(libwrap0 libpcre2-posix3 libhashkit2 libhiredis0.14 libmemcached11 libmemcachedutil2 libsodium23)

fetch_servers() {
  local stamp="${SERVER_PACKAGES[*]} ${LIBRARY_PACKAGES[*]}"
  if [ -f "$SERVERS/.unpacked" ] && [ "$(cat "$SERVERS/.unpacked")" = "$stamp" ]; then
    return
  fi
  say "fetching the servers' packages into $SERVERS"
  rm -rf "$SERVERS"
  mkdir -p "$SERVERS/debs" "$SERVERS/root"
  # apt's download user must be able to write there
  chmod 777 "$SERVERS/debs"
  if ! (cd "$SERVERS/debs" && apt-get download -qq "${SERVER_PACKAGES[@]}" "${LIBRARY_PACKAGES[@]}" 2>/dev/null); then
    apt-get update -qq
    (cd "$SERVERS/debs" && apt-get download -qq "${SERVER_PACKAGES[@]}" "${LIBRARY_PACKAGES[@]}") ||
      die "apt-get download failed"
  fi
  local deb
  for deb in "$SERVERS"/debs/*.deb; do
    dpkg-deb -x "$deb" "$SERVERS/root" || die "cannot unpack $deb"
  done
  echo "$stamp" >"$SERVERS/.unpacked"
}

server_libs() { echo "$SERVERS/root/usr/lib/x86_64-linux-gnu"; }

check_servers() {
  local binary missing=""
  for binary in usr/sbin/vsftpd usr/sbin/pure-ftpd usr/sbin/proftpd usr/lib/proftpd/mod_tls.so; do
    missing+=$(LD_LIBRARY_PATH=$(server_libs) ldd "$SERVERS/root/$binary" 2>&1 | grep 'not found' | sed "s|^|$binary: |")
  done
  [ -z "$missing" ] || die "libraries missing for the unpacked servers:"$'\n'"$missing"
  say "servers: $(dpkg-deb -f "$SERVERS"/debs/vsftpd_*.deb Version) vsftpd," \
      "$(dpkg-deb -f "$SERVERS"/debs/pure-ftpd_*.deb Version) pure-ftpd," \
      "$(dpkg-deb -f "$SERVERS"/debs/proftpd-core_*.deb Version) ProFTPD"
}

# ---------------------------------------------------------------------------------------------
# The run folder, the account, the data, the certificate; all undone by cleanup

SERVER_PGIDS=()

cleanup() {
  local pgid pid
  for pgid in "${SERVER_PGIDS[@]}"; do
    kill -TERM -- "-$pgid" 2>/dev/null
  done
  sleep 0.3
  for pgid in "${SERVER_PGIDS[@]}"; do
    kill -KILL -- "-$pgid" 2>/dev/null
  done
  if getent passwd "$USER_NAME" >/dev/null; then
    # sessions that a server forked off its own group
    for pid in $(pgrep -u "$USER_NAME" 2>/dev/null); do kill -KILL "$pid" 2>/dev/null; done
    userdel "$USER_NAME" 2>/dev/null
  fi
  rm -f "/etc/pam.d/$PAM_SERVICE"
  if [ -n "${RUN:-}" ] && [ -d "$RUN" ]; then
    if [ "$KEEP" = 1 ] || [ "${FAILED:-1}" != 0 ]; then
      say "run folder kept (mirror, configurations, logs of each command and server): $RUN"
    else
      rm -rf "$RUN"
    fi
  fi
}

# What an earlier run that was killed left behind, recognised by its marks.
remove_leftovers() {
  local f
  if getent passwd "$USER_NAME" >/dev/null; then
    [ "$(getent passwd "$USER_NAME" | cut -d: -f5)" = "$USER_MARK" ] ||
      die "a user $USER_NAME exists that this script did not make"
    userdel "$USER_NAME" || die "cannot remove the leftover user $USER_NAME (still running servers?)"
  fi
  for f in /etc/pam.d/quorbin-interop-*; do
    [ -f "$f" ] && head -1 "$f" | grep -qxF "$PAM_MARK" && rm -f "$f"
  done
}

make_account() {
  HOMEDIR=$RUN/home/anna
  mkdir -p "$HOMEDIR"
  useradd -M -d "$HOMEDIR" -s /bin/sh -c "$USER_MARK" "$USER_NAME" || die "useradd failed"
  echo "$USER_NAME:$PASSWORD" | chpasswd || die "chpasswd failed"
  printf '%s\nauth required pam_unix.so\naccount required pam_unix.so\nsession required pam_permit.so\n' \
    "$PAM_MARK" >"/etc/pam.d/$PAM_SERVICE"
}

make_data() {
  BASE=$HOMEDIR/backup
  EXPECTED=$RUN/expected
  PLAIN=$RUN/plain
  "$PY" "$HERE/mirror.py" write "$BASE" "$EXPECTED" "$PLAIN" "$KEY" || die "cannot write the mirror"
  chown -R "$USER_NAME:" "$HOMEDIR"
  chmod 755 "$RUN" "$RUN/home"
  mkdir -p "$RUN/tls"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=127.0.0.1" \
    -keyout "$RUN/tls/key.pem" -out "$RUN/tls/cert.pem" 2>/dev/null || die "openssl failed"
  cat "$RUN/tls/key.pem" "$RUN/tls/cert.pem" >"$RUN/tls/both.pem"
  chmod 600 "$RUN/tls/"*.pem
}

# quorbin's own folders, none of the user's: HOME, XDG folders, TMPDIR, quorbin.ini. MODE plain
# turns TLS off in quorbin.ini, tls and asked turn it on (as it is without quorbin.ini).
quorbin_env() {
  local mode=$1
  QHOME=$RUN/q/$mode
  mkdir -p "$QHOME/home" "$QHOME/config" "$QHOME/data" "$QHOME/tmp" "$QHOME/win" "$RUN/ziel"
  printf '[MF]\r\nMITSSL=%s\r\nMITVZ=0\r\n' "$([ "$mode" = plain ] && echo 0 || echo 1)" >"$QHOME/win/quorbin.ini"
  QENV=(env HOME="$QHOME/home" XDG_CONFIG_HOME="$QHOME/config" XDG_DATA_HOME="$QHOME/data"
        TMPDIR="$QHOME/tmp" QUORBIN_WINDIR="$QHOME/win" LANG=C.UTF-8 LC_ALL=C.UTF-8)
}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# ---------------------------------------------------------------------------------------------
# The servers: start_SERVER MODE LIMIT writes its configuration and starts it on $PORT

free_port() {
  "$PY" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Runs "$@" in a process group of its own (so that its sessions go with it), logging to $1.
launch() {
  local log=$1; shift
  setsid "$@" >"$log" 2>&1 </dev/null &
  SERVER_PID=$!
  SERVER_PGIDS+=("$SERVER_PID")
}

wait_port() {
  local i
  for i in $(seq 1 50); do
    if "$PY" -c "import socket,sys; socket.create_connection(('127.0.0.1', $PORT), 1).close()" 2>/dev/null; then
      return 0
    fi
    kill -0 "$SERVER_PID" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

stop_server() {
  kill -TERM -- "-$SERVER_PID" 2>/dev/null
  local i
  for i in $(seq 1 25); do
    kill -0 "$SERVER_PID" 2>/dev/null || break
    sleep 0.2
  done
  kill -KILL -- "-$SERVER_PID" 2>/dev/null
  wait "$SERVER_PID" 2>/dev/null
  local kept=()
  for pgid in "${SERVER_PGIDS[@]}"; do [ "$pgid" = "$SERVER_PID" ] || kept+=("$pgid"); done
  SERVER_PGIDS=("${kept[@]}")
}

start_vsftpd() {
  local mode=$1 limit=$2 conf=$RUN/conf/vsftpd-$1-$2.conf
  mkdir -p "$RUN/conf" "$RUN/vsftpd-empty"
  cat >"$conf" <<EOF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$PORT
background=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
chroot_local_user=NO
use_localtime=YES
pam_service_name=$PAM_SERVICE
secure_chroot_dir=$RUN/vsftpd-empty
seccomp_sandbox=NO
xferlog_enable=YES
log_ftp_protocol=YES
vsftpd_log_file=$LOGS/$ROW.server.log
EOF
  [ "$limit" = 0 ] || echo "max_per_ip=$limit" >>"$conf"
  if [ "$mode" = tls ]; then
    cat >>"$conf" <<EOF
ssl_enable=YES
rsa_cert_file=$RUN/tls/cert.pem
rsa_private_key_file=$RUN/tls/key.pem
allow_anon_ssl=NO
force_local_logins_ssl=YES
force_local_data_ssl=YES
EOF
  fi
  launch "$LOGS/$ROW.server.out" env LD_LIBRARY_PATH="$(server_libs)" "$SERVERS/root/usr/sbin/vsftpd" "$conf"
}

start_pure-ftpd() {
  local mode=$1 limit=$2 args
  # unix logins (the throwaway account), no anonymous, no chroot (no -A), IPv4, no DNS
  args=(-S "127.0.0.1,$PORT" -l unix -E -H -4 -g "$RUN/pure-ftpd.pid")
  [ "$limit" = 0 ] || args+=(-C "$limit")
  if [ "$mode" = tls ]; then
    args+=(-Y 3 -2 "$RUN/tls/both.pem")
  else
    args+=(-Y 0)
  fi
  echo "pure-ftpd ${args[*]}" >"$LOGS/$ROW.server.args"
  launch "$LOGS/$ROW.server.out" env LD_LIBRARY_PATH="$(server_libs)" "$SERVERS/root/usr/sbin/pure-ftpd" "${args[@]}"
}

start_proftpd() {
  local mode=$1 limit=$2 conf=$RUN/conf/proftpd-$1-$2.conf
  mkdir -p "$RUN/conf"
  cat >"$conf" <<EOF
ServerName "quorbin interop"
ServerType standalone
DefaultServer on
Port $PORT
DefaultAddress 127.0.0.1
SocketBindTight on
UseIPv6 off
User nobody
Group nogroup
Umask 022
PidFile $RUN/proftpd.pid
ScoreboardFile $RUN/proftpd.scoreboard
DelayTable $RUN/proftpd.delay
SystemLog $LOGS/$ROW.server.log
TransferLog $LOGS/$ROW.xfer.log
WtmpLog off
UseReverseDNS off
ListOptions "-l"
AuthPAM off
AuthOrder mod_auth_unix.c
RequireValidShell off
# no MLST/MLSD in FEAT, and refused if sent all the same: listings go through LIST
FactsAdvertise off
<Limit MLSD MLST>
  DenyAll
</Limit>
ModulePath $SERVERS/root/usr/lib/proftpd
<Directory />
  AllowOverwrite on
</Directory>
EOF
  [ "$limit" = 0 ] || echo "MaxConnectionsPerHost $limit" >>"$conf"
  if [ "$mode" = tls ]; then
    cat >>"$conf" <<EOF
LoadModule mod_tls.c
TLSEngine on
TLSLog $LOGS/$ROW.tls.log
TLSProtocol TLSv1.2 TLSv1.3
TLSRSACertificateFile $RUN/tls/cert.pem
TLSRSACertificateKeyFile $RUN/tls/key.pem
TLSRequired on
TLSVerifyClient off
EOF
  fi
  launch "$LOGS/$ROW.server.out" env LD_LIBRARY_PATH="$(server_libs)" "$SERVERS/root/usr/sbin/proftpd" -n -c "$conf"
}

# ---------------------------------------------------------------------------------------------
# Cells: each runs one or more commands and checks what they gave; the first that fails
# fills DETAIL with the command, its exit status and the tail of its stderr (or of the check).

declare -A RESULT DETAIL
ROWS=()
COLUMNS=(ls "ls[backup/]" get dir verify tls-fallback cert-change)
FAILED=0

# run NAME COMMAND...: runs the command with quorbin's environment; output in $LOGS/$ROW.NAME.*
run() {
  local name=$1; shift
  LAST_CMD="$*"
  LAST_OUT=$LOGS/$ROW.$name.out
  LAST_ERR=$LOGS/$ROW.$name.err
  printf '%s\n' "$*" >"$LOGS/$ROW.$name.cmd"
  timeout -k 5 300 "${QENV[@]}" "$@" >"$LAST_OUT" 2>"$LAST_ERR"
  LAST_RC=$?
  [ $LAST_RC = 124 ] && echo "(timed out after 300 s)" >>"$LAST_ERR"
  return $LAST_RC
}

# fail WHY: adds the last command, its exit status and output to the cell's detail.
fail() {
  local why=$1
  [ -z "$CELL_DETAIL" ] || CELL_DETAIL+=$'\n'
  CELL_DETAIL+="\$ ${LAST_CMD/#$Q/quorbin-restore}"$'\n'"exit $LAST_RC: $why"
  if [ -s "$LAST_ERR" ]; then
    CELL_DETAIL+=$'\n'"stderr: $(tail -n 6 "$LAST_ERR" | sed '2,$s/^/        /')"
  fi
  if grep -q '^ERROR' "$LAST_OUT" 2>/dev/null; then
    CELL_DETAIL+=$'\n'"stdout: $(grep '^ERROR' "$LAST_OUT" | head -n 4 | sed '2,$s/^/        /')"
  elif [ "$LAST_RC" != 0 ] && [ -s "$LAST_OUT" ]; then
    CELL_DETAIL+=$'\n'"stdout: $(head -n 4 "$LAST_OUT" | sed '2,$s/^/        /')"
  fi
  return 1
}

record() {
  local column=$1 status=$2
  if [ "$status" = 0 ]; then
    RESULT["$ROW|$column"]=ok
  else
    RESULT["$ROW|$column"]=FAIL
    DETAIL["$ROW|$column"]=$CELL_DETAIL
    FAILED=1
  fi
}

cell() {
  local column=$1; shift
  CELL_DETAIL=""
  "$@"
  record "$column" $?
}

# qftp NAME ARGUMENTS...: `quorbin-restore ftp` with this row's set and TLS option.
qftp() {
  local name=$1; shift
  run "$name" "$Q" ftp --set "$SET" "${TLS_OPTION[@]}" "$@"
}

check_listing() {
  local name=$1 remote=$2 folder=$3 problems
  qftp "$name" ls "$remote" || { fail "ls $remote failed"; return 1; }
  problems=$("$PY" "$HERE/mirror.py" check-ls "$LAST_OUT" "$folder") ||
    { fail "ls $remote differs from the folder: $(head -n 4 <<<"$problems" | paste -sd ';' -)"; return 1; }
}

# Every listing, even after one failed: which of them differ tells more than the first alone.
cell_ls() {
  local status=0
  qftp ls-base ls || { fail "ls failed"; return 1; }
  grep -q $'^Set1\tdir\t' "$LAST_OUT" || { fail "no 'Set1 dir' line in: $(head -c 200 "$LAST_OUT")"; return 1; }
  check_listing ls-docs 'Set1/C$/Docs' "$BASE/Set1/C\$/Docs" || status=1
  check_listing ls-archiv 'Set1/C$/Docs/Archiv' "$BASE/Set1/C\$/Docs/Archiv" || status=1
  check_listing ls-buero 'Set1/C$/Docs/Büro' "$BASE/Set1/C\$/Docs/Büro" || status=1
  return $status
}

# A plain server and quorbin.ini asking for TLS, no option: the session goes on unencrypted,
# with a warning.
cell_fallback() {
  local saved=("${QENV[@]}") saved_option=("${TLS_OPTION[@]}") status=0
  quorbin_env asked
  TLS_OPTION=()
  if ! qftp ls-fallback ls; then
    fail "ls failed"
    status=1
  elif ! grep -q $'^Set1\tdir\t' "$LAST_OUT"; then
    fail "no 'Set1 dir' line in: $(head -c 200 "$LAST_OUT")"
    status=1
  elif ! grep -q -i -E '^(Warnung|Warning):' "$LAST_ERR"; then
    fail "no warning on stderr that the session is not encrypted"
    status=1
  fi
  QENV=("${saved[@]}")
  TLS_OPTION=("${saved_option[@]}")
  return $status
}

# A TLS row after its other cells: the certificate stored for this server (at its first use) is
# made another one in the file; the next connect must be refused before the login, and go through
# with --trust-certificate naming the real one, which then is the one stored.
cell_cert_change() {
  local store=$QHOME/config/quorbin/zertifikate.conf real status=0 saved_option=("${TLS_OPTION[@]}")
  real=$(sed -n "s/^127\.0\.0\.1:$PORT=//p" "$store" 2>/dev/null)
  LAST_CMD="(reading $store)"; LAST_RC=0; LAST_ERR=/dev/null; LAST_OUT=/dev/null
  [ -n "$real" ] || { fail "no certificate stored for 127.0.0.1:$PORT"; return 1; }
  sed -i "s/^127\.0\.0\.1:$PORT=.*/127.0.0.1:$PORT=$(printf '00:%.0s' $(seq 31))00/" "$store"
  if qftp cert-refused ls; then
    fail "a connect to a certificate other than the stored one went through"
    status=1
  elif ! grep -q -- "--trust-certificate $real" "$LAST_ERR"; then
    fail "the refusal does not name the offered certificate"
    status=1
  else
    TLS_OPTION+=(--trust-certificate "$real")
    qftp cert-trusted ls || { fail "--trust-certificate with the offered fingerprint failed"; status=1; }
    grep -q "^127\.0\.0\.1:$PORT=$real\$" "$store" || { fail "the trusted certificate was not stored"; status=1; }
  fi
  TLS_OPTION=("${saved_option[@]}")
  return $status
}

cell_ls_slash() {
  local saved=$SET
  SET=$SET_SLASH
  check_listing ls-slash 'Set1/C$/Docs' "$BASE/Set1/C\$/Docs"
  local status=$?
  SET=$saved
  return $status
}

GETS=(
  'Set1/C$/Docs/Brief¯an¯Bank.docx.00003.nxz'
  'Set1/C$/Docs/Brief¯an¯Bank.docx.00001.nxz'
  'Set1/C$/Docs/Büro/Grüße¯an¯Jörg.txt.00001.nxz'
  'Set1/C$/Docs/Archiv/alt.pdf.00001.nxz'
  'Set1/C$/Daten/gross.bin.00001.nxz'
  'Set1/C$/Docs/leer.txt.00001.nxz'
  'Set1/C$/Docs/notiz.txt.00001.nxz'
)

cell_get() {
  local remote i=0 target
  for remote in "${GETS[@]}"; do
    i=$((i + 1))
    target=$RUN/out/$ROW/get/$i
    qftp "get$i" get "$remote" "$target" || { fail "get $remote failed"; return 1; }
    cmp -s "$target" "$PLAIN/$remote" ||
      { fail "get $remote: $(cmp "$target" "$PLAIN/$remote" 2>&1 | head -1)"; return 1; }
  done
}

# dir_into NAME [OPTIONS...]: restores Set1/C$ and compares it with the expected tree: names,
# bytes, and each file's time, which must be its version's.
dir_into() {
  local name=$1; shift
  local target=$RUN/out/$ROW/$name differences
  qftp "$name" dir 'Set1/C$' --to "$target" "$@" || { fail "dir failed"; return 1; }
  differences=$("$PY" "$HERE/mirror.py" check-tree "$EXPECTED" "$target") ||
    { fail "restored tree differs: $(head -n 4 <<<"$differences" | paste -sd ';' -)"; return 1; }
}

cell_dir() { dir_into dir; }
# Under a per-address limit: three rounds, since whether a connection is refused hangs on timing.
cell_dir_jobs4() {
  local round
  for round in 1 2 3; do
    dir_into "dir-jobs4-round$round" --jobs 4 || { CELL_DETAIL="round $round of 3:"$'\n'"$CELL_DETAIL"; return 1; }
  done
}

cell_verify() {
  qftp verify verify 'Set1/C$' --all-versions || { fail "verify of the good tree failed"; return 1; }
  grep -q 'defekt' "$LAST_OUT" "$LAST_ERR" && { fail "verify of Set1/C\$ names a file of Set1/D\$"; return 1; }
  qftp verify-damaged verify 'Set1/D$'
  [ $LAST_RC = 1 ] || { fail "verify of a cut-short container: exit $LAST_RC, expected 1"; return 1; }
  grep -q 'defekt.txt.00001.nxz' "$LAST_OUT" "$LAST_ERR" ||
    { fail "verify of a cut-short container does not name it"; return 1; }
}

# The same checks without FTP, on the mirror's folder: shows that the data itself is right.
local_get() {
  local remote target i=0
  for remote in "${GETS[@]}"; do
    i=$((i + 1))
    target=$RUN/out/local/file/$i
    run "file$i" "$Q" file "$BASE/$remote" "$target" --set "$SET" || { fail "file failed"; return 1; }
    cmp -s "$target" "$PLAIN/$remote" || { fail "file $remote: content differs"; return 1; }
  done
}

local_dir() {
  local target=$RUN/out/local/dir differences
  run dir "$Q" dir "$BASE/Set1/C\$" --to "$target" --set "$SET" || { fail "dir failed"; return 1; }
  differences=$("$PY" "$HERE/mirror.py" check-tree "$EXPECTED" "$target") ||
    { fail "restored tree differs: $(head -n 4 <<<"$differences" | paste -sd ';' -)"; return 1; }
}

local_verify() {
  run verify "$Q" verify "$BASE/Set1/C\$" --set "$SET" --all-versions || { fail "verify failed"; return 1; }
  run verify-damaged "$Q" verify "$BASE/Set1/D\$" --set "$SET"
  [ $LAST_RC = 1 ] || { fail "verify of a cut-short container: exit $LAST_RC, expected 1"; return 1; }
}

local_row() {
  ROW=local
  ROWS+=("$ROW")
  quorbin_env plain
  SET=$RUN/sets/local.set
  "$PY" "$HERE/mirror.py" set "$SET" 21 "$USER_NAME" "$PASSWORD" backup "$KEY" "$(windows_path "$RUN/ziel")"
  cell get local_get
  cell dir local_dir
  cell verify local_verify
}

# server_row SERVER MODE LIMIT: one server in one mode; LIMIT 0 runs every column, else only
# `dir --jobs 4` under that per-address limit.
server_row() {
  local server=$1 mode=$2 limit=$3
  ROW="$server $mode"
  [ "$limit" = 0 ] || ROW="$server $mode max-$limit-per-address"
  ROW=${ROW// /_}
  ROWS+=("$ROW")
  PORT=$(free_port)
  quorbin_env "$mode"
  if [ "$mode" = tls ]; then TLS_OPTION=(--require-tls); else TLS_OPTION=(--no-tls); fi
  SET=$RUN/sets/$ROW.set
  SET_SLASH=$RUN/sets/$ROW.slash.set
  "$PY" "$HERE/mirror.py" set "$SET" "$PORT" "$USER_NAME" "$PASSWORD" backup "$KEY" "$(windows_path "$RUN/ziel")"
  "$PY" "$HERE/mirror.py" set "$SET_SLASH" "$PORT" "$USER_NAME" "$PASSWORD" backup/ "$KEY" "$(windows_path "$RUN/ziel")"

  say "== $ROW (port $PORT)"
  "start_$server" "$mode" "$limit"
  if ! wait_port; then
    CELL_DETAIL="the server did not start: $(tail -n 5 "$LOGS/$ROW.server.out" 2>/dev/null)"
    local column
    for column in "${COLUMNS[@]}"; do record "$column" 1; done
    stop_server
    return
  fi
  local probe_args=("$PORT" "$USER_NAME" "$PASSWORD" --file 'backup/Set1/C$/Daten/gross.bin.00001.nxz'
                    'backup/Set1/C$/Docs' 'backup/Set1/C$/Docs/Archiv' 'backup/Set1/C$/Docs/Büro')
  [ "$mode" = tls ] && probe_args+=(--tls)
  [ "$limit" = 0 ] || probe_args+=(--limit "$limit")
  timeout 60 "$PY" "$HERE/probe.py" "${probe_args[@]}" >"$LOGS/$ROW.probe.txt" 2>&1

  if [ "$limit" = 0 ]; then
    cell ls cell_ls
    cell "ls[backup/]" cell_ls_slash
    cell get cell_get
    cell dir cell_dir
    cell verify cell_verify
    [ "$mode" = plain ] && cell tls-fallback cell_fallback
    [ "$mode" = tls ] && cell cert-change cell_cert_change
  else
    cell dir cell_dir_jobs4
  fi
  stop_server
  take_notes
}

# Things worth a word that fail no cell: warnings of quorbin, a probe folder left behind.
NOTES=()
take_notes() {
  local line
  if [ -e "$BASE/Timecheck" ]; then
    NOTES+=("${ROW//_/ }: the folder Timecheck was left in backup/ (removed for the next row)")
    rmdir "$BASE/Timecheck" 2>/dev/null
  fi
  while IFS= read -r line; do
    [ -n "$line" ] && NOTES+=("${ROW//_/ }: $line")
  done < <(find "$LOGS" -name "$ROW.*.err" ! -name "*.ls-fallback.err" -exec cat {} + 2>/dev/null |
           grep -i -E '^(Warnung|Warning):' | sort | uniq -c | sed 's/^ *//')
}

# ---------------------------------------------------------------------------------------------
# The report

print_table() {
  local row column line
  printf '\n%-34s' "server / mode"
  for column in "${COLUMNS[@]}"; do printf ' %-12s' "$column"; done
  printf '\n'
  for row in "${ROWS[@]}"; do
    printf '%-34s' "${row//_/ }"
    for column in "${COLUMNS[@]}"; do printf ' %-12s' "${RESULT["$row|$column"]:--}"; done
    printf '\n'
  done
  printf '(dir in a max-2-per-address row: dir --jobs 4, three rounds; tls-fallback: ls with TLS asked\n'
  printf ' for by quorbin.ini and no option, which must go on unencrypted with a warning;\n'
  printf ' cert-change: another fingerprint stored for the server is refused, --trust-certificate takes the new one)\n'
  for line in "${NOTES[@]}"; do printf 'note: %s\n' "$line"; done
  for row in "${ROWS[@]}"; do
    for column in "${COLUMNS[@]}"; do
      [ "${RESULT["$row|$column"]:-}" = FAIL ] || continue
      printf '\nFAIL %s / %s\n' "${row//_/ }" "$column"
      while IFS= read -r line; do printf '    %s\n' "$line"; done <<<"${DETAIL["$row|$column"]}"
    done
  done
}

print_probes() {
  local row
  printf '\n==== What the servers said (scripts/interop/probe.py; full logs in the run folder)\n'
  for row in "${ROWS[@]}"; do
    [ -f "$LOGS/$row.probe.txt" ] || continue
    printf '\n--- %s\n' "${row//_/ }"
    cat "$LOGS/$row.probe.txt"
  done
}

main() {
  install_tools
  RUN=$(mktemp -d /tmp/quorbin-interop.XXXXXX)
  LOGS=$RUN/logs
  mkdir -p "$LOGS" "$RUN/sets"
  trap cleanup EXIT
  trap 'exit 130' INT TERM
  program
  fetch_servers
  check_servers
  remove_leftovers
  make_account
  make_data

  local_row
  local server mode
  for server in vsftpd pure-ftpd proftpd; do
    [ -z "$ONLY" ] || [ "$ONLY" = "$server" ] || continue
    for mode in plain tls; do
      server_row "$server" "$mode" 0
    done
    server_row "$server" plain 2
  done

  print_probes
  print_table
  return $FAILED
}

main
exit $?
