#!/bin/bash
# Common controls 6 before the first control: the manifest asks for them, and Windows XP makes a
# BUTTON, EDIT or STATIC only once comctl32 6 is loaded (Wine and Vista load it on demand, so only
# the order of a trace shows it). The program's own calls are relayed from its start to its window.
source "$(dirname "$0")/lib.bash"

trace=$E2E_OUT/common_controls.log
exe_name=$(basename "$TINTMARK_EXE")
debug_key='HKCU\Software\Wine\Debug'

step "relay $exe_name's own calls, with the DLLs it loads"
wine reg delete "$debug_key" /v RelayFromExclude /f >/dev/null 2>&1
reg_add "$debug_key" /v RelayFromInclude /t REG_SZ /d "$exe_name" ||
  fail "reg add RelayFromInclude failed"
cleanup() {
  stop_tintmark
  wine reg delete "$debug_key" /f >/dev/null 2>&1
}
trap cleanup EXIT

reset_icq_registry
reg_add_dword "$OWNERS" LastOwner 12345678
WINEDEBUG=+relay,+loaddll wine "$TINTMARK_EXE" >/dev/null 2>"$trace" &
TINTMARK_PID=$!
probe wait-window "$MAIN_TITLE" 120000 || fail "no window titled \"$MAIN_TITLE\" within 2 minutes"
# The window exists from the start of its creation, before its controls: where the program is
# emulated and relayed they come seconds later.
control_made='Call user32\.CreateWindowExW\([^,]*,[^,]* L"(BUTTON|EDIT|STATIC)"'
for ((waited = 0; waited < 120 * E2E_PATIENCE; waited++)); do
  grep -qE "$control_made" "$trace" && break
  sleep 1
done
stop_tintmark

step "comctl32 6 is loaded before the first control is made"
loaded=$(grep -n -m1 -iE 'Loaded L".*common-controls.*\\comctl32\.dll"' "$trace" | cut -d: -f1)
first=$(grep -n -m1 -E "$control_made" "$trace" | cut -d: -f1)
[[ -n $loaded ]] || fail "comctl32 6 (the manifest's) is never loaded ($trace)"
[[ -n $first ]] || fail "no CreateWindowExW of a BUTTON, EDIT or STATIC in the trace ($trace)"
((loaded < first)) || fail "the first control (line $first) comes before comctl32 6 (line $loaded)"
ok "comctl32 6 at line $loaded, the first control at line $first"

echo "PASS common_controls"
