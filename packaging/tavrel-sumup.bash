# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

# bash completion for tavrel-sumup, installed as
# share/bash-completion/completions/tavrel-sumup and loaded by bash-completion
# the first time the command is completed.
#
# Options complete by name; a table's FILE completes the .csv files of the
# source folder once it is on the line (a relative FILE is a name in it),
# else of the current folder; DIR values and the source folder complete
# folders; a date offers today's date; texts complete nothing.

# The source folder on the line: the first word that is neither an option
# nor an option's value.
_tavrel_sumup_source_dir()
{
    local i word
    for ((i = 1; i < ${#words[@]}; i++)); do
        ((i == cword)) && continue
        word=${words[i]}
        case $word in
        --)
            ((i + 1 != cword)) && printf '%s' "${words[i + 1]-}"
            return ;;
        --*=*) ;;
        --kamoku | --tantosha | --zandaka | --kinsen | --output | --today | \
            --org | --year-title | --treasurer | --auditor | --report-date | --next-year)
            ((i++)) ;;
        -*) ;;
        *)
            printf '%s' "$word"
            return ;;
        esac
    done
}

_tavrel_sumup()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
    --kamoku | --tantosha | --zandaka | --kinsen)
        local source_dir
        source_dir=$(_tavrel_sumup_source_dir)
        source_dir=${source_dir/#\~/$HOME}
        if [[ -n $source_dir && -d $source_dir && $cur != /* ]]; then
            local name
            COMPREPLY=()
            while IFS= read -r name; do
                [[ -d $name || $name == *.[cC][sS][vV] ]] || continue
                [[ -d $name ]] && name+=/
                COMPREPLY+=("${name#"$source_dir"/}")
            done < <(compgen -f -- "$source_dir/$cur")
            # A folder is completed further, a file ends the word.
            compopt -o filenames 2>/dev/null
            [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == */ ]] &&
                compopt -o nospace 2>/dev/null
        else
            _filedir '[cC][sS][vV]'
        fi
        return ;;
    --output | --next-year)
        _filedir -d
        return ;;
    --today | --report-date)
        COMPREPLY=($(compgen -W "$(date +%Y-%m-%d)" -- "$cur"))
        return ;;
    --org | --year-title | --treasurer | --auditor)
        return ;;
    esac

    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--kamoku --tantosha --zandaka --kinsen
            --output --today --reports --pdf --pdf-books --org --year-title
            --treasurer --auditor --report-date --next-year --help --version' \
            -- "$cur"))
        return
    fi

    _filedir -d
} &&
    complete -F _tavrel_sumup tavrel-sumup
