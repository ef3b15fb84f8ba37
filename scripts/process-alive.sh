# Sourced by the runners: whether the process a pid file names still runs. A zombie does not count:
# in a container nothing may reap it, and it would look alive for ever.
alive() {
  [ -f "$1" ] || return 1
  local stat
  stat=$(cat "/proc/$(cat "$1")/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [ "${stat:0:1}" != Z ]
}
