#!/usr/bin/env bash
# The copy list: files added through the real open-file dialog, their rows, the size line
# against the free space of a drive letter mapped to a temp folder, moves and removals.
source "$(dirname "$0")/lib.sh"
e2e_init copylist

SRC="$E2E_TMP/src"
PLAYER="$E2E_TMP/player"
KLINK="$WINEPREFIX/dosdevices/k:"
mkdir -p "$SRC" "$PLAYER"
head -c 1572864 /dev/zero >"$SRC/a.mp3"
head -c 1000 /dev/zero >"$SRC/b 歌.txt"
head -c 500 /dev/zero >"$SRC/c.bin"
ln -sfn "$PLAYER" "$KLINK"
trap 'rm -f "$KLINK"; e2e_cleanup' EXIT

WSRC="Z:${SRC//\//\\}"
A="$WSRC\\a.mp3" B="$WSRC\\b 歌.txt" C="$WSRC\\c.bin"

# Free space of K: in M as the program computes it: KB / 1024, three decimals.
free_m() {
  df -k --output=avail "$PLAYER" | tail -1 | awk '{ printf "%.3f", $1 / 1024 }' | sed 's/0*$//; s/\.$//'
}

# The size line with the free-space figure checked against df, within 2%: other writers
# on the same disk move it between the two readings.
size_line_near() {
  local want_total="$1" got free want
  got="$(drive text 标签_显示大小)"
  free="$(sed -n 's/^文件总大小:.* M   目标磁盘剩余:\(.*\) M$/\1/p' <<<"$got")"
  want="$(free_m)"
  [[ $got == "文件总大小:$want_total M   目标磁盘剩余:$free M" ]] &&
    awk -v a="$free" -v b="$want" 'BEGIN { d = a - b; t = b / 50; if (t < 64) t = 64; exit !(d < t && d > -t) }' &&
    return 0
  echo "got: $got (df says $want M free)"
  return 1
}

rows() { drive lv-dump 超级列表框; }

app_start
check "main window appears" drive wait-window main 30000
check_eq "rule list loaded" "5" wait_until 5 drive lv-count 超级列表框_扩展名
check_eq "目录框 names drive K:" 'K:\' drive text 目录框
check_eq "size label shows its design caption" "直接拖放文件到列表框" drive text 标签_显示大小

# ---- three files through the open-file dialog
drive click 按钮_添加文件 >/dev/null
check_eq "the open-file dialog with its title" $'1\ntitle: 选择需要复制的文件(可多选)' drive filedialog-shown 10000
check "files chosen" drive filedialog "$SRC" "a.mp3" "b 歌.txt" "c.bin"
check_eq "three rows" "3" wait_until 3 drive lv-count 超级列表框
check_eq "rows: path, size in M, sub-path" "$A	1.5	\\music
$B	0.001	\\txt
$C	0	\\" rows
row_images() { echo $(for r in 0 1 2; do drive lv-image 超级列表框 $r; done); }
check_until "row images" "2 3 0" row_images  # a read from another process may come mid-batch
check "size line: total and K:'s free space" size_line_near 1.501
check_eq "balloon shows the size line" "$(drive text 标签_显示大小)" drive balloon 5000
screenshot added

# ---- moves keep whole rows together; the selection follows
drive lv-select 超级列表框 0 >/dev/null
drive click 按钮_向下 >/dev/null
check_eq "moved down" "$B	0.001	\\txt
$A	1.5	\\music
$C	0	\\" wait_until "$B	0.001	\\txt
$A	1.5	\\music
$C	0	\\" rows
check_eq "selection followed" "1" drive lv-selected 超级列表框
check_eq "images moved along" "3 2 0" echo $(for r in 0 1 2; do drive lv-image 超级列表框 $r; done)

# ---- removing the selected row refreshes the total
drive click 按钮_删除 >/dev/null
check_eq "row removed" "$B	0.001	\\txt
$C	0	\\" wait_until "$B	0.001	\\txt
$C	0	\\" rows
check "size line after removing" size_line_near 0.001

# ---- a cancelled dialog adds nothing
drive click 按钮_添加文件 >/dev/null
check "dialog cancelled" drive filedialog-cancel
check_eq "still two rows" "2" drive lv-count 超级列表框

# ---- a drive letter with nothing behind it
drive set-text 目录框 'Q:\' >/dev/null
drive click 按钮_刷新2 >/dev/null
check_eq "unknown drive: free space -0.001" "文件总大小:0.001 M   目标磁盘剩余:-0.001 M" \
  wait_until "文件总大小:0.001 M   目标磁盘剩余:-0.001 M" drive text 标签_显示大小
screenshot no-drive

drive click 按钮_全部删除 >/dev/null
check_eq "全部删除 empties the list" "0" wait_until 0 drive lv-count 超级列表框
check_eq "size line after 全部删除" "文件总大小:0 M   目标磁盘剩余:-0.001 M" drive text 标签_显示大小

drive click 按钮_退出 >/dev/null
check "the program ends through 退出" app_wait_exit "$APP_PID" 20
e2e_finish
