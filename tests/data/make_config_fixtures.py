#!/usr/bin/env python3
"""Writes the golden .CD and .NS files of tests/config, byte by byte from the file layout
(not from the program's code), so the program's reader and writer are checked against them.
Run from this directory: python3 make_config_fixtures.py"""
import struct

TOOLS = 128


def tool(programmed, angle, tolerance, intensity):
    return struct.pack('<iffi', programmed, angle, tolerance, intensity)


def config_image():
    # ReturnTrvMon, Monitoring, RotDir, PowerOnMove, Scanner, Out1Polarity, Out2Polarity,
    # DefaultAngle, DefaultTolerance, DefaultIntensity, Reserved1, SignalMode,
    # OutPulseTime + 1 (250 ms), Reserved2[6]
    head = struct.pack('<13i6i', 1, 0, 1, 0, 2, 0, 1, 12000, 300, 2, 0x11223344, 0, 251,
                       1, 2, 3, 4, 5, 6)
    slots = [tool(0, 0.0, 0.0, 0) for _ in range(TOOLS)]
    slots[3] = tool(1, 160.0, 1.0, 1)
    slots[17] = tool(1, 1.15, 0.7, 0)
    slots[50] = tool(0, 12.5, 0.3, 2)  # an empty slot keeps its old values
    slots[127] = tool(1, 359.99, 25.5, 3)
    return head + b''.join(slots)


def name(defined, text, tail=b''):
    raw = text + b'\0' + tail
    return struct.pack('<i', defined) + raw + b'\0' * (80 - len(raw))


def tool_names():
    records = [name(0, b'') for _ in range(TOOLS)]
    records[3] = name(1, b'drill 2,5 mm', b'old bytes after the end')
    records[40] = name(1, b'orphan')  # a name without a programmed tool
    records[127] = name(1, 'Fr\u00e4ser \u00d86'.encode('cp1252'))
    return b''.join(records)


image = config_image()
names = tool_names()
assert len(image) == 2124 and len(names) == 10752
with open('config/VGL_00001234.CD', 'wb') as f:
    f.write(image)
with open('config/VGL_00001234.NS', 'wb') as f:
    f.write(names)
