# The test scripts' one rule for missing tools, sourced by each of them:
# skip with a message (exit 77, which ctest reports as skipped), except in CI
# (CI=true), where nothing may be skipped and a missing tool fails.

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
