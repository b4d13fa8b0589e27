#!/usr/bin/env bash
# check_package.sh DEB: checks the Debian package that scripts/package made: lintian finds no
# error in it, the files it installs, the packages it depends on and recommends, the options of
# the man page and of the bash completion, and that the vantrel-migrate unpacked from it runs
# and names its version and commit.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
deb=$1
problems=0
problem() { echo "$deb: $*" >&2; problems=$((problems + 1)); }

paths=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
# Debian's policy as lintian knows it; its warnings are shown, its errors fail the check.
lintian --fail-on error "$deb" \
  || problem "lintian found errors in it"

for path in /usr/bin/vantrel-migrate /usr/bin/MigrateVantrel22To23 \
  /usr/share/man/man1/vantrel-migrate.1.gz /usr/share/bash-completion/completions/vantrel-migrate \
  /usr/share/doc/vantrel-migrate/README.md /usr/share/doc/vantrel-migrate/copyright \
  /usr/share/doc/vantrel-migrate/changelog.gz /usr/share/vantrel-migrate/Orbisco.xml \
  /usr/share/vantrel-migrate/VantrelConfiguration.xml; do
  grep -qxF ".$path" <<<"$paths" || problem "holds no $path"
done

[ "$(dpkg-deb -f "$deb" Package)" = vantrel-migrate ] || problem "is not named vantrel-migrate"
depends=$(dpkg-deb -f "$deb" Depends)
for library in 'libodbc[0-9]' 'libqt6core6' 'libqt6widgets6'; do
  grep -qE "(^|, )$library" <<<"$depends" || problem "does not depend on $library: $depends"
done
grep -qE '(^|, )bash-completion' <<<"$(dpkg-deb -f "$deb" Recommends)" \
  || problem "does not recommend bash-completion"

unpacked=$(mktemp -d /tmp/vantrel-migrate-package.XXXXXX)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
program=$unpacked/usr/bin/vantrel-migrate

# Every option of the help is in the man page (hyphens written \- there) and among the words
# the completion offers.
manual=$(zcat "$unpacked/usr/share/man/man1/vantrel-migrate.1.gz" | sed 's/\\-/-/g')
completion=$(sed -n "/compgen -W '/,/'/p" "$unpacked/usr/share/bash-completion/completions/vantrel-migrate")
for option in $("$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
  grep -qE -- "$option([^a-z-]|$)" <<<"$manual" || problem "its man page lacks $option"
  grep -qE -- "$option([^a-z-]|$)" <<<"$completion" || problem "its completion lacks $option"
done

# The commit as the build found it, "unknown" outside a git checkout.
commit=$(git -c safe.directory="$root" -C "$root" rev-parse --short=12 HEAD 2>/dev/null) \
  || commit=unknown
expected="vantrel-migrate (MigrateVantrel22To23) $(dpkg-deb -f "$deb" Version) (commit $commit)"
version=$("$program" --version) || problem "its vantrel-migrate --version failed"
[ "$version" = "$expected" ] || problem "its vantrel-migrate --version printed '$version', not '$expected'"

echo "${deb##*/}: $(wc -l <<<"$paths") entries; Depends: $depends"
echo "Unpacked: $version"
[ "$problems" -eq 0 ]
