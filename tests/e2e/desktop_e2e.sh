#!/usr/bin/env bash
# The desktop program driven as a person drives it: in a real X server (Xvfb) under a small
# window manager, with the mouse and keyboard through xdotool. It confirms the task dialog,
# types a room length, makes the north wall an outer one, saves the project, opens it again,
# writes the HTML report and the PDF through the report options and exits; then compares the
# project file and the reports (date masked, the PDF as its text) with the expected files.
#
#     desktop_e2e.sh PROGRAM EXPECTED_FOLDER [--update]
#
# --update writes the files this run made into EXPECTED_FOLDER instead of comparing.
# Exit codes: 0 same files, 1 a difference or a step that did not happen, 77 a tool missing.
set -uo pipefail

program="${1:?program}"
expected="${2:?expected folder}"
update="${3:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# Generous waits: a busy two-core machine may take seconds to show a window.
step_timeout=30
total_timeout=120

# The whole run has a deadline, whatever step it hangs in: past it the script is told to stop,
# and still closes its X server.
if [ -z "${COLDROOM_E2E_TIMED:-}" ] && command -v timeout >/dev/null; then
    COLDROOM_E2E_TIMED=1 exec timeout --kill-after=10 "$total_timeout" bash "$0" "$@"
fi

for tool in Xvfb xdotool jwm pdftotext; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done
[ -x "$program" ] || { echo "no program at $program"; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/coldroom-e2e-XXXXXX")"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "FAILED: stopped (the whole run may take ${total_timeout} s)"; exit 1' TERM INT
started=$SECONDS

fail() {
    echo "FAILED: $*"
    echo "windows shown:"
    xdotool search --onlyvisible --name . 2>/dev/null | while read -r w; do
        echo "  $(xdotool getwindowname "$w" 2>/dev/null)"
    done
    [ -s "$work/program.log" ] && { echo "program output:"; cat "$work/program.log"; }
    exit 1
}

# Waits for a visible window whose title matches the regular expression and for the window
# manager to give it the focus (keys go to the focused window); sets $win to its id. A search
# can meet a window closing under it, so it polls rather than trusting one answer.
window() {
    local until=$((SECONDS + step_timeout))
    while :; do
        win="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)"
        if [ -n "$win" ] && timeout 5 xdotool windowactivate --sync "$win" >/dev/null 2>&1; then
            return 0
        fi
        ((SECONDS < until)) || fail "no window \"$1\" with the focus"
        sleep 0.1
    done
}

# Waits until no visible window's title matches, seen twice in a row (a search that fails on a
# closing window finds nothing too).
gone() {
    local until=$((SECONDS + step_timeout)) absent=0
    while ((absent < 2)); do
        if xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; then absent=0; else absent=$((absent + 1)); fi
        ((SECONDS < until)) || fail "window \"$1\" stays open"
        sleep 0.1
    done
}

click() { xdotool mousemove --sync --window "$1" "$2" "$3" click 1; }

# Types a path into the open file dialog and accepts it.
choose_file() {
    window "$1"
    xdotool type --delay 15 "$2"
    xdotool key Return
    gone "$1"
}

wait_file() {
    local until=$((SECONDS + step_timeout))
    until [ -s "$1" ]; do
        ((SECONDS < until)) || fail "$1 was not written"
        sleep 0.1
    done
}

# ---- the X server, the window manager, the program ------------------------------------------
# The server picks a free display and tells it on fd 3, so parallel runs never collide.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

# A home of its own: no edited reference database, settings or recent folders of the user's.
mkdir -p "$work/home" "$work/runtime" "$work/out"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config"
export XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 LC_ALL= QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR

jwm -f "$here/jwmrc" >"$work/jwm.log" 2>&1 &
pids+=($!)
"$program" >"$work/program.log" 2>&1 &
app=$!
pids+=("$app")

# Title patterns accept Qt's own dialog titles untranslated too.
task="Выбор технологической задачи"
main="Расчет холодопроизводительности$"
options="Параметры печати отчета"
save_as="^(Сохранить как|Save As)$"
open="^(Открыть|Open)$"

# Places in the windows, from their top-left corner (the window sizes are fixed; the fonts are
# the project's, see packages.txt). A picture taken under Xvfb shows them.
next_button=(663 491)         # task dialog: «Далее >>»
room_length=(229 167)         # main window: «Длина, м (север и юг)»
north_outer=(775 475)         # main window, tab СЕВЕР: «Внешняя»
quit_button=(1212 753)        # main window: «ВЫХОД»
html_option=(30 77)           # report options: «В файл формата HTML»
pdf_option=(30 128)           # report options: «В файл PDF»
print_button=(266 395)        # report options: «Печать»

# ---- what a person does ---------------------------------------------------------------------
out="$work/out"
window "$task"
click "$win" "${next_button[@]}"
window "$main"
gone "$task"
# The main window opens in the middle of the 1600×1000 screen (its 1280×800 and a title bar).
read -r x y < <(xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9-]*\),\([0-9-]*\).*/\1 \2/p')
((x >= 130 && x <= 190 && y >= 70 && y <= 150)) || fail "the main window opened at $x,$y, not in the middle"

click "$win" "${room_length[@]}"
xdotool key ctrl+a
xdotool type --delay 15 "12"
xdotool key Tab
click "$win" "${north_outer[@]}"

xdotool key ctrl+s
choose_file "$save_as" "$out/room.cfg"
wait_file "$out/room.cfg"

window "$main"
xdotool key ctrl+o
choose_file "$open" "$out/room.cfg"

for report in html:room.htm pdf:room.pdf; do
    window "$main"
    xdotool key ctrl+p
    window "$options"
    if [ "${report%%:*}" = html ]; then click "$win" "${html_option[@]}"; else click "$win" "${pdf_option[@]}"; fi
    click "$win" "${print_button[@]}"
    choose_file "$save_as" "$out/${report#*:}"
    wait_file "$out/${report#*:}"
done

window "$main"
click "$win" "${quit_button[@]}"
until=$((SECONDS + step_timeout))
while kill -0 "$app" 2>/dev/null; do
    ((SECONDS < until)) || fail "the program did not exit"
    sleep 0.1
done
wait "$app"
status=$?
((status == 0)) || fail "the program exited with $status"

# ---- what it wrote --------------------------------------------------------------------------
mask_date() { LC_ALL=C sed -E 's/[0-9]{2}\.[0-9]{2}\.[0-9]{4}/DD.MM.YYYY/g'; }
mkdir -p "$work/got"
cp "$out/room.cfg" "$work/got/room.cfg"
mask_date <"$out/room.htm" >"$work/got/room.htm"
pdftotext -raw -enc UTF-8 "$out/room.pdf" - | mask_date >"$work/got/room.pdf.txt"

if [ "$update" = "--update" ]; then
    mkdir -p "$expected"
    cp "$work/got/"* "$expected/"
    echo "expected files written to $expected"
    exit 0
fi
different=0
for f in room.cfg:WINDOWS-1251 room.htm:WINDOWS-1251 room.pdf.txt:UTF-8; do
    name="${f%%:*}" encoding="${f#*:}"
    if ! cmp -s "$expected/$name" "$work/got/$name"; then
        echo "differs from the expected $name (< expected, > this run):"
        diff <(iconv -f "$encoding" -t UTF-8 "$expected/$name") <(iconv -f "$encoding" -t UTF-8 "$work/got/$name") |
            head -n 40
        different=1
    fi
done
((different == 0)) || exit 1
echo "desktop run matches the expected files ($((SECONDS - started)) s)"
