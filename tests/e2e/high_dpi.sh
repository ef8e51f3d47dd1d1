#!/bin/bash
# At 144 dots per inch (E2E_DPI for another) the windows and their controls are half as large again: the layouts are
# converted with the window's DPI, not fixed in pixels. The program's icon holds an image for each
# size Windows draws it at, at any scale.
source "$(dirname "$0")/lib.bash"

step "the icon: the 16-colour images, the 32 x 32 one first, then 32-bit ones up to 256 (PNG)"
expect_eq "images" "32x32 4 bmp|16x16 4 bmp|48x48 4 bmp|16x16 32 bmp|20x20 32 bmp|24x24 32 bmp|\
32x32 32 bmp|40x40 32 bmp|48x48 32 bmp|64x64 32 bmp|256x256 32 png" \
  "$(probe icon-file "$(winepath -w "$TINTMARK_EXE")" | tr -d '\r' | paste -sd'|' -)"

dpi=${E2E_DPI:-144}
desktop='HKCU\Control Panel\Desktop'
reg_add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" || fail "LogPixels not set"
restore_dpi() {
  stop_tintmark
  wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true
}
trap restore_dpi EXIT

reset_icq_registry
reg_add_dword "$OWNERS" LastOwner 12345678
reg_add_dword "$OWNERS\\12345678\\Windows\\SendMsg" "Pen Color" 0x000000FF
start_tintmark
wait_until 10 channels_are "0,0,0" || fail "the owner's colours did not load"

step "client area and controls at $dpi DPI"
read -r cx cy cw ch <<<"$(probe client "$MAIN_TITLE")"
expect_eq "client size" "$(px 2760 $dpi)x$(px 4455 $dpi)" "${cw}x${ch}"
place_of() {
  local l t r b
  read -r l t r b <<<"$(field 1 "$1")"
  echo "$((l - cx)) $((t - cy)) $((r - l)) $((b - t))"
}
expect_eq "適用" "$(px 1440 $dpi) $(px 3420 $dpi) $(px 1215 $dpi) $(px 375 $dpi)" \
  "$(place_of "$(control_line Button 適用)")"
expect_eq "txtColor(2)" "$(px 960 $dpi) $(px 2940 $dpi) $(px 615 $dpi) $(px 330 $dpi)" \
  "$(place_of "$(edit_line 5)")"
expect_eq "txtID" "$(px 600 $dpi) $(px 120 $dpi) $(px 1815 $dpi) $(px 315 $dpi)" \
  "$(place_of "$(edit_line 1)")"
screenshot "$E2E_OUT/high_dpi.png"

step "the About box, its controls and its offset at $dpi DPI"
press alt+h
wait_about
expect_about_box "$dpi"
screenshot "$E2E_OUT/about_box_high_dpi.png"
press Escape
wait_until 5 about_gone || fail "the About box is still open"

press ctrl+q
wait_tintmark_end 10
echo "PASS high_dpi"
