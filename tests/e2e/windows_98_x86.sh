#!/bin/bash
# The 32-bit program as Windows 98 with code page 932, as a Japanese Windows 98 runs it: a whole
# road with real input (type a red, Shift+▲ the green, apply, save under a Japanese name, open it,
# the About box, quit through the prompt), its registry values and file bytes as on NT, its texts
# read back in Japanese. Wine implements every W function even as Windows 98, so a relay trace of
# the program's own calls proves it: none may be a W function that Windows 98 only stubs (one that
# ends in W, whose DLL also exports the A name, and is not among those Windows 9x implements).
# x86 only (the test command runs *_x86.sh for the 32-bit build alone).
source "$(dirname "$0")/lib.bash"

dir=$E2E_OUT/windows_98
rm -rf "$dir" && mkdir -p "$dir"
relay=$dir/relay.log
send_msg="$OWNERS\\12345678\\Windows\\SendMsg"
exe_name=$(basename "$TINTMARK_EXE")
locale_dir=$(japanese_locale) || fail "no Japanese locale (localedef, package locales)"
# The program and the probe both in code page 932: texts cross between them as the system's.
japanese() { LC_ALL= LOCPATH=$locale_dir LANG=ja_JP.UTF-8 "$@"; }
probe() { japanese wine "$PROBE" "$@"; }
expect_reg() { expect_eq "$2" "$3" "$(reg_value "$send_msg" "$2" || echo missing)"; }

# The W functions Windows 95, 98 and ME implement (Microsoft's KB 210341).
nine_x_w="EnumResourceLanguagesW EnumResourceNamesW EnumResourceTypesW ExtTextOutW FindResourceW
  FindResourceExW GetCharWidthW GetCommandLineW GetTextExtentExPointW GetTextExtentPoint32W
  GetTextExtentPointW lstrlenW MessageBoxExW MessageBoxW TextOutW MultiByteToWideChar
  WideCharToMultiByte"

step "Wine reports Windows 98 to $exe_name and relays its own calls"
debug_key='HKCU\Software\Wine\Debug'
as_windows win98 "$exe_name"
wine reg delete "$debug_key" /v RelayFromExclude /f >/dev/null 2>&1
reg_add "$debug_key" /v RelayFromInclude /t REG_SZ /d "$exe_name" ||
  fail "reg add RelayFromInclude failed"
cleanup_98() {
  stop_tintmark
  as_windows "" "$exe_name"
  wine reg delete "$debug_key" /f >/dev/null 2>&1
}
trap cleanup_98 EXIT

reset_icq_registry
reg_add_dword "$OWNERS" LastOwner 12345678
reg_add_dword "$send_msg" "Pen Color" 0x000000FF
reg_add_dword "$send_msg" "Back Color" 0x00FFFFFF
step "start $exe_name as Windows 98"
japanese env WINEDEBUG=+relay wine "$TINTMARK_EXE" >/dev/null 2>"$relay" &
TINTMARK_PID=$!
probe wait-window "$MAIN_TITLE" $((15000 * E2E_PATIENCE)) ||
  fail "no window titled \"$MAIN_TITLE\" within $((15 * E2E_PATIENCE)) s"
wait_until 30 channels_are "255,255,255" || fail "the owner's colours did not load"
ok "the owner's colours loaded: back [$(channel_texts)]"

step "the window's texts read back in Japanese"
for text in 適用 現在の色 終了 文字色 背景色 10進数 16進数 "赤(&R) :" "緑(&G) :" "青(&B) :" ▲ ▼; do
  [[ -n $(control_line Button "$text") || -n $(control_line Static "$text") ]] ||
    fail "no control reads \"$text\": $(controls | cut -f2,8 | paste -sd'|' -)"
done
ok "buttons, options and labels read in Japanese"
expect_eq "the sample's hint" "Shift : 10ずつ変動    Ctrl  : 最大値/最小値" "$(text_of "$(edit_line 2)")"

step "the text colour: type its red, Shift+▲ its green, apply"
click_control Button 文字色
wait_until 10 channels_are "255,0,0" || fail "pen colour: [$(channel_texts)]"
# shellcheck disable=SC2046
click_at $(centre_of "$(edit_line 3)")
press End BackSpace BackSpace BackSpace
type_text 200
green_up=$(control_line Button ▲ 2)
read -r x y <<<"$(centre_of "$green_up")"
xdotool mousemove "$x" "$y" keydown shift click 1 keyup shift
wait_until 10 channels_are "200,10,0" || fail "expected [200,10,0], got [$(channel_texts)]"
click_control Button 適用
wait_until 10 eval '[[ $(reg_value "$send_msg" "Pen Color") == "REG_DWORD 0xac8" ]]' ||
  fail "Pen Color after Apply: $(reg_value "$send_msg" "Pen Color")"
expect_reg "$send_msg" "Pen Color" "REG_DWORD 0xac8"
expect_reg "$send_msg" "Back Color" "REG_DWORD 0xffffff"

step "save under a Japanese name, as on NT"
win_dir=$(winepath -w "$dir")
press ctrl+x
wait_dialog Tintmark
type_text "$win_dir\\色の設定"
press Return
wait_until 30 test -f "$dir/色の設定.reg" || fail "no $dir/色の設定.reg: $(ls "$dir")"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Mirabilis\\ICQ\\Owners\\12345678\\Windows\\SendMsg]\r\n"Pen Color"=dword:00000AC8\r\n"Back Color"=dword:00FFFFFF\r\n' >"$dir/expected.reg"
cmp "$dir/expected.reg" "$dir/色の設定.reg" || fail "the saved file differs from NT's"
ok "色の設定.reg holds the same 145 bytes as on NT"

step "open it again, through the Open dialog"
reg_add_dword "$send_msg" "Pen Color" 0x00000000
click_control Button 現在の色
wait_until 10 channels_are "0,0,0" || fail "current colour: [$(channel_texts)]"
press ctrl+o
wait_dialog Tintmark
type_text "$win_dir\\色の設定.reg"
press Return
wait_dialog "! - 適用確認 - Tintmark"
expect_eq "question" "開いた色設定を適用しますか？" "$(dialog_message "! - 適用確認 - Tintmark")"
answer_dialog "! - 適用確認 - Tintmark" No
wait_until 10 channels_are "200,10,0" || fail "opened: [$(channel_texts)]"
ok "the file's colours are shown, unapplied"
screenshot "$dir/main_window.png"

step "the About box"
press alt+h
wait_about
[[ -n $(probe controls "$ABOUT_TITLE" | awk -F'\t' '$8 == "Tintmark開発班"') ]] ||
  fail "About box texts: $(probe controls "$ABOUT_TITLE" | cut -f8 | paste -sd'|' -)"
ok "the About box reads Tintmark開発班"
xdotool key Return
wait_until 10 about_gone || fail "the About box did not close"

step "quit through the prompt: Yes applies the opened colours"
click_close_box
wait_dialog " - 注意！ - Tintmark"
answer_dialog " - 注意！ - Tintmark" Yes
wait_tintmark_end
expect_reg "$send_msg" "Pen Color" "REG_DWORD 0xac8"

step "the relay trace: no W function Windows 98 lacks, called by the program itself"
read -r base size < <(i686-w64-mingw32-objdump -p "$TINTMARK_EXE" |
  awk '$1 == "ImageBase" { b = $2 } $1 == "SizeOfImage" { s = $2 } END { print b, s }')
# Hexadecimal by hand: Debian's awk (mawk) has no strtonum.
own=$(awk -v lo=$((16#$base)) -v hi=$((16#$base + 16#$size)) '
  function hex(text,  i, n) {
    for (i = 1; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
    return n
  }
  /:Call / && match($0, /ret=[0-9a-fA-F]+$/) {
    ret = hex(tolower(substr($0, RSTART + 4, RLENGTH - 4)))
    if (ret >= lo && ret < hi && match($0, /Call [A-Za-z0-9_]+\.[A-Za-z0-9_]+/))
      print substr($0, RSTART + 5, RLENGTH - 5)
  }' "$relay" | sort -u)
[[ -n $own ]] || fail "no call of the program's own in the relay trace ($relay)"
offending=()
while IFS=. read -r dll function; do
  [[ $function == *W ]] || continue
  [[ " $(echo $nine_x_w) " == *" $function "* ]] && continue
  dll_file=$(ls /usr/lib/wine/i386-windows/"$dll".dll 2>/dev/null | head -n 1)
  [[ -n $dll_file ]] || { offending+=("$dll.$function (DLL not found)"); continue; }
  i686-w64-mingw32-objdump -p "$dll_file" | grep -qE "[[:space:]]${function%W}A$" &&
    offending+=("$dll.$function")
done <<<"$own"
((${#offending[@]} == 0)) || fail "W calls Windows 98 only stubs: ${offending[*]}"
ok "$(wc -l <<<"$own") functions called by the program, none a W function Windows 98 lacks"
# Windows 95, 98 and ME have no MoveFileEx at all: the save above went by renames alone.
grep -qx 'kernel32.MoveFileExA' <<<"$own" && fail "the program called MoveFileExA as Windows 98"
ok "no MoveFileExA: the save renamed its way"

echo "PASS windows_98_x86"
