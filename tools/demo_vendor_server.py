#!/usr/bin/env python3
"""A local stand-in for the vendor's web server, so the content panes can be
watched rotating: it serves the page schedule, the pane flags (with a cookie)
and a few small pages of its own.

    python3 tools/demo_vendor_server.py            # http://127.0.0.1:8765
    cmake --preset demo && cmake --build --preset demo
    build-demo/app/taliven

--flags changes the flags text, e.g. --flags 10 for the centre pane alone.
It can also misbehave, for start-up measurements: --silent takes requests
and never answers; --slow SECONDS sends each answer a little at a time, so
that it is complete only after SECONDS. --port 0 picks a free port; the
first line printed names the server's address.
"""

import argparse
import html
import threading
import time
from http import HTTPStatus
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SCHEDULE_PATH = "/Chinese/CPC/loginfo.html"
FLAGS_PATH = "/Chinese/SysInfo/logFlagfee.htm"

# (selector, seconds, page): "1" is the banner pane, "0" the centre pane.
SCHEDULE = [
    ("1", 6, "banner-calendar.html"),
    ("0", 8, "centre-calendar.html"),
    ("0", 6, "centre-terms.html"),
    ("1", 4, "banner-readings.html"),
    ("0", 7, "centre-readings.html"),
]

BANNER_STYLE = """
html, body { margin: 0; padding: 0; overflow: hidden; }
.banner { box-sizing: border-box; width: 100vw; height: 100vh; padding: 24px 40px;
  display: flex; align-items: center; justify-content: space-between;
  font-family: "Noto Sans CJK SC", "AR PL UKai CN", sans-serif; color: #fff; }
.banner h1 { margin: 0; font-size: 30px; letter-spacing: 4px; }
.banner p { margin: 4px 0 0; font-size: 15px; opacity: 0.9; }
.banner .tag { border: 2px solid #fff; border-radius: 18px; padding: 6px 18px; font-size: 16px; }
"""

CENTRE_STYLE = """
html, body { margin: 0; padding: 0; overflow: hidden; }
.centre { position: relative; box-sizing: border-box; width: 100vw; height: 100vh; padding: 36px 44px;
  font-family: "Noto Sans CJK SC", "AR PL UKai CN", sans-serif; color: #123; }
.centre h1 { margin: 0 0 18px; font-size: 28px; color: #0b3d91; }
.centre ul { margin: 0; padding-left: 22px; font-size: 17px; line-height: 1.9; }
.centre .foot { position: absolute; left: 44px; bottom: 28px; font-size: 13px; color: #567; }
"""

BANNERS = {
    "banner-calendar.html": ("linear-gradient(90deg, #c0392b, #e67e22)",
                             "Taliven 万年历", "1901—2050 年农历、节气、节日一页看全", "查看日历"),
    "banner-readings.html": ("linear-gradient(90deg, #1f5fa8, #3ab0d8)",
                             "QQ号码测算 · 网名测算", "输入号码或网名，看看今天的好运气", "马上试试"),
}

CENTRES = {
    "centre-calendar.html": ("linear-gradient(160deg, #fdfbf3, #f3e3c3)", "今日推荐：农历万年历", [
        "每一天都标出农历日子与节气",
        "春节、中秋、重阳等传统节日一目了然",
        "按年、按月翻看，支持 1901 年到 2050 年",
        "生肖与星座随选中的日子变化",
    ]),
    "centre-terms.html": ("linear-gradient(160deg, #f1faf1, #cfe9d2)", "节气小知识", [
        "立春：春季的开始，万物复苏",
        "清明：天气清澈明朗，踏青扫墓",
        "夏至：一年中白昼最长的一天",
        "冬至：数九寒天由此开始",
    ]),
    "centre-readings.html": ("linear-gradient(160deg, #f3f6fd, #cfdcf5)", "趣味测算", [
        "QQ号码测算：八十一数理，看号码吉凶",
        "网名测算：拼音首字母对应性格特点",
        "结果仅供娱乐，祝您心情愉快",
    ]),
}


def banner_page(background, title, line, tag):
    return f"""<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>{html.escape(title)}</title>
<style>{BANNER_STYLE}</style>
</head>
<body>
<div class="banner" style="background: {background}">
  <div><h1>{html.escape(title)}</h1><p>{html.escape(line)}</p></div>
  <div class="tag">{html.escape(tag)}</div>
</div>
</body>
</html>
"""


def centre_page(background, title, items):
    rows = "\n".join(f"    <li>{html.escape(item)}</li>" for item in items)
    return f"""<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>{html.escape(title)}</title>
<style>{CENTRE_STYLE}</style>
</head>
<body>
<div class="centre" style="background: {background}">
  <h1>{html.escape(title)}</h1>
  <ul>
{rows}
  </ul>
  <div class="foot">本页由本机演示服务器提供</div>
</div>
</body>
</html>
"""


def pages():
    built = {name: banner_page(*spec) for name, spec in BANNERS.items()}
    built.update({name: centre_page(*spec) for name, spec in CENTRES.items()})
    return {f"/pages/{name}": text.encode("utf-8") for name, text in built.items()}


def schedule_text(base_url):
    lines = [f"{selector}>{seconds}>{base_url}/pages/{page}" for selector, seconds, page in SCHEDULE]
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


def make_handler(flags, silent, slow_seconds):
    routes = pages()

    class Handler(BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def do_GET(self):
            if silent:
                threading.Event().wait()  # until the server ends
            base_url = self.server.base_url
            if self.path == SCHEDULE_PATH:
                self.send_body(schedule_text(base_url), "text/html; charset=gbk")
            elif self.path == FLAGS_PATH:
                self.send_body(flags.encode("ascii"), "text/html",
                               [("Set-Cookie", "demo-visit=1; Path=/")])
            elif self.path in routes:
                self.send_body(routes[self.path], "text/html; charset=utf-8")
            else:
                self.send_body(b"not found", "text/plain", status=HTTPStatus.NOT_FOUND)

        def send_body(self, body, content_type, headers=(), status=HTTPStatus.OK):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            for name, value in headers:
                self.send_header(name, value)
            self.end_headers()
            if not slow_seconds:
                self.wfile.write(body)
                return
            # One byte at a time, evenly over the time, the last one at its end;
            # a client that gives up closes the connection.
            try:
                for i in range(len(body)):
                    time.sleep(slow_seconds / len(body))
                    self.wfile.write(body[i:i + 1])
                    self.wfile.flush()
            except (BrokenPipeError, ConnectionResetError):
                self.close_connection = True

        def log_message(self, format, *args):
            if not (silent or slow_seconds):
                super().log_message(format, *args)

    return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=8765)
    parser.add_argument("--flags", default="11", help="the flags text (default: 11, both panes on)")
    behaviour = parser.add_mutually_exclusive_group()
    behaviour.add_argument("--silent", action="store_true", help="take requests and never answer")
    behaviour.add_argument("--slow", type=float, metavar="SECONDS", default=0,
                           help="complete each answer only after SECONDS")
    args = parser.parse_args()

    server = ThreadingHTTPServer(("127.0.0.1", args.port), make_handler(args.flags, args.silent, args.slow))
    server.daemon_threads = True
    server.base_url = f"http://127.0.0.1:{server.server_address[1]}"
    print(f"demo vendor server on {server.base_url}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
