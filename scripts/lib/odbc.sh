# Writes a private ODBC configuration that registers the driver name "SQL Server" as one of
# the test engines, points the driver manager at it, and has the program's connections refuse
# a statement while another result is unread, as SQL Server does. Sourced by the other scripts.

# find_odbc_driver FILE: prints the full path of an installed ODBC driver library.
find_odbc_driver() {
  local path
  path=$(find /usr/lib /usr/local/lib -name "$1" -print -quit 2>/dev/null)
  [ -n "$path" ] || { echo "ODBC driver $1 not found" >&2; return 1; }
  echo "$path"
}

# use_odbc_engine ENGINE FOLDER: ENGINE is sqlite or postgresql.
use_odbc_engine() {
  local engine=$1 folder=$2 driver
  mkdir -p "$folder"
  case "$engine" in
    sqlite) driver=$(find_odbc_driver libsqlite3odbc.so) || return 1 ;;
    postgresql) driver=$(find_odbc_driver psqlodbcw.so) || return 1 ;;
    *) echo "unknown engine $engine" >&2; return 1 ;;
  esac
  {
    echo "[SQL Server]"
    echo "Description = $engine engine registered as SQL Server"
    echo "Driver = $driver"
    echo "Threading = 0"
    if [ "$engine" = postgresql ]; then
      # psqlODBC reads its own options from the section named as the connection string names
      # the driver, braces included: booleans as Booleans.
      echo
      echo "[{SQL Server}]"
      echo "BoolsAsChar = 0"
    fi
  } > "$folder/odbcinst.ini"
  : > "$folder/odbc.ini"
  export ODBCSYSINI="$folder"
  export ODBCINSTINI=odbcinst.ini
  export ODBCINI="$folder/odbc.ini"
  export MV_TEST_ENGINE="$engine"
  # The engines' drivers hold whole results and would let a second statement pass where SQL
  # Server refuses it: strict results find such places on them (README, "Databases").
  export VANTREL_ODBC_STRICT_RESULTS=1
}
