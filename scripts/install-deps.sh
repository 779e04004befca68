#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and the zh_CN.UTF-8 locale
# (without it Wine mangles Chinese command-line arguments). Quick when all is present.
set -euo pipefail

PACKAGES=(
  g++-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
  locales libxxhash-dev xxhash cmake g++ make googletest libgtest-dev librapidcheck-dev python3 python3-pil openbox x11-utils
  python3-fusepy
)

SUDO=()
if [[ $(id -u) -ne 0 ]]; then
  SUDO=(sudo)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${SUDO[@]}" apt-get update -q </dev/null
  "${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi

if ! locale -a 2>/dev/null | grep -qiE '^zh_CN\.utf-?8$'; then
  echo "install-deps: generating zh_CN.UTF-8 locale"
  if ! grep -qE '^zh_CN\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    if grep -qE '^# *zh_CN\.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      "${SUDO[@]}" sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    else
      echo 'zh_CN.UTF-8 UTF-8' | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
    fi
  fi
  "${SUDO[@]}" locale-gen >/dev/null
fi
