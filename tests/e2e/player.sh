# shellcheck shell=bash
# The test player (playerfs.py) on a drive letter, for the end-to-end scripts; lib.sh
# sources it.
#
#   player_plug L BACKING [playerfs options]  mount a player holding what BACKING holds
#                          and plug it in as the removable FAT32 drive L: (--size 64M,
#                          --write-mbps 20 ...); returns 1 with the reason in PLAYER_SKIP
#                          where this machine cannot mount one
#   player_unplug L        pull it out: every later call fails, then the drive is gone
#   player_eject L         unmount it cleanly and remove the drive letter
#   player_control L CMD   a command for the mounted player ("fail-write 3")
# Plugging BACKING in again is the same player plugged back.

declare -A PLAYER_PID=()
PLAYER_SKIP=""

player_plug() {
  local letter="$1" backing="$2" mnt="$E2E_TMP/plug-$1" i
  shift 2
  if [[ ! -c /dev/fuse ]]; then
    PLAYER_SKIP="no /dev/fuse on this machine: no test player"
    return 1
  fi
  : >"$mnt.ctl"
  "$E2E_DIR/playerfs.py" "$mnt" --backing "$backing" --control "$mnt.ctl" "$@" \
    </dev/null >>"$E2E_ART/playerfs-$letter.log" 2>&1 &
  PLAYER_PID[$letter]=$!
  for ((i = 0; i < 100; i++)); do
    mountpoint -q "$mnt" || ! kill -0 "${PLAYER_PID[$letter]}" 2>/dev/null && break
    sleep 0.1
  done
  if ! mountpoint -q "$mnt"; then
    PLAYER_SKIP="the test player did not mount: $(tail -n 1 "$E2E_ART/playerfs-$letter.log")"
    player_gone "$letter"
    return 1
  fi
  # The mount manager reads the boot sector the player shows, and calls the drive FAT32.
  ruzdrive define-drive "$letter" "$mnt" "$mnt/.bootsector" >/dev/null
}

player_control() {
  echo "$2" >>"$E2E_TMP/plug-$1.ctl"
}

player_unplug() {
  player_control "$1" unplug
  player_gone "$1"
}

player_eject() {
  [[ -n ${PLAYER_PID[$1]:-} ]] && kill "${PLAYER_PID[$1]}" 2>/dev/null
  player_gone "$1"
}

# Waits up to 5 s for the player's end (then ends it), and lets the drive letter go.
player_gone() {
  local letter="$1" pid="${PLAYER_PID[$1]:-}" mnt="$E2E_TMP/plug-$1" i
  if [[ -n $pid ]]; then
    for ((i = 0; i < 50; i++)); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
  fi
  mountpoint -q "$mnt" && umount -l "$mnt"
  ruzdrive define-drive "$letter" >/dev/null 2>&1
  rm -f "$WINEPREFIX/dosdevices/$letter::"
  unset "PLAYER_PID[$letter]"
}

players_cleanup() {
  local letter
  for letter in "${!PLAYER_PID[@]}"; do player_eject "$letter"; done
}
