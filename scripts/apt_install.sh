# Sourced by setup.sh (and by the test of its fallback): apt-get update and
# install that survive a mirror caught mid-sync, without weakening any of apt's
# checks. Callers may set:
#   apt_options  extra apt-get options (the test points apt at a copy of its lists)
#   apt_sudo     "sudo" when not root
#   apt_release  the suite that holds every architecture's index (default: this
#                system's codename, e.g. bookworm)

apt_options=(${apt_options[@]+"${apt_options[@]}"})
apt_sudo="${apt_sudo:-}"
apt_release="${apt_release:-$(. /etc/os-release && echo "$VERSION_CODENAME")}"
# The package indexes that the last update could not fetch, one URL a line.
apt_failed_indexes=""

# Updates the package lists, trying three times: a mirror mid-sync serves a
# Release file whose sizes and hashes do not yet match an index. What still
# fails after the last try is left in apt_failed_indexes, and the install goes
# on with the lists apt has.
apt_update() {
    local attempt output
    for attempt in 1 2 3; do
        output=$($apt_sudo apt-get "${apt_options[@]}" update -q 2>&1) && { apt_failed_indexes=""; return 0; }
        apt_failed_indexes=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' <<<"$output")
        [ $attempt -eq 3 ] || { echo "apt-get update failed (attempt $attempt of 3); retrying in 10 s"; sleep 10; }
    done
    [ -n "$apt_failed_indexes" ] || echo "$output"
    return 0
}

# Installs the packages named. With every index fetched, a plain install. With
# one missing, apt would take the amd64 half of a multi-arch library from the
# suite it still knows (say bookworm-security) and find the i386 half only in
# the main suite, at another version: two halves it cannot install together.
# Taking the main suite as the target release makes both halves come from one
# index. The suite's own signature still vouches for every package.
apt_install_packages() {
    local install=(env DEBIAN_FRONTEND=noninteractive $apt_sudo apt-get "${apt_options[@]}"
                   install -y -q --no-install-recommends)
    if [ -z "$apt_failed_indexes" ]; then
        "${install[@]}" "$@" && return 0
    else
        echo "setup: $(apt_index_names | paste -sd, -) could not be fetched (mirror sync in progress?):" \
             "installing from $apt_release alone, so that both halves of each 32/64-bit library match"
        "${install[@]}" -t "$apt_release" "$@" && return 0
    fi
    apt_explain_failure
    return 1
}

# The failed indexes as "suite/component/architecture", e.g. bookworm-security/main/i386.
apt_index_names() {
    sed -n 's|.*/dists/\([^/]*\)/\([^/]*\)/binary-\([^/]*\)/.*|\1/\2/\3|p' <<<"$apt_failed_indexes"
}

apt_explain_failure() {
    if [ -n "$apt_failed_indexes" ]; then
        echo "setup: the install failed because apt could not fetch the package index" \
             "$(apt_index_names | paste -sd, -). A mirror being synced serves it again when done:" \
             "run the same command again in a few minutes, or point the sources in" \
             "/etc/apt/sources.list.d/ at another Debian mirror." >&2
    else
        echo "setup: apt-get could not install the packages above; its messages say why." >&2
    fi
}
