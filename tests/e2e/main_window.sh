#!/bin/bash
# First start without ICQ's keys: the window, its layout at 96 DPI, what a screen reader reads, the
# ID request, typing an ID, and closing through the close box without a prompt.
source "$(dirname "$0")/lib.bash"

reset_icq_registry
# The DLLs the program loads, for where another process cannot read them from its memory.
TINTMARK_WINEDEBUG=+loaddll TINTMARK_TRACE=$E2E_OUT/main_window-loaddll.log
start_tintmark

step "the ID request is shown at the first activation"
wait_dialog " - ID入力要求 - Tintmark"
expect_eq "request text" \
  'Tintmarkは、あなたのICQのユーザーIDを取得できませんでした。\r\n\r\nはじめにIDを正確に入力してください。' \
  "$(dialog_message " - ID入力要求 - Tintmark")"
expect_eq "ID field while the request is up (enabled)" 0 "$(enabled_of "$(edit_line 1)")"
answer_dialog " - ID入力要求 - Tintmark" OK

step "after the request the ID field is unlocked and has the focus"
id_line=$(edit_line 1)
expect_eq "ID field enabled" 1 "$(enabled_of "$id_line")"
expect_eq "ID field text" "" "$(text_of "$id_line")"
focus=$(probe focus "$MAIN_TITLE")
expect_eq "focused control" "$(cut -f1,2 <<<"$id_line")" "$(cut -f1,2 <<<"$focus")"

step "initial values"
expect_eq "channel fields" "255,255,255" "$(channel_texts)"
expect_eq "sample box" "Shift : 10ずつ変動    Ctrl  : 最大値/最小値" "$(text_of "$(edit_line 2)")"
expect_eq "10進数 selected" 1 "$(checked_of "$(control_line Button 10進数)")"
expect_eq "16進数 selected" 0 "$(checked_of "$(control_line Button 16進数)")"
expect_eq "背景色 selected" 1 "$(checked_of "$(control_line Button 背景色)")"
expect_eq "文字色 selected" 0 "$(checked_of "$(control_line Button 文字色)")"

step "the window"
window=$(probe window "$MAIN_TITLE")
dpi=$(awk -F'\t' '$1 == "dpi" { print $2 }' <<<"$window")
expect_eq "DPI" 96 "$dpi"
style=$(awk -F'\t' '$1 == "style" { print $2 }' <<<"$window")
expect_eq "maximize box" 0 $((style & 0x10000 ? 1 : 0))
expect_eq "minimize box" 1 $((style & 0x20000 ? 1 : 0))
expect_eq "sizing border" 0 $((style & 0x40000 ? 1 : 0))
expect_eq "menu bar" 1 "$(awk -F'\t' '$1 == "menu" { print $2 }' <<<"$window")"
read -r cx cy cw ch <<<"$(probe client "$MAIN_TITLE")"
expect_eq "client size" "$(px 2760 "$dpi")x$(px 4455 "$dpi")" "${cw}x${ch}"

step "controls stand at their design places (client pixels: left top width height)"
all_controls=$(controls)

# relative_place LINE: the line's rectangle relative to the client origin.
relative_place() {
  local l t r b
  read -r l t r b <<<"$(field 1 "$1")"
  echo "$((l - cx)) $((t - cy)) $((r - l)) $((b - t))"
}
# expect_place WHAT LINE LEFT TOP WIDTH HEIGHT (twips, relative to the client area)
expect_place() {
  local what=$1 line=$2
  [[ -n $line ]] || fail "$what: no such control"
  expect_eq "$what" "$(px "$3" "$dpi") $(px "$4" "$dpi") $(px "$5" "$dpi") $(px "$6" "$dpi")" \
    "$(relative_place "$line")"
}

expect_place "btnAccept 適用" "$(control_line Button 適用)" 1440 3420 1215 375
expect_place "btnReset 現在の色" "$(control_line Button 現在の色)" 120 3420 1215 375
expect_place "btnQuit 終了" "$(control_line Button 終了)" 240 3900 2295 375
expect_place "optObject(1) 背景色" "$(control_line Button 背景色)" 1440 1560 975 375
expect_place "optObject(0) 文字色" "$(control_line Button 文字色)" 360 1560 975 375
expect_place "txtID" "$(edit_line 1)" 600 120 1815 315
expect_place "txtTest" "$(edit_line 2)" 120 540 2535 615
tops=(1980 2460 2940)
for i in 0 1 2; do
  expect_place "txtColor($i)" "$(edit_line $((i + 3)))" 960 "${tops[i]}" 615 330
  expect_place "btnUp($i) ▲" "$(control_line Button ▲ $((i + 1)))" 1680 "${tops[i]}" 375 375
  expect_place "btnDown($i) ▼" "$(control_line Button ▼ $((i + 1)))" 2160 "${tops[i]}" 375 375
done

# The frame frmDes stands at -120,-90; its two options are placed inside it.
frame_place="$(px -120 "$dpi") $(px -90 "$dpi") $(px 2925 "$dpi") $(px 1635 "$dpi")"
frame_line=""
while IFS= read -r line; do
  [[ $(relative_place "$line") == "$frame_place" ]] && { frame_line=$line; break; }
done <<<"$all_controls"
[[ -n $frame_line ]] || fail "frmDes: no control at $frame_place"
ok "frmDes = [$frame_place] ($(field 2 "$frame_line"))"
fx=$(px -120 "$dpi")
fy=$(px -90 "$dpi")
for member in "0 10進数 480" "1 16進数 1560"; do
  read -r index caption left <<<"$member"
  expect_eq "optDes($index) $caption" \
    "$((fx + $(px "$left" "$dpi"))) $((fy + $(px 1320 "$dpi"))) $(px 855 "$dpi") $(px 255 "$dpi")" \
    "$(relative_place "$(control_line Button "$caption")")"
done

# Labels size themselves to their captions: only their top-left corner is fixed.
for label in "ID :|240|180" "赤(&R) :|240|2040" "緑(&G) :|240|2520" "青(&B) :|240|3000"; do
  IFS='|' read -r caption left top <<<"$label"
  line=$(awk -F'\t' -v t="$caption" '$8 == t' <<<"$all_controls" | head -n 1)
  if [[ -z $line ]]; then
    echo "   note: label \"$caption\" is not a window of its own; its place is not checked here"
    continue
  fi
  expect_eq "label $caption (left top)" "$(px "$left" "$dpi") $(px "$top" "$dpi")" \
    "$(relative_place "$line" | cut -d' ' -f1,2)"
done

step "what a screen reader reads (MSAA), made only when one asks"
# Another process reads the program's DLLs from its memory; where it cannot (it does not find
# user32.dll either: so under qemu-user emulation), Wine's trace of the program's loads tells.
oleacc_loaded() { grep -qi 'loaded.*oleacc\.dll' "$TINTMARK_TRACE"; }
modules_seen=1
probe loaded "$MAIN_TITLE" user32.dll || modules_seen=0
if ((modules_seen)) && probe loaded "$MAIN_TITLE" oleacc.dll || oleacc_loaded; then
  fail "oleacc.dll was loaded before a screen reader asked"
else
  ok "oleacc.dll is not loaded yet"
fi
# Read by a probe of the program's own kind: the accessible objects cross through COM, and under
# emulation a 64-bit reader of the 32-bit program lost some of them now and then (Wine 8).
names=$(wine "$ARCH_PROBE" names "$MAIN_TITLE")
# names_of CLASS [TEXT]: the names read for those controls, from the top, then from the left.
names_of() {
  awk -F'\t' -v c="$1" -v t="${2-}" '$2 == c && ($8 == t || t == "")' <<<"$names" |
    sort -t' ' -k2,2n -k1,1n | cut -f9 | paste -sd'|' -
}
expect_eq "the fields by their labels, the sample by its role" "ID :|見本|赤(R) :|緑(G) :|青(B) :" \
  "$(names_of Edit)"
expect_eq "▲ by its channel" "赤 ▲|緑 ▲|青 ▲" "$(names_of Button ▲)"
expect_eq "▼ by its channel" "赤 ▼|緑 ▼|青 ▼" "$(names_of Button ▼)"
if ((modules_seen)); then
  probe loaded "$MAIN_TITLE" oleacc.dll || fail "oleacc.dll is not loaded after a screen reader asked"
else
  wait_until 5 oleacc_loaded || fail "oleacc.dll is not loaded after a screen reader asked"
fi

step "screenshot"
screenshot "$E2E_OUT/main_window.png"

step "typing an ID, then the close box: nothing changed, so no prompt"
type_text 12345678
wait_until 5 id_text_is 12345678
expect_eq "ID field after typing" 12345678 "$(text_of "$(edit_line 1)")"
click_close_box
wait_tintmark_end 10

end_script main_window
