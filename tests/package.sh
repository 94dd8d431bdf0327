#!/usr/bin/env bash
# The Debian package of a build tree: built by its package target, lintian-clean, holding exactly the
# game and its metadata with standard owners and modes, and depending on run-time packages only.
set -uo pipefail
build=${1:?build tree}
src=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "FAIL: $*"; exit 1; }

rm -f "$build"/zenthar_*.deb
# Under a umask that would close every directory it makes to others.
(umask 077 && cmake --build "$build" --target package > "$build/package.log" 2>&1) ||
  { cat "$build/package.log"; fail "no package"; }
version=$(sed -n 's/^project(Zenthar VERSION \([^ ]*\) .*/\1/p' "$src/CMakeLists.txt")
deb=$build/zenthar_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls "$build"/*.deb 2> /dev/null)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in $deb"

want=$( { printf '%s\n' /usr/games/zenthar /usr/lib/games/zenthar/bin/zenthar /usr/share/applications/zenthar.desktop \
            /usr/share/metainfo/org.zenthar.zenthar.metainfo.xml /usr/share/man/man6/zenthar.6.gz \
            /usr/share/doc/zenthar/copyright /usr/share/doc/zenthar/changelog.gz
          for n in 16 32 48 64; do echo "/usr/share/icons/hicolor/${n}x${n}/apps/zenthar.png"; done
          (cd "$src/data" && find . -type f ! -name .keep | sed 's|^\.|/usr/lib/games/zenthar|'); } | LC_ALL=C sort)
listing=$(dpkg-deb -c "$deb")
have=$(awk '$1 !~ /^d/ { print substr($6, 2) }' <<<"$listing" | LC_ALL=C sort)
diff <(echo "$want") <(echo "$have") || fail "the package's files differ from the above (< wanted, > packed)"
odd=$(awk '{ want = "-rw-r--r--" }
           $1 ~ /^d/ { want = "drwxr-xr-x" }
           $6 == "./usr/games/zenthar" || $6 == "./usr/lib/games/zenthar/bin/zenthar" { want = "-rwxr-xr-x" }
           $1 != want || $2 != "root/root"' <<<"$listing") || fail "cannot read the listing"
[ -z "$odd" ] || fail "owners or modes not standard: $odd"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libepoxy0 libassimp5 timgm6mb-soundfont fonts-ipafont-gothic \
         libgl1 libegl1 libgl1-mesa-dri libegl-mesa0; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p"
done
! grep -Eq '(^|, )([^ ,]*-dev|gcc[^ ,]*|g\+\+[^ ,]*|cmake|build-essential)( |,|$)' <<<"$depends" ||
  fail "Depends names a build tool or development package"
echo "package check passed: $deb"
