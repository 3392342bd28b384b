// How the engine's types travel: the TYPE_INFO that describes a column or a
// parameter, and the bytes of one value of it.
//
// Columns go out as the nullable wire types a server sends (INTN, BITN,
// DECIMALN, MONEYN, FLTN, DATETIMN, DATEN, GUID, and the BIG* string and
// binary types with a two-byte maximum length). The max forms and the
// old large types (text, ntext, image) go out as varchar(max),
// nvarchar(max) and varbinary(max): partially length-prefixed (PLP) values,
// which need no text pointers. varchar travels in the server's code page
// (Windows-1252) under its collation, nvarchar as UTF-16LE.
//
// Parameters come in as any wire type a client sends, fixed-length ones
// and datetime2 included, and become engine values.
#pragma once

#include <string_view>

#include "standin/value.h"
#include "tds/wire.h"

namespace standin::tds {

// The collation of every string column: Latin1_General_CI_AS (locale
// 0x0409, case-insensitive, kana- and width-insensitive, Windows sort).
inline constexpr std::string_view kCollation{"\x09\x04\xD0\x00\x00", 5};

// What the negotiated protocol version allows.
struct WireDialect {
  bool date_type = true;  // DATEN exists from 7.3 on; before, a date goes out as datetime
};

void write_type_info(WireWriter& out, const TypeInfo& type, WireDialect dialect = {});

// A value of a column of `type`; a value of another type is converted to it
// first (a result column's values may differ in type from its metadata).
void write_value(WireWriter& out, const TypeInfo& type, const Value& value, WireDialect dialect = {});

// Reads a TYPE_INFO and the value after it. Throws ProtocolError on a type
// this server does not know, an impossible length, or a value past the end.
Value read_typed_value(WireReader& in);

// 16 GUID bytes as the wire orders them (the first three groups
// little-endian), and the canonical text of the engine.
std::string guid_text(std::string_view wire16);
std::string guid_bytes(std::string_view canonical);  // empty when not a GUID

}  // namespace standin::tds
