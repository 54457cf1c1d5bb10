#include "report/page_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "automation/date_time.h"
#include "automation/text.h"
#include "data/recordset/recordset.h"
#include "files/file_names.h"
#include "report/field_class.h"
#include "report/page_links.h"
#include "report/page_stream.h"
#include "report/report_pictures.h"
#include "report/text_to_html.h"
#include "report/url_path.h"

namespace quelo {
namespace {

constexpr const char* kBlankParagraph = "<P>  </P>";
// Every section ends so: the page file holds each section as one quoted piece.
constexpr std::string_view kSectionEnd = "<P>  </P> </BODY></HTML>\"\r\n";

// The page's last section: on the last page the one of the remaining records when there are any.
int32_t lastSection(const PagePlace& page) {
  const int32_t n = page.wholeSections;
  const bool lastPage = page.page == page.totalPages;
  return lastPage && page.records % kSectionRecords != 0 ? n : n - 1;
}

// The section that closes the page: its statistics and page links go there.
bool closesPage(const PagePlace& page, int32_t s) {
  return s == lastSection(page);
}

// The text a value is written and counted with; none for Null or a value without a text form.
std::optional<std::string> valueText(const Variant& v) {
  if (v.isArray() || v.isObject()) return std::nullopt;
  auto text = toString(v);
  if (!text) return std::nullopt;
  return std::move(text).value();
}

// The number a Double counts with, read from its text: a finite number's text is all of it;
// "Infinity" has no digits and counts 0.
double countedDouble(std::string_view text) {
  double x = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), x);
  if (ec == std::errc() && end == text.data() + text.size() && std::isfinite(x)) return x;
  return leadingNumber(text);
}

// The number a value counts with in the statistics: its leading decimal number when it is
// numeric ("&H10" counts 0).
std::optional<double> countedNumber(const Variant& v, const std::string& text) {
  switch (v.type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::LongLong: {
      auto n = toDouble(v);
      return n ? std::optional<double>(n.value()) : std::nullopt;
    }
    case VarType::Double:
      return countedDouble(text);
    default:
      return isNumeric(v) ? std::optional<double>(leadingNumber(text)) : std::nullopt;
  }
}

// A cell as the writer sees it: its text, and the number it counts with when it is numeric.
// What a cell's text may hold: any text; spaces but no mark of a local path or a link ("#",
// ":\"), as a date's; or only characters that a page shows as they are, as a number's.
enum class TextShape { Any, NoLinkMark, AsIs };

struct CellText {
  std::string_view text;  // into the records, or into the reader's scratch text
  std::optional<double> number;
  TextShape shape = TextShape::Any;
};

// A Boolean's text and number, worked out once the way any value's are.
CellText booleanText(bool b) {
  static const std::string texts[2] = {*valueText(Variant(false)), *valueText(Variant(true))};
  static const std::optional<double> numbers[2] = {countedNumber(Variant(false), texts[0]),
                                                   countedNumber(Variant(true), texts[1])};
  return CellText{texts[b], numbers[b], TextShape::AsIs};
}

// Where the text of a cell that is not text in the records is made: a number's or a date's in a
// few characters, any other value's in a string.
struct CellScratch {
  char shortText[std::max(kNumberTextMax, kGeneralDateMax)];
  std::string text;
};

// A cell's text, and when `counted` the number it counts with; none for Null or a value without a
// text form. Text is read in place and numbers are written straight from the cell, as they are
// most cells; the rarer kinds take the way of any value.
std::optional<CellText> cellText(const CellView& c, bool counted, CellScratch& scratch) {
  switch (c.kind) {
    case CellKind::Text:
      if (!counted || !isNumericText(c.text)) return CellText{c.text, std::nullopt};
      return CellText{c.text, leadingNumber(c.text)};
    case CellKind::Integer:
    case CellKind::Long:
    case CellKind::LongLong: {
      const char* end =
          std::to_chars(scratch.shortText, std::end(scratch.shortText), c.integer).ptr;
      return CellText{{scratch.shortText, end}, static_cast<double>(c.integer), TextShape::AsIs};
    }
    case CellKind::Double: {
      bool exact = false;
      const std::string_view text(scratch.shortText,
                                  formatNumber(c.real, exact, scratch.shortText));
      // A text that reads back as the number itself is not read again.
      const std::optional<double> number =
          !counted ? std::nullopt : std::optional<double>(exact ? c.real : countedDouble(text));
      return CellText{text, number, TextShape::AsIs};
    }
    case CellKind::Boolean:
      return booleanText(c.integer != 0);
    case CellKind::Date:
      if (!isDateInRange(Date{c.real})) return std::nullopt;  // no text: an empty cell
      return CellText{{scratch.shortText, formatGeneralDate(Date{c.real}, scratch.shortText)},
                      std::nullopt,
                      TextShape::NoLinkMark};
    default:
      break;
  }
  const Variant v = c.toVariant();
  std::optional<std::string> text = valueText(v);
  if (!text) return std::nullopt;
  scratch.text = std::move(*text);
  return CellText{scratch.text, countedNumber(v, scratch.text)};
}

// Whether a value holds "#" or ":\", which a local path or a link does. Two searches by the
// library, which scans many bytes at a time, cost less on long texts than testing each byte.
bool mayBeLocalPathOrLink(std::string_view v) {
  return v.find('#') != std::string_view::npos || v.find(":\\") != std::string_view::npos;
}

class SectionDocument {
 public:
  // What a section is written from; the document is appended to `doc`.
  struct Parts {
    const ReportJob& job;
    const PagePlace& page;
    FileSystem& files;
    ReportPictures* pictures;
    ReportStatistics& statistics;
  };
  SectionDocument(std::string& doc, const Parts& parts, PageRecords& section)
      : job_(parts.job),
        page_(parts.page),
        s_(parts.job.settings),
        files_(parts.files),
        pictures_(parts.pictures),
        stats_(parts.statistics),
        pageRecords_(section),
        section_(section.records()),
        fieldCount_(static_cast<int32_t>(parts.job.fields.size())),
        names_(parts.job.fields),
        colour_(parts.job.colour),
        cellStart_("<TD><BGCOLOR=[" + colour_ + "]>"),
        doc_(doc) {}

  void heading(std::string_view heading);
  void headerBlock();
  void sectionLinks(std::optional<SectionLinks>& links, int32_t s);
  void table(TableColumns& columns);
  void closingBlocks();
  void append(std::string_view text) { doc_ += text; }

 private:
  void startMinimumsAndMaximums();
  void resolveColumns(TableColumns& columns);
  void row(const TableColumns& columns);
  void cell(size_t position, const std::string& name, std::optional<int> field, bool counted);
  void localPathOrLinkCell(std::string_view v, int field);
  bool pictureCell(const std::string& name, std::string_view v);
  std::string settingPicture(const std::string& path, const char* setting);
  // `asIs`: a text that the page shows as it is (see TextShape).
  void plainCell(std::string_view v, bool asIs = false);
  void pageStatistics();
  void overallStatistics();
  const std::string* outputName(size_t j) const { return j < names_.size() ? &names_[j] : nullptr; }
  std::optional<size_t> outputPosition(const std::string& name) const;

  const ReportJob& job_;
  const PagePlace& page_;
  const SettingsRecord& s_;
  FileSystem& files_;
  ReportPictures* pictures_;
  ReportStatistics& stats_;
  PageRecords& pageRecords_;
  Recordset& section_;  // on the record to write
  int32_t fieldCount_;
  const std::vector<std::string>& names_;
  const std::string& colour_;
  const std::string cellStart_;  // every data cell starts with the table colour
  std::string& doc_;
  CellScratch scratch_;  // the text of a cell that is not text in the record set
};

void SectionDocument::heading(std::string_view heading) {
  for (std::string_view piece : {std::string_view("<HTML><HEAD></HEAD><BODY><H3> <A Name='"),
                                 heading, std::string_view("'>"), heading,
                                 std::string_view("</A></H3><META NAME=\"GENERATOR\" CONTENT=\""),
                                 std::string_view(kGeneratorText),
                                 std::string_view("\"><FONT FACE ="), std::string_view(s_.fontName),
                                 std::string_view(",Times New Roman,Arial,Courier New</FONT>")})
    doc_ += piece;
}

void SectionDocument::headerBlock() {
  if (page_.page == 1) {
    if (!s_.logo.empty())
      doc_ += "<P Align=Center><img src = " + settingPicture(s_.logo, "Logo") +
              " ALT = Logo_here ></P> ";
    doc_ += "<P Align=Center><B>";
    const size_t dot = positionOf(s_.website, ".", 2);
    if (dot > 0 && positionOf(s_.website, ".", dot + 2) > 0)
      doc_ += " Visit our Website ...   <A HREF='" + s_.website + "'>" + s_.website + "</A> ";
    if (positionOf(s_.email, "@", 2) > 0 && positionOf(s_.email, ".", 4) > 0)
      doc_ += " &nbsp;&nbsp;&nbsp;  E-mail us now ... <A HREF=mailto:" + s_.email + ">" + s_.email +
              "</A><Br>";
    doc_ += " </B></P>";
    startMinimumsAndMaximums();
  }
  if (!s_.header.empty()) doc_ += "<EM> " + s_.header + "</EM>  <Br>";
  doc_ += kBlankParagraph;
  if (page_.page == 1 && s_.useNotes == 1 && s_.notesPosition == 0) {
    doc_ += textToHtml(s_.notes);
    doc_ += kBlankParagraph;
  }
}

void SectionDocument::startMinimumsAndMaximums() {
  for (int32_t j = 0; j < fieldCount_; ++j) {
    const std::string* name = outputName(static_cast<size_t>(j));
    if (!name) continue;
    auto v = section_.value(*name);
    std::optional<std::string> text = v ? valueText(v.value()) : std::nullopt;
    if (!text) continue;
    const double x = leadingNumber(*text);
    stats_.reportMinimums[static_cast<size_t>(j)] = x;
    stats_.reportMaximums[static_cast<size_t>(j)] = x;
  }
}

void SectionDocument::sectionLinks(std::optional<SectionLinks>& links, int32_t s) {
  const int32_t last = lastSection(page_);
  if (!links || links->last() != std::max(last, 0)) links.emplace(last);
  links->appendExcept(doc_, s);
}

void SectionDocument::table(TableColumns& columns) {
  if (columns.fieldsOf != &section_.fields()) resolveColumns(columns);
  doc_ += columns.heading;
  for (int32_t k = 0; k < kSectionRecords && !pageRecords_.atEnd(); ++k) {
    row(columns);
    ++stats_.recordsWritten;
    pageRecords_.next();
  }
  doc_ += "</TABLE>";
  doc_ += kBlankParagraph;
}

// The table's start and the output fields' positions, for the record set's fields.
void SectionDocument::resolveColumns(TableColumns& columns) {
  columns.fieldsOf = &section_.fields();
  columns.fields.clear();
  columns.counted.clear();
  columns.heading =
      "<TABLE BORDER=1 BORDERCOLOR=BLACK CELLPADDING=5 ALIGN=CENTER BGCOLOR=[" + colour_ + "]<TR>";
  for (int32_t j = 0; j < fieldCount_; ++j) {
    const std::string* name = outputName(static_cast<size_t>(j));
    const std::string shown = name ? *name : std::string();
    columns.heading += "<TH>" + (job_.output.escapeValues ? escapedMarkup(shown) : shown) + "</TH>";
    auto index = name ? section_.fieldIndex(*name) : Result<int>(Error{});
    columns.fields.push_back(index ? std::optional<int>(index.value()) : std::nullopt);
    // Only the sums of the closing statistics are shown: other numbers need not be counted.
    columns.counted.push_back(job_.advSettings && name &&
                              std::find(job_.sums.begin(), job_.sums.end(), *name) !=
                                  job_.sums.end());
  }
  columns.heading += "</TR>";
}

void SectionDocument::row(const TableColumns& columns) {
  doc_ += "<TR>";
  for (size_t j = 0; j < columns.fields.size(); ++j)
    cell(j, *outputName(j), columns.fields[j], columns.counted[j]);
  doc_ += "</TR>";
}

void SectionDocument::cell(size_t position, const std::string& name, std::optional<int> field,
                           bool counted) {
  const std::optional<CellText> cell =
      field ? cellText(section_.currentCell(*field), counted, scratch_) : std::nullopt;
  if (!cell) return plainCell("");  // Null, or no text form: an empty cell keeps the columns
  if (counted && cell->number) stats_.count(position, *cell->number);
  std::string_view v = cell->text;
  std::string trimmed;
  if (job_.containPictureFields) {
    trimmed = trimSpaces(v);
    v = trimmed;
    if (!v.empty() && pictureCell(name, v)) return;
  }
  if (cell->shape != TextShape::Any || !mayBeLocalPathOrLink(v))
    return plainCell(v, cell->shape == TextShape::AsIs);
  localPathOrLinkCell(v, *field);
}

// A value holding "#" or ":\": a local path is written in its short form between "#" marks, and
// "#"-marked text in a hyperlink field becomes a link.
void SectionDocument::localPathOrLinkCell(std::string_view text, int field) {
  std::string v(text);
  const size_t p0 = positionOf(v, "#");
  const size_t p1 = p0 > 0 && v.size() > p0 ? positionOf(v, "#", p0 + 1) : 0;
  const bool linkValue = p1 > 0;
  if (positionOf(v, " ") > 0 && positionOf(v, ":\\") >= 2) {
    std::erase(v, '#');
    v = "#" + percentEncodedPath(ShortFileName(files_, v)) + "#";
  }
  const FieldInfo& info = section_.fields()[field];
  if (linkValue && fieldClass(info) == FieldKind::Hyperlink) {
    if (p0 > 1)
      v = v.substr(0, p0 - 1);
    else
      v = v.size() >= 2 ? v.substr(1, v.size() - 2) : std::string();
    if (job_.output.escapeValues) v = escapedMarkup(v);
    doc_ += cellStart_;
    if (v.find('@') != std::string::npos)
      doc_ += "<A HREF=mailto:" + v + ">" + v + "</A>";
    else
      doc_ += "<A HREF='" + v + "'>" + v + "</A>";
    doc_ += "</TD>";
    return;
  }
  plainCell(v);
}

bool SectionDocument::pictureCell(const std::string& name, std::string_view v) {
  for (const PictureColumn& column : job_.pictureColumns) {
    if (column.folder.empty() || !equalsIgnoreCase(column.field, name)) continue;
    const std::string full = column.folder + std::string(v);
    std::string path = ShortFileName(files_, full);
    if (pictures_) path = pictures_->address(name, full, path);
    path = percentEncodedPath(path);
    doc_ += cellStart_ + "<A Href=" + path + "> <img src = " + path +
            " border=0 width=120 height=120 ALT = image_here align=center> </A></TD>";
    return true;
  }
  return false;
}

// The logo or the signature: its path as the settings give it, or, when the report copies its
// pictures, the copy beside the pages.
std::string SectionDocument::settingPicture(const std::string& path, const char* setting) {
  if (!pictures_ || !pictures_->copying()) return path;
  const std::string stored = ShortFileName(files_, path);
  if (stored.empty()) {
    pictures_->noteMissing(setting, path);
    return path;
  }
  return percentEncodedPath(pictures_->address(setting, path, stored));
}

void SectionDocument::plainCell(std::string_view v, bool asIs) {
  doc_ += cellStart_;
  if (asIs)
    doc_ += v;
  else
    appendTextToHtml(doc_, v, job_.output.escapeValues ? Markup::Escaped : Markup::Kept);
  doc_ += "</TD>";
}

std::optional<size_t> SectionDocument::outputPosition(const std::string& name) const {
  for (int32_t j = 0; j < fieldCount_; ++j)
    if (const std::string* n = outputName(static_cast<size_t>(j)); n && *n == name)
      return static_cast<size_t>(j);
  return std::nullopt;
}

void SectionDocument::closingBlocks() {
  pageStatistics();
  if (page_.page == page_.totalPages || stats_.recordsWritten == page_.totalRecords)
    overallStatistics();
  if (!s_.footer.empty()) doc_ += "<EM> " + s_.footer + "</EM>  <Br>";
}

void SectionDocument::pageStatistics() {
  std::string text = std::to_string(page_.records) + " records in this Vol. <Br> ";
  for (const std::string& item : job_.sums) {
    const std::optional<size_t> at = outputPosition(item);
    if (!at) continue;
    text += "Sum of " + item + " = " + statText(stats_.pageSums[*at]) + " <Br> ";
    stats_.reportTotals[*at] = valueOf(stats_.reportTotals[*at]) + valueOf(stats_.pageSums[*at]);
  }
  doc_ += text;
  doc_ += kBlankParagraph;
  std::fill(stats_.pageSums.begin(), stats_.pageSums.end(), std::nullopt);
}

void SectionDocument::overallStatistics() {
  std::string text =
      s_.pagesOption == 0
          ? "<B>" + std::to_string(page_.totalRecords) + " records altogether. </B> <Br> "
          : std::string("<B> For this Vol (page of records): </B> <Br>");
  const bool spansPages = page_.records < stats_.recordsWritten;
  const double divisor = spansPages ? page_.totalRecords : page_.records;
  for (const std::string& item : job_.sums) {
    const std::optional<size_t> at = outputPosition(item);
    if (!at || divisor == 0) continue;  // no field, or an average of nothing: no line
    const double total = valueOf(stats_.reportTotals[*at]);
    text += "<B> " + item + "</B> : Total = " + statText(stats_.reportTotals[*at]) +
            " ; Average = " + statNumber(total / divisor) +
            " ; Minimum = " + statText(stats_.reportMinimums[*at]) +
            " ; Maximum = " + statText(stats_.reportMaximums[*at]) + " <Br> ";
  }
  doc_ += text;
  doc_ += kBlankParagraph;
  for (Accumulator* a : {&stats_.reportTotals, &stats_.reportMinimums, &stats_.reportMaximums})
    std::fill(a->begin(), a->end(), std::nullopt);
  stats_.recordsWritten = 0;
  if (s_.useNotes == 1 && s_.notesPosition == 1) {
    doc_ += textToHtml(s_.notes);
    doc_ += kBlankParagraph;
  }
  if (!s_.signature.empty())
    doc_ += "<P Align=Left><img src = " + settingPicture(s_.signature, "Signature") +
            " ALT = Signature_here ></P> ";
}

}  // namespace

PageWriter::PageWriter(const ReportJob& job, FileSystem& files, ReportPictures* pictures)
    : job_(job), files_(files), pictures_(pictures) {
  statistics_.resize(job.fields.size());
}

void PageWriter::appendSection(PageText& text, const PagePlace& page, PageRecords& records,
                               int32_t index) {
  // The page file takes the section as one quoted piece.
  SectionDocument doc(text.own(), {job_, page, files_, pictures_, statistics_}, records);
  doc.append("\"");
  doc.heading(index == 0 ? page.heading : "Section" + std::to_string(index));
  if (job_.advSettings && index == 0) doc.headerBlock();
  if (page.wholeSections > 0) doc.sectionLinks(sectionLinks_, index);
  doc.append(kBlankParagraph);
  doc.table(columns_);
  const bool closing = closesPage(page, index);
  if (closing && job_.advSettings) doc.closingBlocks();
  if (!closing)
    doc.append(kSectionEnd);
  else if (page.totalPages > 0)
    appendPageEnd(text, page);
}

void PageWriter::appendPageEnd(PageText& text, const PagePlace& page) {
  if (page.totalPages > 1) navigation_.appendLinks(text, page.filePath, page.page, page.totalPages);
  text.own() += kSectionEnd;
}

void PageWriter::appendPage(PageText& text, const PagePlace& page, PageRecords& records) {
  const int32_t sections =
      page.records % kSectionRecords != 0 ? page.wholeSections + 1 : page.wholeSections;
  records.rewind();
  for (int32_t k = 0; k < sections; ++k) appendSection(text, page, records, k);
  records.rewind();
}

}  // namespace quelo
