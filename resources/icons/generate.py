#!/usr/bin/env python3
"""Draws the action pictures of the three icon sets from one description of each glyph.

Every glyph is a list of shapes on a 16 by 16 grid with colour roles. The sets differ only in
how a role is painted: XP with gradients and soft dark outlines, Gnome flat in the Tango
palette, Old rasterised to whole pixels in the sixteen VGA colours. Run it from this folder;
it rewrites xp/, gnome/, old/, source.svg and icons.qrc.
"""
import math
import os

# role: (light, base, dark) for XP; (fill, stroke) for Gnome; (fill, outline) for Old
XP = {
    'paper': ('#ffffff', '#e3ebf5', '#5d7391'), 'blue': ('#8cc4ff', '#2f6fd6', '#123f8c'),
    'green': ('#a6ec8a', '#3da336', '#1d5e19'), 'red': ('#ff9c8a', '#d9302b', '#7d0f0c'),
    'yellow': ('#fff3a0', '#f2c21b', '#8a6a00'), 'orange': ('#ffd08a', '#f08a1c', '#8c4700'),
    'grey': ('#f4f5f7', '#b7bec8', '#5f6873'), 'dark': ('#6c7a89', '#33404d', '#141b22'),
    'folder': ('#fff0b8', '#efc24e', '#94681a'), 'purple': ('#e0b8ff', '#8a45c9', '#4b1d75'),
    'cyan': ('#e6fbff', '#9fdcf2', '#2b7f9e'), 'white': ('#ffffff', '#ffffff', '#7a8594'),
    'black': ('#4a4a4a', '#1a1a1a', '#000000'), 'brown': ('#e0b07a', '#a8682c', '#5c3510'),
}
GNOME = {
    'paper': ('#ffffff', '#888a85'), 'blue': ('#729fcf', '#204a87'),
    'green': ('#8ae234', '#4e9a06'), 'red': ('#ef2929', '#a40000'),
    'yellow': ('#fce94f', '#c4a000'), 'orange': ('#fcaf3e', '#ce5c00'),
    'grey': ('#d3d7cf', '#888a85'), 'dark': ('#555753', '#2e3436'),
    'folder': ('#e9b96e', '#8f5902'), 'purple': ('#ad7fa8', '#5c3566'),
    'cyan': ('#dbeef7', '#3465a4'), 'white': ('#ffffff', '#888a85'),
    'black': ('#2e3436', '#000000'), 'brown': ('#c17d11', '#8f5902'),
}
VGA = {'black': '#000000', 'navy': '#000080', 'green': '#008000', 'teal': '#008080',
       'maroon': '#800000', 'purple': '#800080', 'olive': '#808000', 'silver': '#c0c0c0',
       'grey': '#808080', 'blue': '#0000ff', 'lime': '#00ff00', 'cyan': '#00ffff',
       'red': '#ff0000', 'magenta': '#ff00ff', 'yellow': '#ffff00', 'white': '#ffffff'}
OLD = {
    'paper': ('white', 'black'), 'blue': ('blue', 'navy'), 'green': ('lime', 'green'),
    'red': ('red', 'maroon'), 'yellow': ('yellow', 'olive'), 'orange': ('yellow', 'maroon'),
    'grey': ('silver', 'grey'), 'dark': ('grey', 'black'), 'folder': ('yellow', 'olive'),
    'purple': ('magenta', 'purple'), 'cyan': ('cyan', 'teal'), 'white': ('white', 'grey'),
    'black': ('black', 'black'), 'brown': ('olive', 'maroon'),
}


# --- shapes ------------------------------------------------------------------------------
# ('rect', x, y, w, h, role)        pixel box: columns x..x+w-1
# ('poly', [(x, y), ...], role)     corners on pixel edges
# ('ellipse', cx, cy, rx, ry, role)
# ('line', [(x, y), ...], role, width)   a stroke through pixel centres (x.5 values)
# Filled shapes get an outline; 'flat' as the last item of a tuple turns it off.

def rect(x, y, w, h, role, flat=False):
    return ('rect', x, y, w, h, role, flat)

def poly(points, role, flat=False):
    return ('poly', points, role, flat)

def ellipse(cx, cy, rx, ry, role, flat=False):
    return ('ellipse', cx, cy, rx, ry, role, flat)

def circle(cx, cy, r, role, flat=False):
    return ellipse(cx, cy, r, r, role, flat)

def line(points, role, width=1.0):
    return ('line', points, role, width)


def page(x=2, y=0, w=11, h=15, role='paper'):
    return [poly([(x, y), (x + w - 4, y), (x + w, y + 4), (x + w, y + h), (x, y + h)], role),
            poly([(x + w - 4, y), (x + w - 4, y + 4), (x + w, y + 4)], 'grey')]

def text_lines(x, y, w, n, role='grey', step=2):
    return [line([(x + .5, y + i * step + .5), (x + w - .5, y + i * step + .5)], role)
            for i in range(n)]

def folder(open_=False):
    s = [poly([(0, 3), (5, 3), (6, 5), (14, 5), (14, 14), (0, 14)], 'folder')]
    if open_:
        s.append(poly([(2, 8), (16, 8), (13, 14), (0, 14)], 'yellow'))
    else:
        s.append(rect(0, 6, 15, 9, 'yellow'))
    return s

def floppy(x=1, y=1, s=14, role='blue'):
    return [poly([(x, y), (x + s - 2, y), (x + s, y + 2), (x + s, y + s), (x, y + s)], role),
            rect(x + 3, y, s - 6, 5, 'grey'), rect(x + s - 6, y + 1, 2, 3, 'dark', True),
            rect(x + 2, y + s - 6, s - 4, 6, 'paper')]

def window(x, y, w, h, title='blue'):
    return [rect(x, y, w, h, 'paper'), rect(x, y, w, 3, title)]

def arrow_right(x, y, role='green'):
    # a fat arrow 7 wide, 7 tall, tip at x+7
    return [poly([(x, y + 2), (x + 3, y + 2), (x + 3, y), (x + 7, y + 3.5), (x + 3, y + 7),
                  (x + 3, y + 5), (x, y + 5)], role)]

def arrow_left(x, y, role='green'):
    return [poly([(x + 7, y + 2), (x + 4, y + 2), (x + 4, y), (x, y + 3.5), (x + 4, y + 7),
                  (x + 4, y + 5), (x + 7, y + 5)], role)]

def arrow_down(x, y, role='green'):
    return [poly([(x + 2, y), (x + 5, y), (x + 5, y + 3), (x + 7, y + 3), (x + 3.5, y + 7),
                  (x, y + 3), (x + 2, y + 3)], role)]

def arrow_up(x, y, role='green'):
    return [poly([(x + 2, y + 7), (x + 5, y + 7), (x + 5, y + 4), (x + 7, y + 4), (x + 3.5, y),
                  (x, y + 4), (x + 2, y + 4)], role)]

def magnifier(cx=6, cy=6, r=4.5, handle=True):
    s = []
    if handle:
        s.append(line([(cx + r * .7, cy + r * .7), (15, 15)], 'dark', 2.6))
    s.append(circle(cx, cy, r, 'cyan'))
    return s

def gear(cx, cy, r, role='grey', teeth=8, hole=True):
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        rr = r if (i % 4) in (0, 1) else r * 0.72
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    s = [poly(pts, role)]
    if hole:
        s.append(circle(cx, cy, r * 0.32, 'white'))
    return s

def red_x(x, y, size=6):
    return [line([(x, y), (x + size, y + size)], 'red', 2.2),
            line([(x + size, y), (x, y + size)], 'red', 2.2)]

def play(x, y, s=8, role='green'):
    return [poly([(x, y), (x + s, y + s / 2), (x, y + s)], role)]

def bookmark(x, y, role='blue'):
    return [poly([(x, y), (x + 6, y), (x + 6, y + 10), (x + 3, y + 7), (x, y + 10)], role)]

def clock(cx, cy, r):
    return [circle(cx, cy, r, 'paper'),
            line([(cx, cy - r * .6), (cx, cy), (cx + r * .5, cy + r * .2)], 'dark', 1.2)]

def letter_A(x, y, h=8, role='blue', width=1.6):
    w = h * 0.75
    return [line([(x, y + h), (x + w / 2, y), (x + w, y + h)], role, width),
            line([(x + w * .25, y + h * .62), (x + w * .75, y + h * .62)], role, width)]

def letter_a(x, y, role='blue', width=1.5):
    ring = [(x + 2.4 + 2.2 * math.cos(2 * math.pi * k / 12), y + 4 + 2.2 * math.sin(2 * math.pi * k / 12))
            for k in range(13)]
    return [line(ring, role, width), line([(x + 4.8, y + 1.2), (x + 4.8, y + 6.6)], role, width)]

def printer():
    return [rect(3, 0, 10, 6, 'paper'), rect(0, 5, 16, 7, 'grey'),
            rect(2, 10, 12, 6, 'paper'), rect(12, 7, 2, 1, 'green', True)] + \
        text_lines(4, 12, 8, 2, 'dark')

def terminal():
    return [rect(0, 1, 16, 13, 'grey'), rect(1, 3, 14, 10, 'black', True),
            line([(2.5, 5.5), (4.5, 7.5), (2.5, 9.5)], 'white', 1),
            line([(6, 10.5), (10, 10.5)], 'white', 1), rect(0, 1, 16, 2, 'blue')]

GLYPHS = {
    'new': page() + [poly([(12, 8), (13, 10.5), (15.5, 11.5), (13, 12.5), (12, 15), (11, 12.5),
                           (8.5, 11.5), (11, 10.5)], 'yellow')],
    'open': folder(True),
    'reopen': folder(True) + [circle(11.5, 4.5, 4, 'paper'),
                              line([(11.5, 2.5), (11.5, 4.5), (13, 5.5)], 'dark', 1.1)],
    'save': floppy(),
    'saveas': floppy(0, 1, 13) + [line([(15, 7), (9, 13)], 'orange', 2.4),
                                  poly([(8, 12), (10, 14), (7, 15)], 'paper')],
    'saveall': floppy(3, 0, 12, 'blue') + floppy(0, 3, 12, 'blue'),
    'close': page(1, 0, 11, 15) + red_x(8.5, 8.5, 6),
    'closeall': page(4, 0, 10, 12) + page(1, 2, 10, 13) + red_x(8.5, 8.5, 6),
    'export': page(0, 0, 11, 15) + arrow_right(8, 5, 'green'),
    'print': printer(),
    'printpreview': page(1, 0, 11, 15) + text_lines(3, 5, 6, 4) + magnifier(10, 10, 3.5, True),
    'pagesetup': page(2, 0, 12, 15) + [rect(4, 5, 7, 8, 'cyan', True)] +
                 [line([(4.5, 3.5), (4.5, 14.5)], 'red', 1), line([(3.5, 12.5), (13.5, 12.5)], 'red', 1)],
    'printoptions': printer() + gear(12, 4, 4, 'orange'),
    'exit': [rect(2, 0, 9, 16, 'brown'), rect(3, 1, 7, 14, 'dark', True), poly([(3, 1), (8, 3), (8, 16), (3, 15)], 'brown'),
             rect(6, 8, 1, 2, 'yellow', True)] + arrow_right(9, 4, 'green'),
    'undo': [line([(4, 5.5), (10, 5.5), (13.5, 8.5), (13.5, 10.5), (10, 13.5), (6, 13.5)], 'blue', 2.4),
             poly([(0.5, 5.5), (5, 1), (5, 10)], 'blue')],
    'redo': [line([(12, 5.5), (6, 5.5), (2.5, 8.5), (2.5, 10.5), (6, 13.5), (10, 13.5)], 'blue', 2.4),
             poly([(15.5, 5.5), (11, 1), (11, 10)], 'blue')],
    'cut': [line([(4, 0.5), (10, 10)], 'grey', 1.8), line([(12, 0.5), (6, 10)], 'grey', 1.8),
            circle(4.5, 12.5, 2.5, 'red'), circle(11.5, 12.5, 2.5, 'red'),
            circle(4.5, 12.5, 1, 'white', True), circle(11.5, 12.5, 1, 'white', True)],
    'copy': page(0, 0, 9, 11) + page(5, 4, 10, 12) + text_lines(7, 9, 5, 3),
    'paste': [rect(1, 2, 11, 14, 'brown'), rect(4, 0, 5, 4, 'grey')] + page(6, 5, 9, 11) +
             text_lines(8, 10, 4, 3),
    'clear': [poly([(1, 9), (8, 2), (15, 9), (8, 16)], 'red'), poly([(1, 9), (4.5, 5.5), (11.5, 12.5), (8, 16)], 'paper')],
    'selectall': page() + [rect(4, 4, 7, 9, 'blue', True)] + text_lines(5, 5, 5, 4, 'white'),
    'insert': page(0, 0, 11, 15) + text_lines(2, 5, 6, 4) +
              [rect(10, 6, 5, 9, 'green', True), rect(8, 8, 9, 5, 'green', True),
               rect(12, 7, 1, 7, 'white', True), rect(9, 10, 7, 1, 'white', True)],
    'togglebookmark': page(0, 0, 11, 15) + text_lines(2, 6, 6, 4) + bookmark(9, 0, 'blue'),
    'gotobookmark': bookmark(1, 0, 'blue') + arrow_right(8, 7, 'green'),
    'uppercase': letter_A(0.5, 1, 9, 'blue') + arrow_up(9, 7, 'green'),
    'lowercase': letter_a(0.5, 4, 'blue') + arrow_down(9, 7, 'green'),
    'datetime': [rect(0, 2, 12, 12, 'paper'), rect(0, 2, 12, 3, 'red')] +
                [rect(2 + 3 * i, 6 + 3 * j, 2, 2, 'dark', True) for i in range(3) for j in range(2)] +
                clock(11, 11, 4.5),
    'find': magnifier(6, 6, 5, True),
    'searchagain': magnifier(6, 6, 5, True) + arrow_right(8.5, 0, 'green'),
    'replace': [line([(1, 1), (1, 7)], 'dark', 1)] + letter_A(2, 0, 7, 'blue', 1.4) +
               [line([(9.5, 3.5), (12.5, 3.5), (12.5, 7)], 'green', 1.4), poly([(10.5, 6.5), (14.5, 6.5), (12.5, 9)], 'green')] +
               letter_A(8, 8, 7, 'red', 1.4),
    'goto': page(0, 0, 11, 15) + text_lines(2, 4, 6, 5) + [rect(1, 7, 9, 2, 'yellow', True)] + arrow_left(9, 4.5, 'green'),
    'toolbars': [rect(0, 3, 16, 10, 'grey'), rect(2, 5, 3, 3, 'blue', True), rect(6, 5, 3, 3, 'green', True),
                 rect(10, 5, 3, 3, 'red', True), line([(2, 10.5), (13, 10.5)], 'dark', 1)],
    'compile': gear(8, 8, 7.5, 'grey'),
    'execute': play(4, 2, 12, 'green'),
    'analyze': page(1, 0, 11, 15) + [line([(3.5, 8.5), (5.5, 10.5), (9.5, 5.5)], 'green', 1.8)] + magnifier(11, 10, 3.2, True),
    'compileandrun': gear(6, 6, 6, 'grey') + play(8, 7, 8, 'green'),
    'compileall': gear(10, 5.5, 5, 'grey') + gear(5.5, 10.5, 5, 'orange'),
    'debug': [line([(2, 5), (14, 13)], 'dark', 1.2), line([(14, 5), (2, 13)], 'dark', 1.2),
              line([(1.5, 9.5), (14.5, 9.5)], 'dark', 1.2), ellipse(8, 10, 4, 5.5, 'red'),
              circle(8, 3.5, 2.5, 'dark'), line([(8, 5), (8, 15)], 'dark', 1)],
    'stop': [poly([(5, 1), (11, 1), (15, 5), (15, 11), (11, 15), (5, 15), (1, 11), (1, 5)], 'red'),
             rect(4, 7, 8, 2, 'white', True)],
    'editoroptions': page(0, 0, 11, 15) + text_lines(2, 5, 6, 4) + gear(11.5, 11.5, 4.5, 'orange'),
    'compilationoptions': gear(6, 6, 6, 'grey') + [line([(9, 9), (15, 15)], 'orange', 2.4), circle(9.5, 9.5, 2.4, 'orange')],
    'environmentoptions': [rect(0, 2, 16, 12, 'grey')] +
                          [line([(3.5 + 4.5 * i, 3.5), (3.5 + 4.5 * i, 12.5)], 'dark', 1) for i in range(3)] +
                          [rect(2, 8, 3, 3, 'blue'), rect(6.5, 4, 3, 3, 'green'), rect(11, 9, 3, 3, 'red')],
    'toolsoptions': [line([(3, 13), (10, 6)], 'grey', 3), poly([(8, 2), (12, 0), (16, 4), (14, 8), (10, 8), (8, 6)], 'grey'),
                     rect(12, 2, 2, 2, 'white', True)],
    'terminal': terminal(),
    'filemanager': folder(False) + magnifier(10.5, 9.5, 3.5, True),
    'calculator': [rect(2, 0, 12, 16, 'dark'), rect(4, 2, 8, 3, 'green')] +
                  [rect(4 + 3 * i, 7 + 3 * j, 2, 2, 'white', True) for i in range(3) for j in range(3)],
    'translate': [circle(7, 7, 6.5, 'blue'), ellipse(7, 7, 2.8, 6.5, 'cyan', True),
                  line([(0.5, 7), (13.5, 7)], 'white', 1), rect(8, 9, 8, 7, 'yellow'),
                  line([(10, 14.5), (12, 10.5), (14, 14.5)], 'dark', 1)],
    'tilevertical': window(0, 1, 8, 14) + window(8, 1, 8, 14, 'green'),
    'tilehorizontal': window(0, 0, 16, 8) + window(0, 8, 16, 8, 'green'),
    'cascade': window(0, 0, 10, 9, 'grey') + window(3, 3, 10, 9, 'green') + window(6, 6, 10, 10),
    'fullscreen': [rect(0, 0, 16, 16, 'paper')] +
                  [poly([(1, 1), (6, 1), (1, 6)], 'blue'), poly([(15, 1), (10, 1), (15, 6)], 'blue'),
                   poly([(1, 15), (6, 15), (1, 10)], 'blue'), poly([(15, 15), (10, 15), (15, 10)], 'blue')],
    'next': window(0, 1, 11, 12) + arrow_right(8, 7, 'green'),
    'previous': window(5, 1, 11, 12) + arrow_left(1, 7, 'green'),
    'help': [circle(8, 8, 7.5, 'blue'), line([(5.5, 5.5), (6.5, 3.8), (9, 3.5), (10.5, 5), (10, 7), (8, 8.5), (8, 10)], 'white', 2),
             rect(7, 11, 2, 2, 'white', True)],
    'contents': [poly([(0, 2), (7, 3), (7, 15), (0, 14)], 'blue'), poly([(16, 2), (9, 3), (9, 15), (16, 14)], 'blue'),
                 rect(7, 3, 2, 12, 'dark', True)] + text_lines(10, 6, 4, 3, 'white'),
    'tutorial': [poly([(8, 1), (16, 5), (8, 9), (0, 5)], 'dark'), poly([(4, 7), (12, 7), (12, 11), (8, 13), (4, 11)], 'dark'),
                 line([(14.5, 5.5), (14.5, 11)], 'yellow', 1.2), circle(14.5, 12, 1.3, 'yellow')],
    'language': [circle(8, 8, 7.5, 'blue'), ellipse(8, 8, 3.2, 7.5, 'cyan', True), line([(0.5, 8), (15.5, 8)], 'white', 1),
                 line([(1.5, 4.5), (14.5, 4.5)], 'white', 1), line([(1.5, 11.5), (14.5, 11.5)], 'white', 1)],
    'about': [circle(8, 8, 7.5, 'blue'), rect(7, 3, 2, 2, 'white', True), rect(7, 6.5, 2, 6.5, 'white', True)],
    'clearhistory': clock(7, 7, 6.5) + red_x(9.5, 9.5, 5.5),
}

SOURCE = page(1, 0, 12, 16) + [line([(4, 5), (4, 12)], 'blue', 1.6), line([(4, 5), (8.5, 5)], 'blue', 1.6),
                               line([(4, 8.5), (7.5, 8.5)], 'blue', 1.6)] + text_lines(9, 10, 2, 2)


# --- painting ----------------------------------------------------------------------------

def fmt(v):
    return ('%.2f' % v).rstrip('0').rstrip('.')

def pts(points):
    return ' '.join('%s,%s' % (fmt(x), fmt(y)) for x, y in points)


def svg_vector(shapes, style):
    defs, body, used = [], [], set()
    for sh in shapes:
        kind = sh[0]
        if kind == 'line':
            _, points, role, width = sh
            colour = XP[role][2] if style == 'xp' and role not in ('white', 'grey') else \
                (XP[role][1] if style == 'xp' else GNOME[role][1 if role not in ('white', 'grey') else 0])
            if style == 'gnome' and role == 'grey':
                colour = GNOME['grey'][1]
            if style == 'xp' and role == 'grey':
                colour = XP['grey'][2]
            body.append('<polyline points="%s" fill="none" stroke="%s" stroke-width="%s" '
                        'stroke-linecap="round" stroke-linejoin="round"/>' % (pts(points), colour, fmt(width)))
            continue
        role, flat = sh[-2], sh[-1]
        if style == 'xp':
            light, base, dark = XP[role]
            gid = 'g_' + role
            if gid not in used:
                used.add(gid)
                defs.append('<linearGradient id="%s" x1="0" y1="0" x2="1" y2="1">'
                            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
                            '</linearGradient>' % (gid, light, base))
            fill = 'url(#%s)' % gid
            stroke = 'none' if flat else dark
        else:
            fill, dark = GNOME[role]
            stroke = 'none' if flat else dark
        attrs = 'fill="%s" stroke="%s" stroke-width="1" stroke-linejoin="round"' % (fill, stroke)
        if kind == 'rect':
            _, x, y, w, h = sh[:5]
            if flat:
                body.append('<rect x="%s" y="%s" width="%s" height="%s" %s/>' % (fmt(x), fmt(y), fmt(w), fmt(h), attrs))
            else:
                r = ' rx="1"' if style == 'xp' and w > 4 and h > 4 else ''
                body.append('<rect x="%s" y="%s" width="%s" height="%s"%s %s/>' %
                            (fmt(x + .5), fmt(y + .5), fmt(w - 1), fmt(h - 1), r, attrs))
        elif kind == 'poly':
            points = sh[1]
            if not flat:  # pull the corners half a pixel in so the outline stays inside
                cx = sum(p[0] for p in points) / len(points)
                cy = sum(p[1] for p in points) / len(points)
                points = [(x + (0.5 if x < cx else -0.5 if x > cx else 0),
                           y + (0.5 if y < cy else -0.5 if y > cy else 0)) for x, y in points]
            body.append('<polygon points="%s" %s/>' % (pts(points), attrs))
        elif kind == 'ellipse':
            _, cx, cy, rx, ry = sh[:5]
            d = 0 if flat else 0.5
            body.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" %s/>' % (fmt(cx), fmt(cy), fmt(rx - d), fmt(ry - d), attrs))
        if style == 'xp' and not flat and kind in ('rect', 'poly', 'ellipse'):
            pass
    head = '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">'
    return head + ('<defs>%s</defs>' % ''.join(defs) if defs else '') + ''.join(body) + '</svg>\n'


def inside_poly(points, x, y):
    c = False
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if (y1 > y) != (y2 > y):
            xi = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < xi:
                c = not c
    return c

def seg_dist(px, py, a, b):
    (x1, y1), (x2, y2) = a, b
    dx, dy = x2 - x1, y2 - y1
    L = dx * dx + dy * dy
    t = 0 if L == 0 else max(0, min(1, ((px - x1) * dx + (py - y1) * dy) / L))
    return math.hypot(px - (x1 + t * dx), py - (y1 + t * dy))

def svg_pixels(shapes):
    grid = [[None] * 16 for _ in range(16)]
    for sh in shapes:
        kind = sh[0]
        mask = [[False] * 16 for _ in range(16)]
        for j in range(16):
            for i in range(16):
                x, y = i + .5, j + .5
                if kind == 'rect':
                    _, rx, ry, w, h = sh[:5]
                    mask[j][i] = rx <= x < rx + w and ry <= y < ry + h
                elif kind == 'poly':
                    mask[j][i] = inside_poly(sh[1], x, y)
                elif kind == 'ellipse':
                    _, cx, cy, ax, ay = sh[:5]
                    mask[j][i] = ((x - cx) / ax) ** 2 + ((y - cy) / ay) ** 2 <= 1.0
                elif kind == 'line':
                    points, width = sh[1], sh[3]
                    mask[j][i] = any(seg_dist(x, y, points[k], points[k + 1]) <= max(0.5, width / 2)
                                     for k in range(len(points) - 1))
        if kind == 'line':
            role = sh[2]
            colour = OLD[role][1] if role in ('paper', 'grey', 'white') and False else \
                (OLD[role][0] if role in ('white', 'yellow', 'red', 'green', 'grey') else OLD[role][1])
            for j in range(16):
                for i in range(16):
                    if mask[j][i]:
                        grid[j][i] = colour
            continue
        role, flat = sh[-2], sh[-1]
        fill, edge = OLD[role]
        for j in range(16):
            for i in range(16):
                if not mask[j][i]:
                    continue
                border = any(not (0 <= i + di < 16 and 0 <= j + dj < 16 and mask[j + dj][i + di])
                             for di, dj in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                grid[j][i] = edge if (border and not flat) else fill
    body = []
    for j in range(16):
        i = 0
        while i < 16:
            c = grid[j][i]
            k = i
            while k < 16 and grid[j][k] == c:
                k += 1
            if c is not None:
                body.append('<rect x="%d" y="%d" width="%d" height="1" fill="%s"/>' % (i, j, k - i, VGA[c]))
            i = k
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16" '
            'shape-rendering="crispEdges">' + ''.join(body) + '</svg>\n')


def image_lists():
    """The image lists, in the order the action table indexes them."""
    here = os.path.dirname(os.path.abspath(__file__))
    src = open(os.path.join(here, '..', '..', 'src', 'shell', 'actiontable.cpp')).read()
    lists = {}
    for name, key in (('XPImages', 'xp'), ('GnomeImages', 'gnome'), ('OldImages', 'old')):
        start = src.index('%s[] = {' % name)
        body = src[start:src.index('};', start)]
        lists[key] = [t.split('"')[1] for t in body.split(',') if '"' in t]
    return lists


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    files = []
    for style, names in image_lists().items():
        os.makedirs(os.path.join(here, style), exist_ok=True)
        for n in names:
            svg = svg_pixels(GLYPHS[n]) if style == 'old' else svg_vector(GLYPHS[n], style)
            with open(os.path.join(here, style, n + '.svg'), 'w') as f:
                f.write(svg)
            files.append('%s/%s.svg' % (style, n))
    with open(os.path.join(here, 'source.svg'), 'w') as f:
        f.write(svg_vector(SOURCE, 'xp'))
    files.append('source.svg')
    with open(os.path.join(here, 'icons.qrc'), 'w') as f:
        f.write('<RCC>\n  <qresource prefix="/icons">\n')
        for p in files:
            f.write('    <file>%s</file>\n' % p)
        f.write('  </qresource>\n</RCC>\n')


if __name__ == '__main__':
    main()
