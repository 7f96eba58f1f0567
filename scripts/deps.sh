#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing;
# as root directly, otherwise through sudo. With everything installed it
# costs one dpkg query and touches no package list.
set -euo pipefail

# dpkg-query fails for names it has never seen; those count as missing.
declare -A state
while read -r package status; do
    state[$package]=$status
done < <(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "$@" 2>/dev/null || true)
missing=()
for package in "$@"; do
    [ "${state[$package]:-}" = ii ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
