#!/bin/sh
# The real program on a throwaway desktop (see desktop-sandbox.sh), driven as a user would. A new
# ordinary user's start opens the window with no message. Then, as root: start,
# add a site, start blocking (the resolver answers 127.0.0.1 for it), bring it back from the
# notification area, close, start again hidden with blocking re-applied once, stop (the hosts
# file is byte for byte what it was); start a second copy, which hands over to the running one
# and ends; and end by SIGTERM while hidden with the list kept. Last, on a desktop with a dark
# colour scheme and a list of 100,000 entries and one endless line: the captions read, Enter
# clicks the focused button, the balloon points at the icon, and the program lives through
# clicks on its icon with either button, with and without a password, window shown and hidden.
# Usage: real-program.sh PROGRAM. Exits 77 where it cannot run.
. "$(dirname "$0")/desktop-sandbox.sh"
sandbox_enter "$0" "$@"
PROGRAM="$1"
SITE=blocked.palisade.test
TITLE="Palisade Software"

. "$(dirname "$0")/../../support/checks.sh"
# A step the rest depends on.
need() {
    check "$@" || { echo "--- program log"; cat "$SANDBOX/program.log"; exit 1; }
}
block_lines() { grep -c "^127\.0\.0\.1 *$SITE\$" /etc/hosts; }
same_as_original() { cmp -s /etc/hosts "$SANDBOX/hosts.original"; }
# No window of the program is up but the main window and the tray icon.
no_message() {
    icon=$(tray_icon)
    for window in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
        [ "$window" = "$icon" ] && continue
        [ "$(xdotool getwindowname "$window")" = "$TITLE" ] && continue
        echo "unexpected window: $(xdotool getwindowname "$window")"
        return 1
    done
}
ended_well() { program_ended 15 && [ "$PROGRAM_STATUS" -eq 0 ]; }
alive() { kill -0 "$PROGRAM_PID" 2>/dev/null; }
# The input box, titled "Palisade" as the icon's own window is.
input_box_shown() {
    for window in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        [ "$WIDTH" -gt 100 ] && [ "$(xdotool getwindowname "$window")" = Palisade ] && return 0
    done
    return 1
}

sandbox_setup
need "the desktop starts" desktop_start
check "the resolver knows nothing of the site" [ -z "$(resolve $SITE)" ]

program_start_as_user
need "a new ordinary user's start opens the main window" wait_until 15 window_shown "$TITLE"
sleep 1
check "... with no message" no_message
kill -TERM "$PROGRAM_PID"
check "... and ends by SIGTERM" ended_well

# Qt's own options are not the caller's to give: a root copy would load what they name.
program_start -platform offscreen -platformpluginpath "$SANDBOX"
need "the main window opens, on the display whatever Qt options are given" \
    wait_until 15 window_shown "$TITLE"
click_in "$TITLE" 136 230 # "Add URL/IP Address"
need "the input box asks for a site" wait_until 5 input_box_shown
type_into Palisade "$SITE"
check "the site is kept in the settings at once" grep -q "$SITE" "$LIST_FILE"
click_in "$TITLE" 268 409 # "Start Blocking"
need "blocking hides the window into the notification area" wait_until 10 window_gone "$TITLE"
check "the resolver answers 127.0.0.1 for the site" [ "$(resolve $SITE)" = 127.0.0.1 ]
check "the hosts snapshot was taken" cmp -s "$DATA_FOLDER/hosts" "$SANDBOX/hosts.original"
need "the tray icon is there" wait_until 5 tray_shown
click_tray_icon
need "a tray click brings the window back" wait_until 5 window_shown "$TITLE"
close_window "$TITLE"
check "closing while blocking ends the program" ended_well
check "blocking outlives the program" [ "$(resolve $SITE)" = 127.0.0.1 ]

program_start
need "the second start comes up in the notification area" wait_until 15 tray_shown
sleep 1
check "... with its window hidden" window_gone "$TITLE"
check "... and blocking re-applied without a second line" [ "$(block_lines)" -eq 1 ]
click_tray_icon
need "a tray click brings the window back" wait_until 5 window_shown "$TITLE"
click_in "$TITLE" 268 409 # "Stop Blocking"
check "stopping frees the site" wait_until 10 sh -c "[ -z \"\$(getent hosts $SITE)\" ]"
check "the hosts file is byte for byte the original" same_as_original
check "the snapshot is gone" [ ! -e "$DATA_FOLDER/hosts" ]
close_window "$TITLE"
check "closing ends the program" ended_well

program_start
need "the third start comes up in the notification area" wait_until 15 tray_shown
sleep 1
"$PROGRAM" >>"$SANDBOX/program.log" 2>&1 &
second=$!
check "a second copy ends at once" wait_until 10 sh -c "! kill -0 $second 2>/dev/null"
wait "$second"
check "... without an error" [ $? -eq 0 ]
check "... and brings the running one forward" wait_until 5 window_shown "$TITLE"
xdotool windowminimize "$(visible_window "$TITLE")"
check "minimising hides it again" wait_until 10 window_gone "$TITLE"
kill -TERM "$PROGRAM_PID"
check "SIGTERM while hidden ends the program" ended_well
check "... with the list kept" grep -q "$SITE" "$LIST_FILE"
check "... and the hosts file untouched" same_as_original

# Last, the settings afresh, a dark colour scheme as KDE keeps it (Qt reads it), and a list of an
# endless line (first, where it is drawn at once) and 100,000 sites.
rm -f "$SETTINGS_FILE"
mkdir -p "$(dirname "$LIST_FILE")"
printf '[Colors:%s]\nBackgroundNormal=%s\nForegroundNormal=239,240,241\n' \
    Button 49,54,59 Window 35,38,41 View 27,30,32 >"$XDG_CONFIG_HOME/kdeglobals"
export XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5
{
    head -c 10485760 /dev/zero | tr '\0' x
    seq -f '||My_Separator||site%g.example' 100000
    echo '||My_Separator||'
} | tr -d '\n' >"$LIST_FILE"

# The program's shown windows, one "id width height top title" a line.
program_windows() {
    for window in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        echo "$window $WIDTH $HEIGHT $Y $(xdotool getwindowname "$window")"
    done
}
# The icon once the notification area has docked it, in ICON, ICON_W, ICON_H and ICON_TOP.
docked_icon() {
    set -- $(program_windows | awk '$2 <= 32 && $3 <= 32 { print; exit }')
    [ $# -ge 4 ] && ICON=$1 ICON_W=$2 ICON_H=$3 ICON_TOP=$4
}
icon_gone() { ! docked_icon; }
# click_docked BUTTON [COUNT]: clicks the icon docked_icon found, clear of the balloon's tip.
click_docked() {
    xdotool mousemove --window "$ICON" $((ICON_W / 2)) $((ICON_H - 3)) \
        click --repeat "${2:-1}" --delay 60 "$1"
}
# The balloon reaches down to the icon, rather than sitting at the screen's top-left corner.
balloon_at_icon() {
    docked_icon && program_windows |
        awk -v icon="$ICON" -v top="$ICON_TOP" '$1 != icon && $4 + $3 >= top - 30 { f = 1 }
            END { exit !f }'
}
# The caption of a button (x y w h inside the window with that title) stands out from its face.
caption_reads() {
    import -window "$(visible_window "$1")" "$SANDBOX/shot.png" &&
        convert "$SANDBOX/shot.png" -crop "$4x$5+$2+$3" -colorspace Gray \
            -format '%[fx:mean] %[fx:minima] %[fx:maxima]\n' info: |
        awk '{ exit !($1 - $2 > 0.45 || $3 - $1 > 0.45) }'
}
# hide_and_click BUTTON COUNT: minimises the window and clicks it back from the icon.
hide_and_click() {
    n=0
    while [ $n -lt "$2" ] && xdotool windowminimize "$main" && wait_until 5 docked_icon &&
        click_docked "$1" && wait_until 5 window_shown "$TITLE"; do
        n=$((n + 1))
    done
    [ $n -eq "$2" ]
}

program_start
need "the list of 100,000 sites and an endless line loads and shows" \
    wait_until 30 window_shown "$TITLE"
main=$(visible_window "$TITLE")
xdotool windowactivate --sync "$main" 2>/dev/null
xdotool key Tab Tab Return # from the list, past "Block Administrator User", to "Add URL/IP Address"
check "... and the program answers: Enter clicks the focused button" wait_until 5 input_box_shown
xdotool type --delay 20 entered.palisade.test
xdotool key Return
check "... whose input box adds the site" wait_until 5 grep -q entered.palisade.test "$LIST_FILE"
check "under a dark colour scheme a button's caption reads on its face" \
    caption_reads "$TITLE" 16 400 504 19 # "Start Blocking"
need "the icon is in the notification area" wait_until 5 docked_icon
click_docked 3
check "a right click on the icon of a shown window takes the icon down" wait_until 3 icon_gone
check "... and the program lives" alive
xdotool windowminimize "$main"
check "the first balloon, for an icon just put back, points at it" wait_until 3 balloon_at_icon
wait_until 5 window_gone "$TITLE" && wait_until 5 docked_icon && click_docked 1
need "a click brings the window back" wait_until 5 window_shown "$TITLE"
for button in 1 3; do
    check "20 times hidden and brought back by button $button, no password" \
        hide_and_click $button 20
done
check "... and the program lives" alive
click_in "$TITLE" 268 312 # the password box
xdotool type --delay 20 "pw"
kill -TERM "$PROGRAM_PID"
check "the program ends by SIGTERM" ended_well
rm -f "$LIST_FILE" # the long list has had its turn

program_start
need "a start with a password shows the window" wait_until 15 window_shown "$TITLE"
main=$(visible_window "$TITLE")
need "... and the icon" wait_until 5 docked_icon
for button in 1 3; do
    click_docked $button 20
    check "20 clicks with button $button, the window shown: the password is asked for" \
        wait_until 5 window_shown "Enter Password"
done
check "... and the program lives" alive
check "the password window's captions read on the dark button face" \
    caption_reads "Enter Password" 16 70 240 19 # "OK"
xdotool windowactivate --sync "$(visible_window "Enter Password")" 2>/dev/null
xdotool key Escape
check "Escape cancels the password window" wait_until 5 window_gone "Enter Password"
xdotool windowminimize "$main"
need "minimising hides the window" wait_until 5 window_gone "$TITLE"
for button in 1 3; do
    click_docked $button 20
    check "20 clicks with button $button, the window hidden: the password is asked for" \
        wait_until 5 window_shown "Enter Password"
done
check "... and the program lives" alive
xdotool windowactivate --sync "$(visible_window "Enter Password")" 2>/dev/null
xdotool type --delay 20 "pw"
xdotool key Tab Tab Return # past "OK" to "Cancel"
check "Enter on the focused Cancel cancels, though the password is right" \
    wait_until 5 window_gone "Enter Password"
sleep 0.3
check "... and the window stays hidden" window_gone "$TITLE"
kill -TERM "$PROGRAM_PID"
check "the program ends by SIGTERM" ended_well

if [ "$failures" -ne 0 ]; then
    echo "--- program log"
    cat "$SANDBOX/program.log"
    exit 1
fi
