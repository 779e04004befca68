#!/usr/bin/env bash
# Ways in from Explorer: paths on the command line, their hand-over from a second start
# to the instance hidden in the tray, the Send To shortcut, and a player found on
# removable L: when the root K:\ is missing.
source "$(dirname "$0")/lib.sh"
e2e_init explorer

SRC="$E2E_TMP/src"
PLAYER="$E2E_TMP/player"
LLINK="$WINEPREFIX/dosdevices/l:"
mkdir -p "$SRC/album" "$PLAYER/Video" "$PLAYER/music"
head -c 2097152 /dev/urandom >"$SRC/e 歌.mp3"
head -c 1000 /dev/urandom >"$SRC/album/1.mp3"
head -c 2000 /dev/urandom >"$SRC/album/2.mp3"
head -c 3000 /dev/urandom >"$SRC/f.avi"
head -c 4000 /dev/urandom >"$SRC/g.wma"
rm -f "$WINEPREFIX/dosdevices/k:"
ln -sfn "$PLAYER" "$LLINK"
wine reg add 'HKLM\Software\Wine\Drives' /v 'l:' /d floppy /f >/dev/null 2>&1
trap 'rm -f "$LLINK"; wine reg delete "HKLM\\Software\\Wine\\Drives" /v "l:" /f >/dev/null 2>&1; e2e_cleanup' EXIT
# Wine reads its drives when it starts.
ruz_wine_stop
e2e_wine_start

# The rows as "name below src<TAB>size".
rows() {
  local prefix line
  prefix="$(winpath "$SRC")\\"
  drive lv-dump 超级列表框 | cut -f1,2 | while IFS= read -r line; do printf '%s\n' "${line#"$prefix"}"; done
}
ini_root() { iconv -f GBK -t UTF-8 "$E2E_TMP/mp4.ini" | tr -d '\r' | grep '^复制路径='; }

# ---- started with three paths: a quoted name with a blank and Chinese, a folder, a missing file
app_start RuzoriZE3.exe "$(winpath "$SRC/e 歌.mp3")" "$(winpath "$SRC/album")" "$(winpath "$SRC/gone.txt")"
FIRST_PID=$APP_PID
check "main window appears" drive wait-window main 30000
check_until "the three paths are rows, the folder expanded, the missing one -1" \
  "e 歌.mp3	2
album\\1.mp3	0.001
album\\2.mp3	0.002
gone.txt	-1" rows

# ---- a second start with two paths (one relative, one with / and ..) while the first is in the tray
drive minimize main >/dev/null
check_until "the first is hidden in the tray" "0" drive visible main
app_start RuzoriZE3.exe "src/album/../f.avi" "$(winpath "$SRC/album")\\CD1/../../g.wma"
app_wait_exit "$APP_PID" 30
check_eq "the second start ends with code 0" "0" echo "$APP_EXIT"
check_until "the first instance added both" "6" drive lv-count 超级列表框
check_eq "each listed whole: from the second start's folder, / and .. resolved" "f.avi	0.003
g.wma	0.004" eval 'rows | tail -n 2'
check_eq "and stayed in the tray" "0" drive visible main
check "the first still runs" app_running "$FIRST_PID"
screenshot handed-over

# ---- 复制 with K:\ missing finds the player on removable L:, and Yes copies onto it
drive menu 托盘_显示窗口 >/dev/null
check_until "shown again from the tray" "1" drive visible main
drive click 按钮_全部删除 >/dev/null
app_start RuzoriZE3.exe "$(winpath "$SRC/f.avi")"
app_wait_exit "$APP_PID" 30
check_until "one row to copy" "1" drive lv-count 超级列表框
check_eq "目录框 names the missing K:" 'K:\' drive text 目录框
drive click 按钮_复制 >/dev/null
drive msgbox 10000 >/dev/null && screenshot player-question
check "复制 asks to use L:, Yes" drive msgbox-answer yes 'L:\' 10000
check_until "目录框 names L:" 'L:\' drive text 目录框
check_until "the file is on the player" "ok" bash -c "cmp -s '$SRC/f.avi' '$PLAYER/Video/f.avi' && echo ok"
check_eq "mp4.ini holds the new root at once" '复制路径=L:\' ini_root
check_until "the list is emptied" "0" drive lv-count 超级列表框

# ---- the Send To check box makes and removes the shortcut; mp4.ini does not change
SENDTO_LNK="$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/SendTo)/RuzoriZE3视频复制工具.lnk"
cp "$E2E_TMP/mp4.ini" "$E2E_TMP/mp4.ini.before"
drive tab 1 >/dev/null
check_eq "no shortcut: unticked" "0" drive checked 选择框_发送到
check_eq "ticked" "1" drive set-check 选择框_发送到 1
check "the shortcut is in SendTo" test -f "$SENDTO_LNK"
check_eq "unticked" "0" drive set-check 选择框_发送到 0
check "the shortcut is gone" test ! -e "$SENDTO_LNK"
check "mp4.ini unchanged" cmp -s "$E2E_TMP/mp4.ini.before" "$E2E_TMP/mp4.ini"

e2e_finish
