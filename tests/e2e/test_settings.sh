#!/usr/bin/env bash
# Settings: mp4.ini written from its template on the first run, options changed through
# the real controls, saved, exited and shown again after a restart; the rule editor.
source "$(dirname "$0")/lib.sh"
e2e_init settings

INI="$E2E_TMP/mp4.ini"
RULES=$'*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg\t\\Video\n*.mp3;*.wma;*.wav\t\\music\n*.txt\t\\txt\n*.bmp;*.jpg;*.gif\t\\picture\n*.swf\t\\flash'

template() {
  printf '%s\r\n' '[MP4配置]' '复制路径=K:\' '迷你窗口=1' '文件校验=0' '删除文件=0' '启用规则=1' '复制方法=0' \
    '[扩展名配置]' '扩展名1=*.rm;*.rmvb;*.dat;*.flv;*.wmv;*.avi;*.asf;*.3gp;*.mp4;*.mpg' '路径1=\Video' \
    '扩展名2=*.mp3;*.wma;*.wav' '路径2=\music' '扩展名3=*.txt' '路径3=\txt' '扩展名4=*.bmp;*.jpg;*.gif' \
    '路径4=\picture' '扩展名5=*.swf' '路径5=\flash' | iconv -f UTF-8 -t GBK
}

# The stored line of one key, as UTF-8 without the CR.
stored() {
  iconv -f GBK -t UTF-8 <"$INI" | tr -d '\r' | grep -m1 "^$1="
}

# verify, mini window, delete source, rules, copy method, as the controls show them
options() {
  echo "$(drive checked 选择框_校验) $(drive checked 选择框_迷你) $(drive checked 选择框_成功后删除源文件)" \
    "$(drive checked 选择框_规则) $(drive combo 组合框_复制方法)"
}

# The options are loaded when the rule list has its five rows.
loaded() {
  local i
  for ((i = 0; i < 60; i++)); do
    [[ $(drive lv-count 超级列表框_扩展名 2>/dev/null) == 5 ]] && return 0
    sleep 0.5
  done
  return 1
}

start() {
  app_start
  check "main window appears" drive wait-window main 30000
  check "options loaded" loaded
}

quit() {
  drive tab 0 >/dev/null
  drive click 按钮_退出 >/dev/null
  check "the program ends through 退出" app_wait_exit "$APP_PID" 20
}

# ---- first run: no mp4.ini
start
check_eq "mp4.ini has 322 bytes" "322" stat -c %s "$INI"
check "mp4.ini is the template byte for byte" cmp "$INI" <(template)
check_eq "目录框 shows the template's root" 'K:\' drive text 目录框
check_eq "options from the template" "0 1 0 1 0" options
check_eq "mini window shown" "1" drive visible mini
check_eq "rule list holds the default rules" "$RULES" drive lv-dump 超级列表框_扩展名
check_eq "rule images 1 to 5" "1 2 3 4 5" \
  echo $(for r in 0 1 2 3 4; do drive lv-image 超级列表框_扩展名 $r; done)

# ---- change options through the controls and save
drive tab 1 >/dev/null
drive set-check 选择框_校验 1 >/dev/null
drive set-check 选择框_规则 0 >/dev/null
drive combo 组合框_复制方法 1 >/dev/null
drive set-check 选择框_迷你 0 >/dev/null
check_eq "unticking 迷你窗口 hides the mini window at once" "0" drive visible mini
drive click 按钮_保存设置 >/dev/null
check "保存设置 confirms" drive msgbox-answer ok "配置已保存!" 10000
check_eq "文件校验 saved" "文件校验=1" stored 文件校验
check_eq "启用规则 saved" "启用规则=0" stored 启用规则
check_eq "复制方法 saved" "复制方法=1" stored 复制方法
check_eq "迷你窗口 saved" "迷你窗口=0" stored 迷你窗口
check_eq "rules untouched by 保存设置" "扩展名2=*.mp3;*.wma;*.wav" stored 扩展名2

# ---- an unsaved change is kept by 退出
drive tab 0 >/dev/null
drive set-check 选择框_成功后删除源文件 1 >/dev/null
quit
check_eq "退出 saved 删除文件" "删除文件=1" stored 删除文件

# ---- restart: the options come back
start
check_eq "options after the restart" "1 0 1 0 1" options
check_eq "mini window stays hidden" "0" drive visible mini
check_eq "目录框 after the restart" 'K:\' drive text 目录框

# ---- rule editor
drive tab 1 >/dev/null
drive click 按钮_应用 >/dev/null
check "应用 without a row warns" drive msgbox-answer ok "没有选中需要修改的项" 10000
drive lv-select 超级列表框_扩展名 1 >/dev/null
check_eq "selecting row 2 fills 编辑框_扩展名" "*.mp3;*.wma;*.wav" drive text 编辑框_扩展名
check_eq "selecting row 2 fills 编辑框_目标路径" '\music' drive text 编辑框_目标路径
drive set-text 编辑框_扩展名 "*.mp3;*.wma;*.wav;*.ogg" >/dev/null
drive click 按钮_应用 >/dev/null
check "应用 confirms" drive msgbox-answer ok "扩展名保存成功！" 10000
check_eq "row 2 edited" "*.mp3;*.wma;*.wav;*.ogg" drive lv-cell 超级列表框_扩展名 1 0
check_eq "扩展名2 stored" "扩展名2=*.mp3;*.wma;*.wav;*.ogg" stored 扩展名2
wait_until 1 drive enabled main >/dev/null  # the box has let go of the window
drive click 按钮_默认 >/dev/null
check_eq "默认 shows the default rules" "$RULES" drive lv-dump 超级列表框_扩展名
check_eq "默认 leaves the file alone" "扩展名2=*.mp3;*.wma;*.wav;*.ogg" stored 扩展名2
drive click 按钮_刷新 >/dev/null
check_eq "刷新 reloads the file" "*.mp3;*.wma;*.wav;*.ogg" drive lv-cell 超级列表框_扩展名 1 0
quit

start
check_eq "the edited rule after a restart" "*.mp3;*.wma;*.wav;*.ogg" drive lv-cell 超级列表框_扩展名 1 0

# ---- what cannot be saved is said: a sub-path leaving the root, a read-only mp4.ini
drive tab 1 >/dev/null
drive lv-select 超级列表框_扩展名 2 >/dev/null
drive set-text 编辑框_目标路径 '\..\..\escape' >/dev/null
drive click 按钮_应用 >/dev/null
check "应用 refuses a sub-path above the root" drive msgbox-answer ok "目标路径格式不对！" 10000
check_eq "the refused rule is not stored" '路径3=\txt' stored 路径3
# Root writes a read-only file under Wine, so a folder of that name stands in for it.
mv "$INI" "$INI.kept" && mkdir "$INI"
drive click 按钮_保存设置 >/dev/null
check "保存设置 names the file it could not write" drive msgbox-answer ok "Z:${INI//\//\\}" 10000
rmdir "$INI" && mv "$INI.kept" "$INI"
quit

e2e_finish
