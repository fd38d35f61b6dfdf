#!/usr/bin/env python3
"""orca_spoke_in_time.py <orca debug file> <HH:MM:SS.nnnnnnnnn> <text>: exit 0 when Orca's first
speech starting with <text> came less than a second after the given time of day."""

import re
import sys


def seconds(text):
    hours, minutes, rest = text.split(":")
    return int(hours) * 3600 + int(minutes) * 60 + float(rest[:9])


after = seconds(sys.argv[2])
pattern = re.compile(r"(\d\d:\d\d:\d\d\.\d+) - SPEECH OUTPUT: '[^']*" + re.escape(sys.argv[3]))
with open(sys.argv[1], errors="replace") as debug:
    for line in debug:
        found = pattern.match(line)
        if found:
            delay = seconds(found.group(1)) - after
            print("a11y: Orca spoke %r %.2f s after the key" % (sys.argv[3], delay), file=sys.stderr)
            sys.exit(0 if -0.1 < delay < 1.0 else 1)
sys.exit(1)
