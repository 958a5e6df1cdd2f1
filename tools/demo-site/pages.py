"""The demo site's web pages.

The platform's web panels act on an element whose "name" is "qmz" (its "id" is the key of the
application to add or start) or "qmzpay" (open the purchase window). The panel reports the
element the pointer is on, so every such element holds only text: a picture or a nested
element inside it would be reported instead of it.

Card positions on the catalogue are fixed (see CARD_*), so that scripted tests can aim at a
card without reading the page.
"""

from html import escape

# Catalogue grid: the first card's top-left corner inside the page, card size and pitch.
CARD_LEFT, CARD_TOP = 24, 56
CARD_WIDTH, CARD_HEIGHT = 155, 172
CARD_PITCH_X, CARD_PITCH_Y = 195, 212
CARDS_PER_ROW = 4

# Shown greyed out after the real applications: the catalogue promises more to come.
COMING_SOON = ["评价管家", "快递单打印", "直通车助手"]

BASE_STYLE = """
* { box-sizing: border-box; }
body { margin: 0; font-family: "Noto Sans CJK SC", "Microsoft YaHei", sans-serif;
       font-size: 14px; color: #333; background: #fff; overflow-x: hidden; }
a { text-decoration: none; color: inherit; }
"""


def page(title, style, body):
    return (
        "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
        f"<title>{escape(title)}</title><style>{BASE_STYLE}{style}</style></head>"
        f"<body>{body}</body></html>\n"
    ).encode("utf-8")


def tile_url(app):
    return f"/app/pkg/{app.key}/{app.key}.gif"


def card_position(index):
    """Centre of catalogue card `index` (0-based), in page coordinates."""
    column, row = index % CARDS_PER_ROW, index // CARDS_PER_ROW
    return (CARD_LEFT + column * CARD_PITCH_X + CARD_WIDTH // 2,
            CARD_TOP + row * CARD_PITCH_Y + CARD_HEIGHT // 2)


def catalogue(apps, heading):
    style = f"""
    .bar {{ position: absolute; left: 0; top: 0; right: 0; height: 40px; padding: 10px 24px;
            background: #fafafa; border-bottom: 1px solid #e4e4e4; color: #777; }}
    .bar a {{ position: absolute; right: 24px; top: 6px; padding: 4px 14px; border-radius: 4px;
              background: #ff8a00; color: #fff; font-weight: bold; }}
    .card {{ position: absolute; width: {CARD_WIDTH}px; height: {CARD_HEIGHT}px;
             padding-top: 144px; text-align: center; font-weight: bold;
             background: no-repeat top center; border-radius: 6px; }}
    .card:hover {{ background-color: #eef8ff; }}
    .soon {{ color: #aaa; background: #f2f2f2; padding-top: 60px; font-weight: normal; }}
    .note {{ position: absolute; width: {CARD_WIDTH}px; text-align: center;
             font-size: 12px; color: #888; white-space: nowrap; overflow: hidden;
             text-overflow: ellipsis; }}
    """
    parts = [
        f'<div class="bar">{escape(heading)}'
        '<a name="qmzpay" href="#">自助购买 · 开通更多</a></div>'
    ]
    for index, app in enumerate(apps):
        x, y = card_position(index)
        left, top = x - CARD_WIDTH // 2, y - CARD_HEIGHT // 2
        parts.append(
            f'<a name="qmz" id="{escape(app.key)}" class="card" href="#" title="点击添加"'
            f' style="left:{left}px;top:{top}px;background-image:url({tile_url(app)})">'
            f"{escape(app.title)}</a>"
            f'<div class="note" style="left:{left}px;top:{top + CARD_HEIGHT + 2}px">'
            f"{escape(app.description)}</div>"
        )
    for offset, title in enumerate(COMING_SOON):
        x, y = card_position(len(apps) + offset)
        parts.append(
            f'<div class="card soon" style="left:{x - CARD_WIDTH // 2}px;'
            f'top:{y - CARD_HEIGHT // 2}px">{escape(title)}<br>即将上线</div>'
        )
    return page("应用中心", style, "".join(parts))


def side_panel(apps):
    # The panel is 258 wide but clipped to the 207 x 431 window from (11, 9).
    style = """
    body { background: #f3f3f3; padding: 12px 0 0 14px; }
    h3 { margin: 0 0 8px; font-size: 14px; color: #11b8ff; }
    .app { display: block; width: 196px; height: 64px; margin-bottom: 8px; padding: 22px 0 0 84px;
           background: #fff no-repeat 6px center; background-size: 70px 58px;
           border-radius: 4px; font-weight: bold; }
    .pay { display: block; width: 196px; padding: 8px; text-align: center;
           background: #ff8a00; color: #fff; border-radius: 4px; }
    """
    items = "".join(
        f'<a name="qmz" id="{escape(app.key)}" class="app" href="#"'
        f' style="background-image:url({tile_url(app)})">{escape(app.title)}</a>'
        for app in apps
    )
    return page(
        "推荐应用",
        style,
        f"<h3>推荐应用</h3>{items}"
        '<a name="qmzpay" class="pay" href="#">自助购买</a>',
    )


def advert():
    # Strip of 838 x 93, seen through an 814 x 87 window from (3, 5).
    style = """
    body { background: linear-gradient(90deg, #11b8ff, #6fd3ff); color: #fff;
           padding: 18px 0 0 30px; height: 93px; }
    b { font-size: 24px; } span { margin-left: 18px; font-size: 15px; }
    """
    return page("广告", style, "<b>Kesto 卖家工具</b><span>演示站点 · 所有应用免费试用</span>")


def purchase(apps, done_key=None):
    style = """
    body { padding: 30px 60px; background: #f7f7f7; }
    h1 { color: #ff8a00; font-size: 26px; }
    table { border-collapse: collapse; background: #fff; width: 700px; }
    td, th { border: 1px solid #ddd; padding: 10px 14px; text-align: left; }
    button { background: #ff8a00; color: #fff; border: 0; padding: 6px 16px; border-radius: 4px; }
    .done { margin: 16px 0; padding: 12px; background: #e7f7e7; border: 1px solid #9c9; }
    """
    rows = "".join(
        f"<tr><td>{escape(app.title)}</td><td>{escape(app.description)}</td><td>¥0.00 / 年</td>"
        f'<td><form action="/pay/done" method="get"><input type="hidden" name="app"'
        f' value="{escape(app.key)}"><button>购买</button></form></td></tr>'
        for app in apps
    )
    done = ""
    if done_key is not None:
        names = [app.title for app in apps if app.key == done_key]
        what = escape(names[0]) if names else "该应用"
        done = f'<div class="done">已开通：{what}。这是演示站点，没有收取任何费用。</div>'
    return page(
        "自助购买",
        style,
        f"<h1>Kesto 自助购买</h1>{done}"
        f"<table><tr><th>应用</th><th>说明</th><th>价格</th><th></th></tr>{rows}</table>",
    )


def index(apps, port):
    links = "".join(
        f'<li><a href="{path}">{path}</a> {escape(what)}</li>'
        for path, what in [
            ("/topapp", "侧栏推荐"),
            ("/csapp", "应用列表（首次）"),
            ("/app", "应用列表"),
            ("/ad/", "广告条"),
            ("/pay/", "自助购买"),
            ("/app/up/1.txt", "更新列表"),
        ]
    )
    return page(
        "Kesto 演示站点",
        "body { padding: 20px; } li { margin: 6px; }",
        f"<h2>Kesto 演示站点 127.0.0.1:{port}</h2><ul>{links}</ul>"
        f"<p>{len(apps)} 个应用可供下载。</p>",
    )
