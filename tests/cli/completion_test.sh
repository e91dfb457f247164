#!/usr/bin/env bash
# The bash completion of tessna-cli, run as bash runs it: the words of a command line in
# COMP_WORDS, the completion function called, COMPREPLY checked. tessna-cli itself (from BIN)
# lists the catalogs of a temporary folder.
#
#   completion_test.sh COMPLETION_FILE BIN
set -euo pipefail
completion=$1
export PATH="$2:$PATH"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
for name in Backup 'My Photos' 写真; do
  tessna-cli --folder "$folder" new "$name" >/dev/null
done

# shellcheck source=/dev/null
source "$completion"
failures=0

# expect "WORD WORD ... CURRENT" "EXPECTED REPLIES, one a line"
expect()
{
  local line=$1 wanted=$2 got
  read -r -a COMP_WORDS <<< "$line"
  [[ $line == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _tessna_cli
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort)
  wanted=$(printf '%s\n' "$wanted" | sed '/^$/d' | sort)
  if [[ $got != "$wanted" ]]; then
    printf 'completing "%s":\n  wanted: %s\n  got:    %s\n' "$line" "${wanted//$'\n'/ | }" "${got//$'\n'/ | }"
    failures=$((failures + 1))
  fi
}

names=$'Backup\nMy\\ Photos\n写真'
expect "tessna-cli " $'list\nshow\ntext\nnew\nadd\nremove\nrename\ndelete\nfiles'
expect "tessna-cli re" $'remove\nrename'
expect "tessna-cli --" $'--folder\n--help\n--version'
expect "tessna-cli --folder $folder sh" "show"
expect "tessna-cli --folder $folder show " "$names"
expect "tessna-cli --folder=$folder delete M" 'My\ Photos'
expect "tessna-cli --folder $folder files 写" "写真"
expect "tessna-cli --folder $folder files Backup " "-0"
expect "tessna-cli --folder $folder files -0 " "$names"
expect "tessna-cli --folder $folder rename Backup " ""
expect "tessna-cli --folder $folder new X" ""
expect "tessna-cli --folder $folder list " ""
# Paths after the name: the files of the current folder.
cd "$folder"
expect "tessna-cli add Backup Back" "Backup.VrCat"
expect "tessna-cli --folder $folder add Z" ""

[[ $failures -eq 0 ]] || exit 1
echo "Every completion is as expected."
