#!/bin/bash
# tests/imports/processor_check.sh EXE MAP: the 32-bit EXE starts at its processor check, and the
# code that runs before that check has decided holds no instruction a processor without CMOV lacks
# (CMOVcc, FCMOVcc, FCOMI, FCOMIP, FUCOMI, FUCOMIP):
# - the check itself and the import slots of older systems, whole;
# - the TLS callbacks EXE registers, which Windows NT calls before the entry point (Windows 9x
#   does not call them at a program's start), in the order of their array: each is traced for
#   DLL_PROCESS_ATTACH and DLL_THREAD_ATTACH (a thread that starts before the entry), taking in its
#   own body only the branches those reasons take, and everything it calls whole, through direct
#   calls and jumps and through import slots the program defines itself. The import address table
#   leads into the system; a call through a register is named, not followed.
# The detach reasons are left out: before the check has run, no thread has used the runtime's
# thread library (whose callback tears down what such a thread set up) and no thread-local
# destructor has been registered.
# MAP is the linker's map of EXE, which places each function's section.
set -uo pipefail

exe=${1:?usage: $0 EXE MAP}
map=${2:?usage: $0 EXE MAP}
objdump=i686-w64-mingw32-objdump
checked_objects='processor_check|older_windows_imports'
unsupported=$'\t(cmov|fcmov|fcomi|fucomi)'

# "start size object" of each code section the map places (a long section name stands on a line of
# its own, the rest of its entry on the next), and after each the "address name" of its symbols.
placed=$(awk '
  /^ \.text/ && NF == 1 { pending = 1; next }
  /^ \.text/ && NF == 4 { print "S", $2, $3, $4; inside = 1; next }
  pending && NF == 3 && $1 ~ /^0x/ { print "S", $1, $2, $3; pending = 0; inside = 1; next }
  inside && NF == 2 && $1 ~ /^0x/ { print "Y", $1, $2; next }
  { pending = 0; inside = 0 }' "$map")
sections=$(awk -v objects="\\((${checked_objects})\\.cpp\\.obj\\)$" \
  '$1 == "S" && $4 ~ objects && $2 != "0x00000000" && $3 != "0x0" { print $2, $3, $4 }' <<<"$placed")
[[ -n $sections ]] || { echo "FAIL: no code of $checked_objects found in $map"; exit 1; }

failed=0
entry=$(( $($objdump -f "$exe" | awk '/^start address/ { print $3 }') ))
entry_checked=0
count=0
while read -r start size object; do
  from=$((start)) to=$((start + size))
  ((entry >= from && entry < to)) && [[ $object == *processor_check* ]] && entry_checked=1
  found=$($objdump -d --start-address="$from" --stop-address="$to" "$exe" | grep -E "$unsupported")
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

# dword ADDRESS: the little-endian word the file holds at that address of the loaded image.
dword() {
  $objdump -s --start-address=$(($1)) --stop-address=$(($1 + 4)) "$exe" | awk '
    $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9a-f]+$/ && length($2) == 8 {
      w = $2; print "0x" substr(w, 7, 2) substr(w, 5, 2) substr(w, 3, 2) substr(w, 1, 2); exit
    }'
}

headers=$($objdump -p "$exe")
base=$(awk '/^ImageBase/ { print "0x" $2 }' <<<"$headers")
read -r tls_rva tls_size < <(awk '/Thread Storage Directory/ { print "0x" $3, "0x" $4 }' \
  <<<"$headers")
read -r iat_rva iat_size < <(awk '/Import Address Table Directory/ { print "0x" $3, "0x" $4 }' \
  <<<"$headers")
callbacks=()
if ((tls_rva != 0 && tls_size != 0)); then
  array=$(dword $((base + tls_rva + 12)))  # AddressOfCallBacks
  while (($(dword $((array + 4 * ${#callbacks[@]}))) != 0)) && ((${#callbacks[@]} < 64)); do
    callbacks+=("$(dword $((array + 4 * ${#callbacks[@]})))")
  done
fi

tls_lines=$({
  sed 's/^/M/' <<<"$placed"
  $objdump -s -j .data -j .rdata "$exe" | sed 's/^/W/'
  $objdump -d --no-show-raw-insn -j .text "$exe"
} | awk -v roots="${callbacks[*]}" -v iat_from=$((base + iat_rva)) \
  -v iat_to=$((base + iat_rva + iat_size)) -v checked="\\((${checked_objects})\\.cpp\\.obj\\)$" '
  function num(h,   i, n, c) {
    h = tolower(h); sub(/^0x/, "", h); n = 0
    for (i = 1; i <= length(h); i++) {
      c = index("0123456789abcdef", substr(h, i, 1))
      if (!c) return -1
      n = n * 16 + c - 1
    }
    return n
  }
  function word(a,   i, w) {
    w = 0
    for (i = 3; i >= 0; i--) { if (!((a + i) in bytes)) return -1; w = w * 256 + bytes[a + i] }
    return w
  }
  function reg(r) {
    sub(/^%/, "", r)
    if (r ~ /^(e?[abcd]x|[abcd][lh])$/) return "e" substr(r, length(r) == 3 ? 2 : 1, 1) "x"
    if (r ~ /^e?(si|di|bp|sp)l?$/) return "e" (r ~ /^e/ ? substr(r, 2, 2) : substr(r, 1, 2))
    return r
  }
  # Where a code address lies: its object and the nearest symbol of that object before it.
  function where(a,   i, s, best, which) {
    for (i = 1; i <= ns; i++) if (a >= sfrom[i] && a < sto[i]) s = i
    if (!s) return "outside the map"
    best = sfrom[s]; which = ""
    for (i = 1; i <= ny; i++) if (yaddr[i] <= a && yaddr[i] >= best) { best = yaddr[i]; which = yname[i] }
    return sobj[s] ", " (which == "" ? "its code" : which) (a > best ? sprintf("+0x%x", a - best) : "")
  }
  function checkedCode(a,   i) {
    for (i = 1; i <= nc; i++) if (a >= cfrom[i] && a < cto[i]) return 1
    return 0
  }
  function inText(a) { return a >= textFrom && a <= textTo }
  # The reasons of `set` for which the jump `op` is taken after comparing the reason with k.
  function taken(op, set, k,   i, r, out, t) {
    out = ""
    for (i = 1; i <= length(set); i++) {
      r = substr(set, i, 1) + 0
      if (op ~ /^j(e|z)$/) t = r == k
      else if (op ~ /^j(ne|nz)$/) t = r != k
      else if (op ~ /^j(g|nle|ge|nl|l|nge|le|ng)$/ && k >= 2147483648) return "?"
      else if (op ~ /^j(a|nbe|g|nle)$/) t = r > k
      else if (op ~ /^j(ae|nb|nc|ge|nl)$/) t = r >= k
      else if (op ~ /^j(b|nae|c|l|nge)$/) t = r < k
      else if (op ~ /^j(be|na|le|ng)$/) t = r <= k
      else return "?"
      if (t) out = out r
    }
    return out
  }
  function minus(set, part,   i, out) {
    out = ""
    for (i = 1; i <= length(set); i++) if (!index(part, substr(set, i, 1))) out = out substr(set, i, 1)
    return out
  }
  # A call or jump through memory or a register: the system, a slot of the program, or unknown.
  function indirect(a, target, root,   slot, v) {
    if (target ~ /^\*0x[0-9a-f]+$/) {
      slot = num(substr(target, 2))
      if (slot >= iat_from && slot < iat_to) return
      v = word(slot)
      if (inText(v)) { push("A", v, root); return }
    }
    if (!((a) in unfollowed)) unfollowed[a] = root
  }
  function push(mode, a, root, state) {
    if (mode == "A" && checkedCode(a)) return
    work[++nwork] = mode SUBSEP a SUBSEP root SUBSEP state
  }
  # An instruction of the trace: one a processor without CMOV lacks is noted, and a code address it
  # takes as a value (a handler it registers, say) is followed too.
  function note(a, root,   v) {
    if (text[a] ~ /^(cmov|fcmov|fcomi|fucomi)/ && !(a in bad)) bad[a] = root
    if (match(args[a], /\$0x[0-9a-f]+/)) {
      v = num(substr(args[a], RSTART + 1, RLENGTH - 1))
      if (inText(v)) push("A", v, root)
    }
  }
  # Everything from a on, every branch taken.
  function whole(a, root,   op, ops) {
    while ((a in text) && !(a in seen)) {
      seen[a] = root; note(a, root); op = mnem[a]; ops = args[a]
      if (op ~ /^(ret|lret|iret|ud2|hlt|ljmp)/) return
      if (op == "jmp" || op == "call" || op ~ /^(j|loop)/) {
        if (ops ~ /^0x[0-9a-f]+$|^[0-9a-f]+$/) push("A", num(ops), root)
        else indirect(a, ops, root)
        if (op == "jmp") return
      }
      a = next_[a]
    }
  }
  # The callback body for the reasons in `set`; the state is the stack depth since the entry
  # (or "?"), the registers holding the reason, and the constant it was last compared with.
  function body(a, root, set, depth, regs, k,   op, ops, key, t, f, dst, src, n) {
    while (a in text) {
      if (a in seen) return
      key = a SUBSEP set SUBSEP depth SUBSEP regs SUBSEP k
      if (key in visited) return
      visited[key] = 1; note(a, root); op = mnem[a]; ops = args[a]
      if (op ~ /^(ret|lret|iret|ud2|hlt|ljmp)/) return
      if (op == "jmp") {
        if (ops !~ /^0x[0-9a-f]+$|^[0-9a-f]+$/) { indirect(a, ops, root); return }
        a = num(ops); continue
      }
      if (op ~ /^j/ || op ~ /^loop/) {
        t = k == "" ? "?" : taken(op, set, k)
        if (t == "?") { t = set; f = set } else f = minus(set, t)
        if (t != "") work[++nwork] = "B" SUBSEP num(ops) SUBSEP root SUBSEP t SUBSEP depth SUBSEP regs SUBSEP k
        if (f == "") return
        set = f; a = next_[a]; continue
      }
      if (op == "call") {
        if (ops ~ /^0x[0-9a-f]+$|^[0-9a-f]+$/) push("A", num(ops), root)
        else indirect(a, ops, root)
        depth = "?"; k = ""
        gsub(/(eax|ecx|edx),?/, "", regs)
        a = next_[a]; continue
      }
      n = split(ops, o, ",")
      dst = o[n] ~ /^%/ ? reg(o[n]) : ""
      src = o[1]
      if (op ~ /^(cmp|test)/) {
        k = ""
        if (op ~ /^test/ && n == 2 && reg(o[1]) == reg(o[2]) && index(regs, reg(o[1]))) k = 0
        else if (op ~ /^cmp/ && src ~ /^\$0x/ && dst != "" && index(regs, dst)) k = num(substr(src, 2))
        else if (op ~ /^cmp/ && src ~ /^\$0x/ && depth != "?" && ops ~ /,(0x[0-9a-f]+)?\(%esp\)$/) {
          t = ops; sub(/^[^,]*,/, "", t); sub(/\(%esp\)$/, "", t)
          if (num(t == "" ? "0" : t) == depth + 8) k = num(substr(src, 2))
        }
        a = next_[a]; continue
      }
      if (op !~ /^(mov|lea|push|pop|nop)/ || op ~ /^popf/) k = ""
      if (op ~ /^((movs|stos|lods|scas|cmps)[bwl]?|pusha.*|popa.*)$/) { regs = ""; depth = "?" }
      else if (op ~ /^push/) { if (depth != "?") depth += 4 }
      else if (op ~ /^pop/) { if (depth != "?") depth -= 4 }
      else if (op ~ /^(sub|add)/ && dst == "esp" && src ~ /^\$0x/) {
        if (depth != "?") depth += (op ~ /^sub/ ? 1 : -1) * num(substr(src, 2))
      } else if (op !~ /^(mov|lea|add|sub|and|or|xor|inc|dec|neg|not|sh|sa|ro|nop|set)/) {
        # Anything else may write registers it does not name.
        regs = ""; depth = "?"
      } else if (dst == "esp") depth = "?"
      # The slot of the reason written over: it holds the reason no more.
      if (depth != "?" && op !~ /^push/ && ops ~ /,(0x[0-9a-f]+)?\(%esp\)$/) {
        t = ops; sub(/^.*,/, "", t); sub(/\(%esp\)$/, "", t)
        if (num(t == "" ? "0" : t) == depth + 8) depth = "?"
      }
      if (dst != "" && op !~ /^push/) {
        gsub(dst ",?", "", regs)
        if (op ~ /^mov/ && n == 2 && depth != "?" && src ~ /^(0x[0-9a-f]+)?\(%esp\)$/) {
          t = src; sub(/\(%esp\)$/, "", t)
          if (num(t == "" ? "0" : t) == depth + 8) regs = regs dst ","
        } else if (op ~ /^mov/ && n == 2 && src ~ /^%/ && index(regs, reg(src))) regs = regs dst ","
      }
      a = next_[a]
    }
  }
  BEGIN { textFrom = -1 }
  $1 == "MS" {
    ns++; sfrom[ns] = num($2); sto[ns] = sfrom[ns] + num($3); sobj[ns] = $4
    sub(/.*\//, "", sobj[ns])
    if ($4 ~ checked) { nc++; cfrom[nc] = sfrom[ns]; cto[nc] = sto[ns] }
    next
  }
  $1 == "MY" { ny++; yaddr[ny] = num($2); yname[ny] = $3; next }
  /^W/ {
    split(substr($0, 2), half, "  ")
    m = split(half[1], f, " ")
    if (m < 2 || f[1] !~ /^[0-9a-f]+$/) next
    at = num(f[1])
    for (j = 2; j <= m; j++) {
      if (f[j] !~ /^[0-9a-f]+$/) break
      for (b = 0; b < length(f[j]) / 2; b++) bytes[at + (j - 2) * 4 + b] = num(substr(f[j], 2 * b + 1, 2))
    }
    next
  }
  /^ *[0-9a-f]+:\t/ {
    split($0, part, "\t")
    gsub(/[ :]/, "", part[1])
    at = num(part[1])
    line = part[2]; sub(/ *[<#].*$/, "", line)
    text[at] = line
    m = split(line, f, " ")
    mnem[at] = f[1]; args[at] = f[2]
    if (f[1] ~ /^(rep|repz|repnz|repe|repne|lock|data16|cs|ds|es|ss|fs|gs|notrack|bnd)$/) {
      mnem[at] = f[2]; args[at] = f[3]; text[at] = substr(line, index(line, f[2]))
    }
    if (textFrom < 0) textFrom = at
    textTo = at
    if (last != "") next_[last] = at
    last = at
  }
  END {
    nr = split(roots, r, " ")
    for (i = 1; i <= nr; i++) {
      root = i
      rootAt[i] = num(r[i])
      work[++nwork] = "B" SUBSEP rootAt[i] SUBSEP root SUBSEP "12" SUBSEP 0 SUBSEP "" SUBSEP ""
      while (nwork > 0) {
        split(work[nwork], w, SUBSEP); nwork--
        if (w[1] == "A") whole(w[2] + 0, w[3])
        else body(w[2] + 0, w[3], w[4], w[5] == "?" ? "?" : w[5] + 0, w[6], w[7])
      }
    }
    for (a in seen) reached++
    for (a in visited) { split(a, v, SUBSEP); if (!(v[1] in seen) && !(v[1] in counted)) { counted[v[1]] = 1; reached++ } }
    for (a in bad) {
      i = bad[a]
      printf "FAIL: TLS callback %d of %d (0x%x, %s) reaches %s at 0x%x (%s)\n", i, nr, rootAt[i],
        where(rootAt[i]), text[a], a, where(a)
    }
    for (a in unfollowed) {
      i = unfollowed[a]
      printf "note: TLS callback %d reaches %s at 0x%x (%s), not followed\n", i, text[a], a, where(a)
    }
    printf "SUMMARY %d %d\n", nr, reached + 0
  }')
if grep -q '^FAIL' <<<"$tls_lines"; then failed=1; fi
read -r _ tls_count tls_reached < <(grep '^SUMMARY' <<<"$tls_lines")
if [[ -z ${tls_count:-} ]]; then
  echo "FAIL: the TLS callbacks of $exe could not be traced"
  failed=1
fi
grep '^FAIL' <<<"$tls_lines" | sort
echo "$count functions checked, the entry point among them; ${tls_count:-?} TLS callbacks traced" \
  "(${tls_reached:-?} instructions reached)"
grep '^note' <<<"$tls_lines" | sort
[[ $failed -eq 0 ]] && echo "PASS processor_check"
exit "$failed"
