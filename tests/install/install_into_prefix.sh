#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program as the desktop
# would: offscreen, from a folder of no meaning, with a home of its own. It must find its own
# libraries through its RPATH, make its data folder in the user's data folder and fill it
# there, open its frame, and end when the session ends (SIGTERM).
set -uo pipefail
build=${1:?usage: install_into_prefix.sh BUILD_FOLDER}
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "install test: $*" >&2
  exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; fail "cmake --install failed"; }
for f in bin/vesp bin/vesp-data share/applications/vespera.desktop share/icons/hicolor/scalable/apps/vespera.svg \
         share/icons/hicolor/16x16/apps/vespera.png share/icons/hicolor/48x48/apps/vespera.png \
         share/icons/hicolor/256x256/apps/vespera.png; do
  [ -e "$prefix/$f" ] || fail "the install lacks $f"
done
grep -q '^Exec=vesp$' "$prefix/share/applications/vespera.desktop" || fail "the desktop entry does not start vesp"
grep -q '^Icon=vespera$' "$prefix/share/applications/vespera.desktop" || fail "the desktop entry names no icon"

# The program's own libraries come from the prefix, never from the build folder.
unset LD_LIBRARY_PATH
for program in vesp vesp-data; do
  libs=$(ldd "$prefix/bin/$program") || fail "ldd $program failed"
  echo "$libs" | grep -q 'not found' && fail "$program misses libraries: $(echo "$libs" | grep 'not found')"
  echo "$libs" | grep -E 'libvrt|libqrywiz' | grep -vq "^\s*lib[a-z]*\.so => $prefix/" &&
    fail "$program takes its libraries from elsewhere: $(echo "$libs" | grep -E 'libvrt|libqrywiz')"
done

export HOME=$work/home XDG_DATA_HOME=$work/home/data QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME/anywhere"
cd "$HOME/anywhere" || fail "no folder to start in"
"$prefix/bin/vesp" >"$work/vesp.log" 2>&1 &
pid=$!
data=$XDG_DATA_HOME/Vespera
# Up to two minutes for the start-up on a loaded machine; the welcome's setting is written
# once the lists are filled, just before the frame opens.
for _ in $(seq 1200); do
  grep -qs '^ShowAtStart=1' "$data/vsp.INI" && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/vesp.log" >&2; fail "the installed program ended during its start-up"; }
  sleep 0.1
done
grep -qs '^ShowAtStart=1' "$data/vsp.INI" || fail "the installed program did not finish its start-up in $data"
[ -z "$(ls -A "$HOME/anywhere")" ] || fail "the program kept data in the folder it was started from"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
# Closed as by its close box, even when the signal came before the frame was up.
[ "$status" -eq 0 ] || { cat "$work/vesp.log" >&2; fail "the program ended with status $status on SIGTERM"; }

cd "$data" || fail "no data folder"
[ "$("$prefix/bin/vesp-data" count ElementType)" -gt 0 ] || fail "the starting lists are not in the user's data folder"
echo "install test: installed into $prefix, started, filled $data and ended on SIGTERM"
