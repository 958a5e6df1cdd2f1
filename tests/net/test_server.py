#!/ usr / bin / env python3
"""A scripted HTTP server on 127.0.0.1 for the network tests and the download benchmark.

It prints "PORT <n>" once listening, then takes commands on standard input, one per line,
answering each with one line ("ok", or data as described). With "--connect <port>" the
commands come and the answers go over a connection to that port of 127.0.0.1 instead (a test
program under Wine cannot hand its pipes to a Linux process):

  route <path-hex> raw <response-hex>        send these bytes, then close
  route <path-hex> stream <size> <head-hex>  send the head, then <size> generated body bytes
  route <path-hex> endless <head-hex> [<line-hex>]
                                             send the head, then the line (a filler header
                                             line unless given) without end
  route <path-hex> silent                    read the request, then answer nothing until the
                                             client leaves
  route <path-hex> trickle <pieces> <gap-ms> <response-hex> [hold]
                                             send the response in that many pieces with the
                                             gap before each, then close, or with "hold" keep
                                             the connection open until the client leaves
  route <path-hex> drip <piece-size> <gap-ms> <head-hex> <body-hex>
                                             send the head at once, then the body in pieces
                                             of that size with the gap before each, then close
  route <path-hex> gated <head-hex>[,<piece-hex>...]
                                             send the head, then each piece only once the
                                             test has let one go, then close
  release                                    let one held piece go (the next connection
                                             waiting for one sends it)
  requests                                   "<n>", then n lines: each raw request in hex
  clear                                      forget the recorded requests

A request is matched by its target's path with the query, then without it; an absolute
target (as a proxy receives it) is matched by its path. Unrouted paths get a 404. A
connection that opens with a TLS handshake is recorded as it is and closed.
"""

import socket
import socketserver
import sys
import threading
import time

NOT_FOUND = b"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"
HEADER_LIMIT = 4 << 20
#Byte i of a generated body is i % 251; the block is a whole number of periods.
PATTERN = bytes(i % 251 for i in range(251 * 4177))

routes = {}
requests = []
lock = threading.Lock()
released = threading.Condition(lock)
released_pieces = 0


def read_request(sock):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = sock.recv(65536)
        if not chunk:
            return data
        data += chunk
        if data[:1] == b"\x16" or len(data) > HEADER_LIMIT:
            return data
    head, _, rest = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(b"\r\n")[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            try:
                length = int(value.strip())
            except ValueError:
                length = 0
    while len(rest) < length:
        chunk = sock.recv(65536)
        if not chunk:
            break
        rest += chunk
    return head + b"\r\n\r\n" + rest


def target_path(request):
    line = request.split(b"\r\n", 1)[0].split(b" ")
    target = line[1] if len(line) > 1 else b"/"
    if b"://" in target:
        after = target.split(b"://", 1)[1]
        slash = after.find(b"/")
        target = after[slash:] if slash >= 0 else b"/"
    return target


def send_stream(sock, head, size):
    sock.sendall(head)
    view = memoryview(PATTERN)
    while size > 0:
        step = min(size, len(view))
        sock.sendall(view[:step])
        size -= step


FILLER = b"X-Filler: " + b"f" * 100 + b"\r\n"


def send_endless(sock, head, line):
    sock.sendall(head)
    block = line * (10000 // len(line) + 1)
    while True:
        sock.sendall(block)


def send_trickle(sock, pieces, gap, response, hold):
    size = -(-len(response) // pieces)
    for start in range(0, len(response), size):
        time.sleep(gap)
        sock.sendall(response[start:start + size])
    if hold:
        wait_for_client_to_leave(sock)


def send_drip(sock, size, gap, head, body):
    sock.sendall(head)
    for start in range(0, len(body), size):
        time.sleep(gap)
        sock.sendall(body[start:start + size])


def send_gated(sock, head, pieces):
    global released_pieces
    sock.sendall(head)
    for piece in pieces:
        with released:
            released.wait_for(lambda: released_pieces > 0)
            released_pieces -= 1
        sock.sendall(piece)


def wait_for_client_to_leave(sock):
    while sock.recv(4096):
        pass


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        sock = self.request
        try:
            request = read_request(sock)
            if not request:
                return
            with lock:
                requests.append(request)
            if request[:1] == b"\x16":
                return
            target = target_path(request)
            with lock:
                route = routes.get(target) or routes.get(target.split(b"?", 1)[0])
            if route is None:
                sock.sendall(NOT_FOUND)
            elif route[0] == "raw":
                sock.sendall(route[1])
            elif route[0] == "stream":
                send_stream(sock, route[2], route[1])
            elif route[0] == "endless":
                send_endless(sock, route[1], route[2])
            elif route[0] == "silent":
                wait_for_client_to_leave(sock)
            elif route[0] == "trickle":
                send_trickle(sock, *route[1:])
            elif route[0] == "drip":
                send_drip(sock, *route[1:])
            elif route[0] == "gated":
                send_gated(sock, *route[1:])
        except OSError:
            pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 64


def command(words):
    global released_pieces
    if words[0] == "route":
        path = bytes.fromhex(words[1])
        kind = words[2]
        if kind == "raw":
            route = ("raw", bytes.fromhex(words[3]) if len(words) > 3 else b"")
        elif kind == "stream":
            route = ("stream", int(words[3]), bytes.fromhex(words[4]) if len(words) > 4 else b"")
        elif kind == "endless":
            head = bytes.fromhex(words[3]) if len(words) > 3 else b""
            route = ("endless", head, bytes.fromhex(words[4]) if len(words) > 4 else FILLER)
        elif kind == "silent":
            route = ("silent",)
        elif kind == "trickle":
            route = ("trickle", int(words[3]), int(words[4]) / 1000, bytes.fromhex(words[5]),
                     words[6:] == ["hold"])
        elif kind == "drip":
            route = ("drip", int(words[3]), int(words[4]) / 1000, bytes.fromhex(words[5]),
                     bytes.fromhex(words[6]))
        elif kind == "gated":
            parts = [bytes.fromhex(part) for part in (words[3] if len(words) > 3 else "").split(",")]
            route = ("gated", parts[0], parts[1:])
        else:
            return "error unknown kind"
        with lock:
            routes[path] = route
        return "ok"
    if words[0] == "requests":
        with lock:
            recorded = list(requests)
        return "\n".join([str(len(recorded))] + [r.hex() for r in recorded])
    if words[0] == "release":
        with released:
            released_pieces += 1
            released.notify_all()
        return "ok"
    if words[0] == "clear":
        with lock:
            requests.clear()
        return "ok"
    return "error unknown command"


def command_channel():
    if len(sys.argv) == 3 and sys.argv[1] == "--connect":
        connection = socket.create_connection(("127.0.0.1", int(sys.argv[2])))
        return connection.makefile("r"), connection.makefile("w")
    return sys.stdin, sys.stdout


def main():
    commands, answers = command_channel()
    server = Server(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    print("PORT", server.server_address[1], file=answers, flush=True)
    for line in commands:
        words = line.split()
        if words:
            print(command(words), file=answers, flush=True)
    server.shutdown()


if __name__ == "__main__":
    main()
