# Bash completion of tobal31-cli: its commands and each command's options,
# read from the tool's own help so that they never fall behind it.

_tobal31_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local i orden="" salida=""
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --datos) ((i++)) ;;
            -*) ;;
            *)
                if [[ -z $orden ]]; then
                    orden=${COMP_WORDS[i]}
                elif [[ -z $salida ]]; then
                    salida=${COMP_WORDS[i]}
                fi
                ;;
        esac
    done
    case $prev in
        --datos | --destino)
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return
            ;;
        --pdf)
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return
            ;;
    esac
    local palabras
    if [[ -z $orden ]]; then
        palabras="--datos --help $(LC_ALL=C.UTF-8 tobal31-cli --help 2>/dev/null |
            sed -n '/^Órdenes:/,$ s/^  \([a-z][a-z]*\) .*/\1/p')"
    else
        local ayuda
        ayuda=$(LC_ALL=C.UTF-8 tobal31-cli "$orden" --help 2>/dev/null)
        palabras="--help $(grep -o -- '--[a-zñ-]*[a-zñ]' <<<"$ayuda" | grep -vx -- '--datos' | sort -u)"
        # The outputs of imprimir come first, as a word of their own.
        if [[ $orden == imprimir && -z $salida && $cur != -* ]]; then
            palabras=$(sed -n '/^SALIDA es una de:/,/^$/ s/^  \([a-z][a-z]*\) .*/\1/p' <<<"$ayuda")
        fi
    fi
    mapfile -t COMPREPLY < <(compgen -W "$palabras" -- "$cur")
}
complete -o default -F _tobal31_cli tobal31-cli
