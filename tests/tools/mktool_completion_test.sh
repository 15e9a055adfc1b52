#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# mktool's bash completion, run through its completion function as bash would on Tab: with
# bash-completion's helpers when they are installed, and without them.
#   mktool_completion_test.sh COMPLETION_FILE MKTOOL_DIR
set -uo pipefail
completion=$1
export PATH="$2:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mktool new --model 0x0101 --version 0 -o car.tcset >/dev/null || { echo "mktool new failed"; exit 1; }
touch profile.json notes.txt "other car.tcset"
mkdir folder

run_cases() { # MODE: the same cases, in a shell with or without bash-completion
    bash -c '
        mode=$1 completion=$2
        [ "$mode" = full ] && source /usr/share/bash-completion/bash_completion
        source "$completion"
        failures=0
        complete -p mktool | grep -q -- "-F _mktool" || { echo "[$mode] mktool has no completion: $(complete -p mktool 2>&1)"; exit 1; }
        # expect WANT WORDS...: the candidates for the last word hold every one of WANT (comma-separated;
        # "!x" for one they must not hold).
        expect() {
            local want=$1; shift
            COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
            COMPREPLY=()
            _mktool
            local got w
            got=$(printf "|%s" "${COMPREPLY[@]}")"|"
            IFS=, read -r -a want <<<"$want"
            for w in "${want[@]}"; do
                if [[ $w == !* ]]; then
                    [[ $got == *"|${w#!}|"* ]] || continue
                else
                    [[ $got == *"|$w|"* ]] && continue
                fi
                echo "[$mode] mktool ${*:2}<Tab>: expected ${w}, got:${got}"
                failures=$((failures + 1))
            done
        }
        expect "read,write,set,diff,catalog,history,--help,!--json"      mktool ""
        expect "diff,doctor,dump,!write"                                 mktool d
        expect "AirFiltCntK=,AirFiltCntKUse=,!AllPathStart="              mktool set car.tcset AirF
        expect "Blocks.ABS\\ Ford=,Blocks.ABS\\ 8/9="                     mktool set car.tcset Blocks.ABS
        expect "car.tcset,other car.tcset,folder,!profile.json,!notes.txt" mktool write ""
        expect "profile.json,folder,!car.tcset"                          mktool apply ""
        expect "car.tcset,!profile.json"                                 mktool apply profile.json ""
        expect "--port,--wait,--dry-run,--take,!--model"                mktool write car.tcset --
        expect "0x0001,0x0101,!0x0000"                                   mktool new --model ""
        expect "0x0101,0x0103,!0x0001"                                   mktool catalog params --model 0x01
        expect "models,params,protocols,menu"                            mktool catalog ""
        expect "add,show,cars"                                           mktool history ""
        expect "plain,excel-ru"                                          mktool history show --csv-dialect ""
        expect "x6,hotmenu,x4:"                                          mktool render car.tcset --screen ""
        expect "folder,!car.tcset"                                       mktool backups --dir ""
        expect "read,write,doctor"                                       mktool --trace - ""
        expect "car.tcset,folder"                                        mktool --trace ""
        expect "--port,--wait,!--model"                                  mktool --trace t.log write car.tcset --
        [ "$failures" -eq 0 ] || { echo "[$mode] $failures case(s) failed"; exit 1; }
        echo "[$mode] all cases pass"
    ' bash "$1" "$completion"
}

status=0
run_cases plain || status=1
if [ -f /usr/share/bash-completion/bash_completion ]; then
    run_cases full || status=1
else
    echo "bash-completion is not installed: its helpers are not tried"
fi
exit $status
