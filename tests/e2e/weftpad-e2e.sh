#!/usr/bin/env bash
# End-to-end test of weftpad on a real X display. It starts Xvfb on a free
# display, runs weftpad under Wine's X11 driver in a prefix of its own, and
# drives it with xdotool as a user would: it opens a small method, types
# another (characters, Enter, Tab, Backspace, a mouse selection replaced by
# typing, a Shift selection copied and pasted, a match of a backward
# regular-expression search typed over), saves with Ctrl+S and checks
# the saved file byte for byte. Then it scrolls, types and deletes a row,
# selects a row and checks a screenshot: every typed cell in its token's theme
# colour, the selection in the highlight colour, the rows below the text blank.
#
# Usage: weftpad-e2e.sh WEFTPAD.EXE PREFIX (weftcore.dll beside the program;
# PREFIX is made on first use). Exits 77 where the machine cannot run it.
# It waits for windows and files by polling with timeouts, since Wine under
# qemu-user is slow and the machine may be busy.
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=$1
. "$here/../../scripts/wine-env.sh"
export WINEPREFIX=$2
timeout_seconds=${WEFT_E2E_TIMEOUT:-300}
started=$(date +%s)

skip() {
  echo "SKIPPED: $*"
  exit 77
}

say() { echo "[$(($(date +%s) - started)) s] $*"; }

missing_tools() {
  local tool missing=()
  for tool in Xvfb xdotool xwd python3; do command -v "$tool" >/dev/null || missing+=("$tool"); done
  echo "${missing[*]}"
}

if [ -n "$(missing_tools)" ] && [ "$(id -u)" -eq 0 ]; then
  "$here/../../scripts/install-deps.sh" >/dev/null
fi
[ -z "$(missing_tools)" ] || skip "missing $(missing_tools) (packages xvfb, xdotool, x11-apps, python3; scripts/install-deps.sh installs them as root)"
timeout 20 "$wine64" --version >/dev/null 2>&1 || skip "Wine's 64-bit loader is missing (package wine64)"
timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1 ||
  skip "this machine cannot run 32-bit programs (nor emulate them through qemu-user); scripts/install-deps.sh, run as root, sets that up"

work=$(mktemp -d)
xvfb_pid=
weftpad_pid=
cleanup() {
  [ -n "$weftpad_pid" ] && kill "$weftpad_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Polls `command` until it succeeds or the timeout passes.
wait_for() {
  local what=$1 deadline=$(($(date +%s) + timeout_seconds))
  shift
  until "$@"; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      echo "FAILED: no $what after ${timeout_seconds} s"
      return 1
    fi
    sleep 0.5
  done
}

# The prefix keeps Wine's default (X11) graphics driver.
prepare_wine_prefix || exit 1
say "prefix ready"

# Xvfb picks a free display and writes its number when it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for "display from Xvfb" test -s "$work/display" || exit 1
export DISPLAY=:$(cat "$work/display")
say "Xvfb on $DISPLAY"

file=$work/Sample.st
printf 'size\n    "Answer the number of elements"\n    ^tally\n' >"$file"
cp "$file" "$work/original.st"
"$wine64" "$program" "Z:$file" >"$work/weftpad.log" 2>&1 </dev/null &
weftpad_pid=$!
window=$(timeout "$timeout_seconds" xdotool search --sync --name '^Sample\.st - weftpad$' | head -1)
[ -n "$window" ] || { echo "FAILED: no weftpad window"; cat "$work/weftpad.log"; exit 1; }
xdotool windowfocus --sync "$window" 2>/dev/null
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y: the editor's top-left
say "weftpad window $window at $X,$Y"

# Pixel position of the middle of the left half of a cell (1-based column
# and row, tab-expanded), which CellForPoint maps to the caret before it.
read -r cell_width line_height < <(python3 "$here/check_screen.py" --cell-size)
cell_x() { echo $((X + ($1 - 1) * cell_width + 2)); }
cell_y() { echo $((Y + ($1 - 1) * line_height + line_height / 2)); }

key() { xdotool key --delay 30 "$@" 2>/dev/null; }
type_text() { xdotool type --delay 30 "$1" 2>/dev/null; }

key ctrl+End Return
type_text 'isEmptx'
key BackSpace
type_text 'y'
key Return Tab
type_text '"Answer whether it is blank'
# Drag over "blank" (columns 27 to 31 of row 6 after the tab) and type over it.
xdotool mousemove "$(cell_x 27)" "$(cell_y 6)" mousedown 1 mousemove "$(cell_x 32)" "$(cell_y 6)" mouseup 1
type_text 'empty"'
key Return Tab
type_text "^self size = 0 or: ['none' = "
# Copy "self" with Shift+Right and paste it at the end of the row.
key Home Right Right shift+Right shift+Right shift+Right shift+Right ctrl+c End ctrl+v
type_text ' name]'
# Find "tally" backward with a regular expression and type over it.
key ctrl+f alt+r
type_text 't[a-z]+y'
key shift+Return Escape
type_text 'count'
key ctrl+s

expected=$work/expected.st
printf '%s\r\n' 'size' '    "Answer the number of elements"' '    ^count' '' 'isEmpty' \
  '    "Answer whether it is empty"' >"$expected"
printf '%s' "    ^self size = 0 or: ['none' = self name]" >>"$expected"
saved() { ! cmp -s "$file" "$work/original.st"; }
wait_for "save of $file" saved || exit 1
say "saved"
if ! cmp -s "$file" "$expected"; then
  echo "FAILED: the saved file differs from what was typed"
  diff <(od -c "$expected") <(od -c "$file")
  exit 1
fi

# Scroll three rows down with one wheel notch, so that row 4 is at the top.
# Type at the end of row 7, add an empty row and a row "junk", and join the
# empty row to row 7 with Backspace: only the library's bands, which must
# follow the scroll and cover the row that "junk" leaves, repaint these
# rows. Then select row 5 and check the screen until it shows everything.
key ctrl+Home Down Down Down Down Down Down End
xdotool click 5 2>/dev/null
type_text ' X'
key Return Return
type_text 'junk'
check_screen() {
  xwd -root -silent >"$work/screen.xwd" && python3 "$here/check_screen.py" "$work/screen.xwd" "$X" "$Y" "$@"
}
# Wine paints only once the keys are handled: wait for "junk" on row 9.
wait_for "row 9 painted" check_screen --shows-row 9 || exit 1
key Up BackSpace Up Up Home shift+End
screen_ok() { check_screen "$work/weftpad.png" >"$work/check.log"; }
if ! wait_for "expected picture" screen_ok; then
  cat "$work/check.log"
  mkdir -p "${WEFT_E2E_ARTIFACTS:-.}" && cp "$work/weftpad.png" "${WEFT_E2E_ARTIFACTS:-.}/weftpad-e2e.png"
  echo "the picture is in ${WEFT_E2E_ARTIFACTS:-.}/weftpad-e2e.png"
  exit 1
fi
say "screen checked; passed"
