# Driving the settings dialog from an end-to-end test: source it after harness.sh.
#
#   open_dialog ARGS... : starts Kovaren.scr with ARGS (e.g. /c) and waits for the dialog; sets WIN (its X
#                         window), DLG_PID, and CX, CY (the client area's screen position, from the
#                         frame: equal borders left, right and below, the caption above)
#   client_click X Y    : a click at a point of the client area
#   click_save, click_cancel : the "設定" and "ｷｬﾝｾﾙ" buttons
# Client-area points of the panel's controls are written as P + offset (the panel sits at P, P).

CAPTION=$'\xef\xbc\x9cKovaren\xef\xbc\x9e'
CLIENT_W=460
CLIENT_H=214
P=16  # the panel's offset in the client area

open_dialog() {
  kv_launch "$@"
  DLG_PID=$KV_PID
  WIN=$(kv_wait_window "$CAPTION" 20) || return 1
  sleep 0.5  # the opening zoom and the first paint
  read -r WX WY WW WH <<<"$(kv_window_geometry "$WIN")"
  local border=$(((WW - CLIENT_W) / 2))
  CX=$((WX + border))
  CY=$((WY + WH - border - CLIENT_H))
}
client_click() { kv_click $((CX + $1)) $((CY + $2)); }
click_save() { client_click $((272 + 40)) $((160 + 12)); }
click_cancel() { client_click $((356 + 40)) $((160 + 12)); }
