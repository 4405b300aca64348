#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get (as root, or through sudo), checks the
# installed program as a user meets it, and removes it. Whatever fails, the system is left as it
# was found: the package, and any package apt-get installed for it, are removed again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 -y -q "$@"; }
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# Every package dpkg knows, with its state: installed, config-files, ...
states() { dpkg-query -W -f='${binary:Package} ${db:Status-Status}\n' | sort; }
installed() { dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null | grep -qx installed; }

installed tarvenol && fail "tarvenol is installed already; this check would replace it"
"$root/build-package" --no-install
deb="$(echo "$root"/build-deb/tarvenol_*.deb)"
version="$(dpkg-deb -f "$deb" Version)"

work="$(mktemp -d)"
states >"$work/before"
cleanup() {
  local status=$?
  set +e  # every step of the clean-up is tried
  installed tarvenol && apt remove tarvenol
  # What apt-get installed along with it: purged where dpkg did not know it before, removed
  # where only its configuration files were left.
  states >"$work/after"
  local name state purge=() remove=()
  while read -r name state; do
    [ "$state" = installed ] || continue
    case "$(awk -v n="$name" '$1 == n { print $2 }' "$work/before")" in
      installed) ;;
      config-files) remove+=("$name") ;;
      *) purge+=("$name") ;;
    esac
  done <"$work/after"
  [ ${#purge[@]} -eq 0 ] || apt purge "${purge[@]}"
  [ ${#remove[@]} -eq 0 ] || apt remove "${remove[@]}"
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

apt install --no-install-recommends "$deb"
for program in tarvenol tarvenol-batch; do
  [ -x "/usr/bin/$program" ] || fail "/usr/bin/$program is not installed"
done
desktop-file-validate /usr/share/applications/tarvenol.desktop || fail "the desktop entry"
[ -f /usr/share/icons/hicolor/scalable/apps/tarvenol.svg ] || fail "no icon"

# The batch tool, from /usr/bin, in a folder of its own.
mkdir "$work/run"
cd "$work/run"
/usr/bin/tarvenol-batch ni 8 nj 8 sphere solve || fail "tarvenol-batch exited with $?"
[ -s Tarvenol.txt ] || fail "tarvenol-batch wrote no report"
grep -q "1-Cp" Tarvenol.txt || fail "the report holds no solution"
[ "$(/usr/bin/tarvenol-batch --version)" = "tarvenol-batch $version" ] || fail "tarvenol-batch --version"
# The Python module, from the system's Python path, gives the batch tool's solution.
/usr/bin/python3 -c 'import tarvenol as tv; s = tv.solve(tv.sphere(ni=8, nj=8), symmetric=False)
assert s.one_minus_cp.shape == (8, 8) and abs(s.one_minus_cp.max() - 2.25) < 0.2' ||
  fail "the Python module"
# ... from the package's own files, not from a build folder on the way.
module="$(env -u PYTHONPATH /usr/bin/python3 -c 'import tarvenol; print(tarvenol.__file__)')"
[ "$module" = /usr/lib/python3/dist-packages/tarvenol/__init__.py ] ||
  fail "tarvenol is imported from $module, not from the package"
dpkg -L tarvenol | grep -q '^/usr/lib/python3/dist-packages/tarvenol/_tarvenol.*\.so$' ||
  fail "the package has no compiled module"
# The batch tool's sweep, and the module's, give the same figures.
printf 'family,a,b,c,d,n,theta,ni,nj\nmyring,0.3,1,0.5,0.2,2,20,40,8\n' >designs.csv
/usr/bin/tarvenol-batch sweep designs.csv results.csv || fail "tarvenol-batch sweep exited with $?"
/usr/bin/python3 -c 'import csv, tarvenol as tv
(row,) = csv.DictReader(open("results.csv"))
(mine,) = tv.sweep([{"family": "myring", "a": 0.3, "b": 1, "c": 0.5, "d": 0.2, "n": 2,
                     "theta": 20, "ni": 40, "nj": 8}])
assert float(row["k1"]) == mine["k1"] and float(row["Cp_min"]) == mine["Cp_min"]' ||
  fail "the sweeps of the batch tool and the module"

# The window answers --version and --help without a display and leaves the report alone.
mkdir "$work/quiet"
cd "$work/quiet"
for option in --version --help; do
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb /usr/bin/tarvenol "$option" >out.txt ||
    fail "tarvenol $option exited with $?"
done
[ "$(/usr/bin/tarvenol --version)" = "tarvenol $version" ] || fail "tarvenol --version"
[ ! -e Tarvenol.txt ] || fail "tarvenol --version or --help touched the report"
cd "$work"
# The installed window, under a virtual X server, driven as a user would (77: no Xvfb here).
"$root/scripts/xvfb-check.sh" /usr/bin/tarvenol || [ $? -eq 77 ] || fail "the installed window"

# Manual pages may be left out by dpkg's path-exclude on slim systems; the package must hold them.
page=/usr/share/man/man1/tarvenol-batch.1.gz
dpkg -L tarvenol >"$work/files"
grep -qx "$page" "$work/files" || fail "the package has no manual page for tarvenol-batch"
if [ -e "$page" ]; then
  [ "$(man -w tarvenol-batch)" = "$page" ] || fail "man does not find tarvenol-batch"
fi

apt remove tarvenol
[ ! -e /usr/bin/tarvenol-batch ] || fail "/usr/bin/tarvenol-batch is still there after removal"
[ ! -e /usr/share/applications/tarvenol.desktop ] || fail "the desktop entry is still there"
echo "passed: $(basename "$deb") installs, runs and is removed"
