#!/usr/bin/env bash
# The Debian package of a build tree, built under a umask that would close its directories to others:
# lintian-clean (owners, modes, stripping, compression), exactly the game and its metadata, and
# depending on run-time packages only.
set -uo pipefail
build=${1:?build tree}
src=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "FAIL: $*"; exit 1; }

rm -f "$build"/zenthar_*.deb
(umask 077 && cmake --build "$build" --target package > "$build/package.log" 2>&1) || { cat "$build/package.log"; fail "no package"; }
version=$(sed -n 's/^project(Zenthar VERSION \([^ ]*\) .*/\1/p' "$src/CMakeLists.txt")
deb=$build/zenthar_${version}_$(dpkg --print-architecture).deb
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "no $deb of version $version"
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in $deb"

want=$( { printf '%s\n' games/zenthar lib/games/zenthar/bin/zenthar share/applications/zenthar.desktop share/doc/zenthar/copyright \
            share/doc/zenthar/changelog.gz share/man/man6/zenthar.6.gz share/metainfo/org.zenthar.zenthar.metainfo.xml
          for n in 16 32 48 64; do echo "share/icons/hicolor/${n}x${n}/apps/zenthar.png"; done
          (cd "$src/data" && find . -type f ! -name .keep | sed 's|^\./|lib/games/zenthar/|'); } | sed 's|^|./usr/|' | LC_ALL=C sort)
diff <(echo "$want") <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort) ||
  fail "the package's files differ from the above (< wanted, > packed)"

depends=$(dpkg-deb -f "$deb" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')
echo "Depends: $(echo $depends)"
for p in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libepoxy0 timgm6mb-soundfont fonts-ipafont-gothic libgl1 libegl1 libgl1-mesa-dri; do
  grep -qx "$p" <<<"$depends" || fail "Depends lacks $p"
done
! grep -Eq -- '-dev$|^(gcc|g\+\+|cpp|clang|cmake|make|build-essential)' <<<"$depends" || fail "Depends names a build tool or -dev package"
echo "package check passed: $deb"
