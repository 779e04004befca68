# shellcheck shell=bash
# Source this file: it prepares the environment the program runs in under Wine.
#   - Chinese locale (generated first if missing), so Wine's ANSI code page is 936 (GBK)
#   - a Wine prefix (WINEPREFIX, default build/wineprefix), created once, with font
#     replacements so the UI fonts have CJK glyphs
#   - an X display: Xvfb on a free display number when DISPLAY is unset or not answering
# Helpers: ruz_wine_stop (end the prefix's Wine processes), ruz_xvfb_stop (end the Xvfb
# started here, if any), ruz_env_stop (both), ruz_check_acp (prints the ANSI code page).
# Works under `set -euo pipefail` and without it.

RUZ_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export RUZ_ROOT

# The locale must exist before it is exported: every shell started after the export
# warns "cannot change locale", and Wine would mangle Chinese arguments. On a fresh
# machine (this file sourced by hand or by one e2e script) it is generated first.
ruz_locale_loads() { [[ $(env LC_ALL=zh_CN.UTF-8 locale charmap 2>/dev/null) == UTF-8 ]]; }
if ! ruz_locale_loads; then
  { bash "$RUZ_ROOT/scripts/install-deps.sh" && ruz_locale_loads; } ||
    { echo "wine-env: no zh_CN.UTF-8 locale" >&2; return 1 2>/dev/null || exit 1; }
fi
# glibc looks for the locale archive once per process: a shell started with a locale set
# (LANG=C.UTF-8) before the archive existed never sees a locale generated since, though
# every program it starts does (as checked above). The variables are for those programs,
# so this shell's own "cannot change locale" is not shown.
export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8 2>/dev/null
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="${WINEPREFIX:-$RUZ_ROOT/build/wineprefix}"
export WINEARCH=win64

ruz_display_alive() {
  [[ -n "${1:-}" ]] && DISPLAY="$1" timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts Xvfb on the first free display from :99 on and exports DISPLAY.
ruz_xvfb_start() {
  local n i pid
  for n in $(seq 99 140); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    # In a session of its own, so a Ctrl-C in the terminal does not end the X server
    # before the program has been ended properly; from a subshell, so it is no child of
    # the caller and a bare `wait` there does not wait for it.
    pid=$(
      setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
      echo $!
    )
    for i in $(seq 1 50); do
      ruz_display_alive ":$n" && break
      sleep 0.1
    done
    if ! ruz_display_alive ":$n"; then
      kill "$pid" 2>/dev/null || true
      continue
    fi
    # The lock file names the server's own pid, whether or not setsid forked.
    pid="$(tr -dc 0-9 <"/tmp/.X$n-lock" 2>/dev/null)" || true
    export DISPLAY=":$n"
    RUZ_XVFB_PID=$pid   # not exported: child scripts must not stop it
    # Ends the X server with the shell that sourced this file, even when that shell
    # never calls ruz_xvfb_stop (one-shot shells would otherwise leave it running).
    local owner=$$
    (
      while kill -0 "$owner" 2>/dev/null && kill -0 "$pid" 2>/dev/null; do sleep 2; done
      kill "$pid" 2>/dev/null
    ) </dev/null >/dev/null 2>&1 &
    disown $! 2>/dev/null || true
    return 0
  done
  echo "wine-env: could not start Xvfb" >&2
  return 1
}

ruz_xvfb_stop() {
  if [[ -n "${RUZ_XVFB_PID:-}" ]]; then
    kill "$RUZ_XVFB_PID" 2>/dev/null || true
    local i
    for i in $(seq 1 30); do
      kill -0 "$RUZ_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    unset RUZ_XVFB_PID
  fi
}

ruz_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

ruz_env_stop() {
  ruz_wine_stop
  ruz_xvfb_stop
}

# Prints the ANSI code page Windows programs get here: GetACP() through the driver once it
# is built, else the prefix's Nls key (which Wine sets from the locale). Wine's output goes
# through a file: a Wine server started here would otherwise hold the caller's $(...) pipe.
ruz_check_acp() {
  local driver="$RUZ_ROOT/build/windows/ruzdrive.exe" tmp
  tmp="$(mktemp)"
  if [[ -f $driver ]]; then
    wine "$driver" acp </dev/null >"$tmp" 2>/dev/null
    tr -d '\r' <"$tmp"
  else
    wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP </dev/null >"$tmp" 2>/dev/null
    tr -d '\r' <"$tmp" | awk '$1 == "ACP" { print $3 }'
  fi
  rm -f "$tmp"
}

ruz_prefix_init() {
  local ready="$WINEPREFIX/.ruz-ready"
  [[ -f "$ready" ]] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    # Several scripts may source this at once; only one creates the prefix.
    flock 9
    [[ -f "$ready" ]] && exit 0
    echo "wine-env: creating Wine prefix $WINEPREFIX" >&2
    wineboot -i >/dev/null 2>&1 || exit 1
    wineserver -w
    local key='HKCU\Software\Wine\Fonts\Replacements' face
    for face in "Microsoft YaHei" "SimSun" "宋体"; do
      wine reg add "$key" /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1 || exit 1
    done
    local acp
    acp="$(ruz_check_acp)"
    [[ $acp == 936 ]] || echo "wine-env: warning: ANSI code page is '$acp', not 936 (is zh_CN.UTF-8 generated?)" >&2
    wineserver -w
    touch "$ready"
  ) 9>"$WINEPREFIX.lock"
}

if ! ruz_display_alive "${DISPLAY:-}"; then
  ruz_xvfb_start || return 1 2>/dev/null || exit 1
fi
ruz_prefix_init || { echo "wine-env: could not create the Wine prefix" >&2; return 1 2>/dev/null || exit 1; }
