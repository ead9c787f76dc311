#!/usr/bin/python3
"""Writes a large question list as Excel and WPS save it, for the build benchmarks.

usage: make_question_lists.py EXPORTED.csv OUTDIR

From a bank's export (header 编号,题目,答案, UTF-8) it writes into OUTDIR:
  list-gbk.csv   GBK, CRLF, comma-separated (Excel's and WPS's "CSV" on a Chinese desktop)
  list.xlsx      one worksheet, texts in the shared string table, numbers as numbers, the
                 parts as Excel lays them out (raw UTF-8, deflated)
"""
import csv
import sys
import zipfile
from xml.sax.saxutils import escape

src, outdir = sys.argv[1], sys.argv[2]
with open(src, encoding="utf-8", newline="") as f:
    rows = list(csv.reader(f))

with open(f"{outdir}/list-gbk.csv", "wb") as f:
    out = []
    for r in rows:
        out.append(",".join('"' + c.replace('"', '""') + '"' if any(x in c for x in ',"\r\n') else c
                            for c in r))
    f.write(("\r\n".join(out) + "\r\n").encode("gbk"))

strings, index = [], {}


def shared(text):
    if text not in index:
        index[text] = len(strings)
        strings.append(text)
    return index[text]


def col(i):
    return "ABC"[i]


sheet = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
         '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
         'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
         f'<dimension ref="A1:C{len(rows)}"/><sheetData>']
for n, r in enumerate(rows, start=1):
    cells = []
    for i, v in enumerate(r):
        ref = f"{col(i)}{n}"
        if n > 1 and i == 0:
            cells.append(f'<c r="{ref}"><v>{v}</v></c>')
        else:
            cells.append(f'<c r="{ref}" t="s"><v>{shared(v)}</v></c>')
    sheet.append(f'<row r="{n}" spans="1:3">{"".join(cells)}</row>')
sheet.append("</sheetData></worksheet>")
sst = ['<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
       '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
       f'count="{len(rows) * 3 - (len(rows) - 1)}" uniqueCount="{len(strings)}">']
sst += [f"<si><t>{escape(s)}</t></si>" for s in strings]
sst.append("</sst>")

parts = {
    "[Content_Types].xml":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
        '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
        '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
        "</Types>",
    "_rels/.rels":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
        "</Relationships>",
    "xl/workbook.xml":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
        'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
        '<sheets><sheet name="题库" sheetId="1" r:id="rId1"/></sheets></workbook>',
    "xl/_rels/workbook.xml.rels":
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
        '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
        '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
        "</Relationships>",
    "xl/worksheets/sheet1.xml": "".join(sheet),
    "xl/sharedStrings.xml": "".join(sst),
}
with zipfile.ZipFile(f"{outdir}/list.xlsx", "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in parts.items():
        z.writestr(name, text.encode("utf-8"))
