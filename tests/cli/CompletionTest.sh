#!/bin/bash
# The bash completion of fa4tohtml: options after a dash, only folders after
# -d, files elsewhere and after "--". Run with the completion file as $1.
source "$1"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
mkdir "out dir" sub
: >"a b.fa4"
: >-x.fa4

failed=0
# The words of a command line whose last word is being completed.
check()
{
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _fa4tohtml 2>/dev/null
    local got
    got=$(printf '%s|' "${COMPREPLY[@]}" | tr '|' '\n' | sort | tr '\n' '|')
    if [[ $got != "$expected" ]]; then
        echo "fa4tohtml ${*:2}: offered '$got', expected '$expected'"
        failed=1
    fi
}

check '--output|--output-dir|' fa4tohtml --out
check 'out dir|sub|' fa4tohtml -d ''
check 'out dir|sub|' fa4tohtml --output-dir = ''
check '-x.fa4|a b.fa4|out dir|sub|' fa4tohtml -j 2 ''
check '-x.fa4|' fa4tohtml -- -
check '|' fa4tohtml --jobs ''
exit $failed
