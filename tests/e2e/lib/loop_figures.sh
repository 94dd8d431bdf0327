# Sourced by the display scripts: reads what one display_session.sh run left in $OUT and judges it.
# figures_header prints the table's head; figures NAME HERTZ CHECK_CPU prints one row, then one
# "FAIL: …" line per figure out of bounds.
# Windows are wide so that a loaded machine passes and a spinning loop (thousands of passes a second,
# frames beyond the steps or the display) does not.
figures_header() {
  printf '%-18s %7s %8s %8s %7s %7s %7s %16s\n' display steps/s passes/s frames/s busiest title stage1 \
    "key median/p90"
}

figures() {
  local name=$1 hz=$2 check_cpu=$3
  local r="$OUT/result" loop
  loop=$(grep '^loop:' "$OUT/stderr")
  local steps passes shown sps pps fps
  read -r steps sps passes pps shown fps < <(sed -n \
    's/.* \([0-9]*\) steps (\([0-9.]*\)\/s), \([0-9]*\) passes (\([0-9.]*\)\/s), \([0-9]*\) frames shown (\([0-9.]*\)\/s).*/\1 \2 \3 \4 \5 \6/p' \
    <<<"$loop")
  local ct cs key
  ct=$(sed -n 's/^cpu_title //p' "$r"); cs=$(sed -n 's/^cpu_stage //p' "$r")
  key=$(sed -n 's/^key-to-screen: [0-9]* presses, median \([0-9.]*\) ms, p90 \([0-9.]*\) ms.*/\1 \/ \2 ms/p' "$r")
  local most="-"  # frames shown in the busiest second, as the display stand-in saw them
  [ -f "$OUT/swaps" ] && most=$(sed -n 's/^busiest_second //p' "$OUT/swaps")
  printf '%-18s %7s %8s %8s %7s %6s%% %6s%% %16s   load %s / %s\n' "$name" "${sps:-?}" "${pps:-?}" "${fps:-?}" \
    "$most" "${ct:-?}" "${cs:-?}" "${key:-not timed}" "$(sed -n 's/^load_title //p' "$r")" \
    "$(sed -n 's/^load_stage //p' "$r")"
  grep -qx "exit 0" "$r" || { echo "FAIL: $name: the game did not end with status 0 ($(grep '^exit' "$r"))"; return; }
  [ -n "$steps" ] || { echo "FAIL: $name: no loop figures on stderr"; return; }
  awk -v v="$sps" 'BEGIN { exit !(v >= 50 && v <= 66) }' || echo "FAIL: $name: $sps steps/s, not about 60"
  [ "$shown" -le $((steps + 2)) ] || echo "FAIL: $name: $shown frames shown for $steps steps"
  [ "$passes" -le $((2 * steps + 100)) ] || echo "FAIL: $name: $passes passes for $steps steps: the loop spins"
  if [ "$hz" -gt 0 ]; then
    awk -v v="$fps" -v hz="$hz" 'BEGIN { exit !(v <= hz + 1) }' || echo "FAIL: $name: $fps frames/s on a $hz Hz display"
  fi
  if [ -f "$OUT/swaps" ]; then  # the stand-in's own count of swaps; it also saw the frames before the loop
    local swaps busiest
    swaps=$(sed -n 's/^swaps //p' "$OUT/swaps"); busiest=$(sed -n 's/^busiest_second //p' "$OUT/swaps")
    [ "$swaps" -ge "$shown" ] && [ "$swaps" -le $((shown + 3)) ] \
      || echo "FAIL: $name: the game counted $shown frames shown, the display $swaps swaps"
    [ "$busiest" -le 62 ] || echo "FAIL: $name: $busiest frames shown in one second"
  fi
  if [ "$check_cpu" = 1 ]; then
    [ "${ct:-999}" -lt 15 ] || echo "FAIL: $name: the title takes ${ct}% of a core"
    [ "${cs:-999}" -lt 35 ] || echo "FAIL: $name: stage 1 takes ${cs}% of a core"
  fi
  if [ -n "$key" ]; then
    awk -v v="${key%% *}" 'BEGIN { exit !(v <= 50) }' || echo "FAIL: $name: key-to-screen median ${key%% *} ms"
  fi
}
