#!/usr/bin/env bash
# cmake --install into a scratch prefix (its name with a space and brackets), the installed metadata
# validated, then the installed game started through its launcher from elsewhere, in a real X window:
# a private root of links as working directory, the player's own Config.ini taking effect, the title,
# play, and Escape with status 0.
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$stage/.." && pwd)
prefix=$(mktemp -d "/tmp/zenthar install [x86].XXXXXX")
elsewhere=$(mktemp -d /tmp/zenthar_elsewhere.XXXXXX)
trap 'rm -rf "$prefix" "$elsewhere"' EXIT
[ -n "${ZENTHAR_KEEP_SHOT:-}" ] && trap 'cp "$elsewhere/stage.png" "$ZENTHAR_KEEP_SHOT"; rm -rf "$prefix" "$elsewhere"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

timeout -k 5 60 cmake --install "$build" --prefix "$prefix" > "$elsewhere/install.log" 2>&1 ||
  { cat "$elsewhere/install.log"; fail "cmake --install failed"; }

# Layout: the launcher, the game root as staged, the desktop entry, the icons, the metainfo, the manual.
launcher="$prefix/games/zenthar"
root="$prefix/lib/games/zenthar"
[ -x "$launcher" ] || fail "no launcher at games/zenthar"
[ -x "$root/bin/zenthar" ] || fail "no game executable at lib/games/zenthar/bin/zenthar"
diff -r -q -x zenthar "$stage" "$root" || fail "installed root differs from the staged one"
for tool in desktop-file-validate appstreamcli man lexgrog; do
  command -v $tool > /dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

desktop="$prefix/share/applications/zenthar.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
grep -Fqx "Exec=\"$launcher\"" "$desktop" || fail "desktop entry does not start the launcher"
grep -qx "Icon=zenthar" "$desktop" || fail "desktop entry names no icon"
grep -qx "Name=Zenthar" "$desktop" || fail "desktop entry has no name"
desktop-file-validate "$desktop" || fail "invalid desktop entry"
for n in 16 32 48 64; do
  icon="$prefix/share/icons/hicolor/${n}x${n}/apps/zenthar.png"
  [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${n}x${n}" ] || fail "icon $icon is not a ${n}x${n} PNG"
done

metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml 2> /dev/null)
[ "$(wc -l <<<"$metainfo")" = 1 ] && [ -f "$metainfo" ] || fail "not one metainfo file under share/metainfo: $metainfo"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli does not accept $metainfo"
id=$(sed -n 's|^ *<id>\(.*\)</id>$|\1|p' "$metainfo")
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "metainfo file is not named after its id $id"
for element in '<name>Zenthar</name>' '<summary>' '<description>' '<content_rating type="oars-1.1">' \
               '<screenshot type="default">' '<release version=' '<launchable type="desktop-id">zenthar.desktop</launchable>'; do
  grep -Fq "$element" "$metainfo" || fail "metainfo lacks $element"
done

manual="$prefix/share/man/man6/zenthar.6.gz"
[ -f "$manual" ] || fail "no manual page zenthar(6)"
[ "$(lexgrog "$manual")" = "$manual: \"zenthar - vertically scrolling shoot-'em-up\"" ] || fail "manual has no NAME line"
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man --warnings -l "$manual" 2> "$elsewhere/man.err")
[ -s "$elsewhere/man.err" ] && { cat "$elsewhere/man.err"; fail "the manual page renders with warnings"; }
for text in CONTROLS FILES ENVIRONMENT "EXIT STATUS" "$root/Config.ini" "$root/Setting.ini" SDL_SOUNDFONTS \
            ZENTHAR_LOOP_STATS SDL_GAMECONTROLLERCONFIG; do
  grep -Fq -- "$text" <<<"$page" || fail "the manual does not show $text"
done

# Started from a directory whose own Setting.ini asks for full screen and which has no spawn tables:
# only a launcher that moves into its root gives a window of 800 x 600 and a stage without the "error"
# box. The player's Config.ini makes G the decide button in place of F: only through the root's link
# does G start the stage.
printf '[ウィンドウモード]\nFullScreen=1\n' > "$elsewhere/Setting.ini"
export XDG_CONFIG_HOME="$elsewhere/config" XDG_RUNTIME_DIR="$elsewhere/run"
mkdir -p "$XDG_CONFIG_HOME/zenthar" && mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '0 1 3 3 4 5 6 7 8 6\n5 6\n' > "$XDG_CONFIG_HOME/zenthar/Config.ini"
shot="$elsewhere/stage.png"
cd "$elsewhere"
export SDL_AUDIODRIVER=dummy
out=$(timeout -k 5 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash -c '
  "$0" 2> "$1/err" & pid=$!
  for i in $(seq 1 300); do xdotool search --name "^Zenthar$" > /dev/null 2>&1 && break; sleep 0.1; done
  # The title drawn: the loop runs and takes keys.
  for i in $(seq 1 100); do
    import -window root -crop 800x600+0+0 "$1/title.png"
    [ "$(convert "$1/title.png" -format "%[fx:mean>0.05]" info:)" = 1 ] && break
    sleep 0.2
  done
  before=$(xdotool search --onlyvisible --name "" 2> /dev/null | wc -l)
  echo "windows before $before"
  cwd=$(readlink /proc/$pid/cwd); echo "cwd $cwd"
  # Elsewhere the game would stop in the "error" box of the missing tables: end it here.
  [ "${cwd#$XDG_RUNTIME_DIR/zenthar/root-}" != "$cwd" ] || { kill -9 $pid; exit 0; }
  xwininfo -name Zenthar | grep -E "Width|Height"
  # Stage 1 in sight (the sky fills most of the field), or another window (a box) in its place.
  xdotool key g
  for i in $(seq 1 60); do
    import -window root "$1/stage.png"
    [ "$(xdotool search --onlyvisible --name "" 2> /dev/null | wc -l)" = "$before" ] || break
    awk -v s="$(/usr/bin/python3 "$3/imgcheck.py" sky "$1/stage.png")" "BEGIN { exit !(s >= 0.9) }" && break
    sleep 0.3
  done
  echo "windows after $(xdotool search --onlyvisible --name "" 2> /dev/null | wc -l)"
  xdotool key Escape
  wait $pid; echo "exit $?"
  cat "$1/err"
' "$launcher" "$elsewhere" "$root" "$here") || fail "session did not finish: $out"
echo "$out"
grep -Eqx "cwd $XDG_RUNTIME_DIR/zenthar/root-[0-9a-f]{16}" <<<"$out" || fail "the game did not run in a private root"
grep -q "Width: 800" <<<"$out" || fail "window is not 800 wide (the caller's Setting.ini was read?)"
grep -q "Height: 600" <<<"$out" || fail "window is not 600 high"
[ "$(sed -n 's/^windows before //p' <<<"$out")" = "$(sed -n 's/^windows after //p' <<<"$out")" ] ||
  fail "a window (a message box?) opened when play started"
grep -qx "exit 0" <<<"$out" || fail "Escape did not end the installed game with status 0"
# The stage: the sky fills the play field (not the title, nor the black of a missing picture).
sky=$(/usr/bin/python3 "$here/imgcheck.py" sky "$shot")
awk -v s="$sky" 'BEGIN { exit !(s >= 0.9) }' || fail "no stage after G ($sky of the field is sky): the player's Config.ini unread?"
echo "install e2e passed"
