#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks that the desktop finds
# everything where it looks, and starts the installed programs.
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/velnor bin/velnor-cli \
         share/applications/velnor.desktop \
         share/icons/hicolor/scalable/apps/velnor.svg \
         share/icons/hicolor/48x48/apps/velnor.png \
         share/icons/hicolor/256x256/apps/velnor.png \
         share/velnor/sql/schema.sql share/velnor/sql/reference.sql \
         share/velnor/help/index.html; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/velnor" ] && [ -x "$prefix/bin/velnor-cli" ] || fail "programs are not executable"
# The whole guide, as in the sources.
diff -r "$source/help" "$prefix/share/velnor/help" >/dev/null || fail "the installed user guide differs from help/"
# Nothing of the build tree stays behind: no run path into it.
for p in velnor velnor-cli; do
  if readelf -d "$prefix/bin/$p" | grep -E 'R(UN)?PATH' | grep -q "$build"; then
    fail "$p keeps a run path into the build tree"
  fi
done

desktop=$prefix/share/applications/velnor.desktop
grep -qx 'Exec=velnor' "$desktop" || fail "the desktop entry does not start velnor"
grep -qx 'Icon=velnor' "$desktop" || fail "the desktop entry does not name the icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
fi

# The desktop program starts, shows its window and ends by itself.
QT_QPA_PLATFORM=offscreen timeout 60 "$prefix/bin/velnor" --quit-after-start ||
  fail "the installed velnor did not start and end cleanly (status $?)"

# The batch companion computes: the empirical table, zone 2, heat index 2 (180 mm a month).
out=$(printf '2\n%.0s' {1..12} | "$prefix/bin/velnor-cli" eto --method empirical --zone 2 -)
grep -q '^Total,2160' <<<"$out" || fail "velnor-cli eto gave: $out"
echo "installed into $prefix and started"
