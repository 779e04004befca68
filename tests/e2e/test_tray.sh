#!/usr/bin/env bash
# The notification icon, its balloon and menu, minimising to the tray, the mini window.
source "$(dirname "$0")/lib.sh"
e2e_init tray

HINT="窗口已最小化！双击或单击左键显示！"
SCREEN_W="$(xdotool getdisplaygeometry | cut -d' ' -f1)"
MINI_X=$((SCREEN_W - 100))

# Real clicks (count, button) at the middle of the mini window.
click_mini() {
  xdotool mousemove $((MINI_X + 24)) 224 click --repeat "$1" --delay 80 "$2"
}

# ---- start: one icon; the mini window option is switched off so minimising alone shows it
app_start
check "main window appears" drive wait-window main 30000
check_until "one notification icon" "1" drive tray-count
drive tab 1 >/dev/null
drive set-check 选择框_迷你 0 >/dev/null
drive tab 0 >/dev/null
check_until "mini window hidden with its option off" "0" drive visible mini
screenshot start

# ---- minimise: hidden main window, mini window at its place, hint balloon
drive minimize main
check_until "main window hidden" "0" drive visible main
check_until "mini window shown" "1" drive visible mini
check_eq "mini window at (width-100, 200), 48x48" "$MINI_X 200 48 48" drive window-rect mini
check_eq "its picture fills it" "0 0 48 48" drive ctl-rect 图片框1
check_eq "balloon with the hint" "$HINT" drive balloon 5000
sleep 0.5
screenshot minimised

# ---- a left click on the icon restores the main window; the mini window stays
drive tray-click left
check_until "main window shown after a click on the icon" "1" drive visible main
check_eq "main window no longer minimised" "0" drive iconic main
check_eq "mini window still shown" "1" drive visible mini
screenshot restored

# ---- a double click on the mini window brings a hidden main window back
drive minimize main
check_until "main window hidden again" "0" drive visible main
check_until "mini window shown again" "1" drive visible mini
click_mini 2 1
check_until "double click on the mini window shows the main window" "1" drive visible main
check_eq "and restores it" "0" drive iconic main

# ---- the right button on the mini window opens its menu
click_mini 1 3
check_until "mini menu opens" "1" drive popup
screenshot mini_menu
drive popup esc >/dev/null
check_until "mini menu closes" "0" drive popup

# ---- the right button on the icon opens the tray menu
drive tray-click right
check_until "tray menu opens" "1" drive popup
screenshot tray_menu
drive popup esc >/dev/null
check_until "tray menu closes" "0" drive popup

# ---- exit through the tray menu's "退出": icon gone, process ended
drive menu 托盘_退出 >/dev/null
app_wait_exit "$APP_PID" 30
check_eq "program ends with code 0" "0" echo "$APP_EXIT"
check_until "icon removed" "0" drive tray-count

e2e_finish
