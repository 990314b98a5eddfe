#!/usr/bin/env python3
"""Writes a small seed corpus for each fuzz target into DIR/<target>/."""
import os
import struct
import sys


def chunk(tag, body, size=None):
    return tag + struct.pack("<i", len(body) if size is None else size) + body


def fmt(channels=1, rate=44100, bits=16):
    block = channels * bits // 8
    return chunk(b"fmt ", struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits))


def wave(*chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def ldf(n=40, tracks=(1,), pan=0, pitch=0):
    d = bytearray(16384)
    d[0:4] = b"\x20\xf3\xfa\x00"
    d[0x860:0x863] = b"\xff\xff\xff"
    for k in range(4):
        base = 0x30 + 390 * k
        d[base + 6:base + 8] = struct.pack("<h", n - 1)
        d[base + 12:base + 14] = struct.pack("<h", n - 16)
        d[base + 0x1B] = 1
        if k + 1 in tracks:
            d[base] = 2
            d[base + 0x33:base + 0x35] = struct.pack("<h", 2)
            d[base + 0x3C] = 3
    d[0x1009:0x100C] = struct.pack("<i", 491590)[:3]
    d[0x100C], d[0x100F], d[0x1012] = 1, 1, 4
    d[0x1036:0x1039] = struct.pack("<i", pan & 0xFFFFFF)[:3]
    d[0x1039:0x103C] = struct.pack("<i", pitch & 0xFFFFFF)[:3]
    return bytes(d)


def main(out):
    samples = bytes(range(256)) * 8
    waves = {
        "mono": wave(fmt(1), chunk(b"data", samples)),
        "stereo": wave(fmt(2), chunk(b"data", samples)),
        "list_between": wave(fmt(2), chunk(b"LIST", b"INFOabcd"), chunk(b"data", samples)),
        "odd_chunk_padded": wave(fmt(1), chunk(b"junk", b"abc") + b"\0", chunk(b"data", samples)),
        "data_before_fmt": wave(chunk(b"data", samples), fmt(1)),
        "rate_48k": wave(fmt(2, 48000), chunk(b"data", samples)),
        "bits_8": wave(fmt(1, 44100, 8), chunk(b"data", samples)),
        "no_data": wave(fmt(1)),
        "size_far_beyond": wave(fmt(1), chunk(b"data", samples[:64], 0x7FFFFFF0)),
        "size_backwards": wave(fmt(1), chunk(b"junk", b"", -20)),
        "empty": b"",
    }
    targets = {
        "fuzz_wave_opener": waves,
        "fuzz_loop_source_scan": waves,
        "fuzz_loop_description": {"mono": ldf(), "stereo": ldf(1025, (2, 4), -100, 1200),
                                  "short": ldf()[:100]},
        "fuzz_track_sizes": {"loop": bytes([80]) + ldf()[:80] + wave(fmt(1), chunk(b"data", samples)),
                             "start_200": bytes([60]) + bytes(51) + b"\xc8\x00\x00\xe8\x03" + bytes(4)
                             + bytes(40) + struct.pack("<i", 600000)},
    }
    for target, seeds in targets.items():
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "seeds")
