#!/usr/bin/env bash
# Starts (once) a private PostgreSQL cluster for the server tests and prints its
# libpq connect string on stdout; everything else goes to stderr. Running it again
# while the cluster is up just prints the string again.
#   MXA_PG_DIR   cluster folder (default /tmp/mxa07300-pg)
#   MXA_PG_PORT  port of its Unix socket (default 54329)
set -euo pipefail
dir=${MXA_PG_DIR:-/tmp/mxa07300-pg}
port=${MXA_PG_PORT:-54329}
role=mxa
db=mxa07300

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
  echo "PostgreSQL não está instalado (rode scripts/setup.sh)." >&2
  exit 1
fi

# The server refuses to run as root: run it as the postgres user then.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

mkdir -p "$dir"
if [ "$(id -u)" -eq 0 ]; then chown postgres:postgres "$dir"; fi
chmod 700 "$dir"

if [ ! -f "$dir/data/PG_VERSION" ]; then
  as_owner "$bin/initdb" -D "$dir/data" --auth=trust --encoding=UTF8 --locale=C.UTF-8 -U postgres >&2
fi
if ! as_owner "$bin/pg_ctl" -D "$dir/data" status >/dev/null 2>&1; then
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port -c fsync=off -c max_connections=200" \
    start >&2
fi

psql_admin() { as_owner "$bin/psql" -h "$dir" -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 -qtA "$@"; }

if [ "$(psql_admin -c "SELECT 1 FROM pg_roles WHERE rolname = '$role'")" != "1" ]; then
  psql_admin -c "CREATE ROLE $role LOGIN" >&2
fi
# The look-up role's test creates (and drops) a role of its own.
psql_admin -c "ALTER ROLE $role CREATEROLE" >&2
if [ "$(psql_admin -c "SELECT 1 FROM pg_database WHERE datname = '$db'")" != "1" ]; then
  psql_admin -c "CREATE DATABASE $db OWNER $role ENCODING 'UTF8'" >&2
fi

echo "host=$dir port=$port user=$role dbname=$db"
