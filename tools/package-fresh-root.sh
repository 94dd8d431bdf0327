#!/usr/bin/env bash
# package-fresh-root.sh [DEB]: the Debian package on a brand-new Debian 12 root, as root; minutes, not CI.
# Makes a minimal bookworm root without compilers (debootstrap minbase), installs the package there with
# apt-get install ./zenthar_*.deb and lists what that pulled in, then, as a normal user and from the
# PATH, starts zenthar under Xvfb with openbox (ZENTHAR_DISPLAY, default 115):
#   1. the installed files only: the title in an 800 x 600 window, then F starts stage 1;
#   2. the player's ~/.config/zenthar/Setting.ini asking for full screen: a window the screen's size;
#   3. the player's Config.ini (decide on G, not F) and Table/table1.txt (a row of phoenixes at the
#      top right at once, where the installed table has nothing for seconds): F does nothing, G starts
#      the stage, and the phoenixes are there;
# then apt-get purge zenthar, after which no file of the package may remain. The screenshots stay in
# the work directory it prints, the root does not. Exit status 0 when every check passed.
set -u
src=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls -t "$src"/build/zenthar_*.deb 2> /dev/null | head -n 1)}
[ -f "$deb" ] || { echo "no package: cmake --build build --target package"; exit 2; }
[ "$(id -u)" = 0 ] || { echo "needs root (debootstrap, chroot)"; exit 2; }
display=${ZENTHAR_DISPLAY:-115}
work=$(mktemp -d "${TMPDIR:-/tmp}/zenthar-fresh.XXXXXX")
root=$work/root
shots=$work/shots
mkdir "$shots"
failed=0
check() {  # what, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
inside() { chroot "$root" /bin/bash -c "$1"; }
# Share of a screenshot's region whose pixels pass an ImageMagick fx test.
share() { convert "$1" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:; }
sky='b > 0.59 && b > r + 0.157'
red='r > b + 0.235 && r > 0.47'
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a ~ /^[0-9.eE+-]+$/ && a + 0 > b) }'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a ~ /^[0-9.eE+-]+$/ && a + 0 < b) }'; }

mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2> /dev/null | head -n 1)
[ -n "$mirror" ] || mirror=$(awk '/^deb /{print $2; exit}' /etc/apt/sources.list 2> /dev/null)
command -v debootstrap > /dev/null || apt-get install -y -q debootstrap > /dev/null
echo "package $(basename "$deb"); fresh root in $work"
SECONDS=0
debootstrap --variant=minbase bookworm "$root" "$mirror" > "$work/debootstrap.log" 2>&1 ||
  { echo "debootstrap failed: $work/debootstrap.log"; exit 2; }
echo "debootstrap: ${SECONDS}s"
cp -r /etc/apt/sources.list* "$root/etc/apt/" 2> /dev/null
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount -t tmpfs tmpfs "$root/dev/shm"
# The root goes at the end (the screenshots and logs stay), never across a mount still in place.
trap 'umount "$root/dev/shm" "$root/proc"; umount "$root/dev" || umount -l "$root/dev"
      rm -rf --one-file-system "$root"' EXIT
inside 'apt-get update -q' > "$work/update.log" 2>&1 || { echo "apt-get update failed"; exit 2; }

compilers='for c in cc c++ gcc g++ clang make cmake; do command -v $c; done'
check "no compiler in the fresh root" test -z "$(inside "$compilers")"
inside "dpkg-query -W -f '\${Package}\n' | sort" > "$work/before"
cp "$deb" "$root/root/"
inside "cd /root && DEBIAN_FRONTEND=noninteractive apt-get install -y -q ./$(basename "$deb")" > "$work/install.log" 2>&1
check "apt-get install ./$(basename "$deb")" inside 'dpkg-query -W -f "\${Status}" zenthar | grep -q "install ok installed"'
inside "dpkg-query -W -f '\${Package}\n' | sort" > "$work/after"
comm -13 "$work/before" "$work/after" | grep -vx zenthar > "$work/pulled"
echo "apt pulled $(wc -l < "$work/pulled") packages besides zenthar: $(tr '\n' ' ' < "$work/pulled")"
check "none of them a development package or a build tool" \
  test -z "$(grep -E -- '-dev$|^(gcc|g\+\+|cpp|clang|binutils|make|cmake|build-essential)(-|$)' "$work/pulled")"
check "still no compiler" test -z "$(inside "$compilers")"
inside 'dpkg -L zenthar' > "$work/files"
rm "$root/root/$(basename "$deb")"

# What the checks need, installed after the package's own list was taken.
inside 'DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends xvfb xauth openbox imagemagick xdotool x11-utils' \
  > "$work/tools.log" 2>&1 || { echo "could not install the test tools: $work/tools.log"; exit 2; }
inside 'useradd -m -s /bin/bash player'
uid=$(inside 'id -u player')
mkdir -p "$root/shots" && chmod 1777 "$root/shots"
cat > "$root/shots/session.sh" << 'EOF'
# Under xvfb-run as the player: zenthar from the PATH; the title, then each key with a screenshot after.
name=$1
shift
openbox > /dev/null 2>&1 & wm=$!
sleep 1
zenthar 2> "/shots/$name.err" & pid=$!
for i in $(seq 1 150); do
  w=$(xdotool search --name '^Zenthar$' 2> /dev/null | head -n 1)
  [ -n "$w" ] && break
  kill -0 $pid 2> /dev/null || break
  sleep 0.2
done
sleep 4
xwininfo -id "$w" | sed -n 's/^ *\(Width\|Height\): */\1 /p'
echo "cwd $(readlink /proc/$pid/cwd)"
import -window root "/shots/$name-0.png"
n=0
for key in "$@"; do
  n=$((n + 1))
  xdotool key "$key"
  sleep 3
  import -window "$w" "/shots/$name-$n.png"
done
xdotool key Escape
wait $pid
echo "exit $?"
kill $wm
EOF
session() {  # name, runtime directory or "", keys
  local name=$1 runtime=$2
  shift 2
  cat > "$root/shots/run-$name.sh" << EOF
${runtime:+export XDG_RUNTIME_DIR=$runtime}
echo "PATH finds \$(command -v zenthar)"
timeout -k 5 120 xvfb-run -n $display -s "-screen 0 1024x768x24 -br -noreset" bash /shots/session.sh $name $*
EOF
  inside "runuser -l player -c 'bash /shots/run-$name.sh'" | tee "$shots/$name.out"
  cp "$root/shots/$name"-*.png "$root/shots/$name.err" "$shots/" 2> /dev/null
  echo "  stderr: $(tr '\n' ' ' < "$shots/$name.err")"
}

echo "== 1. installed files only, no runtime directory (the /tmp fallback)"
session installed "" f
check "the title in an 800 x 600 window" grep -qx 'Width 800' "$shots/installed.out"
check "the title drawn (not black, not the sky)" eval \
  'above "$(share "$shots/installed-0.png" 800x600+0+0 "r + g + b > 0.15")" 0.5 &&
   below "$(share "$shots/installed-0.png" 600x600+0+0 "$sky")" 0.3'
check "the private root in /tmp/zenthar-$uid" grep -Eq "^cwd /tmp/zenthar-$uid/root-" "$shots/installed.out"
check "F starts stage 1 (the sky)" above "$(share "$shots/installed-1.png" 600x600+0+0 "$sky")" 0.9
check "nothing at the top right yet" below "$(share "$shots/installed-1.png" 80x60+500+120 "$red")" 0.05
check "Escape ends it with status 0" grep -qx 'exit 0' "$shots/installed.out"

echo "== 2. the player's Setting.ini: full screen, in the session's runtime directory"
inside "install -d -o player -m 700 /run/user/$uid && install -d -o player /home/player/.config/zenthar &&
  printf '[ウィンドウモード]\nFullScreen=1\n' > /home/player/.config/zenthar/Setting.ini"
session fullscreen "/run/user/$uid"
check "a window of the whole 1024 x 768 screen" eval \
  'grep -qx "Width 1024" "$shots/fullscreen.out" && grep -qx "Height 768" "$shots/fullscreen.out"'
check "the picture scaled to the screen (lit below 600)" \
  above "$(share "$shots/fullscreen-0.png" 768x168+0+600 "r + g + b > 0.15")" 0.5
check "the private root in /run/user/$uid/zenthar" grep -Eq "^cwd /run/user/$uid/zenthar/root-" "$shots/fullscreen.out"

echo "== 3. the player's Config.ini (decide on G) and table 1 (phoenixes at the top right), in a window"
inside "cd /home/player/.config/zenthar && mkdir -p Table && printf '[ウィンドウモード]\nFullScreen=0\n' > Setting.ini &&
  printf '0 1 3 3 4 5 6 7 8 6\n5 6\n' > Config.ini &&
  for i in 1 2 3 4 5 6 7 8 9; do echo \"0 \$i 100 \$((60 * i)).0 150.0 0.0 0.0 1 11\"; done > Table/table1.txt &&
  chown -R player: /home/player/.config"
session own "" f g
check "in a window again" grep -qx 'Width 800' "$shots/own.out"
check "F no longer decides: still the title" below "$(share "$shots/own-1.png" 600x600+0+0 "$sky")" 0.3
check "G starts stage 1" above "$(share "$shots/own-2.png" 600x600+0+0 "$sky")" 0.8
check "the player's table: phoenixes at the top right" above "$(share "$shots/own-2.png" 80x60+500+120 "$red")" 0.05
check "Escape ends it with status 0" grep -qx 'exit 0' "$shots/own.out"
check "nothing written to the player's settings" eval \
  'test -z "$(inside "find /home/player/.config/zenthar -newer /home/player/.config/zenthar/Table/table1.txt")"'

echo "== 4. apt-get purge zenthar"
inside 'DEBIAN_FRONTEND=noninteractive apt-get purge -y -q zenthar' > "$work/purge.log" 2>&1
left=$(while read -r f; do
  if [ -L "$root$f" ] || [ -f "$root$f" ]; then echo "$f"
  elif [ -d "$root$f" ] && ! inside "dpkg -S '$f'" > /dev/null 2>&1; then echo "$f/"; fi
done < "$work/files")
check "none of the package's $(wc -l < "$work/files") paths remains${left:+: $left}" test -z "$left"
echo "named zenthar on the root now: $(inside "find / -xdev -name '*zenthar*' ! -path '/shots/*'" | tr '\n' ' ')"
echo "$failed checks failed; ${SECONDS}s in all; screenshots in $shots"
[ $failed = 0 ]
