# Sourced by the Windows checks.
# visible TITLE: the first visible window of that title, asked again each
# second for up to a minute: a search that fails (xdotool does when a window
# closes as it looks, or when it cannot reach the display) is no answer.
visible() {
    local found
    for _ in $(seq 60); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$found" ] && echo "$found" && return 0
        sleep 1
    done
    return 1
}
