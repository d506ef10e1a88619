# Where this machine's apt takes Debian from, so that a user's own mirror or proxy serves the
# build scripts too and no script names a mirror of its own. Sourced; the caller defines die.

# debian_mirror SUITE: the URI of the apt source that serves Debian's SUITE here, without a final
# slash.
debian_mirror() {
    local uri
    uri=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' 2>/dev/null \
          | awk -v suite="$1" '$1 == suite { print $2; exit }')
    [ -n "$uri" ] || die "this machine's apt has no source for Debian's $1 (see /etc/apt/sources.list.d)"
    echo "${uri%/}"
}

# debian_suites URI: the suites that apt takes from URI, on one line.
debian_suites() {
    apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 2>/dev/null \
        | awk -v uri="$1" '$1 == uri || $1 == uri "/" { print $2 }' | sort -u | xargs
}

# Hands apt's own HTTP proxy, if it has one, to tools that take it from the environment.
debian_proxy() {
    local proxy=
    eval "$(apt-config shell proxy Acquire::http::Proxy)"
    if [ -n "$proxy" ] && [ -z "${http_proxy:-}" ]; then
        export http_proxy=$proxy
    fi
}
