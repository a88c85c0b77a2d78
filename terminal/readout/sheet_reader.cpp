#include "terminal/readout/sheet_reader.h"

#include <libxml/xmlreader.h>
#include <zip.h>

#include <charconv>
#include <map>
#include <memory>

namespace terminal {

namespace {

// The workbook's parts this reader reads (the package's fixed names for a
// workbook whose first sheet is sheet1).
constexpr char kWorkbookPart[] = "xl/workbook.xml";
constexpr char kSheetPart[] = "xl/worksheets/sheet1.xml";
constexpr char kSharedStringsPart[] = "xl/sharedStrings.xml";
constexpr char kStylesPart[] = "xl/styles.xml";
// The sheet's grid: rows 1 to 1048576, columns A to XFD.
constexpr long kMaxRows = 1048576;
constexpr long kMaxColumns = 16384;
// No network, and libxml2's own complaints stay off standard error: a
// broken part is told once, as this reader's error.
constexpr int kXmlOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct ZipDiscard {
  void operator()(zip_t* zip) const { zip_discard(zip); }  // read only: nothing to write back
};
struct ZipFileClose {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct XmlReaderFree {
  void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};
using Zip = std::unique_ptr<zip_t, ZipDiscard>;

std::string ZipMessage(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

// A whole decimal number, or nothing (no sign, nothing after it).
std::optional<long> Whole(std::string_view text) {
  long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The entry of `table` that an index read from the file names, or `none`
// when the index names no entry. at(): an index past the end is a fault of
// this check, thrown rather than read.
template <class T>
T Entry(const std::vector<T>& table, std::optional<long> index, T none) {
  if (!index || *index < 0 || static_cast<size_t>(*index) >= table.size()) return none;
  return table.at(static_cast<size_t>(*index));
}

// "BC12" -> column 54 (zero-based); nothing without letters or past XFD.
std::optional<long> ColumnOf(std::string_view reference) {
  long column = 0;  // 1-based while letters are read; 0 until the first
  for (const char c : reference) {
    if (c < 'A' || c > 'Z') break;
    column = column * 26 + (c - 'A' + 1);
    if (column > kMaxColumns) return std::nullopt;
  }
  if (column == 0) return std::nullopt;
  return column - 1;
}

// The element the reader stands on, at its start or at its end.
class Element {
 public:
  explicit Element(xmlTextReaderPtr reader) : m_reader(reader) {}
  std::string_view Name() const {
    const xmlChar* name = xmlTextReaderConstLocalName(m_reader);
    return name == nullptr ? std::string_view() : reinterpret_cast<const char*>(name);
  }
  bool Is(std::string_view name) const { return Name() == name; }
  bool Ends() const { return xmlTextReaderNodeType(m_reader) == XML_READER_TYPE_END_ELEMENT; }
  // An element written <x/> has a start and no end of its own.
  bool Closes() const { return Ends() || xmlTextReaderIsEmptyElement(m_reader) == 1; }
  std::optional<std::string> Attribute(const char* name) const {
    return Owned(xmlTextReaderGetAttribute(m_reader, reinterpret_cast<const xmlChar*>(name)));
  }
  // Every text inside the element (rich text has several runs).
  std::string Text() const { return Owned(xmlTextReaderReadString(m_reader)).value_or(""); }

 private:
  static std::optional<std::string> Owned(xmlChar* text) {
    if (text == nullptr) return std::nullopt;
    std::string copy(reinterpret_cast<const char*>(text));
    xmlFree(text);
    return copy;
  }
  xmlTextReaderPtr m_reader;
};

int ReadChunk(void* file, char* buffer, int length) {
  return static_cast<int>(zip_fread(static_cast<zip_file_t*>(file), buffer, static_cast<zip_uint64_t>(length)));
}
int KeepOpen(void*) { return 0; }  // the part's file is closed by its owner

// Calls visit(Element) at the start and at the end of each element of the
// part `name`, in document order, as the part unpacks. False, with the
// reason in `error`, when the workbook has no such part or it is no
// well-formed XML (elements before the fault have been visited).
template <class Visit>
bool ReadPart(zip_t* zip, const char* name, std::string& error, Visit visit) {
  const std::unique_ptr<zip_file_t, ZipFileClose> file(zip_fopen(zip, name, 0));
  if (!file) {
    error = std::string("the workbook has no ") + name;
    return false;
  }
  const std::unique_ptr<xmlTextReader, XmlReaderFree> reader(
      xmlReaderForIO(ReadChunk, KeepOpen, file.get(), name, nullptr, kXmlOptions));
  int status = reader ? xmlTextReaderRead(reader.get()) : -1;
  for (; status == 1; status = xmlTextReaderRead(reader.get())) {
    const int type = xmlTextReaderNodeType(reader.get());
    if (type == XML_READER_TYPE_ELEMENT || type == XML_READER_TYPE_END_ELEMENT) visit(Element(reader.get()));
  }
  // The part's checksum is checked as its last bytes unpack: read them all.
  char rest[512];
  zip_int64_t got = 0;
  while (status == 0 && (got = zip_fread(file.get(), rest, sizeof rest)) > 0) {
  }
  if (status == 0 && got == 0) return true;
  const bool unpacked = zip_error_code_zip(zip_file_get_error(file.get())) == ZIP_ER_OK;
  error = std::string(name) + (unpacked && status != 0 ? " in the workbook is no well-formed XML"
                                                       : std::string(" in the workbook cannot be unpacked: ") +
                                                             zip_file_strerror(file.get()));
  return false;
}

// One <c> of the sheet as it is read: its attributes, then its value.
struct PendingCell {
  long column = -1;
  std::string type;
  bool bold = false;
  std::string format;
  std::string value;       // <v>
  std::string inlineText;  // <is>
};

SheetCell Finish(PendingCell&& pending, const std::vector<std::string>& shared) {
  SheetCell cell;
  cell.bold = pending.bold;
  cell.format = std::move(pending.format);
  if (pending.type == "s") {
    cell.kind = SheetCell::Kind::kSharedString;
    cell.text = Entry(shared, Whole(pending.value), std::string());
  } else if (pending.type == "inlineStr") {
    cell.kind = SheetCell::Kind::kInlineString;
    cell.text = std::move(pending.inlineText);
  } else if (!pending.value.empty()) {
    cell.kind = pending.type == "n" ? SheetCell::Kind::kNumber : SheetCell::Kind::kOther;
    cell.text = std::move(pending.value);
  }
  return cell;
}

std::optional<Sheet> ReadWorkbook(zip_t* zip, std::string& error) {
  Sheet sheet;
  bool named = false;
  if (!ReadPart(zip, kWorkbookPart, error, [&](const Element& e) {
        if (!named && !e.Ends() && e.Is("sheet")) {
          sheet.name = e.Attribute("name").value_or("");
          named = true;
        }
      })) {
    return std::nullopt;
  }
  // Shared strings and styles may be left out (no shared text, nothing
  // bold); when there, they must read whole, as the sheet must.
  const auto absent = [zip](const char* part) { return zip_name_locate(zip, part, 0) < 0; };
  std::vector<std::string> shared;
  if (!absent(kSharedStringsPart) && !ReadPart(zip, kSharedStringsPart, error, [&](const Element& e) {
        if (!e.Ends() && e.Is("si")) shared.push_back(e.Text());
      })) {
    return std::nullopt;
  }
  // A cell format (<cellXfs><xf fontId=... numFmtId=...>) is bold when its
  // font has a <b> that is not val="0"; its number format's code is the
  // one <numFmts> gives that id, if any.
  struct Style {
    bool bold = false;
    std::string format;
  };
  std::vector<bool> boldFonts;
  std::map<long, std::string> numberFormats;
  std::vector<Style> styles;
  bool inFonts = false, inFormats = false;
  if (!absent(kStylesPart) && !ReadPart(zip, kStylesPart, error, [&](const Element& e) {
        if (e.Is("fonts") || e.Is("cellXfs")) {
          (e.Is("fonts") ? inFonts : inFormats) = !e.Closes();
        } else if (!e.Ends() && e.Is("numFmt")) {
          const auto id = Whole(e.Attribute("numFmtId").value_or(""));
          if (id) numberFormats[*id] = e.Attribute("formatCode").value_or("");
        } else if (inFonts && !e.Ends() && e.Is("font")) {
          boldFonts.push_back(false);
        } else if (inFonts && !e.Ends() && e.Is("b") && !boldFonts.empty()) {
          const std::string value = e.Attribute("val").value_or("1");
          boldFonts.back() = value != "0" && value != "false";
        } else if (inFormats && !e.Ends() && e.Is("xf")) {
          const auto format = numberFormats.find(Whole(e.Attribute("numFmtId").value_or("0")).value_or(0));
          styles.push_back({Entry(boldFonts, Whole(e.Attribute("fontId").value_or("0")), false),
                            format == numberFormats.end() ? std::string() : format->second});
        }
      })) {
    return std::nullopt;
  }

  // A row or cell without its reference follows the one before it.
  long row = 0;
  std::optional<PendingCell> cell;
  const auto store = [&] {
    if (cell && row >= 1 && row <= kMaxRows && cell->column >= 0 && cell->column < kMaxColumns) {
      if (sheet.rows.size() < static_cast<size_t>(row)) sheet.rows.resize(static_cast<size_t>(row));
      auto& cells = sheet.rows[static_cast<size_t>(row - 1)];
      if (cells.size() <= static_cast<size_t>(cell->column)) cells.resize(static_cast<size_t>(cell->column) + 1);
      cells[static_cast<size_t>(cell->column)] = Finish(std::move(*cell), shared);
    }
  };
  long lastColumn = -1;
  if (!ReadPart(zip, kSheetPart, error, [&](const Element& e) {
        if (e.Is("c") && cell && e.Ends()) {
          store();
          cell.reset();
        } else if (e.Ends()) {
          return;
        } else if (e.Is("col")) {
          const auto first = Whole(e.Attribute("min").value_or(""));
          const auto last = Whole(e.Attribute("max").value_or(""));
          double width = 0;
          const std::string text = e.Attribute("width").value_or("0");
          std::from_chars(text.data(), text.data() + text.size(), width);
          for (long c = first.value_or(0); c >= 1 && c <= last.value_or(0) && c <= kMaxColumns; ++c) {
            if (sheet.widths.size() < static_cast<size_t>(c)) sheet.widths.resize(static_cast<size_t>(c), 0);
            sheet.widths[static_cast<size_t>(c - 1)] = width;
          }
        } else if (e.Is("row")) {
          const auto r = e.Attribute("r");
          row = r ? Whole(*r).value_or(0) : row + 1;
          lastColumn = -1;
        } else if (e.Is("c")) {
          const auto r = e.Attribute("r");
          cell.emplace();
          cell->column = r ? ColumnOf(*r).value_or(-1) : lastColumn + 1;
          lastColumn = cell->column;
          cell->type = e.Attribute("t").value_or("n");
          const Style style = Entry(styles, Whole(e.Attribute("s").value_or("0")), Style());
          cell->bold = style.bold;
          cell->format = style.format;
          if (e.Closes()) {
            store();
            cell.reset();
          }
        } else if (cell && e.Is("v")) {
          cell->value = e.Text();
        } else if (cell && e.Is("is")) {
          cell->inlineText = e.Text();
        }
      })) {
    return std::nullopt;
  }
  return sheet;
}

}  // namespace

std::optional<Sheet> ReadSheet(const std::string& path, std::string& error) {
  int code = 0;
  const Zip zip(zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
  if (!zip) {
    error = path + " is no workbook: " + ZipMessage(code);
    return std::nullopt;
  }
  auto sheet = ReadWorkbook(zip.get(), error);
  if (!sheet) error = path + ": " + error;
  return sheet;
}

std::optional<Sheet> ReadSheetBytes(std::string_view workbook, std::string& error) {
  zip_error_t failure;
  zip_error_init(&failure);
  zip_source_t* source = zip_source_buffer_create(workbook.data(), workbook.size(), 0, &failure);
  Zip zip(source == nullptr ? nullptr : zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &failure));
  if (!zip) {
    if (source != nullptr) zip_source_free(source);  // the archive did not take it
    error = std::string("no workbook: ") + zip_error_strerror(&failure);
    zip_error_fini(&failure);
    return std::nullopt;
  }
  zip_error_fini(&failure);
  return ReadWorkbook(zip.get(), error);
}

}  // namespace terminal
