# Fetches Debian source packages through a private deb-src list, for the
# scripts that cross-build the libraries.  Source it, then:
#   srcdir=$(fetch_debian_source <source package> <work folder>)
# unpacks the package into <work folder>/src and prints the folder it made.
# The apt lists live in <build>/debian-sources and are updated once per run.

# The machine's own Debian sources, turned into source entries.  Only
# entries of this release's suites are kept, so third-party repositories
# without source packages do not break the update.
write_deb_src_lists() {
    local apt_dir=$1 codename f
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    : > "$apt_dir/sources.list"
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk -v c="$codename" '$1 == "deb" {
            suite = ""; n = 0
            for (i = 2; i <= NF; i++) {
                if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; continue }
                n++; if (n == 2) { suite = $i; break }
            }
            if (suite == c || index(suite, c "-") == 1) { sub(/^deb[ \t]/, "deb-src "); print }
        }' "$f" >> "$apt_dir/sources.list"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk -v c="$codename" '
            function flush() {
                if (keep && stanza != "") printf "%s\n", stanza
                stanza = ""; keep = 0
            }
            /^[ \t]*$/ { flush(); next }
            /^Types:/ { if ($0 ~ /[ \t]deb([ \t]|$)/) { stanza = stanza "Types: deb-src\n" } ; next }
            /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == c || index($i, c "-") == 1) keep = 1 }
            { stanza = stanza $0 "\n" }
            END { flush() }
        ' "$f" > "$apt_dir/sources.list.d/$(basename "$f")"
    done
}

deb_src_apt_opts() {
    local apt_dir=$1
    deb_src_opts=(
        -o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
        -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir/cache"
        -o "Dir::State::status=/var/lib/dpkg/status"
        -o "APT::Sandbox::User=$(id -un)"
        -o "Debug::NoLocking=1"
    )
}

fetch_debian_source() {
    local package=$1 work=$2 apt_dir srcdir
    apt_dir=$(realpath -m "${build:?}/debian-sources")
    deb_src_apt_opts "$apt_dir"
    if [ ! -f "$apt_dir/.updated-$$" ]; then
        rm -f "$apt_dir"/.updated-*
        mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
        write_deb_src_lists "$apt_dir"
        apt-get "${deb_src_opts[@]}" -qq update >&2
        touch "$apt_dir/.updated-$$"
    fi
    echo "setup: fetching the $package source package" >&2
    rm -rf "$work/src"
    mkdir -p "$work/src"
    # The newest version first; a mirror that lacks one (security updates
    # are not always mirrored) falls back to the next.
    local version fetched=
    for version in $(apt-cache "${deb_src_opts[@]}" showsrc "$package" 2>/dev/null |
                     awk '/^Version:/ { print $2 }' | sort -u -r -V); do
        rm -rf "$work/src"/*
        if (cd "$work/src" && apt-get "${deb_src_opts[@]}" -qq source "$package=$version" >/dev/null 2>&1); then
            fetched=$version
            break
        fi
    done
    [ -n "$fetched" ] || { echo "setup: the $package source package could not be fetched" >&2; return 1; }
    srcdir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d | head -1)
    [ -n "$srcdir" ] || { echo "setup: $package source not found" >&2; return 1; }
    echo "$srcdir"
}
