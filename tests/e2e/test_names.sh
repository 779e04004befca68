#!/usr/bin/env bash
# Names GBK cannot hold: chosen in the open-file dialog, shown in the list, copied by
# both methods under the same names. Then the same program under another code page
# (its manifest asking for en-US, Wine in a UTF-8 locale): every text still reads right.
source "$(dirname "$0")/lib.sh"
e2e_init names

TITLE="RuzoriZE3视频复制工具 0.4.4 (Kestrin 2008.8.24)"
SRC="$E2E_TMP/src"
ALBUM="$SRC/Ørsted 音乐"
PLAYER="$E2E_TMP/player"
KLINK="$WINEPREFIX/dosdevices/k:"
mkdir -p "$ALBUM" "$PLAYER/Video" "$PLAYER/music"
head -c 1572864 /dev/urandom >"$SRC/😂搞笑合集.mp4"
head -c 524288 /dev/urandom >"$SRC/방탄소년단.mp3"
head -c 70000 /dev/urandom >"$SRC/Björk - Jóga.wma"
head -c 300000 /dev/urandom >"$ALBUM/1 Ørsted.mp3"
head -c 200000 /dev/urandom >"$ALBUM/2 歌.mp3"
ln -sfn "$PLAYER" "$KLINK"
trap 'rm -f "$KLINK"; e2e_cleanup' EXIT

tab_captions() {
  local i
  for i in 0 1 2; do drive tab-text "$i"; done
}
WSRC="Z:${SRC//\//\\}"

app_start
check "main window appears" drive wait-window main 30000
check_eq "rule list loaded" "5" wait_until 5 drive lv-count 超级列表框_扩展名
drive tab 1 >/dev/null
check_eq "verification switched on" "1" drive set-check 选择框_校验 1
drive tab 0 >/dev/null

# ---- method 1, verified: three names beyond GBK
drive click 按钮_添加文件 >/dev/null
drive filedialog-shown 10000 >/dev/null
check "three files chosen" drive filedialog "$SRC" "😂搞笑合集.mp4" "방탄소년단.mp3" "Björk - Jóga.wma"
check_until "the list shows the real names, sizes and rule folders" \
  "$WSRC\\😂搞笑合集.mp4"$'\t1.5\t\\Video\n'"$WSRC\\방탄소년단.mp3"$'\t0.5\t\\music\n'"$WSRC\\Björk - Jóga.wma"$'\t0.067\t\\music' \
  drive lv-dump 超级列表框
screenshot list
drive click 按钮_复制 >/dev/null
check_until "all three copied" "共3个,成功复制3个,耗时" summary
check "byte-identical under the same names" same_files "$SRC/😂搞笑合集.mp4|Video/😂搞笑合集.mp4" \
  "$SRC/방탄소년단.mp3|music/방탄소년단.mp3" "$SRC/Björk - Jóga.wma|music/Björk - Jóga.wma"

# ---- method 2: the files of a folder whose own name is beyond GBK
drive tab 1 >/dev/null
check_eq "copy method 2 chosen" "1" drive combo 组合框_复制方法 1
drive tab 0 >/dev/null
drive click 按钮_添加文件 >/dev/null
drive filedialog-shown 10000 >/dev/null
check "the folder's two files chosen" drive filedialog "$ALBUM" "1 Ørsted.mp3" "2 歌.mp3"
check_eq "two rows" "2" wait_until 2 drive lv-count 超级列表框
drive click 按钮_复制 >/dev/null
check_until "both copied by the shell" "共2个,成功复制2个,耗时" summary
check "byte-identical under the same names" same_files "$ALBUM/1 Ørsted.mp3|music/1 Ørsted.mp3" \
  "$ALBUM/2 歌.mp3|music/2 歌.mp3"
drive click 按钮_退出 >/dev/null
check "the program ends through 退出" app_wait_exit "$APP_PID" 20

# ---- another code page: the texts and the settings read back right
ruz_wine_stop
export LC_ALL=C.UTF-8 LANG=C.UTF-8
# Started outside any $(...), as e2e_init does, so no server holds a pipe open.
wineserver -p </dev/null >/dev/null 2>&1
ruzdrive windows </dev/null >/dev/null 2>&1
sed 's/>zh-CN</>en-US</' "$E2E_TMP/RuzoriZE3.exe" >"$E2E_TMP/RuzoriZE3en.exe"
check_eq "ANSI code page is 1252" "1252" ruzdrive acp
check "the manifest asks for en-US" grep -q '>en-US<' "$E2E_TMP/RuzoriZE3en.exe"
app_start RuzoriZE3en.exe
check "main window appears" drive wait-window main 30000
check_until "title" "$TITLE" drive text main
check_eq "按钮_复制 caption" "复制" drive text 按钮_复制
check_eq "tab page captions" $'文件复制\n软件设置\n关于' tab_captions
check_eq "copy list columns" $'待复制文件(支持拖放)\t200\n文件大小(M)\t90\n目标路径\t80' drive lv-columns 超级列表框
check_eq "rules read back from mp4.ini" "5" wait_until 5 drive lv-count 超级列表框_扩展名
check_eq "目录框 read back from mp4.ini" 'K:\' drive text 目录框
screenshot codepage
drive click 按钮_退出 >/dev/null
check "the program ends through 退出" app_wait_exit "$APP_PID" 20
e2e_finish
