# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced: makes every sanitizer report end the program with a failure and a stack.
# Leaks are reported from the program's own code only: Qt's, fontconfig's and the graphics
# libraries' one-time allocations are kept to the end of the process on purpose.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=0:strict_string_checks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
