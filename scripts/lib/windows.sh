# The Windows build's tools and sources: Debian's MinGW-w64 cross compiler, Wine, NSIS, and the
# sources of the libraries that Debian ships only for Linux; the Windows build configured, and
# its installer and ZIP. Sourced by scripts/windows and scripts/package.

WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix  # the cross compiler, with POSIX threads for std::thread
  wine wine64                 # runs the Windows programs; its odbc32 calls the host's unixODBC
  googletest                  # GoogleTest's sources, built for Windows
  sqlite3                     # reads the demo shops' databases for the end-to-end comparison
  xvfb                        # a virtual X display for the windows of the window's tests
  nsis                        # makensis, with which CPack makes the installer
  unzip                       # lists the ZIP's files
)

# fetch_pugixml_source FOLDER: unpacks Debian's source package of the pugixml version that
# libpugixml-dev has into FOLDER/pugixml-VERSION and prints that path. apt-get fetches it
# through a private configuration with deb-src entries for the machine's own package sources,
# so the machine's configuration stays as it is. A second call finds it already there.
fetch_pugixml_source() {
  local folder=$1 version upstream
  version=$(dpkg-query -W -f='${Version}' libpugixml-dev)
  upstream=${version%-*}
  if [ -f "$folder/pugixml-$upstream/src/pugixml.cpp" ]; then
    echo "$folder/pugixml-$upstream"
    return 0
  fi
  local apt=$folder/apt
  mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial"
  : > "$apt/sources.list"
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] && sed 's/^Types:.*/Types: deb-src/' "$file" > "$apt/sources.list.d/${file##*/}"
  done
  [ -f /etc/apt/sources.list ] && sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > "$apt/sources.list"
  local options=(-o "Dir::Etc::SourceList=$apt/sources.list"
                 -o "Dir::Etc::SourceParts=$apt/sources.list.d"
                 -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                 -o Debug::NoLocking=1 -o APT::Sandbox::User=root -qq)
  apt-get "${options[@]}" update >&2
  (cd "$folder" && apt-get "${options[@]}" source "pugixml=$version" >&2)
  echo "$folder/pugixml-$upstream"
}

# start_display: a virtual X display of its own (Xvfb, 24-bit colour) on which Wine creates the
# windows of the window's tests, on no one's screen; prepare_wine hands it to Wine. stop_display
# ends it.
start_display() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" </dev/null \
    >/dev/null 2>&1 &
  MV_XVFB_PID=$!
  # Xvfb writes its display number once it takes connections.
  while [ ! -s "$number_file" ] && kill -0 "$MV_XVFB_PID" 2>/dev/null; do sleep 0.1; done
  MV_DISPLAY=":$(head -n1 "$number_file")"
  rm -f "$number_file"
  [ "$MV_DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; return 1; }
}

stop_display() {
  [ -n "${MV_XVFB_PID:-}" ] && kill "$MV_XVFB_PID" 2>/dev/null && wait "$MV_XVFB_PID" 2>/dev/null
  MV_XVFB_PID=""
  return 0
}

# set_wine_dpi DPI: the DPI that Wine's programs started from now on see (96 or 144 ...).
set_wine_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >/dev/null 2>&1
}

# configure_windows_build FOLDER: the Windows build configured in FOLDER, with the MinGW-w64
# toolchain and pugixml's sources.
configure_windows_build() {
  local folder=$1 sources pugixml
  sources=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  mkdir -p "$folder"
  pugixml=$(fetch_pugixml_source "$folder/sources")
  cmake -S "$sources" -B "$folder" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
    -DCMAKE_TOOLCHAIN_FILE="$sources/cmake/mingw-w64-x86_64.cmake" \
    -DMV_PUGIXML_SOURCE_DIR="$pugixml" >/dev/null
}

# make_windows_packages FOLDER: the installer and the ZIP from the Windows build in FOLDER
# (packaging/windows_installer.cmake), the only ones of their names left there.
make_windows_packages() {
  rm -f "$1"/MigrateVantrel22To23-*-win64.exe "$1"/MigrateVantrel22To23-*-win64.zip
  (cd "$1" && cpack --config CPackConfig.cmake)
}

# prepare_wine FOLDER: a Wine prefix of the build's own in FOLDER, made on first use, with a
# wineserver kept running for the tests. Wine asks for no Mono or Gecko and writes no menu
# entries of the installer's shortcuts into the home folder; Wine's windows go to
# start_display's display when one was started, else nowhere: no program of the tests ever
# reaches the user's own display.
prepare_wine() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  unset DISPLAY WAYLAND_DISPLAY
  [ -n "${MV_DISPLAY:-}" ] && export DISPLAY=$MV_DISPLAY
  # Wine's server and its helper processes outlive the first program: started here with no
  # terminal or pipe of a test's, so that no test's output stays open after it ends.
  if [ ! -f "$WINEPREFIX/system.reg" ]; then echo "Making a Wine prefix in $WINEPREFIX"; fi
  wineserver --persistent=600 </dev/null >/dev/null 2>&1 || true  # one may run already
  wineboot --init </dev/null >/dev/null 2>&1
}

stop_wine() { [ -n "${WINEPREFIX:-}" ] && wineserver --kill >/dev/null 2>&1 || true; }
