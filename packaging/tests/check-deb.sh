#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks that it installs a
# complete desktop application: the program its menu entry starts, the icons
# the entry names, the help page, manual page, changelog and AppStream data,
# and the dependencies; and that lintian finds no errors in it.
# Usage: check-deb.sh BUILD_DIR VERSION XCB_PLUGIN
set -euo pipefail
build=$1 version=$2 xcb_plugin=$3
id=io.github.serialtemp.SerialTemp

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
deb=$out/serialtemp_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb")"; ls "$out"; exit 1; }
dpkg-deb -x "$deb" "$out/root"
root=$out/root/usr
desktop=$root/share/applications/$id.desktop
metainfo=$root/share/metainfo/$id.metainfo.xml

for file in "$desktop" "$metainfo" "$root/share/serialtemp/help.html" \
    "$root/share/man/man1/serialtemp.1.gz" "$root/share/doc/serialtemp/copyright" \
    "$root/share/doc/serialtemp/changelog.gz"; do
    [ -f "$file" ] || fail "missing ${file#"$out/root"}"
done

exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/bin/$exec_name" ] || fail "the menu entry starts '$exec_name', not installed in usr/bin"

icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon '$icon'"
for size in 16 32; do
    png=$root/share/icons/hicolor/${size}x${size}/apps/$icon.png
    if [ -f "$png" ]; then
        # Width and height are the two big-endian words after the PNG signature and IHDR header.
        read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
        [ "$w $h" = "$size $size" ] || fail "the ${size}x${size} icon is ${w}x${h}"
    else
        fail "no ${size}x${size} icon '$icon'"
    fi
done

grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream data does not launch $id.desktop"
newest=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "newest AppStream release is '$newest', the package is $version"
newest=$(zcat "$root/share/doc/serialtemp/changelog.gz" | sed -n '1s/^serialtemp (\([^)]*\)).*/\1/p')
[ "$newest" = "$version" ] || fail "newest changelog entry is '$newest', the package is $version"

# The xcb platform plugin is loaded at run time, so its package must be named too.
xcb_package=$(dpkg -S "$xcb_plugin" | cut -d: -f1)
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 "$xcb_package" \
    fonts-arphic-uming qt6-translations-l10n; do
    grep -qx -- "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done

# Warnings are shown, errors fail. Root builds the package in CI.
allow_root=()
[ "$(id -u)" -ne 0 ] || allow_root=(--allow-root)
lintian "${allow_root[@]}" --fail-on error "$deb" || fail "lintian reports errors"

[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): complete"
