# Builds a static Qt from Debian's own qt6-base source package, once, into
# ${XDG_CACHE_HOME:-~/.cache}/korvale/qt-<version>-<flavour>-<key>, and reuses it afterwards.
# The key is made from the Qt version, the compiler's version and the options, so that a change to
# any of them builds a new Qt. Debian's own Qt (the same version) serves as the host tools.
# Sourced by the release scripts, which define step and die.

. "$(dirname "${BASH_SOURCE[0]}")/debian-mirror.sh"

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_cache=${XDG_CACHE_HOME:-$HOME/.cache}/korvale

# qt_folder FLAVOUR COMPILER_VERSION OPTION...: prints the cache folder of that Qt.
qt_folder() {
    local flavour=$1 compiler_version=$2
    shift 2
    local key
    key=$(printf '%s\n' "$qt_version" "$compiler_version" "$@" | sha256sum | cut -c1-12)
    echo "$qt_cache/qt-${qt_version%%+*}-$flavour-$key"
}

# qt_fetch_source WORK: Debian's qt6-base source, its patches applied, in WORK/src/qtbase. A deb-src
# entry of our own, for the mirror the system's apt uses, is used beside the system's apt sources,
# which stay as they are.
qt_fetch_source() {
    local work=$1 suites
    mkdir -p "$work/apt/sources.list.d" "$work/apt/lists/partial" "$work/src"
    step "fetching Debian's qt6-base $qt_version source"
    local mirror
    mirror=$(debian_mirror "$(. /etc/os-release && echo "$VERSION_CODENAME")")
    suites=$(debian_suites "$mirror")
    cat >"$work/apt/sources.list.d/debian-src.sources" <<SOURCES
Types: deb-src
URIs: $mirror
Suites: $suites
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    local apt_private=(-o Dir::Etc::SourceList=/dev/null
                       -o Dir::Etc::SourceParts="$work/apt/sources.list.d"
                       -o Dir::State::Lists="$work/apt/lists"
                       -o Dir::Cache::pkgcache="" -o Dir::Cache::srcpkgcache="")
    apt-get "${apt_private[@]}" update -qq >"$work/fetch.log" 2>&1 \
        && (cd "$work/src" && apt-get "${apt_private[@]}" source --download-only \
                "qt6-base=$qt_version") >>"$work/fetch.log" 2>&1 \
        || { cat "$work/fetch.log" >&2; die "could not fetch the qt6-base source"; }
    (cd "$work/src" && dpkg-source --no-check -x ./*.dsc qtbase) >>"$work/fetch.log" 2>&1 \
        || { cat "$work/fetch.log" >&2; die "could not unpack the qt6-base source"; }
}

# qt_build QT LABEL OPTION...: configures, builds and installs Qt into QT, with its licence texts.
qt_build() {
    local qt=$1 label=$2
    shift 2
    local work=${qt%/*}/qt-build-${qt##*-} started=$SECONDS
    rm -rf "$qt" "$work"
    qt_fetch_source "$work"
    step "configuring $label (log: $work/build.log)"
    cmake -S "$work/src/qtbase" -B "$work/build" "$@" -DCMAKE_INSTALL_PREFIX="$qt" \
        >"$work/build.log" 2>&1 || { tail -50 "$work/build.log" >&2; die "Qt did not configure"; }
    step "building $label: about 1,000 steps, 20 to 30 minutes on 2 cores (niced)"
    nice -n 19 cmake --build "$work/build" -j"$(nproc)" >>"$work/build.log" 2>&1 \
        || { tail -50 "$work/build.log" >&2; die "Qt did not build"; }
    cmake --install "$work/build" >>"$work/build.log" 2>&1 \
        || { tail -50 "$work/build.log" >&2; die "Qt did not install"; }
    mkdir -p "$qt/licenses"
    cp "$work/src/qtbase/LICENSES/"* "$qt/licenses/"
    cp "$work/src/qtbase/debian/copyright" "$qt/licenses/debian-copyright"
    # The stamp is written last: a build cut off midway leaves a folder without it, which is rebuilt.
    printf 'Qt %s, built in %d s\n' "$qt_version" $((SECONDS - started)) >"$qt/korvale-build-complete"
    rm -rf "$work"
}

# qt_cached QT LABEL OPTION...: builds Qt into QT unless a finished build is there; one at a time.
qt_cached() {
    local qt=$1 label=$2 stamp=$1/korvale-build-complete
    mkdir -p "$qt_cache"
    exec 9>"$qt_cache/qt-${qt##*-}.lock"
    flock 9
    if [ -f "$stamp" ]; then
        step "reusing $label in $qt ($(cat "$stamp"))"
    else
        qt_build "$@"
        step "$label is in $qt ($(cat "$stamp"))"
    fi
    flock -u 9
}

# qt_licenses QT DEST: Qt's licence texts, as .txt files, into DEST.
qt_licenses() {
    mkdir -p "$2"
    find "$1/licenses" -type f | while read -r file; do
        cp "$file" "$2/$(basename "$file" .txt).txt"
    done
}
