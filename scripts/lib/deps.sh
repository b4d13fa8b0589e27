# Installs the Debian packages the build, the tests and the demo need, when any is missing.
# Sourced by the other scripts.

REQUIRED_PACKAGES=(
  cmake g++ make pkg-config
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql tdsodbc
  postgresql
  libgtest-dev libgmock-dev
  libicu-dev libpugixml-dev nlohmann-json3-dev
  qt6-base-dev
  fonts-dejavu-core  # the window's font on Linux, in which the window tests measure captions
  clang-format       # the test script checks that every source file is formatted
  dpkg-dev           # dpkg-shlibdeps, for the Debian package's dependencies; dpkg-source,
                     # which unpacks pugixml's source package for the Windows build
  file               # CPack finds the programs in the Debian package with it
  lintian            # checks the Debian package against Debian's policy
)

install_missing_packages() {
  local missing=()
  local package
  for package in "${REQUIRED_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
