# Sourced by setup.sh, clean_room.sh and the test of the mirror fallback: what
# apt on this machine is already set to fetch. Whatever the set-up adds comes
# from the same mirror, with the same signing key, so that nothing is fetched
# from a server the machine's owner did not choose.

# apt_index SUITE ARCHITECTURE FORMAT: FORMAT, in the $(FIELD) terms of
# `apt-get indextargets`, for the package index of SUITE's main component for
# ARCHITECTURE; nothing when apt fetches no such index. SUITE is matched
# against the suite the sources name and against the code name of the
# release they fetched (a source may say "stable" for "trixie").
apt_index() {
    local query=('Identifier: Packages' 'Target-Of: deb' 'Component: main' "Architecture: $2")
    # Without fetched lists apt knows no code names, and lists only with --no-release-info.
    { apt-get indextargets "${query[@]}" --format "\$(RELEASE) \$(CODENAME) $3"
      apt-get indextargets --no-release-info "${query[@]}" --format "\$(RELEASE) - $3"; } |
        awk -v suite="$1" '!found && ($1 == suite || $2 == suite) { found = 1; $1 = $2 = ""; sub(/^ +/, ""); print }'
}

# apt_source_of SUITE: the Debian mirror that apt fetches SUITE from, e.g. for
# debootstrap; nothing when no source names SUITE.
apt_source_of() {
    apt_index "$1" "$(dpkg --print-architecture)" '$(SITE)'
}

# apt_derived_entry SUITE NEW_SUITE: a sources entry for NEW_SUITE made from the
# one that fetches SUITE: its address, signing key, components and options,
# in the same format (deb822 or one line). Prints the entry's file name on the
# first line, then the entry.
apt_derived_entry() {
    local entry file line
    entry=$(apt_index "$1" "$(dpkg --print-architecture)" '$(SOURCESENTRY)')
    file=${entry%:*} line=${entry##*:}
    [ -n "$entry" ] || return 1
    case $file in
    *.sources)
        echo "/etc/apt/sources.list.d/$2.sources"
        # Entries are counted among the paragraphs that are not only comments.
        awk -v n="$line" -v suite="$2" 'BEGIN { RS = ""; FS = "\n" }
            { kept = ""
              for (i = 1; i <= NF; i++) {
                  if ($i ~ /^#/) continue
                  if (tolower($i) ~ /^types:/) $i = "Types: deb"
                  else if (tolower($i) ~ /^suites:/) $i = "Suites: " suite
                  kept = kept $i "\n" }
              if (kept != "" && ++entries == n) { printf "%s", kept; exit } }' "$file" ;;
    *)
        echo "/etc/apt/sources.list.d/$2.list"
        sed -n "${line}s/^\(deb[ \t]\+\(\[[^]]*\][ \t]\+\)\?[^ \t]\+[ \t]\+\)[^ \t]\+/\1$2/p" "$file" ;;
    esac
}
