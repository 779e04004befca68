#!/usr/bin/env bash
# The application shell: main window, layout, tab pages, single instance, close and exit.
source "$(dirname "$0")/lib.sh"
e2e_init shell

TITLE="RuzoriZE3视频复制工具 0.4.4 (Kestrin 2008.8.24)"
CLOSE_HINT="请点击'退出'按钮退出程序！"

# Prints the instance window value named $1 (hex), or fails when there is none.
reg_value() {
  wine reg query "$REG_KEY" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v n="$1" '$1 == n && $2 == "REG_DWORD" { print $3; found = 1 } END { exit !found }'
}

no_reg_value() {
  ! reg_value "$1" >/dev/null
}

same_number() {
  [[ -n $1 && -n $2 ]] && (($1 == $2))
}

no_msgbox() {
  ! drive msgbox 500 >/dev/null 2>&1
}

# Minimising hides the window to the tray; either way it is not shown normally.
minimised_or_hidden() {
  if [[ $(drive iconic main) == 1 || $(drive visible main) == 0 ]]; then echo yes; else echo no; fi
}

# The main window's part of the screen, saved as an artefact.
shot_main() {
  local x y w h
  read -r x y w h <<<"$(drive window-rect main)"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$E2E_ART/$1.png"
}

# Number of pixels that differ between two saved shots (small colour noise ignored),
# optionally within a crop geometry such as 514x358+0+30; the difference is kept.
pixels_differ() {
  local a="$E2E_ART/$1.png" b="$E2E_ART/$2.png"
  if [[ -n ${3:-} ]]; then
    convert "$a" -crop "$3" +repage "$E2E_TMP/a.png" && a="$E2E_TMP/a.png"
    convert "$b" -crop "$3" +repage "$E2E_TMP/b.png" && b="$E2E_TMP/b.png"
  fi
  compare -metric AE -fuzz 5% "$a" "$b" "$E2E_ART/$1-vs-$2.png" 2>&1 >/dev/null
  echo
}

tab_captions() {
  local i
  for i in 0 1 2; do drive tab-text "$i"; done
}

# Page 0 shows the copy controls only, page 1 the rule editor, page 2 the About text.
page_shows() {
  local page="$1" want="$2" got="" ctl
  for ctl in 按钮_复制 按钮_应用 编辑框1; do got+="$(drive visible "$ctl" || echo "?")"; done
  [[ $got == "$want" ]] || { echo "page $page: visible 复制/应用/编辑框1 = $got, want $want"; return 1; }
}

# Prints the numbers given scaled from 96 DPI to $1 DPI, rounded as MulDiv rounds.
at_dpi() {
  local dpi="$1" v out=()
  shift
  for v in "$@"; do out+=($(((v * dpi + 48) / 96))); done
  echo "${out[*]}"
}

# Positions in the main client area add up the tab control (2,0), the page's group box
# (5,21) or (5,22), and the inner group boxes; at another DPI every number is scaled.
check_layout() {
  local dpi="$1" at=""
  ((dpi == 96)) || at=" at $dpi DPI"
  check_eq "outer rect 514x388 at (50,50)$at" "$(at_dpi "$dpi" 50 50 514 388)" drive window-rect main
  check_eq "选择夹1 rect$at" "$(at_dpi "$dpi" 2 0 498 360)" drive ctl-rect 选择夹1
  check_eq "超级列表框 rect$at" "$(at_dpi "$dpi" 16 35 400 165)" drive ctl-rect 超级列表框
  check_eq "按钮_复制 rect$at" "$(at_dpi "$dpi" 425 201 58 24)" drive ctl-rect 按钮_复制
  check_eq "按钮_退出 rect$at" "$(at_dpi "$dpi" 425 314 58 24)" drive ctl-rect 按钮_退出
  check_eq "进度条1 rect (inside 分组框2)$at" "$(at_dpi "$dpi" 24 283 385 19)" drive ctl-rect 进度条1
  check_eq "按钮_保存设置 rect (page 1, inside 分组框4)$at" "$(at_dpi "$dpi" 392 279 87 24)" \
    drive ctl-rect 按钮_保存设置
  check_eq "按钮_返回 rect (page 2)$at" "$(at_dpi "$dpi" 222 327 58 24)" drive ctl-rect 按钮_返回
  check_eq "copy list columns$at" "$(printf '%s\t%s\n' 待复制文件\(支持拖放\) "$(at_dpi "$dpi" 200)" \
    文件大小\(M\) "$(at_dpi "$dpi" 90)" 目标路径 "$(at_dpi "$dpi" 80)")" drive lv-columns 超级列表框
  check_eq "rule list columns$at" "$(printf '%s\t%s\n' 待复制文件扩展名 "$(at_dpi "$dpi" 360)" \
    目标路径 "$(at_dpi "$dpi" 90)")" drive lv-columns 超级列表框_扩展名
}

# The program's texts are GBK: Wine must give it code page 936.
check_eq "ANSI code page is 936" "936" ruzdrive acp

# ---- start
app_start
FIRST_PID=$APP_PID
check "main window appears" drive wait-window main 30000
check_until "title" "$TITLE" drive text main
sleep 1
screenshot start
shot_main page-0-start
check_eq "main window visible" "1" drive visible main

# ---- layout
check_layout 96
check_eq "按钮_复制 caption" "复制" drive text 按钮_复制
check_eq "按钮_退出 caption" "退出" drive text 按钮_退出
check_eq "按钮_添加文件 caption" "添加文件" drive text 按钮_添加文件
check_eq "标签_显示大小 caption" "直接拖放文件到列表框" drive text 标签_显示大小
check_eq "选择框_成功后删除源文件 caption" "成功后删除源文件" drive text 选择框_成功后删除源文件
check_eq "按钮_保存设置 caption" "保存设置" drive text 按钮_保存设置
check_eq "超级列表框 is a list view" "SysListView32" drive class 超级列表框
check_eq "按钮_取消 disabled at start" "0" drive enabled 按钮_取消
check_eq "按钮_复制 enabled at start" "1" drive enabled 按钮_复制

# ---- tab pages
check_eq "three tab pages" "3" drive tab-count
check_eq "tab page captions" $'文件复制\n软件设置\n关于' tab_captions
check_eq "page 0 at start" "0" drive tab
check "page 0 shows the copy controls" page_shows 0 100
check_eq "select page 1" "1" drive tab 1
sleep 0.3
screenshot page-1
check "page 1 shows the rule editor only" page_shows 1 010
check_eq "back to page 0" "0" drive tab 0
sleep 0.3
shot_main page-0-after-1
check_eq "select page 2" "2" drive tab 2
sleep 0.3
screenshot page-2
check "page 2 shows the About text only" page_shows 2 001
check_eq "back to page 0 again" "0" drive tab 0
sleep 0.3
shot_main page-0-after-2
screenshot page-0
check "page 0 again shows the copy controls" page_shows 0 100
# Hidden controls of the page left must leave nothing behind on the screen.
check_eq "page 0 looks the same after page 1 and after page 2" "0" \
  pixels_differ page-0-after-1 page-0-after-2
# Below the tab strip (whose focus mark follows the click), the first paint of page 0
# must match the page shown again.
check_eq "page 0 at start looks as it does after a page switch" "0" \
  pixels_differ page-0-start page-0-after-1 514x338+0+50
drive tab 2 >/dev/null
check "按钮_返回 clicked" drive click 按钮_返回
check_until "按钮_返回 goes back to page 0" "0" drive tab

# ---- instance marker
MAIN_HWND="$(drive wait-window main 1000)"
check "registry holds the main window handle" same_number "$(reg_value RuzoriZE3.exe)" "$MAIN_HWND"

# ---- close request: a hint, the program keeps running on page 0
drive tab 1 >/dev/null
check "close request posted" drive close main
check "close request shows the hint" drive msgbox-answer ok "$CLOSE_HINT" 5000
check_until "close request switches to page 0" "0" drive tab
check "still running after the close request" app_running "$FIRST_PID"
check_eq "main window still visible" "1" drive visible main

# ---- a second start of the same exe restores the first and ends silently
check "minimise posted" drive minimize main
check_until "minimised window is not shown normally" "yes" minimised_or_hidden
screenshot minimised
app_start
SECOND_PID=$APP_PID
app_wait_exit "$SECOND_PID" 10
check_eq "second start ends with code 0" "0" echo "$APP_EXIT"
check "second start shows no message" no_msgbox
check "first instance still running" app_running "$FIRST_PID"
check_eq "one main window" "1" drive count main
check_until "first window restored: visible" "1" drive visible main
check_until "first window restored: not minimised" "0" drive iconic main
screenshot restored-by-second-start

# ---- a copy under another name is an instance of its own
cp "$E2E_TMP/RuzoriZE3.exe" "$E2E_TMP/RuzoriZE3b.exe"
app_start RuzoriZE3b.exe
OTHER_PID=$APP_PID
RUZ_EXE=RuzoriZE3.exe
check "renamed copy shows its own main window" drive_for RuzoriZE3b.exe wait-window main 30000
check_until "renamed copy's window visible" "1" drive_for RuzoriZE3b.exe visible main
check "renamed copy keeps running" app_running "$OTHER_PID"
check_eq "two main windows" "2" ruzdrive count main
OTHER_HWND="$(drive_for RuzoriZE3b.exe wait-window main 1000)"
check "renamed copy has its own registry value" same_number "$(reg_value RuzoriZE3b.exe)" "$OTHER_HWND"
check "renamed copy: 退出 clicked" drive_for RuzoriZE3b.exe click 按钮_退出
app_wait_exit "$OTHER_PID" 15
check_eq "renamed copy ends with code 0" "0" echo "$APP_EXIT"
check "renamed copy's registry value is gone" no_reg_value RuzoriZE3b.exe
check "first instance's registry value kept" same_number "$(reg_value RuzoriZE3.exe)" "$MAIN_HWND"
check "first instance unaffected" app_running "$FIRST_PID"

# ---- exit
check "退出 clicked" drive click 按钮_退出
app_wait_exit "$FIRST_PID" 15
check_eq "退出 ends the program with code 0" "0" echo "$APP_EXIT"
check "main window gone" drive wait-gone main 5000
check "registry value deleted at exit" no_reg_value RuzoriZE3.exe
check "mp4.ini written beside the exe" test -f "$E2E_TMP/mp4.ini"

# ---- a new start after exit runs normally
app_start
check "restart: main window appears" drive wait-window main 30000
check_until "restart: title" "$TITLE" drive text main
check_until "restart: visible" "1" drive visible main
check "restart: still running" app_running "$APP_PID"
check "restart: 退出 clicked" drive click 按钮_退出
app_wait_exit "$APP_PID" 15
check_eq "restart: ends with code 0" "0" echo "$APP_EXIT"

# ---- other DPIs: Wine reads the DPI when it starts, so each is a fresh Wine of a prefix of
# this phase's own. At 144 DPI the layout above, every number scaled; pages 0 and 1 at each
# DPI are kept under build/artefacts/dpi/.
DPI_ART="$RUZ_ROOT/build/artefacts/dpi"
rm -rf "$DPI_ART"
mkdir -p "$DPI_ART"
cp "$E2E_ART/page-0-start.png" "$DPI_ART/96-page-0.png"
ruz_wine_stop
export WINEPREFIX="$WINEPREFIX-dpi"
ruz_prefix_init
for dpi in 120 144 192; do
  wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
  ruz_wine_stop
  e2e_wine_start
  app_start
  check "$dpi DPI: main window appears" drive wait-window main 30000
  check_until "$dpi DPI: visible" "1" drive visible main
  ((dpi == 144)) && check_layout 144
  sleep 1
  for page in 1 0; do
    drive tab "$page" >/dev/null
    sleep 0.5
    shot_main "dpi-$dpi-page-$page"
    cp "$E2E_ART/dpi-$dpi-page-$page.png" "$DPI_ART/$dpi-page-$page.png"
  done
  check "$dpi DPI: 退出 clicked" drive click 按钮_退出
  app_wait_exit "$APP_PID" 15
  check_eq "$dpi DPI: ends with code 0" "0" echo "$APP_EXIT"
done

e2e_finish
