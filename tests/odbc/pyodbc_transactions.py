"""pyodbc over the FreeTDS driver against standin-server, in pyodbc's own
default: autocommit off, so the driver begins a transaction when it
connects and again after every commit() and rollback() (transaction-manager
requests, not T-SQL text).

Usage: pyodbc_transactions.py PORT LOGIN PASSWORD DATABASE write|check

"write" creates a table, writes typed rows through parameters, commits some
and rolls others back, and leaves one insert uncommitted when it
disconnects. "check", run after the server was restarted on the same data
directory, reads what must have lasted. Each check prints one line; the
exit status is the number of failed checks.
"""

import datetime
import decimal
import sys

import pyodbc

failures = 0


def check(what, expected, actual):
    global failures
    if expected == actual:
        print("ok:", what)
    else:
        failures += 1
        print("FAIL:", what)
        print("  expected:", repr(expected))
        print("  actual:  ", repr(actual))


def connect(port, login, password, database, autocommit=False):
    text = (
        "DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=%s;UID=%s;PWD=%s;DATABASE=%s;"
        "TDS_Version=7.4;ClientCharset=UTF-8" % (port, login, password, database)
    )
    return pyodbc.connect(text, autocommit=autocommit, timeout=30)


def trancount(cursor):
    return cursor.execute("SELECT @@TRANCOUNT").fetchone()[0]


def numbers(cursor):
    return [r[0] for r in cursor.execute("SELECT Nr FROM Beitrag ORDER BY Nr").fetchall()]


# The committed rows, as the write phase sends them and both phases read
# them back: integer, text, date, decimal, and NULL in each typed column.
COMMITTED = [
    (1, "Müller", datetime.date(2024, 3, 1), decimal.Decimal("19.99")),
    (2, None, None, None),
    (3, "Schäfer", datetime.date(1999, 12, 31), decimal.Decimal("-0.50")),
    (4, "Weiß", datetime.date(2000, 2, 29), decimal.Decimal("12345678.00")),
    (5, "", datetime.date(2024, 1, 15), decimal.Decimal("0.00")),
]
INSERT = "INSERT INTO Beitrag (Nr, Name, Faellig, Betrag) VALUES (?, ?, ?, ?)"


def rows(cursor):
    found = cursor.execute("SELECT Nr, Name, Faellig, Betrag FROM Beitrag ORDER BY Nr").fetchall()
    return [tuple(r) for r in found]


def write(port, login, password, database):
    conn = connect(port, login, password, database)
    cur = conn.cursor()
    check("connected with autocommit off: inside a transaction", 1, trancount(cur))
    cur.execute(
        "CREATE TABLE Beitrag (Nr int NOT NULL PRIMARY KEY, Name nvarchar(40) NULL, "
        "Faellig date NULL, Betrag decimal(10,2) NULL)"
    )
    conn.commit()
    check("after commit() the next transaction is open", 1, trancount(cur))

    cur.execute(INSERT, *COMMITTED[0])
    cur.execute(INSERT, *COMMITTED[1])
    cur.executemany(INSERT, COMMITTED[2:])
    conn.commit()
    check("typed parameters and executemany, committed", COMMITTED, rows(cur))

    cur.execute(INSERT, 90, "verworfen", datetime.date(2024, 6, 1), decimal.Decimal("1.00"))
    cur.executemany(INSERT, [(91, "auch", None, None), (92, "weg", None, None)])
    cur.execute("UPDATE Beitrag SET Name = N'geändert' WHERE Nr = 1")
    check("uncommitted rows are seen by their own session", [1, 2, 3, 4, 5, 90, 91, 92], numbers(cur))
    conn.rollback()
    check("rollback() undoes inserts and updates", COMMITTED, rows(cur))
    check("after rollback() the next transaction is open", 1, trancount(cur))

    # Another session sees only what was committed: the server's own rows.
    other = connect(port, login, password, database, autocommit=True)
    check("autocommit on: no transaction", 0, trancount(other.cursor()))
    check("another session reads the committed rows", [1, 2, 3, 4, 5], numbers(other.cursor()))
    other.close()

    # Left open at disconnect: the server rolls it back.
    cur.execute(INSERT, 98, "offen", None, None)
    conn.close()


def read_back(port, login, password, database):
    conn = connect(port, login, password, database)
    cur = conn.cursor()
    check("after the restart: committed rows there, the rest gone", COMMITTED, rows(cur))
    conn.rollback()
    conn.close()


def main():
    port, login, password, database, phase = sys.argv[1:6]
    try:
        if phase == "write":
            write(port, login, password, database)
        else:
            read_back(port, login, password, database)
    except pyodbc.Error as e:
        check("no driver error", "", str(e))
    return failures


if __name__ == "__main__":
    sys.exit(main())
