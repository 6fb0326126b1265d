#!/bin/sh
# A copy run as root for a user (as pkexec starts it) shows its open-file dialog from a process of
# that user's own: the dialog's window belongs to a process with the user's ids and groups, not
# to root's copy, and the file chosen in it is loaded into the list.
# Usage: file-dialog-as-user.sh PROGRAM. Exits 77 where it cannot run.
. "$(dirname "$0")/desktop-sandbox.sh"
sandbox_enter "$0" "$@"
PROGRAM="$1"
TITLE="Palisade Software"
DIALOG="Load List(s) - Hold Ctrl to select multiple list files"
USER_ID=4242

. "$(dirname "$0")/../../support/checks.sh"
need() {
    check "$@" || { echo "--- program log"; cat "$SANDBOX/program.log"; exit 1; }
}
# The visible window with exactly that title, whichever process shows it. (xdotool takes the
# name for a pattern, in which the title's brackets mean something else.)
any_window() {
    for window in $(xdotool search --onlyvisible --name "^Load List" 2>/dev/null); do
        [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && echo "$window" && return 0
    done
    return 1
}
# Every user and group id of a process (real, effective, saved, file system; its groups), once each.
ids_of() { sed -n 's/^\(Uid\|Gid\|Groups\):\s*//p' "/proc/$1/status" | tr -s ' \t' '\n' | sort -u | xargs; }

sandbox_setup
# A user of the scratch system's own, with a home and a list file of theirs.
HOME_OF_USER="$SANDBOX/user-home"
mkdir -p "$HOME_OF_USER/.config"
printf 'from-the-user.example\n' >"$HOME_OF_USER/list.txt"
chown -R $USER_ID:$USER_ID "$HOME_OF_USER"
chmod 711 "$SANDBOX"
cp /etc/passwd /etc/group "$SANDBOX"
echo "palisadetest:x:$USER_ID:$USER_ID::$HOME_OF_USER:/bin/sh" >>"$SANDBOX/passwd"
echo "palisadetest:x:$USER_ID:" >>"$SANDBOX/group"
mount --bind "$SANDBOX/passwd" /etc/passwd
mount --bind "$SANDBOX/group" /etc/group
need "the desktop starts" desktop_start

PKEXEC_UID=$USER_ID program_start
need "the root copy for the user opens its window" wait_until 15 window_shown "$TITLE"
click_in "$TITLE" 400 230 # "Load URL/IP Address From File"
need "the open-file dialog comes up" wait_until 10 any_window "$DIALOG"
chooser=$(xdotool getwindowpid "$(any_window "$DIALOG")" 2>/dev/null)
check "... from a process other than root's copy" [ "${chooser:-$PROGRAM_PID}" != "$PROGRAM_PID" ]
check "... that is the user's, with the user's groups only" [ "$(ids_of "$chooser")" = $USER_ID ]
xdotool windowactivate --sync "$(any_window "$DIALOG")" 2>/dev/null
xdotool type --delay 20 "$HOME_OF_USER/list.txt"
xdotool key Return
check "the dialog closes once a file is chosen" wait_until 10 sh -c "! kill -0 $chooser 2>/dev/null"
LIST_OF_USER="$HOME_OF_USER/.config/Quillmoor/Palisade Software.Blocked Websites"
check "the chosen file's site is in the user's list" \
    wait_until 5 grep -q from-the-user.example "$LIST_OF_USER"
check "... which stays the user's" [ "$(stat -c %u "$LIST_OF_USER")" = $USER_ID ]
kill -TERM "$PROGRAM_PID"
check "the program ends by SIGTERM" program_ended 15

if [ "$failures" -ne 0 ]; then
    echo "--- program log"
    cat "$SANDBOX/program.log"
    exit 1
fi
