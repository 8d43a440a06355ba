#!/usr/bin/env bash
# Rewrites the golden files from the current build, on purpose. Review the
# diff before committing it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build}"
for t in tests/e2e/test_*.sh; do
  KESTRUN_UPDATE_GOLDEN=1 bash "$t" "$build/kestrun" "$PWD/tests" || true
done
git status --short tests/e2e/golden
