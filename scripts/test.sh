#!/usr/bin/env bash
# Builds everything and runs the three test tiers:
#   1. unit tests on Linux (GoogleTest) and any other CTest checks of the native build
#   2. the Windows tests (GoogleTest) under Wine
#   3. the end-to-end scripts tests/e2e/test_*.sh against the real exe
# Prints one line per tier and ends with "N passed, N failed" (", N skipped" after it when
# a check could not run on this machine). A tier that cannot build or run, or that
# crashes, counts as a failure. Logs and screenshots: build/artefacts/.
set -uo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"

ART="$ROOT/build/artefacts"
mkdir -p "$ART"
TOTAL_PASS=0
TOTAL_FAIL=0
TOTAL_SKIP=0
SUMMARY=()

stage() {
  echo "==== $1 (at ${SECONDS}s)"
}

tier_line() {   # name passed failed [note]
  local line="$1: $2 passed, $3 failed${4:+ ($4)}"
  SUMMARY+=("$line")
  echo "---- $line"
  TOTAL_PASS=$((TOTAL_PASS + $2))
  TOTAL_FAIL=$((TOTAL_FAIL + $3))
}

finish() {
  echo
  stage "summary (logs in build/artefacts/)"
  local s
  for s in "${SUMMARY[@]}"; do echo "  $s"; done
  echo "$TOTAL_PASS passed, $TOTAL_FAIL failed$( ((TOTAL_SKIP)) && echo ", $TOTAL_SKIP skipped")"
  [[ $TOTAL_FAIL -eq 0 ]]
}

# Runs a command with its output into a log; shows the log's tail when it fails.
logged() {
  local log="$1"
  shift
  if "$@" >"$log" 2>&1; then
    return 0
  fi
  echo "     failed: $* (last lines of $log)"
  tail -n 25 "$log" | sed 's/^/     | /'
  return 1
}

# Counts a GoogleTest run from its output; a run without its closing lines has crashed.
# Sets GT_PASS, GT_FAIL, GT_NOTE.
gtest_count() {
  local log="$1" rc="$2"
  local text
  text="$(tr -d '\r' <"$log")"
  local passed failed skipped
  passed="$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' <<<"$text" | tail -n1)"
  failed="$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' <<<"$text" | tail -n1)"
  skipped="$(sed -nE 's/^\[  SKIPPED \] ([0-9]+) tests?, listed below.*/\1/p' <<<"$text" | tail -n1)"
  GT_NOTE="${skipped:+$skipped skipped}"
  GT_SKIP=${skipped:-0}
  if [[ -n $passed ]]; then
    GT_PASS=$passed
    GT_FAIL=${failed:-0}
    if [[ $GT_FAIL -eq 0 && $rc -ne 0 ]]; then
      GT_FAIL=1
      GT_NOTE="exit code $rc after all tests passed"
    fi
  else
    # No summary: count what finished, and the crash itself as one failure.
    GT_PASS="$(grep -cE '^\[       OK \] ' <<<"$text")"
    GT_FAIL=$(($(grep -cE '^\[  FAILED  \] [^0-9]' <<<"$text") + 1))
    GT_NOTE="crashed or did not finish, exit code $rc"
  fi
}

# ---------------------------------------------------------------- dependencies, builds
stage "installing dependencies"
if ! logged "$ART/install-deps.log" bash scripts/install-deps.sh; then
  tier_line "dependencies" 0 1 "install failed"
  finish
  exit 1
fi

stage "building (native)"
NATIVE_OK=0
if logged "$ART/build-native-configure.log" cmake --preset native &&
  logged "$ART/build-native-unit.log" cmake --build --preset native --target unit_tests; then
  NATIVE_OK=1
  # The rest (benchmarks) must build too, but does not hold up the unit tests.
  if ! logged "$ART/build-native.log" cmake --build --preset native; then
    tier_line "native build (all targets)" 0 1 "see build-native.log"
  fi
fi

stage "building (windows)"
WIN_CONFIGURED=0
logged "$ART/build-windows-configure.log" cmake --preset windows && WIN_CONFIGURED=1
# Target by target, so one that does not build still lets the other tiers run.
build_win() {
  ((WIN_CONFIGURED)) && logged "$ART/build-windows-$1.log" cmake --build --preset windows --target "$@"
}
WIN_TESTS_OK=0
APP_OK=0
build_win win_tests && WIN_TESTS_OK=1
build_win RuzoriZE3 && build_win ruzdrive && APP_OK=1

# ---------------------------------------------------------------- tier 1
stage "tier 1: unit tests (native)"
if ((NATIVE_OK)) && [[ -x build/native/tests/unit/unit_tests ]]; then
  rc=0
  (cd build/native/tests/unit && timeout 600 ./unit_tests --gtest_color=no) >"$ART/unit_tests.log" 2>&1 || rc=$?
  gtest_count "$ART/unit_tests.log" "$rc"
  grep -E '^\[  FAILED  \] [^0-9]' "$ART/unit_tests.log" | sort -u | head -n 30
  tier_line "tier 1 unit tests" "$GT_PASS" "$GT_FAIL" "$GT_NOTE"
  TOTAL_SKIP=$((TOTAL_SKIP + GT_SKIP))

  # CTest checks that are not the GoogleTest cases already run above.
  others="$(cd build/native && ctest --show-only=json-v1 2>/dev/null | python3 -c '
import json, re, sys
data = json.load(sys.stdin)
names = [t["name"] for t in data.get("tests", [])
         if not any("--gtest_filter" in part for part in t.get("command", []))]
print("|".join("^" + re.escape(n) + "$" for n in names))
')" || others="?"
  if [[ $others == "?" ]]; then
    tier_line "tier 1 other ctest checks" 0 1 "ctest could not list the tests"
  elif [[ -n $others ]]; then
    rc=0
    (cd build/native && timeout 600 ctest --output-on-failure -R "$others") >"$ART/ctest.log" 2>&1 || rc=$?
    cp=$(sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2 \1/p' "$ART/ctest.log" | tail -n1)
    if [[ -n $cp ]]; then
      read -r all bad <<<"$cp"
      tier_line "tier 1 other ctest checks" $((all - bad)) "$bad"
    else
      tier_line "tier 1 other ctest checks" 0 1 "ctest did not finish, exit code $rc"
    fi
  else
    echo "     (no CTest checks besides the GoogleTest cases)"
  fi
else
  tier_line "tier 1 unit tests" 0 1 "native build failed"
fi

# The layers: the platform reaches the program only through app/, and no feature calls up
# into start-up. Each include that breaks this is named.
layer_breaks="$(grep -rnE '#include "((copylist|copyengine|settings|tray)/|app/startup\.h)' src/platform
  grep -rn '#include "app/startup\.h"' src/copylist src/copyengine src/settings src/tray)"
if [[ -z $layer_breaks ]]; then
  tier_line "tier 1 layer includes" 1 0
else
  sed 's/^/     not allowed: /' <<<"$layer_breaks"
  tier_line "tier 1 layer includes" 0 1 "see the includes above"
fi

# ---------------------------------------------------------------- tiers 2 and 3 need Wine
export WINEPREFIX="$ROOT/build/wineprefix-test"
WINE_OK=0
# shellcheck source=wine-env.sh
if source scripts/wine-env.sh >"$ART/wine-env.log" 2>&1; then
  WINE_OK=1
  trap 'ruz_env_stop' EXIT
else
  cat "$ART/wine-env.log"
fi

stage "tier 2: Windows tests under Wine"
if ((WIN_TESTS_OK && WINE_OK)) && [[ -f build/windows/win_tests.exe ]]; then
  ruz_wine_stop
  rc=0
  (cd build/windows && timeout 600 wine ./win_tests.exe --gtest_color=no) </dev/null >"$ART/win_tests.log" 2>&1 || rc=$?
  gtest_count "$ART/win_tests.log" "$rc"
  tr -d '\r' <"$ART/win_tests.log" | grep -E '^\[  FAILED  \] [^0-9]' | sort -u | head -n 30
  tier_line "tier 2 windows tests" "$GT_PASS" "$GT_FAIL" "$GT_NOTE"
  TOTAL_SKIP=$((TOTAL_SKIP + GT_SKIP))
  ruz_wine_stop
else
  tier_line "tier 2 windows tests" 0 1 "$( ((WINE_OK)) && echo "win_tests.exe did not build" || echo "Wine environment failed")"
fi

stage "tier 3: end-to-end"
if ((APP_OK && WINE_OK)); then
  RESULTS="$ART/e2e-results.txt"
  : >"$RESULTS"
  E_PASS=0
  E_FAIL=0
  for script in tests/e2e/test_*.sh; do
    [[ -f $script ]] || continue
    name="$(basename "$script" .sh)"
    before_fail=$(grep -c '^FAIL' "$RESULTS")
    rc=0
    RUZ_RESULTS="$RESULTS" timeout 600 bash "$script" </dev/null 2>&1 | tee "$ART/$name.log" || rc=$?
    now_fail=$(grep -c '^FAIL' "$RESULTS")
    if [[ $rc -ne 0 && $now_fail -eq $before_fail ]]; then
      # It failed without saying which check: a crash or a time-out.
      printf 'FAIL\t%s\t%s\n' "$name" "script ended with exit code $rc" >>"$RESULTS"
      echo "     $name ended with exit code $rc without a failed check"
    fi
  done
  E_PASS=$(grep -c '^PASS' "$RESULTS")
  E_FAIL=$(grep -c '^FAIL' "$RESULTS")
  E_SKIP=$(grep -c '^SKIP' "$RESULTS")
  TOTAL_SKIP=$((TOTAL_SKIP + E_SKIP))
  if [[ $((E_PASS + E_FAIL)) -eq 0 ]]; then
    tier_line "tier 3 end-to-end" 0 1 "no e2e check ran"
  else
    # A skipped check is named with its reason, and counts neither as passed nor failed.
    grep '^SKIP' "$RESULTS" | cut -f2,3 | sed 's/^/     skipped: /; s/\t/: /'
    tier_line "tier 3 end-to-end" "$E_PASS" "$E_FAIL" "$( ((E_SKIP)) && echo "$E_SKIP skipped")"
  fi
else
  tier_line "tier 3 end-to-end" 0 1 "$( ((WINE_OK)) && echo "RuzoriZE3.exe or ruzdrive.exe did not build" || echo "Wine environment failed")"
fi

finish
