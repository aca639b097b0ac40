#!/usr/bin/env python3
"""A local update server for trying and testing vorlin's update page.

It answers the update check (POST <base>/api/updates with app_key and version) from a table of
sample answers and serves the installers it names under /files/. By default it speaks HTTPS with a
certificate signed by a certificate authority it makes itself (with openssl) in its folder, so the
program can be told to trust exactly that authority:

    python3 scripts/update_test_server.py --port 8443
    # prints the two variables to set, e.g.
    VORLIN_UPDATE_URL=https://127.0.0.1:8443/api/ VORLIN_UPDATE_CA_FILE=/tmp/.../ca.pem \
        build/default/src/vorlin --demo

Options:
    --port N            port on 127.0.0.1 (0: any free one; the chosen one is printed)
    --http              plain HTTP instead of HTTPS
    --self-signed       a self-signed server certificate instead of one from the server's own
                        authority (for checking that such a server is refused)
    --dir DIR           folder for certificates and files (default: a new temporary folder)
    --answers FILE      JSON object: app_key -> answer object (replaces the sample answers); a
                        "path" starting with "/" is one of this server's files
    --files DIR         serve the installers from this folder instead of the sample ones
    --log FILE          append one JSON line per request (method, path, headers, body)

The first line on standard output is "READY <port> <base url> <ca file or ->", for scripts.

Paths besides the API: /api/big answers 200000 bytes of "x"; /api/slow answers after 30 s;
/files/<name> serves a file of the files folder (HEAD gives its length); /slow/<name> serves the
same file 1024 bytes every 0.3 s (for watching a download).
"""

import argparse
import http.server
import json
import os
import ssl
import subprocess
import sys
import tempfile
import time
import urllib.parse

# The sample answers: the mouse and the keyboard have newer firmware, the program a newer
# version; the mouse pad is up to date.
SAMPLE_ANSWERS = {
    "TORVA_1_QX20M01A_MS_1": {"path": "/files/mouse-firmware.sh", "name": "MS",
                              "version_name": "Mouse firmware 1.09", "version": "0109",
                              "device_id": 0},
    "TORVA_1_QX20K01A_KB_1": {"path": "/files/keyboard-firmware.sh", "name": "KB",
                              "version_name": "Keyboard firmware 2.00", "version": "0200",
                              "device_id": 0},
    "TORVA_2_QX20P01A_1_P10_1": {"path": "/files/pad-firmware.sh", "name": "P10",
                                 "version_name": "Pad firmware 1.00", "version": "0001",
                                 "device_id": 0},
    "TORVA_0_ALL_P10_1": {"path": "/files/vorlin-setup.sh", "name": "AP",
                          "version_name": "V0102", "version": "2", "device_id": 1},
}

# A sample installer: reports its progress and success to the program over the session bus.
SAMPLE_INSTALLER = """#!/bin/sh
# A pretend installer: tells the program how far it got, then that it finished.
report() {
  dbus-send --session --type=method_call --dest=org.vorlin.Vorlin /Vorlin \\
    org.vorlin.Vorlin.InstallerReport int32:"$1" int32:"$2"
}
for percent in 25 50 75 100; do report 4 "$percent"; sleep 1; done
report 1 0
"""


def run_openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def make_certificates(folder, self_signed):
    """Returns (certificate, key, authority) file names; authority is None when self-signed."""
    server_key = os.path.join(folder, "server.key")
    server_pem = os.path.join(folder, "server.pem")
    names = "subjectAltName=IP:127.0.0.1,DNS:localhost"
    if self_signed:
        run_openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", server_key,
                    "-out", server_pem, "-days", "2", "-subj", "/CN=localhost", "-addext", names)
        return server_pem, server_key, None
    ca_key = os.path.join(folder, "ca.key")
    ca_pem = os.path.join(folder, "ca.pem")
    run_openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", ca_key, "-out",
                ca_pem, "-days", "2", "-subj", "/CN=vorlin test authority")
    request = os.path.join(folder, "server.csr")
    run_openssl("req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", server_key, "-out", request,
                "-subj", "/CN=localhost")
    extensions = os.path.join(folder, "server.ext")
    with open(extensions, "w") as f:
        f.write(names + "\n")
    run_openssl("x509", "-req", "-in", request, "-CA", ca_pem, "-CAkey", ca_key,
                "-CAcreateserial", "-out", server_pem, "-days", "2", "-extfile", extensions)
    return server_pem, server_key, ca_pem


def make_sample_files(folder):
    os.makedirs(folder, exist_ok=True)
    for name in ("mouse-firmware.sh", "keyboard-firmware.sh", "pad-firmware.sh",
                 "vorlin-setup.sh"):
        with open(os.path.join(folder, name), "w") as f:
            f.write(SAMPLE_INSTALLER)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    answers = SAMPLE_ANSWERS
    files = "."
    log_file = None
    origin = ""

    def log_message(self, format, *args):  # quiet: the log file is the record
        pass

    def record(self, body):
        if not self.log_file:
            return
        entry = {"method": self.command, "path": self.path,
                 "headers": {k: v for k, v in self.headers.items()},
                 "body": body.decode("utf-8", "replace")}
        with open(self.log_file, "a") as f:
            f.write(json.dumps(entry) + "\n")

    def send(self, status, body, content_type="application/json", head=False):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if not head:
            self.wfile.write(body)

    def route(self):
        # A proxied request names the whole address.
        return urllib.parse.urlsplit(self.path).path

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        self.record(body)
        path = self.route()
        if path.endswith("/api/updates"):
            form = urllib.parse.parse_qs(body.decode("utf-8"))
            key = form.get("app_key", [""])[0]
            answer = dict(self.answers.get(key) or {})
            # Paths of this server's own files become whole addresses.
            if str(answer.get("path", "")).startswith("/"):
                answer["path"] = self.origin + answer["path"]
            self.send(200, json.dumps(answer).encode())
        elif path.endswith("/api/big"):
            self.send(200, b"x" * 200000, "text/plain")
        elif path.endswith("/api/slow"):
            time.sleep(30)
            self.send(200, b"{}")
        else:
            self.send(404, b"{}")

    def serve_file(self, head):
        self.record(b"")
        path = self.route()
        name = os.path.basename(path)
        slow = path.startswith("/slow/")
        if not (path.startswith("/files/") or slow) or not name:
            return self.send(404, b"", head=head)
        full = os.path.join(self.files, name)
        if not os.path.isfile(full):
            return self.send(404, b"", head=head)
        with open(full, "rb") as f:
            data = f.read()
        if not slow or head:
            return self.send(200, data, "application/octet-stream", head=head)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            for start in range(0, len(data), 1024):
                self.wfile.write(data[start:start + 1024])
                self.wfile.flush()
                time.sleep(0.3)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_GET(self):
        self.serve_file(False)

    def do_HEAD(self):
        self.serve_file(True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--port", type=int, default=8443)
    parser.add_argument("--http", action="store_true")
    parser.add_argument("--self-signed", action="store_true")
    parser.add_argument("--dir")
    parser.add_argument("--answers")
    parser.add_argument("--files")
    parser.add_argument("--log")
    args = parser.parse_args()

    folder = args.dir or tempfile.mkdtemp(prefix="vorlin-update-server-")
    os.makedirs(folder, exist_ok=True)
    Handler.answers = SAMPLE_ANSWERS
    if args.answers:
        with open(args.answers) as f:
            Handler.answers = json.load(f)
    if args.files:
        Handler.files = args.files
    else:
        Handler.files = os.path.join(folder, "files")
        make_sample_files(Handler.files)
    Handler.log_file = args.log

    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    authority = None
    scheme = "http" if args.http else "https"
    if not args.http:
        certificate, key, authority = make_certificates(folder, args.self_signed)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(certificate, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    port = server.server_address[1]
    Handler.origin = f"{scheme}://127.0.0.1:{port}"
    base = f"{scheme}://127.0.0.1:{port}/api/"
    print(f"READY {port} {base} {authority or '-'}", flush=True)
    print(f"VORLIN_UPDATE_URL={base}", file=sys.stderr)
    if authority:
        print(f"VORLIN_UPDATE_CA_FILE={authority}", file=sys.stderr)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
