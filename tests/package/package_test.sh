#!/usr/bin/env bash
# The release packages as a Windows user meets them, in a fresh Wine prefix
# on a private Xvfb display. The archive: checksums, contents, imports (system
# DLLs only), no debug information, one version everywhere, and its
# Baudix.exe started and closed. The installer, run silently: elevated (for
# all users), then as a user into the default folder and into a /D= folder;
# each time the files, the Start-menu shortcut (the program is started
# through it once) and the uninstall entry, then the entry's quiet uninstall
# command, after which nothing of Baudix may be left. While the installed
# Baudix runs, the installer and the uninstaller refuse (exit code 32) and
# change nothing; a Baudix of another folder stops neither.
# Usage: package_test.sh DIST WORKDIR   (WORKDIR is emptied first)
set -u
export LC_ALL=C
dist=$(cd "$1" && pwd)
rm -rf "$2"
mkdir -p "$2"
work=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
objdump=x86_64-w64-mingw32-objdump

archive=$(cd "$dist" && ls Baudix-*-win64.zip)
version=${archive#Baudix-}
version=${version%-win64.zip}
installer=$dist/Baudix-$version-setup.exe
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
[ "$(cut -d' ' -f3 "$dist/SHA256SUMS" | xargs)" = "$archive Baudix-$version-setup.exe" ] ||
  fail "SHA256SUMS lists $(cut -d' ' -f3 "$dist/SHA256SUMS" | xargs)"

unpacked=$work/unpacked
unzip -q "$dist/$archive" -d "$unpacked" || fail "cannot unpack $archive"
files="Baudix.exe LICENSE.txt LIESMICH.txt baudix-table.exe"
[ "$(ls "$unpacked" | xargs)" = "$files" ] || fail "archive holds $(ls "$unpacked" | xargs)"

# What every 64-bit Windows has; a DLL of the compiler's run time (libstdc++,
# libgcc, winpthread) would be missing on the user's machine.
system_dlls=(advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ntdll oleacc ole32 oleaut32 shell32
  user32 uxtheme version)
for exe in Baudix.exe baudix-table.exe; do
  for dll in $($objdump -p "$unpacked/$exe" | sed -n 's/^\s*DLL Name: //p' | tr A-Z a-z); do
    [[ " ${system_dlls[*]} " == *" ${dll%.dll} "* ]] || fail "$exe imports $dll"
  done
  ! $objdump -h "$unpacked/$exe" | grep -q '\.debug_' || fail "$exe carries debug information"
done
# The version resource's strings are UTF-16: every other byte is zero.
resource_version=$(tr -d '\0' <"$unpacked/Baudix.exe" | grep -a -o 'ProductVersion[0-9.]*' | head -1)
[ "$resource_version" = "ProductVersion$version" ] ||
  fail "version resource says '$resource_version', the package names $version"
resource_name=$(tr -d '\0' <"$unpacked/Baudix.exe" | grep -a -o 'OriginalFilename[A-Za-z]*\.exe' |
  head -1)
[ "$resource_name" = OriginalFilenameBaudix.exe ] || fail "version resource says '$resource_name'"

. "$here/../e2e/xsession.sh"
xsession_start "$work/prefix" || { echo "FAIL: no X session"; exit 1; }
# Shortcuts would otherwise become menu entries of the Linux desktop.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

# The program's visible window, if any. A search that meets a window going
# away ends in an X error, so the caller asks again rather than using --sync.
baudix_window() { xdotool search --onlyvisible --name '^Baudix - ' 2>/dev/null | head -1; }

# Whether a Baudix.exe of this prefix runs (other prefixes may run theirs).
baudix_runs() {
  local pid
  for pid in $(pgrep -f 'Baudix\.exe'); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}

# Starts a program (wine arguments) and waits for its window; close_program
# closes it again. Started through a shortcut, Baudix.exe outlives the
# starting command: it must be gone before its files are removed.
start_program() {
  wine "$@" >/dev/null 2>&1 &
  APP_PID=$! APP_WINDOW= APP_COMMAND=$*
  local i
  for i in $(seq 1 600); do
    APP_WINDOW=$(baudix_window)
    [ -n "$APP_WINDOW" ] && break
    sleep 0.1
  done
  [ -n "$APP_WINDOW" ] || fail "no window from $*"
}
close_program() {
  if [ -z "$APP_WINDOW" ]; then
    kill "$APP_PID" 2>/dev/null
  else
    # A program started from another may not have the keyboard yet: give
    # it the focus, then press Alt+F4 as a user would.
    xdotool windowfocus --sync "$APP_WINDOW" key alt+F4 2>/dev/null
  fi
  local i
  for i in $(seq 1 100); do
    { kill -0 "$APP_PID" 2>/dev/null || baudix_runs; } || break
    sleep 0.1
  done
  baudix_runs && fail "Baudix.exe still runs after closing $APP_COMMAND"
  wait "$APP_PID"
  local status=$?
  APP_PID=
  [ "$status" -eq 0 ] || fail "exit code $status after closing $APP_COMMAND"
}
start_and_close() {
  start_program "$@"
  close_program
}
start_and_close "$unpacked/Baudix.exe"

unix_path() { winepath -u "$1" 2>/dev/null; }
windows_variable() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Baudix'
entry=$work/entry.txt
value() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" "$entry" | tr -d '\r'; }
x86_64-w64-mingw32-gcc -O2 -s -o "$work/run_command.exe" "$here/run_command.c" -lshell32 || exit 1
# Runs a Windows command line as it is, elevated or (after "as user") not.
run() { wine "$work/run_command.exe" "${limited[@]}" "$1" >/dev/null 2>&1; }
installer_path=$(winepath -w "$installer" 2>/dev/null)

# as all|user: where the installation must go, and how programs start.
as() {
  local menu
  if [ "$1" = all ]; then
    root=HKLM other_root=HKCU limited=() menu=ProgramData
    default_folder="$(windows_variable ProgramFiles)\\Baudix"
  else
    root=HKCU other_root=HKLM limited=(--limited) menu=APPDATA
    default_folder="$(windows_variable LOCALAPPDATA)\\Programs\\Baudix"
  fi
  shortcut=$(unix_path "$(windows_variable $menu)\\Microsoft\\Windows\\Start Menu\\Programs\\Baudix.lnk")
}

# install FOLDER [/D=FOLDER]: FOLDER is where the files must land.
install() {
  local folder=$1
  run "\"$installer_path\" /S${2:+ $2}" || fail "installer exit code $? ($*)"
  local dir
  dir=$(unix_path "$folder")
  [ "$(ls "$dir" | xargs)" = "$files uninstall.exe" ] || fail "$folder holds $(ls "$dir" | xargs)"
  local file
  for file in $files; do cmp -s "$unpacked/$file" "$dir/$file" || fail "installed $file differs"; done
  [ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
  wine reg query "$other_root\\$key" >/dev/null 2>&1 && fail "uninstall entry under $other_root"
  wine reg query "$root\\$key" >"$entry" 2>/dev/null || fail "no uninstall entry under $root"
  [ "$(value DisplayName)" = Baudix ] || fail "DisplayName '$(value DisplayName)'"
  [ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion '$(value DisplayVersion)'"
  [ -n "$(value Publisher)" ] || fail "no Publisher"
  [ "$(value DisplayIcon)" = "$folder\\Baudix.exe,0" ] || fail "DisplayIcon '$(value DisplayIcon)'"
  [ "$(value InstallLocation)" = "$folder" ] || fail "InstallLocation '$(value InstallLocation)'"
  [ "$(value UninstallString)" = "\"$folder\\uninstall.exe\"" ] ||
    fail "UninstallString '$(value UninstallString)'"
  local kilobytes=$(($(cat "$dir"/* | wc -c) / 1024))
  local estimated=$(($(value EstimatedSize)))
  ((estimated >= kilobytes - 1 && estimated <= kilobytes + 1)) ||
    fail "EstimatedSize $estimated KB for $kilobytes KB of files"
}

# refused_while_running FOLDER: with the installed Baudix running, the
# installer (into its folder) and the uninstaller end with exit code 32 and
# leave the files, the shortcut and the entry as they were.
refused_while_running() {
  local folder=$1 dir before status
  dir=$(unix_path "$folder")
  state() { ls -l --full-time "$dir"; ls -l --full-time "$shortcut"; wine reg query "$root\\$key"; }
  before=$(state 2>&1)
  start_program "$folder\\Baudix.exe"
  run "\"$installer_path\" /S /D=$folder"
  status=$?
  [ "$status" -eq 32 ] || fail "installer over a running Baudix: exit code $status"
  # In place (_?=), so that the uninstaller's own exit code comes back.
  run "\"$folder\\uninstall.exe\" /S _?=$folder"
  status=$?
  [ "$status" -eq 32 ] || fail "uninstaller of a running Baudix: exit code $status"
  [ "$(state 2>&1)" = "$before" ] || fail "the refused installer or uninstaller changed something"
  close_program
}

# Runs the entry's quiet uninstall command, which hands over to a copy of
# itself and returns at once: waits for the folder to go.
uninstall() {
  local folder=$1 dir command
  dir=$(unix_path "$folder")
  command=$(value QuietUninstallString)
  [ "$command" = "\"$folder\\uninstall.exe\" /S" ] || fail "QuietUninstallString '$command'"
  run "$command" || fail "uninstaller exit code $?"
  local i
  for i in $(seq 1 150); do [ -e "$dir" ] || break; sleep 0.2; done
  [ ! -e "$dir" ] || fail "left behind in $folder: $(ls -A "$dir" | xargs)"
  [ ! -e "$shortcut" ] || fail "Start-menu shortcut left behind"
  wine reg query "$root\\$key" >/dev/null 2>&1 && fail "uninstall entry left behind"
}

as all
install "$default_folder"
# Through the shortcut, as from the Start menu.
start_and_close start /wait /unix "$shortcut"
# A user's token may not remove it (_?= runs the uninstaller in place, so
# that its exit code comes back).
wine "$work/run_command.exe" --limited "\"$default_folder\\uninstall.exe\" /S _?=$default_folder" \
  >/dev/null 2>&1
status=$?
[ "$status" -eq 5 ] || fail "a user's uninstall of the installation for all users: exit code $status"
[ -e "$(unix_path "$default_folder")/Baudix.exe" ] || fail "a user's uninstall removed Baudix.exe"
uninstall "$default_folder"

as user
install "$default_folder"
refused_while_running "$default_folder"
uninstall "$default_folder"
chosen_folder='C:\Meine Programme\Baudix'
# The archive's Baudix runs meanwhile: of another folder, it is no obstacle.
start_program "$unpacked/Baudix.exe"
install "$chosen_folder" "/D=$chosen_folder"
close_program
uninstall "$chosen_folder"

xsession_stop
trap - EXIT
if [ "$failures" -eq 0 ]; then
  echo "package: all checks passed"
  rm -rf "$work"
fi
exit "$failures"
