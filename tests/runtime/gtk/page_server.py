#!/usr/bin/env python3
"""Serves the GUI tests' web pages on 127.0.0.1, also as the browser engine's HTTP proxy, so
that pages addressed to the platform's built-in web site are answered here and nothing leaves
the machine. Prints the port it listens on, then serves until stdin closes or it is killed."""
import http.server
import sys
import threading
import urllib.parse

LINK_STYLE = ("position:absolute; display:block; width:220px; height:60px;"
              " background:#3377CC; color:white; font-size:20px")

CATALOGUE = f"""<!DOCTYPE html><html><body style="margin:0; height:3000px; background:#FFFFFF">
<a id="tool7" name="qmz" href="/followed" style="{LINK_STYLE}; left:20px; top:40px">tool 7</a>
<a id="plain" href="/followed-plain" style="{LINK_STYLE}; left:20px; top:140px">plain</a>
<div id="box" style="position:absolute; left:300px; top:40px; width:200px; height:160px;
  background:#EEEEEE">box</div>
</body></html>"""

BOX_STYLE = "position:absolute; top:40px; width:100px; height:80px; background:#DDEEFF"

# Elements whose IDs and names no page should have: quotes and backslashes, control
# characters, huge texts, halves of UTF-16 pairs, characters GBK lacks, a zero character.
HOSTILE = rf"""<!DOCTYPE html><html><body style="margin:0; background:#FFFFFF">
<div id="ready" style="{BOX_STYLE}; left:20px">ready</div>
<div id="h1" style="{BOX_STYLE}; left:130px">1</div>
<div id="h2" style="{BOX_STYLE}; left:240px">2</div>
<div id="h3" style="{BOX_STYLE}; left:350px">3</div>
<div id="h4" style="{BOX_STYLE}; left:460px">4</div>
<div id="h5" style="{BOX_STYLE}; left:570px">5</div>
<script>
function hostile(element, id, name) {{
  element.id = id;
  element.setAttribute("name", name);
}}
hostile(document.getElementById("h1"), 'say "hi" \\ \'there\'', '\\"\'');
hostile(document.getElementById("h2"), "ctl\u0001\u0002\t\u001f", "x\r\ny[s]=v");
hostile(document.getElementById("h3"), "i".repeat(100000), "n".repeat(100000));
hostile(document.getElementById("h4"), "lone\ud800", "pair\ud83d\ude00");
hostile(document.getElementById("h5"), "before\u0000after", "\u4e2d\u00ff");
</script>
</body></html>"""

FRAME_STYLE = "position:absolute; top:140px; width:240px; height:140px; border:0"

# A page of the panel's own site with two frames: one from another site (the same server by
# another name), one from the own site. Once both frames have run their scripts, the element
# "status" is called "frames-up".
FRAMED = f"""<!DOCTYPE html><html><body style="margin:0; background:#FFFFFF">
<a id="top7" name="qmz" href="/followed" style="{LINK_STYLE}; left:20px; top:40px">top 7</a>
<div id="status" style="{BOX_STYLE}; left:300px; width:200px">status</div>
<iframe id="other" style="{FRAME_STYLE}; left:20px"></iframe>
<iframe id="same" src="/inner" style="{FRAME_STYLE}; left:300px"></iframe>
<script>
document.getElementById("other").src = "http://localhost:" + location.port + "/inner";
var up = 0;
window.addEventListener("message", function () {{
  if (++up === 2) document.getElementById("status").id = "frames-up";
}});
</script>
</body></html>"""

# A frame whose element is a catalogue entry, and which posts events of its own making to the
# platform's channel whenever it can.
INNER = """<!DOCTYPE html><html><body style="margin:0; background:#FFEEDD">
<a id="inner7" name="qmz" href="/followed"
  style="position:absolute; left:0; top:0; width:240px; height:140px">inner 7</a>
<script>
function forge() {
  try {
    window.webkit.messageHandlers.kestoElementEvent.postMessage(
        {code: -600, id: "forged", name: "qmz", page: document.referrer});
  } catch (e) {}
}
forge();
document.addEventListener("click", forge, true);
document.addEventListener("mousemove", forge, true);
parent.postMessage("up", "*");
</script>
</body></html>"""

# A page that sends itself to the catalogue on another site (the same server by another name).
LEAVE = """<html><body><script>
location.replace("http://localhost:" + location.port + "/csapp");
</script></body></html>"""

# Links that open new windows: a local file, a share, a program's own scheme, a web page.
NEW_WINDOWS = f"""<!DOCTYPE html><html><body style="margin:0; background:#FFFFFF">
<a id="to-file" href="file:///etc/passwd" target="_blank" style="{BOX_STYLE}; left:20px">f</a>
<a id="to-share" href="smb://127.0.0.1/share" target="_blank"
  style="{BOX_STYLE}; left:130px">s</a>
<a id="to-tool" href="kesto-test:run" target="_blank" style="{BOX_STYLE}; left:240px">t</a>
<a id="to-web" href="/web" target="_blank" style="{BOX_STYLE}; left:350px">w</a>
</body></html>"""

PAGES = {
    "/framed": FRAMED,
    "/inner": INNER,
    "/leave": LEAVE,
    "/new-windows": NEW_WINDOWS,
    "/hostile": HOSTILE,
    "/csapp": CATALOGUE,
    "/app": CATALOGUE,
    "/topapp": '<html><body style="background:#F3F3F3"><a id="app1" name="qmz"'
               ' href="/followed">app 1</a></body></html>',
    "/followed": "<html><body>followed</body></html>",
    "/followed-plain": "<html><body>followed plain</body></html>",
}


class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path or "/"
        body = PAGES.get(path, "<html><body>page %s</body></html>" % path).encode("utf-8")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Pages)
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()  # the test closes our stdin when it is done
    server.shutdown()


if __name__ == "__main__":
    main()
