#!/usr/bin/env python3
"""Writes a small seed corpus for each fuzz target into DIR/<target>/."""
import hashlib
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


def track_header(data_size, rate=44100):
    """The 44-byte header of a track file holding data_size bytes."""
    return b"RIFF" + struct.pack("<I", 36 + data_size) + b"WAVE" + fmt(1, rate) + struct.pack("<4si", b"data", data_size)


def loop_folder(files, store_checks=True):
    """A loop folder as fuzz_loop_check reads it: which files exist, then per file its content
    length, the zero bytes behind it and the content."""
    flags = sum(1 << i for i, f in enumerate(files) if f is not None) | (0x20 if store_checks else 0)
    out = bytes([flags])
    for f in files:
        if f is not None:
            content, sparse = f
            out += struct.pack("<HI", len(content), sparse) + content
    return out


def manifest(*entries):
    """MANIFEST.sha256 over fuzz_manifest's backup folder, where every file holds its own path."""
    return b"".join(hashlib.sha256(digest_of.encode()).hexdigest().encode() + b"  " + name.encode() + b"\n"
                    for name, digest_of in entries)


def raw_samples(frames, channels, bits, big=False):
    samples = [(i * 7919) % (1 << bits) - (1 << (bits - 1)) for i in range(frames * channels)]
    order = ">" if big else "<"
    if bits == 8:
        return bytes((v >> 0) & 0xFF for v in samples)
    if bits == 24:
        return b"".join(struct.pack(order + "i", v)[1:] if big else struct.pack("<i", v)[:3] for v in samples)
    return b"".join(struct.pack(order + {16: "h", 32: "i"}[bits], v) for v in samples)


def wave_of(channels, rate, bits, frames=64, tag=1, extensible=False):
    block = channels * bits // 8
    if extensible:
        guid = struct.pack("<H", tag) + b"\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71"
        head = chunk(b"fmt ", struct.pack("<HHIIHHHHI", 0xFFFE, channels, rate, rate * block, block, bits, 22, bits,
                                          (1 << channels) - 1) + guid)
    else:
        head = chunk(b"fmt ", struct.pack("<HHIIHH", tag, channels, rate, rate * block, block, bits))
    if tag == 3:
        data = b"".join(struct.pack("<f", (i % 50) / 50.0 - 0.5) for i in range(frames * channels))
        head += chunk(b"fact", struct.pack("<I", frames))
    else:
        data = raw_samples(frames, channels, bits)
    return wave(head, chunk(b"data", data))


def rifx_of(channels, rate, frames=64):
    """A big-endian 16-bit wave."""
    body = b"WAVE" + b"fmt " + struct.pack(">iHHIIHH", 16, 1, channels, rate, rate * 2 * channels, 2 * channels, 16)
    data = raw_samples(frames, channels, 16, big=True)
    body += b"data" + struct.pack(">i", len(data)) + data
    return b"RIFX" + struct.pack(">I", len(body)) + body


def extended80(value):
    exponent = 16383 + value.bit_length() - 1
    return struct.pack(">HQ", exponent, value << (64 - value.bit_length()))


def aiff_of(channels, rate, bits, frames=64, compression=None):
    form = b"AIFF" if compression is None else b"AIFC"
    comm = struct.pack(">hIh", channels, frames, bits) + extended80(rate)
    chunks = b""
    if compression is not None:
        chunks += b"FVER" + struct.pack(">II", 4, 0xA2805140)
        comm += compression + b"\x00\x00"
    chunks += b"COMM" + struct.pack(">I", len(comm)) + comm
    if compression == b"fl32":
        data = b"".join(struct.pack(">f", (i % 50) / 50.0 - 0.5) for i in range(frames * channels))
    else:
        data = raw_samples(frames, channels, bits, big=compression != b"sowt")
    ssnd = struct.pack(">II", 0, 0) + data
    chunks += b"SSND" + struct.pack(">I", len(ssnd)) + ssnd
    return b"FORM" + struct.pack(">I", 4 + len(chunks)) + form + chunks


class Bits:
    def __init__(self):
        self.value, self.count = 0, 0

    def put(self, value, width):
        self.value = (self.value << width) | (value & ((1 << width) - 1))
        self.count += width

    def bytes(self):
        pad = -self.count % 8
        return (self.value << pad).to_bytes((self.count + pad) // 8, "big")


def crc(data, poly, width):
    value, top = 0, 1 << (width - 1)
    for byte in data:
        value ^= byte << (width - 8)
        for _ in range(8):
            value = ((value << 1) ^ poly) if value & top else value << 1
            value &= (1 << width) - 1
    return value


def flac_of(channels, rate, bits, frames=64, constant=False, recorded=True):
    """A FLAC stream of one frame: verbatim (or constant) subframes, no compression; its length
    recorded in the stream's header or not (0)."""
    info = Bits()
    for value, width in ((frames, 16), (frames, 16), (0, 24), (0, 24), (rate, 20), (channels - 1, 3),
                         (bits - 1, 5), (frames if recorded else 0, 36)):
        info.put(value, width)
    stream = b"fLaC" + bytes([0x80]) + (34).to_bytes(3, "big") + info.bytes() + bytes(16)
    head = Bits()
    for value, width in ((0x3FFE, 14), (0, 1), (0, 1), (6, 4), (0, 4), (channels - 1, 4), (0, 3), (0, 1),
                         (0, 8), (frames - 1, 8)):
        head.put(value, width)
    header = head.bytes()
    header += bytes([crc(header, 0x07, 8)])
    body = Bits()
    samples = [(i * 37 % 200) - 100 for i in range(frames)]
    for _ in range(channels):
        body.put(0 if constant else 2, 8)  # subframe type and no wasted bits
        for v in samples[:1] if constant else samples:
            body.put(v, bits)
    frame = header + body.bytes()
    return stream + frame + crc(frame, 0x8005, 16).to_bytes(2, "big")


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
    targets["fuzz_manifest"] = {
        "loop_files": manifest(*[(n, n) for n in ("LOOP1/loopinfo.ldf", "LOOP1/track1.wav", "LOOP12/track4.wav",
                                                   "LOOP999/track2.wav")]),
        "other_name": manifest(("LOOP1/notes.txt", "LOOP1/notes.txt")),
        "outside": manifest(("outside.txt", "outside.txt")),
        "nested": manifest(("LOOP1/sub/track2.wav", "LOOP1/sub/track2.wav")),
        "leading_zero": manifest(("LOOP01/track1.wav", "LOOP01/track1.wav")),
        "parent": manifest(("LOOP1/../LOOP1/track1.wav", "LOOP1/track1.wav")),
        "wrong_hash": manifest(("LOOP1/track1.wav", "LOOP1/loopinfo.ldf")),
        "twice": manifest(("LOOP1/track1.wav", "LOOP1/track1.wav"), ("LOOP1/track1.wav", "LOOP1/track1.wav")),
        "upper_case": manifest(("LOOP1/track1.wav", "LOOP1/track1.wav")).upper(),
        "no_newline": manifest(("LOOP1/track1.wav", "LOOP1/track1.wav"))[:-1],
        "empty": b"",
    }
    audio = 16384 + 40 * 512  # the pre-buffer and the 40 sectors of ldf()
    track = (track_header(audio), audio)
    targets["fuzz_loop_check"] = {
        "mono": loop_folder([(ldf(), 0), track, None, None, None]),
        "stereo": loop_folder([(ldf(40, (1, 2)), 0), track, track, None, None]),
        "tracks_3_4": loop_folder([(ldf(40, (3, 4)), 0), None, None, track, track]),
        "stray_track": loop_folder([(ldf(), 0), track, None, (track_header(8), 8), None]),
        "short_audio": loop_folder([(ldf(), 0), (track_header(audio - 512), audio - 512), None, None, None]),
        "data_beyond_file": loop_folder([(ldf(), 0), (track_header(audio), 100), None, None, None]),
        "rate_48k": loop_folder([(ldf(), 0), (track_header(audio, 48000), audio), None, None, None]),
        "checks_as_stored": loop_folder([(ldf(), 0), track, None, None, None], store_checks=False),
        "short_description": loop_folder([(ldf()[:600], 0), track, None, None, None]),
        "huge_files": loop_folder([(ldf(), 0xFFFFFFFF), (track_header(0x7FFFFFFF), 0xFFFFFFFF), None, None, None]),
        "nothing": bytes([0]),
    }
    targets["fuzz_cli_arguments"] = {name: b"\0".join(a.encode() for a in line) for name, line in {
        "info": ["info", "card/LOOP1", "--json"],
        "to_loop": ["to-loop", "a.wav", "--dest", "card", "--loop", "007", "--beats", "16", "--beats-per-bar", "4",
                    "--track", "2", "--right-track", "3", "--pan", "-100", "--pitch", "-1.5", "--right-pan", "50",
                    "--right-pitch", "+12.25", "--overwrite"],
        "to_loop_many": ["to-loop", "a.wav", "b.wav", "--dest", "card"],
        "to_wave": ["to-wave", "track1.wav", "track2.wav", "--output", "out.wav", "--overwrite"],
        "backup": ["backup", "card", "dest"],
        "restore": ["restore", "backup", "card", "--loop", "1", "--loop", "999", "--overwrite"],
        "list": ["list", "card", "--json"],
        "check": ["check", "a", "b", "--json"],
        "export": ["export", "card", "--to", "dir", "--overwrite"],
        "dash_path": ["check", "--", "-a", "--json"],
        "help": ["to-loop", "--beats", "x", "-h"],
        "version": ["--version"],
        "usage": ["--help"],
    }.items()}
    targets["fuzz_cli_arguments"]["nothing"] = b""
    targets["fuzz_audio_convert"] = {
        "wav_16_mono": wave_of(1, 44100, 16),
        "wav_16_stereo_22k": wave_of(2, 22050, 16),
        "wav_24_48k": wave_of(2, 48000, 24),
        "wav_8_11k": wave_of(1, 11025, 8),
        "wav_32": wave_of(1, 44100, 32),
        "wav_float_96k": wave_of(2, 96000, 32, tag=3),
        "wav_extensible_6": wave_of(6, 44100, 16, extensible=True),
        "wav_extensible_24": wave_of(4, 48000, 24, extensible=True),
        "rifx_16": rifx_of(2, 44100),
        "aiff_16": aiff_of(2, 44100, 16),
        "aiff_24_48k": aiff_of(1, 48000, 24),
        "aifc_sowt": aiff_of(2, 44100, 16, compression=b"sowt"),
        "aifc_fl32": aiff_of(1, 32000, 32, compression=b"fl32"),
        "flac_16": flac_of(2, 44100, 16),
        "flac_24_48k": flac_of(1, 48000, 24, constant=True),
        "flac_length_unrecorded": flac_of(2, 44100, 16, recorded=False),
    }
    for target, seeds in targets.items():
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "seeds")
