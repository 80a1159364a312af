#pragma once

#include <sys/types.h>

// The resident set of a process in KiB, or -1 when it cannot be read.
long ResidentKiB(pid_t Process);
