# SPDX-License-Identifier: GPL-3.0-or-later
"""A print server that answers on its first connection and hangs on every later one.

The first connection is the program's short question whether the server answers; each request on
it gets a valid IPP reply ("not found": no default printer). Later connections are taken and never
answered, so whoever asks there waits for a long time. Each connection is logged, one line each.
Usage: stuck_print_server.py WORK_FOLDER (writes WORK_FOLDER/cups.port and cups.log).
"""
import socket
import struct
import sys
import threading

work = sys.argv[1]
held = []


def attribute(tag, name, value):
    return (bytes([tag]) + struct.pack(">H", len(name)) + name + struct.pack(">H", len(value))
            + value)


def reply(request_id):
    ipp = (b"\x02\x00" + struct.pack(">H", 0x0406) + request_id + b"\x01"
           + attribute(0x47, b"attributes-charset", b"utf-8")
           + attribute(0x48, b"attributes-natural-language", b"en") + b"\x03")
    head = ("HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: %d\r\n"
            "Connection: Keep-Alive\r\n\r\n" % len(ipp)).encode()
    return head + ipp


def answer(conn):
    buffer = b""
    while True:
        while b"\r\n\r\n" not in buffer:
            data = conn.recv(65536)
            if not data:
                return
            buffer += data
        head, buffer = buffer.split(b"\r\n\r\n", 1)
        fields = {}
        for line in head.decode("latin-1").split("\r\n")[1:]:
            if ":" in line:
                key, value = line.split(":", 1)
                fields[key.strip().lower()] = value.strip()
        if fields.get("expect", "").lower() == "100-continue":
            conn.sendall(b"HTTP/1.1 100 Continue\r\n\r\n")
        length = int(fields.get("content-length", "0"))
        while len(buffer) < length:
            data = conn.recv(65536)
            if not data:
                return
            buffer += data
        body, buffer = buffer[:length], buffer[length:]
        conn.sendall(reply(body[4:8] if len(body) >= 8 else b"\x00\x00\x00\x01"))


server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
server.bind(("127.0.0.1", 0))
server.listen(64)
with open(work + "/cups.port", "w") as out:
    out.write(str(server.getsockname()[1]))
count = 0
while True:
    conn, _ = server.accept()
    count += 1
    with open(work + "/cups.log", "a") as log:
        log.write("answered\n" if count == 1 else "held\n")
    if count == 1:
        threading.Thread(target=answer, args=(conn,), daemon=True).start()
    else:
        held.append(conn)
