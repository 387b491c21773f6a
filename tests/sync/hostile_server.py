#!/usr/bin/env python3
"""A calendar server that misbehaves on purpose, for the sync tests.

It passes requests on to a real server (the tests' Radicale) and, by its mode, answers
some of them itself: it redirects to another port, answers a PUT with 207, names hrefs
outside the calendar, sends an endless body or drips one byte a second, or lists a
calendar itself, as large as the client reads (full-many, full-described, full-large).
Every request it and its second port receive is logged, one line each: PORT METHOD PATH
AUTH, where AUTH says whether an Authorization header came with it. It stops by itself
after --lifetime seconds, and every loop in it is bounded.
"""
import argparse
import http.client
import http.server
import socketserver
import sys
import threading
import time

EVENT = ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//hostile//EN\r\nBEGIN:VEVENT\r\n"
         "UID:{uid}\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240516T090000\r\n"
         "SUMMARY:{summary}\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")
OUTSIDE = ["/etc/passwd", "/alice/other/x.ics", "/alice/tasks/../other/y.ics",
           "/alice/tasks/%2e%2e/other/z.ics", "http://127.0.0.1:1/alice/tasks/w.ics"]


def outside_responses():
    parts = []
    for i, href in enumerate(OUTSIDE):
        data = EVENT.format(uid="outside-%d" % i, summary="Outside %d" % i)
        parts.append(
            '<d:response xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">'
            '<d:href>%s</d:href><d:propstat><d:prop><d:getetag>"o%d"</d:getetag>'
            '<c:calendar-data>%s</c:calendar-data></d:prop>'
            '<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>'
            % (href, i, data.replace("\r", "&#13;")))
    return "".join(parts).encode()


LIMIT = 64 * 1024 * 1024
# Below the limit by less than one small object, so the answer is as large as may be read.
FULL = LIMIT - 4096
FIRST_DAY = 19493  # 2023-05-16, days since 1970-01-01: the start of the sync's window


def listing_response(href, etag, data):
    # CR escaped: a raw one would reach the client as a plain line feed.
    return ('<d:response><d:href>%s</d:href><d:propstat><d:prop><d:getetag>"%s"</d:getetag>'
            '<c:calendar-data>%s</c:calendar-data></d:prop>'
            '<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>'
            % (href, etag, data.replace("\r", "&#13;"))).encode()


def day_text(serial):
    return time.strftime("%Y%m%d", time.gmtime(serial * 86400))


def folded(line):
    """A content line folded as the format wants: 75 octets, then a space and 74 each."""
    parts = [line[:75]] + [" " + line[at:at + 74] for at in range(75, len(line), 74)]
    return "\r\n".join(parts)


def full_listing(shape, most=None):
    """A calendar-query answer of at most FULL bytes (and `most` objects) of valid events,
    each one in the sync's window. many: the smallest events, as many as fit; described:
    events whose text is as long as a task's may be; large: `most` events (three unless
    given), each carrying an attachment of an equal share of the answer."""
    head = ('<?xml version="1.0" encoding="utf-8"?>'
            '<d:multistatus xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">').encode()
    tail = b"</d:multistatus>"
    parts = [head]
    size = len(head) + len(tail)
    if shape in ("many", "described"):
        i = 0
        while most is None or i < most:
            summary = "%s %d" % (shape.capitalize(), i)
            data = EVENT.format(uid="%s-%d" % (shape, i), summary=summary).replace(
                "DTSTART:20240516T090000",
                "DTSTART:%sT%02d%02d00" % (day_text(FIRST_DAY + i % 1090), i % 24, i % 60))
            if shape == "described":
                words = ("lorem ipsum dolor sit amet %d " % i) * 80
                data = data.replace("END:VEVENT",
                                    folded("DESCRIPTION:" + words[:2000]) + "\r\nEND:VEVENT")
            part = listing_response("/alice/tasks/%s-%d.ics" % (shape, i), "m%d" % i, data)
            if size + len(part) > FULL:
                break
            parts.append(part)
            size += len(part)
            i += 1
    else:
        count = most or 3
        for i in range(count):
            frame = listing_response("/alice/tasks/large-%d.ics" % i, "l%d" % i,
                                     EVENT.format(uid="large-%d" % i, summary="Large %d" % i))
            room = (FULL - size) // (count - i) - len(frame)
            # Each folded line takes 75 characters, CR (as &#13;) and LF.
            line = "ATTACH;FMTTYPE=application/octet-stream;ENCODING=BASE64;VALUE=BINARY:"
            line += "QUFB" * ((room // 81 - 1) * 74 // 4)
            data = EVENT.format(uid="large-%d" % i, summary="Large %d" % i).replace(
                "END:VEVENT", folded(line) + "\r\nEND:VEVENT")
            part = listing_response("/alice/tasks/large-%d.ics" % i, "l%d" % i, data)
            parts.append(part)
            size += len(part)
    parts.append(tail)
    return b"".join(parts)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--upstream", type=int, required=True)
    ap.add_argument("--mode", required=True)
    ap.add_argument("--ports", required=True, help="file to write 'PORT ELSEWHERE_PORT' to")
    ap.add_argument("--log", required=True)
    ap.add_argument("--lifetime", type=float, default=300)
    ap.add_argument("--listed", help="file to write the number of objects a full listing holds to")
    ap.add_argument("--objects", type=int, help="the most objects a full listing holds")
    args = ap.parse_args()
    lock = threading.Lock()
    ports = {}
    listings = []  # made once, at the first listing asked for

    def log(port, handler):
        auth = "auth" if handler.headers.get("Authorization") else "noauth"
        with lock, open(args.log, "a") as f:
            f.write("%d %s %s %s\n" % (port, handler.command, handler.path, auth))

    class Elsewhere(http.server.BaseHTTPRequestHandler):
        def handle_one_request(self):
            super().handle_one_request()

        def do_any(self):
            log(ports["elsewhere"], self)
            length = int(self.headers.get("Content-Length") or 0)
            self.rfile.read(length)
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()

        do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_OPTIONS = do_any

        def log_message(self, *a):
            pass

    class Hostile(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def reply(self, status, body=b"", ctype="application/xml; charset=utf-8"):
            self.send_response(status)
            self.send_header("Content-Type", ctype)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def forward(self, body):
            conn = http.client.HTTPConnection("127.0.0.1", args.upstream, timeout=30)
            # Plain bodies, so that the listing can be added to.
            headers = {k: v for k, v in self.headers.items()
                       if k.lower() not in ("host", "accept-encoding")}
            conn.request(self.command, self.path, body=body, headers=headers)
            answer = conn.getresponse()
            data = answer.read()
            return answer, data

        def do_any(self):
            log(ports["hostile"], self)
            length = int(self.headers.get("Content-Length") or 0)
            body = self.rfile.read(length) if length else None
            mode = args.mode
            if mode == "redirect":
                self.send_response(307)
                self.send_header("Location",
                                 "http://127.0.0.1:%d%s" % (ports["elsewhere"], self.path))
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            if mode == "put207" and self.command == "PUT":
                return self.reply(207, b'<?xml version="1.0"?><d:multistatus xmlns:d="DAV:"/>')
            if mode in ("huge", "drip") and self.command == "REPORT":
                self.send_response(207)
                self.send_header("Content-Type", "application/xml; charset=utf-8")
                self.end_headers()
                start = time.monotonic()
                try:
                    if mode == "huge":
                        self.wfile.write(b'<?xml version="1.0"?><d:multistatus xmlns:d="DAV:">')
                        chunk = b"<d:response><d:href>/alice/tasks/x.ics</d:href></d:response>" * 1000
                        sent = 0
                        while sent < 300 * 1024 * 1024 and time.monotonic() - start < 60:
                            self.wfile.write(chunk)
                            sent += len(chunk)
                    else:
                        for byte in b'<?xml version="1.0"?><d:multistatus xmlns:d="DAV:">' * 10:
                            if time.monotonic() - start > 60:
                                break
                            self.wfile.write(bytes([byte]))
                            self.wfile.flush()
                            time.sleep(1)
                except (BrokenPipeError, ConnectionResetError):
                    pass
                self.close_connection = True
                return
            if mode.startswith("full-") and self.command == "REPORT":
                with lock:
                    if not listings:
                        listings.append(full_listing(mode[len("full-"):], args.objects))
                        if args.listed:
                            with open(args.listed, "w") as f:
                                f.write("%d\n" % listings[0].count(b"<d:response>"))
                listing = listings[0]
                self.send_response(207)
                self.send_header("Content-Type", "application/xml; charset=utf-8")
                self.send_header("Content-Length", str(len(listing)))
                self.end_headers()
                try:
                    for at in range(0, len(listing), 1 << 16):
                        self.wfile.write(listing[at:at + (1 << 16)])
                except (BrokenPipeError, ConnectionResetError):
                    self.close_connection = True
                return
            answer, data = self.forward(body)
            if mode == "outside" and self.command == "REPORT" and answer.status == 207:
                end = data.rfind(b"</")
                if end >= 0:
                    data = data[:end] + outside_responses() + data[end:]
            self.send_response(answer.status, answer.reason)
            for k, v in answer.getheaders():
                if k.lower() not in ("content-length", "transfer-encoding", "connection"):
                    self.send_header(k, v)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data)

        do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_OPTIONS = do_MKCALENDAR = do_any

        def log_message(self, *a):
            pass

    class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
        daemon_threads = True

    hostile = Server(("127.0.0.1", 0), Hostile)
    elsewhere = Server(("127.0.0.1", 0), Elsewhere)
    ports["hostile"] = hostile.server_address[1]
    ports["elsewhere"] = elsewhere.server_address[1]
    for s in (hostile, elsewhere):
        threading.Thread(target=s.serve_forever, daemon=True).start()
    with open(args.ports + ".tmp", "w") as f:
        f.write("%d %d\n" % (ports["hostile"], ports["elsewhere"]))
    import os
    os.replace(args.ports + ".tmp", args.ports)
    time.sleep(args.lifetime)
    sys.exit(0)


if __name__ == "__main__":
    main()
