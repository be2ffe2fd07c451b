#!/usr/bin/env bash
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion of zevra-cli, as installed: for each command line below
# (the cursor at "|") it must offer exactly the words after "=>". The words
# are split as bash splits them ("=" a word of its own); each case runs
# without the bash-completion package and with it.
# Usage: test_completion.sh COMPLETION_FILE SCRATCH_DIR
set -uo pipefail
completion=$(realpath "$1") scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch/dir" && cd "$scratch" || exit 1
touch obec.txt obce.csv vysledky.html
cases='
zevra-cli |                               => batch evaluate sensitivity validate
zevra-cli e|                              => evaluate
zevra-cli --format json |                 => batch evaluate sensitivity validate
zevra-cli --format json evaluate o|       => obce.csv obec.txt
zevra-cli --format=json e|                => evaluate
zevra-cli --format=json evaluate obec.t|  => obec.txt
zevra-cli --data dir |                    => batch evaluate sensitivity validate
zevra-cli --data=dir validate o|          => obce.csv obec.txt
zevra-cli --draws 5 sensitivity obec.t|   => obec.txt
zevra-cli evaluate obec.txt --format |    => json markup rtf text
zevra-cli evaluate obec.txt --format r|   => rtf
zevra-cli evaluate obec.txt --format=t|   => text
zevra-cli evaluate --format json o|       => obce.csv obec.txt
zevra-cli batch obce.csv v|               => vysledky.html
zevra-cli batch obce.csv - --format |     => html json xlsx
zevra-cli batch --format=x|               => xlsx
zevra-cli batch --f|                      => --format
zevra-cli --format |                      => html json markup rtf text xlsx
zevra-cli --data d|                       => dir
zevra-cli --d|                            => --data --draws
zevra-cli validate --d|                   => --data
zevra-cli evaluate --f|                   => --format
zevra-cli -- v|                           => validate
zevra-cli -- validate --f|                =>
'
failed=0
run_cases() {  # $1: plain (no bash-completion) or full: for the messages
  local line expected typed words w reply
  while IFS= read -r line; do
    [[ $line == *"=>"* ]] || continue
    expected=$(echo ${line#*=>})
    typed=${line%%|*}
    read -ra words <<<"$typed"
    [[ $typed == *" " ]] && words+=("")
    local split=()
    for w in "${words[@]}"; do
      if [[ $w == --*=* ]]; then split+=("${w%%=*}" "=" "${w#*=}"); else split+=("$w"); fi
    done
    words=("${split[@]}")
    COMP_WORDS=("${words[@]}") COMP_CWORD=$((${#words[@]} - 1))
    COMP_LINE=$typed COMP_POINT=${#typed} COMPREPLY=()
    _zevra_cli zevra-cli "${words[-1]}" "${words[-2]}"
    reply=$(printf '%s\n' "${COMPREPLY[@]}" | sed 's|/$||' | sort | xargs)
    if [[ $reply != "$expected" ]]; then
      echo "FAIL ($1): '$typed|' offers '$reply', expected '$expected'" >&2
      failed=$((failed + 1))
    fi
  done <<<"$cases"
}

(
  # shellcheck source=/dev/null
  source "$completion"
  run_cases plain
  exit "$failed"
) || failed=1
(
  # shellcheck source=/dev/null
  source /usr/share/bash-completion/bash_completion && source "$completion" || exit 1
  run_cases full
  exit "$failed"
) || failed=1
[[ $failed -eq 0 ]] || { echo "FAIL: bash completion" >&2; exit 1; }
echo "OK bash completion: $(grep -c '=>' <<<"$cases") cases, with and without bash-completion"
