// Dates as text: reading them under the session's date order, writing them
// in the CONVERT styles.
//
// Accepted forms (blanks around them are ignored):
//   20.02.2013  20/02/2013  20-02-2013  20.02.13   day, month and year in
//                                                  the session's date order
//   2013-02-20  2013.02.20                         year first: year-month-day,
//                                                  but year-day-month under a
//                                                  day-before-month order, as
//                                                  SQL Server reads datetime
//   20130220  130220                               unseparated: always y-m-d
//   2013-02-20T09:05:00                            ISO 8601: always y-m-d
//   Feb 20 2013, 20 Feb 2013, February 20, 2013    month names (English)
// each optionally followed by a time "9:05", "09:05:30", "09:05:30.123",
// "9:05PM"; a time alone is a time on 1900-01-01.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "types/ascii.h"
#include "types/calendar.h"
#include "types/convert.h"
#include "types/sql_error.h"

namespace standin {

namespace {

constexpr const char* kMonthAbbrev[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kMonthNames[12] = {"january", "february", "march",     "april",   "may",      "june",
                                         "july",    "august",   "september", "october", "november", "december"};

struct Token {
  enum Kind { Number, Word, Sep } kind;
  std::string text;
  char sep = 0;
};

std::vector<Token> tokenize(std::string_view s) {
  std::vector<Token> out;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (std::isdigit(c)) {
      size_t j = i;
      while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
      out.push_back({Token::Number, std::string(s.substr(i, j - i))});
      i = j;
    } else if (std::isalpha(c)) {
      size_t j = i;
      while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
      out.push_back({Token::Word, ascii_lowered(s.substr(i, j - i))});
      i = j;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!out.empty() && !(out.back().kind == Token::Sep && out.back().sep == ' ')) {
        out.push_back({Token::Sep, "", ' '});
      }
      ++i;
    } else {
      if (!out.empty() && out.back().kind == Token::Sep && out.back().sep == ' ') out.pop_back();
      out.push_back({Token::Sep, "", static_cast<char>(c)});
      ++i;
      while (i < s.size() && s[i] == ' ') ++i;  // "20. 02. 2013"
    }
  }
  if (!out.empty() && out.back().kind == Token::Sep && out.back().sep == ' ') out.pop_back();
  return out;
}

int month_from_word(const std::string& w) {
  for (int m = 0; m < 12; ++m) {
    std::string name = kMonthNames[m];
    if (w == name || (w.size() == 3 && name.compare(0, 3, w) == 0)) return m + 1;
  }
  return 0;
}

int to_int(const std::string& digits) {
  if (digits.size() > 9) return -1;
  return std::stoi(digits);
}

int full_year(const Token& t) {
  int y = to_int(t.text);
  if (t.text.size() <= 2) return y < 50 ? 2000 + y : 1900 + y;
  return y;
}

struct Parsed {
  int year = 1900, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Parses a time starting at tokens[i]: h:m[:s[.fff|:fff]] [AM|PM].
bool parse_time(const std::vector<Token>& t, size_t i, Parsed* p) {
  auto num = [&](size_t k) { return k < t.size() && t[k].kind == Token::Number; };
  auto sep = [&](size_t k, char c) { return k < t.size() && t[k].kind == Token::Sep && t[k].sep == c; };
  if (!num(i)) return false;
  p->hour = to_int(t[i].text);
  size_t k = i + 1;
  bool have_minutes = false;
  if (sep(k, ':') && num(k + 1)) {
    p->minute = to_int(t[k + 1].text);
    have_minutes = true;
    k += 2;
    if (sep(k, ':') && num(k + 1)) {
      p->second = to_int(t[k + 1].text);
      k += 2;
      if ((sep(k, '.') || sep(k, ':')) && num(k + 1)) {
        std::string f = t[k + 1].text;
        if (t[k].sep == '.') {  // a fraction of a second
          f = (f + "000").substr(0, 3);
        } else if (f.size() > 3) {
          return false;
        }
        p->millisecond = to_int(f);
        k += 2;
      }
    }
  }
  if (k < t.size() && t[k].kind == Token::Sep && t[k].sep == ' ') ++k;
  if (k < t.size() && t[k].kind == Token::Word && (t[k].text == "am" || t[k].text == "pm")) {
    if (p->hour < 1 || p->hour > 12) return false;
    if (t[k].text == "am" && p->hour == 12) p->hour = 0;
    if (t[k].text == "pm" && p->hour != 12) p->hour += 12;
    ++k;
  } else if (!have_minutes) {
    return false;
  }
  return k == t.size();
}

// Where the date part ends and the time begins: after a blank or a 'T'.
bool finish_with_time(const std::vector<Token>& t, size_t i, Parsed* p) {
  if (i == t.size()) return true;
  if (t[i].kind == Token::Sep && t[i].sep == ' ') return parse_time(t, i + 1, p);
  return false;
}

bool is_date_sep(const Token& t) { return t.kind == Token::Sep && (t.sep == '.' || t.sep == '/' || t.sep == '-'); }

// Three numbers with separators, in the order given by the session.
bool parse_numeric_date(const std::vector<Token>& t, Type target, DateOrder order, Parsed* p, size_t* end) {
  if (t.size() < 5 || t[0].kind != Token::Number || !is_date_sep(t[1]) || t[2].kind != Token::Number ||
      !is_date_sep(t[3]) || t[4].kind != Token::Number) {
    return false;
  }
  const Token& a = t[0];
  const Token& b = t[2];
  const Token& c = t[4];
  *end = 5;
  if (a.text.size() >= 3) {  // year first
    bool day_before_month = order == DateOrder::DMY || order == DateOrder::DYM || order == DateOrder::YDM;
    p->year = full_year(a);
    if (day_before_month && target != Type::Date) {
      p->day = to_int(b.text);
      p->month = to_int(c.text);
    } else {
      p->month = to_int(b.text);
      p->day = to_int(c.text);
    }
    return true;
  }
  // Positions of day, month and year in the written order.
  const Token* parts[3] = {&a, &b, &c};
  const char* layout = "dmy";
  switch (order) {
    case DateOrder::DMY: layout = "dmy"; break;
    case DateOrder::MDY: layout = "mdy"; break;
    case DateOrder::YMD: layout = "ymd"; break;
    case DateOrder::YDM: layout = "ydm"; break;
    case DateOrder::MYD: layout = "myd"; break;
    case DateOrder::DYM: layout = "dym"; break;
  }
  if (c.text.size() >= 3 && layout[2] != 'y') {
    // A four-digit year at the end: day and month keep their session order.
    bool day_first = std::string(layout).find('d') < std::string(layout).find('m');
    layout = day_first ? "dmy" : "mdy";
  }
  for (int k = 0; k < 3; ++k) {
    switch (layout[k]) {
      case 'd': p->day = to_int(parts[k]->text); break;
      case 'm': p->month = to_int(parts[k]->text); break;
      case 'y': p->year = full_year(*parts[k]); break;
    }
  }
  return true;
}

bool parse_unseparated(const std::vector<Token>& t, Parsed* p, size_t* end) {
  if (t.empty() || t[0].kind != Token::Number) return false;
  const std::string& s = t[0].text;
  if (s.size() == 8) {
    p->year = to_int(s.substr(0, 4));
  } else if (s.size() == 6) {
    p->year = full_year({Token::Number, s.substr(0, 2)});
  } else {
    return false;
  }
  p->month = to_int(s.substr(s.size() - 4, 2));
  p->day = to_int(s.substr(s.size() - 2, 2));
  *end = 1;
  return true;
}

bool parse_iso8601(const std::vector<Token>& t, Parsed* p) {
  // yyyy-mm-ddThh:mi:ss[.mmm]: the tokenizer sees "dd" then the word "t".
  if (t.size() < 7 || t[0].kind != Token::Number || t[0].text.size() != 4 ||
      !(t[1].kind == Token::Sep && t[1].sep == '-') || t[2].kind != Token::Number ||
      !(t[3].kind == Token::Sep && t[3].sep == '-') || t[4].kind != Token::Number || t[5].kind != Token::Word ||
      t[5].text != "t") {
    return false;
  }
  p->year = to_int(t[0].text);
  p->month = to_int(t[2].text);
  p->day = to_int(t[4].text);
  return parse_time(t, 6, p);
}

// "Feb 20 2013", "February 20, 2013", "20 Feb 2013".
bool parse_named_month(const std::vector<Token>& t, Parsed* p, size_t* end) {
  std::vector<const Token*> items;
  size_t i = 0;
  for (; i < t.size() && items.size() < 3; ++i) {
    if (t[i].kind == Token::Sep) {
      if (t[i].sep != ' ' && t[i].sep != ',' && t[i].sep != '-' && t[i].sep != '.' && t[i].sep != '/') {
        return false;
      }
      continue;
    }
    items.push_back(&t[i]);
  }
  if (items.size() != 3) return false;
  int word = -1;
  for (int k = 0; k < 3; ++k) {
    if (items[k]->kind == Token::Word) {
      if (word >= 0) return false;
      word = k;
    }
  }
  if (word < 0 || word == 2) return false;
  p->month = month_from_word(items[word]->text);
  if (p->month == 0) return false;
  const Token* day = word == 0 ? items[1] : items[0];
  p->day = to_int(day->text);
  p->year = full_year(*items[2]);
  *end = i;
  return true;
}

bool parse_parts(std::string_view text, Type target, DateOrder order, Parsed* p) {
  std::vector<Token> t = tokenize(text);
  if (t.empty()) return true;  // '' is 1900-01-01
  if (parse_iso8601(t, p)) return true;
  size_t end = 0;
  if (t.size() >= 2 && t[0].kind == Token::Number && t[1].kind == Token::Sep && t[1].sep == ':') {
    return parse_time(t, 0, p);
  }
  if (t[0].kind == Token::Number && t.size() >= 2 && t[1].kind == Token::Word) {
    return parse_time(t, 0, p);  // "9AM"
  }
  Parsed q = *p;
  if (parse_numeric_date(t, target, order, &q, &end) || parse_unseparated(t, &q, &end) ||
      parse_named_month(t, &q, &end)) {
    *p = q;
    return finish_with_time(t, end, p);
  }
  return false;
}

std::string range_message(std::string_view source, Type target) {
  const char* name = target == Type::SmallDateTime ? "smalldatetime" : target == Type::Date ? "date" : "datetime";
  return "The conversion of a " + std::string(source) + " data type to a " + name +
         " data type resulted in an out-of-range value.";
}

}  // namespace

bool parse_datetime(std::string_view text, Type target, DateOrder order, DateTime* out, Error* err,
                    std::string_view source) {
  Parsed p;
  if (!parse_parts(text, target, order, &p)) {
    return fail(err, 241, "Conversion failed when converting date and/or time from character string.");
  }
  if (p.hour > 23 || p.minute > 59 || p.second > 59) {
    return fail(err, 241, "Conversion failed when converting date and/or time from character string.");
  }
  if (p.month < 1 || p.month > 12 || p.day < 1 || p.year < 1 || p.year > 9999 ||
      p.day > days_in_month(p.year, p.month)) {
    return fail(err, 242, range_message(source, target));
  }
  DateTime d = DateTime::from_civil(p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond);
  int32_t min_days = target == Type::Date ? kDateMinDays : target == Type::SmallDateTime ? 0 : kDateTimeMinDays;
  int32_t max_days = target == Type::SmallDateTime ? kSmallDateTimeMaxDays : kMaxDays;
  if (d.days < min_days || d.days > max_days) return fail(err, 242, range_message(source, target));
  if (target == Type::Date) d.ticks = 0;
  if (target == Type::SmallDateTime) {
    constexpr int32_t kTicksPerMinute = 60 * DateTime::kTicksPerSecond;
    int32_t minutes = (d.ticks + kTicksPerMinute / 2) / kTicksPerMinute;
    d.ticks = minutes * kTicksPerMinute;
    if (d.ticks >= DateTime::kTicksPerDay) {
      d.ticks = 0;
      ++d.days;
    }
    if (d.days > kSmallDateTimeMaxDays) return fail(err, 242, range_message(source, target));
  }
  *out = d;
  return true;
}

bool format_datetime(const DateTime& d, Type source, int style, std::string* out) {
  int y, mo, da, h, mi, s, ms;
  d.to_civil(&y, &mo, &da);
  d.time_of_day(&h, &mi, &s, &ms);
  if (source == Type::SmallDateTime) ms = 0;
  bool century = style >= 100 || style == -1 || style == 0 || style == 9 || style == 13 || style == 20 || style == 21 ||
                 style == 23 || style == 126 || style == 127;
  int yy = century ? y : y % 100;
  const char* yfmt = century ? "%04d" : "%02d";
  char yb[8];
  std::snprintf(yb, sizeof yb, yfmt, yy);
  int h12 = h % 12 == 0 ? 12 : h % 12;
  const char* ampm = h < 12 ? "AM" : "PM";
  char buf[64];
  int base = style >= 100 ? style - 100 : style;
  if (source == Type::Date && (style == -1)) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, mo, da);
    *out = buf;
    return true;
  }
  switch (style < 0 ? 0 : (style == 20 || style == 21 || style == 23 || style == 126 || style == 127 ? style : base)) {
    case 0: std::snprintf(buf, sizeof buf, "%s %2d %s %2d:%02d%s", kMonthAbbrev[mo - 1], da, yb, h12, mi, ampm); break;
    case 1: std::snprintf(buf, sizeof buf, "%02d/%02d/%s", mo, da, yb); break;
    case 2: std::snprintf(buf, sizeof buf, "%s.%02d.%02d", yb, mo, da); break;
    case 3: std::snprintf(buf, sizeof buf, "%02d/%02d/%s", da, mo, yb); break;
    case 4: std::snprintf(buf, sizeof buf, "%02d.%02d.%s", da, mo, yb); break;
    case 5: std::snprintf(buf, sizeof buf, "%02d-%02d-%s", da, mo, yb); break;
    case 6: std::snprintf(buf, sizeof buf, "%02d %s %s", da, kMonthAbbrev[mo - 1], yb); break;
    case 7: std::snprintf(buf, sizeof buf, "%s %02d, %s", kMonthAbbrev[mo - 1], da, yb); break;
    case 8: std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, mi, s); break;
    case 9:
      std::snprintf(buf, sizeof buf, "%s %2d %s %2d:%02d:%02d:%03d%s", kMonthAbbrev[mo - 1], da, yb, h12, mi, s, ms,
                    ampm);
      break;
    case 10: std::snprintf(buf, sizeof buf, "%02d-%02d-%s", mo, da, yb); break;
    case 11: std::snprintf(buf, sizeof buf, "%s/%02d/%02d", yb, mo, da); break;
    case 12: std::snprintf(buf, sizeof buf, "%s%02d%02d", yb, mo, da); break;
    case 13:
      std::snprintf(buf, sizeof buf, "%02d %s %s %02d:%02d:%02d:%03d", da, kMonthAbbrev[mo - 1], yb, h, mi, s, ms);
      break;
    case 14: std::snprintf(buf, sizeof buf, "%02d:%02d:%02d:%03d", h, mi, s, ms); break;
    case 20: std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, da, h, mi, s); break;
    case 21: std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, mo, da, h, mi, s, ms); break;
    case 23: std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, mo, da); break;
    case 126:
    case 127:
      if (ms == 0) {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", y, mo, da, h, mi, s);
      } else {
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", y, mo, da, h, mi, s, ms);
      }
      break;
    default: return false;
  }
  *out = buf;
  return true;
}

}  // namespace standin
