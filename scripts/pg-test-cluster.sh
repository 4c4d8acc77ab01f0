#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: it listens only on a Unix socket inside its own
# folder, runs without fsync, and is removed when stopped.
#
#   eval "$(scripts/pg-test-cluster.sh start DIR)"   # prints export QUORVANE_TEST_PG=...
#   scripts/pg-test-cluster.sh stop DIR
#   scripts/pg-test-cluster.sh run [DIR] -- COMMAND...  # start, run COMMAND, stop and remove
#
# Run as root, the server runs as the unprivileged user `nobody`.
set -euo pipefail

Marker=.quorvane-test-cluster
RunAs=nobody

usage()
{
    sed -n '5,7p' "$0" | sed 's/^#   /usage: /' >&2
    exit 2
}

bindir()
{
    local dir
    dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
    if [ -z "$dir" ] || [ ! -x "$dir/initdb" ]; then
        echo "PostgreSQL is not installed (apt-get install postgresql)" >&2
        exit 1
    fi
    echo "$dir"
}

# Runs a command as the cluster's owner: the unprivileged user when this script is root.
as_owner()
{
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid="$RunAs" --regid="$(id -g "$RunAs")" --clear-groups -- "$@"
    else
        "$@"
    fi
}

start()
{
    local dir=$1 bin
    bin=$(bindir)
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    if [ -n "$(ls -A "$dir")" ]; then
        echo "$dir is not empty; give a new or empty folder" >&2
        exit 1
    fi
    touch "$dir/$Marker"
    chmod 700 "$dir"
    [ "$(id -u)" -eq 0 ] && chown "$RunAs:$(id -gn "$RunAs")" "$dir"
    if ! as_owner test -w "$dir"; then
        echo "$RunAs cannot reach $dir; put it under /tmp" >&2
        exit 1
    fi
    as_owner "$bin/initdb" -D "$dir/data" -U quorvane --auth=trust --encoding=UTF8 \
        --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1 || {
        cat "$dir/initdb.log" >&2
        exit 1
    }
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -s \
        -o "-c listen_addresses='' -c unix_socket_directories='$dir' -c fsync=off \
            -c synchronous_commit=off -c full_page_writes=off" start >&2 || {
        cat "$dir/server.log" >&2
        exit 1
    }
    printf "export QUORVANE_TEST_PG=%q\n" "host=$dir user=quorvane dbname=postgres"
}

stop()
{
    local dir=$1
    [ -d "$dir" ] || return 0
    if [ ! -e "$dir/$Marker" ]; then
        echo "$dir was not made by this script; it is left alone" >&2
        exit 1
    fi
    if [ -e "$dir/data/postmaster.pid" ]; then
        as_owner "$(bindir)/pg_ctl" -D "$dir/data" -s -m immediate stop >&2 || true
    fi
    rm -rf "$dir"
}

command=${1:-}
shift || true
case "$command" in
start)
    [ $# -eq 1 ] || usage
    start "$1"
    ;;
stop)
    [ $# -eq 1 ] || usage
    stop "$1"
    ;;
run)
    dir=""
    if [ $# -gt 0 ] && [ "$1" != "--" ]; then
        dir=$1
        shift
    fi
    [ "${1:-}" = "--" ] && shift
    [ $# -gt 0 ] || usage
    [ -n "$dir" ] || dir=$(mktemp -d /tmp/quorvane-pg.XXXXXX)
    trap 'stop "$dir"' EXIT
    eval "$(start "$dir")"
    "$@"
    ;;
*)
    usage
    ;;
esac
