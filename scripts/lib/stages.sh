# shellcheck shell=bash
# Sourced by the scripts that run in stages: one line per stage on the terminal, the stage's
# whole output in a log file of its own.
#
#   stages_begin <script name> <number of stages>
#       logs go to build/logs/<script name>/ (emptied first); the counter starts at 0.
#   stage <title> <command> [arguments...]
#       runs the command (a program or a shell function) with its output in
#       build/logs/<script name>/<NN>-<title>.log and prints
#         [3/9] build windows ... ok (2m10s)
#       On failure it prints the log's path and the last 40 lines of it, so that a CI log
#       still shows the cause. Returns the command's exit status.
#   stage_detail: the name of a function that, given a stage's log, prints a few words to
#       add to its "ok" line ("ok (15s, 48210 inputs)"); empty for none.
#   stage_log: the log file of the stage last started.
#   elapsed_text <seconds>: "45s", "2m10s".
# The caller's `set -e` does not end the script on a failed stage: stage's own `if` catches
# the status, and the caller decides whether to go on.
stages_name=""
stages_total=0
stages_done=0
stages_dir=""
stage_log=""
stage_detail=""

stages_begin() {
  stages_name=$1
  stages_total=$2
  stages_done=0
  stages_dir="${STAGES_LOG_ROOT:-$root/build/logs}/$stages_name"
  rm -rf "$stages_dir"
  mkdir -p "$stages_dir"
}

elapsed_text() {
  local s=$1
  if [ "$s" -ge 60 ]; then printf '%dm%02ds' $((s / 60)) $((s % 60)); else printf '%ds' "$s"; fi
}

stage() {
  local title=$1
  shift
  stages_done=$((stages_done + 1))
  local slug
  slug=$(printf '%s' "$title" | tr -c 'A-Za-z0-9._-' '-' | tr -s '-' | sed 's/-$//')
  stage_log=$(printf '%s/%02d-%s.log' "$stages_dir" "$stages_done" "$slug")
  printf '[%d/%d] %s ... ' "$stages_done" "$stages_total" "$title"
  local start=$SECONDS status=0
  if "$@" >"$stage_log" 2>&1 </dev/null; then status=0; else status=$?; fi
  local took
  took=$(elapsed_text $((SECONDS - start)))
  if [ "$status" -eq 0 ]; then
    local detail=""
    [ -n "$stage_detail" ] && detail=$("$stage_detail" "$stage_log" 2>/dev/null)
    printf 'ok (%s%s)\n' "$took" "${detail:+, $detail}"
  else
    printf 'FAILED (exit %d, %s)\n' "$status" "$took"
    printf '      log: %s\n' "${stage_log#"$root"/}"
    printf '      --- last 40 lines ---\n'
    tail -n 40 "$stage_log" | sed 's/^/      | /'
  fi
  return "$status"
}
