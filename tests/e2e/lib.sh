# shellcheck shell=bash
# Shared helpers of the end-to-end scripts. Source it, then call e2e_init <name>.
#
#   e2e_init NAME          fresh temp copy of the exe folder, artefact folder, cleanup trap
#   e2e_wine_start         start the prefix's Wine server and desktop (after a ruz_wine_stop)
#   app_start [EXE [ARG...]]  start the program (default RuzoriZE3.exe) from the temp
#                          folder; sets APP_PID (the Unix pid, which is also the Wine process)
#   winpath PATH           the Windows name of a Unix path (through drive Z:)
#   app_wait_exit PID [S]  wait up to S seconds; sets APP_EXIT to the exit code, or to
#                          "running" (and returns 1); call it outside $(...), where the
#                          process is no child
#   ruzdrive ARGS...       the driver, for any process
#   drive ARGS...          ruzdrive aimed at $RUZ_EXE (the exe started last by default)
#   drive_for EXE ARGS...  ruzdrive aimed at another exe name
#   check NAME CMD...      run CMD; record PASS or FAIL
#   check_eq NAME WANT CMD...  run CMD; PASS when its output is exactly WANT
#   check_until NAME WANT CMD...  like check_eq, but polls CMD for up to $E2E_WAIT seconds
#   wait_until WANT CMD... poll CMD until it prints WANT; prints the last output
#   same_files SRC|DEST... each source byte-identical to its copy below $PLAYER
#   summary                the status line of a finished copy job, up to the seconds
#   screenshot NAME        save the screen to the artefact folder
#   e2e_finish             print the summary of this script; exit 1 when a check failed
#
# Results go to $RUZ_RESULTS (one "PASS|FAIL<TAB>script<TAB>check" line each), so a
# runner can add up several scripts. Set RUZ_EXE_DIR to test another build folder.

set -uo pipefail

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
RUZ_ROOT="$(cd "$E2E_DIR/../.." && pwd)"
RUZ_EXE_DIR="${RUZ_EXE_DIR:-$RUZ_ROOT/build/windows}"
RUZ_DRIVER="${RUZ_DRIVER:-$RUZ_EXE_DIR/ruzdrive.exe}"
RUZ_EXE="RuzoriZE3.exe"
REG_KEY='HKCU\Software\RuzoriZE3'

E2E_NAME=""
E2E_TMP=""
E2E_ART=""
E2E_PASS=0
E2E_FAIL=0
E2E_PIDS=()
E2E_WAIT="${E2E_WAIT:-10}"

e2e_init() {
  E2E_NAME="$1"
  # A prefix of the script's own unless the caller gives one (scripts/test.sh shares one
  # for its sequential run): scripts started side by side must not end each other's Wine.
  export WINEPREFIX="${WINEPREFIX:-$RUZ_ROOT/build/wineprefix-e2e-$E2E_NAME}"
  # shellcheck source=../../scripts/wine-env.sh
  source "$RUZ_ROOT/scripts/wine-env.sh" || exit 1
  E2E_ART="$RUZ_ROOT/build/artefacts/$E2E_NAME"
  rm -rf "$E2E_ART"
  mkdir -p "$E2E_ART"
  RUZ_RESULTS="${RUZ_RESULTS:-$E2E_ART/results.txt}"
  E2E_TMP="$(mktemp -d "${TMPDIR:-/tmp}/ruz-$E2E_NAME.XXXXXX")"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  # Leftovers of an earlier run in this prefix would make the program a second instance.
  # The server is made persistent before any Wine command starts one: a server started by
  # `wine reg` ends on its own a few seconds later, and the next one a check starts would
  # hold that check's output open for good.
  ruz_wine_stop
  wineserver -p </dev/null >/dev/null 2>&1
  wine reg delete "$REG_KEY" /f >/dev/null 2>&1 || true
  if [[ ! -f "$RUZ_EXE_DIR/RuzoriZE3.exe" ]]; then
    echo "e2e: $RUZ_EXE_DIR/RuzoriZE3.exe is missing" >&2
    record FAIL "the program exists"
    exit 1
  fi
  if [[ ! -f "$RUZ_DRIVER" ]]; then
    echo "e2e: $RUZ_DRIVER is missing" >&2
    record FAIL "the driver exists"
    exit 1
  fi
  e2e_wine_start
  cp "$RUZ_EXE_DIR/RuzoriZE3.exe" "$E2E_TMP/"
  echo "== $E2E_NAME (folder $E2E_TMP, artefacts $E2E_ART)"
}

# Wine's server and desktop outlive the command that starts them and keep its output
# open: started by a "$(wine …)", they would hold that pipe and it would never end.
e2e_wine_start() {
  wineserver -p </dev/null >/dev/null 2>&1
  wine "$RUZ_DRIVER" windows </dev/null >/dev/null 2>&1 || true
}

e2e_cleanup() {
  local rc=$?
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  ruz_wine_stop
  wine reg delete "$REG_KEY" /f >/dev/null 2>&1 || true
  ruz_wine_stop
  if [[ -n "$E2E_TMP" && -z "${RUZ_KEEP_TMP:-}" ]]; then
    rm -rf "$E2E_TMP"
  fi
  ruz_xvfb_stop
  exit "$rc"
}

# Starts the program from the temp folder; its output goes to the artefact folder.
app_start() {
  local exe="${1:-RuzoriZE3.exe}"
  (($#)) && shift
  RUZ_EXE="$exe"
  (cd "$E2E_TMP" && exec wine "./$exe" "$@") </dev/null >>"$E2E_ART/$exe.log" 2>&1 &
  APP_PID=$!
  E2E_PIDS+=("$APP_PID")
}

winpath() {
  local p="${1//\//\\}"
  printf 'Z:%s\n' "$p"
}

app_running() {
  kill -0 "$1" 2>/dev/null
}

app_wait_exit() {
  local pid="$1" seconds="${2:-10}" i
  APP_EXIT=running
  for ((i = 0; i < seconds * 10; i++)); do
    if ! app_running "$pid"; then
      APP_EXIT=0
      wait "$pid" 2>/dev/null || APP_EXIT=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# The driver itself: exit code 0 or 1 is its answer, 2 a usage error. Anything else means
# Wine did not run it (seen once under load, silently, with WINEDEBUG=-all): say so on
# stderr and run it once more.
ruzdrive() {
  local out rc
  out="$(wine "$RUZ_DRIVER" "$@")"
  rc=$?
  if ((rc > 2)); then
    echo "ruzdrive $*: Wine ended with code $rc; running it again" >&2
    out="$(wine "$RUZ_DRIVER" "$@")"
    rc=$?
  fi
  [[ -n $out ]] && printf '%s\n' "$out"
  return "$rc"
}

drive() {
  ruzdrive --exe "$RUZ_EXE" "$@"
}

drive_for() {
  local exe="$1"
  shift
  ruzdrive --exe "$exe" "$@"
}

record() {
  local verdict="$1" name="$2"
  printf '%s\t%s\t%s\n' "$verdict" "$E2E_NAME" "$name" >>"$RUZ_RESULTS"
  if [[ $verdict == PASS ]]; then
    E2E_PASS=$((E2E_PASS + 1))
    echo "  ok    $name"
  else
    E2E_FAIL=$((E2E_FAIL + 1))
    echo "  FAIL  $name"
  fi
}

check() {
  local name="$1"
  shift
  local output
  if output="$("$@" 2>&1)"; then
    record PASS "$name"
  else
    record FAIL "$name"
    [[ -n $output ]] && printf '        %s\n' "${output//$'\n'/$'\n'        }"
  fi
}

check_eq() {
  local name="$1" want="$2"
  shift 2
  local got
  got="$("$@" 2>&1)"
  if [[ $got == "$want" ]]; then
    record PASS "$name"
  else
    record FAIL "$name"
    printf '        want: %s\n        got:  %s\n' "$want" "${got//$'\n'/$'\n'              }"
  fi
}

# The program answers posted messages when it gets to them: poll instead of sleeping.
wait_until() {
  local want="$1" got deadline=$((SECONDS + E2E_WAIT))
  shift
  while :; do
    got="$("$@" 2>&1)"
    [[ $got == "$want" || $SECONDS -ge $deadline ]] && break
    sleep 0.2
  done
  printf '%s\n' "$got"
  [[ $got == "$want" ]]
}

check_until() {
  local name="$1" want="$2"
  shift 2
  check_eq "$name" "$want" wait_until "$want" "$@"
}

# Every file byte for byte where a copy job put it: "source|place below \$PLAYER".
same_files() {
  local pair bad=0
  for pair in "$@"; do
    cmp -s "${pair%%|*}" "$PLAYER/${pair#*|}" || { echo "differs or missing: ${pair#*|}"; bad=1; }
  done
  return $bad
}

# The status line once a copy job is over: its summary up to the seconds.
summary() { drive text 标签3 | sed 's/耗时.*/耗时/'; }

screenshot() {
  import -window root "$E2E_ART/$1.png" 2>/dev/null
}

e2e_finish() {
  echo "== $E2E_NAME: $E2E_PASS passed, $E2E_FAIL failed"
  [[ $E2E_FAIL -eq 0 ]]
  exit $?
}
