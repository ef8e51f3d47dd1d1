#!/bin/bash
# Editing a colour with real input: typing into a channel field, Ctrl+▼ and Shift+▼ with the
# mouse, the arrow keys between the fields, the base and colour options; the sample's colour read
# from a screenshot; 適用 writes what was edited. Then the quit prompt: after an edit Yes writes
# and No does not, and switching colour or base alone asks nothing.
source "$(dirname "$0")/lib.bash"

send_msg="$OWNERS\\12345678\\Windows\\SendMsg"

expect_channels() {
  wait_until 5 channels_are "$1" || fail "channel fields: expected [$1], got [$(channel_texts)]"
  ok "channel fields = [$1]"
}
# The channel field N (1 red, 2 green, 3 blue) and the ▲ / ▼ buttons of its row.
channel_line() { edit_line $((2 + $1)); }
arrow_line() { control_line Button "$1" "$2"; }
# modified_click MODIFIER LINE: a click with Shift or Ctrl held.
modified_click() {
  local x y
  read -r x y <<<"$(centre_of "$2")"
  xdotool mousemove "$x" "$y" keydown "$1" click 1 keyup "$1"
}
focus_top_is() {
  local l t
  read -r l t _ <<<"$(field 1 "$(probe focus "$MAIN_TITLE")")"
  read -r _ top _ <<<"$(field 1 "$(channel_line "$1")")"
  [[ $t == "$top" ]]
}
# The colour of the sample box at its lower right corner, where the hint text never reaches.
sample_color() {
  local l t r b shot=$E2E_OUT/edit_colors.png
  read -r l t r b <<<"$(field 1 "$(edit_line 2)")"
  import -display "$DISPLAY" -window root "$shot" 2>/dev/null || return 1
  convert "$shot" -crop "1x1+$((r - 6))+$((b - 6))" -format '%[hex:p{0,0}]' info:
}

restart() {
  reset_icq_registry
  reg_add_dword "$OWNERS" LastOwner 12345678
  reg_add_dword "$send_msg" "Pen Color" 0x000000FF
  reg_add_dword "$send_msg" "Back Color" 0x00FFFFFF
  start_tintmark
  expect_channels "255,255,255"
}

restart

step "typing 4, 0 into the red field"
# shellcheck disable=SC2046
click_at $(centre_of "$(channel_line 1)")
press End shift+Home
type_text 40
expect_channels "40,255,255"

step "Ctrl+▼ on green, Shift+▼ on blue, Shift+▲ on red"
modified_click ctrl "$(arrow_line ▼ 2)"
expect_channels "40,0,255"
modified_click shift "$(arrow_line ▼ 3)"
expect_channels "40,0,245"
modified_click shift "$(arrow_line ▲ 1)"
expect_channels "50,0,245"

step "the arrow keys move between the fields, wrapping"
# shellcheck disable=SC2046
click_at $(centre_of "$(channel_line 3)")
press Down
wait_until 5 focus_top_is 1 || fail "Down in blue did not move to red"
ok "Down in blue moved to red"
press Up
wait_until 5 focus_top_is 3 || fail "Up in red did not move to blue"
ok "Up in red moved to blue"
press alt+Up
wait_until 5 focus_top_is 2 || fail "Alt+Up in blue did not move to green"
ok "Alt+Up in blue moved to green"

step "the sample shows the edited back colour"
wait_until 5 eval '[[ $(sample_color) == 3200F5 ]]' ||
  fail "sample colour: expected [3200F5], got [$(sample_color)]"
ok "sample colour = [3200F5]"

step "16進数, then 文字色 and back: the fields follow, nothing is edited by it"
click_control Button 16進数
expect_channels "32,00,F5"
click_control Button 文字色
expect_channels "FF,00,00"
click_control Button 背景色
expect_channels "32,00,F5"

step "適用 writes the edited colour"
click_control Button 適用
wait_until 10 reg_is "$send_msg" "Back Color" "REG_DWORD 0xf50032" ||
  fail "Back Color: expected [REG_DWORD 0xf50032], got [$(reg_value "$send_msg" "Back Color")]"
ok "Back Color = 0xf50032"

step "switching base and colour after the apply: 終了 asks nothing"
click_control Button 10進数
click_control Button 文字色
expect_channels "255,0,0"
click_control Button 終了
wait_tintmark_end 10

step "an edit, then 終了: the prompt, and No writes nothing"
restart
modified_click ctrl "$(arrow_line ▼ 1)"
expect_channels "0,255,255"
click_control Button 終了
wait_dialog " - 注意！ - Tintmark"
answer_dialog " - 注意！ - Tintmark" No
wait_tintmark_end 10
reg_is "$send_msg" "Back Color" "REG_DWORD 0xffffff" ||
  fail "No wrote: Back Color is [$(reg_value "$send_msg" "Back Color")]"
ok "Back Color unchanged"

step "an edit, then the close box: the prompt, and Yes writes"
restart
modified_click ctrl "$(arrow_line ▼ 2)"
expect_channels "255,0,255"
click_close_box
wait_dialog " - 注意！ - Tintmark"
answer_dialog " - 注意！ - Tintmark" Yes
wait_tintmark_end 10
reg_is "$send_msg" "Back Color" "REG_DWORD 0xff00ff" ||
  fail "Yes did not write: Back Color is [$(reg_value "$send_msg" "Back Color")]"
ok "Back Color = 0xff00ff"

echo "PASS edit_colors"
