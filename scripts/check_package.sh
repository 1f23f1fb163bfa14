#!/usr/bin/env bash
# Checks a built Debian package of the calculator: its fields and dependencies, that every
# file is where it belongs, the desktop entry, the metainfo and the manual page, lintian
# (when installed), and that the programs unpacked into a temporary root run.
# Usage: scripts/check_package.sh build-pkg/hechuan_<version>_<arch>.deb
# Needs dpkg-deb and desktop-file-validate (HC_CI=1 scripts/deps.sh installs them).
set -euo pipefail

fail() {
    echo "check_package: FAILED: $*" >&2
    exit 1
}

[ $# -eq 1 ] || fail "usage: $0 PACKAGE.deb"
deb=$1
[ -f "$deb" ] || fail "no package file $deb"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (desktop-file-utils)"

echo "== $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb --show --showformat='Package: ${Package}\nVersion: ${Version}\nArchitecture: ${Architecture}\nSection: ${Section}\nMaintainer: ${Maintainer}\nInstalled-Size: ${Installed-Size}\nDepends: ${Depends}\nRecommends: ${Recommends}\n' "$deb"

depends=$(dpkg-deb --field "$deb" Depends)
# One package name a line, versions and alternatives dropped.
depend_names=$(sed -E 's/ *\([^)]*\)//g; s/ *[,|] */\n/g' <<<"$depends")
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    grep -qxF "$lib" <<<"$depend_names" || fail "Depends lacks $lib: $depends"
done
for field in Maintainer Section Description; do
    [ -n "$(dpkg-deb --field "$deb" "$field")" ] || fail "the $field field is empty"
done

echo "== dpkg-deb --contents"
listing=$(dpkg-deb --contents "$deb")
echo "$listing"
# Columns: mode owner size date time path [-> target]
paths=$(awk '{print $6}' <<<"$listing")
expected=(
    ./usr/bin/hechuan
    ./usr/bin/hechuan-cli
    ./usr/share/applications/hechuan.desktop
    ./usr/share/icons/hicolor/scalable/apps/hechuan.svg
    ./usr/share/metainfo/org.example.hechuan_calculator.metainfo.xml
    ./usr/share/man/man1/hechuan.1.gz
    ./usr/share/man/man1/hechuan-cli.1.gz
    ./usr/share/doc/hechuan/copyright
    ./usr/share/doc/hechuan/changelog.gz
    ./usr/share/doc/hechuan/manual.html
    ./usr/share/lintian/overrides/hechuan
)
for f in "${expected[@]}"; do
    grep -qxF "$f" <<<"$paths" || fail "$f is not in the package"
done
outside=$(grep -vE '^\./(usr/(bin|share)(/.*)?)?$|^\./usr/$' <<<"$paths" || true)
[ -z "$outside" ] || fail "files outside /usr/bin and /usr/share: $outside"
while read -r mode owner _ _ _ path _; do
    [ "$owner" = root/root ] || fail "$path belongs to $owner, not root/root"
    case $path in
    ./usr/bin/?*) [ "$mode" = -rwxr-xr-x ] || fail "$path has mode $mode" ;;
    */) [ "$mode" = drwxr-xr-x ] || fail "$path has mode $mode" ;;
    *) [ "$mode" = -rw-r--r-- ] || fail "$path has mode $mode" ;;
    esac
done <<<"$listing"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/hechuan.desktop" ||
    fail "desktop-file-validate rejects hechuan.desktop"

if command -v appstreamcli >/dev/null; then
    echo "== appstreamcli validate --no-net"
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml ||
        fail "appstreamcli rejects the metainfo"
else
    echo "== appstreamcli not installed: metainfo not validated"
fi

echo "== installed programs"
for prog in hechuan hechuan-cli; do
    missing_libs=$(ldd "$root/usr/bin/$prog" | grep 'not found' || true)
    [ -z "$missing_libs" ] || fail "$prog needs libraries that are not installed: $missing_libs"
done
result=$("$root/usr/bin/hechuan-cli" eval 1+1) || fail "installed hechuan-cli eval 1+1 exited $?"
echo "hechuan-cli eval 1+1 -> $result"
[ "$result" = 2 ] || fail "installed hechuan-cli eval 1+1 printed '$result', not 2"
# The window program shows its main window off screen and quits, printing its start-up time.
ms=$(HC_STARTUP_TIME=1 QT_QPA_PLATFORM=offscreen timeout 60 "$root/usr/bin/hechuan") ||
    fail "installed hechuan did not start and quit (exit $?)"
[[ $ms =~ ^[0-9]+$ ]] || fail "installed hechuan printed '$ms' instead of its start-up time"
echo "hechuan shows its main window off screen after $ms ms"

# Every command that the installed program names in its help has a section in its page.
page=$(zcat "$root/usr/share/man/man1/hechuan-cli.1.gz")
commands=$("$root/usr/bin/hechuan-cli" --help | sed -nE 's/^[[:space:]]+hechuan-cli ([a-z][a-z0-9-]*).*/\1/p' | sort -u)
[ -n "$commands" ] || fail "hechuan-cli --help names no command"
for c in $commands; do
    grep -qF ".SS \"hechuan\\-cli $c\"" <<<"$page" || fail "the manual page has no section for '$c'"
done
echo "manual page sections: $(tr '\n' ' ' <<<"$commands")"

if command -v lintian >/dev/null; then
    echo "== lintian (errors fail; warnings and notes are shown)"
    lintian --fail-on error --display-info --tag-display-limit 0 "$deb" || fail "lintian reports errors"
else
    echo "== lintian not installed: skipped"
fi
echo "== package checks passed"
