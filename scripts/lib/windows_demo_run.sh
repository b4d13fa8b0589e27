# The end-to-end check of the Windows build: the demo shop migrated by vantrel-migrate.exe under
# Wine and by the Linux vantrel-migrate, each on its own identical copy; their output and logs
# (apart from time stamps and the shop's folder), targets, instance databases and configuration
# stores must be equal. Sourced by scripts/windows; needs the private ODBC set-up of the SQLite engine.

# make_demo_shop LINUX_BUILD FOLDER: a demo installation as scripts/demo makes one.
make_demo_shop() {
  local linux_build=$1 shop=$2
  mkdir -p "$shop/instance"
  "$linux_build/tools/sample_data/sample_data" --schema "$root/schema" --server localhost \
    --user sa --source "$shop/source22.db" --target "$shop/target23.db" \
    --instance "$shop/Kestrine" --create >/dev/null
  cp "$root/config/Orbisco.xml" "$shop/Orbisco.xml"
  cp "$root/config/VantrelConfiguration.xml" "$shop/instance/VantrelConfiguration.xml"
  printf '%s\r\n' localhost localhost sa sa source22.db target23.db > "$shop/Vantrel23Convert.INI"
}

# without_folder FOLDER_AS_WRITTEN: standard input without carriage returns, with the shop's
# folder masked and the paths below that folder written with "/".
without_folder() {
  tr -d '\r' \
    | FOLDER=$1 awk '{
        folder = ENVIRON["FOLDER"]  # not -v, which would read the backslashes as escapes
        at = index($0, folder)
        if (at > 0) {
          rest = substr($0, at + length(folder)); gsub(/\\/, "/", rest)
          $0 = substr($0, 1, at - 1) "<shop>" rest
        }
        print
      }'
}

# comparable_log SHOP FOLDER_AS_LOGGED CODE_PAGE: the shop's log in UTF-8 with every time stamp
# and the shop's folder masked, and the paths below that folder written with "/".
comparable_log() {
  local shop=$1 folder=$2 code_page=$3
  iconv -f "$code_page" -t UTF-8 "$shop/Vantrel23Conversion.log" \
    | without_folder "$folder" \
    | sed -E 's#[0-9]{1,4}[./-][0-9]{1,2}[./-][0-9]{2,4}( [0-9]{1,2}:[0-9]{2}(:[0-9]{2})?( ?[AP]M)?)?#<time>#g'
}

# database_rows FILE: every row of every table of a SQLite database, in a stable order.
database_rows() {
  local table
  for table in $(sqlite3 "$1" "select name from sqlite_master where type = 'table' order by name"); do
    echo "== $table"
    sqlite3 -header "$1" "select * from \"$table\" order by 1, 2" 2>/dev/null \
      || sqlite3 -header "$1" "select * from \"$table\" order by 1"
  done
}

# compare_demo_runs LINUX_BUILD WINDOWS_BUILD FOLDER
compare_demo_runs() {
  local linux_build=$1 windows_build=$2 folder=$3
  local linux=$folder/linux windows=$folder/windows status=0
  rm -rf "$folder"
  make_demo_shop "$linux_build" "$linux"
  make_demo_shop "$linux_build" "$windows"

  (cd "$linux" && VANTREL_CONFIGURATION=$linux/Orbisco.xml \
    "$linux_build/cli/vantrel-migrate" --all </dev/null >"$folder/linux.out" 2>&1) || true
  local windows_folder
  windows_folder=$(winepath -w "$windows")
  (cd "$windows" && VANTREL_CONFIGURATION="$windows_folder\\Orbisco.xml" \
    wine "$windows_build/cli/vantrel-migrate.exe" --all </dev/null >"$folder/windows.out" 2>&1) \
    || true

  compare() {  # compare WHAT LINUX_FILE WINDOWS_FILE
    if diff -u "$2" "$3" >"$folder/$1.diff"; then
      echo "same $1"
    else
      echo "DIFFERENT $1:"; head -n 40 "$folder/$1.diff"; status=1
    fi
  }
  # Standard output names the log, in the shop's folder.
  without_folder "$linux" <"$folder/linux.out" >"$folder/linux.out.txt"
  without_folder "$windows_folder" <"$folder/windows.out" >"$folder/windows.out.txt"
  compare "output" "$folder/linux.out.txt" "$folder/windows.out.txt"
  # The Windows log is in the ANSI code page of Wine's default locale (English, United States).
  comparable_log "$linux" "$linux" UTF-8 >"$folder/linux.log.txt"
  comparable_log "$windows" "$windows_folder" WINDOWS-1252 >"$folder/windows.log.txt"
  compare "log" "$folder/linux.log.txt" "$folder/windows.log.txt"
  local database
  for database in target23.db Kestrine source22.db; do
    database_rows "$linux/$database" >"$folder/linux.$database.txt"
    database_rows "$windows/$database" >"$folder/windows.$database.txt"
    compare "$database rows" "$folder/linux.$database.txt" "$folder/windows.$database.txt"
  done
  compare "configuration store" "$linux/instance/VantrelConfiguration.xml" \
    "$windows/instance/VantrelConfiguration.xml"
  echo "log lines: $(wc -l <"$folder/linux.log.txt"), target rows: $(grep -vc '^==' "$folder/linux.target23.db.txt")"
  return $status
}
