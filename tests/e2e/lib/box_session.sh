#!/usr/bin/env bash
# Inside an X server: the Option box on the title, then the box of a missing spawn table.
# $1 = staged root, $2 = a root without table 1, $3 = wm | bare; screenshots into $OUT.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop.sh"
mode=$3
fail() { echo "FAIL ($mode): $*"; exit 1; }
font=$(fc-match -f '%{file}' 'MS ゴシック:lang=ja')
no_box() { ! box_window; }
start_wm "$mode"

# The box's window $1 shows the text $3 (screenshot $2).
shows() { import -window "$1" "$2" && /usr/bin/python3 "$here/boxcheck.py" "$2" "$3" "$font"; }

# Option: its own window in front with its caption and text; Return closes it, the title goes on.
start_game "$1"
[ "$(legacy_name_of "$game")" = "Zenthar" ] || fail "the game window's WM_NAME [$(legacy_name_of "$game")]"
tap c; tap f
wait_for 100 box_window || fail "Option showed no box"
box=$(box_window)
[ "$(caption_of "$box")" = "オプション" ] || fail "caption [$(caption_of "$box")]"
[ "$(legacy_name_of "$box")" = "オプション" ] || fail "WM_NAME [$(legacy_name_of "$box")]: $(xprop -id "$box" WM_NAME)"
wait_for 50 focused "$box" || fail "the box did not take the focus"
wait_for 50 shows "$box" "$OUT/option.png" "未実装です"
shows "$box" "$OUT/option.png" "未実装です" || fail "Option's text"
xdotool key Return
wait_for 50 no_box || fail "Return did not close the box"
wait_for 50 focused "$game" || fail "the game did not get the focus back"
shot "$OUT/title-a.png"
tap c                  # pointer to Game_End
wait_for 50 changed "$OUT/title-a.png" "$OUT/title-b.png" || fail "the title took no key after the box"
tap f                  # Game_End
status_within 100
[ "$st" = 1 ] || fail "Game_End gave status $st"
grep -q "^オプション: 未実装です$" "$OUT/stderr" || fail "no stderr line for the box"

# Stage 1 without its table: "error", the game blocked behind it, play on after OK by mouse.
start_game "$2"
tap f
wait_for 150 box_window || fail "no box for the missing table"
box=$(box_window)
[ "$(caption_of "$box")" = "" ] || fail "caption [$(caption_of "$box")]"
wait_for 50 shows "$box" "$OUT/error.png" "error"
shows "$box" "$OUT/error.png" "error" || fail "the table box's text"
shot "$OUT/blocked-a.png"; sleep 0.5; shot "$OUT/blocked-b.png"
differs "$OUT/blocked-a.png" "$OUT/blocked-b.png" && fail "the game ran while the box was up"
eval "$(xwininfo -id "$box" | sed -n 's/^ *Absolute upper-left X: *\(-*[0-9]*\)/bx=\1/p; s/^ *Absolute upper-left Y: *\(-*[0-9]*\)/by=\1/p; s/^ *Width: *\([0-9]*\)/bw=\1/p; s/^ *Height: *\([0-9]*\)/bh=\1/p')"
xdotool mousemove $((bx + bw - 12 - 44)) $((by + bh - 23)) click 1   # the OK button
wait_for 50 no_box || fail "clicking OK did not close the box"
wait_for 50 focused "$game" || fail "the game did not get the focus back"
shot "$OUT/play-a.png"
wait_for 50 changed "$OUT/play-a.png" "$OUT/play-b.png" || fail "play did not go on after OK"
xdotool key Escape
status_within 100
[ "$st" = 0 ] || fail "Escape gave status $st"
grep -q "^: error$" "$OUT/stderr" || fail "no stderr line for the table box"

# Answering OK/Cancel boxes with keys and the mouse, the owner's focus after it; the game's boxes by pads alone.
out=$(SDL_VIDEODRIVER=x11 "$1/../tests/zenthar_tests" --gtest_filter='*SdlMessageBox*' 2>&1)
grep -q "\[  PASSED  \] 3 tests" <<<"$out" || { echo "$out" | tail -20; fail "answering boxes"; }
echo "boxes ($mode) passed"
