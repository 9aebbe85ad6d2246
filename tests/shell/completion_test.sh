#!/usr/bin/env bash
# The completion of quorbin-restore offers the commands, the options of a command, the rule
# names and the ftp subcommands, driven as bash drives it.
set -uo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"

failures=0
complete_line() {
    COMP_LINE="$1"
    read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quorbin_restore
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() {
    local got
    got=$(complete_line "$1")
    if [[ $got != "$2" ]]; then
        echo "FAIL: '$1' gave '$got', expected '$2'"
        failures=$((failures + 1))
    fi
}

expect "quorbin-restore ve" "verify versions "
expect "quorbin-restore dir --ru" "--rule "
expect "quorbin-restore dir X --rule " "before newest original "
expect "quorbin-restore verify --al" "--all-versions "
expect "quorbin-restore ftp --set a.set " "dir get ls verify "
expect "quorbin-restore ftp --set a.set dir --fo" "--force "
exit $((failures > 0))
