#!/usr/bin/env bash
# Builds RuzoriZE3.exe and runs it under Wine.
#   scripts/run.sh              run until the program ends (or Ctrl-C)
#   scripts/run.sh --shot-only  save build/screenshot.png, then end the program
# Without a working display the program runs on a private Xvfb screen with a light window
# manager (openbox, so windows have their title bars), and a screenshot of it is saved to
# build/screenshot.png.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"

SHOT_ONLY=0
for arg in "$@"; do
  case $arg in
    --shot-only) SHOT_ONLY=1 ;;
    -h | --help)
      sed -n '2,7p' "$0"
      exit 0
      ;;
    *)
      echo "run.sh: unknown option $arg" >&2
      exit 2
      ;;
  esac
done

bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

HAD_DISPLAY=0
if [[ -n ${DISPLAY:-} ]] && DISPLAY="$DISPLAY" timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1; then
  HAD_DISPLAY=1
fi
# shellcheck source=wine-env.sh
source scripts/wine-env.sh

EXE_DIR="$ROOT/build/windows"
DRIVE=(wine "$EXE_DIR/ruzdrive.exe" --exe RuzoriZE3.exe)
SHOT="$ROOT/build/screenshot.png"

APP_PID=""
WM_PID=""
finish() {
  local rc=$?
  trap - EXIT INT TERM
  if [[ -n $APP_PID ]] && kill -0 "$APP_PID" 2>/dev/null; then
    # The program's own way out first, so it tidies its tray icon and registry value.
    "${DRIVE[@]}" click 按钮_退出 >/dev/null 2>&1 || true
    for _ in $(seq 1 200); do
      kill -0 "$APP_PID" 2>/dev/null || break
      sleep 0.1
    done
    if kill "$APP_PID" 2>/dev/null; then
      echo "run.sh: the program did not end through 退出; killed it" >&2
    else
      echo "run.sh: ended the program through its 退出 button"
    fi
  fi
  ruz_wine_stop
  if [[ -n $WM_PID ]]; then
    kill "$WM_PID" 2>/dev/null || true
    wait "$WM_PID" 2>/dev/null || true
  fi
  ruz_xvfb_stop
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT TERM

if ((!HAD_DISPLAY)); then
  openbox --sm-disable </dev/null >/dev/null 2>&1 &
  WM_PID=$!
  for _ in $(seq 1 50); do
    # The manager announces itself on the root window once it runs.
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
fi

# Its own session: Ctrl-C reaches only this script, which then ends the program through
# its 退出 button.
(cd "$EXE_DIR" && exec setsid wine ./RuzoriZE3.exe) </dev/null &
APP_PID=$!
echo "run.sh: started RuzoriZE3.exe on display $DISPLAY (Wine prefix $WINEPREFIX)"

if ((SHOT_ONLY || !HAD_DISPLAY)); then
  if ! "${DRIVE[@]}" wait-window main 60000 >/dev/null; then
    echo "run.sh: the main window did not appear" >&2
    exit 1
  fi
  sleep 2   # let the window paint
  import -window root "$SHOT"
  echo "run.sh: screenshot saved to $SHOT"
fi

if ((SHOT_ONLY)); then
  "${DRIVE[@]}" click 按钮_退出 >/dev/null
  code=0
  for _ in $(seq 1 100); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  wait "$APP_PID" || code=$?
  APP_PID=""
  echo "run.sh: the program ended with exit code $code"
  exit "$code"
fi

echo "run.sh: the program is running; press Ctrl-C to end it"
code=0
wait "$APP_PID" || code=$?
APP_PID=""
echo "run.sh: the program ended with exit code $code"
exit "$code"
