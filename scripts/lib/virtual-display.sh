# Sourced by the scripts that run Windows programs under Wine: a virtual X display of their
# own. start_virtual_display SIZE starts Xvfb (e.g. 1280x1024x24) on a free display and
# exports DISPLAY; stop_virtual_display ends that Xvfb only. Returns non-zero when Xvfb
# does not start.
#
# -displayfd picks a free display; -noreset keeps the server alive when its last client
# (a Wine program) leaves, or the next program would find no display.
virtual_display_pid=""

start_virtual_display() {
  local size=$1 display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -noreset -screen 0 "$size" -nolisten tcp 3>"$display_file" \
    >/dev/null 2>&1 &
  virtual_display_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$display_file" ] && break
    kill -0 "$virtual_display_pid" 2>/dev/null || break
    sleep 0.1
  done
  local display
  display=$(head -n1 "$display_file")
  rm -f "$display_file"
  [ -n "$display" ] || return 1
  export DISPLAY=":$display"
}

stop_virtual_display() {
  if [ -n "$virtual_display_pid" ]; then
    kill "$virtual_display_pid" 2>/dev/null
    wait "$virtual_display_pid" 2>/dev/null
    virtual_display_pid=""
  fi
}
