#!/bin/sh
# Usage: debian_packages.sh DEB_DIR
# Installs the Debian packages `make package` left in DEB_DIR with apt-get,
# uses each of them from a clean shell (no environment but PATH and HOME): C
# programs through pkg-config and find_package(gmd), a Fortran program
# through gmd-fortran.pc, `import gmd` in Debian's python3, `gmd --version`,
# `man gmd`; then purges them again, also when a step fails, and checks that
# the set of installed packages is the one it found.
# Needs root and dpkg; without them it says so and does nothing.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
debs=$(cd "$1" && pwd)
packages="libgmd1 libgmd-dev gmd-tools python3-gmd"

if [ "$(id -u)" != 0 ] || ! command -v dpkg >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
    echo "debian_packages: skipped, installing packages needs root, dpkg and apt-get"
    exit 0
fi
files=""
for package in $packages; do
    file=$(ls "$debs"/"${package}"_*.deb 2>/dev/null | head -n 1)
    if [ -z "$file" ]; then
        echo "debian_packages: no ${package}_*.deb in $debs" >&2
        exit 1
    fi
    files="$files $file"
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q installed; then
        echo "debian_packages: $package is already installed; not replacing it" >&2
        exit 1
    fi
done

# The files of the packages that exist, of those a purge must remove.
ours() {
    for path in /usr/bin/gmd /usr/include/gmd.h /usr/include/gmdkit.h /usr/include/gmd /usr/lib/python3/dist-packages/gmd \
                /usr/lib/*/cmake/gmd /usr/lib/*/libgmd.so.1 /usr/lib/*/libgmd_fortran.so.1 /usr/share/man/man1/gmd.1*; do
        [ -e "$path" ] && echo "$path"
    done
    return 0
}
if [ -n "$(ours)" ]; then
    echo "debian_packages: $(ours | head -n 1) exists already; not replacing it" >&2
    exit 1
fi

work=$(mktemp -d)
chmod 755 "$work"
installed() { dpkg-query -W -f='${Package}:${Architecture} ${Version} ${Status}\n' | sort; }
installed > "$work/before"
apt="apt-get -o DPkg::Lock::Timeout=600 -y -q"
cleanup() {
    result=$?
    trap - EXIT INT TERM
    # shellcheck disable=SC2086 # a list of package names
    DEBIAN_FRONTEND=noninteractive $apt purge $packages > "$work/purge.log" 2>&1 || cat "$work/purge.log" >&2
    installed > "$work/after"
    if ! cmp -s "$work/before" "$work/after"; then
        echo "debian_packages: the installed packages differ from before:" >&2
        diff "$work/before" "$work/after" >&2 || true
        result=1
    fi
    for path in $(ours); do
        echo "debian_packages: left behind: $path" >&2
        result=1
    done
    rm -rf "$work"
    exit $result
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# shellcheck disable=SC2086
if ! DEBIAN_FRONTEND=noninteractive $apt install --no-install-recommends $files > "$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "debian_packages: apt-get install failed" >&2
    exit 1
fi

cp -r "$here/consumer" "$work/consumer"
chmod -R a+rX "$work"
# Every use starts from an empty environment, as a new login would.
clean() {
    env -i PATH=/usr/bin:/bin HOME=/tmp bash -euc "cd '$work' && $1" > "$work/step.log" 2>&1 || {
        cat "$work/step.log" >&2
        echo "debian_packages: failed: $1" >&2
        exit 1
    }
}
clean 'cc -o pc consumer/consumer.c $(pkg-config --cflags --libs gmd) && ./pc pc.gmd'
clean 'cc -o pckit consumer/kit_consumer.c $(pkg-config --cflags --libs gmdkit gmd) && ./pckit pckit.gmd'
clean 'cmake -S consumer -B cm -DCMAKE_BUILD_TYPE=Release && cmake --build cm &&
       for p in consumer_shared consumer_static kit_consumer_shared kit_consumer_static; do ./cm/$p $p.gmd; done'
clean 'gfortran -o pcf consumer/consumer.f90 $(pkg-config --cflags --libs gmd-fortran) && ./pcf pcf.gmd'
clean 'python3 -c "import gmd, os; assert gmd.__file__.startswith(\"/usr/lib/python3/dist-packages/\"), gmd.__file__"'
clean 'gmd --version | grep -q "1\.0\.0"'
clean 'man -P cat gmd | grep -q "gmd convert"'
echo "debian_packages: $packages installed, used from a clean shell and purged"
