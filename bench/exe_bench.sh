#!/usr/bin/env bash
# The real program under Wine against the platform's own copy in the same prefix: its
# "耗时" for a copy job (method 1) against bench/win/refcopy.cpp, which copies the same
# files with CopyFileW (and, verifying, flushes each copy, reads it back uncached and
# digests it). Sets on a mapped folder (the page cache): a 1 GiB file, 1,000 files of
# 1 MiB, 10,000 files of 4 KiB; and, for the cost per file as the folder fills, 1,000 and
# 30,000 files of 4 KiB (k1, k30; with small, the "ms/file" column compares them). Sets on a test player (tests/e2e/playerfs.py, 20 MB/s
# write, 30 MB/s read), where the device sets the pace: 300 MiB as one video and as 75
# songs of 4 MiB. Each with and without verification. The two sides run back to back in
# alternating order; the first round is not counted; the limit (1.10 on a folder, 1.05 on
# the player) applies to the median of the rounds' ratios.
#
#   bench/exe_bench.sh [rounds [big|mid|small|k1|k30|video|songs ...]]  default 3 rounds,
#   all sets but k1 and k30
source "$(dirname "$0")/../tests/e2e/lib.sh"
E2E_WAIT=900  # the 10,000-file set takes minutes under Wine
ROUNDS="${1:-3}"
(($#)) && shift
SETS=("${@:-big mid small video songs}")
read -r -a SETS <<<"${SETS[*]}"
REFCOPY="$RUZ_EXE_DIR/refcopy.exe"
[[ -f $REFCOPY ]] || { echo "exe_bench: $REFCOPY is missing" >&2; exit 1; }
e2e_init exebench

PLAYER="$E2E_TMP/player"
KLINK="$WINEPREFIX/dosdevices/k:"
mkdir -p "$PLAYER"
ln -sfn "$PLAYER" "$KLINK"
trap 'rm -f "$KLINK"; e2e_cleanup' EXIT

declare -A FILES=([big]=1 [mid]=1000 [small]=10000 [k1]=1000 [k30]=30000 [video]=1 [songs]=75)
declare -A BYTES=([big]=1073741824 [mid]=1048576 [small]=4096 [k1]=4096 [k30]=4096 [video]=314572800 [songs]=4194304)
declare -A ON_PLAYER=([video]=1 [songs]=1)
LETTER=K TARGET="$PLAYER"  # where the set at hand is copied

# The next set's drive: the mapped folder, or the test player plugged in as P: (once).
target_for() {
  if [[ -z ${ON_PLAYER[$1]:-} ]]; then
    LETTER=K TARGET="$PLAYER" MAX_RATIO=1.10
    return 0
  fi
  LETTER=P TARGET="$E2E_TMP/plug-p" MAX_RATIO=1.05
  [[ -n ${PLAYER_PID[p]:-} ]] || player_plug p "$E2E_TMP/player-p" --size 1G --write-mbps 20 --read-mbps 30
}

make_set() {
  python3 - "$E2E_TMP/src/$1" "${FILES[$1]}" "${BYTES[$1]}" <<'PY'
import os, sys
folder, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
os.makedirs(folder)
for i in range(files):
    with open(os.path.join(folder, "f%05d.bin" % i), "wb") as f:
        for left in range(size, 0, -(1 << 24)):
            f.write(os.urandom(min(left, 1 << 24)))
PY
}

RUN=0
# Processor seconds of a process so far (user + system, its waited-for children too).
cpu_of() { awk '{printf "%.2f", ($14 + $15 + $16 + $17) / 100}' "/proc/$1/stat"; }

# One job of the program: the folder handed to it, copied into a folder of its own.
exe_run() {
  local set="$1" files="${FILES[$1]}" dest="run$((++RUN))"
  mkdir -p "$TARGET/$dest" && sync
  (cd "$E2E_TMP" && wine ./RuzoriZE3.exe "$(winpath "$E2E_TMP/src/$set")") </dev/null >/dev/null 2>&1
  wait_until "$files" drive lv-count 超级列表框 >/dev/null || { echo "exe_bench: the list did not fill" >&2; exit 1; }
  drive set-text 目录框 "$LETTER:\\$dest\\" >/dev/null
  local line cpu0
  cpu0="$(cpu_of "$APP_PID")"
  drive click 按钮_复制 >/dev/null
  line="$(wait_until 0 drive lv-count 超级列表框 >/dev/null; drive text 标签3)"
  [[ $line == "共${files}个,成功复制${files}个,耗时"* ]] || { echo "exe_bench: the job said: $line" >&2; exit 1; }
  line="${line#*耗时}"
  echo "${line%秒} $(awk -v a="$cpu0" -v b="$(cpu_of "$APP_PID")" 'BEGIN {printf "%.2f", b - a}')"
}

ref_run() {
  local set="$1" verify="$2" dest="ref$((++RUN))"
  mkdir -p "$TARGET/$dest" && sync
  # In a shell of its own, so that its waited-for children are refcopy's alone.
  bash -c 'a=$(awk "{print \$16 + \$17}" /proc/$$/stat)
    s=$(wine "$1" $2 "$3" "$4" </dev/null 2>/dev/null | tr -d "\r")
    echo "$s $(awk -v a="$a" "{printf \"%.2f\", (\$16 + \$17 - a) / 100}" /proc/$$/stat)"' _ \
    "$REFCOPY" "$verify" "$(winpath "$E2E_TMP/src/$set")" "$LETTER:\\$dest"
}

median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

app_start
drive wait-window main 30000 >/dev/null || { echo "exe_bench: no main window" >&2; exit 1; }
wait_until 5 drive lv-count 超级列表框_扩展名 >/dev/null
drive tab 1 >/dev/null
drive combo 组合框_复制方法 0 >/dev/null

FAILED=0
printf '%-6s %-9s %8s %8s %6s %-13s %-13s %s\n' set verify exe_s ref_s ratio range "ms/file e/r" "cpu_s exe/ref"
for set in "${SETS[@]}"; do
  target_for "$set" || { echo "exe_bench: $set skipped: $PLAYER_SKIP"; continue; }
  make_set "$set"
  files="${FILES[$set]}"
  for verify in ${EXE_BENCH_VERIFY:-0 1}; do
    drive tab 1 >/dev/null
    drive set-check 选择框_校验 "$verify" >/dev/null
    drive tab 0 >/dev/null
    flag=""
    ((verify)) && flag="--verify"
    ratios=() exes=() refs=() cpus=() refcpus=()
    for ((r = 0; r <= ROUNDS; r++)); do
      if ((r % 2 == 0)); then read -r e ec <<<"$(exe_run "$set")"; read -r b bc <<<"$(ref_run "$set" "$flag")"
      else read -r b bc <<<"$(ref_run "$set" "$flag")"; read -r e ec <<<"$(exe_run "$set")"; fi
      rm -rf "${TARGET:?}"/*
      ((r == 0)) && continue
      exes+=("$e") refs+=("$b") cpus+=("$ec") refcpus+=("$bc")
      ratios+=("$(awk -v e="$e" -v b="$b" 'BEGIN {printf "%.3f", e / b}')")
      echo "  $set round $r: exe $e s, CopyFileW $b s, ratio ${ratios[-1]}, cpu $ec/$bc" >&2
    done
    ratio="$(printf '%s\n' "${ratios[@]}" | median)"
    over="$(awk -v r="$ratio" -v m="$MAX_RATIO" 'BEGIN {print (r > m) ? "  over" : ""}')"
    [[ -n $over ]] && FAILED=1
    exe="$(printf '%s\n' "${exes[@]}" | median)" ref="$(printf '%s\n' "${refs[@]}" | median)"
    printf '%-6s %-9s %8s %8s %6.2f %-13s %-13s %s/%s%s\n' "$set" "$([[ $verify == 1 ]] && echo on || echo off)" \
      "$exe" "$ref" "$ratio" \
      "$(printf '%s\n' "${ratios[@]}" | sort -g | head -1)-$(printf '%s\n' "${ratios[@]}" | sort -g | tail -1)" \
      "$(awk -v e="$exe" -v r="$ref" -v n="$files" 'BEGIN {printf "%.3f/%.3f", 1000 * e / n, 1000 * r / n}')" \
      "$(printf '%s\n' "${cpus[@]}" | median)" "$(printf '%s\n' "${refcpus[@]}" | median)" "$over"
  done
  rm -rf "$E2E_TMP/src/$set"
done
((FAILED)) && echo "exe_bench: some figures over their limits" || echo "exe_bench: all within limits"
exit "$FAILED"
