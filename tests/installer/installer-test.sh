#!/usr/bin/env bash
# The setup program as a user meets it, in a Wine prefix and Xvfb display of its own:
#  1. a silent install puts the program, its Start menu entry, its uninstall entry and
#     the start-with-Windows entry where they belong, all with one version;
#  2. the program started from its Start menu entry captures the desktop;
#  3. a silent install over the running program changes nothing and fails, also when a
#     copy holds only its instance lock (still starting, no window yet);
#  4. a silent uninstall removes everything but the settings the program wrote;
#  5. an install through the pages, start with Windows ticked, and an uninstall through
#     the pages answering yes to removing the settings leave nothing of the program.
# The portable zip holds the same program, and its text names every key the program wrote.
# Usage: installer-test.sh SETUP.exe PORTABLE.zip VersionInfo.exe HoldInstanceLock.exe
#        (KORVAN_VERSION names the version)
set -uo pipefail
setup="$1" portable_zip="$2" version_info="$3" hold_lock="$4"
version="${KORVAN_VERSION:?}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../../scripts/private-wine.sh"
start_private_prefix installer || exit 1
start_private_xvfb 1280x1024x24 || exit 1
# No menu entries for the Linux desktop from the Start menu entry.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
artifacts="${KORVAN_ARTIFACTS:-$work/artifacts}/installer"
mkdir -p "$artifacts"

quiet_wine() { wine "$@" 2>>"$work/wine.log"; }
picture() { import -window "$1" "$artifacts/$2.png" 2>/dev/null || fail "no picture of $2"; }

profile="$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)"
install_dir="$profile/AppData/Local/Programs/Korvan Screenshot"
program="$install_dir/KorvanScreenshot.exe"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Korvan Screenshot.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvanScreenshot'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
main_title='^Korvan Screenshot 2\.3$'
win_program="$(winepath -w "$program" 2>/dev/null)"
win_install_dir="$(winepath -w "$install_dir" 2>/dev/null)"

# A value as `reg query` prints it; empty (and status 1) when the key or value is missing.
reg_value() {
  quiet_wine reg query "$1" /v "$2" | tr -d '\r' |
    sed -n -E "s/^    $2    REG_[A-Z_]+    (.*)$/\1/p" | grep .
}
expect_value() {  # key, value name, expected text
  local actual
  actual="$(reg_value "$1" "$2")"
  [ "$actual" = "$3" ] || fail "$1 $2 is '$actual', expected '$3'"
}
expect_no_key() { quiet_wine reg query "$1" >/dev/null 2>&1 && fail "$1 is still there"; return 0; }
expect_key() { quiet_wine reg query "$1" >/dev/null 2>&1 || fail "$1 is missing"; }
# The version resource's strings, "Name=value" a line.
version_of() { quiet_wine "$version_info" "$(winepath -w "$1" 2>/dev/null)" | tr -d '\r'; }
expect_version_line() {  # file's resource text, line
  grep -qxF "$2" <<<"$1" || fail "version resource lacks '$2' in: $1"
}
# Files of the prefix, except the uninstaller's own copy in the temporary folder, which
# (as on Windows) is removed at the next restart.
files_of_prefix() {
  (cd "$WINEPREFIX/drive_c" && find . -type f | grep -v '/Temp/~nsu[^/]*\.tmp/' | sort)
}
# Lines of the registry files naming the program, once Wine has written them out.
program_registry_lines() {
  wineserver -w
  grep -h -i -a -E 'korvan|snapdeck' "$WINEPREFIX"/*.reg | sed -E 's/\] [0-9]+$/]/' | sort
}
main_window() { xdotool search --onlyvisible --name "$main_title"; }
program_gone() { ! xdotool search --name "$main_title" >/dev/null 2>&1; }
close_program() {  # as Windows asks a program to end: a close message, nothing forced
  quiet_wine taskkill /im KorvanScreenshot.exe >/dev/null
  wait_for 20 program_gone || fail "the program did not close"
}
focus() { xdotool windowfocus --sync "$1" >/dev/null 2>&1; }
setup_window() { xdotool search --onlyvisible --name "$1" | head -1; }

files_before="$(files_of_prefix)"

# 1. Silent install.
quiet_wine "$setup" /S /STARTWITHWINDOWS || fail "silent install ended with status $?"
[ -f "$program" ] || fail "no program in $install_dir"
[ -f "$install_dir/uninstall.exe" ] || fail "no uninstaller in $install_dir"
[ -f "$shortcut" ] || fail "no Start menu entry $shortcut"
expect_value "$uninstall_key" DisplayName "Korvan Screenshot"
expect_value "$uninstall_key" DisplayVersion "$version"
expect_value "$uninstall_key" Publisher "Korvan"
expect_value "$uninstall_key" DisplayIcon "$win_program,0"
expect_value "$uninstall_key" InstallLocation "$win_install_dir"
expect_value "$uninstall_key" UninstallString "\"$win_install_dir\\uninstall.exe\""
expect_value "$uninstall_key" QuietUninstallString "\"$win_install_dir\\uninstall.exe\" /S"
size_kib=$(( $(reg_value "$uninstall_key" EstimatedSize) ))
program_kib=$(( $(stat -c %s "$program") / 1024 ))
(( size_kib >= program_kib && size_kib < program_kib + 1024 )) ||
  fail "EstimatedSize $size_kib KiB for a program of $program_kib KiB"
expect_value "$run_key" KorvanScreenshot "\"$win_program\""

program_version="$(version_of "$program")"
for line in "ProductName=Korvan Screenshot" "FileDescription=Korvan Screenshot" "CompanyName=Korvan" \
            "ProductVersion=$version" "FileVersion=$version" "FixedFileVersion=$version.0.0" \
            "FixedProductVersion=$version.0.0" "OriginalFilename=KorvanScreenshot.exe"; do
  expect_version_line "$program_version" "$line"
done
setup_version="$(version_of "$setup")"
for line in "ProductName=Korvan Screenshot" "ProductVersion=$version" "CompanyName=Korvan" \
            "OriginalFilename=$(basename "$setup")"; do
  expect_version_line "$setup_version" "$line"
done
echo "silent install: program, Start menu entry, uninstall entry and start with Windows in place, version $version"

# 2. Started from the Start menu entry, the program captures the desktop.
quiet_wine start "$(winepath -w "$shortcut" 2>/dev/null)" || fail "the Start menu entry did not start"
wait_for 30 main_window || fail "the installed program's main window did not appear"
main="$(main_window | head -1)"
wait_for 10 focus "$main" || fail "cannot focus the main window"
xdotool key Print
wait_for 10 xdotool search --onlyvisible --name '^Preview$' || fail "the installed program captured nothing"
picture root installed-program-captured
echo "the program started from the Start menu captured the desktop"

# 3. An install over the running program asks to close it; silent, it gives up.
stamp="$(stat -c %Y-%s "$program")"
quiet_wine "$setup" /S && fail "a silent install over the running program went ahead"
[ "$(stat -c %Y-%s "$program")" = "$stamp" ] || fail "the running program's file was replaced"
main_window >/dev/null || fail "the running program was closed by the setup program"
echo "a silent install over the running program stopped and left it alone"

close_program
mkfifo "$work/hold"
quiet_wine "$hold_lock" <"$work/hold" >"$work/hold.out" &
holder=$!
exec 8>"$work/hold"  # the holder keeps the lock until this ends
wait_for 20 grep -q held "$work/hold.out" || fail "the instance lock could not be taken"
quiet_wine "$setup" /S && fail "a silent install went ahead while a copy held its instance lock"
[ "$(stat -c %Y-%s "$program")" = "$stamp" ] || fail "the program's file was replaced while its lock was held"
exec 8>&-
wait "$holder"
echo "a silent install while a copy holds only its instance lock stopped as well"
expect_key 'HKCU\Software\Snapdeck2\keysettings\Cursor'
expect_key 'HKCU\Software\KorvanScreenshot\TMainfrm'
# The program's own keys: what a silent uninstall keeps.
settings="$(program_registry_lines | grep -E '^\[Software\\\\(KorvanScreenshot|Snapdeck2)\\\\')"

python3 -m zipfile -e "$portable_zip" "$work/portable" || fail "cannot unpack $portable_zip"
[ "$(ls "$work/portable")" = "$(printf 'KorvanScreenshot.exe\nReadMe.txt')" ] ||
  fail "the portable zip holds: $(ls "$work/portable")"
cmp -s "$work/portable/KorvanScreenshot.exe" "$program" || fail "the portable program differs from the installed one"
readme="$(tr -d '\r' <"$work/portable/ReadMe.txt")"
while read -r key; do  # [Software\\Root\\...\\Last]: the text names Software\Root and Last
  key="$(sed -E 's/^\[(.*)\]$/\1/; s/\\\\/\\/g' <<<"$key")"
  root="$(cut -d'\' -f1-2 <<<"$key")" last="${key##*\\}"
  grep -qF "$root" <<<"$readme" && grep -qF "$last" <<<"$readme" ||
    fail "the portable zip's text does not tell of $key"
done <<<"$settings"
echo "the portable zip holds the installed program and names every key it wrote"

# 4. Silent uninstall: all gone but the settings.
quiet_wine "$install_dir/uninstall.exe" /S || fail "silent uninstall ended with status $?"
wineserver -w  # the uninstaller goes on from a copy of itself
[ -e "$install_dir" ] && fail "$install_dir is still there: $(ls "$install_dir")"
[ -e "$shortcut" ] && fail "the Start menu entry is still there"
expect_no_key "$uninstall_key"
reg_value "$run_key" KorvanScreenshot >/dev/null && fail "the start-with-Windows entry is still there"
[ "$(program_registry_lines)" = "$settings" ] ||
  fail "after a silent uninstall the registry holds, of the program: $(program_registry_lines)
expected only the settings: $settings"
[ "$(files_of_prefix)" = "$files_before" ] ||
  fail "files left behind: $(diff <(echo "$files_before") <(files_of_prefix))"
echo "silent uninstall removed everything but the settings"

# 5. Through the pages: start with Windows ticked, then an uninstall that removes the settings.
grab() { import -window "$wizard" "$1" 2>/dev/null; }
same_picture() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
# A page painted completely (two grabs agree), kept as NAME.
painted() {
  grab "$work/page.png" && grab "$work/again.png" && same_picture "$work/page.png" "$work/again.png" &&
    mv "$work/page.png" "$artifacts/$1.png"
}
# The wizard shows something other than PREVIOUS, painted completely, kept as NAME.
page_changed() {  # previous, name
  grab "$work/now.png" && ! same_picture "$work/now.png" "$artifacts/$1.png" && painted "$2"
}
next_page() { wait_for 10 page_changed "$1" "$2" || fail "the wizard stayed on $1"; }
# The finish page carries the welcome page's side picture.
side_picture() { convert "$1" -crop 150x250+10+60 +repage "$2"; }
on_finish_page() {
  grab "$work/page.png" && side_picture "$work/page.png" "$work/side.png" &&
    same_picture "$work/side.png" "$work/welcome-side.png" && page_changed setup-3-folder setup-4-finish
}

quiet_wine "$setup" >/dev/null &
setup_title='^Korvan Screenshot 2\.3 Setup$'
wait_for 30 setup_window "$setup_title" || fail "the setup program's window did not appear"
wizard="$(setup_window "$setup_title")"
focus "$wizard" || fail "cannot focus the setup program"
wait_for 10 painted setup-1-welcome || fail "no welcome page"
side_picture "$artifacts/setup-1-welcome.png" "$work/welcome-side.png"
xdotool key Return
next_page setup-1-welcome setup-2-components
xdotool key Down space  # the tree has the focus: tick "Start with Windows"
next_page setup-2-components setup-2-components-ticked
xdotool key Return
next_page setup-2-components-ticked setup-3-folder
xdotool key Return
wait_for 30 on_finish_page || fail "the install through the pages did not finish"
xdotool key Return  # Finish, with "Run Korvan Screenshot 2.3" ticked
wait_for 30 main_window || fail "the finish page did not start the program"
[ -f "$shortcut" ] || fail "no Start menu entry after the install through the pages"
expect_value "$run_key" KorvanScreenshot "\"$win_program\""
close_program
echo "install through the pages: start with Windows chosen, program started from the finish page"

quiet_wine "$install_dir/uninstall.exe" >/dev/null &
uninstall_title='^Korvan Screenshot 2\.3 Uninstall'
wait_for 30 setup_window "$uninstall_title" || fail "the uninstaller's window did not appear"
wizard="$(setup_window "$uninstall_title")"
focus "$wizard" || fail "cannot focus the uninstaller"
wait_for 10 painted uninstall-1-confirm || fail "no confirm page"
xdotool key Return
question_window() { xdotool search --onlyvisible --name "$uninstall_title" | grep -v -x "$wizard" | head -1; }
wait_for 20 question_window || fail "the uninstaller did not ask about the settings"
question="$(question_window)"
focus "$question" || fail "cannot focus the question"
picture "$question" uninstall-2-remove-settings
xdotool key y
entry_gone() { ! quiet_wine reg query "$uninstall_key" >/dev/null 2>&1; }
wait_for 20 entry_gone || fail "the uninstall through the pages did not finish"
uninstaller_gone() { ! xdotool search --name "$uninstall_title" >/dev/null 2>&1; }
focus "$wizard" && xdotool key Return  # Close
wait_for 10 uninstaller_gone || fail "the uninstaller did not close"
[ -e "$install_dir" ] && fail "$install_dir is still there"
[ -e "$shortcut" ] && fail "the Start menu entry is still there"
reg_value "$run_key" KorvanScreenshot >/dev/null && fail "the start-with-Windows entry is still there"
left="$(program_registry_lines)"
[ -z "$left" ] || fail "after removing the settings the registry still holds: $left"
[ "$(files_of_prefix)" = "$files_before" ] ||
  fail "files left behind: $(diff <(echo "$files_before") <(files_of_prefix))"
echo "uninstall through the pages removed the program and its settings, nothing left"
exit 0
