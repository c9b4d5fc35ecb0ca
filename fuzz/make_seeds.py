#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets under fuzz/corpus/<target>/, byte by byte from
the formats (not from the program's code). Run from anywhere: python3 fuzz/make_seeds.py
Existing seeds of the same name are overwritten; other files in the folders are left alone."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = 128


def put(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode('utf-8')
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


# Serial frames: start 0x01, address and payload as upper-case hex, checksum over the
# characters after the start byte, end 0x17.
def frame(payload, address=0, lower=False):
    body = '%02X' % address + ''.join('%02X' % b for b in payload)
    if lower:
        body = body.lower()
    raw = body.encode('ascii')
    return b'\x01' + raw + ('%02X' % (sum(raw) & 0xFF)).encode('ascii') + b'\x17'


def frame_seeds():
    t = 'fuzz_frame_reader'
    put(t, 'reference-status0', frame([0, 0, 0, 0, 0, 0]))
    put(t, 'reference-read32', frame([0x20, 0x81, 0x80, 0, 0, 0]))
    put(t, 'reference-status1', frame([0, 0x20, 0, 0, 0, 0]))
    put(t, 'status-reply', frame([3, 0x0A, 0, 0x04, 0x8F, 0x19]))
    put(t, 'tool-reply', frame([17, 0x81, 2, 7, 0x73, 0]))
    put(t, 'remote-error', frame([0, 0, 0, 0, 0, 0], address=1))
    put(t, 'lower-case-hex', frame([0xAB, 0xCD, 0xEF, 0, 0, 0], lower=True))
    put(t, 'two-frames', frame([1, 0x81, 0, 0, 0, 0]) + frame([2, 0x81, 0, 0, 0, 0]))
    put(t, 'noise-before', b'\xff\x17zz' + frame([5, 0x82, 0, 0, 9, 0]))
    put(t, 'bad-checksum', frame([0, 0, 0, 0, 0, 0])[:-2] + b'0\x17')
    put(t, 'short', b'\x01000000000000A0\x17')
    put(t, 'long-garbage', b'\x01' + b'0' * 100 + b'\x17')
    put(t, 'empty', b'')


def tool(programmed, angle, tolerance, intensity):
    return struct.pack('<iffi', programmed, angle, tolerance, intensity)


def image_head(pulse_stored=251, scanner=2, intensity=2):
    # ReturnTrvMon, Monitoring, RotDir, PowerOnMove, Scanner, Out1Polarity, Out2Polarity,
    # DefaultAngle, DefaultTolerance, DefaultIntensity, Reserved1, SignalMode, OutPulseTime + 1,
    # Reserved2[6]
    return struct.pack('<13i6i', 1, 0, 1, 0, scanner, 0, 1, 12000, 300, intensity, 0, 0,
                       pulse_stored, 1, 1, 1, 1, 1, 1)


def config_seeds():
    t = 'fuzz_config_file'
    slots = [tool(0, 0.0, 0.0, 0) for _ in range(TOOLS)]
    slots[0] = tool(1, 0.0, 3.0, 1)
    slots[3] = tool(1, 160.0, 1.0, 1)
    slots[31] = tool(1, 359.99, 25.5, 3)
    slots[127] = tool(1, 12.5, 0.3, 2)
    put(t, 'current-128-slots', image_head() + b''.join(slots))
    put(t, 'old-32-slots', image_head(pulse_stored=0) + b''.join(slots[:32]))
    put(t, 'large-256-slots', image_head(scanner=1) + b''.join(slots + [tool(1, 1.0, 1.0, 1)] * TOOLS))
    put(t, 'wrong-size', image_head() + b''.join(slots)[:-1])
    odd = [tool(1, math.nan, math.inf, -1), tool(1, -math.inf, -0.0, 7),
           tool(1, 3.4e38, -3.4e38, 2**31 - 1), tool(-5, 1e-45, 1e-38, -2**31)]
    odd += [tool(0, 0.0, 0.0, 0)] * (TOOLS - len(odd))
    put(t, 'odd-values', struct.pack('<13i6i', -1, 7, -7, 2, 9, -1, 2, -2**31, 2**31 - 1, 99,
                                     0, 5, -2**31, 0, 0, 0, 0, 0, 0) + b''.join(odd))
    put(t, 'empty', b'')


def name_record(defined, raw):
    return struct.pack('<i', defined) + raw[:80] + b'\0' * (80 - len(raw[:80]))


def namespace_seeds():
    t = 'fuzz_namespace_file'
    records = [name_record(0, b'') for _ in range(TOOLS)]
    records[0] = name_record(1, b'drill 2,5 mm\0old bytes after the end')
    records[3] = name_record(1, 'Fr\u00e4ser \u00d86 \u20ac'.encode('cp1252'))
    records[17] = name_record(1, b'X' * 80)  # no terminator
    records[31] = name_record(-1, b'\n\f\t\x7f\x81 odd bytes')
    records[64] = name_record(0, b'undefined but named')
    put(t, 'names-128', b''.join(records))
    put(t, 'names-32', b''.join(records[:32]))
    put(t, 'wrong-size', b''.join(records)[:-1])
    put(t, 'empty', b'')


def comm_settings_seeds():
    t = 'fuzz_comm_settings'
    put(t, 'serial', 'A:50\r\nC:1\r\nM:2\r\n')
    put(t, 'fieldbus-lower-case', 'a:7\nc:2\nm:1\n')
    put(t, 'comment-and-blanks', '; written by hand\r\n\r\nC:  3\r\nM:2')
    put(t, 'signs-and-range', 'A:-5\nC:+4\nA:99999999999\nC:65537\nA:+-1\n')
    put(t, 'long-line', 'A:' + '1' * 120 + '\nC:' + ' ' * 97 + '6\nM:2\n')
    put(t, 'zero-byte', b'A:1\0A:9\nM:2\n')
    put(t, 'empty', b'')


# Numeric field: style, places, locale index, selection start, selection length, the text,
# then 0xFF and what is typed or pasted.
STYLES = {'general': 0, 'integer': 1, 'float': 2, 'currency': 3, 'percentage': 4}
LOCALES = {'C': 0, 'en_US': 1, 'de_DE': 2, 'ar_EG': 4, 'sv_SE': 6}


def numeric(style, places, locale, text, inserted=None, sel_start=0, sel_length=0):
    head = bytes([STYLES[style], places & 0xFF, LOCALES[locale], sel_start & 0xFF,
                  sel_length & 0xFF])
    data = head + text.encode('utf-8')
    if inserted is not None:
        data += b'\xff' + inserted.encode('utf-8')
    return data


def numeric_seeds():
    t = 'fuzz_numeric_text'
    put(t, 'percentage', numeric('percentage', 1, 'de_DE', '12,5%', '5', 2))
    put(t, 'parentheses', numeric('float', 2, 'de_DE', '(5)', ',', 2))
    put(t, 'separators', numeric('float', 2, 'de_DE', '1,2,3', '45', 1, 2))
    put(t, 'integer', numeric('integer', 0, 'C', '-42', '7'))
    put(t, 'currency-de', numeric('currency', 2, 'de_DE', '1.234,56 \u20ac', '\u20ac9'))
    put(t, 'currency-us', numeric('currency', 2, 'en_US', '-$1,234.50', '$'))
    put(t, 'arabic-digits', numeric('float', 3, 'ar_EG', '\u0661\u0662\u066b\u0665', '\u0663'))
    put(t, 'unicode-minus', numeric('float', 2, 'sv_SE', '\u22123,25', '0', 5))
    put(t, 'too-many-places', numeric('float', 12, 'C', '0.000000001', '1', 3, 2))
    put(t, 'negative-places', numeric('float', -3, 'C', '1.5', '.5'))
    put(t, 'huge', numeric('float', 9, 'C', '9' * 400))
    put(t, 'general', numeric('general', 2, 'C', 'text', 'abc'))
    put(t, 'backspace', numeric('float', 2, 'C', '1.25', '\b'))
    # the currency form once rounded differently from the editing form
    put(t, 'currency-half-cent', numeric('currency', 2, 'en_US', '2.675'))
    put(t, 'currency-negative-zero', numeric('currency', 0, 'sv_SE', '\u22120,243'))


# Simulated unit: variant, fault bits, first faulty request, faulty count, then requests of
# six bytes each followed by a time step in milliseconds.
def request(number, code, b2=0, b3=0, word=0, step_ms=10):
    return bytes([number, code, b2, b3, word & 0xFF, word >> 8]) + struct.pack('<H', step_ms)


def sim_seeds():
    t = 'fuzz_sim_unit'
    every_code = b''.join([
        request(0, 0x00), request(0, 0x20),
        request(0, 0x01, 0, 30, 6543), request(0, 0x02, 0, 0, 9000, 2000),
        request(0, 0x08, 0, 0, 18000, 500), request(0, 0x04, step_ms=3000),
        request(5, 0x81), request(5, 0x82, 0, 0, 42), request(32, 0x81, 0x80 | 4),
        request(32, 0x82, 0x80 | 18, 0, 0x3231), request(26, 0x81), request(27, 0x82),
        request(3, 0xC2, 2, 7, 16000), request(3, 0xC1), request(3, 0xC8), request(3, 0xC1),
        request(200, 0xC1), request(40, 0x81), request(0, 0x40), request(0, 0xFF),
    ])
    put(t, 'every-code', bytes([4, 0, 0, 0]) + every_code)
    put(t, 'no-tools-variant', bytes([1, 0, 0, 0]) + every_code)
    put(t, 'faults-from-third', bytes([4, 0x7F, 2, 5]) + every_code)
    put(t, 'corrupt-checksum', bytes([3, 0x02, 0, 0xFF]) + every_code)
    put(t, 'refusals', bytes([2, 0x18, 0, 0xFF]) + every_code)
    teach = request(0, 0x02, 0, 0, 30000, 0) + request(0, 0x00, step_ms=1) * 3 + \
        request(0, 0x00, step_ms=60000)
    put(t, 'teach-progress', bytes([4, 0, 0, 0]) + teach)


if __name__ == '__main__':
    frame_seeds()
    config_seeds()
    namespace_seeds()
    comm_settings_seeds()
    numeric_seeds()
    sim_seeds()
