# bash completion for vorlan-count                         -*- shell-script -*-

_vorlan_count() {
    # One row per option, as --help lists them: the option, then after "="
    # the values it takes (@file: a file name); no "=" for an option without
    # a value. A new option is one more row.
    local -a table=(
        "--order=abc zyx tail freq lowfreq"
        "--percent"
        "--subdir"
        "--binary"
        "--html"
        "--encoding=sjis utf8 detect"
        "--segment=type dictionary lemma"
        "--profile=@file"
        "-h"
        "--help"
        "--version"
        "--format=tsv csv json"
        "--output=@file"
        "--kwic="
        "--context="
        "--kwic-sort=1L 2L 3L 1R 2R 3R file"
        "--raw"
        "--collocates="
        "--span="
        "--min="
    )
    # The words are taken from the line itself: bash splits "--order=abc" at
    # the "=" or not, as COMP_WORDBREAKS says.
    local line=${COMP_LINE:0:COMP_POINT}
    local cur=${line##*[[:space:]]}
    local before=${line%"$cur"}
    before=${before%"${before##*[![:space:]]}"}
    local prev=${before##*[[:space:]]}
    local row option="" value="" prefix=""

    if [[ $cur == --*=* ]]; then
        option=${cur%%=*} value=${cur#*=}
        [[ $COMP_WORDBREAKS == *=* ]] || prefix="$option="
    elif [[ $cur != -* && $prev == -* && $prev != *=* ]]; then
        option=$prev value=$cur
    fi
    if [[ -n $option ]]; then
        for row in "${table[@]}"; do
            [[ $row == "$option="* ]] || continue
            row=${row#*=}
            if [[ $row == @file ]]; then
                compopt -o filenames 2>/dev/null
                mapfile -t COMPREPLY < <(compgen -f -- "$value")
            else
                mapfile -t COMPREPLY < <(compgen -W "$row" -- "$value")
            fi
            COMPREPLY=("${COMPREPLY[@]/#/$prefix}")
            return 0
        done
    fi

    if [[ $cur == -* ]]; then
        local -a names=()
        for row in "${table[@]}"; do
            [[ $row == *=* ]] && names+=("${row%%=*}=") || names+=("$row")
        done
        mapfile -t COMPREPLY < <(compgen -W "${names[*]}" -- "$cur")
        if [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]]; then
            compopt -o nospace 2>/dev/null
        fi
        return 0
    fi
    # DIRECTORY (or one file), then PATTERN, or - for standard input.
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}
complete -F _vorlan_count vorlan-count
