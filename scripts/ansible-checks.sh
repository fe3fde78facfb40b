#!/usr/bin/env bash
# The Ansible collection azu.zorne checked as its maintainers publish it, offline, with Debian's
# tools only: ansible-test sanity, the unit tests (pytest), ansible-lint's production profile and
# a collection build without a warning. All of it runs on a copy of the collection in a
# temporary folder, with HOME there too: ansible-test writes tests/output and its environments
# under ~/.ansible, ansible-lint its cache.
#
# ansible-test and Debian's packages: each sanity test runs in a virtual environment of its own
# (~/.ansible/test/venv/sanity.TEST/PYTHON/HASH) that ansible-test fills with pip from PyPI the
# first time, and reuses while it holds a marker.txt. We let ansible-test make those
# environments itself (`sanity --prime-venvs`, same names, same hashes) with two of its steps
# replaced: each is a venv that sees the system's site-packages, and the pip install is left out.
# The real run is then plain `ansible-test sanity`; it finds its environments made, and Debian's
# pylint, pycodestyle, yamllint and voluptuous serve in them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
python=/usr/bin/python3  # Debian's, which has ansible-core and the tools
# ansible-test looks for pythonX.Y in PATH; a version manager's shim there is not Debian's.
export PATH=/usr/bin:/bin:$PATH

missing=()
for tool in ansible-test ansible-lint ansible-galaxy yamllint pylint pycodestyle; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
for module in voluptuous pytest; do
  "$python" -c "import $module" 2>/dev/null || missing+=("python3-$module")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "ansible-checks: missing ${missing[*]} (scripts/install-deps.sh installs them)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home LC_ALL=C.UTF-8 ANSIBLE_NOCOLOR=1 ANSIBLE_CONFIG=$work/none.cfg
export ANSIBLE_HOME=$work/home/.ansible ANSIBLE_LOCAL_TEMP=$work/ansible-local
export PYTHONDONTWRITEBYTECODE=1
mkdir -p "$HOME"
collections=$work/collections
copy=$collections/ansible_collections/azu/zorne
mkdir -p "$(dirname "$copy")"
tar -C "$top/ansible/ansible_collections/azu" --exclude=__pycache__ --exclude=tests/output \
  -cf - zorne | tar -C "$(dirname "$copy")" -xf -
cd "$copy"
version=$("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])')

failures=()
step() {  # step NAME COMMAND...: runs it, its output in $work/NAME.log, shown when it fails
  local name=$1
  shift
  if "$@" >"$work/$name.log" 2>&1; then
    echo "ansible-checks: $name passed"
  else
    cat "$work/$name.log"
    echo "ansible-checks: $name FAILED"
    failures+=("$name")
  fi
}

prime_sanity_venvs() {
  "$python" - sanity --prime-venvs --python "$version" <<'EOF'
import sys

from ansible_test._internal import main
import ansible_test._internal.commands.sanity as sanity

make_venv = sanity.create_virtual_environment


def system_venv(args, python, path, system_site_packages=False, pip=False):
    return make_venv(args, python, path, system_site_packages=True, pip=False)


sanity.create_virtual_environment = system_venv
sanity.run_pip = lambda *args, **kwargs: None
main(sys.argv)
EOF
}

# The changelog test runs antsibull-changelog, which Debian does not have; the unit tests check
# the changelog's form instead.
sanity() {
  prime_sanity_venvs && ansible-test sanity --python "$version" --color no --skip-test changelog
}

# As `ansible-test units` runs them, with its pytest plugin for collection imports, but with
# Debian's pytest in place of the one it would install.
units() {
  local plugins
  plugins=$("$python" -c 'import ansible_test, os; print(os.path.dirname(ansible_test.__file__))')
  ANSIBLE_COLLECTIONS_PATH=$collections ANSIBLE_CONTROLLER_MIN_PYTHON_VERSION=3.9 \
    PYTHONPATH=$plugins/_util/target/pytest/plugins PYTEST_PLUGINS=ansible_pytest_collections \
    "$python" -m pytest -p no:cacheprovider -W ignore::UserWarning -q tests/unit
}

lint() {
  ANSIBLE_COLLECTIONS_PATH=$collections ansible-lint --offline --profile production --nocolor
}

build() {  # the tarball without a single warning, and installed from it
  {
    ansible-galaxy collection build --output-path "$work/build" . &&
      ANSIBLE_COLLECTIONS_PATH=$work/installed ansible-galaxy collection install \
        -p "$work/installed" "$work/build"/azu-zorne-*.tar.gz
  } >"$work/build.out" 2>&1 || { cat "$work/build.out"; return 1; }
  cat "$work/build.out"
  ! grep -q -i warning "$work/build.out"
}

step sanity sanity
step units units
step lint lint
step build build

if [ ${#failures[@]} -gt 0 ]; then
  echo "ansible-checks: failed: ${failures[*]}" >&2
  exit 1
fi
