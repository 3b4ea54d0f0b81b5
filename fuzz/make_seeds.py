#!/usr/bin/env python3
"""Writes the seed corpora of the protocol fuzz targets into fuzz/corpus/<target>/: whole frames of every kind the
module sends, the protocol's worked examples, and a few malformed answers, in each target's input layout (see the
comment at the top of each target). Run it again after changing a layout: python3 fuzz/make_seeds.py"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

IO_DATA, REQUEST, RESPONSE, ERROR = 0, 1, 2, 3


def crc16(data):
    crc = 0xFFFF
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return bytes([crc & 0xFF, crc >> 8])  # low-order byte first on the wire


def frame(sequence, frame_type, body):
    head = bytes([sequence & 0xFF, frame_type]) + struct.pack(">H", len(body)) + bytes(body)
    return head + crc16(head)


def object_frame(sequence, frame_type, service, obj, instance, attribute, data=b""):
    return frame(sequence, frame_type, bytes([service, obj]) + struct.pack(">HH", instance, attribute) + bytes(data))


# ScriptedModule answers: control byte, size byte, bytes.
def size_bytes(size):
    return bytes([size]) if size < 0xFF else b"\xff" + struct.pack(">H", size)


def as_given(data, control=0x00):
    return bytes([control]) + size_bytes(len(data)) + bytes(data)


def echo(data=b"", control=0x1C):
    """An object answer built on the request's header, Length fixed and closed by its CRC."""
    return bytes([control]) + size_bytes(len(data)) + bytes(data)


LATE, SPLIT, NEVER = 0x01, 0x02, 0x03

ONLINE_ANSWERS = echo(b"\x7e") + echo(b"\x01")
IO_ANSWER = as_given(frame(0x10, IO_DATA, range(16)))
CONFIG_REQUEST = object_frame(0x11, REQUEST, 2, 0xF0, 2, 1, b"\x01\x02\x03")
PARAM_REQUEST = object_frame(0x12, REQUEST, 2, 0xF0, 3, 1, b"\x01\x00\x64")
ADI_REQUEST = object_frame(0x13, RESPONSE, 1, 0xF1, 1, 1)
ERROR_ANSWER = as_given(object_frame(0x14, ERROR, 2, 0x03, 1, 1, b"\x07"))

CONNECTION_CYCLE = {
    # scenario, bus address, cycles | write length << 4, answers
    "fixed-io": bytes([2, 0x7E, 0x02]) + ONLINE_ANSWERS + IO_ANSWER * 3,
    "fixed-io-full-grid": bytes([1, 1, 0xF1]) + ONLINE_ANSWERS + as_given(frame(1, IO_DATA, [0xA5] * 250))
    + as_given(frame(2, IO_DATA, [0x5A] * 251)),
    "io-length-zero": bytes([6, 1, 0x01]) + IO_ANSWER + as_given(frame(2, IO_DATA, b"")),
    "config-and-param": bytes([6, 1, 0x03]) + as_given(CONFIG_REQUEST) + echo() + as_given(PARAM_REQUEST)
    + echo() + IO_ANSWER,
    "config-unknown-instance": bytes([6, 1, 0x01]) + as_given(object_frame(5, REQUEST, 2, 0xF0, 9, 1, b"\x01"))
    + IO_ANSWER,
    "app-data-object": bytes([6, 1, 0x02]) + as_given(ADI_REQUEST) + echo() + as_given(
        object_frame(6, RESPONSE, 1, 0xF1, 2, 5)) + echo(),
    "app-data-object-unknown": bytes([6, 1, 0x00]) + as_given(object_frame(6, RESPONSE, 1, 0xF1, 9, 9)),
    "autobaud-wrong-then-right": bytes([0, 0x7E, 0x01]) + as_given(b"\x00") + as_given(b"\xAA") + ONLINE_ANSWERS
    + IO_ANSWER,
    "autobaud-silent": bytes([0, 1, 0]) + bytes([NEVER, 0]) * 6,
    "error-answers": bytes([2, 5, 0x01]) + ERROR_ANSWER + ERROR_ANSWER + IO_ANSWER,
    "late-answers": bytes([6, 1, 0x04]) + as_given(frame(3, IO_DATA, b"\x01\x02"), LATE) + bytes([NEVER, 0])
    + IO_ANSWER + as_given(CONFIG_REQUEST, LATE) + echo(),
    "split-answers": bytes([6, 1, 0x02]) + as_given(frame(3, IO_DATA, range(40)), SPLIT)
    + as_given(CONFIG_REQUEST, SPLIT) + echo(control=0x1C | SPLIT),
    "two-frames-at-once": bytes([6, 1, 0x02]) + as_given(frame(1, IO_DATA, b"\x01") + frame(2, IO_DATA, b"\x02"))
    + IO_ANSWER,
    "length-over-buffer": bytes([6, 1, 0x02]) + as_given(frame(1, REQUEST, bytes([2, 0xF0, 0, 2, 0, 1]) + bytes(250)))
    + as_given(frame(1, REQUEST, bytes([2, 0xF0, 0, 2, 0, 1]) + bytes(243))),
    "declared-more-than-sent": bytes([6, 1, 0x02]) + as_given(b"\x01\x00\xFF\xFF\x00\x01") + as_given(
        b"\x01\x01\x00\x40\x02\xF0\x00\x02\x00\x01"),
    "write-fails": bytes([0x1E, 1, 0x05]) + IO_ANSWER * 3,
    "short-answers": bytes([2, 1, 0x03]) + as_given(b"\x01") + as_given(b"\x01\x01") + as_given(b"\x01\x00\x00")
    + as_given(b"\x01\x00\x00\x00"),
}

OBJECT_ACCESS = {
    # scenario (bit 0 write, bit 1 texts from the input, bits 2-3 typed texts), answers
    "read-answered": bytes([0x00]) + echo(b"\x7e"),
    "read-error": bytes([0x00]) + as_given(object_frame(1, ERROR, 1, 3, 1, 1, b"\x02")),
    "read-silent": bytes([0x04]) + bytes([NEVER, 0]),
    "read-late": bytes([0x08]) + echo(b"Virtual Fieldbus", control=0x1C | LATE),
    "read-long": bytes([0x0C]) + echo(bytes(range(242))),
    "read-short-length": bytes([0x00]) + as_given(frame(1, RESPONSE, b"\x01\x03")),
    "read-declared-more": bytes([0x00]) + as_given(b"\x01\x02\x00\x20\x01\x03\x00\x01\x00\x01\x7e"),
    "write-answered": bytes([0x01]) + echo(b"\x01") + echo(),
    "write-too-long": bytes([0x09]) + echo(b"\x01\x02") + echo(),
    "write-probe-error-frame": bytes([0x01]) + as_given(object_frame(1, ERROR, 1, 3, 1, 1, b"\x07\x00")) + echo(),
    "write-split-answers": bytes([0x0D]) + echo(b"\x00\x00\x00", control=0x1C | SPLIT) + echo(control=0x1C | SPLIT),
    "write-not-sent": bytes([0x31]) + echo(b"\x01") + echo(),
    "texts-from-input": bytes([0x02, 2]) + b"0a" + bytes([3]) + b"100" + bytes([1]) + b"7" + bytes([5]) + b"01 ff"
    + echo(b"\x55"),
    "texts-write-illegal": bytes([0x03, 1]) + b"1" + bytes([1]) + b"1" + bytes([1]) + b"1" + bytes([7]) + b"1  2 zz"
    + echo(b"\x55"),
    "texts-reserved": bytes([0x02, 2]) + b"F0" + bytes([1]) + b"1" + bytes([1]) + b"1" + bytes([0]),
}


def info_reply(first):
    text = (b"Virtual Fieldbus" if first else b"Trelmo Sim Module").ljust(20, b"\x00")
    tail = b"" if first else struct.pack(">I", 123456) + bytes([0x20, 0x23, 0x06, 0x15]) + struct.pack(
        ">HHHH", 1, 2, 2, 10)
    return object_frame(1 if first else 2, RESPONSE, 1, 0x02 if first else 0x00, 1, 0, text + tail)


MODULE_INFO = {
    # scenario (bit 1 a write fails), split of the direct replies, answers
    "both-replies": bytes([0, 38]) + as_given(info_reply(True)) + as_given(info_reply(False)),
    "replies-in-pieces": bytes([0, 20]) + as_given(info_reply(True), SPLIT) + as_given(info_reply(False), SPLIT),
    "replies-late": bytes([0, 0]) + as_given(info_reply(True), LATE) + as_given(info_reply(False), LATE),
    "second-silent": bytes([0, 60]) + as_given(info_reply(True)) + bytes([NEVER, 0]),
    "short-replies": bytes([0, 3]) + as_given(info_reply(True)[:12]) + as_given(info_reply(False)[:30]),
    "long-replies": bytes([0, 255]) + as_given(info_reply(True) + bytes(40)) + as_given(bytes(range(200))),
    "error-frames": bytes([0, 9]) + as_given(object_frame(1, ERROR, 1, 2, 1, 0, b"\x01")) + as_given(
        object_frame(2, ERROR, 1, 0, 1, 0, b"\x01")),
    "max-fields": bytes([0, 48]) + as_given(object_frame(1, RESPONSE, 1, 2, 1, 0, b"\xff" * 28)) + as_given(
        object_frame(2, RESPONSE, 1, 0, 1, 0, b"\xff" * 38)),
    "second-write-fails": bytes([0x03, 0]) + as_given(info_reply(True)) + as_given(info_reply(False)),
}


def host_session(pause=50):
    """The tool's frames of a session as host chunks: pause byte, size byte, bytes."""
    frames = [b"\x55\x55", b"\x55\x55",
              object_frame(1, REQUEST, 2, 0x03, 1, 1, b"\x7e"),
              object_frame(2, REQUEST, 2, 0x00, 2, 0, b"\x01"),
              frame(3, IO_DATA, b""),
              frame(4, IO_DATA, b"\x0a\x00\xff"),
              object_frame(5, REQUEST, 1, 0x02, 1, 0),
              object_frame(6, REQUEST, 1, 0x00, 1, 0),
              frame(7, IO_DATA, bytes(8)),
              object_frame(8, RESPONSE, 2, 0xF0, 2, 1, b"\x10\x20\x30\x40"),
              object_frame(9, REQUEST, 1, 0x03, 1, 1),
              object_frame(10, REQUEST, 2, 0x03, 1, 1, b"\x05"),
              object_frame(11, REQUEST, 2, 0xF1, 1, 1, b"\x01\x02\x03"),
              frame(12, IO_DATA, b"\x01")]
    return b"".join(bytes([pause, len(f)]) + f for f in frames)


SIM_SERVER = {
    # mode | scenario bits, delays, split, hang-up/flood after, flood/late time, host speed/room; host chunks
    "auto-plain": bytes([0x00, 0, 0, 0, 0, 0]) + host_session(),
    "fixed-115200": bytes([0x02, 0, 0, 0, 0, 2]) + host_session(),
    "fixed-wrong-speed": bytes([0x01, 0, 0, 0, 0, 2]) + host_session(),
    "delayed-answers": bytes([0x00, 0x35, 0, 0, 0, 0]) + host_session(),
    "split-half": bytes([0x04, 0, 0x14, 0, 0, 0]) + host_session(),
    "split-at-3": bytes([0x04, 0, 0xC5, 0, 0, 0]) + host_session(),
    "hang-up-after-3": bytes([0x08, 0, 0, 0x03, 0, 0]) + host_session(),
    "flood-after-2": bytes([0x10, 0, 0, 0x20, 0x30, 0]) + host_session(),
    "late-kinds": bytes([0x20, 0, 0, 0, 0x80, 0]) + host_session(),
    "bad-length-huge": bytes([0xC0, 0, 0, 0, 0, 0]) + host_session(),
    "host-without-room": bytes([0x10, 0, 0, 0x10, 0x3F, 0x04]) + host_session(),
    "partial-frames-time-out": bytes([0x02, 0, 0, 0, 0, 2]) + bytes([0, 3]) + b"\x01\x01\x00" + bytes([45, 2])
    + b"\x55\x55" + bytes([10, 5]) + b"\x01\x00\x00\x00\x01" + bytes([30, 1]) + b"\x50",
    "back-to-back": bytes([0x00, 0, 0, 0, 0, 0]) + host_session(pause=0),
}


def write_corpus(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    write_corpus("fuzz_connection_cycle", CONNECTION_CYCLE)
    write_corpus("fuzz_object_access", OBJECT_ACCESS)
    write_corpus("fuzz_module_info", MODULE_INFO)
    write_corpus("fuzz_sim_server", SIM_SERVER)
