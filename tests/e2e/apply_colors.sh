#!/bin/bash
# The main road: the last owner's colours load at start, and 適用 writes them back (the back colour
# 0xFFFFFFFF, read as yellow, is stored as 0x0000FFFF). Then the roads where applying must not write: an ID of 11 digits, and an owner whose
# key has no Windows\SendMsg below it. Ends with File > Quit (Ctrl+Q).
source "$(dirname "$0")/lib.bash"

send_msg="$OWNERS\\12345678\\Windows\\SendMsg"

expect_reg() {
  local actual
  actual=$(reg_value "$1" "$2") || actual="(missing)"
  expect_eq "$2" "$3" "$actual"
}

reset_icq_registry
reg_add_dword "$OWNERS" LastOwner 12345678
reg_add_dword "$send_msg" "Pen Color" 0x000000FF
reg_add_dword "$send_msg" "Back Color" 0xFFFFFFFF
step "registry: LastOwner 12345678, Pen Color 0x000000FF, Back Color 0xFFFFFFFF"

start_tintmark

step "the owner's colours load at start, without a message"
# 0xFFFFFFFF reads as 0x0000FFFF: the back colour shows as yellow.
wait_until 10 channels_are "255,255,0" || fail "channel fields: expected [255,255,0], got [$(channel_texts)]"
ok "channel fields = [255,255,0]"
no_dialog || fail "a message box came up at start: $(dialog_titles | paste -sd'|' -)"
ok "no message box"
id_line=$(edit_line 1)
expect_eq "ID field" 12345678 "$(text_of "$id_line")"
expect_eq "ID field enabled" 0 "$(enabled_of "$id_line")"
expect_reg "$send_msg" "Back Color" "REG_DWORD 0xffffffff"

step "文字色 shows the pen colour"
click_control Button 文字色
wait_until 5 channels_are "255,0,0" || fail "channel fields: expected [255,0,0], got [$(channel_texts)]"
ok "channel fields = [255,0,0]"

step "適用 writes both colours"
click_control Button 適用
wait_until 10 reg_is "$send_msg" "Back Color" "REG_DWORD 0xffff" ||
  fail "Back Color: expected [REG_DWORD 0xffff], got [$(reg_value "$send_msg" "Back Color")]"
expect_reg "$send_msg" "Back Color" "REG_DWORD 0xffff"
expect_reg "$send_msg" "Pen Color" "REG_DWORD 0xff"
no_dialog || fail "a message box came up after applying: $(dialog_titles | paste -sd'|' -)"
ok "no message box"

# Marks in the registry that any stray write would overwrite.
reg_add_dword "$send_msg" "Pen Color" 0x00123456
reg_add_dword "$send_msg" "Back Color" 0x00654321
step "registry marks: Pen Color 0x00123456, Back Color 0x00654321"

step "Ctrl+I, an ID of 11 digits, 適用: the ID error, nothing written"
press ctrl+i
wait_until 5 id_field_enabled || fail "Ctrl+I left the ID field locked"
ok "ID field unlocked"
# Replace the whole text (Ctrl+A belongs to the Apply menu item).
press End shift+Home
type_text 12345678901
wait_until 5 id_text_is 12345678901 || fail "ID field: expected [12345678901], got [$(text_of "$(edit_line 1)")]"
ok "ID field = [12345678901]"
click_control Button 適用
wait_dialog " - IDエラー - Tintmark"
expect_eq "error text" \
  'ユーザーIDが間違っています！\r\n\r\nユーザーIDは正確に入力してください。' \
  "$(dialog_message " - IDエラー - Tintmark")"
expect_reg "$send_msg" "Pen Color" "REG_DWORD 0x123456"
expect_reg "$send_msg" "Back Color" "REG_DWORD 0x654321"
answer_dialog " - IDエラー - Tintmark" OK
expect_eq "ID field enabled after the error" 1 "$(enabled_of "$(edit_line 1)")"

step "an owner without Windows\\SendMsg: the apply error, no key created"
reg_add_key "$OWNERS\\4242"
press End shift+Home
type_text 4242
wait_until 5 id_text_is 4242 || fail "ID field: expected [4242], got [$(text_of "$(edit_line 1)")]"
ok "ID field = [4242]"
click_control Button 適用
wait_dialog " - 適用エラー - Tintmark"
message=$(dialog_message " - 適用エラー - Tintmark")
[[ $message == 色の設定を適用できませんでした。* ]] ||
  fail "apply error text: got [$message]"
ok "apply error text = [$message]"
reg_key_exists "$OWNERS\\4242\\Windows" && fail "the apply created $OWNERS\\4242\\Windows"
ok "no key $OWNERS\\4242\\Windows"
expect_reg "$send_msg" "Pen Color" "REG_DWORD 0x123456"
answer_dialog " - 適用エラー - Tintmark" OK

step "Ctrl+Q (File > Quit) ends the program at once, writing nothing"
press ctrl+q
wait_tintmark_end 10
expect_reg "$send_msg" "Pen Color" "REG_DWORD 0x123456"
expect_reg "$send_msg" "Back Color" "REG_DWORD 0x654321"

echo "PASS apply_colors"
