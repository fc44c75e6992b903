#!/usr/bin/env bash
# The set-up on a mirror caught mid-sync, with apt in simulation over a copy of
# this machine's package lists from which the security suite's i386 index is
# gone, and nothing installed:
# - apt's plain install of the set-up's packages does not resolve (the amd64
#   half of a multi-arch library would come from the security suite, its i386
#   half only from the main suite, at another version);
# - the set-up's install does, from the main suite alone, and says so;
# - with the main suite's i386 index gone too, the set-up fails with a message
#   that names that index and what to do.
# The indexes are the ones apt is configured to fetch, found through apt itself.
# Exits 77 (skipped) on a machine whose lists lack an index the case needs.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
source "$repo/scripts/apt_sources.sh"

# index_file SUITE ARCHITECTURE: the fetched index file, nothing if there is none.
index_file() {
    local file
    file=$(apt_index "$1" "$2" '$(FILENAME)')
    [ ! -f "$file" ] || echo "$file"
}
main_amd64=$(index_file "$release" amd64) main_i386=$(index_file "$release" i386)
security_amd64=$(index_file "$release-security" amd64)
if [ -z "$main_amd64" ] || [ -z "$main_i386" ] || [ -z "$security_amd64" ]; then
    echo "skipped: apt has not fetched the $release amd64 and i386 or the $release-security amd64 index"
    exit 77
fi
# What apt-get update names when it cannot fetch an index.
security_i386_url=$(apt_index "$release-security" i386 '$(URI)')
main_i386_url=$(apt_index "$release" i386 '$(URI)')
lists=$(dirname "$main_amd64")
mkdir -p "$scratch/lists/partial" "$scratch/cache/archives/partial"
: >"$scratch/status"
for file in "$lists"/*Release "$main_amd64" "$main_i386" "$security_amd64"; do ln -s "$file" "$scratch/lists/"; done
apt_options=(-s -o Dir::State::Lists="$scratch/lists" -o Dir::State::status="$scratch/status"
             -o Dir::Cache="$scratch/cache" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
             -o APT::Architectures::=amd64 -o APT::Architectures::=i386 -o Debug::NoLocking=1)
source "$repo/scripts/apt_install.sh"
read -ra packages <<<"$("$repo/scripts/setup.sh" --list-packages)"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

if apt-get "${apt_options[@]}" install -q --no-install-recommends "${packages[@]}" >"$scratch/plain.log" 2>&1; then
    fail "the plain install resolved without the security suite's i386 index"
elif ! grep -q "unmet dependencies" "$scratch/plain.log"; then
    fail "the plain install failed for another reason: $(tail -3 "$scratch/plain.log")"
fi

apt_failed_indexes=$security_i386_url
if apt_install_packages "${packages[@]}" >"$scratch/fallback.log" 2>&1; then
    grep -q "^setup: $release-security/main/i386 could not be fetched .*installing from $release alone" \
        "$scratch/fallback.log" || fail "the set-up did not say why it installed from $release alone"
    grep -q "^Inst wine32:i386 .*\[i386\]" "$scratch/fallback.log" || fail "the set-up's install left out wine32:i386"
else
    fail "the set-up's install did not resolve: $(grep -A5 unmet "$scratch/fallback.log")"
fi

rm "$scratch/lists/$(basename "$main_i386")"
apt_failed_indexes="$security_i386_url"$'\n'"$main_i386_url"
if apt_install_packages "${packages[@]}" >"$scratch/stdout.log" 2>"$scratch/stderr.log"; then
    fail "the set-up's install resolved with no i386 index at all"
else
    grep -q "could not fetch the package index $release-security/main/i386,$release/main/i386\. .*run the same command again" \
        "$scratch/stderr.log" || fail "no clear message on failure: $(cat "$scratch/stderr.log")"
fi

echo "mirror mid-sync: $((3 - failures)) of 3 cases hold"
[ $failures -eq 0 ]
