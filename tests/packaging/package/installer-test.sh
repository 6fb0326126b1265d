#!/bin/sh
# The Windows installer under Wine, in a throwaway prefix on a virtual display of its own: a silent
# install, the program blocking and closed with blocking on, a silent upgrade to the next version,
# an uninstall that must stop while the hosts file is read-only, and the uninstall that leaves the
# computer as it was before the install.
# Usage: installer-test.sh MSI NEXT_MSI NEXT_VERSION DRIVER_EXE SCRIPTS_FOLDER
set -u
MSI="$1"
NEXT_MSI="$2"
NEXT_VERSION="$3"
DRIVER="$4"
SCRIPTS="$5"
for file in "$MSI" "$NEXT_MSI" "$DRIVER"; do
    [ -f "$file" ] || { echo "no $file: make package makes it"; exit 1; }
done

# Outside: a scratch folder for the prefix, then this script again inside wine-gui-run.
if [ -z "${PALISADE_INSTALLER_TEST_INSIDE:-}" ]; then
    WORK=$(mktemp -d)
    trap 'rm -rf "$WORK"' EXIT
    PALISADE_INSTALLER_TEST_INSIDE="$WORK" PALISADE_GUI_WINEPREFIX="$WORK/prefix" \
        bash "$SCRIPTS/wine-gui-run" sh "$0" "$@"
    exit
fi
WORK="$PALISADE_INSTALLER_TEST_INSIDE"
. "$(dirname "$0")/../../support/checks.sh"

wine_run() { "$SCRIPTS/wine-run" "$@"; }
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
msiexec() { wine_run msiexec "$@" >/dev/null 2>&1; }
drive="$WINEPREFIX/drive_c"
hosts="$drive/windows/system32/drivers/etc/hosts"
folder="$drive/Program Files/Palisade"
data="$drive/ProgramData/Quillmoor/Palisade Software"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
program='C:\Program Files\Palisade\palisade.exe'

entries() { wine_run reg query "$uninstall_key" /s 2>/dev/null | grep -A30 'Palisade Software'; }
entry_says() { entries | grep -q "^ *$1 *REG_SZ *$2\$"; }
run_value() { wine_run reg query "$run_key" /v palisade.exe 2>/dev/null | sed -n 's/^ *palisade.exe *REG_SZ *//p'; }
shortcut() { find "$drive" -name 'Palisade Software.lnk' | grep -q .; }
block_lines() { grep -c '^127\.0\.0\.1          \(facebook\|instagram\)\.com' "$hosts"; }
cp "$hosts" "$WORK/hosts.before"

started=$(date +%s.%N)
check "a silent install (/qn) succeeds" msiexec /i "$(windows_path "$MSI")" /qn || exit 1
echo "     the silent install took $(awk "BEGIN { printf \"%.1f\", $(date +%s.%N) - $started }") s under Wine;" \
    "the installer is $(stat -c %s "$MSI") bytes"
check "the program is in Program Files\\Palisade" [ -f "$folder/palisade.exe" ]
check "... with the README" [ -f "$folder/README.txt" ]
check "the Start menu has the shortcut \"Palisade Software\"" shortcut
check "the uninstall entry names the program" entry_says DisplayName "Palisade Software"
version=$(basename "$MSI" | sed 's/^palisade-\(.*\)-windows-x64\.msi$/\1/')
check "... its version" entry_says DisplayVersion "$version"
check "... its publisher" entry_says Publisher Quillmoor
icon() { wine_run reg query 'HKLM\Software\Classes\Installer\Products' /s | grep -q 'ProductIcon.*palisade\.ico'; }
check "... and its icon" icon

check "the installed program blocks the samples and closes with blocking on" \
    env PALISADE_EXE="$program" "$SCRIPTS/wine-run" "$DRIVER" block || exit 1
check "... two block lines are in the hosts file" [ "$(block_lines)" -eq 2 ]
check "... it starts with Windows from where it is installed" [ "$(run_value)" = "$program" ]
cp "$hosts" "$WORK/hosts.blocking"

check "a silent upgrade to $NEXT_VERSION succeeds" msiexec /i "$(windows_path "$NEXT_MSI")" /qn
one_new_entry() { [ "$(entries | grep -c DisplayVersion)" -eq 1 ] && entry_says DisplayVersion "$NEXT_VERSION"; }
check "... the uninstall entry has the new version and is the only one" one_new_entry
check "... the block lines stay" cmp -s "$hosts" "$WORK/hosts.blocking"
check "... and the Run value" [ "$(run_value)" = "$program" ]
check "... and the data folder with the snapshot" [ -f "$data/hosts" ]

wine_run cmd /c attrib +r 'C:\windows\system32\drivers\etc\hosts' >/dev/null 2>&1
msiexec /x "$(windows_path "$NEXT_MSI")" /qn /l*v "$(windows_path "$WORK/refused.log")"
refused=$?
check "an uninstall while the hosts file is read-only fails" [ "$refused" -ne 0 ]
says_why() { tr -d '\r' <"$WORK/refused.log" | grep -q 'blocked sites could not be taken out of .*Palisade stays installed'; }
check "... says why in its log" says_why &&
    printf '     %s\n' "$(tr -d '\r' <"$WORK/refused.log" | grep -o 'The blocked sites could not.*')"
all_kept() {
    [ -f "$folder/palisade.exe" ] && entries | grep -q DisplayVersion &&
        cmp -s "$hosts" "$WORK/hosts.blocking" && [ "$(run_value)" = "$program" ] && [ -d "$data" ]
}
check "... and keeps the program, its entry, the block lines, the Run value and the data" all_kept
wine_run cmd /c attrib -r 'C:\windows\system32\drivers\etc\hosts' >/dev/null 2>&1

# A copy left running: the uninstall ends it as the end of the session does, and it saves.
PALISADE_EXE="$program" "$SCRIPTS/wine-run" "$DRIVER" wait-for-end >"$WORK/running" 2>&1 &
driver=$!
for _ in $(seq 200); do grep -q running "$WORK/running" && break; sleep 0.1; done
check "a silent uninstall succeeds" msiexec /x "$(windows_path "$NEXT_MSI")" /qn
check "... the running copy was ended and ended cleanly" wait "$driver" || cat "$WORK/running"
check "... the hosts file is byte for byte as before the install" cmp "$hosts" "$WORK/hosts.before"
check "... no Run value" [ -z "$(run_value)" ]
check "... no data folder" [ ! -e "$drive/ProgramData/Quillmoor" ]
check "... no program folder" [ ! -e "$folder" ]
no_entry() { [ -z "$(entries)" ] && ! shortcut; }
check "... no uninstall entry nor shortcut" no_entry
kept() { wine_run reg query 'HKCU\Software\VB and VBA Program Settings\Quillmoor\Palisade Software' /v 'Blocked Websites' | grep -q facebook; }
check "... and the user's own settings stay" kept

[ "$failures" -eq 0 ]
