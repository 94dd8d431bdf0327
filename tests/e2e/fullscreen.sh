#!/usr/bin/env bash
# FullScreen=1 on a 1280 × 720 screen: with a window manager the picture fills the screen's height,
# letterboxed to 960 × 720; on a bare X server the window keeps its size and the whole picture still shows.
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$(mktemp)
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work" "$SDL_DISKAUDIOFILE"' EXIT
# Setting.ini and the tables are read from the working directory.
printf '[ウィンドウモード]\r\nFullScreen=1\r\n' > "$work/Setting.ini"
cp -r "$stage/Table" "$work/"

# How far the picture at (x, y, w, h) of a screenshot is from the title screen, and how much ink the panel
# shows where "ver1.00" is drawn: measure.py TITLE SCREENSHOT X Y W H.
cat > "$work/measure.py" <<'EOF'
import sys
from PIL import Image, ImageChops, ImageStat
ref = Image.open(sys.argv[1]).convert("RGB")
shot = Image.open(sys.argv[2]).convert("RGB")
x, y, w, h = map(int, sys.argv[3:7])
pic = shot.crop((x, y, x + w, y + h)).resize((800, 600), Image.BILINEAR)
stat = ImageStat.Stat(ImageChops.difference(pic, ref))
rmse = (sum(v * v for v in stat.rms) / 3) ** 0.5 / 255
px = pic.load()
ink = sum(1 for yy in range(545, 575) for xx in range(690, 800) if sum(px[xx, yy]) > 300)
print("rmse %.4f ink %d" % (rmse, ink))
EOF
measure() { /usr/bin/python3 "$work/measure.py" "$here/ref/title.png" "$@"; }

# $1 = wm | bare, $2 = the window width to expect, $3 .. $6 = the box x y w h where the picture should be.
# Prints the window geometry; leaves a screenshot in $work/$1.png, taken once the window has that width
# and the title shows in the box (a window manager resizes in its own time), or after 30 s.
session() {
  cd "$work"
  timeout -k 5 60 xvfb-run -a -s "-noreset -screen 0 1280x720x24" bash -c '
    mode=$1 want=$2 shot=$3 game=$4 measure=$5 title=$6; shift 6
    if [ "$mode" = wm ]; then
      openbox >/dev/null 2>&1 &
      for i in $(seq 1 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.1; done
    fi
    "$game" & pid=$!
    for i in $(seq 1 300); do xdotool search --name "^Zenthar$" >/dev/null 2>&1 && break; sleep 0.1; done
    for i in $(seq 1 60); do
      import -window root "$shot"
      rmse=$(/usr/bin/python3 "$measure" "$title" "$shot" "$@" | cut -d" " -f2)
      xwininfo -name Zenthar | grep -q "Width: $want\$" && awk -v r="$rmse" "BEGIN { exit !(r < 0.06) }" && break
      sleep 0.5
    done
    xwininfo -name Zenthar | grep -E "Width|Height"
    xdotool key Escape
    wait $pid
    echo "exit $?"
  ' session "$1" "$2" "$work/$1.png" "$stage/bin/zenthar" "$work/measure.py" "$here/ref/title.png" "$3" "$4" "$5" "$6"
}

# The whole title picture within box x y w h of the screenshot, with the panel's version text.
shows_picture() {
  local m rmse ink
  m=$(measure "$work/$1.png" "$2" "$3" "$4" "$5")
  echo "$1: $m"
  read -r _ rmse _ ink <<<"$m"
  awk -v r="$rmse" 'BEGIN { exit !(r < 0.06) }' || fail "$1: the picture in ${4} × ${5} at ($2, $3) is not the title (rmse $rmse)"
  [ "$ink" -gt 40 ] || fail "$1: the panel's version text is missing (ink $ink)"
}

out=$(session bare 800 0 0 800 600) || fail "bare session did not finish: $out"
echo "$out"
grep -q "^exit 0" <<<"$out" || fail "the game did not end with status 0"
grep -q "Width: 800" <<<"$out" || fail "without a window manager the window was expected to keep its 800 × 600"
shows_picture bare 0 0 800 600

out=$(session wm 1280 160 0 960 720) || fail "openbox session did not finish: $out"
echo "$out"
grep -q "^exit 0" <<<"$out" || fail "the game did not end with status 0 under openbox"
grep -q "Width: 1280" <<<"$out" || fail "under openbox the window did not become the screen's size"
shows_picture wm 160 0 960 720
bars=$(/usr/bin/python3 -c "
from PIL import Image
im = Image.open('$work/wm.png').convert('RGB')
print(max(max(im.crop((0, 0, 160, 720)).getextrema()[c][1] for c in range(3)), max(im.crop((1120, 0, 1280, 720)).getextrema()[c][1] for c in range(3))))")
[ "$bars" -eq 0 ] || fail "the letterbox bars are not black (brightest $bars)"
echo "fullscreen e2e passed"
