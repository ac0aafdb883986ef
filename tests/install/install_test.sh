#!/usr/bin/env bash
# The installed tree as a user gets it. Usage: install_test.sh CHECK
#   setup    cmake --install into a staging prefix, then move the whole tree
#            elsewhere: every later check runs on the moved tree, so the
#            programs' run path, tesmo.pc and the CMake package must not
#            name the prefix they were installed to
#   cleanup  removes the tree
#   others   one check each, below
# Environment (from CTest): SRC, BIN (the build tree), WORK (a scratch folder
# of this test), BUILD_TYPE, DESKTOP (1 when the desktop program is built),
# SANITIZED (1 in a sanitizer build: other programs cannot link the library).
set -euo pipefail
prefix=$WORK/prefix
skip=77

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

need() {
    command -v "$1" >/dev/null || fail "$1 is not installed (scripts/setup installs it)"
}

check_setup() {
    rm -rf "$WORK"
    mkdir -p "$WORK"
    cmake --install "$BIN" --prefix "$WORK/staging" >"$WORK/install.log"
    mv "$WORK/staging" "$prefix"
}

check_cleanup() {
    rm -rf "$WORK"
}

check_files() {
    local type
    type=$(tr '[:upper:]' '[:lower:]' <<<"$BUILD_TYPE")
    grep -v '^#' "$SRC/tests/install/installed_files.txt" |
        { if [ "$DESKTOP" = 1 ]; then cat; else grep -v ' desktop$'; fi; } |
        sed -e 's/ desktop$//' -e "s/-release\.cmake$/-$type.cmake/" | sort >"$WORK/expected"
    (cd "$prefix" && find . \( -type f -o -type l \) -printf '%P\n' | sort) >"$WORK/found"
    diff -u "$WORK/expected" "$WORK/found" || fail "installed files differ (- expected, + found)"
    [ "$(readlink "$prefix/lib/libtesmo.so")" = libtesmo.so.0 ] || fail "libtesmo.so link"
    [ "$(readlink "$prefix/lib/libtesmo.so.0")" = libtesmo.so.0.5.0 ] || fail "libtesmo.so.0 link"
    readelf -d "$prefix/lib/libtesmo.so.0.5.0" | grep -q 'SONAME.*\[libtesmo\.so\.0\]' ||
        fail "SONAME is not libtesmo.so.0"
    local program
    for program in "$prefix"/bin/*; do
        readelf -d "$program" | grep -q 'RUNPATH.*\[\$ORIGIN/\.\./lib\]' ||
            fail "$program: run path is not \$ORIGIN/../lib"
        ! ldd "$program" | grep 'not found' || fail "$program: libraries not found"
    done
}

check_desktop() {
    [ "$DESKTOP" = 1 ] || { echo "the desktop program is not built"; exit $skip; }
    need desktop-file-validate
    need appstreamcli
    local out
    out=$(desktop-file-validate "$prefix"/share/applications/*.desktop 2>&1) || fail "$out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    grep -qx 'Icon=vorlan' "$prefix"/share/applications/*.desktop || fail "Icon= is not vorlan"
    out=$(appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml 2>&1) || fail "$out"
    ! grep -E '^[EW]:' <<<"$out" || fail "appstreamcli: $out"
}

check_manpages() {
    need man
    local page err
    for page in "$prefix"/share/man/man1/*.1; do
        err=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) ||
            fail "$page: man failed: $err"
        [ -z "$err" ] || fail "$page: $err"
    done
}

# Every long option vorlan-count --help lists has its block in the manual
# page and its row in the completion.
check_options() {
    local name missing=()
    for name in $("$prefix/bin/vorlan-count" --help | sed -nE 's/^ +(-[a-zA-Z], )?--([a-z-]+).*/\2/p'); do
        grep -qE "^\.B[IR]? .*\\\\-\\\\-${name//-/\\\\-}([ =]|$)" "$prefix/share/man/man1/vorlan-count.1" ||
            missing+=("manual page: --$name")
        grep -qE "^ +\"--$name[=\"]" "$prefix/share/bash-completion/completions/vorlan-count" ||
            missing+=("completion: --$name")
    done
    [ ${#missing[@]} -eq 0 ] || fail "options without their block: ${missing[*]}"
}

# A five-line C program built against the installed library, the one way or
# the other, must print the first word and the library's version.
run_consumer() {
    [ "$SANITIZED" != 1 ] || { echo "the library is built with sanitizers"; exit $skip; }
    local out
    out=$("$1") || fail "$1 failed"
    [ "$out" = "Hello 5" ] || fail "$1 printed '$out'"
}

check_pkgconfig() {
    need pkg-config
    local flags
    flags=$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs tesmo)
    mkdir -p "$WORK/pc"
    # shellcheck disable=SC2086 # the flags are words
    cc -o "$WORK/pc/use_tesmo" "$SRC/tests/install/use_tesmo.c" $flags \
        -Wl,-rpath,"$(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --variable=libdir tesmo)"
    run_consumer "$WORK/pc/use_tesmo"
}

check_cmake_package() {
    cmake -S "$SRC/tests/install/consumer" -B "$WORK/cm" -DCMAKE_PREFIX_PATH="$prefix" >"$WORK/cm.log"
    cmake --build "$WORK/cm" >>"$WORK/cm.log" || { cat "$WORK/cm.log"; fail "consumer build"; }
    run_consumer "$WORK/cm/use_tesmo"
}

# The installed program counts the samples as the built one does, started
# from another folder.
check_vorlan_count() {
    mkdir -p "$WORK/elsewhere"
    cd "$WORK/elsewhere"
    : >empty.ini
    local lib
    lib=$(ldd "$prefix/bin/vorlan-count" | sed -n 's/.*libtesmo\.so\.0 => \(.*\) (.*/\1/p')
    [ "$(realpath "$lib")" = "$(realpath "$prefix/lib/libtesmo.so.0")" ] ||
        fail "the installed vorlan-count uses '$lib', not the installed library"
    "$prefix/bin/vorlan-count" --version | grep -q '^vorlan-count (Vorlan) ' || fail "--version"
    "$prefix/bin/vorlan-count" --profile=empty.ini --subdir "$SRC/samples" >installed.txt
    "$BIN/bin/vorlan-count" --profile=empty.ini --subdir "$SRC/samples" >built.txt
    [ -s installed.txt ] && cmp installed.txt built.txt || fail "the reports differ"
}

check_completion() {
    # shellcheck source=/dev/null
    source "$prefix/share/bash-completion/completions/vorlan-count"
    local line expected got
    while IFS='|' read -r line expected; do
        COMP_LINE=$line COMP_POINT=${#line} COMPREPLY=()
        _vorlan_count || true # compopt fails outside a completion; errexit is off here
        got=${COMPREPLY[*]}
        [ "$got" = "$expected" ] || fail "completing '$line' gave '$got', not '$expected'"
    done <<'EOF'
vorlan-count --or|--order=
vorlan-count --order=|abc zyx tail freq lowfreq
vorlan-count --order=low|lowfreq
vorlan-count --format |tsv csv json
vorlan-count --html --enc|--encoding=
vorlan-count --ver|--version
EOF
}

"check_$1"
