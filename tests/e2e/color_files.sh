#!/bin/bash
# Colour files with Wine's own registry editor: a file saved through the real Save dialog imports
# into the owner's key; the key exported by `regedit /e` (its Unicode form, the only one it writes
# from the command line) opens through the real Open dialog and shows its colours. A text file
# named on the command line is reported and does not become the file Save writes to; a read-only
# colour file is opened, and Save reports the error and leaves the file as it was.
source "$(dirname "$0")/lib.bash"

dir=$E2E_OUT/color_files
rm -rf "$dir" && mkdir -p "$dir"
win_dir=$(winepath -w "$dir")
send_msg="$OWNERS\\12345678\\Windows\\SendMsg"
expect_reg() { expect_eq "$2" "$3" "$(reg_value "$send_msg" "$2" || echo missing)"; }

reset_icq_registry
reg_add_dword "$OWNERS" LastOwner 12345678
reg_add_dword "$send_msg" "Pen Color" 0x000000FF
reg_add_dword "$send_msg" "Back Color" 0x00FFFFFF
start_tintmark
wait_until 10 channels_are "255,255,255" || fail "the owner's colours did not load"

step "Ctrl+S with no current file: the Save dialog, a name without extension"
press ctrl+s
wait_dialog Tintmark
type_text "$win_dir\\red-white"
press Return
wait_until 10 test -f "$dir/red-white.reg" || fail "no $dir/red-white.reg"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows\\SendMsg]\r\n"Pen Color"=dword:000000FF\r\n"Back Color"=dword:00FFFFFF\r\n' >"$dir/expected.reg"
cmp "$dir/expected.reg" "$dir/red-white.reg" || fail "the saved file differs from the example"
ok "the saved file is the 145-byte example"
no_dialog || fail "a message came up after saving: $(dialog_titles | paste -sd'|' -)"

step "regedit imports the saved file into the owner's key"
reg_add_dword "$send_msg" "Pen Color" 0x00123456
reg_add_dword "$send_msg" "Back Color" 0x00654321
wine regedit /s "$win_dir\\red-white.reg" >/dev/null 2>&1
expect_reg "$send_msg" "Pen Color" "REG_DWORD 0xff"
expect_reg "$send_msg" "Back Color" "REG_DWORD 0xffffff"

step "regedit /e exports the key among other values; Ctrl+O opens the export"
reg_add_dword "$send_msg" "Pen Color" 0x0000FF00
reg_add_dword "$send_msg" "Back Color" 0x00FF0000
reg_add "$send_msg" /v Font /t REG_SZ /d "MS UI Gothic"
wine regedit /e "$win_dir\\export.reg" "HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\12345678" >/dev/null 2>&1
expect_eq "export form" "fffe" "$(head -c 2 "$dir/export.reg" | od -An -tx1 | tr -d ' \n')"
press ctrl+o
wait_dialog Tintmark
type_text "$win_dir\\export.reg"
press Return
wait_dialog "! - 適用確認 - Tintmark"
expect_eq "question" "開いた色設定を適用しますか？" "$(dialog_message "! - 適用確認 - Tintmark")"
answer_dialog "! - 適用確認 - Tintmark" No
wait_until 5 channels_are "0,0,255" || fail "back colour: expected [0,0,255], got [$(channel_texts)]"
ok "back colour shown: [0,0,255]"
click_control Button 文字色
wait_until 5 channels_are "0,255,0" || fail "pen colour: expected [0,255,0], got [$(channel_texts)]"
ok "pen colour shown: [0,255,0]"
press ctrl+q
wait_tintmark_end 10

step "a text file named on the command line: the read error, then Save asks for a name"
escaped_dir=${win_dir//\\/\\\\}
printf 'Buy milk.\r\n' >"$dir/notes.txt"
start_tintmark "$win_dir\\notes.txt"
wait_dialog " - 読み込みエラー - Tintmark"
expect_eq "read error" "色の設定ファイルを読み込めませんでした。\\r\\n\\r\\n$escaped_dir\\\\notes.txt\\r\\n色の設定ファイルではありません。" \
  "$(dialog_message " - 読み込みエラー - Tintmark")"
answer_dialog " - 読み込みエラー - Tintmark" OK
press ctrl+s
wait_dialog Tintmark
press Escape
wait_until 5 dialog_gone Tintmark || fail "the Save dialog is still open after Escape"
expect_eq "notes.txt afterwards" "Buy milk." "$(tr -d '\r' <"$dir/notes.txt")"

step "a read-only colour file opens; Save reports the error and leaves the file as it was"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\99\\Windows\\SendMsg]\n"Pen Color"=dword:0000ff00\n"Back Color"=dword:00ff0000\n' >"$dir/read-only.reg"
wine cmd /c attrib +r "$win_dir\\read-only.reg" || fail "attrib +r failed"
before=$(md5sum <"$dir/read-only.reg")
press ctrl+o
wait_dialog Tintmark
type_text "$win_dir\\read-only.reg"
press Return
wait_dialog "! - 適用確認 - Tintmark"
answer_dialog "! - 適用確認 - Tintmark" No
press ctrl+s
wait_dialog " - 保存エラー - Tintmark"
expect_eq "save error" "色の設定を保存できませんでした。\\r\\n\\r\\n$escaped_dir\\\\read-only.reg" \
  "$(dialog_message " - 保存エラー - Tintmark")"
answer_dialog " - 保存エラー - Tintmark" OK
expect_eq "the file afterwards" "$before" "$(md5sum <"$dir/read-only.reg")"
expect_eq "files in the folder" "expected.reg export.reg notes.txt read-only.reg red-white.reg" \
  "$(cd "$dir" && echo *)"
press ctrl+q
wait_tintmark_end 10

echo "PASS color_files"
