"""The tab-separated tables of assets/, read alike by every tool."""


def read_table(path, columns):
    """Tab-separated lines; # starts a note line, blank lines are skipped."""
    rows = []
    with open(path, encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != columns or not all(f.strip() for f in fields):
                raise SystemExit(f"{path}:{number}: expected {columns} tab-separated fields")
            rows.append([f.strip() for f in fields])
    return rows
