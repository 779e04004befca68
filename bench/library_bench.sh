#!/usr/bin/env bash
# A music library under Wine: FILES files of 1 KiB in 100 folders, handed to the running
# program on a second start, then 全部删除, handed over again, copied (文件校验 on unless
# LIB_VERIFY=0) to a mapped folder. From another process, ruzdrive answer-watch asks the
# main window for WM_GETTEXT / WM_NULL every 50 ms and reports the longest wait per phase
# (limit 200 ms). Intake, from the first row to the last, is timed against refcopy.exe
# --walk, a plain FindFirstFileW walk of the same tree in the same prefix timed inside its
# own process, run right before each hand-over (limit 1.5); the peak working set (VmHWM of the
# program's process) is limited to 150 MB.
#
#   bench/library_bench.sh [rounds [files]]   default 1 round of 100,000 files
#   LIB_VERIFY=0 without 文件校验; LIB_JOB_S=N cancels a job still running after N seconds
source "$(dirname "$0")/../tests/e2e/lib.sh"
E2E_WAIT=3600
ROUNDS="${1:-1}"
FILES="${2:-100000}"
REFCOPY="$RUZ_EXE_DIR/refcopy.exe"
e2e_init libbench
PLAYER="$E2E_TMP/player"
KLINK="$WINEPREFIX/dosdevices/k:"
PHASE="$E2E_TMP/phase"
mkdir -p "$PLAYER"
ln -sfn "$PLAYER" "$KLINK"
trap 'echo end >"$PHASE"; rm -f "$KLINK"; e2e_cleanup' EXIT

python3 - "$E2E_TMP/src" "$FILES" <<'PY'
import os, sys
root, files = sys.argv[1], int(sys.argv[2])
for i in range(files):
    folder = os.path.join(root, "album%03d" % (i % 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "%05d track.mp3" % i), "wb") as f:
        f.write(os.urandom(1024))
PY
SRC="$(winpath "$E2E_TMP/src")"

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN {printf "%.1f", b - a}'; }

# Hands the library over and waits for every row; prints the seconds from the second start
# to the last row, and from the first row to the last (the program's own intake, polled
# every 2 ms inside Wine, without the second start: that is what compares with the walk).
intake() {
  local t0 fill walk
  # The walk right before, so that both meet the same load on a shared machine.
  read -r walk _ <<<"$(wine "$REFCOPY" --walk "$SRC" </dev/null 2>/dev/null | tr -d '\r')"
  t0="$(now)"
  # By process id: the second start's own windows must not be the ones watched.
  ruzdrive --pid "$APP_WINPID" lv-fill-time 超级列表框 "$FILES" >"$E2E_TMP/fill" &
  fill=$!
  (cd "$E2E_TMP" && wine ./RuzoriZE3.exe "$SRC") </dev/null >/dev/null 2>&1
  wait "$fill" || { echo "library_bench: the list did not fill" >&2; exit 1; }
  echo "$walk $(since "$t0") $(awk '{printf "%.2f", $2 / 1000}' "$E2E_TMP/fill")"
}

job_over() { [[ "$(drive text 标签3)" == 共* ]] && echo 1 || echo 0; }

FAILED=0
printf '%-5s %18s %18s %6s  %s\n' round "walk/intake/own s" "walk2/intake2/own" MB "longest wait ms per phase"
for ((r = 1; r <= ROUNDS; r++)); do
  app_start
  drive wait-window main 30000 >/dev/null || { echo "library_bench: no main window" >&2; exit 1; }
  APP_WINPID="$(drive pid main)"
  wait_until 5 drive lv-count 超级列表框_扩展名 >/dev/null
  drive tab 1 >/dev/null
  drive combo 组合框_复制方法 0 >/dev/null
  drive set-check 选择框_校验 "${LIB_VERIFY:-1}" >/dev/null
  drive tab 0 >/dev/null
  drive set-text 目录框 "K:\\run$r\\" >/dev/null
  mkdir -p "$PLAYER/run$r"
  echo idle >"$PHASE"
  ruzdrive --exe RuzoriZE3.exe answer-watch main "$(winpath "$PHASE")" >"$E2E_TMP/watch" &
  watcher=$!
  sleep 1
  echo intake >"$PHASE"; read -r walk1 first own1 <<<"$(intake)"
  echo clear >"$PHASE"; drive click 按钮_全部删除 >/dev/null
  wait_until 0 drive lv-count 超级列表框 >/dev/null
  echo intake >"$PHASE"; read -r walk2 second own2 <<<"$(intake)"
  echo copy >"$PHASE"; drive click 按钮_复制 >/dev/null; sleep 3
  echo job >"$PHASE"
  # The job into one folder slows as it fills (Wine reads the whole folder for each new
  # name): LIB_JOB_S cancels it after that many seconds.
  for ((s = 0; s < ${LIB_JOB_S:-0}; s++)); do [[ $(job_over) == 1 ]] && break; sleep 1; done
  [[ -n ${LIB_JOB_S:-} && $(job_over) == 0 ]] && drive click 按钮_取消 >/dev/null
  wait_until 1 job_over >/dev/null
  echo settled >"$PHASE"; sleep 5
  mb="$(awk '/VmHWM/ {printf "%.0f", $2 / 1024}' "/proc/$APP_PID/status")"
  echo end >"$PHASE"; wait "$watcher"
  drive close main >/dev/null; app_wait_exit "$APP_PID" 60; ruz_wine_stop; rm -rf "${PLAYER:?}"/*
  waits="$(awk '{printf "%s %s  ", $1, $2}' "$E2E_TMP/watch")"
  printf '%-5s %18s %18s %6s  %s\n' "$r" "$walk1/$first/$own1" "$walk2/$second/$own2" "$mb" "$waits"
  awk -v w="$walk1" -v v="$walk2" -v a="$own1" -v b="$own2" -v m="$mb" \
    'BEGIN {exit !(a > 1.5 * w || b > 1.5 * v || m > 150)}' && FAILED=1
  awk '$2 > 200 {bad = 1} END {exit !bad}' "$E2E_TMP/watch" && FAILED=1
done
((FAILED)) && echo "library_bench: some figures over their limits" || echo "library_bench: all within limits"
exit "$FAILED"
