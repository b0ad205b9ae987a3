#!/usr/bin/env bash
# Makes the Debian package from this build into a scratch folder and checks
# it without installing it: its name and version; that everything it holds
# lies under /usr and, unpacked, forms the installed layout that
# install_test.sh checks; its dependencies; that the change log and the
# metainfo name its version; and that lintian finds no error or warning
# (folders closed to others among them).
#
# usage: package_test.sh PROGRAM_DIR BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "$0")/support/installed_layout.sh"
build_dir=$(realpath "$2")

fail() {
  echo "FAIL: $*"
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Under the strictest umask, so that folders closed to others would show.
(umask 077 && cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out") >cpack.log 2>&1 ||
  { cat cpack.log; fail "cpack made no package"; }
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build_dir/CPackConfig.cmake")
deb="$work/out/velunor_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$work/out"; fail "no velunor_${version}_amd64.deb"; }
[ "$(dpkg-deb -f "$deb" Package)" = velunor ] || fail "the package is not called velunor"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

outside=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v -e '^\./$' -e '^\./usr/' || true)
[ -z "$outside" ] || fail "the package installs outside /usr: $outside"
dpkg-deb -x "$deb" root
check_installed_layout "$work/root"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in sox libsox-fmt-mp3 libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
  [[ ", $depends," =~ ,\ $package[\ ,] ]] || fail "the package does not depend on $package"
done

zcat root/usr/share/doc/velunor/changelog.gz >changelog
[ "$(dpkg-parsechangelog -l changelog -S Version)" = "$version" ] ||
  fail "the change log's newest entry is not version $version"
newest_release=$(grep -o -m1 '<release version="[^"]*"' root/usr/share/metainfo/*.xml)
[ "$newest_release" = "<release version=\"$version\"" ] ||
  fail "the metainfo's newest release is not $version: $newest_release"

status=0
lintian --fail-on error,warning "$deb" >lintian.log 2>&1 || status=$?
grep -v 'running with root privileges' lintian.log || true
[ "$status" -eq 0 ] || fail "lintian reports errors or warnings"
echo "1 passed, 0 failed"
