"""Reads an .xls file with xlrd and prints it as JSON: the test suite's independent reader."""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheets = []
for sheet in book.sheets():
    rows = []
    formats = set()
    for r in range(sheet.nrows):
        row = []
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_TEXT:
                row.append(cell.value)
                formats.add(book.format_map[book.xf_list[cell.xf_index].format_key].format_str)
            elif cell.ctype == xlrd.XL_CELL_EMPTY:
                row.append(None)
            else:
                row.append({"type": cell.ctype, "value": cell.value})
        rows.append(row)
    sheets.append({"name": sheet.name, "rows": rows, "formats": sorted(formats)})
json.dump(sheets, sys.stdout, ensure_ascii=False)
