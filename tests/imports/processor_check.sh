#!/bin/bash
# tests/imports/processor_check.sh EXE MAP: the 32-bit EXE starts at its processor check, and the
# code that runs before that check has decided holds no instruction a processor without CMOV lacks
# (CMOVcc, FCMOVcc, FCOMI, FCOMIP, FUCOMI, FUCOMIP): the check itself, and the import slots, which
# the runtime's TLS callbacks call before the entry. MAP is the linker's map of EXE, which places
# each function's section.
set -uo pipefail

exe=${1:?usage: $0 EXE MAP}
map=${2:?usage: $0 EXE MAP}
objdump=i686-w64-mingw32-objdump
checked_objects='processor_check|older_windows_imports'

# "start size object" of each code section the map places (a long section name stands on a line of
# its own, the rest of its entry on the next).
sections=$(awk '
  /^ \.text/ && NF == 1 { pending = 1; next }
  /^ \.text/ && NF == 4 { print $2, $3, $4 }
  pending && NF == 3 && $1 ~ /^0x/ { print $1, $2, $3 }
  { pending = 0 }' "$map" | awk -v objects="\\((${checked_objects})\\.cpp\\.obj\\)$" \
  '$3 ~ objects && $1 != "0x00000000" && $2 != "0x0"')
[[ -n $sections ]] || { echo "FAIL: no code of $checked_objects found in $map"; exit 1; }

failed=0
entry=$(( $($objdump -f "$exe" | awk '/^start address/ { print $3 }') ))
entry_checked=0
count=0
while read -r start size object; do
  from=$((start)) to=$((start + size))
  ((entry >= from && entry < to)) && [[ $object == *processor_check* ]] && entry_checked=1
  found=$($objdump -d --start-address="$from" --stop-address="$to" "$exe" |
    grep -E $'\t(cmov|fcmov|fcomi|fucomi)')
  if [[ -n $found ]]; then
    echo "FAIL: $object at $start:"
    echo "$found"
    failed=1
  fi
  count=$((count + 1))
done <<<"$sections"
if [[ $entry_checked -eq 0 ]]; then
  printf 'FAIL: the entry point 0x%x is not the processor check\n' "$entry"
  failed=1
fi
echo "$count functions checked, the entry point among them"
[[ $failed -eq 0 ]] && echo "PASS processor_check"
exit "$failed"
