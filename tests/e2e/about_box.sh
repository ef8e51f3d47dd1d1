#!/bin/bash
# The About box with real input, started without ICQ's keys so that the ID field stays empty:
# Alt+H and the menu bar open it at its offset from the main window, also near the screen's lower
# right corner; its texts and places; Enter, OK, the close box and Esc close it, and each time the
# ID request comes back; menu shortcuts and the main window's buttons do nothing while it is up.
source "$(dirname "$0")/lib.bash"

request=" - ID入力要求 - Tintmark"

# closed_to_the_id_request: the box has gone, and the main window's activation asks for the ID
# again, and for nothing else.
closed_to_the_id_request() {
  wait_until 5 about_gone || fail "the About box is still open"
  ok "the About box has closed"
  wait_dialog "$request"
  expect_eq "open message boxes" "$request" "$(dialog_titles | paste -sd'|' -)"
  answer_dialog "$request" OK
}

click_ok() {
  local line
  line=$(probe controls "$ABOUT_TITLE" | awk -F'\t' '$2 == "Button" && $8 == "OK"')
  [[ -n $line ]] || fail "no OK button in the About box"
  # shellcheck disable=SC2046
  click_at $(centre_of "$line")
}

reset_icq_registry
start_tintmark
wait_dialog "$request"
answer_dialog "$request" OK

step "Alt+H opens the box at its offset"
press alt+h
wait_about
expect_about_box 96
screenshot "$E2E_OUT/about_box.png"

step "while it is up, shortcuts and the main window's buttons do nothing; then Enter closes it"
# Ctrl+A and Ctrl+Z would ask for the missing ID, Ctrl+Q would quit, 終了 too. The keys are
# handled in order, so once Enter has closed the box they have all been seen.
press ctrl+a ctrl+z ctrl+q
click_control Button 終了
press Return
closed_to_the_id_request
tintmark_running || fail "the program has ended"

step "the menu bar opens it with the mouse; OK closes it"
click_about_menu
wait_about
expect_about_box 96
click_ok
closed_to_the_id_request

step "the close box closes it"
press alt+h
wait_about
click_close_box "$ABOUT_TITLE"
closed_to_the_id_request

step "near the screen's lower right corner it opens at the same offset, partly off the screen"
read -r screen_w screen_h <<<"$(xdotool getdisplaygeometry)"
read -r left top _ <<<"$(window_field "$MAIN_TITLE" rect)"
# Dragged by its title bar with the mouse.
xdotool mousemove $((left + 60)) $((top + 10)) mousedown 1 sleep 0.2 \
  mousemove $((screen_w - 60)) $((screen_h - 160)) sleep 0.2 mouseup 1
main_moved() { [[ $(window_field "$MAIN_TITLE" rect | cut -d' ' -f1) -gt $((screen_w - 190)) ]]; }
wait_until 5 main_moved || fail "the main window did not move: $(window_field "$MAIN_TITLE" rect)"
ok "main window at $(window_field "$MAIN_TITLE" rect)"
click_about_menu
wait_about
expect_about_box 96
read -r _ _ right bottom <<<"$(window_field "$ABOUT_TITLE" rect)"
expect_eq "the box reaches past the right and the bottom edge" "1 1" \
  "$((right > screen_w ? 1 : 0)) $((bottom > screen_h ? 1 : 0))"
screenshot "$E2E_OUT/about_box_corner.png"

step "Esc closes it"
press Escape
closed_to_the_id_request

press ctrl+q
wait_tintmark_end 10
echo "PASS about_box"
