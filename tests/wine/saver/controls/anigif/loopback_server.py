#!/usr/bin/env python3
"""A web server on 127.0.0.1 for the control's remote loads.

loopback_server.py FOLDER PORTFILE
Serves the files in FOLDER, and these made-up answers:
  /fourteen        14 bytes that begin like a GIF
  /not-a-gif       an HTML page
  /bytes/N         N bytes that begin like a GIF (for the size ceiling)
  /slow/NAME       half of FOLDER/NAME, a 3 s pause, then the rest
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

    def send_body(self, body, pause_after=None):
        self.send_response(200)
        self.send_header("Content-Type", "image/gif")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        try:
            if pause_after is None:
                self.wfile.write(body)
            else:
                self.wfile.write(body[:pause_after])
                self.wfile.flush()
                time.sleep(3)
                self.wfile.write(body[pause_after:])
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
        slow = path.startswith("/slow/")
        name = os.path.basename(path[len("/slow/"):] if slow else path)
        full = os.path.join(folder, name)
        if not name or not os.path.isfile(full):
            self.send_error(404)
            return
        with open(full, "rb") as f:
            body = f.read()
        self.send_body(body, len(body) // 2 if slow else None)


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
