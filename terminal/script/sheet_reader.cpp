#include "terminal/script/sheet_reader.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace terminal {

namespace {

uint32_t Le(const std::string& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return value;
}

bool Inflate(std::string_view packed, size_t size, std::string& out) {
  out.assign(size, '\0');
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  return status == Z_STREAM_END && stream.total_out == size;
}

// "&lt;" and friends back to their characters.
std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    const size_t end = text.find(';', i);
    if (end == std::string_view::npos) {
      out += text.substr(i);
      break;
    }
    const std::string_view entity = text.substr(i + 1, end - i - 1);
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else if (entity == "apos") out += '\'';
    else if (!entity.empty() && entity[0] == '#') {
      const bool hex = entity.size() > 1 && (entity[1] == 'x' || entity[1] == 'X');
      const long code = std::strtol(std::string(entity.substr(hex ? 2 : 1)).c_str(), nullptr, hex ? 16 : 10);
      if (code < 0x80) out += static_cast<char>(code);  // the exports write only plain characters this way
    } else {
      out += text.substr(i, end - i + 1);
    }
    i = end;
  }
  return out;
}

// The value of attribute `name` in the tag text `tag` ("<c r=\"A1\" t=\"s\">").
std::optional<std::string> Attribute(std::string_view tag, const char* name) {
  const std::string key = std::string(" ") + name + "=\"";
  const size_t at = tag.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  const size_t start = at + key.size();
  const size_t end = tag.find('"', start);
  if (end == std::string_view::npos) return std::nullopt;
  return Unescape(tag.substr(start, end - start));
}

// Each element <name ...>...</name> (or <name .../>) in order: its tag text
// and its content.
template <class Visit>
void Elements(std::string_view xml, const std::string& name, Visit visit) {
  const std::string open = "<" + name;
  const std::string close = "</" + name + ">";
  for (size_t at = xml.find(open); at != std::string_view::npos; at = xml.find(open, at)) {
    const char after = at + open.size() < xml.size() ? xml[at + open.size()] : '\0';
    if (after != ' ' && after != '>' && after != '/') {
      at += open.size();
      continue;
    }
    const size_t tagEnd = xml.find('>', at);
    if (tagEnd == std::string_view::npos) return;
    const std::string_view tag = xml.substr(at, tagEnd - at + 1);
    if (xml[tagEnd - 1] == '/') {
      visit(tag, std::string_view());
      at = tagEnd + 1;
      continue;
    }
    const size_t end = xml.find(close, tagEnd);
    if (end == std::string_view::npos) return;
    visit(tag, xml.substr(tagEnd + 1, end - tagEnd - 1));
    at = end + close.size();
  }
}

// The text of the <t> elements of a string item (rich text has several).
std::string ItemText(std::string_view item) {
  std::string text;
  Elements(item, "t", [&](std::string_view, std::string_view content) { text += Unescape(content); });
  return text;
}

// "BC12" -> column 54 (zero-based); -1 when it has no letters.
int ColumnOf(const std::string& reference) {
  int column = 0;
  size_t i = 0;
  for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i)
    column = column * 26 + (reference[i] - 'A' + 1);
  return i == 0 ? -1 : column - 1;
}

}  // namespace

std::optional<std::string> ReadZipEntry(const std::string& path, const std::string& name, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  const std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The end of central directory record: 22 bytes and a comment, at the end.
  size_t end = std::string::npos;
  if (zip.size() >= 22) {
    const size_t lowest = zip.size() > 22 + 65535 ? zip.size() - 22 - 65535 : 0;
    for (size_t at = zip.size() - 22;; --at) {
      if (Le(zip, at, 4) == 0x06054b50) {
        end = at;
        break;
      }
      if (at == lowest) break;
    }
  }
  if (end == std::string::npos) {
    error = path + " is no zip file";
    return std::nullopt;
  }
  const uint32_t entries = Le(zip, end + 10, 2);
  size_t at = Le(zip, end + 16, 4);
  for (uint32_t i = 0; i < entries; ++i) {
    if (at + 46 > zip.size() || Le(zip, at, 4) != 0x02014b50) break;
    const uint32_t method = Le(zip, at + 10, 2);
    const uint32_t packedSize = Le(zip, at + 20, 4);
    const uint32_t size = Le(zip, at + 24, 4);
    const uint32_t nameLength = Le(zip, at + 28, 2);
    const uint32_t extra = Le(zip, at + 30, 2);
    const uint32_t comment = Le(zip, at + 32, 2);
    const uint32_t local = Le(zip, at + 42, 4);
    if (at + 46 + nameLength > zip.size()) break;
    if (zip.compare(at + 46, nameLength, name) == 0 && name.size() == nameLength) {
      if (local + 30 > zip.size() || Le(zip, local, 4) != 0x04034b50) break;
      const size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
      if (data + packedSize > zip.size()) break;
      const std::string_view packed(zip.data() + data, packedSize);
      std::string out;
      if (method == 0 && packedSize == size) return std::string(packed);
      if (method == 8 && Inflate(packed, size, out)) return out;
      error = name + " in " + path + " cannot be unpacked";
      return std::nullopt;
    }
    at += 46 + nameLength + extra + comment;
  }
  error = path + " has no " + name;
  return std::nullopt;
}

std::optional<Sheet> ReadSheet(const std::string& path, std::string& error) {
  const auto workbook = ReadZipEntry(path, "xl/workbook.xml", error);
  const auto sheetXml = workbook ? ReadZipEntry(path, "xl/worksheets/sheet1.xml", error) : std::nullopt;
  if (!sheetXml) return std::nullopt;
  Sheet sheet;
  Elements(*workbook, "sheet", [&](std::string_view tag, std::string_view) {
    if (sheet.name.empty()) sheet.name = Attribute(tag, "name").value_or("");
  });
  std::vector<std::string> shared;
  std::string ignored;
  if (const auto strings = ReadZipEntry(path, "xl/sharedStrings.xml", ignored)) {
    Elements(*strings, "si", [&](std::string_view, std::string_view item) { shared.push_back(ItemText(item)); });
  }
  // Bold styles: the cell format's font has <b/>.
  std::vector<bool> boldFonts, boldStyles;
  if (const auto styles = ReadZipEntry(path, "xl/styles.xml", ignored)) {
    Elements(*styles, "fonts", [&](std::string_view, std::string_view fonts) {
      Elements(fonts, "font", [&](std::string_view, std::string_view font) {
        boldFonts.push_back(font.find("<b/>") != std::string_view::npos);
      });
    });
    Elements(*styles, "cellXfs", [&](std::string_view, std::string_view formats) {
      Elements(formats, "xf", [&](std::string_view tag, std::string_view) {
        const size_t font = static_cast<size_t>(std::atoi(Attribute(tag, "fontId").value_or("0").c_str()));
        boldStyles.push_back(font < boldFonts.size() && boldFonts[font]);
      });
    });
  }
  Elements(*sheetXml, "col", [&](std::string_view tag, std::string_view) {
    const int first = std::atoi(Attribute(tag, "min").value_or("0").c_str());
    const int last = std::atoi(Attribute(tag, "max").value_or("0").c_str());
    const double width = std::atof(Attribute(tag, "width").value_or("0").c_str());
    for (int c = first; c >= 1 && c <= last && c <= 16384; ++c) {
      if (sheet.widths.size() < static_cast<size_t>(c)) sheet.widths.resize(static_cast<size_t>(c), 0);
      sheet.widths[static_cast<size_t>(c - 1)] = width;
    }
  });
  Elements(*sheetXml, "row", [&](std::string_view rowTag, std::string_view rowXml) {
    const int number = std::atoi(Attribute(rowTag, "r").value_or("0").c_str());
    if (number < 1 || number > 1048576) return;
    if (sheet.rows.size() < static_cast<size_t>(number)) sheet.rows.resize(static_cast<size_t>(number));
    auto& row = sheet.rows[static_cast<size_t>(number - 1)];
    Elements(rowXml, "c", [&](std::string_view tag, std::string_view content) {
      const int column = ColumnOf(Attribute(tag, "r").value_or(""));
      if (column < 0 || column >= 16384) return;
      SheetCell cell;
      const std::string type = Attribute(tag, "t").value_or("n");
      const size_t style = static_cast<size_t>(std::atoi(Attribute(tag, "s").value_or("0").c_str()));
      cell.bold = style < boldStyles.size() && boldStyles[style];
      std::string value;
      Elements(content, "v", [&](std::string_view, std::string_view v) { value = Unescape(v); });
      if (type == "s") {
        const size_t index = static_cast<size_t>(std::atoi(value.c_str()));
        cell.kind = SheetCell::Kind::kSharedString;
        cell.text = index < shared.size() ? shared[index] : std::string();
      } else if (type == "inlineStr") {
        cell.kind = SheetCell::Kind::kInlineString;
        Elements(content, "is", [&](std::string_view, std::string_view item) { cell.text = ItemText(item); });
      } else if (type == "n" && !value.empty()) {
        cell.kind = SheetCell::Kind::kNumber;
        cell.text = value;
      } else if (!value.empty()) {
        cell.kind = SheetCell::Kind::kOther;
        cell.text = value;
      }
      if (row.size() <= static_cast<size_t>(column)) row.resize(static_cast<size_t>(column) + 1);
      row[static_cast<size_t>(column)] = std::move(cell);
    });
  });
  return sheet;
}

}  // namespace terminal
