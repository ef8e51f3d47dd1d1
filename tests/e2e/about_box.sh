#!/bin/bash
# The About box, started without ICQ's keys so that the ID field stays empty: Alt+H and the menu
# bar open it at its offset, also near the screen's lower right corner; Enter, OK, the close box
# and Esc close it, each time followed by the ID request; shortcuts and the main window's buttons
# do nothing while it is up.
source "$(dirname "$0")/lib.bash"

request=" - ID入力要求 - Tintmark"
closed_to_the_id_request() {
  wait_until 5 about_gone || fail "the About box is still open"
  wait_dialog "$request"
  expect_eq "open message boxes" "$request" "$(dialog_titles | paste -sd'|' -)"
  answer_dialog "$request" OK
}

reset_icq_registry
start_tintmark
wait_dialog "$request"
answer_dialog "$request" OK

step "Alt+H opens it; shortcuts and 終了 do nothing meanwhile; Enter closes it"
press alt+h
wait_about
expect_about_box 96
screenshot "$E2E_OUT/about_box.png"
# Ctrl+A and Ctrl+Z would ask for the ID, Ctrl+Q would quit. Keys are handled in order: once
# Enter has closed the box, they have all been seen.
press ctrl+a ctrl+z ctrl+q
click_control Button 終了
press Return
closed_to_the_id_request

step "the menu bar opens it with the mouse; OK closes it"
click_about_menu
wait_about
expect_about_box 96
CONTROLS_OF=$ABOUT_TITLE click_control Button OK
closed_to_the_id_request

step "the close box closes it"
press alt+h
wait_about
click_close_box "$ABOUT_TITLE"
closed_to_the_id_request

step "near the screen's lower right corner it opens at its offset, partly off the screen"
read -r screen_w screen_h <<<"$(xdotool getdisplaygeometry)"
read -r left top _ <<<"$(window_field "$MAIN_TITLE" rect)"
# The title bar must have taken the press before the pointer moves, and the move before the release.
pause=$((E2E_PATIENCE / 5)).$((E2E_PATIENCE * 2 % 10))
xdotool mousemove $((left + 60)) $((top + 10)) mousedown 1 sleep "$pause" \
  mousemove $((screen_w - 60)) $((screen_h - 160)) sleep "$pause" mouseup 1
main_moved() { (($(window_field "$MAIN_TITLE" rect | cut -d' ' -f1) > screen_w - 190)); }
wait_until 5 main_moved || fail "dragging did not move the main window"
click_about_menu
wait_about
expect_about_box 96
read -r _ _ right bottom <<<"$(window_field "$ABOUT_TITLE" rect)"
expect_eq "past the right and the bottom edge" "1 1" \
  "$((right > screen_w ? 1 : 0)) $((bottom > screen_h ? 1 : 0))"
press Escape
closed_to_the_id_request

press ctrl+q
wait_tintmark_end 10
echo "PASS about_box"
