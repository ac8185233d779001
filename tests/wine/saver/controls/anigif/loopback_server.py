#!/usr/bin/env python3
"""A web server on 127.0.0.1 for the control's remote loads.

loopback_server.py FOLDER PORTFILE
Serves the files in FOLDER, and these made-up answers:
  /fourteen        14 bytes that begin like a GIF
  /not-a-gif       an HTML page
  /bytes/N         N bytes that begin like a GIF (for the size ceiling)
  /slow/NAME       half of FOLDER/NAME, a 3 s pause, then the rest
  /pieces/NAME     FOLDER/NAME in six pieces, 0.6 s apart
  /stall/NAME      half of FOLDER/NAME, then FOLDER/NAME.stalled is made,
                   a 6 s pause, then the rest
  /trickle         a GIF head, then one byte every 2 s for 12 s, of a
                   body declared far longer
Writes "PORT GONEPORT" to PORTFILE once it listens; GONEPORT is a port
nobody listens on.
"""
import http.server
import os
import socket
import sys
import time

folder, port_file = sys.argv[1], sys.argv[2]
GIF_HEAD = b"GIF89a\x0c\x00\x0a\x00\x80\x00\x00"


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def send_body(self, body, pause_after=None, pieces=1, pause=3, stalled=None):
        """Sends `body` whole, or split after `pause_after` bytes or into
        `pieces` with `pause` seconds between the parts; `stalled` is a file
        made at the first pause."""
        self.send_response(200)
        self.send_header("Content-Type", "image/gif")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if pause_after is not None:
            cuts = [0, pause_after, len(body)]
        else:
            cuts = [len(body) * i // pieces for i in range(pieces + 1)]
        try:
            for i in range(len(cuts) - 1):
                if i > 0:
                    if i == 1 and stalled:
                        open(stalled, "w").close()
                    time.sleep(pause)
                self.wfile.write(body[cuts[i]:cuts[i + 1]])
                self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_GET(self):
        path = self.path
        if path == "/fourteen":
            return self.send_body(GIF_HEAD[:14] + b"\x00" * max(0, 14 - len(GIF_HEAD)))
        if path == "/not-a-gif":
            return self.send_body(b"<html><body>" + b"x" * 100 + b"</body></html>")
        if path.startswith("/bytes/"):
            size = int(path[len("/bytes/"):])
            self.send_response(200)
            self.send_header("Content-Length", str(size))
            self.end_headers()
            chunk = GIF_HEAD + b"\x00" * (65536 - len(GIF_HEAD))
            sent = 0
            try:
                while sent < size:
                    part = chunk[: min(len(chunk), size - sent)]
                    self.wfile.write(part)
                    sent += len(part)
                    chunk = b"\x00" * 65536
            except (BrokenPipeError, ConnectionResetError):
                pass
            return
        if path == "/trickle":
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            try:
                self.wfile.write(GIF_HEAD)
                for _ in range(6):
                    self.wfile.flush()
                    time.sleep(2)
                    self.wfile.write(b"\x00")
            except (BrokenPipeError, ConnectionResetError):
                pass
            return
        kind, _, rest = path[1:].partition("/")
        if kind not in ("slow", "pieces", "stall"):
            kind, rest = "", path
        name = os.path.basename(rest)
        full = os.path.join(folder, name)
        if not name or not os.path.isfile(full):
            self.send_error(404)
            return
        with open(full, "rb") as f:
            body = f.read()
        if kind == "slow":
            self.send_body(body, len(body) // 2)
        elif kind == "pieces":
            self.send_body(body, pieces=6, pause=0.6)
        elif kind == "stall":
            self.send_body(body, len(body) // 2, pause=6, stalled=full + ".stalled")
        else:
            self.send_body(body)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
gone = socket.socket()
gone.bind(("127.0.0.1", 0))
gone_port = gone.getsockname()[1]
gone.close()
with open(port_file + ".tmp", "w") as f:
    f.write("%d %d\n" % (server.server_address[1], gone_port))
os.rename(port_file + ".tmp", port_file)
server.serve_forever()
