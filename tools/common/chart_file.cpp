#include "common/chart_file.h"

#include <stdexcept>

namespace tools {
namespace {

// The text between <tag...> and </tag> inside `block`, or nullopt-like empty
// with found=false.
bool element_text(std::string_view block, std::string_view tag, std::string& out) {
  std::string open = "<" + std::string(tag);
  size_t start = 0;
  while ((start = block.find(open, start)) != std::string_view::npos) {
    char next = block[start + open.size()];
    if (next == '>' || next == ' ') break;
    start += open.size();
  }
  if (start == std::string_view::npos) return false;
  size_t text_begin = block.find('>', start);
  if (text_begin == std::string_view::npos) return false;
  ++text_begin;
  size_t text_end = block.find("</" + std::string(tag) + ">", text_begin);
  if (text_end == std::string_view::npos) return false;
  out = decode_xml_text(block.substr(text_begin, text_end - text_begin));
  return true;
}

bool has_placeholder_slot(std::string_view block) {
  size_t key = block.find("<slot:key>placeholder</slot:key>");
  if (key == std::string_view::npos) return false;
  std::string value;
  return element_text(block.substr(key), "slot:value", value) && value == "true";
}

void append_utf8(std::string& out, unsigned long code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string decode_xml_text(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '&') {
      out += text[i++];
      continue;
    }
    bool decoded = false;
    for (auto [entity, c] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size();
        decoded = true;
        break;
      }
    }
    if (decoded) continue;
    size_t semicolon = text.find(';', i);
    if (text.substr(i, 2) == "&#" && semicolon != std::string_view::npos) {
      std::string digits(text.substr(i + 2, semicolon - i - 2));
      bool hex = !digits.empty() && (digits[0] == 'x' || digits[0] == 'X');
      append_utf8(out, std::stoul(hex ? digits.substr(1) : digits, nullptr, hex ? 16 : 10));
      i = semicolon + 1;
      continue;
    }
    out += text[i++];
  }
  return out;
}

std::vector<ChartAccount> parse_chart(std::string_view xml) {
  std::vector<ChartAccount> accounts;
  size_t pos = 0;
  while ((pos = xml.find("<gnc:account", pos)) != std::string_view::npos) {
    size_t end = xml.find("</gnc:account>", pos);
    if (end == std::string_view::npos) throw std::runtime_error("unterminated account element");
    std::string_view block = xml.substr(pos, end - pos);
    ChartAccount account;
    if (!element_text(block, "act:name", account.name) || !element_text(block, "act:id", account.id) ||
        !element_text(block, "act:type", account.type)) {
      throw std::runtime_error("account without name, id or type near: " + std::string(block.substr(0, 80)));
    }
    element_text(block, "act:code", account.code);
    element_text(block, "act:parent", account.parent_id);
    account.placeholder = has_placeholder_slot(block);
    accounts.push_back(std::move(account));
    pos = end;
  }
  return accounts;
}

}  // namespace tools
