# The Windows installer and ZIP checked under Wine: the ZIP holds the files it should; the
# installer installs silently into a folder with a space, the installed command and window run,
# the Start-menu shortcut, the uninstall entry and the files are there; the silent uninstall
# leaves none of them, nor anything else on drive C: but what Wine itself keeps (see
# wine_leftovers). Sourced by scripts/windows; needs prepare_wine.

product=MigrateVantrel22To23
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
vendor_key='HKLM\Software\Vantrel'

# package_files WINDOWS_BUILD: the files the installer and the ZIP hold, one path a line,
# sorted; the window among them when the build made it.
package_files() {
  {
    printf '%s\n' vantrel-migrate.exe config/Orbisco.xml config/VantrelConfiguration.xml \
      README.md LICENSE.txt
    window_built "$1" && echo "$product.exe"
  } | LC_ALL=C sort
}

# window_built WINDOWS_BUILD: the build has the window's target.
window_built() { cmake --build "$1" --target help | grep -E "^\.\.\. $product( |\$)" >/dev/null; }

# start_menu: the Start menu's program folder for every user, on the Unix side.
start_menu() { echo "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"; }

# listed_files FOLDER: the files below FOLDER, one path a line relative to it, sorted.
listed_files() { (cd "$1" && find . -type f | sed 's#^\./##' | LC_ALL=C sort); }

# has_no_debug_information PROGRAM: the program was stripped.
has_no_debug_information() {
  ! x86_64-w64-mingw32-objdump -h "$1" | grep -q '\.debug_'
}

# check_windows_zip WINDOWS_BUILD: the ZIP holds the package's files in one top folder named as
# the ZIP is, and its programs are stripped.
check_windows_zip() {
  local build=$1 zip unpacked status=0
  zip=$(echo "$build"/$product-*-win64.zip)
  unpacked=$(mktemp -d /tmp/migrate-zip.XXXXXX)
  unzip -q "$zip" -d "$unpacked"
  diff -u <(package_files "$build") <(listed_files "$unpacked/$(basename "$zip" .zip)") \
    || { echo "$zip does not hold the package's files in its top folder" >&2; status=1; }
  local program
  for program in "$unpacked"/*/*.exe; do
    has_no_debug_information "$program" || { echo "${program##*/} in $zip is not stripped" >&2; status=1; }
  done
  rm -rf "$unpacked"
  return "$status"
}

# drive_c_paths: every file and folder on Wine's drive C:, sorted, but what Wine keeps of an
# uninstall (wine_leftovers).
drive_c_paths() { (cd "$WINEPREFIX/drive_c" && find . | wine_leftovers | LC_ALL=C sort); }

# registry_has KEY: the key exists in Wine's registry.
registry_has() { wine reg query "$1" >/dev/null 2>&1; }

# wine_and_wait PROGRAM [ARGUMENT]...: runs the program under Wine and waits until every
# program it started has ended (the uninstaller runs a copy of itself and ends at once): until
# Wine's server, which installer_round_trip started without persistence, has ended.
wine_and_wait() {
  local status=0
  wine "$@" </dev/null || status=$?
  wineserver --wait
  return "$status"
}

# problem TEXT: says what is wrong and counts it.
problem() { echo "Installer round trip: $*" >&2; problems=$((problems + 1)); }

# check_installed WINDOWS_BUILD UNIX_FOLDER WINDOWS_FOLDER: what the installer put in place.
check_installed() {
  local build=$1 folder=$2 windows_folder=$3
  diff -u <({ package_files "$build"; echo Uninstall.exe; } | LC_ALL=C sort) <(listed_files "$folder") \
    || problem "the installation folder does not hold the package's files and the uninstaller"

  local built installed
  built=$(wine "$build/cli/vantrel-migrate.exe" --version | tr -d '\r')
  installed=$(wine "$folder/vantrel-migrate.exe" --version | tr -d '\r') \
    || problem "the installed vantrel-migrate.exe --version failed"
  [ "$installed" = "$built" ] \
    || problem "the installed vantrel-migrate.exe --version printed '$installed', not '$built'"

  # The shortcut opens the window; without one, the installation folder.
  local shortcut="$(start_menu)/$product/$product.lnk" target="$windows_folder\\$product.exe"
  if ! window_built "$build"; then
    shortcut="$(start_menu)/$product/$product folder.lnk" target=$windows_folder
  fi
  strings -a "$shortcut" | grep -qxF "$target" \
    || problem "no Start-menu shortcut $shortcut to $target"

  local entry
  entry=$(wine reg query "$uninstall_key" /v UninstallString | tr -d '\r')
  grep -qF "\"$windows_folder\\Uninstall.exe\"" <<<"$entry" \
    || problem "the uninstall entry does not name $windows_folder\\Uninstall.exe: $entry"

  if window_built "$build"; then
    local started
    started=$(started_window "$build" "$windows_folder\\$product.exe")
    grep -qF '[  PASSED  ] 1 test.' <<<"$started" \
      || problem "the installed window did not show its caption or did not end when closed: $started"
  fi
}

# started_window WINDOWS_BUILD PROGRAM: the window's UI test program starts the window PROGRAM (a
# Windows path) on a working folder of its own, finds it by its caption and closes it; prints
# what the test program printed.
started_window() {
  MV_WINDOW_UNDER_TEST=$2 wine_and_wait "$1/tests/app_win32/win32_window_tests.exe" \
    --gtest_filter=Win32WindowProgram.StartsWithItsCaptionAndEndsWhenClosed 2>&1 | tr -d '\r'
}

# check_nothing_left UNIX_FOLDER DRIVE_C_BEFORE: the uninstall took away the installation
# folder, the Start-menu folder, the uninstall entry and the vendor's key, and drive C: holds
# what it held before the installer ran, but what Wine itself keeps.
check_nothing_left() {
  local folder=$1 before=$2
  [ ! -e "$folder" ] || problem "the installation folder $folder is left"
  [ ! -e "$(start_menu)/$product" ] || problem "the Start-menu folder $(start_menu)/$product is left"
  registry_has "$uninstall_key" && problem "the uninstall entry $uninstall_key is left"
  registry_has "$vendor_key" && problem "the registry key $vendor_key is left"
  diff -u "$before" <(drive_c_paths) \
    || problem "drive C: holds more or less than before the installer ran"
}

# wine_leftovers: the paths read from standard input, without the folder %TEMP%\~nsuN.tmp from
# which NSIS's uninstaller ran its copy of itself: under Wine the copy is gone afterwards but its
# empty folder stays, also through a restart of the prefix (wineboot -r).
wine_leftovers() { grep -vE '^\./users/[^/]+/(AppData/Local/)?Temp/~nsu[^/]*\.tmp$'; }

# installer_round_trip WINDOWS_BUILD WORK_FOLDER: installs the installer silently under Wine,
# checks the installation, uninstalls it silently and checks that nothing is left.
installer_round_trip() {
  local build=$1 work=$2 problems=0
  # The installer's path must hold no blank: the line goes through Windows' cmd, the only way
  # an argument such as /D=C:\Some Path reaches it whole.
  mkdir -p "$work"
  cp "$build"/$product-*-win64.exe "$work/setup.exe"
  local windows_folder='C:\Vantrel Migration Tool'
  local folder="$WINEPREFIX/drive_c/Vantrel Migration Tool"
  drive_c_paths > "$work/drive-c-before"
  # The tests' persistent server ends here; each program below starts one that ends soon after
  # the last Windows program, so that wine_and_wait can wait for it.
  wineserver --kill

  wine_and_wait cmd /c "$(winepath -w "$work/setup.exe") /S /D=$windows_folder" \
    || problem "the silent install failed"
  check_installed "$build" "$folder" "$windows_folder"

  wine_and_wait "$windows_folder\\Uninstall.exe" /S || problem "the silent uninstall failed"
  check_nothing_left "$folder" "$work/drive-c-before"
  [ "$problems" -eq 0 ]
}
