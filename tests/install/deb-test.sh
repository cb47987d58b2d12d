#!/usr/bin/env bash
# Builds the Debian package and checks that it depends only on Debian's own
# packages and carries the programs, the guide, the desktop entry and the icon.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(ls "$out"/velnor_*.deb)

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(sed 's/ *([^)]*)//g; s/ *| */\n/g; s/, */\n/g' <<<"$depends")
for lib in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libpqxx-6.4; do
  grep -qxF "$lib" <<<"$names" || fail "no dependency on $lib"
done
# Every dependency is one of the machine's Debian packages (dpkg-shlibdeps took
# them from the packages that own the libraries the programs link).
while read -r name; do
  dpkg-query -W "$name" >/dev/null 2>&1 || fail "$name is not an installed Debian package"
done <<<"$names"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/velnor ./usr/bin/velnor-cli ./usr/share/applications/velnor.desktop \
         ./usr/share/icons/hicolor/scalable/apps/velnor.svg ./usr/share/velnor/help/index.html \
         ./usr/share/velnor/sql/schema.sql; do
  grep -qx "$f" <<<"$contents" || fail "$f is not in the package"
done

# The unpacked programs run.
dpkg-deb -x "$deb" "$out/root"
QT_QPA_PLATFORM=offscreen timeout 60 "$out/root/usr/bin/velnor" --quit-after-start ||
  fail "the packaged velnor did not start"
"$out/root/usr/bin/velnor-cli" --help >/dev/null || fail "the packaged velnor-cli did not run"
echo "package $(basename "$deb") checked"
