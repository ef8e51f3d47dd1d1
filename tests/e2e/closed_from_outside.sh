#!/bin/bash
# What other programs send the main window, from another process and sent, not posted, as Windows
# delivers it: the message is handled inside the program's GetMessage, which returns nothing. A row
# a line: what is open, the messages sent (MESSAGE:WPARAM:LPARAM), and whether the process must
# end. Where it ends it asks nothing and writes nothing; where it stays, the edit is still there.
source "$(dirname "$0")/lib.bash"

send_msg="$OWNERS\\12345678\\Windows\\SendMsg"
WM_CLOSE=0x10 WM_QUERYENDSESSION=0x11 WM_ENDSESSION=0x16 CLOSEAPP=1 CRITICAL=0x40000000
rows=(
  "edited|$WM_CLOSE:0:0|ends"
  "about|$WM_CLOSE:0:0|ends"
  "edited|$WM_QUERYENDSESSION:0:$CLOSEAPP $WM_ENDSESSION:1:$CLOSEAPP|ends"
  "edited|$WM_QUERYENDSESSION:0:$CRITICAL $WM_ENDSESSION:1:$CRITICAL|ends"
  "edited|$WM_QUERYENDSESSION:0:0 $WM_ENDSESSION:0:0|stays"
  # What the system tells every window: minimized and restored, new text metrics, colours, theme,
  # display mode, fonts, keyboard layout, suspend and resume, another program active, the clock.
  "edited|0x112:0xF020:0 0x112:0xF120:0 0x1A:0x2A:0 0x15:0:0 0x31A:0:0 0x7E:32:0x3000400 \
0x1D:0:0 0x51:0:0x4090409 0x218:4:0 0x218:0x12:0 0x1C:0:0 0x1C:1:0 0x1E:0:0|stays"
)

reset_icq_registry
reg_add_dword "$OWNERS" LastOwner 12345678
reg_add_dword "$send_msg" "Pen Color" 0x000000FF
reg_add_dword "$send_msg" "Back Color" 0x00FFFFFF

for row in "${rows[@]}"; do
  IFS='|' read -r open messages outcome <<<"$row"
  step "$open, sent $messages: the process $outcome"
  start_tintmark
  wait_until 10 channels_are "255,255,255" || fail "the owner's colours did not load"
  # An unapplied edit: the back colour's red one less.
  click_control Button ▼ 1
  wait_until 5 channels_are "254,255,255" || fail "▼ gave [$(channel_texts)]"
  if [[ $open == about ]]; then
    press alt+h
    wait_about
  fi
  for message in $messages; do
    IFS=: read -r id wparam lparam <<<"$message"
    answer=$(probe send "$MAIN_TITLE" "$id" "$wparam" "$lparam" | tr -d '\r')
    # Nobody is asked whether a session may end: the program agrees.
    [[ $id != "$WM_QUERYENDSESSION" ]] || expect_eq "WM_QUERYENDSESSION's answer" 1 "$answer"
  done
  if [[ $outcome == ends ]]; then
    wait_tintmark_end 10
  else
    no_dialog || fail "a box came up: $(dialog_titles | paste -sd'|' -)"
    expect_eq "the edit, still there" "254,255,255" "$(channel_texts)"
    press ctrl+q
    wait_tintmark_end 10
  fi
  # Read until it answers: on a loaded machine Wine's reg.exe has failed without a word.
  wait_until 5 reg_is "$send_msg" "Back Color" "REG_DWORD 0xffffff" ||
    fail "Back Color: expected [REG_DWORD 0xffffff], got [$(reg_value "$send_msg" "Back Color")]"
done
echo "PASS closed_from_outside"
