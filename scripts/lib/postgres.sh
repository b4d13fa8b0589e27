# Starts and stops a throwaway PostgreSQL server on 127.0.0.1 for the tests.
# Sourced by the other scripts. The server refuses to run as root, so it runs as the
# "postgres" user when the script runs as root.

pg_bin() {
  local dir
  dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -n "$dir" ] || { echo "PostgreSQL server binaries not found" >&2; return 1; }
  echo "$dir"
}

as_postgres() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

free_port() {
  python3 - <<'PY' 2>/dev/null || echo 55432
import socket
s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1]); s.close()
PY
}

# start_postgres FOLDER: initialises a data folder there and starts the server; exports
# PGPORT, PGHOST and PG_DATA_DIR for the tests and for stop_postgres.
start_postgres() {
  local folder=$1 bin
  bin=$(pg_bin) || return 1
  PG_DATA_DIR="$folder/pgdata"
  rm -rf "$PG_DATA_DIR"
  mkdir -p "$PG_DATA_DIR"
  [ "$(id -u)" -eq 0 ] && chown -R postgres "$folder"
  chmod 755 "$folder"
  as_postgres "$bin/initdb" -D "$PG_DATA_DIR" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >"$folder/initdb.log" 2>&1 \
    || { cat "$folder/initdb.log" >&2; return 1; }
  # Every role logs in without a password, but for "mig", which must give one: the tests
  # reach a server that refuses a login for a wrong password through it.
  sed -i '1i host all mig 127.0.0.1/32 scram-sha-256' "$PG_DATA_DIR/pg_hba.conf"
  PGPORT=$(free_port)
  as_postgres "$bin/pg_ctl" -D "$PG_DATA_DIR" -l "$folder/server.log" -w \
    -o "-h 127.0.0.1 -p $PGPORT -k $PG_DATA_DIR -F" start >/dev/null \
    || { cat "$folder/server.log" >&2; return 1; }
  export PGPORT PGHOST=127.0.0.1 PG_DATA_DIR
}

stop_postgres() {
  [ -n "${PG_DATA_DIR:-}" ] && [ -d "$PG_DATA_DIR" ] || return 0
  as_postgres "$(pg_bin)/pg_ctl" -D "$PG_DATA_DIR" -m immediate stop >/dev/null 2>&1 || true
}
