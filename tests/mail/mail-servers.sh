#!/usr/bin/env bash
# Starts or stops private dovecot (IMAP, POP3, LMTP into Maildir) and postfix (SMTP relaying to
# that LMTP) instances on 127.0.0.1 for the mail tests. All state lives in one temporary folder;
# the machine's own mail services and configuration are never touched.
#   mail-servers.sh start ENVFILE   writes the folder, ports and accounts to ENVFILE
#   mail-servers.sh stop ENVFILE
set -euo pipefail

action=${1:?start or stop}
envfile=${2:?env file}

free_ports() {
  python3 - "$1" <<'PY'
import socket, sys
socks = []
for _ in range(int(sys.argv[1])):
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    socks.append(s)
print(" ".join(str(s.getsockname()[1]) for s in socks))
PY
}

wait_port() {
  for _ in $(seq 1 100); do
    if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', int(sys.argv[1])), 1)" "$1" 2>/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  echo "nothing listens on 127.0.0.1:$1" >&2
  return 1
}

write_dovecot_conf() {
  cat >"$dir/dovecot.conf" <<CONF
base_dir = $dir/run
state_dir = $dir/state
log_path = $dir/dovecot.log
listen = 127.0.0.1
protocols = imap pop3 lmtp
ssl = yes
ssl_cert = <$dir/cert.pem
ssl_key = <$dir/key.pem
disable_plaintext_auth = no
auth_mechanisms = plain login
# A wrong password would otherwise cost the tests seconds each.
auth_failure_delay = 0
# Dovecot refuses to deliver as root; mail is stored as the mail user.
first_valid_uid = 1
default_internal_user = dovecot
default_login_user = dovenull
mail_location = maildir:$dir/mail/%u
passdb {
  driver = passwd-file
  args = scheme=PLAIN username_format=%u $dir/users
}
userdb {
  driver = static
  args = uid=mail gid=mail home=$dir/mail/%u
}
service imap-login {
  inet_listener imap {
    address = 127.0.0.1
    port = $IMAP_PORT
  }
  inet_listener imaps {
    address = 127.0.0.1
    port = $IMAPS_PORT
    ssl = yes
  }
}
service pop3-login {
  inet_listener pop3 {
    address = 127.0.0.1
    port = $POP3_PORT
  }
  inet_listener pop3s {
    port = 0
  }
}
service lmtp {
  inet_listener lmtp {
    address = 127.0.0.1
    port = $LMTP_PORT
  }
}
CONF
}

write_postfix_conf() {
  local pf="$dir/postfix"
  mkdir -p "$pf" "$dir/pdata" "$dir/pqueue"
  chown postfix "$dir/pdata"
  cat >"$pf/main.cf" <<CONF
compatibility_level = 3.6
queue_directory = $dir/pqueue
data_directory = $dir/pdata
mail_owner = postfix
setgid_group = postdrop
maillog_file = $dir/postfix.log
maillog_file_prefixes = $dir
inet_interfaces = 127.0.0.1
inet_protocols = ipv4
myhostname = localhost.quillmere.test
mydomain = quillmere.test
myorigin = quillmere.test
mydestination =
mynetworks = 127.0.0.0/8
relay_domains = quillmere.test
# Only the test domain is served: any other recipient is refused at once, as real servers do.
smtpd_relay_restrictions = reject_unauth_destination
relay_transport = lmtp:inet:127.0.0.1:$LMTP_PORT
default_transport = lmtp:inet:127.0.0.1:$LMTP_PORT
alias_maps =
alias_database =
local_recipient_maps =
biff = no
# The client announces SMTPUTF8 when offered; dovecot's LMTP lacks it and the mail would bounce.
smtputf8_enable = no
message_size_limit = 104857600
CONF
  sed -e "s/^smtp\s\+inet.*/127.0.0.1:$SMTP_PORT inet n - n - - smtpd/" \
      -e 's/^#\?postlog\s.*/postlog unix-dgram n - n - 1 postlogd/' \
      /etc/postfix/master.cf >"$pf/master.cf"
  grep -q '^postlog' "$pf/master.cf" || echo 'postlog unix-dgram n - n - 1 postlogd' >>"$pf/master.cf"
  # Postfix waits for a main.cf written this very second to settle.
  touch -d '-1 minute' "$pf/main.cf" "$pf/master.cf"
}

start() {
  stop
  dir=$(mktemp -d /tmp/qm-mail.XXXXXX)
  chmod 755 "$dir"
  read -r IMAP_PORT IMAPS_PORT POP3_PORT LMTP_PORT SMTP_PORT <<<"$(free_ports 5)"
  mkdir -p "$dir/run" "$dir/state" "$dir/mail"
  chown mail:mail "$dir/mail"
  {
    echo "anna@quillmere.test:{PLAIN}anna-secret"
    echo "bob@quillmere.test:{PLAIN}bob-secret"
    echo "carl@quillmere.test:{PLAIN}carl-secret"
    # Mailboxes of their own for the mail window's tests and the desktop check.
    for user in dave erin fred gina hugo ivy jack kim; do
      echo "$user@quillmere.test:{PLAIN}$user-secret"
    done
  } >"$dir/users"
  chmod 644 "$dir/users"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=localhost" \
    -keyout "$dir/key.pem" -out "$dir/cert.pem" >/dev/null 2>&1
  write_dovecot_conf
  write_postfix_conf
  cat >"$envfile" <<ENV
MAIL_DIR=$dir
IMAP_PORT=$IMAP_PORT
IMAPS_PORT=$IMAPS_PORT
POP3_PORT=$POP3_PORT
SMTP_PORT=$SMTP_PORT
LMTP_PORT=$LMTP_PORT
ENV
  # The daemons must not hold this script's output open, or whoever reads it waits forever.
  if ! dovecot -c "$dir/dovecot.conf" </dev/null >"$dir/dovecot-start.log" 2>&1; then
    cat "$dir/dovecot-start.log" "$dir/dovecot.log" >&2 2>/dev/null || true
    return 1
  fi
  if ! postfix -c "$dir/postfix" start </dev/null >/dev/null 2>&1; then
    # Postfix tells why only to a terminal or syslog; ask it again through a pseudo-terminal.
    postfix -c "$dir/postfix" check </dev/null 2>&1 | cat >&2 || true
    script -qec "postfix -c $dir/postfix start" /dev/null </dev/null 2>&1 | cat >&2 || true
    return 1
  fi
  wait_port "$IMAP_PORT" && wait_port "$POP3_PORT" && wait_port "$LMTP_PORT" &&
    wait_port "$SMTP_PORT"
  echo "mail servers up in $dir (IMAP $IMAP_PORT, SMTP $SMTP_PORT)"
}

stop() {
  [ -f "$envfile" ] || return 0
  # shellcheck disable=SC1090
  source "$envfile"
  case "$MAIL_DIR" in /tmp/qm-mail.*) ;; *) echo "refusing to stop $MAIL_DIR" >&2; return 1 ;; esac
  local pids=""
  for pidfile in "$MAIL_DIR/run/master.pid" "$MAIL_DIR/pqueue/pid/master.pid"; do
    [ -f "$pidfile" ] && pids="$pids $(tr -dc 0-9 <"$pidfile")"
  done
  [ -f "$MAIL_DIR/postfix/main.cf" ] && postfix -c "$MAIL_DIR/postfix" stop >/dev/null 2>&1 || true
  [ -f "$MAIL_DIR/dovecot.conf" ] && doveadm -c "$MAIL_DIR/dovecot.conf" stop >/dev/null 2>&1 || true
  for pid in $pids; do
    for _ in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null || true
  done
  rm -rf "$MAIL_DIR" "$envfile"
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop ENVFILE" >&2; exit 2 ;;
esac
