#!/usr/bin/env bash
# Smoke test of the peer programs (the stand-ins) under Wine: real DDE and COM between them
# and standin_probe, on a private X display and Wine prefix. Exits non-zero when a check
# fails or the programs cannot run.
#
#   tests/e2e/standins_smoke.sh [Windows build folder]
#
# The folder defaults to build/windows: the stand-ins are in its peers/win32, the probe is
# its tests/e2e/standin_probe.exe.
# WINEPREFIX may name an existing prefix to reuse; otherwise a fresh one is made under
# build/standins-smoke. Only the Xvfb and the wineserver of this run are ended.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
# shellcheck source=scripts/lib/virtual-display.sh
source "$root/scripts/lib/virtual-display.sh"

build=${1:-$root/build/windows}
bin="$build/peers/win32"
probe_exe="$build/tests/e2e/standin_probe.exe"
for exe in "$bin/mixw_standin.exe" "$bin/dxlab_standin.exe" "$bin/spotcollector_standin.exe" \
  "$bin/standin_ctl.exe" "$probe_exe"; do
  if [ ! -f "$exe" ]; then
    echo "standins: missing $exe (build the windows preset first)" >&2
    exit 1
  fi
done

work="$root/build/standins-smoke"
mkdir -p "$work"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
fresh_prefix=0
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$work/prefix"
  fresh_prefix=1
fi
journal="$work/journal"
rm -rf "$journal"
mkdir -p "$journal"

started=()
cleanup() {
  for pid in "${started[@]}"; do kill -0 "$pid" 2>/dev/null && kill "$pid" 2>/dev/null; done
  wineserver -k >/dev/null 2>&1 || true  # this prefix's server and its programs only
  stop_virtual_display
}
trap cleanup EXIT

start_virtual_display 1024x768x24 || { echo "standins: Xvfb did not start" >&2; exit 1; }

if [ "$fresh_prefix" = 1 ] && [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "standins: creating Wine prefix"
  if ! timeout 300 wineboot -i >/dev/null 2>&1; then
    echo "standins: wineboot failed" >&2
    exit 1
  fi
fi
wjournal=$(winepath -w "$journal" 2>/dev/null)

failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; failures=$((failures + 1)); }

# check <name> <expected exit code> <probe|ctl> <arguments...>
check() {
  local name=$1 want=$2 tool=$3
  shift 3
  local out code
  local exe="$bin/standin_ctl.exe"
  [ "$tool" = probe ] && exe=$probe_exe
  out=$(timeout 60 wine "$exe" "$@" 2>&1)
  code=$?
  if [ "$code" = "$want" ]; then pass "$name"; else
    fail "$name (exit $code, wanted $want)"
    printf '%s\n' "$out" | sed 's/^/     /'
  fi
}

# journal_has <name> <file> <fixed text>: waits up to 5 s for the line to appear.
journal_has() {
  local name=$1 file="$journal/$2" text=$3
  for _ in $(seq 1 50); do
    grep -qF -- "$text" "$file" 2>/dev/null && { pass "$name"; return; }
    sleep 0.1
  done
  fail "$name (no line '$text' in $2)"
}

# start <label> <exe> <args...>: starts a stand-in and waits until its control topic answers.
declare -A pids
start() {
  local label=$1 exe=$2
  shift 2
  wine "$bin/$exe.exe" "$@" --journal "$wjournal" >"$work/$label.out" 2>&1 &
  pids[$label]=$!
  started+=($!)
  check "$label answers its control topic" 0 ctl --wait 30000 "$label" ping
}

# gone <label>: the stand-in's process ends within 10 s.
gone() {
  local label=$1 pid=${pids[$1]}
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || { pass "$label has exited"; return; }
    sleep 0.1
  done
  fail "$label still runs"
}

echo "== MixW"
start MixW mixw_standin
check "GetActiveObject, Mode, audiofq, ExecuteMacros" 0 probe automation
journal_has "automation calls journaled" MixW.journal 'automation put audiofq(1234)'
journal_has "macro journaled" MixW.journal 'automation call ExecuteMacros("<MODE:RTTY>")'
check "hot link MixW|QSO Call sees the operator's typing" 0 \
  probe link MixW QSO Call Q1ABC --then StandinMixW "set Call Q1ABC"
check "hot link MixW|QSO Command sees WRITE" 0 \
  probe link MixW QSO Command WRITE --then StandinMixW write
check "warm link MixW|QSO Name" 0 \
  probe link MixW QSO Name Alice --warm --then StandinMixW "set Name Alice"
check "hot link MixW|QSO Khz follows a dial change" 0 \
  probe link MixW QSO Khz 7075.234 --then StandinMixW "dial 7074000"
check "execute on MixW|QSO is refused" 1 probe execute MixW QSO anything
check "unknown control command refused" 1 ctl MixW frobnicate
check "vanish: a held reference fails, GetActiveObject fails" 0 \
  probe automation-vanish --then StandinMixW vanish
check "vanished MixW has no QSO topic" 3 probe execute MixW QSO anything
check "appear again" 0 ctl MixW appear
check "GetActiveObject after appear" 0 probe automation
check "exit MixW" 0 ctl MixW exit
gone MixW
check "GetActiveObject fails once MixW has exited" 0 probe automation-gone

echo "== MixW on raw WM_DDE_* messages"
start MixW mixw_standin --transport raw
journal_has "MixW serves on raw messages" MixW.journal 'start MixW raw'
check "hot link MixW|QSO Call on raw messages" 0 \
  probe link MixW QSO Call Q1RAW --then StandinMixW "set Call Q1RAW"
check "exit raw MixW" 0 ctl MixW exit
gone MixW

echo "== DXKeeper (raw WM_DDE_* server)"
start DXKeeper dxlab_standin DXKeeper
journal_has "DXKeeper serves on raw messages" DXKeeper.journal 'start DXKeeper raw'
check "execute check acknowledged" 0 probe execute DXKeeper DDEServer '001checkQ1ABC'
journal_has "execute journaled" DXKeeper.journal 'execute accepted DDEServer 001checkQ1ABC'
check "execute log acknowledged" 0 \
  probe execute DXKeeper DDEServer '001log<CALL:5>Q1ABC<BAND:3>20M<MODE:5>PSK31<EOR>'
for _ in $(seq 1 50); do grep -qF '<CALL:5>Q1ABC' "$journal/DXKeeper.adi" 2>/dev/null && break; sleep 0.1; done
if grep -qF '<CALL:5>Q1ABC' "$journal/DXKeeper.adi" 2>/dev/null; then pass "QSO written to DXKeeper.adi"
else fail "QSO written to DXKeeper.adi"; fi
check "hot link DXKeeper|DDEServer DDECommand" 0 probe link DXKeeper DDEServer DDECommand ''
check "refuse control" 0 ctl DXKeeper refuse
check "refused execute gets a negative ack" 1 probe execute DXKeeper DDEServer '001checkQ1REF'
journal_has "refused execute journaled" DXKeeper.journal 'execute refused DDEServer 001checkQ1REF'
check "hang control" 0 ctl DXKeeper hang
check "hung execute times out" 2 probe execute DXKeeper DDEServer '001checkQ1HNG' --timeout 2000
journal_has "hung execute journaled" DXKeeper.journal 'execute unanswered DDEServer 001checkQ1HNG'
check "answer control" 0 ctl DXKeeper answer
check "execute acknowledged again" 0 probe execute DXKeeper DDEServer '001checkQ1AGN'
check "close control ends the conversation" 0 \
  probe link DXKeeper DDEServer DDECommand x --closed --then StandinDXKeeper close
check "start notice reaches Vavizorur|DDEClient" 0 \
  probe serve Vavizorur DDEClient 001start --then StandinDXKeeper startnotice
check "shutdown acknowledged" 0 probe execute DXKeeper DDEServer '001shutdown'
gone DXKeeper
check "DXKeeper no longer answers" 3 probe execute DXKeeper DDEServer '001checkQ1ABC'

echo "== Commander (raw WM_DDE_* server)"
start Commander dxlab_standin Commander
check "hot link FreqDisplay follows the radio" 0 \
  probe link "CI-V Commander" CIV_CommanderUI FreqDisplay 7,074.00 --then StandinCommander "tune 7074000"
check "xcvrfreqmode retunes" 0 \
  probe execute "CI-V Commander" DDEServer '000xcvrfreqmode<xcvrfreq:8>14070.15<xcvrmode:3>USB'
journal_has "retune shown in FreqDisplay" Commander.journal 'item CIV_CommanderUI FreqDisplay 14,070.15'
check "exit Commander" 0 ctl Commander exit
gone Commander

echo "== DXView, Pathfinder, PropView (DDEML servers)"
start DXView dxlab_standin DXView
start Pathfinder dxlab_standin Pathfinder
start PropView dxlab_standin PropView
check "DXView lookup" 0 probe execute DXView DDEServer '003lookupQ1ABC'
check "Pathfinder getqslinfo" 0 probe execute Pathfinder DDEServer '002getqslinfo<callsign:5>Q1ABC'
check "PropView execute" 0 probe execute PropView DDEServer '005anything'
check "hot link DXView SpotPrefix" 0 \
  probe link DXView DDEServer SpotPrefix Q1 --then StandinDXView "spotprefix Q1"
check "DXView hang control" 0 ctl DXView hang
check "DXView hung execute times out" 2 probe execute DXView DDEServer '003lookupQ1HNG' --timeout 2000
check "DXView refuse control" 0 ctl DXView refuse
check "DXView refused execute" 1 probe execute DXView DDEServer '003lookupQ1REF'
check "DXView close control ends the conversation" 0 \
  probe link DXView DDEServer SpotPrefix x --closed --then StandinDXView close
check "Pathfinder shutdown" 0 probe execute Pathfinder DDEServer '002shutdown'
gone Pathfinder
for label in DXView PropView; do
  check "exit $label" 0 ctl "$label" exit
  gone "$label"
done

echo "== SpotCollector"
start SpotCollector spotcollector_standin
check "spot reaches Vavizorur|DDEServer" 0 \
  probe serve Vavizorur DDEServer '004setscnewentry<freq:8>14070.15' \
  --then StandinSpotCollector "spot 14070.15||psk31|Q1ABC|PSK31||||JN18"
journal_has "spot journaled as accepted" SpotCollector.journal 'sent accepted 004setscnewentry<freq:8>14070.15'
check "spot without a bridge is journaled as failed" 0 ctl SpotCollector "spot 14070.15||psk31|Q1XYZ"
journal_has "failed spot journaled" SpotCollector.journal 'sent noconversation 282 004setscnewentry'
check "WM_CLOSE to the SpotCollector window" 0 probe close-window SpotCollector
gone SpotCollector
journal_has "WM_CLOSE journaled" SpotCollector.journal 'wm_close'

echo
if [ "$failures" -gt 0 ]; then
  echo "standins: $failures check(s) failed; journals in $journal"
  exit 1
fi
echo "standins: all checks passed"
