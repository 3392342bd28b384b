#!/usr/bin/env python3
"""Builds the seed corpus of parser_fuzz from a Markdown document.

Every double-quoted text that begins with a T-SQL keyword becomes one seed
file. Quoted texts that follow each other separated only by ", " are the
lines of one multi-line statement; they are joined with CR LF into one seed,
the way the upgrade tool sends such statements.

usage: extract_corpus.py DOCUMENT.md OUTPUT_DIR
"""
import hashlib
import pathlib
import re
import sys

KEYWORD = re.compile(
    r"^(select|insert|update|delete|alter|create|drop|if|set|grant|exec|execute|declare|"
    r"use|truncate|begin|return|with)\b",
    re.IGNORECASE,
)
# A run of quoted texts joined by ", ": the lines of one statement.
QUOTED_RUN = re.compile(r'"[^"\n]*"(?:, "[^"\n]*")*')
QUOTED = re.compile(r'"([^"\n]*)"')


def statements(markdown):
    for run in QUOTED_RUN.finditer(markdown):
        parts = QUOTED.findall(run.group(0))
        if parts and KEYWORD.match(parts[0]):
            yield "\r\n".join(parts)
            if len(parts) > 1:
                yield parts[0]


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source = pathlib.Path(sys.argv[1]).read_text(encoding="utf-8")
    out = pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    seen = set()
    for text in statements(source):
        data = text.encode("utf-8")
        digest = hashlib.sha1(data).hexdigest()[:12]
        if digest in seen:
            continue
        seen.add(digest)
        (out / f"stmt-{digest}.sql").write_bytes(data)
    print(f"{len(seen)} seeds in {out}")


if __name__ == "__main__":
    main()
