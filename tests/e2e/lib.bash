# Helpers for the end-to-end scripts, sourced by each of them (the ".bash" name keeps it out of
# the test runner's tests/e2e/*.sh).
#
# Environment, as scripts/test.sh sets it: TINTMARK_EXE (the built Tintmark.exe), WINEPREFIX (a
# prefix prepared by scripts/wine-prefix.sh), DISPLAY (a bare X server), and a wineserver kept
# running for the whole run. The window state is read with e2e_probe.exe, built next to
# Tintmark.exe (override with E2E_PROBE: the x64 probe reads the x86 program's windows as well);
# input is real X input through xdotool.
# E2E_OUT: where screenshots go (build/e2e unless set).

set -uo pipefail

: "${TINTMARK_EXE:?TINTMARK_EXE must name the built Tintmark.exe}"
: "${WINEPREFIX:?WINEPREFIX must name the test prefix}"
: "${DISPLAY:?DISPLAY must name the X server}"
export WINEPREFIX DISPLAY
export WINEDEBUG=-all
# Japanese titles travel through the command line, which Wine decodes with the locale.
export LC_ALL=C.UTF-8

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Wine through the loader that runs here (its 64-bit one where 32-bit programs cannot run).
# shellcheck source=scripts/lib.sh
source "$E2E_ROOT/scripts/lib.sh"
select_wine_loader
E2E_OUT=${E2E_OUT:-$E2E_ROOT/build/e2e}
PROBE=${E2E_PROBE:-$(dirname "$TINTMARK_EXE")/e2e_probe.exe}
MAIN_TITLE=Tintmark
# shellcheck disable=SC2034  # used by the scripts
OWNERS='HKCU\Software\Mirabilis\ICQ\Owners'
TINTMARK_PID=

[[ -f $TINTMARK_EXE ]] || { echo "FAIL: no $TINTMARK_EXE"; exit 1; }
[[ -f $PROBE ]] || { echo "FAIL: no $PROBE (target e2e_probe)"; exit 1; }
mkdir -p "$E2E_OUT"

# ------------------------------------------------------------------------------------------------
# Reporting

step() { echo "-- $*"; }
ok() { echo "   ok: $*"; }

fail() {
  echo "FAIL: $*"
  if [[ -n $TINTMARK_PID ]] && tintmark_running; then
    echo "   open dialogs at the time:"
    probe dialogs | sed 's/^/     /'
  fi
  exit 1
}

# skip_step WHAT WHY: a step that cannot run here; the script then ends as skipped.
E2E_SKIPPED=()
skip_step() {
  echo "   SKIPPED: $1: $2"
  E2E_SKIPPED+=("$1")
}

# end_script NAME: PASS, or with a step skipped status 77, which the test command counts as skipped.
end_script() {
  if ((${#E2E_SKIPPED[@]} > 0)); then
    echo "SKIPPED $1: all else passed"
    exit 77
  fi
  echo "PASS $1"
}

# expect_eq WHAT EXPECTED ACTUAL
expect_eq() {
  [[ $2 == "$3" ]] || fail "$1: expected [$2], got [$3]"
  ok "$1 = [$3]"
}

# ------------------------------------------------------------------------------------------------
# Probe

probe() { wine "$PROBE" "$@"; }

# The probe built beside Tintmark.exe, for the same processor, also where another one does the
# reading (E2E_PROBE).
ARCH_PROBE=$(dirname "$TINTMARK_EXE")/e2e_probe.exe
[[ -f $ARCH_PROBE ]] || ARCH_PROBE=$PROBE

# E2E_PATIENCE: how many times every deadline and typing delay below is stretched here, one for
# each 0.2 s that a program built for Tintmark.exe's processor takes to start (0.05 s on a machine
# of today, near a second where 32-bit programs are emulated); at least 1.
started=$(date +%s%N)
wine "$ARCH_PROBE" dialogs >/dev/null 2>&1
E2E_PATIENCE=$((($(date +%s%N) - started) / 200000000))
((E2E_PATIENCE >= 1)) || E2E_PATIENCE=1
echo "-- deadlines here: ${E2E_PATIENCE} times those of a machine of today"

# Integer MulDiv(twips, dpi, 1440) with halves rounded away from zero.
px() {
  local twips=$1 dpi=${2:-96}
  if ((twips < 0)); then
    echo $((-((-twips * dpi + 720) / 1440)))
  else
    echo $(((twips * dpi + 720) / 1440))
  fi
}

# Controls of the main window: "left top right bottom<TAB>class<TAB>enabled<TAB>visible<TAB>
# checked<TAB>id<TAB>style<TAB>text" per line, texts escaped (\r \n \t \\).
controls() { probe controls "${CONTROLS_OF:-$MAIN_TITLE}"; }

# control_line CLASS TEXT [N]: the Nth (1-based) control of CLASS whose text is TEXT, from the
# top (and then from the left).
control_line() {
  local class=$1 text=$2 n=${3:-1}
  controls | awk -F'\t' -v c="$class" -v t="$text" '$2 == c && $8 == t' |
    sort -t' ' -k2,2n -k1,1n | sed -n "${n}p"
}

# edit_line N: the Nth edit of the main window from the top (1 = txtID, 2 = sample box,
# 3..5 = the channel fields).
edit_line() {
  controls | awk -F'\t' '$2 == "Edit"' | sort -t' ' -k2,2n -k1,1n | sed -n "${1}p"
}

field() { cut -f"$1" <<<"$2"; }          # field N of a control line
text_of() { field 8 "$1"; }
enabled_of() { field 3 "$1"; }
checked_of() { field 5 "$1"; }

# Centre of a control line's rectangle: "X Y".
centre_of() {
  local l t r b
  read -r l t r b <<<"$(field 1 "$1")"
  echo "$(((l + r) / 2)) $(((t + b) / 2))"
}

channel_texts() {
  controls | awk -F'\t' '$2 == "Edit"' | sort -t' ' -k2,2n -k1,1n | sed -n '3,5p' | cut -f8 |
    paste -sd, -
}

# ------------------------------------------------------------------------------------------------
# Waiting: poll with a deadline, never a bare sleep.

# wait_until SECONDS COMMAND...: true once COMMAND succeeds, false when the time is up (SECONDS on
# a machine of today, times E2E_PATIENCE).
wait_until() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit * E2E_PATIENCE))
  while true; do
    "$@" && return 0
    ((SECONDS >= deadline)) && return 1
    sleep 0.1
  done
}

# ------------------------------------------------------------------------------------------------
# The program

tintmark_running() {
  [[ -n $TINTMARK_PID ]] || return 1
  local state
  state=$(awk '{print $3}' "/proc/$TINTMARK_PID/stat" 2>/dev/null) || return 1
  [[ -n $state && $state != Z ]]
}

# start_tintmark [ARGUMENT...]: passed on to the program. With TINTMARK_WINEDEBUG set, Wine's
# trace of those channels goes to the file TINTMARK_TRACE.
start_tintmark() {
  step "start $(basename "$TINTMARK_EXE")${1:+ $*}"
  WINEDEBUG=${TINTMARK_WINEDEBUG:-$WINEDEBUG} wine "$TINTMARK_EXE" "$@" >/dev/null \
    2>"${TINTMARK_TRACE:-/dev/null}" &
  TINTMARK_PID=$!
  probe wait-window "$MAIN_TITLE" $((15000 * E2E_PATIENCE)) ||
    fail "no window titled \"$MAIN_TITLE\" within $((15 * E2E_PATIENCE)) s"
  ok "window \"$MAIN_TITLE\" is open"
}

# wait_tintmark_end SECONDS: the process has ended, and no dialog came up on the way.
wait_tintmark_end() {
  local limit=${1:-10}
  wait_until "$limit" tintmark_ended_or_asking
  if tintmark_running; then
    local open
    open=$(probe dialogs | head -n 1 | cut -f3)
    [[ -n $open ]] && fail "the program asked \"$open\" instead of ending"
    fail "Tintmark still running $((limit * E2E_PATIENCE)) s after the request to end"
  fi
  wait "$TINTMARK_PID" 2>/dev/null
  TINTMARK_PID=
  ok "the process has ended"
}
tintmark_ended_or_asking() {
  tintmark_running || return 0
  [[ -n $(probe dialogs) ]]
}

stop_tintmark() {
  if tintmark_running; then
    kill -KILL "$TINTMARK_PID" 2>/dev/null
  fi
  [[ -n $TINTMARK_PID ]] && wait "$TINTMARK_PID" 2>/dev/null
  TINTMARK_PID=
  return 0
}
trap stop_tintmark EXIT

# ------------------------------------------------------------------------------------------------
# Input

# Keys go to the X window under the pointer: rest it on an empty spot of the client area, below
# the quit button.
pointer_on_window() {
  local x y h
  read -r x y _ h <<<"$(probe client "$MAIN_TITLE")"
  xdotool mousemove "$((x + 4))" "$((y + h - 4))"
}

click_at() { xdotool mousemove "$1" "$2" click 1; }

# click_control CLASS TEXT [N]
click_control() {
  local line
  line=$(control_line "$@")
  [[ -n $line ]] || fail "no control $1 \"$2\" ${3:+#$3 }to click"
  # shellcheck disable=SC2046
  click_at $(centre_of "$line")
  ok "clicked $1 \"$2\"${3:+ #$3}"
}

press() { pointer_on_window; xdotool key --delay 60 "$@"; }

# type_text TEXT: into the focused field, a character at a time, each once the field shows the one
# before. xdotool types a character missing from the keyboard map (Japanese) through a spare key
# mapped to it until its delay is over; a slow program must read the key before that, so the
# delay grows with E2E_PATIENCE.
type_text() {
  local typed= i
  pointer_on_window
  for ((i = 0; i < ${#1}; i++)); do
    typed+=${1:i:1}
    xdotool type --delay $((60 * E2E_PATIENCE)) -- "${1:i:1}"
    wait_until 10 focus_reads "$typed" ||
      fail "typed [$typed], the field reads [$(text_of "$(probe focus "$MAIN_TITLE")")]"
  done
}
focus_reads() { [[ $(text_of "$(probe focus "$MAIN_TITLE")") == "${1//\\/\\\\}" ]]; }

# click_close_box [TITLE]: of the main window unless TITLE names another.
click_close_box() {
  local point
  point=$(probe closebox "${1:-$MAIN_TITLE}") || fail "no close box on \"${1:-$MAIN_TITLE}\""
  # shellcheck disable=SC2086
  click_at $point
  ok "clicked the close box"
}

# ------------------------------------------------------------------------------------------------
# Message boxes. `probe dialogs` prints "dialog<TAB>rect<TAB>title" and, indented below it, the
# dialog's buttons and non-empty statics as control lines.

# dialog_block TITLE: the control lines of the visible dialog TITLE.
dialog_block() {
  probe dialogs | awk -F'\t' -v t="$1" '
    /^dialog\t/ { inside = ($3 == t); next }
    inside { sub(/^  /, ""); print }'
}

dialog_titles() { probe dialogs | awk -F'\t' '/^dialog\t/ { print $3 }'; }

dialog_open() { [[ -n $(probe dialogs | awk -F'\t' -v t="$1" '/^dialog\t/ && $3 == t') ]]; }

no_dialog() { [[ -z $(probe dialogs) ]]; }

wait_dialog() {
  wait_until "${2:-10}" dialog_open "$1" || {
    local others
    others=$(dialog_titles | paste -sd'|' -)
    fail "no message box titled \"$1\" within $((${2:-10} * E2E_PATIENCE)) s (open: [${others}])"
  }
  ok "message box \"$1\" is shown"
}

# dialog_message TITLE: the message text, escaped (CR LF reads \r\n).
dialog_message() { dialog_block "$1" | awk -F'\t' '$2 == "Static" { print $8 }'; }

# answer_dialog TITLE BUTTON: clicks the button whose caption, without its "&", is BUTTON, or
# whose ID is that of a message box's BUTTON (OK, Cancel, Yes, No), which holds in any language
# (a Japanese system's box reads "いいえ(&N)"); a box with a single button has it clicked.
answer_dialog() {
  local title=$1 wanted=$2 buttons line id
  case $wanted in OK) id=1 ;; Cancel) id=2 ;; Yes) id=6 ;; No) id=7 ;; *) id=none ;; esac
  buttons=$(dialog_block "$title" | awk -F'\t' '$2 == "Button"')
  line=$(awk -F'\t' -v b="$wanted" -v id="$id" '{ t = $8; gsub(/&/, "", t) } t == b || $6 == id' \
    <<<"$buttons" | head -n 1)
  if [[ -z $line && $(grep -c . <<<"$buttons") -eq 1 ]]; then
    line=$buttons
  fi
  [[ -n $line ]] || fail "message box \"$title\" has no button \"$wanted\""
  # shellcheck disable=SC2046
  click_at $(centre_of "$line")
  wait_until 5 dialog_gone "$title" || fail "message box \"$title\" still open after \"$wanted\""
  ok "answered \"$title\" with \"$(text_of "$line")\""
}
dialog_gone() { ! dialog_open "$1"; }

# ------------------------------------------------------------------------------------------------
# Registry, through the running wineserver (it sees a value as soon as the program has set it).

reset_icq_registry() { wine reg delete 'HKCU\Software\Mirabilis' /f >/dev/null 2>&1 || true; }

# reg_add ARGS...: wine reg add ARGS /f, to set up what a step needs. Wine's reg.exe reports on
# its standard output; once, on a loaded machine, a run failed without a word there, so a failure
# is shown with what reg.exe said, and the call is made once more.
reg_add() {
  local out status
  out=$(wine reg add "$@" /f 2>&1) && return 0
  status=$?
  echo "   reg add $* failed (status $status): $(tr -d '\r' <<<"$out" | tr '\n' ' ')"
  wine reg add "$@" /f >/dev/null
}

reg_add_dword() { reg_add "$1" /v "$2" /t REG_DWORD /d "$3" || fail "reg add $1 $2 failed"; }

reg_add_key() { reg_add "$1" || fail "reg add $1 failed"; }

# reg_value KEY NAME: "TYPE DATA" (for example "REG_DWORD 0xff"); status 1 when missing.
reg_value() {
  local out
  out=$(wine reg query "$1" /v "$2" 2>/dev/null) || return 1
  tr -d '\r' <<<"$out" | awk -v n="$2" '
    { line = $0; sub(/^    /, "", line) }
    index(line, n "    ") == 1 {
      rest = substr(line, length(n) + 5)
      split(rest, parts, "    ")
      print parts[1], parts[2]
      found = 1
    }
    END { exit !found }'
}

reg_is() { [[ $(reg_value "$1" "$2") == "$3" ]]; }

reg_key_exists() { wine reg query "$1" >/dev/null 2>&1; }

# ------------------------------------------------------------------------------------------------
# The About box

ABOUT_TITLE=Tintmarkについて

# window_field TITLE NAME: one field of `probe window`, such as rect, style or dpi.
window_field() { probe window "$1" | tr -d '\r' | awk -F'\t' -v n="$2" '$1 == n { print $2 }'; }

wait_about() {
  probe wait-window "$ABOUT_TITLE" $((5000 * E2E_PATIENCE)) ||
    fail "no About box within $((5 * E2E_PATIENCE)) s"
}

# Closing hides the box at once; its window goes when the main window's activation that follows
# has ended, an ID request included.
about_gone() {
  local style
  style=$(window_field "$ABOUT_TITLE" style)
  [[ -z $style ]] || ((!(style & 0x10000000)))
}

# The About item follows the File menu in the menu bar, just above the client area.
click_about_menu() {
  local x y w
  read -r x y w _ <<<"$(probe client "$MAIN_TITLE")"
  click_at "$((x + w * 45 / 100))" "$((y - 6 * $(window_field "$MAIN_TITLE" dpi) / 96))"
}

# expect_about_box DPI: 150 and 900 twips right of and below the main window's outer corner, its
# client area, and its controls' texts and places.
expect_about_box() {
  local dpi=$1 ml mt al at cx cy cw ch all entry class text twips want l t r b got
  read -r ml mt _ <<<"$(window_field "$MAIN_TITLE" rect)"
  read -r al at _ <<<"$(window_field "$ABOUT_TITLE" rect)"
  read -r cx cy cw ch <<<"$(probe client "$ABOUT_TITLE")"
  all=$(probe controls "$ABOUT_TITLE")
  expect_eq "offset from the main window, client size" \
    "$(px 150 "$dpi") $(px 900 "$dpi") $(px 2475 "$dpi")x$(px 1905 "$dpi")" \
    "$((al - ml)) $((at - mt)) ${cw}x${ch}"
  # Labels size themselves to their captions, so only their corners are fixed; the icon picture
  # fits the icon (32 pixels at 96 DPI) in its two-pixel sunken border.
  for entry in "Button|OK|600 1440 1380 345" "Static||240 240 _ _" "Static|Tintmark|1050 240" \
    "Static|Version 1.12.10|1080 600" "Static|Tintmark開発班|1080 960"; do
    IFS='|' read -r class text twips <<<"$entry"
    want=$(for v in $twips; do
      if [[ $v == _ ]]; then echo $(($(px 480 "$dpi") + 4)); else px "$v" "$dpi"; fi
    done | paste -sd' ' -)
    read -r l t r b <<<"$(awk -F'\t' -v c="$class" -v t="$text" '$2 == c && $8 == t' <<<"$all" |
      cut -f1)"
    [[ -n $l && $r -le $((cx + cw)) ]] || fail "$class \"$text\": missing or past the box's edge"
    got=$(echo $((l - cx)) $((t - cy)) $((r - l)) $((b - t)) | cut -d' ' -f"1-$(wc -w <<<"$twips")")
    expect_eq "$class \"$text\"" "$want" "$got"
  done
}

# ------------------------------------------------------------------------------------------------

screenshot() {
  import -display "$DISPLAY" -window root "$1" || fail "screenshot $1 failed"
  ok "screenshot $1"
}

id_text_is() { [[ $(text_of "$(edit_line 1)") == "$1" ]]; }
channels_are() { [[ $(channel_texts) == "$1" ]]; }
id_field_enabled() { [[ $(enabled_of "$(edit_line 1)") == 1 ]]; }
