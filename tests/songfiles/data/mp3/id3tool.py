#!/usr/bin/env python3
"""Makes and reads ID3v2-tagged MP3 test files with third-party taggers.

  id3tool.py make CASE OUT   write a small MP3 and tag it (mutagen or id3v2)
  id3tool.py dump FILE       print the tag as read by mutagen, as JSON (frames
                             upgraded to v2.4 as mutagen loads them)

Exit code 77 means a tool is missing (the test then skips).
"""
import hashlib
import json
import shutil
import struct
import subprocess
import sys

try:
    from mutagen.id3 import (ID3, APIC, COMM, PRIV, TCOM, TCON, TCOP, TIT2, TLEN, TPE1)
except ImportError:
    sys.exit(77)

# A frame header inside binary data: a byte search would take it for a frame.
FAKE_KEY = b"TKEY\x00\x00\x00\x05\x00\x00\x00Fake"
FAKE_TITLE = b"TIT2\x00\x00\x00\x05\x00\x00\x00Fake"


def audio():
    # MPEG-1 Layer III, 128 kbit/s, 44.1 kHz: 417-byte frames, as the tests' mpegAudio(5).
    return b"".join(b"\xff\xfb\x90\x64" + bytes((f * 31 + i) % 251 for i in range(4, 417)) for f in range(5))


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def split_tag(data):
    """Header, frames as (id, bytes) in order, padding length."""
    size = sum((b & 0x7F) << (7 * (3 - i)) for i, b in enumerate(data[6:10]))
    version = data[3]
    pos, end, frames = 10, 10 + size, []
    while end - pos >= 10 and data[pos] != 0:
        raw = data[pos + 4:pos + 8]
        n = (sum((b & 0x7F) << (7 * (3 - i)) for i, b in enumerate(raw))
             if version == 4 else struct.unpack(">I", raw)[0])
        frames.append((data[pos:pos + 4], data[pos:pos + 10 + n]))
        pos += 10 + n
    return data[:10], frames, end - pos, data[end:]


def join_tag(header, ext, frames, padding, rest):
    body = ext + b"".join(f for _, f in frames) + b"\x00" * padding
    flags = header[5] | (0x40 if ext else 0)
    return header[:5] + bytes([flags]) + synchsafe(len(body)) + body + rest


def make(case, out):
    with open(out, "wb") as f:
        f.write(audio())
    if case == "id3v2":
        if shutil.which("id3v2") is None:
            sys.exit(77)
        subprocess.run(["id3v2", "-2", "-t", "Old Title", "-a", "Old Artist",
                        "--TCOM", "Old Author", "--TCOP", "(c) Tavrel Music",
                        "-c", "note:A long note " + "x" * 300 + ":eng", out], check=True)
        return
    version = 4 if case.startswith("v24") else 3
    utf16 = "utf16" in case
    enc = 1 if utf16 else (3 if version == 4 else 0)
    title = "Ça ira — 東京" if utf16 else ("Caffè" if version == 3 else "Título" + " lungo" * 40)
    tags = ID3()
    tags.add(TIT2(encoding=enc, text=title))
    tags.add(TPE1(encoding=2 if (utf16 and version == 4) else enc, text="Old Artist"))
    tags.add(TCOM(encoding=enc, text="Old Author"))
    tags.add(TCON(encoding=enc, text="Pop"))
    tags.add(TCOP(encoding=enc, text="(c) Tavrel Music"))
    tags.add(TLEN(encoding=0, text="183000"))
    tags.add(COMM(encoding=enc, lang="eng", desc="note", text="A long note " + "x" * 300))
    tags.add(PRIV(owner="tester", data=FAKE_KEY * 20))
    apic = "apic" in case
    if apic:
        tags.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="cover",
                      data=FAKE_TITLE + bytes(range(256)) * 4700))
    if version == 3:
        tags.update_to_v23()
    tags.save(out, v2_version=version, padding=lambda info: 700)
    with open(out, "rb") as f:
        data = f.read()
    header, frames, padding, rest = split_tag(data)
    if apic:  # the picture first, before every text frame
        frames.sort(key=lambda fr: fr[0] != b"APIC")
    ext = b""
    if case.endswith("ext"):
        ext = (b"\x00\x00\x00\x06\x01\x00" if version == 4
               else b"\x00\x00\x00\x06\x00\x00" + struct.pack(">I", padding))
    with open(out, "wb") as f:
        f.write(join_tag(header, ext, frames, padding, rest))


def dump(path):
    tags = ID3(path)
    frames = {}
    for key, frame in tags.items():
        if hasattr(frame, "text"):
            value = [str(t) for t in frame.text]
        else:
            value = hashlib.sha1(frame._writeData()).hexdigest()
        frames.setdefault(frame.FrameID, []).append(value)
    print(json.dumps({"frames": frames, "unknown": [f.hex() for f in tags.unknown_frames],
                      "version": list(tags.version)}))


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "make":
        make(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 3 and sys.argv[1] == "dump":
        dump(sys.argv[2])
    else:
        sys.exit(__doc__)
