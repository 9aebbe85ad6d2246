# bash completion for quorbin-restore
_quorbin_restore()
{
    local cur prev words cword
    _init_completion || return

    local commands="decode file set versions dir verify find ftp"
    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    case $prev in
        --rule)
            COMPREPLY=($(compgen -W "original before newest" -- "$cur"))
            return ;;
        --set)
            _filedir set
            return ;;
        --key-file)
            _filedir
            return ;;
        --to)
            _filedir -d
            return ;;
        --jobs)
            COMPREPLY=($(compgen -W "1 2 4 8 16 32" -- "$cur"))
            return ;;
        --before | --date | --trust-certificate)
            return ;;
    esac

    local command=${words[1]} options
    case $command in
        decode) options="--dir" ;;
        file) options="--date --set --key-file" ;;
        set) options="--show-secrets" ;;
        versions) options="--set" ;;
        dir) options="--to --rule --before --ask --set --key-file --dry-run --jobs" ;;
        verify) options="--set --key-file --all-versions --jobs" ;;
        find) options="--set --versions" ;;
        ftp)
            options="--set --no-tls --require-tls --dirservice --no-dirservice --trust-certificate --to --rule --before --ask --dry-run --jobs --force --all-versions"
            local word
            for word in "${words[@]:2:cword-2}"; do
                case $word in ls | get | dir | verify) break ;; esac
                word=
            done
            if [[ -z $word && $cur != -* ]]; then
                COMPREPLY=($(compgen -W "ls get dir verify" -- "$cur"))
                return
            fi ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        return
    fi
    _filedir
}
complete -F _quorbin_restore quorbin-restore
