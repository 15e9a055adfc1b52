#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages against the programs: every option and command --help lists is described in
# both languages' pages and no page describes one the program lacks; the exit codes --help gives
# are there; the standard sections are there; the page made for installing carries the NEWS day
# and renders without a warning and within 80 columns.
#   man_pages_test.sh PACKAGING_DIR BIN_DIR NEWS
set -uo pipefail
packaging=$1 bin=$2 news=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen

# The option words of a text: long options and -o.
options() { tr -c 'a-z0-9-' '\n' | grep -xE -- '--[a-z][a-z0-9-]*|-o' | sort -u; }
# A page's lines in one section (the .SH line's title, quotes dropped), troff's \- as -.
section() { # PAGE TITLE
    awk -v want="$2" '/^\.SH /{t=substr($0,5); gsub(/"/,"",t); on=(t==want); next} on' "$1" | sed 's/\\-/-/g'
}
# The tags of a section's .TP and .TQ entries: the line after each, font escapes dropped.
tags() { awk '/^\.T[PQ]$/{getline; print}' | sed -e 's/\\f[BIRP]//g' -e 's/^\.[A-Z]* //'; }

declare -A titles=(
    [en]="NAME|SYNOPSIS|DESCRIPTION|OPTIONS|EXIT STATUS|FILES|ENVIRONMENT|EXAMPLES|SEE ALSO"
    [ru]="ИМЯ|ОБЗОР|ОПИСАНИЕ|ПАРАМЕТРЫ|КОДЫ ЗАВЕРШЕНИЯ|ФАЙЛЫ|ОКРУЖЕНИЕ|ПРИМЕРЫ|СМ. ТАКЖЕ")
declare -A optionsTitle=([en]=OPTIONS [ru]=ПАРАМЕТРЫ) commandsTitle=([en]=COMMANDS [ru]=КОМАНДЫ)
declare -A exitTitle=([en]="EXIT STATUS" [ru]="КОДЫ ЗАВЕРШЕНИЯ")
day=$(date -u -d "$(sed -n 's/^ -- .*>  \(.*\)$/\1/p' "$news" | head -n 1)" +%Y-%m-%d)

for program in mkconf mktool mksim; do
    help=$("$bin/$program" --help) || { fail "$program --help failed"; continue; }
    helpOptions=$(options <<<"$help")
    [ -n "$helpOptions" ] || fail "$program --help names no option"
    helpCommands=$(sed -n 's/^  mktool \([a-z]\+\) .*/\1/p' <<<"$help" | sort -u)
    # The exit codes: "  0  ..." lines under the heading, or "0 ..., 1 ..." on the heading's line.
    helpCodes=$(sed -n '/^Коды завершения/,$p' <<<"$help" | grep -oE '(^ +|: |, )[0-9] ' | grep -oE '[0-9]' | sort -u)
    for language in en ru; do
        page="$packaging/man/$language/$program.1"
        what="$language/$program.1"
        [ -f "$page" ] || { fail "$what is missing"; continue; }
        IFS='|' read -ra wanted <<<"${titles[$language]}"
        for title in "${wanted[@]}"; do
            grep -qxF -e ".SH $title" -e ".SH \"$title\"" "$page" || fail "$what lacks the section $title"
        done

        pageOptions=$(section "$page" "${optionsTitle[$language]}" | tags | options)
        missing=$(comm -23 <(echo "$helpOptions") <(echo "$pageOptions"))
        extra=$(comm -13 <(echo "$helpOptions") <(echo "$pageOptions"))
        [ -z "$missing" ] || fail "$what does not describe what --help lists: $(echo $missing)"
        [ -z "$extra" ] || fail "$what describes options --help does not list: $(echo $extra)"
        if [ -n "$helpCommands" ]; then
            commands=$(section "$page" "${commandsTitle[$language]}")
            pageCommands=$(tags <<<"$commands" | awk '{print $1}' | sort -u)
            [ "$pageCommands" = "$helpCommands" ] ||
                fail "$what's commands differ from --help's: $(diff <(echo "$helpCommands") <(echo "$pageCommands") | grep '^[<>]' | tr '\n' ' ')"
            unknown=$(comm -13 <(echo "$helpOptions") <(tags <<<"$commands" | options))
            [ -z "$unknown" ] || fail "$what's commands name options --help does not list: $(echo $unknown)"
        fi
        if [ -n "$helpCodes" ]; then
            pageCodes=$(section "$page" "${exitTitle[$language]}" | tags | grep -oE '^[0-9]+$' | sort -u)
            [ "$pageCodes" = "$helpCodes" ] || fail "$what's exit codes $(echo $pageCodes) are not --help's $(echo $helpCodes)"
        fi

        # The page as installed: dated, and clean at 80 columns.
        bash "$packaging/make-manpage" "$page" 9.9.9 "$news" "$work/$program.1.gz" || { fail "make-manpage $what"; continue; }
        zcat "$work/$program.1.gz" | grep -q "^\.TH ${program^^} 1 $day \"mkconf 9.9.9\"" ||
            fail "$what's title line lacks the day $day and the version"
        if command -v man >/dev/null 2>&1; then
            warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$work/$program.1.gz" 2>&1 >"$work/out.txt")
            [ -z "$warnings" ] || fail "$what: man warns: $warnings"
            width=$(wc -L <"$work/out.txt")
            [ "$width" -le 80 ] || fail "$what runs to $width columns"
        fi
    done
done

# The checks themselves: a page that loses an option, or gains one, is caught.
sed '/^\.B \\-\\-dry\\-run$/,+1d' "$packaging/man/en/mktool.1" >"$work/lost.1"
[ -n "$(comm -23 <(options <<<"$("$bin/mktool" --help)") <(section "$work/lost.1" OPTIONS | tags | options))" ] ||
    fail "a page without --dry-run passed"

if [ "$failures" -gt 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "The manual pages describe every option and command."
