"""A throw-away RFC 3161 time-stamp authority on the loopback address, for
the signing test: answers each POSTed time-stamp query with `openssl ts
-reply` under the given configuration. Writes the port it listens on to
the port file once it listens; runs until it is ended.

Usage: time_stamp_authority.py <openssl ts config> <port file>
"""
import http.server
import subprocess
import sys


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", sys.argv[1], "-queryfile", "/dev/stdin", "-out", "/dev/stdout"],
            input=query, capture_output=True)
        if reply.returncode != 0 or not reply.stdout:
            self.send_error(500, reply.stderr.decode(errors="replace")[:200])
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)

    def log_message(self, format, *args):
        sys.stderr.write("time-stamp authority: " + format % args + "\n")


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
with open(sys.argv[2], "w") as port:
    port.write(str(server.server_address[1]))
server.serve_forever()
