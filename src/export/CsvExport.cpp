#include "export/CsvExport.h"

#include <cstdio>

namespace zk {

namespace {

// A marker or letter as a CSV field: empty for 0, quoted where CSV needs it, and the
// byte's code in hexadecimal when it is no printable character.
void AppendCharField(std::string& line, char c) {
  if (c == 0) return;
  const auto u = static_cast<unsigned char>(c);
  if (c == '"') {
    line += "\"\"\"\"";
  } else if (c == ',') {
    line += "\",\"";
  } else if (u < 32 || u > 126) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", u);
    line += buf;
  } else {
    line += c;
  }
}

// A text as a CSV field: quoted (its quotes doubled) when it holds a comma, a quote or a
// line break, or starts or ends with a space.
void AppendTextField(std::string& line, const std::string& text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) {
    line += text;
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

}  // namespace

std::string CsvPreamble(const TagNotes& notes) {
  if (notes.Empty()) return CsvHeader();
  std::string out;
  if (!notes.session.empty()) {
    out += "# session: ";
    for (char c : notes.session) out += (c == '\n' || c == '\r') ? ' ' : c;
    out += '\n';
  }
  std::string header = CsvHeader();
  header.insert(header.size() - 1, ",note");
  return out + header;
}

const char* CsvHeader() { return "index,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter\n"; }

void AppendCsvLine(std::string& line, int32_t index, const SampleRecord& r, const TagNotes& notes) {
  line += std::to_string(index);
  for (long v : {long{r.TimeMs}, long{r.RawReading()}, long{r.Needle}, long{r.BdValue}, long{r.BaseStep},
                 long{r.Sensitivity}, long{r.Flags}, long{r.Tag}}) {
    line += ',';
    line += std::to_string(v);
  }
  line += ',';
  AppendCharField(line, r.Marker);
  line += ',';
  AppendCharField(line, r.Letter);
  if (!notes.Empty()) {
    line += ',';
    if (r.Marker == 'T') AppendTextField(line, notes.Of(r.Tag));
  }
  line += '\n';
}

FileError WriteCsv(const RecordFileData& data, const std::string& path, const TagNotes& notes) {
  return ReplaceFileAtomically(path, [&](int fd) -> FileError {
    std::string chunk = CsvPreamble(notes);
    for (int32_t k = 1; k <= data.RecordCount; ++k) {
      AppendCsvLine(chunk, k, data.records[k], notes);
      if (chunk.size() >= (1u << 16) || k == data.RecordCount) {
        if (FileError e = WriteAll(fd, chunk.data(), chunk.size())) return e;
        chunk.clear();
      }
    }
    return chunk.empty() ? FileError{} : WriteAll(fd, chunk.data(), chunk.size());
  });
}

}  // namespace zk
