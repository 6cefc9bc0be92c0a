# Sourced by each test script. The one rule for missing tools: skip with a
# message (exit 77, which ctest reports as skipped), except in CI (CI=true),
# where nothing may be skipped and a missing tool fails. And the one way to
# wait: for a condition, with a generous deadline, never a fixed sleep.

skip() {
  if [ "${CI:-}" = true ]; then
    echo "FAIL: $* (nothing may be skipped in CI)" >&2
    exit 1
  fi
  echo "SKIP: $*" >&2
  exit 77
}

# require TOOL... : skip unless every tool is on PATH.
require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps.sh installs it)"
  done
}

# until_ok SECONDS COMMAND...: retries COMMAND every 0.1 s until it succeeds, for at most SECONDS.
until_ok() {
  local end=$((SECONDS + $1))
  until "${@:2}"; do [ $SECONDS -lt $end ] || return 1; sleep 0.1; done
}
