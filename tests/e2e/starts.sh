# Starting the desktop program in the end-to-end runs, so that a start that
# goes wrong can be told afterwards. Each start runs in a folder of its own
# under $work, which keeps the program's output and, should it be killed by
# a signal, its core dump; report_starts prints both, with a backtrace of
# every thread from the core. Needs $bin (the folder of fenwir) and $work;
# sourced after waiting.sh.
ulimit -c unlimited 2>/dev/null || true
starts=0

# Starts fenwir with these arguments in the background; its pid is fenwir_pid.
start_fenwir() {
    starts=$((starts + 1))
    local dir=$work/start-$starts
    mkdir -p "$dir"
    (cd "$dir" && exec "$bin/fenwir" "$@") >"$dir/fenwir.log" 2>&1 &
    fenwir_pid=$!
}

# Runs fenwir with these arguments to its end and returns its status.
run_fenwir() {
    starts=$((starts + 1))
    local dir=$work/start-$starts
    mkdir -p "$dir"
    (cd "$dir" && exec "$bin/fenwir" "$@") >"$dir/fenwir.log" 2>&1
}

# The main window of the fenwir started last; fails as soon as that program
# has ended, rather than waiting for a window that cannot come.
main_window() {
    local id
    for _ in $(seq "$wait_tenths"); do
        id=$(xdotool search --onlyvisible --name "Fenwir  Lite" 2>/dev/null | head -n 1) || true
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        if ! kill -0 "$fenwir_pid" 2>/dev/null; then
            echo "fenwir ended before its window appeared" >&2
            return 1
        fi
        sleep 0.1
    done
    echo "no window named Fenwir  Lite" >&2
    return 1
}

# What every start wrote, and how any that dumped core got there.
report_starts() {
    local dir core
    for dir in "$work"/start-*; do
        [ -d "$dir" ] || continue
        echo "--- fenwir $(basename "$dir"): its output"
        cat "$dir/fenwir.log" 2>/dev/null || true
        for core in "$dir"/core*; do
            [ -e "$core" ] || continue
            echo "--- fenwir $(basename "$dir"): killed by a signal; its threads"
            if command -v gdb >/dev/null; then
                gdb -batch -q -ex "thread apply all bt" "$bin/fenwir" "$core" 2>&1 | grep -v "^\[New LWP" || true
            else
                echo "(gdb is missing: no backtrace)"
            fi
        done
    done
    if [ -n "${fenwir_pid:-}" ]; then
        if kill -0 "$fenwir_pid" 2>/dev/null; then
            echo "--- the last fenwir is still running; its windows:"
            xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null || true
        else
            local status=0
            wait "$fenwir_pid" 2>/dev/null || status=$?
            echo "--- the last fenwir has ended (status $status)"
        fi
    fi
    case "$(cat /proc/sys/kernel/core_pattern 2>/dev/null)" in
    "|"*) echo "(core dumps go to $(cat /proc/sys/kernel/core_pattern), not beside the output)" ;;
    esac
}
