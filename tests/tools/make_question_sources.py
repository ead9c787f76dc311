#!/usr/bin/python3
"""Writes one question list in the forms spreadsheet programs save it, for the bank tool's tests.

usage: make_question_sources.py QUESTIONS.csv OUTDIR

From the UTF-8 list (header 编号,题目,答案) it writes into OUTDIR:
  gbk.csv          GBK, CRLF, comma-separated, extra columns, empty rows at the end (Excel/WPS "CSV")
  utf8.csv         UTF-8 without BOM, LF, columns in another order
  utf8-bom.csv     UTF-8 with BOM, CRLF
  utf16le.txt      UTF-16 LE with BOM, tab-separated, CRLF (Excel's "Unicode text")
  utf16be.txt      UTF-16 BE with BOM, tab-separated
  questions.xlsx   written by openpyxl: columns in another order with extra ones, numbers as 12
                   and 12.0, question texts as shared strings (some in rich-text runs, one with
                   a phonetic guide), answers as inline strings (some in runs), an empty row at
                   the end, and a second sheet
  extras.xlsx      dates, times, formulas with their saved values, booleans, a number in 答案
  document.docx    a Word document (not a table)
  old.xls          the start of an old binary workbook (a compound file with a Workbook stream)
"""
import csv
import datetime
import io
import re
import shutil
import sys
import zipfile
from xml.sax.saxutils import escape

import openpyxl


def read_questions(path):
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f))
    assert rows[0] == ["编号", "题目", "答案"], rows[0]
    return [(int(n), q, a) for n, q, a in rows[1:]]


def csv_text(rows, sep, newline):
    out = io.StringIO()
    csv.writer(out, delimiter=sep, lineterminator=newline, quoting=csv.QUOTE_MINIMAL).writerows(rows)
    return out.getvalue()


def write_csvs(questions, outdir):
    extra = [["编号", "分类", "题目", "答案", "难度"]]
    extra += [[n, "谜语" if n % 2 else "常识", q, a, str(n % 3 + 1)] for n, q, a in questions]
    extra += [["", "", "", "", ""], ["", "", "", "", ""]]
    with open(f"{outdir}/gbk.csv", "wb") as f:
        f.write(csv_text(extra, ",", "\r\n").encode("gbk"))

    reordered = [["答案", "编号", "题目"]] + [[a, n, q] for n, q, a in questions]
    with open(f"{outdir}/utf8.csv", "wb") as f:
        f.write(csv_text(reordered, ",", "\n").encode("utf-8"))

    plain = [["编号", "题目", "答案"]] + [list(r) for r in questions]
    with open(f"{outdir}/utf8-bom.csv", "wb") as f:
        f.write(b"\xef\xbb\xbf" + csv_text(plain, ",", "\r\n").encode("utf-8"))

    tabbed = csv_text(extra[:-1], "\t", "\r\n")
    with open(f"{outdir}/utf16le.txt", "wb") as f:
        f.write(b"\xff\xfe" + tabbed.encode("utf-16-le"))
    with open(f"{outdir}/utf16be.txt", "wb") as f:
        f.write(b"\xfe\xff" + tabbed.encode("utf-16-be"))


def rewrite(path, change):
    """Rewrites the parts of a zip file through change(name, bytes) -> bytes or None (drop)."""
    with zipfile.ZipFile(path) as z:
        parts = [(i, z.read(i.filename)) for i in z.infolist()]
    added = change(None, None) or {}
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for info, data in parts:
            data = change(info.filename, data)
            if data is not None:
                z.writestr(info.filename, data)
        for name, data in added.items():
            z.writestr(name, data)


def runs(text, bold_from):
    """A string item's text as two runs, the second in bold."""
    a, b = text[:bold_from], text[bold_from:]
    return (f'<r><t xml:space="preserve">{escape(a)}</t></r>'
            f'<r><rPr><b/><sz val="11"/></rPr><t xml:space="preserve">{escape(b)}</t></r>')


def write_xlsx(questions, outdir):
    path = f"{outdir}/questions.xlsx"
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "题库"
    ws.append(["答案", "分类", "题目", "编号", "难度"])
    for n, q, a in questions:
        ws.append([a, "谜语" if n % 2 else "常识", q, n if n % 2 else float(n), n % 3 + 1])
    notes = wb.create_sheet("说明")
    notes.append(["题目", "答案"])
    notes.append(["这一页是说明吗？", "是"])
    wb.save(path)

    # openpyxl writes every text inline; Excel and WPS keep most texts in the shared string
    # table, in runs where part of a cell is formatted, with phonetic guides on some.
    shared = []

    def share(match):
        col, row, text = match.group(1), int(match.group(2)), match.group(3)
        if col != "C" or row == 1:
            if col == "A" and row % 5 == 0 and row > 1:
                plain = re.sub(r"<[^>]+>", "", text)
                from html import unescape
                t = unescape(plain)
                return f'<c r="{col}{row}" t="inlineStr"><is>{runs(t, len(t) // 2)}</is></c>'
            return match.group(0)
        from html import unescape
        t = unescape(re.sub(r"<[^>]+>", "", text))
        if row % 4 == 0:
            item = runs(t, len(t) // 3)
        elif row == 3:
            item = (f"<t>{escape(t)}</t><rPh sb=\"0\" eb=\"1\"><t>ピンイン</t></rPh>"
                    '<phoneticPr fontId="1" type="noConversion"/>')
        else:
            item = f'<t xml:space="preserve">{escape(t)}</t>'
        shared.append(item)
        return f'<c r="{col}{row}" t="s"><v>{len(shared) - 1}</v></c>'

    def change(name, data):
        if name is None:
            return {}
        if name == "xl/worksheets/sheet1.xml":
            xml = data.decode("utf-8")
            xml = re.sub(r'<c r="([A-Z]+)(\d+)" t="inlineStr"><is>(.*?)</is></c>', share, xml)
            # Whole numbers written as 12.0, as a float column saves them.
            xml = re.sub(r'(<c r="D(\d+)" t="n"><v>)(\d+)(</v>)',
                         lambda m: m.group(1) + m.group(3) + (".0" if int(m.group(2)) % 2 else "")
                         + m.group(4), xml)
            last = len(questions) + 2
            empty = f'<row r="{last}"><c r="A{last}"/><c r="C{last}" t="inlineStr"><is><t></t></is></c></row>'
            xml = xml.replace("</sheetData>", empty + "</sheetData>")
            return xml.encode("utf-8")
        if name == "[Content_Types].xml":
            return data.replace(
                b"</Types>",
                b'<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
                b'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>')
        if name == "xl/_rels/workbook.xml.rels":
            return data.replace(
                b"</Relationships>",
                b'<Relationship Id="rIdS" Type="http://schemas.openxmlformats.org/officeDocument/'
                b'2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>')
        return data

    # The sheet is rewritten first so that the shared strings are known.
    with zipfile.ZipFile(path) as z:
        parts = {i.filename: z.read(i.filename) for i in z.infolist()}
    order = list(parts)
    for name in order:
        parts[name] = change(name, parts[name])
    sst = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
           '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
           f'count="{len(shared)}" uniqueCount="{len(shared)}">'
           + "".join(f"<si>{s}</si>" for s in shared) + "</sst>")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name in order:
            z.writestr(name, parts[name])
        z.writestr("xl/sharedStrings.xml", sst.encode("utf-8"))


def write_extras(outdir):
    path = f"{outdir}/extras.xlsx"
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Sheet1"
    ws.append(["编号", "题目", "答案"])
    ws.append([1, "哪一天？", datetime.date(2024, 5, 1)])
    ws.append([2, "几点？", datetime.time(19, 30)])
    ws.append([3, "何时？", datetime.datetime(2024, 12, 31, 23, 59, 30)])
    ws.append([4, "一加一？", "=1+1"])
    ws.append([5, "拼起来？", '="春"&"节"'])
    ws.append([6, "对吗？", True])
    ws.append([7, "圆周率？", 3.14159])
    ws.append([8, "很大的数？", 123456789012])
    ws.append([9, "_x000D_ 原样？", "甲_乙"])
    ws["B10"].number_format = "@"
    wb.save(path)

    def change(name, data):
        if name is None:
            return {}
        if name == "xl/worksheets/sheet1.xml":
            xml = data.decode("utf-8")
            # Excel saves a formula with the value it last computed.
            xml = xml.replace("<f>1+1</f><v></v>", "<f>1+1</f><v>2</v>")
            xml = xml.replace("<f>1+1</f><v />", "<f>1+1</f><v>2</v>")
            xml = re.sub(r'<c r="C5"( s="\d+")?( t="\w+")?><f>1\+1</f>(<v\s*/>|<v></v>)?</c>',
                         '<c r="C5"><f>1+1</f><v>2</v></c>', xml)
            xml = re.sub(r'<c r="C6"( s="\d+")?( t="\w+")?><f>(.*?)</f>(<v\s*/>|<v></v>)?</c>',
                         lambda m: f'<c r="C6" t="str"><f>{m.group(3)}</f><v>春节</v></c>', xml)
            xml = re.sub(r'<c r="C7"( s="\d+")? t="b"><v>1</v></c>', '<c r="C7" t="b"><v>1</v></c>',
                         xml)
            # Texts that look like the workbook's own escapes are saved escaped.
            xml = xml.replace("<t>_x000D_ ", "<t>_x005F_x000D_ ")
            return xml.encode("utf-8")
        return data

    rewrite(path, change)


def write_not_tables(outdir):
    with zipfile.ZipFile(f"{outdir}/document.docx", "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/'
                   '2006/content-types"/>')
        z.writestr("word/document.xml",
                   '<?xml version="1.0"?><w:document xmlns:w="http://schemas.openxmlformats.org/'
                   'wordprocessingml/2006/main"><w:body><w:p><w:r><w:t>编号,题目,答案</w:t></w:r>'
                   "</w:p></w:body></w:document>")
    # A compound file: its header, then a directory entry naming the Workbook stream.
    header = bytes.fromhex("D0CF11E0A1B11AE1") + bytes(16) + bytes.fromhex("3E000300FEFF0900")
    header += bytes(512 - len(header))
    entry = "Workbook".encode("utf-16-le") + bytes(64 - 16) + bytes([18, 0, 2, 1])
    with open(f"{outdir}/old.xls", "wb") as f:
        f.write(header + entry + bytes(1024 - len(entry)))


def write_damaged(outdir):
    """Copies of questions.xlsx damaged as a disk or a broken download damages them."""
    source = f"{outdir}/questions.xlsx"

    def edited(name, part, edit):
        path = f"{outdir}/{name}"
        shutil.copy(source, path)
        rewrite(path, lambda n, data: None if n is None else (edit(data) if n == part else data))

    sheet, strings = "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml"
    # A cell naming a shared string past the table's end.
    edited("missing-string.xlsx", sheet,
           lambda d: re.sub(rb'(<c r="C20"[^>]*t="s"[^>]*><v>)\d+', rb"\g<1>99999", d, count=1))
    # Shared-string cells without a value, as Tencent's office suite saves a cleared cell:
    # Excel, WPS and LibreOffice show them empty.
    edited("empty-shared.xlsx", sheet,
           lambda d: d.replace(b'</row>', b'<c r="D2" t="s"/><c r="E2" t="s"><v></v></c></row>', 1))
    # A tag that is never closed.
    edited("bad-sheet.xlsx", sheet, lambda d: d.replace(b'<row r="30"', b'<oops><row r="30"', 1))
    # Deflated bytes changed in the middle of a part.
    for name, part in (("broken-strings.xlsx", strings), ("broken-sheet.xlsx", sheet)):
        path = f"{outdir}/{name}"
        shutil.copy(source, path)
        with zipfile.ZipFile(path) as z:
            info = z.getinfo(part)
        data = bytearray(open(path, "rb").read())
        at = info.header_offset
        start = at + 30 + int.from_bytes(data[at + 26:at + 28], "little") + \
            int.from_bytes(data[at + 28:at + 30], "little")
        for k in range(start + info.compress_size // 3, start + info.compress_size // 3 + 40):
            data[k] ^= 0x5A
        open(path, "wb").write(bytes(data))


def main():
    questions = read_questions(sys.argv[1])
    outdir = sys.argv[2]
    write_csvs(questions, outdir)
    write_xlsx(questions, outdir)
    write_extras(outdir)
    write_not_tables(outdir)
    write_damaged(outdir)


if __name__ == "__main__":
    main()
