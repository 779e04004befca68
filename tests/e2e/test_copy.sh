#!/usr/bin/env bash
# The copy job onto a drive letter mapped to a temp folder: a mixed list copied and
# verified with method 1, then method 2 with the overwrite question and source deletion,
# then method 1 again with the question on the worker and Cancel pressed meanwhile.
# Then onto a test player (tests/e2e/playerfs.py) as P:: FAT32 at USB speed, pulled out
# in the middle of a job and plugged back.
source "$(dirname "$0")/lib.sh"
e2e_init copy

SRC="$E2E_TMP/src"
SRC2="$E2E_TMP/src2"
SRC3="$E2E_TMP/src3"
SRC4="$E2E_TMP/src4"
SRC5="$E2E_TMP/src5"
ALBUM="$E2E_TMP/album"
ALBUM2="$E2E_TMP/album2"
MOVIE="$E2E_TMP/movie"
HUGE="$E2E_TMP/huge"
SONGS="$E2E_TMP/songs"
KEYS="$E2E_TMP/keys"
PLAYER="$E2E_TMP/player"
KLINK="$WINEPREFIX/dosdevices/k:"
mkdir -p "$SRC" "$SRC2" "$SRC3" "$SRC4" "$SRC5" "$ALBUM" "$KEYS" "$PLAYER/Video" "$PLAYER/music" "$PLAYER/txt" \
  "$ALBUM2" "$MOVIE" "$HUGE" "$SONGS" "$E2E_TMP/songs.orig"
head -c 1572864 /dev/urandom >"$SRC/a.mp3"
head -c 3145735 /dev/urandom >"$SRC/b.avi"
printf 'line one\r\nline two\r\n' >"$SRC/c.txt"
head -c 99 /dev/urandom >"$SRC/d.bin"
head -c 250000 /dev/urandom >"$SRC/e 歌.mp3"
head -c 1000 /dev/urandom >"$SRC2/a.mp3"
head -c 70000 /dev/urandom >"$SRC2/f.wma"
cp "$SRC2/f.wma" "$E2E_TMP/f.wma.orig"
head -c 300000 /dev/urandom >"$SRC3/a.mp3"
cp "$SRC3/a.mp3" "$E2E_TMP/a.mp3.orig"
printf 'not copied\r\n' >"$SRC3/g.txt"
for f in h.mp3 i.mp3 j.mp3; do head -c 20000 /dev/urandom >"$SRC4/$f"; done
printf 'k1' >"$KEYS/k1.txt"; printf 'k2' >"$KEYS/k2.txt"
for t in 1 2 3 4 5; do head -c 30000 /dev/urandom >"$ALBUM/0$t.mp3"; touch -d "2024-05-0$t 12:00" "$ALBUM/0$t.mp3"; done
head -c 536870912 /dev/zero >"$SRC5/big.avi"
# FAT keeps a write time in 2-second steps: these odd seconds come back a second earlier
for t in 1 2 3 4 5; do head -c 30000 /dev/urandom >"$ALBUM2/0$t.mp3"; touch -d "2024-05-0$t 12:00:0$((2 * t - 1)).7" "$ALBUM2/0$t.mp3"; done
head -c 209715200 /dev/zero >"$MOVIE/movie.avi"
truncate -s 4G "$HUGE/huge.avi"
for t in 1 2 3 4 5 6 7 8; do head -c 4194304 /dev/urandom >"$SONGS/s$t.mp3"; done
cp -p "$SONGS"/* "$E2E_TMP/songs.orig/"
head -c 1048576 /dev/urandom >"$PLAYER/Video/big.avi"
ln -sfn "$PLAYER" "$KLINK"
trap 'rm -f "$KLINK"; e2e_cleanup' EXIT
WSRC4="Z:${SRC4//\//\\}"

app_start
check "main window appears" drive wait-window main 30000
check_eq "rule list loaded" "5" wait_until 5 drive lv-count 超级列表框_扩展名
check_eq "目录框 names drive K:" 'K:\' drive text 目录框
drive tab 1 >/dev/null
check_eq "verification switched on" "1" drive set-check 选择框_校验 1
drive tab 0 >/dev/null

# ---- method 1: the program's own copy, verified, on the worker
drive click 按钮_添加文件 >/dev/null
drive filedialog-shown 10000 >/dev/null
check "five files chosen" drive filedialog "$SRC" "a.mp3" "b.avi" "c.txt" "d.bin" "e 歌.mp3"
check_eq "five rows" "5" wait_until 5 drive lv-count 超级列表框
drive click 按钮_复制 >/dev/null
check_until "summary in the status line" "共5个,成功复制5个,耗时" summary
check_eq "the list is emptied" "0" wait_until 0 drive lv-count 超级列表框
check "every file byte-identical in its rule folder" same_files \
  "$SRC/a.mp3|music/a.mp3" "$SRC/b.avi|Video/b.avi" "$SRC/c.txt|txt/c.txt" "$SRC/d.bin|d.bin" \
  "$SRC/e 歌.mp3|music/e 歌.mp3"
check_eq "overall bar at the row count" "5" drive progress 进度条1
check_eq "per-file bar at 100" "100" drive progress 进度条2
check_eq "copy enabled again" "1" wait_until 1 drive enabled 按钮_复制
check_eq "cancel disabled again" "0" drive enabled 按钮_取消
check "sources kept without the delete option" test -f "$SRC/a.mp3"
screenshot method1

# ---- method 2: the shell's copy; an existing file is skipped; sources deleted
# (a second folder: the dialog will not navigate to the folder it is already in)
drive tab 1 >/dev/null
check_eq "copy method 2 chosen" "1" drive combo 组合框_复制方法 1
drive tab 0 >/dev/null
check_eq "delete option on" "1" drive set-check 选择框_成功后删除源文件 1
drive click 按钮_添加文件 >/dev/null
drive filedialog-shown 10000 >/dev/null
check "two files chosen" drive filedialog "$SRC2" "a.mp3" "f.wma"
check_eq "two rows" "2" wait_until 2 drive lv-count 超级列表框
drive click 按钮_复制 >/dev/null
check "overwrite question answered with Cancel" drive msgbox-answer cancel "已存在！ 覆盖吗？" 10000
check_until "summary counts the skipped file" "共2个,成功复制1个,耗时" summary
check "the new file copied by the shell" same_files "$E2E_TMP/f.wma.orig|music/f.wma"
check "its source deleted" test ! -e "$SRC2/f.wma"
check "the skipped file's source kept" test -f "$SRC2/a.mp3"
check "the existing copy untouched" same_files "$SRC/a.mp3|music/a.mp3"
check_eq "only the skipped row stays" "1" wait_until 1 drive lv-count 超级列表框
screenshot method2
drive click 按钮_全部删除 >/dev/null

# ---- method 1 again: the question blocks only the worker; Cancel closes it as 跳过 and
# stops the job, which keeps the old copy on the player and its source
question_up() { drive msgbox 300 >/dev/null 2>&1 && echo 1 || echo 0; }
drive tab 1 >/dev/null
check_eq "copy method 1 chosen" "0" drive combo 组合框_复制方法 0
drive tab 0 >/dev/null
drive click 按钮_添加文件 >/dev/null
drive filedialog-shown 10000 >/dev/null
check "two more files chosen" drive filedialog "$SRC3" "a.mp3" "g.txt"
check_eq "two rows" "2" wait_until 2 drive lv-count 超级列表框
drive click 按钮_复制 >/dev/null
check "the worker asks before overwriting" drive msgbox 10000
check_eq "the main window stays enabled under the question" "1" drive enabled main
check "Cancel pressed while the question is up" drive click 按钮_取消
check_eq "the question closes by itself" "0" wait_until 0 question_up
check_until "nothing counted as copied" "共2个,成功复制0个,耗时" summary
check "the old copy untouched" same_files "$SRC/a.mp3|music/a.mp3"
check "no temporary left" test ! -e "$PLAYER/music/a.mp3.RuzoriZE3.tmp"
check "its source kept" test -f "$SRC3/a.mp3"
check "the row after Cancel not copied" test ! -e "$PLAYER/txt/g.txt"
check_eq "both rows stay" "2" wait_until 2 drive lv-count 超级列表框
drive click 按钮_全部删除 >/dev/null

# ---- a file that vanished after it was listed stays in the list with its reason
drive click 按钮_添加文件 >/dev/null
drive filedialog-shown 10000 >/dev/null
check "three files chosen" drive filedialog "$SRC4" "h.mp3" "i.mp3" "j.mp3"
check_eq "three rows" "3" wait_until 3 drive lv-count 超级列表框
rm "$SRC4/i.mp3"
drive click 按钮_复制 >/dev/null
check_until "two of three copied" "共3个,成功复制2个,耗时" summary
check_eq "only the failed row stays" "1" drive lv-count 超级列表框
check_eq "it is the vanished file" "$WSRC4\\i.mp3" drive lv-cell 超级列表框 0 0
check_eq "with the red cross" "8" drive lv-image 超级列表框 0
check_eq "its reason shows where it rests" "无法读取源文件，复制失败!" drive lv-tip 超级列表框 0 8000
screenshot failed-row
drive click 按钮_全部删除 >/dev/null

# ---- an album copied twice: the second time nothing is asked or written; then three
# changed songs with one answer for all (through links: the dialog stays out of the
# folder it is already in)
ln -s "$ALBUM" "$E2E_TMP/again"
ln -s "$ALBUM" "$E2E_TMP/changed"
balloon_has() {  # Wine shows a balloon about 2 s late, and an older one may still be up
  local i
  for i in $(seq 1 30); do drive balloon 500 2>/dev/null | grep -qF "$1" && return 0; sleep 0.3; done
  return 1
}
list_files() {  # folder name...: chosen in the open-file dialog, the list waited for
  drive click 按钮_添加文件 >/dev/null
  drive filedialog-shown 10000 >/dev/null
  drive filedialog "$@" >/dev/null && wait_until $(($# - 1)) drive lv-count 超级列表框 >/dev/null
}
album_job() {  # folder: the album's five songs listed and 复制 pressed
  list_files "$1" 01.mp3 02.mp3 03.mp3 04.mp3 05.mp3 && drive click 按钮_复制 >/dev/null
}
drive set-check 选择框_成功后删除源文件 0 >/dev/null
check "the album listed and copied" album_job "$ALBUM"
check_eq "the list is emptied" "0" wait_until 0 drive lv-count 超级列表框
check_eq "all five copied" "共5个,成功复制5个,耗时" summary
changes="$(stat -c %Z "$PLAYER"/music/0?.mp3)"
check "listed and copied again" album_job "$E2E_TMP/again"
check_eq "the list is emptied again" "0" wait_until 0 drive lv-count 超级列表框
check "no question was asked" test "$(drive msgbox 500 2>/dev/null)" = ""
check_eq "all counted" "共5个,成功复制5个,耗时" summary
check "the balloon names the files left as they were" balloon_has "其中5个文件播放器上已有相同的，未重新写入"
check_eq "nothing written" "$changes" stat -c %Z "$PLAYER"/music/0?.mp3
for t in 1 3 5; do head -c 31000 /dev/urandom >"$ALBUM/0$t.mp3"; done
check "three songs changed, listed and copied" album_job "$E2E_TMP/changed"
drive msgbox 10000 >/dev/null && screenshot overwrite-question
check "one question, answered for the rest" drive msgbox-answer ok+all "已存在！ 覆盖吗？" 10000
check_eq "the list is emptied once more" "0" wait_until 0 drive lv-count 超级列表框
check_eq "all counted again" "共5个,成功复制5个,耗时" summary
check "the balloon names the two left as they were" balloon_has "其中2个文件播放器上已有相同的，未重新写入"
check "all five as their sources" same_files "$ALBUM/01.mp3|music/01.mp3" "$ALBUM/02.mp3|music/02.mp3" \
  "$ALBUM/03.mp3|music/03.mp3" "$ALBUM/04.mp3|music/04.mp3" "$ALBUM/05.mp3|music/05.mp3"

# ---- a large copy over an existing file: the old one stays whole until the new one is
EXISTING="$PLAYER/Video/big.avi"
sizes_seen() {  # every size the destination shows until the job ends
  while [[ ! -e "$E2E_TMP/big.done" ]]; do stat -c %s "$EXISTING" 2>/dev/null || echo missing; sleep 0.02; done | sort -u
}
drive click 按钮_添加文件 >/dev/null
drive filedialog-shown 10000 >/dev/null
check "a 512 MiB file chosen" drive filedialog "$SRC5" "big.avi"
check_eq "one row" "1" wait_until 1 drive lv-count 超级列表框
sizes_seen >"$E2E_TMP/sizes" &
SIZES_PID=$!
drive click 按钮_复制 >/dev/null
check "overwriting confirmed" drive msgbox-answer ok "已存在！ 覆盖吗？" 10000
line=""
for _ in $(seq 1 100); do
  line="$(drive text 标签2)"
  [[ $line == *"MB/s  剩余 "* ]] && break
  sleep 0.1
done
screenshot progress-line
check "总进度 shows percent, rate and time left" grep -qE '^总进度 [0-9]+%  [0-9.]+ MB/s  剩余 ' <<<"$line"
check_until "the large file copied" "共1个,成功复制1个,耗时" summary
touch "$E2E_TMP/big.done"
wait "$SIZES_PID"
check_eq "the destination was only ever the old or the new file" "$(printf '1048576\n536870912')" cat "$E2E_TMP/sizes"
check "the new file in place (its source moved)" cmp -s -n 536870913 "$EXISTING" <(head -c 536870912 /dev/zero)
check_eq "总进度 back to its caption" "总进度" drive text 标签2

# ---- a test player as P:, FAT32 of 8 GiB at USB speed; what reached it stays in PBACK,
# so plugging PBACK in again is the same player plugged back
PBACK="$E2E_TMP/player-p"
PLUG=(--size 8G --write-mbps 20 --read-mbps 30)
volume_of() { ruzdrive volume "$1" | cut -d' ' -f1,2; }
soon() {  # CMD...: true within 10 s (tried every 50 ms)
  local i
  for i in $(seq 1 200); do "$@" && return 0; sleep 0.05; done
  return 1
}
gone_within() {  # ms file: the file is gone within that time
  local start=${EPOCHREALTIME/./} took
  while [[ -e $2 ]] && ((${EPOCHREALTIME/./} - start < 5000000)); do sleep 0.02; done
  took=$(((${EPOCHREALTIME/./} - start) / 1000))
  echo "gone after $took ms"
  [[ ! -e $2 ]] && ((took <= $1))
}
whole_or_kept() {  # every song still at its source unless its copy is whole; some of each
  local f kept=0 moved=0
  for f in "$E2E_TMP"/songs.orig/*; do
    if [[ -e $SONGS/${f##*/} ]]; then kept=$((kept + 1))
    elif cmp -s "$f" "$PBACK/music/${f##*/}"; then moved=$((moved + 1))
    else echo "${f##*/}: its source gone, its copy not whole" && return 1; fi
  done
  echo "$moved moved, $kept kept"
  ((kept > 0 && moved > 0))
}
rerun_all() {  # rows: the job run again moves every song whole, asking nothing about its leftover
  local i f
  for i in $(seq 1 100); do
    [[ $(summary) == "共$1个,成功复制$1个,耗时" ]] && break
    if drive msgbox 300 >/dev/null 2>&1; then
      drive msgbox-answer ok+all "" 300 >/dev/null 2>&1
      echo "asked about a file on the player" && return 1
    fi
  done
  summary
  for f in "$E2E_TMP"/songs.orig/*; do
    cmp "$f" "$PBACK/music/${f##*/}" && [[ ! -e $SONGS/${f##*/} ]] || return 1
  done
}
player_phases() {
  drive set-text 目录框 'P:\' >/dev/null
  check_eq "Windows sees the player as FAT32 of 8 GiB" "FAT32 8589934592" volume_of p
  list_files "$HUGE" huge.avi && drive click 按钮_复制 >/dev/null
  wait_until "共1个,成功复制0个,耗时" summary >/dev/null
  check_eq "a file of 4 GiB refused on the FAT32 player" "文件大于4GB，目标磁盘为FAT32格式，无法存放" \
    drive lv-tip 超级列表框 0 8000
  check "nothing of it written" test ! -e "$PBACK/Video/huge.avi"
  drive click 按钮_全部删除 >/dev/null

  list_files "$MOVIE" movie.avi && drive click 按钮_复制 >/dev/null
  soon eval '(($(stat -c %s "$PBACK/Video/movie.avi" 2>/dev/null || echo 0) > 20971520))'
  drive click 按钮_取消 >/dev/null
  check "取消 in a large file at USB speed: its partial copy gone within a second" \
    gone_within 1000 "$PBACK/Video/movie.avi"
  wait_until 1 drive enabled 按钮_复制 >/dev/null
  drive click 按钮_全部删除 >/dev/null

  ln -s "$ALBUM2" "$E2E_TMP/album2-again"
  album_job "$ALBUM2" && wait_until 0 drive lv-count 超级列表框 >/dev/null
  check_eq "the player keeps write times in 2-second steps" "$(($(stat -c %Y "$ALBUM2/01.mp3") - 1)).000000000" \
    stat -c %.9Y "$E2E_TMP/plug-p/music/01.mp3"
  changes="$(stat -c %z "$PBACK"/music/0?.mp3)"
  album_job "$E2E_TMP/album2-again" && wait_until 0 drive lv-count 超级列表框 >/dev/null
  check_eq "the unchanged album copied again: nothing written" "$changes" stat -c %z "$PBACK"/music/0?.mp3

  drive set-check 选择框_成功后删除源文件 1 >/dev/null
  list_files "$SONGS" s1.mp3 s2.mp3 s3.mp3 s4.mp3 s5.mp3 s6.mp3 s7.mp3 s8.mp3 && drive click 按钮_复制 >/dev/null
  soon eval '(($(ls "$SONGS" | wc -l) < 8))'
  player_unplug p
  wait_until 1 drive enabled 按钮_复制 >/dev/null
  check "pulled out in a verified job: every source kept unless its copy is whole" whole_or_kept
  player_plug p "$PBACK" "${PLUG[@]}"
  local rows
  rows="$(drive lv-count 超级列表框)"
  drive click 按钮_复制 >/dev/null
  check "plugged back and run again: every song whole on the player, its source gone" rerun_all "$rows"
  drive set-check 选择框_成功后删除源文件 0 >/dev/null
  drive set-text 目录框 'K:\' >/dev/null
}
if player_plug p "$PBACK" "${PLUG[@]}"; then
  player_phases
else
  for phase in "a file of 4 GiB on the FAT32 player" "取消 at USB speed" "an unchanged album again on the player" \
    "the player pulled out and plugged back"; do skip "$phase" "$PLAYER_SKIP"; done
fi

# ---- a nearly full player of 24 MiB as Q:: an album refilled with two new songs, then
# what fits of ten more
songs() {  # folder prefix n: n songs of 2 MiB
  mkdir -p "$1" && for i in $(seq -w 1 "$3"); do head -c 2097152 /dev/urandom >"$1/$2$i.mp3"; done
}
copied_whole() {  # names...: each on the player as its source
  local f
  for f in "$@"; do cmp -s "$E2E_TMP/refill/$f" "$QBACK/music/$f" || return 1; done
}
refill_phases() {
  drive set-text 目录框 'Q:\' >/dev/null
  songs "$E2E_TMP/refill" s 8 && songs "$E2E_TMP/refill" m 10
  list_files "$E2E_TMP/refill" s1.mp3 s2.mp3 s3.mp3 s4.mp3 s5.mp3 s6.mp3 && drive click 按钮_复制 >/dev/null
  wait_until "共6个,成功复制6个,耗时" summary >/dev/null
  local changes
  changes="$(stat -c %z "$QBACK"/music/s?.mp3)"
  list_files "$E2E_TMP/refill" s1.mp3 s2.mp3 s3.mp3 s4.mp3 s5.mp3 s6.mp3 s7.mp3 s8.mp3 && drive click 按钮_复制 >/dev/null
  check_until "the album with two new songs refilled, larger than the free space but not asked" \
    "共8个,成功复制8个,耗时" summary
  check "the two new songs whole on the player" copied_whole s7.mp3 s8.mp3
  check_eq "the six already there not written again" "$changes" stat -c %z "$QBACK"/music/s[1-6].mp3
  list_files "$E2E_TMP/refill" m01.mp3 m02.mp3 m03.mp3 m04.mp3 m05.mp3 m06.mp3 m07.mp3 m08.mp3 m09.mp3 m10.mp3 &&
    drive click 按钮_复制 >/dev/null
  check "ten more asked: copy only what fits" drive msgbox-answer yes "只复制放得下的文件吗" 10000
  soon eval '[[ $(summary) == 共10个,* ]]'
  local left
  left="$(drive lv-count 超级列表框)"
  check "some copied, the rest listed" test "$left" -gt 0 -a "$left" -lt 10
  check_eq "what fits copied, in list order" "共10个,成功复制$((10 - left))个,耗时" summary
  check "the copied ones whole" copied_whole $(printf 'm%02d.mp3 ' $(seq 1 $((10 - left))))
  check_eq "the rest told why" "目标磁盘空间不足，未复制" drive lv-tip 超级列表框 0 8000
  drive click 按钮_全部删除 >/dev/null
  # The player is full: a new s1.mp3 has no room beside the old one and is written in place.
  head -c 2097152 /dev/urandom >"$E2E_TMP/refill/s1.mp3"
  list_files "$E2E_TMP/refill" s1.mp3 && drive click 按钮_复制 >/dev/null
  drive msgbox-answer ok "已存在" 10000 >/dev/null
  check_until "a replacement with no room for a temporary" "共1个,成功复制1个,耗时" summary
  check "the new s1.mp3 whole" copied_whole s1.mp3
  check "no temporary left" test -z "$(find "$QBACK" -name '*.tmp')"
  drive set-text 目录框 'K:\' >/dev/null
}
QBACK="$E2E_TMP/player-q"
if player_plug q "$QBACK" --size 24M; then
  refill_phases
  player_eject q
else
  skip "a full player refilled" "$PLAYER_SKIP"
fi

# ---- the keyboard alone: the list filled through the dialog, 复制, Tab on, Ctrl+Tab
press() { xdotool windowfocus --sync "$MAIN_XID" key "$@" && sleep 0.3; }
tab_to() {  # Tab until the control has the focus
  local i
  for i in $(seq 1 30); do [[ $(drive focused) == "$1" ]] && return 0; press Tab; done
  return 1
}
MAIN_XID="$(xdotool search --name "^RuzoriZE3视频复制工具" | head -n 1)"
read -r x y w h <<<"$(drive ctl-rect 标签3)"
xdotool mousemove --window "$MAIN_XID" $((x + w / 2)) $((y + h / 2)) click 1  # the window in front
check "Tab reaches 添加文件" tab_to 按钮_添加文件
press Return
drive filedialog-shown 10000 >/dev/null
check "two files chosen" drive filedialog "$KEYS" k1.txt k2.txt
check_eq "the focus is back on the button that opened the dialog" 按钮_添加文件 wait_until 按钮_添加文件 drive focused
check "Tab reaches 复制" tab_to 按钮_复制
press Return
check_until "the job ran" "共2个,成功复制2个,耗时" summary
check_eq "the focus is back on 复制" 按钮_复制 wait_until 按钮_复制 drive focused
press Tab
check "Tab goes on from there" test "$(drive focused)" != 按钮_复制
press ctrl+Tab
check_eq "Ctrl+Tab turns to 软件设置" 1 drive tab
press ctrl+shift+Tab
check_eq "Ctrl+Shift+Tab turns back" 0 drive tab

drive click 按钮_退出 >/dev/null
check "the program ends through 退出" app_wait_exit "$APP_PID" 20
e2e_finish
