#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program talking to a simulated processor
# (setfolio-sim, model C-12 unless SETFOLIO_SIM_MODEL names another) on COM1. The simulator
# stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
[ -f build/dev/CMakeCache.txt ] || cmake --preset dev >/dev/null
cmake --build --preset dev

program=build/dev/src/setfolio
folder=$(dirname "$program")
model=${SETFOLIO_SIM_MODEL:-C-12}

# A first start talks to the simulator: the serial line is set to COM1 once, when there is no
# settings file yet. Everything else keeps its defaults.
if [ ! -e "$folder/Setfolio.ini" ]; then
    printf '[ComPortSettings]\r\nComPort=0\r\n' > "$folder/Setfolio.ini"
fi

build/dev/tools/sim/setfolio-sim --model "$model" --active 12 --com 1 --program "$program" \
    --state "$folder/sim-state.json" > "$folder/sim.out" 2>&1 &
sim=$!
trap 'kill -TERM $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    grep -q ready "$folder/sim.out" 2>/dev/null && break
    sleep 0.1
done
"$program"
