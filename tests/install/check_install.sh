#!/usr/bin/env bash
# The installed layout and the Debian package of a build folder:
#   check_install.sh BUILD_DIR APP_ID VERSION
# installs into a temporary prefix, checks the files, validates the menu entry and the
# metadata, starts the program through its link in bin/, then packs the folder with cpack and
# checks the package's contents and declared dependencies: every library its programs load
# must come from a package that its Depends names, as a fresh machine would need. Exits 77
# (skipped) when a checking tool is missing, naming it.
set -euo pipefail
build=$1 id=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps dpkg-query readelf \
    ldd; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done

prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

# Program, dictionaries and host stand-in together; links to them in bin/.
for file in ionograph quillon-host ionograph.itl ionograph.de.itl; do
    [ -f "$prefix/lib/ionograph/$file" ] || fail "lib/ionograph/$file missing"
done
for program in ionograph quillon-host; do
    [ -x "$prefix/lib/ionograph/$program" ] || fail "lib/ionograph/$program not executable"
    [ "$(readlink "$prefix/bin/$program")" = "../lib/ionograph/$program" ] ||
        fail "bin/$program is not a relative link into lib/ionograph"
done

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "icon ${size}x$size missing"
    dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x$size" ] || fail "icon ${size}x$size is $dims"
done

# Started through the link, the program finds its dictionaries beside its real path: the
# German one is chosen by name, so a missing one would end it with code 2.
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
[ "$("$prefix/bin/ionograph" --version)" = "Ionograph $version" ] || fail "--version"
"$prefix/bin/ionograph" --language de --snapshot-about "$work/about.png" ||
    fail "the German dictionary was not found through the link"
[ -s "$work/about.png" ] || fail "no picture of the About box"
"$prefix/bin/quillon-host" --help | grep -q "quillon-host" || fail "quillon-host --help"

# Without dpkg-shlibdeps on the PATH cpack refuses, naming the package that brings it, rather
# than making a package that declares none of the libraries.
mkdir "$work/no-tools"
if (cd "$build" && PATH=$work/no-tools "$(command -v cpack)" -G DEB -B "$work/refused") \
    >"$work/refused.log" 2>&1; then
    fail "cpack made a package without dpkg-shlibdeps"
fi
grep -q "dpkg-dev" "$work/refused.log" || fail "cpack's refusal does not name dpkg-dev"
if compgen -G "$work/refused/*.deb" >/dev/null; then fail "cpack left a package behind"; fi

# The package holds the same files under /usr, and declares what the program loads.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack -G DEB"
deb=$(ls "$work"/package/ionograph_"$version"_*.deb)
dpkg-deb -c "$deb" | awk '{print $6 ($7 ? " " $7 " " $8 : "")}' >"$work/contents"
for entry in ./usr/lib/ionograph/ionograph ./usr/lib/ionograph/quillon-host \
    ./usr/lib/ionograph/ionograph.itl ./usr/lib/ionograph/ionograph.de.itl \
    "./usr/bin/ionograph -> ../lib/ionograph/ionograph" \
    "./usr/bin/quillon-host -> ../lib/ionograph/quillon-host" \
    "./usr/share/applications/$id.desktop" "./usr/share/metainfo/$id.metainfo.xml" \
    "./usr/share/icons/hicolor/48x48/apps/$id.png"; do
    grep -qxF "$entry" "$work/contents" || fail "package lacks $entry"
done
if grep -vE '^\./usr/(|bin/.*|lib/|lib/ionograph/.*|share/.*)$' "$work/contents"; then
    fail "package holds files outside the installed layout (above)"
fi
[ "$(dpkg-deb -f "$deb" Package)" = ionograph ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
dpkg-deb -f "$deb" Description | grep -q '^ ;' && fail "the description's lines are a joined list"
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do
    [[ $depends == *"$dependency"* ]] || fail "package does not depend on $dependency: $depends"
done

# What a fresh machine gets: each library a packed program names (NEEDED) must belong to a
# package of this machine that the Depends field names, alternatives and versions aside.
# Libraries of those packages are theirs to declare.
declared=" $(tr ',|' '\n\n' <<<"$depends" | sed -E 's/\(.*\)//; s/:[a-z0-9]+//; s/[[:space:]]//g' |
    tr '\n' ' ') "
owner() { # the packages owning a file, by its path as the loader gives it or as dpkg lists it
    local path=$1 candidate real
    real=$(readlink -f "$path")
    for candidate in "$path" "$real" "${path#/usr}" "/usr$path" "${real#/usr}" "/usr$real"; do
        dpkg-query -S "$candidate" 2>/dev/null | sed -n '1{s/: .*//; s/:[a-z0-9]*//g; s/,/ /g; p}' |
            grep . && return 0
    done
    return 1
}
dpkg-deb -x "$deb" "$work/root"
for program in ionograph quillon-host; do
    binary=$work/root/usr/lib/ionograph/$program
    needed=$(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [ -n "$needed" ] || fail "$program names no libraries"
    loaded=$(ldd "$binary")
    for library in $needed; do
        path=$(awk -v lib="$library" '$1 == lib && $2 == "=>" {print $3}' <<<"$loaded")
        [ -n "$path" ] && [ "$path" != "not" ] || fail "$program: $library is not found"
        packages=$(owner "$path") || fail "$program: $library ($path) belongs to no package"
        found=""
        for package in $packages; do
            [[ $declared == *" $package "* ]] && found=$package
        done
        [ -n "$found" ] ||
            fail "$program needs $library of package $packages, which Depends lacks: $depends"
    done
done
echo "installed layout and package $(basename "$deb") ($(stat -c %s "$deb") bytes) are complete"
