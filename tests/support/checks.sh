# The shell tests' way of reporting: `check WHAT COMMAND...` runs the command, prints "ok" or
# "FAIL" with WHAT, counts failures in $failures and returns the command's success, so that a
# step the rest depends on can stop the script.
failures=0
check() {
    what="$1"
    shift
    if "$@"; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
        return 1
    fi
}
