#!/usr/bin/env python3
"""Writes the metafile checks' seed files into corpus/fuzz_metafile/.

Small Windows metafiles laid out record by record: a WMF with its placeable header and the same
without it, one whose records choose their own mapping, EMFs sized by their frame and by their
bounds, and the damage the checks refuse (no units per inch, a record cut off, a record of no
length or of a length that is not whole words, no end-of-file record, a frame too large to draw),
with a file that is no metafile at all. Run it again only to change the seeds; its output is kept
with them.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "fuzz_metafile")


# WMF: records of 16-bit words; a record's first dword is its length in words.
def wmf_record(function, *params):
    return struct.pack("<IH", 3 + len(params), function) + struct.pack(f"<{len(params)}h", *params)


WMF_EOF = wmf_record(0x0000)


def wmf_drawing(*extra):
    return b"".join([
        *extra,
        wmf_record(0x020B, 20, 10),                        # SetWindowOrg y, x
        wmf_record(0x020C, 1000, 1440),                    # SetWindowExt y, x
        struct.pack("<IHHhhI", 8, 0x02FA, 0, 20, 0, 0x0000FF),  # CreatePenIndirect, red
        wmf_record(0x012D, 0),                             # SelectObject
        wmf_record(0x041B, 900, 1300, 100, 100),           # Rectangle bottom right top left
        wmf_record(0x0325, 3, 100, 100, 700, 900, 1300, 100),  # Polyline
        wmf_record(0x01F0, 0),                             # DeleteObject
    ])


def wmf(records, kind=2):
    words = (18 + len(records)) // 2
    largest, at = 0, 0
    while at + 4 <= len(records):
        length = struct.unpack_from("<I", records, at)[0]
        if length == 0:
            break
        largest = max(largest, length)
        at += 2 * length
    return struct.pack("<HHHIHIH", kind, 9, 0x0300, words, 1, largest, 0) + records


def placeable(body, units_per_inch=1440, box=(0, 0, 1440, 1000)):
    head = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, *box, units_per_inch, 0)
    checksum = 0
    for (value,) in struct.iter_unpack("<H", head):
        checksum ^= value
    return head + struct.pack("<H", checksum) + body


# EMF: records of a type and a length in bytes, both dwords.
def emf_record(kind, payload=b""):
    return struct.pack("<II", kind, 8 + len(payload)) + payload


EMF_EOF = emf_record(14, struct.pack("<III", 0, 16, 20))


def emf(records, bounds=(0, 0, 95, 63), frame=(0, 0, 2540, 1693), device=(1920, 1080),
        millimetres=(508, 286), eof=EMF_EOF):
    body = records + eof
    size = 88 + len(body)
    count, at = 1, 0
    while at + 8 <= len(body):
        count += 1
        at += struct.unpack_from("<I", body, at + 4)[0]
    header = struct.pack("<II4i4iIIIIHHIII2i2i", 1, 88, *bounds, *frame, 0x464D4520, 0x10000,
                         size, count, 2, 0, 0, 0, 0, *device, *millimetres)
    return header + body


EMF_DRAWING = b"".join([
    emf_record(17, struct.pack("<I", 1)),                             # SetMapMode MM_TEXT
    emf_record(38, struct.pack("<IIiiI", 1, 0, 2, 0, 0x0000FF)),     # CreatePen
    emf_record(37, struct.pack("<I", 1)),                             # SelectObject
    emf_record(43, struct.pack("<4i", 5, 5, 90, 58)),                 # Rectangle
    emf_record(40, struct.pack("<I", 1)),                             # DeleteObject
])


def main():
    plain = wmf(wmf_drawing() + WMF_EOF)
    seeds = {
        "placeable.wmf": placeable(plain),
        "plain.wmf": plain,
        "memory_type.wmf": wmf(wmf_drawing() + WMF_EOF, kind=1),
        "own_mapping.wmf": placeable(wmf(wmf_drawing(wmf_record(0x0103, 8)) +
                                         wmf_record(0x020C, -1000, 1440) + WMF_EOF)),
        "no_units_per_inch.wmf": placeable(plain, units_per_inch=0),
        "wmf_cut_in_record.wmf": placeable(plain)[:-20],
        "wmf_record_of_no_length.wmf": plain[:18] + struct.pack("<IH", 0, 0x041B) + WMF_EOF,
        "wmf_no_end.wmf": plain[:-len(WMF_EOF)],
        "frame.emf": emf(EMF_DRAWING),
        "bounds_only.emf": emf(EMF_DRAWING, frame=(0, 0, 0, 0)),
        "frame_too_large.emf": emf(EMF_DRAWING, frame=(0, 0, 2540 * 400, 2540 * 400)),
        "emf_cut_in_record.emf": emf(EMF_DRAWING)[:-6],
        "emf_odd_length.emf": emf(struct.pack("<II", 43, 22) + b"\0" * 14),
        "emf_no_end.emf": emf(EMF_DRAWING, eof=b""),
        "not_a_metafile.bin": b"\x89PNG\r\n\x1a\n" + b"\0" * 40,
    }
    os.makedirs(OUT, exist_ok=True)
    for file_name, contents in seeds.items():
        with open(os.path.join(OUT, file_name), "wb") as seed:
            seed.write(contents)


main()
